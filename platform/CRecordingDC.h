#pragma once
// A device context that draws nothing and records every call, with its
// arguments in logical coordinates and the state it changes, as one line of
// text each (docs/trace-format.md). Used by tests and by `lsl trace`.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/CDC.h"
#include "platform/KpExport.h"

class KP_API CRecordingDC : public CDC {
 public:
  explicit CRecordingDC(SIZE deviceSize = SIZE{1000, 1000}, bool printing = false)
      : m_size(deviceSize), m_bPrinting(printing) {}

  BOOL IsPrinting() const override { return m_bPrinting ? TRUE : FALSE; }
  SIZE GetDeviceSize() const override { return m_size; }

  const std::vector<std::string>& GetCalls() const { return m_calls; }
  // All calls joined by newlines (each line ends with '\n').
  std::string GetText() const;
  void Clear() { m_calls.clear(); }
  // Keeps the text of at most `lines` calls; the calls after them still
  // change the DC's state but are not formatted (formatting a call costs more
  // than drawing it, and a capped drawing can make millions). 0 keeps none.
  void SetTraceLimit(std::size_t lines) { m_traceLimit = lines; }

 protected:
  // Records calls wherever they land: only a clip region bounds it.
  std::optional<CRect> GetDeviceBox() const override { return std::nullopt; }
  bool IsTracing() const override { return m_calls.size() < m_traceLimit; }
  void Trace(const std::string& line) override { m_calls.push_back(line); }

  void DoLine(POINT, POINT) override {}
  void DoPolyline(const POINT*, int) override {}
  void DoPolygon(const POINT*, int) override {}
  void DoEllipse(const RECT&) override {}
  void DoArc(const RECT&, POINT, POINT) override {}
  void DoRectangle(const RECT&) override {}
  void DoFillRect(const RECT&, const CBrush::State&) override {}
  void DoTextOut(int, int, const CString&) override {}
  void DoAAPolyline(const POINT*, int, const AAPEN&) override {}

 private:
  SIZE m_size;
  bool m_bPrinting;
  std::size_t m_traceLimit = SIZE_MAX;
  std::vector<std::string> m_calls;
};
