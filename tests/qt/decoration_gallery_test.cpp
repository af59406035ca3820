// Renders every decoration kind, arrow shape and node shape on the Qt
// backend, one row each, and checks that every row leaves ink. The picture
// (decoration_gallery.png in the temporary folder, or $KP_GALLERY_PNG) is
// for looking at. Logical y points up, as on a map, so "up" in the labels
// is up in the picture.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <cstring>
#include <string>
#include <vector>

#include "companions/KpResourceSymbols.h"
#include "engine/CKpLineStyleEngine.h"
#include "model/CKpLineStyleObj.h"
#include "model/KpSubLineKinds.h"
#include "platform/qt/CQtDC.h"

namespace {

constexpr int kRowHeight = 40;
constexpr int kLineLeft = 260;
constexpr COLORREF kInk = RGB(0, 0, 200);

struct Row {
  std::string label;
  int kind;   // decoration kind, or 0 for the arrow/node rows
  int arrow;  // arrow shape 1..6, or 0
  int node;   // node shape 6..9, or 0
};

std::vector<Row> GalleryRows() {
  std::vector<Row> rows;
  for (int k = 1; k <= 38; ++k) rows.push_back({std::to_string(k) + " " + kp::SubLineKindLabel(k), k, 0, 0});
  for (int k = 47; k <= 48; ++k) rows.push_back({std::to_string(k) + " " + kp::SubLineKindLabel(k), k, 0, 0});
  for (int s = 1; s <= 6; ++s) rows.push_back({"arrow shape " + std::to_string(s), 0, s, 0});
  for (int s = 6; s <= 9; ++s) rows.push_back({"node shape " + std::to_string(s), 0, 0, s});
  return rows;
}

// The polyline of a row: a straight run, then a slight bend, so that the
// pattern can be seen running on across a vertex.
std::vector<POINT> RowLine(int y) {
  return {{kLineLeft, y}, {kLineLeft + 200, y}, {kLineLeft + 380, y - 10}};
}

CKpLineStyleBase SubLineOfKind(int kind) {
  CKpLineStyleBase sub;
  sub.Add(30, 15);
  sub.m_nHVMode = static_cast<short>(kind);
  sub.m_nHVLength = 8;
  sub.m_clrCurrent = kInk;
  if (kind >= 28 && kind <= 33) {
    std::strcpy(sub.m_szFont, "DejaVu Sans");
    sub.m_nSymbol = 'A';
    sub.m_nHVLength = 14;
    sub.m_nAngle = 450;
  }
  if (kind == 47 || kind == 48) {
    sub.m_nSymbol = 18;  // a star of the built-in symbols
    sub.m_nHVLength = 16;
  }
  return sub;
}

// Walks one sub-line along the polyline the way the drawing front end does.
void DrawSubLine(CKpLineStyleEngine& engine, CKpLineStyleBase& sub, const std::vector<POINT>& pts) {
  engine.SetLineStyleBase(&sub);
  engine.CreatePen(&sub);
  engine.Flush();
  engine.MoveTo(pts[0]);
  const int kind = sub.m_nHVMode;
  const bool integerWalk = kind == 14 || kind == 15 || (kind >= 21 && kind <= 24);
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    POINT s = pts[i], e = pts[i + 1];
    if (integerWalk)
      engine.LineDisjunction(s, e);
    else
      engine.LineDisjunctionEx(s, e);
    POINT v{0, 0};
    engine.LineOffset(&s, &e, sub.m_nHVLength, &v);
    engine.DrawLine(static_cast<short>(kind), &v);
  }
}

