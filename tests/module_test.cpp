#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "companions/CKpLogManage.h"
#include "model/KpSubLineKinds.h"
#include "module/KpModule.h"
#include "module/KpStringTable.h"

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// A log file of the test's own, removed afterwards; the manager is pointed
// back at no file so that other tests do not write into it.
struct LogFile {
  std::string path;
  LogFile() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    path = testing::TempDir() + "kp_" + info->name() + ".log";
    std::remove(path.c_str());
    KpGetLogManageObj()->SetLogFile(path);
  }
  ~LogFile() {
    KpGetLogManageObj()->SetLogFile("");
    std::remove(path.c_str());
  }
};

// Resets the host provider whatever a test does.
struct ProviderGuard {
  ~ProviderGuard() { kp::SetHostStringProvider(nullptr); }
};

// --- string table ---

TEST(StringTable, TextsByNumber) {
  struct Row {
    int id;
    const char* text;  // nullptr: no such string
  };
  const Row rows[] = {
      {24201, "ID已经存在，请重新输入！"},  // first of the module's numbers
      {24202, "名字已经存在，请重新输入！"},
      {24218, "线型库已经被改动，是否导出外部文件？"},
      {24234, "首部"},                // extended-attribute positions, slot order
      {24238, "折线中心"},
      {24293, "实线"},                // pen styles
      {24297, "多点横线"},
      {24300, "圆方角"},              // last join
      {24302, "虚线开始"},            // start mode, gap first
      {24305, "平头"},                // last cap
      {24314, "删除组的同时，组内的符号移到上一层吗？\r\n如果不移到上一层，将同时删除组内的符号。"},
      {24315, "自定义..."},
      {24516, "下移"},                // toolbar numbers are not in button order
      {24517, "上移"},
      {24526, "启动GDIPlus失败。"},  // last of the module's numbers
      {24200, nullptr},               // just below the range
      {24203, nullptr},               // a gap inside the range
      {24243, nullptr},               // just before the kind labels
      {24306, nullptr},               // just after the caps
      {24527, nullptr},               // just above the range
      {0, nullptr},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.id);
    const char* text = kp::LoadModuleString(r.id);
    if (r.text == nullptr) {
      EXPECT_EQ(text, nullptr);
      EXPECT_EQ(kp::ModuleString(r.id), "");
    } else {
      ASSERT_NE(text, nullptr);
      EXPECT_STREQ(text, r.text);
      EXPECT_EQ(kp::ModuleString(r.id), r.text);
    }
  }
}

TEST(StringTable, KindLabelsAreTheKindsOwn) {
  for (int kind = 0; kind < kp::KP_SUBLINE_KIND_COUNT; ++kind) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(kp::LoadModuleString(24244 + kind), kp::SubLineKindLabel(kind));
  }
  EXPECT_STREQ(kp::LoadModuleString(24244), "短横线(系统线型)");
  EXPECT_NE(kp::LoadModuleString(24292), nullptr);  // kind 48
}

TEST(StringTable, HostStringsAskTheHostFirst) {
  ProviderGuard guard;
  struct Row {
    int id;
    const char* fallback;
  };
  const Row rows[] = {
      {23601, "线型库已修改，是否保存？"},
      {31304, "无法打开文件！"},
      {31341, "不支持该版本的线型库文件！"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.id);
    kp::SetHostStringProvider(nullptr);
    EXPECT_STREQ(kp::LoadModuleString(r.id), r.fallback);

    // The host answers: its text wins.
    kp::SetHostStringProvider([](int id) { return id == 31341 ? "host 31341" : "host text"; });
    EXPECT_EQ(kp::ModuleString(r.id), r.id == 31341 ? "host 31341" : "host text");

    // The host has no text for it: ours stands.
    kp::SetHostStringProvider([](int) -> const char* { return nullptr; });
    EXPECT_STREQ(kp::LoadModuleString(r.id), r.fallback);
  }

  // The module's own numbers and unknown ones never go to the host.
  int asked = 0;
  kp::SetHostStringProvider([&asked](int) {
    ++asked;
    return "host";
  });
  EXPECT_STREQ(kp::LoadModuleString(24201), "ID已经存在，请重新输入！");
  EXPECT_EQ(kp::LoadModuleString(23602), nullptr);
  EXPECT_EQ(asked, 0);
}

