// Every sub-line kind drawn by the driver along a zig-zag with sharp and
// shallow turns, offsets on, one row each. Checks that every kind leaves ink
// and that nothing strays far from its line (a mitre that spikes at a sharp
// turn would). The picture (kind_zigzag.png in the temporary folder, or
// $KP_ZIGZAG_PNG) is for looking at.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "companions/KpResourceSymbols.h"
#include "engine/CKpLineStyleEngine.h"
#include "model/KpSubLineKinds.h"
#include "platform/qt/CQtDC.h"

namespace {

constexpr int kRowHeight = 56;
constexpr int kLeft = 280;
constexpr int kKinds = 49;  // 0..48
constexpr COLORREF kInk = RGB(0, 0, 200);
// How far any ink may lie from its row's polyline: decorations reach 16
// units, double lines and offsets 8 more; a spiking mitre goes much further.
constexpr double kMaxStray = 30.0;

// Device y of the middle of row r.
int RowCentre(int r) { return kRowHeight * r + kRowHeight / 2 + 4; }

// A zig-zag in logical units (y up): shallow turns, then a sharp one.
std::vector<POINT> ZigZag(int y) {
  return {{kLeft, y},          {kLeft + 90, y + 10},  {kLeft + 180, y - 4},
          {kLeft + 230, y + 14}, {kLeft + 250, y - 14}, {kLeft + 340, y + 6},
          {kLeft + 420, y}};
}

CKpLineStyleBase SubLineOfKind(int kind) {
  CKpLineStyleBase sub;
  sub.Add(24, 10);
  sub.m_nHVMode = static_cast<short>(kind);
  sub.m_nHVLength = 6;
  sub.m_nVertOffset = 3;
  sub.m_clrCurrent = sub.m_clrColor = kInk;
  if (kind >= 28 && kind <= 33) {
    std::strcpy(sub.m_szFont, "DejaVu Sans");
    sub.m_nSymbol = 'A';
    sub.m_nHVLength = 12;
    sub.m_nAngle = 450;
  }
  if (kind == 47 || kind == 48) {
    sub.m_nSymbol = 18;  // a star of the built-in symbols
    sub.m_nHVLength = 14;
  }
  if (kind >= 39 && kind <= 46) sub.m_nRepeatMode = 1;
  if (kind >= 39 && kind <= 42) sub.m_nHVLength = 10;
  if (kind >= 43 && kind <= 45) sub.m_nHVLength = 4;
  if (kind == 46) {
    sub.m_nHVLength = 12;
    sub.m_nCurWidth = 2;
  }
  return sub;
}

double DistanceToPolyline(double x, double y, const std::vector<QPointF>& line) {
  double best = 1e300;
  for (size_t i = 0; i + 1 < line.size(); ++i) {
    const QPointF a = line[i], b = line[i + 1];
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - a.x()) * dx + (y - a.y()) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    best = std::min(best, std::hypot(x - (a.x() + t * dx), y - (a.y() + t * dy)));
  }
  return best;
}

bool IsInk(QRgb p) { return qBlue(p) > 120 && qRed(p) < 110 && qGreen(p) < 110; }

TEST(QtKindZigZag, EveryKindFollowsItsLine) {
  QImage img(kLeft + 440, kRowHeight * kKinds + 8, QImage::Format_RGB32);
  img.fill(Qt::white);
  CKpSymLib symbols;
  kp::LoadResourceSymbols(symbols);
  std::vector<std::vector<QPointF>> deviceLines(kKinds);
  {
    CQtDC dc(img);
    dc.SetMapMode(MM_ANISOTROPIC);  // one unit per pixel, y up, as on a map
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(1, -1);
    dc.SetViewportOrg(0, img.height());
    CFont labelFont;
    labelFont.CreateFont(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Noto Sans CJK SC");
    CPen guide, host;
    guide.CreatePen(PS_SOLID, 0, RGB(210, 210, 210));
    host.CreatePen(PS_SOLID, 1, kInk);
    CKpLineStyleEngine engine;
    engine.SetMapMode(MM_ANISOTROPIC);
    engine.m_pSymLib = &symbols;
    dc.SelectObject(&labelFont);
    dc.SetBkMode(TRANSPARENT);
    for (int kind = 0; kind < kKinds; ++kind) {
      const int y = img.height() - RowCentre(kind);
      dc.SetTextColor(RGB(0, 0, 0));
      dc.SetTextAlign(TA_LEFT | TA_BASELINE);
      dc.TextOut(8, y - 5, std::to_string(kind) + " " + kp::SubLineKindLabel(kind));
      std::vector<POINT> pts = ZigZag(y);
      for (const POINT& p : pts) {
        double dx, dy;
        dc.LPtoDPf(p.x, p.y, dx, dy);
        deviceLines[kind].push_back(QPointF(dx, dy));
      }
      dc.SelectObject(&guide);
      dc.Polyline(pts.data(), static_cast<int>(pts.size()));
      dc.SelectObject(&host);
      engine.KeepDC(&dc);
      engine.m_bStylePen = 1;
      CKpLineStyleBase sub = SubLineOfKind(kind);
      engine.SetLineStyleBase(&sub);
      engine.CreatePen(&sub);
      engine.ActPolyLine(&sub, pts.data(), static_cast<long>(pts.size()));
      engine.CreatePen(nullptr);
      engine.RestoreDC();
    }
  }
  const QString out = qEnvironmentVariableIsSet("KP_ZIGZAG_PNG") ? qEnvironmentVariable("KP_ZIGZAG_PNG")
                                                                 : QDir::temp().filePath("kind_zigzag.png");
  img.save(out);

  for (int kind = 0; kind < kKinds; ++kind) {
    SCOPED_TRACE(kind);
    int ink = 0;
    double stray = 0.0;
    const int top = RowCentre(kind) - kRowHeight / 2, bottom = RowCentre(kind) + kRowHeight / 2;
    for (int yy = std::max(0, top); yy < std::min(img.height(), bottom); ++yy)
      for (int x = kLeft - 40; x < img.width(); ++x) {
        if (!IsInk(img.pixel(x, yy))) continue;
        ++ink;
        stray = std::max(stray, DistanceToPolyline(x, yy, deviceLines[kind]));
      }
    EXPECT_GT(ink, 30);
    EXPECT_LT(stray, kMaxStray);
  }
}

}  // namespace
