#include "fuzz/KpFuzzInput.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "format/KpSubLineRecord.h"

namespace kp {

namespace {

constexpr unsigned kMaxSubLines = 7;
constexpr unsigned kMaxEntries = 63;
constexpr unsigned kMaxPoints = 1023;
constexpr std::size_t kStepBytes = 4;  // i16 dx, i16 dy

// Little-endian fields from the input; past the end every byte reads as 0.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  std::uint8_t U8() { return m_pos < m_size ? m_data[m_pos++] : 0; }
  std::uint16_t U16() {
    const unsigned lo = U8();  // two statements: the order of the reads is fixed
    return static_cast<std::uint16_t>(lo | (U8() << 8u));
  }
  std::uint32_t U32() {
    const std::uint32_t lo = U16();
    return lo | (static_cast<std::uint32_t>(U16()) << 16);
  }
  std::int8_t I8() { return static_cast<std::int8_t>(U8()); }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  void Bytes(BYTE* out, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) out[i] = U8();
  }
  std::size_t Left() const { return m_size - m_pos; }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

class Writer {
 public:
  void U8(std::uint8_t v) { m_bytes.push_back(v); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void Bytes(const BYTE* in, std::size_t n) { m_bytes.insert(m_bytes.end(), in, in + n); }
  std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

 private:
  std::vector<std::uint8_t> m_bytes;
};

// The previous point moved by d << shift, wrapped to 32 bits as the layout says.
LONG Step(LONG from, std::int16_t d, unsigned shift) {
  const std::int64_t to = std::int64_t{from} + std::int64_t{d} * (std::int64_t{1} << shift);
  return static_cast<LONG>(static_cast<std::int32_t>(static_cast<std::uint32_t>(to)));
}

CKpLineStyleBase ReadSubLine(Reader& r) {
  BYTE record[KP_SUBLINE_RECORD_SIZE];
  r.Bytes(record, sizeof record);
  CKpLineStyleBase sub;
  const unsigned n = r.U8() & kMaxEntries;
  for (unsigned i = 0; i < n; ++i) {
    const DWORD length = r.U32();
    sub.AppendEntry(length, r.U8());
  }
  // The record last, so that its pen word keeps the user-style bits it holds,
  // as a file reader leaves them.
  DecodeSubLineRecord(record, sub);
  return sub;
}

void ReadExtAttributes(Reader& r, CKpLineStyleObjExt& ext) {
  const BYTE token = r.U8();
  ext.SetObjExtToken(token);
  for (long pos = 0; pos < KP_EXT_POS_COUNT; ++pos) {
    if (!((token >> pos) & 1u)) continue;
    auto rec = std::make_unique<tagLineStyleObjExt>();
    rec->byWidth = r.U8();
    rec->byHeight = r.U8();
    rec->nAngle = r.I16();
    rec->nShape = r.I32();
    if (ext.SetObjExt(pos, rec.get())) rec.release();
  }
}

std::vector<POINT> ReadPoints(Reader& r) {
  unsigned n = r.U16() & kMaxPoints;
  std::vector<POINT> pts;
  if (n == 0) return pts;
  POINT p{r.I32(), r.I32()};
  const unsigned shift = r.U8() & 31u;
  // Points the bytes cannot describe would all repeat the last one.
  n = static_cast<unsigned>(std::min<std::size_t>(n, 1 + r.Left() / kStepBytes));
  pts.reserve(n);
  pts.push_back(p);
  for (unsigned i = 1; i < n; ++i) {
    const std::int16_t dx = r.I16();
    const std::int16_t dy = r.I16();
    p = POINT{Step(p.x, dx, shift), Step(p.y, dy, shift)};
    pts.push_back(p);
  }
  return pts;
}

// The step from one coordinate to the next, wrapped to 32 bits as Step wraps.
std::int64_t WrappedStep(LONG from, LONG to) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(to) - static_cast<std::uint32_t>(from));
}

// The smallest shift with which every step of pts is a 16-bit multiple.
bool FindShift(const std::vector<POINT>& pts, unsigned& shift) {
  for (shift = 0; shift < 32; ++shift) {
    const std::int64_t unit = std::int64_t{1} << shift;
    auto fits = [unit](std::int64_t d) {
      return d % unit == 0 && d / unit >= INT16_MIN && d / unit <= INT16_MAX;
    };
    bool all = true;
    for (std::size_t i = 1; i < pts.size() && all; ++i)
      all = fits(WrappedStep(pts[i - 1].x, pts[i].x)) && fits(WrappedStep(pts[i - 1].y, pts[i].y));
    if (all) return true;
  }
  return false;
}

}  // namespace