// --- log manager ---

TEST(LogManage, ItemsGoToStandardErrorAndTheFile) {
  LogFile log;
  testing::internal::CaptureStderr();
  EXPECT_EQ(KpGetLogManageObj()->StoreItem("first item", 3), 1);
  EXPECT_EQ(KpGetLogManageObj()->StoreItem("two\r\nlines", 8), 1);
  const std::string err = testing::internal::GetCapturedStderr();

  const auto lines = ReadLines(log.path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(EndsWith(lines[0], " [3] first item")) << lines[0];
  EXPECT_TRUE(EndsWith(lines[1], " [8] two  lines")) << lines[1];  // one item, one line
  EXPECT_EQ(err, lines[0] + "\n" + lines[1] + "\n");
  EXPECT_EQ(KpGetLogManageObj(), KpGetLogManageObj());
}

TEST(LogManage, FileIsAppendedToAndCanBeSwitchedOff) {
  LogFile log;
  {
    std::ofstream earlier(log.path);
    earlier << "kept\n";
  }
  testing::internal::CaptureStderr();
  KpGetLogManageObj()->StoreItem("added", 1);
  KpGetLogManageObj()->SetLogFile("");
  EXPECT_EQ(KpGetLogManageObj()->GetLogFile(), "");
  EXPECT_EQ(KpGetLogManageObj()->StoreItem("stderr only", 1), 1);
  // A file that cannot be opened: reported, and standard error still has it.
  KpGetLogManageObj()->SetLogFile(testing::TempDir() + "no/such/folder/kp.log");
  EXPECT_EQ(KpGetLogManageObj()->StoreItem("lost", 1), 0);
  const std::string err = testing::internal::GetCapturedStderr();

  const auto lines = ReadLines(log.path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "kept");
  EXPECT_TRUE(EndsWith(lines[1], "added"));
  EXPECT_NE(err.find("stderr only"), std::string::npos);
  EXPECT_NE(err.find("lost"), std::string::npos);
}

// --- module ---

TEST(Module, InitRegistersTheStringTableOnce) {
  auto& registry = kp::ModuleResources::Instance();
  registry.Unregister(kp::KP_MODULE_NAME);
  const size_t before = registry.Count();
  InitKpVur50DLL();
  InitKpVur50DLL();
  EXPECT_EQ(registry.Count(), before + 1);
  EXPECT_TRUE(registry.IsRegistered(kp::KP_MODULE_NAME));
  EXPECT_STREQ(registry.FindString(24201), "ID已经存在，请重新输入！");
  EXPECT_STREQ(registry.FindString(24244 + 14), kp::SubLineKindLabel(14));
  EXPECT_EQ(registry.FindString(24203), nullptr);  // inside the range, no text
  EXPECT_EQ(registry.FindString(23601), nullptr);  // the host's own number

  // Another module's table is searched by its own range.
  kp::ModuleResourceSet other{"OtherModule", 100, 200, [](int id) -> const char* {
                                return id == 150 ? "other 150" : nullptr;
                              }};
  EXPECT_TRUE(registry.Register(other));
  EXPECT_FALSE(registry.Register(other));  // replaced, not added
  EXPECT_STREQ(registry.FindString(150), "other 150");
  EXPECT_STREQ(registry.FindString(24526), "启动GDIPlus失败。");
  EXPECT_TRUE(registry.Unregister("OtherModule"));
  EXPECT_EQ(registry.FindString(150), nullptr);
}

TEST(Module, AntiAliasStartFailureIsLoggedAtLevel8) {
  LogFile log;
  testing::internal::CaptureStderr();
  kp::ReportAntiAliasStartFailure();
  const std::string err = testing::internal::GetCapturedStderr();
  const auto lines = ReadLines(log.path);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(EndsWith(lines[0], " [8] 启动GDIPlus失败。")) << lines[0];
  EXPECT_EQ(err, lines[0] + "\n");
}

}  // namespace
