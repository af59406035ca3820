// Engines are independent: two threads, each with its own engine and device
// context, draw exactly what one thread draws doing the same work in turn.
// Run under ThreadSanitizer by CI, which must find nothing to report.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "companions/CKpLogManage.h"
#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleObj.h"
#include "module/KpStringTable.h"
#include "platform/CRecordingDC.h"

namespace {

using Lines = std::vector<std::string>;

constexpr int kRounds = 40;
constexpr int kPoints = 600;  // long enough to be thinned

// Ticks across the line on a dash pattern, with an end tick.
CKpLineStyleObj TickStyle() {
  CKpLineStyleBase line;
  line.m_clrColor = line.m_clrCurrent = RGB(200, 0, 0);
  line.Add(20, 10);
  CKpLineStyleBase ticks;
  ticks.m_clrColor = ticks.m_clrCurrent = RGB(0, 0, 200);
  ticks.m_nWidth = ticks.m_nCurWidth = 2;
  ticks.m_nHVMode = 1;
  ticks.m_nHVLength = 6;
  ticks.Add(20, 10);
  ticks.SetVertRepair(TRUE);
  ticks.SetColorLock(TRUE);
  CKpLineStyleObj style;
  style.AddStyleBase(line);
  style.AddStyleBase(ticks);
  return style;
}

// A casing, boxes offset to one side and chevrons to the other, an arrow at
// the end and dots on the vertices.
CKpLineStyleObj DecoratedStyle() {
  CKpLineStyleBase casing;
  casing.m_clrColor = casing.m_clrCurrent = RGB(255, 255, 255);
  casing.m_nWidth = casing.m_nCurWidth = 7;
  CKpLineStyleBase boxes;
  boxes.m_nHVMode = 16;
  boxes.m_nHVLength = 4;
  boxes.m_nVertOffset = 6;
  boxes.m_nHorizOffset = 10;
  boxes.Add(15, 15);
  CKpLineStyleBase chevrons;
  chevrons.m_nHVMode = 13;
  chevrons.m_nHVLength = 5;
  chevrons.m_nVertOffset = -6;
  chevrons.SetWidthLock(TRUE);
  chevrons.Add(12, 8);
  CKpLineStyleObj style;
  style.AddStyleBase(casing);
  style.AddStyleBase(boxes);
  style.AddStyleBase(chevrons);
  style.GetObjExt().SetObjExt(KP_EXT_POS_TAIL, new tagLineStyleObjExt{10, 12, 0, 1});
  style.GetObjExt().SetObjExt(KP_EXT_POS_VERTEX, new tagLineStyleObjExt{3, 3, 0, 8});
  return style;
}

std::vector<POINT> Wave(int n, int phase) {
  std::vector<POINT> pts;
  for (int i = 0; i < n; ++i) pts.push_back(POINT{i * 7, ((i + phase) % 9) * 5 - (i % 4) * 3});
  return pts;
}

// One job: everything a host does with a style in a drawing period, many
// times over, on one engine and one DC. Returns the calls the DC recorded.
Lines Draw(CKpLineStyleObj (*make)(), int phase, CKpLineStyleEngine& engine) {
  CRecordingDC dc(SIZE{2000, 2000});
  CPen host;
  host.CreatePen(PS_SOLID, 1, RGB(0, 128, 0));
  dc.SelectObject(&host);
  CKpLineStyleObj style = make();
  std::vector<POINT> pts = Wave(kPoints, phase);
  const unsigned long parts[3] = {200, 1, 399};
  int rings[2] = {5, 7};
  for (int round = 0; round < kRounds; ++round) {
    engine.KeepDC(&dc);
    engine.SetRatio(1.0 + 0.25 * (round % 3));
    style.Polyline(pts.data(), kPoints, engine);
    style.SetLineStyle(3 + round % 2, RGB(round, 0, 0), engine);
    style.Polyline(1, pts.data(), kPoints, engine);
    style.SetLineStyle(engine);
    style.PolyPolyline(pts.data(), parts, 3, engine);
    style.PolyPolygon(pts.data(), rings, 2, engine);
    style.CreateFastPen(engine);
    style.PolylineFast(pts.data(), 120, engine);
    style.DeleteFastPen(engine);
    style.CreateFastFastPen(engine);
    style.PolylineFastFast(pts.data(), 50, engine);
    engine.RestoreDC();
  }
  return dc.GetCalls();
}

size_t Drawn(const Lines& calls) {
  size_t k = 0;
  for (const auto& line : calls) k += line.rfind("Select", 0) != 0;
  return k;
}

TEST(Threads, EnginesOnTwoThreadsDrawAsOneThreadDoes) {
  Lines expectedTicks, expectedDecorated;
  {
    // One engine, one thread, one job after the other.
    CKpLineStyleEngine engine;
    expectedTicks = Draw(TickStyle, 0, engine);
    expectedDecorated = Draw(DecoratedStyle, 3, engine);
  }
  // More than pen selections: the jobs really draw.
  ASSERT_GT(Drawn(expectedTicks), 1000u);
  ASSERT_GT(Drawn(expectedDecorated), 1000u);

  Lines ticks, decorated;
  std::atomic<int> ready{0};
  auto job = [&ready](CKpLineStyleObj (*make)(), int phase, Lines& out) {
    CKpLineStyleEngine engine;
    ready.fetch_add(1);
    while (ready.load() < 2) std::this_thread::yield();  // start together
    out = Draw(make, phase, engine);
  };
  std::thread a(job, TickStyle, 0, std::ref(ticks));
  std::thread b(job, DecoratedStyle, 3, std::ref(decorated));
  a.join();
  b.join();
  EXPECT_TRUE(ticks == expectedTicks);
  EXPECT_TRUE(decorated == expectedDecorated);
}

TEST(Threads, LogItemsFromManyThreadsStayWholeLines) {
  const std::string path = testing::TempDir() + "kp_threads.log";
  std::remove(path.c_str());
  KpGetLogManageObj()->SetLogFile(path);
  testing::internal::CaptureStderr();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 50; ++i)
        KpGetLogManageObj()->StoreItem("thread " + std::to_string(t) + " item " + std::to_string(i), t);
    });
  }
  for (auto& th : threads) th.join();
  testing::internal::GetCapturedStderr();
  KpGetLogManageObj()->SetLogFile("");

  std::ifstream in(path);
  int lines = 0;
  for (std::string line; std::getline(in, line); ++lines)
    EXPECT_NE(line.find(" item "), std::string::npos) << line;
  EXPECT_EQ(lines, 200);
  std::remove(path.c_str());
}

TEST(Threads, HostStringProviderCanChangeWhileStringsAreRead) {
  std::atomic<bool> stop{false};
  std::thread reader([&stop] {
    while (!stop.load()) {
      const CString text = kp::ModuleString(kp::KP_IDS_HOST_SAVE_LIBRARY);
      EXPECT_TRUE(text == "host" || text == "线型库已修改，是否保存？") << text;
      EXPECT_EQ(kp::ModuleString(24201), "ID已经存在，请重新输入！");
    }
  });
  for (int i = 0; i < 200; ++i) {
    if (i % 2)
      kp::SetHostStringProvider([](int) { return "host"; });
    else
      kp::SetHostStringProvider(nullptr);
  }
  stop.store(true);
  reader.join();
  kp::SetHostStringProvider(nullptr);
}

}  // namespace