double DrawInput::Ratio() const {
  const int exponent = ((ratioExponent % 13) + 13) % 13 - 6;
  return ratioMantissa / 128.0 * std::pow(10.0, exponent);
}

DrawInput DecodeDrawInput(const std::uint8_t* data, std::size_t size) {
  Reader r(data, size);
  DrawInput in;
  in.switches = r.U16();
  in.ratioMantissa = r.I16();
  in.ratioExponent = r.I8();
  in.mapMode = r.U8();
  in.width = r.I32();
  in.color = r.U32();
  const unsigned subLines = r.U8() & kMaxSubLines;
  for (unsigned i = 0; i < subLines; ++i) {
    CKpLineStyleBase sub = ReadSubLine(r);
    in.style.AddStyleBase(sub);
  }
  ReadExtAttributes(r, in.style.GetObjExt());
  in.points = ReadPoints(r);
  in.sampleRect = RECT{r.I16(), r.I16(), r.I16(), r.I16()};
  in.decorationLength = r.I16();
  in.decorationWidth = r.I16();
  in.decorationPosition = r.U8();
  in.decorationKind = r.U8();
  in.subLineIndex = r.I8();
  return in;
}

std::vector<std::uint8_t> EncodeDrawInput(const DrawInput& in) {
  Writer w;
  w.U16(in.switches);
  w.U16(static_cast<std::uint16_t>(in.ratioMantissa));
  w.U8(static_cast<std::uint8_t>(in.ratioExponent));
  w.U8(in.mapMode);
  w.U32(static_cast<std::uint32_t>(in.width));
  w.U32(in.color);
  // A seed the layout cannot hold is a mistake in the seed generator.
  if (in.style.Count() > static_cast<long>(kMaxSubLines) || in.points.size() > kMaxPoints) std::abort();
  w.U8(static_cast<std::uint8_t>(in.style.Count()));
  for (long i = 0; i < in.style.Count(); ++i) {
    const CKpLineStyleBase& sub = *in.style.GetElementAt(static_cast<int>(i));
    BYTE record[KP_SUBLINE_RECORD_SIZE];
    EncodeSubLineRecord(sub, record);
    w.Bytes(record, sizeof record);
    if (sub.Count() > static_cast<long>(kMaxEntries)) std::abort();
    w.U8(static_cast<std::uint8_t>(sub.Count()));
    for (long e = 0; e < sub.Count(); ++e) {
      w.U32(sub.GetStyleSet()[e]);
      w.U8(sub.GetByteSet()[e]);
    }
  }
  const CKpLineStyleObjExt& ext = in.style.GetObjExt();
  w.U8(ext.GetObjExtToken());
  for (int k = 0; k < ext.GetCount(); ++k) {
    const tagLineStyleObjExt* rec = ext.GetRecordAt(k);
    w.U8(rec->byWidth);
    w.U8(rec->byHeight);
    w.U16(static_cast<std::uint16_t>(rec->nAngle));
    w.U32(static_cast<std::uint32_t>(rec->nShape));
  }
  w.U16(static_cast<std::uint16_t>(in.points.size()));
  if (!in.points.empty()) {
    unsigned shift = 0;
    if (!FindShift(in.points, shift)) std::abort();
    w.U32(static_cast<std::uint32_t>(in.points[0].x));
    w.U32(static_cast<std::uint32_t>(in.points[0].y));
    w.U8(static_cast<std::uint8_t>(shift));
    const std::int64_t unit = std::int64_t{1} << shift;
    for (std::size_t i = 1; i < in.points.size(); ++i) {
      w.U16(static_cast<std::uint16_t>(WrappedStep(in.points[i - 1].x, in.points[i].x) / unit));
      w.U16(static_cast<std::uint16_t>(WrappedStep(in.points[i - 1].y, in.points[i].y) / unit));
    }
  }
  for (LONG v : {in.sampleRect.left, in.sampleRect.top, in.sampleRect.right, in.sampleRect.bottom})
    w.U16(static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
  w.U16(static_cast<std::uint16_t>(in.decorationLength));
  w.U16(static_cast<std::uint16_t>(in.decorationWidth));
  w.U8(in.decorationPosition);
  w.U8(in.decorationKind);
  w.U8(static_cast<std::uint8_t>(in.subLineIndex));
  return w.Take();
}

}  // namespace kp
