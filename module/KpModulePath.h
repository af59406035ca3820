#pragma once
// Where the module lives on disk. The default library "Line.lsl" is looked for
// beside the file that contains the core (the shared library when the core is
// built into one, else the executable it is linked into), never beside the
// host program or in the working directory.
#include "platform/KpExport.h"
#include "platform/KpTypes.h"

namespace kp {

// The folder of the file that contains the core, with a trailing '/'.
// Found once, at the first call; it does not depend on the working
// directory. Empty when the platform cannot tell.
KP_API CString ModuleFolder();

// Makes ModuleFolder() answer `folder` (a trailing '/' is added when missing)
// until it is called again; an empty string goes back to the real folder.
// For tests, which must not place files beside the test executable.
void SetModuleFolderForTesting(const CString& folder);

// ModuleFolder() + "Line.lsl", or empty when the folder is unknown (so that
// no file of the working directory is taken for the default library).
KP_API CString DefaultLibraryPath();

}  // namespace kp
