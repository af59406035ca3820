#pragma once
// The module's string table: the user-facing texts (Simplified Chinese, UTF-8)
// of its message boxes, toolbars, combo boxes and log, by resource number.
//
// Numbers 24201 to 24526 are the module's own. Three more texts belong to the
// host's string table: the save question 23601, the file-open failure 31304
// and the old-format version message 31341. For those a host may install a
// provider; without one, or when it has no text, the module's own wording is
// used.
//
// Thread-safe: the table is constant, and the provider is swapped and read
// under a lock (the provider itself is called outside the lock).
#include <functional>

#include "platform/KpExport.h"
#include "platform/KpTypes.h"

namespace kp {

constexpr int KP_STRING_FIRST = 24201;
constexpr int KP_STRING_LAST = 24526;

// Numbers of the texts the module uses by name.
constexpr int KP_IDS_ID_EXISTS = 24201;
constexpr int KP_IDS_NAME_EXISTS = 24202;
constexpr int KP_IDS_EXPORT_CHANGED_LIBRARY = 24218;
constexpr int KP_IDS_POSITION_FIRST = 24234;  // the five extended-attribute positions
constexpr int KP_IDS_KIND_FIRST = 24244;      // sub-line kind labels: 24244 + kind
constexpr int KP_IDS_PEN_STYLE_FIRST = 24293;
constexpr int KP_IDS_JOIN_FIRST = 24298;
constexpr int KP_IDS_START_MODE_FIRST = 24301;
constexpr int KP_IDS_CAP_FIRST = 24303;
constexpr int KP_IDS_REMOVE_GROUP = 24314;
constexpr int KP_IDS_CUSTOM_SYMBOL = 24315;
constexpr int KP_IDS_ANTIALIAS_START_FAILED = 24526;

// Texts of the host's string table.
constexpr int KP_IDS_HOST_SAVE_LIBRARY = 23601;
constexpr int KP_IDS_HOST_OPEN_FILE_FAILED = 31304;
constexpr int KP_IDS_HOST_OLD_VERSION = 31341;

// Supplies the host's own text for a host number, or nullptr to let the
// module's wording stand. The returned text must stay valid for as long as
// the caller of LoadModuleString keeps the pointer.
using HostStringProvider = std::function<const char*(int id)>;

// Installs (or, with an empty function, removes) the host's provider.
KP_API void SetHostStringProvider(HostStringProvider provider);

// The text of `id`, or nullptr when there is no such string.
KP_API const char* LoadModuleString(int id);

// The text of `id` as a string; empty when there is no such string.
KP_API CString ModuleString(int id);

}  // namespace kp
