#include "platform/qt/CQtArcStrokeCache.h"

#include <QPainterPathStroker>

// Exact comparisons: QRectF's own operator== is fuzzy, and an outline is
// only the same when every number that made it is.
bool CQtArcStrokeCache::Matches(const Entry& e, const QRectF& box, double start, double span, bool closed,
                                const QPen& pen) {
  return e.x == box.x() && e.y == box.y() && e.w == box.width() && e.h == box.height() && e.start == start &&
         e.span == span && e.closed == closed && e.width == pen.widthF() && e.miter == pen.miterLimit() && e.cap == pen.capStyle() &&
         e.join == pen.joinStyle();
}

QPainterPath CQtArcStrokeCache::ArcPath(const QRectF& box, double start, double span, bool closed) {
  QPainterPath arc;
  arc.arcMoveTo(box, start);
  arc.arcTo(box, start, span);
  if (closed) arc.closeSubpath();
  return arc;
}

const QPainterPath& CQtArcStrokeCache::Outline(const QRectF& box, double start, double span, bool closed,
                                               const QPen& pen) {
  for (std::size_t i = 0; i < m_used; ++i)
    if (Matches(m_entries[i], box, start, span, closed, pen)) return m_entries[i].outline;

  Entry& e = m_entries[m_next];
  m_next = (m_next + 1) % kEntries;
  if (m_used < kEntries) ++m_used;
  e.x = box.x();
  e.y = box.y();
  e.w = box.width();
  e.h = box.height();
  e.start = start;
  e.span = span;
  e.closed = closed;
  e.width = pen.widthF();
  e.miter = pen.miterLimit();
  e.cap = pen.capStyle();
  e.join = pen.joinStyle();
  e.outline = QPainterPathStroker(pen).createStroke(ArcPath(box, start, span, closed));
  return e.outline;
}
