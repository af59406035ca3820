#pragma once
// Outlines of the arcs Qt stroked last, kept so that an arc a decoration
// repeats along a line is stroked once. Qt's stroker offsets an arc's
// curves at great cost for a wide pen (a small arc under a pen thousands of
// pixels wide takes a quarter of a millisecond), while filling the outline
// it makes, moved by whole pixels, sets the very pixels Qt's own stroke
// there sets (aliased pens wider than a pixel, no transform: see
// CQtDC::CanReuseArcStrokes).
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <array>
#include <cstddef>

class CQtArcStrokeCache {
 public:
  // The arc of the ellipse in `box`, from `start` degrees over `span`
  // degrees (Qt's sense), closed when `closed`.
  static QPainterPath ArcPath(const QRectF& box, double start, double span, bool closed);
  // Its stroke with `pen`, as an outline to fill.
  const QPainterPath& Outline(const QRectF& box, double start, double span, bool closed, const QPen& pen);

 private:
  struct Entry {
    double x = 0, y = 0, w = 0, h = 0, start = 0, span = 0;
    double width = 0, miter = 0;
    bool closed = false;
    Qt::PenCapStyle cap = Qt::FlatCap;
    Qt::PenJoinStyle join = Qt::MiterJoin;
    QPainterPath outline;
  };
  static bool Matches(const Entry& e, const QRectF& box, double start, double span, bool closed, const QPen& pen);

  // A decoration alternates a few figures (arcs up and down, two sizes);
  // the oldest entry makes way.
  static constexpr std::size_t kEntries = 8;
  std::array<Entry, kEntries> m_entries{};
  std::size_t m_used = 0;
  std::size_t m_next = 0;
};
