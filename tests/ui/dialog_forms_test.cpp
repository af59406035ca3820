// The pieces the dialogs share: reading a number box, lending the engine
// what a sample needs, and the sub-line row.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <memory>

#include "companions/CKpSymLib.h"
#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleObj.h"
#include "tests/ui/UiTestLibraries.h"
#include "ui/CKpSampleEngineScope.h"
#include "ui/KpDialogForms.h"
#include "ui/KpSampleRows.h"

namespace {

// The engine's settings as a host left them, put back after each test.
class UiDialogForms : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pSavedLib = gLineStyleEngine.m_pSymLib;
    m_bSavedPen = gLineStyleEngine.m_bStylePen;
    gLineStyleEngine.m_pSymLib = &host;
  }
  void TearDown() override {
    gLineStyleEngine.m_pSymLib = m_pSavedLib;
    gLineStyleEngine.m_bStylePen = m_bSavedPen;
  }

  CKpSymLib host;
  CKpSymLib lent;

 private:
  CKpSymLib* m_pSavedLib = nullptr;
  BOOL m_bSavedPen = 0;
};

TEST_F(UiDialogForms, ReadBoxLetsTheSpinFollowButTakesOnlyValuesInRange) {
  struct Row {
    const char* text;
    bool taken;
    int spin;  // the spin's value afterwards (range 0..100, was 50)
  };
  const Row rows[] = {
      {"12", true, 12},
      {" 100 ", true, 100},  // upper edge, blanks around it
      {"101", false, 100},   // beyond: the spin stops at its end
      {"-3", false, 0},
      {"abc", false, 50},    // no number: nothing moves
      {"", false, 50},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    QScrollBar spin;
    spin.setRange(0, 100);
    spin.setValue(50);
    int notified = 0;
    QObject::connect(&spin, &QScrollBar::valueChanged, [&notified] { ++notified; });
    long value = -1;
    EXPECT_EQ(kp::ui::ReadBox(QString::fromUtf8(r.text), &spin, 0, 100, value), r.taken);
    EXPECT_EQ(spin.value(), r.spin);
    EXPECT_EQ(notified, 0);  // the spin must not type its value back into the box
  }
}

TEST_F(UiDialogForms, SampleScopeLendsAndGivesBackTheHostsSettings) {
  struct Row {
    bool lend;
    CKpSampleEngineScope::Pen pen;
    BOOL hostPen;
  };
  const Row rows[] = {
      {true, CKpSampleEngineScope::HostPen, 0},
      {false, CKpSampleEngineScope::HostPen, 1},  // no library: the host's stays in force
      {true, CKpSampleEngineScope::StylePen, 0},
      {false, CKpSampleEngineScope::StylePen, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.lend << " " << r.pen << " " << r.hostPen);
    gLineStyleEngine.m_bStylePen = r.hostPen;
    {
      const CKpSampleEngineScope scope(r.lend ? &lent : nullptr, r.pen);
      EXPECT_EQ(gLineStyleEngine.m_pSymLib, r.lend ? &lent : &host);
      EXPECT_EQ(gLineStyleEngine.m_bStylePen, r.pen == CKpSampleEngineScope::StylePen ? TRUE : r.hostPen);
    }
    EXPECT_EQ(gLineStyleEngine.m_pSymLib, &host);
    EXPECT_EQ(gLineStyleEngine.m_bStylePen, r.hostPen);
  }
}

TEST_F(UiDialogForms, SubLineRowDrawsTheSampleAndAFrameOfItsSelection) {
  CKpLineStyleObj style;
  CKpLineStyleBase sub = kp::test::SubLine(3, 0, {10, 5});
  sub.m_nCurWidth = 7;  // a host's current width, which the sample must not take over
  style.AddStyleBase(sub);
  for (const bool selected : {false, true}) {
    SCOPED_TRACE(selected);
    QImage image(200, 28, QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
      QPainter painter(&image);
      kp::ui::PaintSubLineRow(painter, image.rect(), style, &lent, 0, image.rect(), selected);
    }
    EXPECT_EQ(image.pixel(0, 0), selected ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(199, 27), selected ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    int ink = 0;
    for (int x = 1; x < 199; ++x)
      if (image.pixel(x, 14) != image.pixel(x, 2)) ++ink;
    EXPECT_GT(ink, 0);
    EXPECT_EQ(gLineStyleEngine.m_pSymLib, &host);
  }
  EXPECT_EQ(style.GetElementAt(0)->m_nCurWidth, 7);
}

}  // namespace
