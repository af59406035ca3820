#include "module/KpStringTable.h"

#include <algorithm>
#include <iterator>
#include <mutex>
#include <utility>

#include "model/KpSubLineKinds.h"

namespace kp {
namespace {

struct Entry {
  int id;
  const char* text;
};

// The module's strings in ascending order of number. The sub-line kind
// labels (24244 + kind) are kept with the kinds themselves.
constexpr Entry kStrings[] = {
    {24201, "ID已经存在，请重新输入！"},
    {24202, "名字已经存在，请重新输入！"},
    {24218, "线型库已经被改动，是否导出外部文件？"},
    // Extended-attribute positions, in slot order.
    {24234, "首部"},
    {24235, "尾部"},
    {24236, "中间节点"},
    {24237, "线段中心"},
    {24238, "折线中心"},
    // Pen dash styles, in the order of the pen style word.
    {24293, "实线"},
    {24294, "短横线"},
    {24295, "点线"},
    {24296, "点横线"},
    {24297, "多点横线"},
    // Joins.
    {24298, "斜角"},
    {24299, "圆角"},
    {24300, "圆方角"},
    // Start modes: drawn first, gap first.
    {24301, "实线开始"},
    {24302, "虚线开始"},
    // Caps.
    {24303, "圆头"},
    {24304, "方头"},
    {24305, "平头"},
    {24314, "删除组的同时，组内的符号移到上一层吗？\r\n如果不移到上一层，将同时删除组内的符号。"},
    {24315, "自定义..."},
    // Toolbar commands of the editors (also their tooltips).
    {24501, "新建线型库"},
    {24505, "打开线型库..."},
    {24506, "保存线型库..."},
    {24508, "删除线型"},
    {24509, "生成新组"},
    {24511, "另存线型库..."},
    {24512, "加载缺省线型库..."},
    {24513, "新建子线..."},
    {24514, "删除子线"},
    {24515, "移动到最上"},
    {24516, "下移"},
    {24517, "上移"},
    {24518, "移动到最下"},
    {24520, "新建虚实模式"},
    {24521, "删除虚实模式"},
    {24522, "子线颜色固定"},
    {24524, "新建线型"},
    {24525, "设置..."},
    {24526, "启动GDIPlus失败。"},
};

// The module's wording of the host's texts, used when the host has none.
constexpr Entry kHostFallbacks[] = {
    {KP_IDS_HOST_SAVE_LIBRARY, "线型库已修改，是否保存？"},
    {KP_IDS_HOST_OPEN_FILE_FAILED, "无法打开文件！"},
    {KP_IDS_HOST_OLD_VERSION, "不支持该版本的线型库文件！"},
};

const char* Find(const Entry* first, const Entry* last, int id) {
  const Entry* it =
      std::lower_bound(first, last, id, [](const Entry& e, int value) { return e.id < value; });
  return it != last && it->id == id ? it->text : nullptr;
}

std::mutex& ProviderMutex() {
  static std::mutex m;
  return m;
}

HostStringProvider& Provider() {
  static HostStringProvider provider;
  return provider;
}

bool IsHostString(int id) {
  return id == KP_IDS_HOST_SAVE_LIBRARY || id == KP_IDS_HOST_OPEN_FILE_FAILED ||
         id == KP_IDS_HOST_OLD_VERSION;
}

}  // namespace

void SetHostStringProvider(HostStringProvider provider) {
  std::lock_guard<std::mutex> lock(ProviderMutex());
  Provider() = std::move(provider);
}

const char* LoadModuleString(int id) {
  if (IsHostString(id)) {
    HostStringProvider provider;
    {
      std::lock_guard<std::mutex> lock(ProviderMutex());
      provider = Provider();
    }
    if (provider) {
      if (const char* text = provider(id)) return text;
    }
    return Find(std::begin(kHostFallbacks), std::end(kHostFallbacks), id);
  }
  if (id >= KP_IDS_KIND_FIRST && id < KP_IDS_KIND_FIRST + KP_SUBLINE_KIND_COUNT)
    return SubLineKindLabel(id - KP_IDS_KIND_FIRST);
  return Find(std::begin(kStrings), std::end(kStrings), id);
}

CString ModuleString(int id) {
  const char* text = LoadModuleString(id);
  return text != nullptr ? CString(text) : CString();
}

}  // namespace kp
