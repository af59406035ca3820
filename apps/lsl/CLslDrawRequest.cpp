#include "apps/lsl/CLslDrawRequest.h"

#include <cctype>
#include <cstdlib>

#include "apps/lsl/CLslCanvas.h"
#include "apps/lsl/CLslError.h"
#include "apps/lsl/CLslGeoJsonReader.h"
#include "apps/lsl/CLslLibrarySource.h"
#include "apps/lsl/CLslPointList.h"

CLslDrawRequest::CLslDrawRequest(const std::vector<std::string>& words, bool withOutput) {
  std::set<std::string> valueOptions{"--style", "--geojson", "--points", "--size",
                                     "--width", "--color",   "--ratio"};
  if (withOutput) valueOptions.insert("-o");
  const CLslArgs args(words, valueOptions, {"--default", "--no-aa"});
  CLslLibrarySource::ExpectArguments(args, 0, false);
  if (withOutput) {
    m_output = args.Required("-o");
    CLslCanvas::KindOf(m_output);  // a bad extension is known before any work
  }
  ReadOptions(args);
  if (args.Has("--geojson") == args.Has("--points")) throw CLslError("give either --geojson or --points");
  CLslLibrarySource::Load(args, m_lib, false);
  ReadStyle(args);
  ReadGeometry(args);
}

void CLslDrawRequest::ReadOptions(const CLslArgs& args) {
  if (const auto size = args.Value("--size")) m_size = ParseSize(*size);
  if (const auto width = args.Value("--width"))
    m_options.width = CLslArgs::ParseLong("--width", *width, 0, 10000);
  if (const auto color = args.Value("--color")) m_options.color = ParseColor(*color);
  if (const auto ratio = args.Value("--ratio"))
    m_options.ratio = CLslArgs::ParseDouble("--ratio", *ratio, 0.01, 100.0);
  m_options.antiAlias = !args.Has("--no-aa");
}

void CLslDrawRequest::ReadStyle(const CLslArgs& args) {
  const std::string text = args.Required("--style");
  const long id = CLslArgs::ParseLong("--style", text, -2147483647L - 1, 2147483647L);
  const long index = m_lib.FindID(id);
  if (index < 0) throw CLslError("unknown style ID " + text + " (see 'lsl info' for the IDs)");
  m_style = m_lib.GetStyleObj(index);
}

void CLslDrawRequest::ReadGeometry(const CLslArgs& args) {
  if (const auto points = args.Value("--points"))
    m_points = CLslPointList::Parse(*points);
  else
    m_shapes = CLslGeoJsonReader::ReadFile(args.Required("--geojson"));
}

std::vector<LslMapShape> CLslDrawRequest::MapShapes() const {
  if (!HasPoints()) return m_shapes;
  return {LslMapShape{false, {m_points}}};
}

SIZE CLslDrawRequest::ParseSize(const std::string& text) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) throw CLslError("bad value '" + text + "' for --size (use WxH, e.g. 800x600)");
  const long w = CLslArgs::ParseLong("--size", text.substr(0, x), 1, CLslCanvas::kMaxSide);
  const long h = CLslArgs::ParseLong("--size", text.substr(x + 1), 1, CLslCanvas::kMaxSide);
  return SIZE{static_cast<LONG>(w), static_cast<LONG>(h)};
}

COLORREF CLslDrawRequest::ParseColor(const std::string& text) {
  const std::string hex = (!text.empty() && text[0] == '#') ? text.substr(1) : text;
  bool ok = hex.size() == 6;
  for (char c : hex) ok = ok && std::isxdigit(static_cast<unsigned char>(c));
  if (!ok) throw CLslError("bad value '" + text + "' for --color (use RRGGBB, e.g. FF0000 for red)");
  const unsigned long rgb = std::strtoul(hex.c_str(), nullptr, 16);
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