void DrawRow(CKpLineStyleEngine& engine, const Row& row, int y) {
  std::vector<POINT> pts = RowLine(y);
  if (row.kind != 0) {
    CKpLineStyleBase sub = SubLineOfKind(row.kind);
    DrawSubLine(engine, sub, pts);
    engine.CreatePen(nullptr);
  } else if (row.arrow != 0) {
    POINT from{kLineLeft, y}, to{kLineLeft + 60, y};
    engine.DrawArrow(from, to, 24, 16, row.arrow);
    POINT from2{kLineLeft + 200, y + 8}, to2{kLineLeft + 260, y - 12};
    engine.DrawArrow(from2, to2, 24, 16, row.arrow);
  } else {
    CKpLineStyleObj style;
    style.GetObjExt().SetObjExt(KP_EXT_POS_VERTEX, new tagLineStyleObjExt{16, 10, 0, row.node});
    style.GetObjExt().SetObjExt(KP_EXT_POS_SEGMENT_CENTRE, new tagLineStyleObjExt{16, 10, 0, row.node});
    engine.ActDrawExtAtt(KP_EXT_POS_VERTEX, &style, pts.data(), static_cast<long>(pts.size()));
    engine.ActDrawExtAtt(KP_EXT_POS_SEGMENT_CENTRE, &style, pts.data(), static_cast<long>(pts.size()));
  }
}

// Device y of the middle of row r.
int RowCentre(size_t r) { return kRowHeight * static_cast<int>(r) + kRowHeight / 2 + 5; }

int InkInRow(const QImage& img, int y) {
  int n = 0;
  for (int yy = y - kRowHeight / 2 + 1; yy < y + kRowHeight / 2; ++yy)
    for (int x = kLineLeft - 30; x < img.width(); ++x) {
      const QRgb p = img.pixel(x, yy);
      if (qBlue(p) > 120 && qRed(p) < 110 && qGreen(p) < 110) ++n;
    }
  return n;
}

TEST(QtDecorationGallery, EveryKindArrowAndNodeShapeLeavesInk) {
  const std::vector<Row> rows = GalleryRows();
  QImage img(kLineLeft + 420, kRowHeight * static_cast<int>(rows.size()) + 10, QImage::Format_RGB32);
  img.fill(Qt::white);
  CKpSymLib symbols;
  kp::LoadResourceSymbols(symbols);
  {
    CQtDC dc(img);
    CFont labelFont;
    labelFont.CreateFont(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Noto Sans CJK SC");
    CPen guide, ink;
    guide.CreatePen(PS_SOLID, 0, RGB(200, 200, 200));
    ink.CreatePen(PS_SOLID, 1, kInk);
    // One logical unit per pixel, y up, origin at the bottom left.
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(1, -1);
    dc.SetViewportOrg(0, img.height());
    CKpLineStyleEngine engine;
    engine.SetMapMode(MM_ANISOTROPIC);
    engine.m_pSymLib = &symbols;
    dc.SelectObject(&labelFont);
    dc.SetBkMode(TRANSPARENT);
    for (size_t r = 0; r < rows.size(); ++r) {
      const int y = img.height() - RowCentre(r);
      dc.SetTextColor(RGB(0, 0, 0));
      dc.SetTextAlign(TA_LEFT | TA_BASELINE);
      dc.TextOut(8, y - 5, rows[r].label);
      std::vector<POINT> pts = RowLine(y);
      dc.SelectObject(&guide);
      dc.Polyline(pts.data(), static_cast<int>(pts.size()));
      dc.SelectObject(&ink);
      engine.KeepDC(&dc);
      engine.m_bStylePen = 1;
      DrawRow(engine, rows[r], y);
      engine.RestoreDC();
    }
  }
  const QString out = qEnvironmentVariableIsSet("KP_GALLERY_PNG")
                          ? qEnvironmentVariable("KP_GALLERY_PNG")
                          : QDir::temp().filePath("decoration_gallery.png");
  img.save(out);
  for (size_t r = 0; r < rows.size(); ++r) {
    SCOPED_TRACE(rows[r].label);
    EXPECT_GT(InkInRow(img, RowCentre(r)), 20);
  }
}

}  // namespace
