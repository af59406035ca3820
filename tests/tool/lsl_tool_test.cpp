// The lsl command-line tool. Most cases run the built program (its path
// comes from KP_LSL_BINARY) and look at its exit status, its output and the
// files it leaves; the pure parts (sheet order, fitting, point lists,
// GeoJSON) are called directly.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "apps/lsl/CLslError.h"
#include "apps/lsl/CLslGeoJsonReader.h"
#include "apps/lsl/CLslMapFit.h"
#include "apps/lsl/CLslPointList.h"
#include "apps/lsl/CLslSheetSections.h"
#include "model/CKpLineStyleLib.h"

namespace fs = std::filesystem;

namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of its own per test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "lsl-test-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~TempDir() { fs::remove_all(m_path); }
  fs::path operator/(const std::string& name) const { return m_path / name; }
  const fs::path& Path() const { return m_path; }
  // Every file in the folder, so that a test sees temporaries left behind.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_path)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  fs::path m_path;
};

// Runs lsl with the arguments (already quoted for the shell where needed).
Result Lsl(const std::string& args) {
  static int serial = 0;
  const std::string base =
      (fs::temp_directory_path() / ("lsl-run-" + std::to_string(::getpid()) + "-" + std::to_string(serial++)))
          .string();
  const std::string command =
      std::string(KP_LSL_BINARY) + " " + args + " >" + base + ".out 2>" + base + ".err";
  const int raw = std::system(command.c_str());
  Result r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(base + ".out"), ReadFile(base + ".err")};
  fs::remove(base + ".out");
  fs::remove(base + ".err");
  return r;
}

std::string Q(const fs::path& path) { return "'" + path.string() + "'"; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Width and height from a PNG's header chunk.
std::pair<int, int> PngSize(const fs::path& path) {
  const std::string b = ReadFile(path);
  if (b.size() < 24 || b.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
  auto be32 = [&b](size_t at) {
    return (static_cast<unsigned char>(b[at]) << 24) | (static_cast<unsigned char>(b[at + 1]) << 16) |
           (static_cast<unsigned char>(b[at + 2]) << 8) | static_cast<unsigned char>(b[at + 3]);
  };
  return {be32(16), be32(20)};
}

CKpLineStyleObj Copy(const CKpLineStyleLib& from, long id, const char* name) {
  CKpLineStyleObj style = from.GetStyleObj(from.FindID(id));
  style.SetName(name);
  return style;
}

// A small library with a group tree three levels deep, Chinese names, one
// style filed nowhere and a custom symbol used at the vertices of a style.
CKpLineStyleLib TownLibrary() {
  CKpLineStyleLib defaults;
  defaults.CreateDefault();
  CKpLineStyleLib lib;
  lib.SetName("城镇");
  lib.m_lReserved = 7;
  const std::pair<long, const char*> styles[] = {{6, "实线"},  {8, "虚线"},  {17, "铁路"},
                                                 {20, "陡坎"}, {33, "围墙"}, {42, "箭头"}};
  for (const auto& [id, name] : styles) {
    CKpLineStyleObj style = Copy(defaults, id, name);
    lib.AddStyleObj(style);
  }
  auto* symbol = new CKpSymbol;
  symbol->AddElement(CKpSymbol::Element{CKpSymbol::kFilledEllipse, 0, 0, {{0, 0}, {40, 40}}});
  const long symbolId = lib.AddSymbol(symbol);
  CKpLineStyleObj* dotted = lib.SetStyleByID(6);
  dotted->GetObjExt().SetObjExt(KP_EXT_POS_VERTEX,
                                new tagLineStyleObjExt{12, 12, 0, static_cast<std::int32_t>(symbolId)});
  CKpLineStyleGroup* root = lib.GetRootGroup();
  root->SetName("RootGroup");
  root->AddStyleItem(6);
  CKpLineStyleGroup* roads = root->CreateSubGroup("道路");
  roads->AddStyleItem(17);
  roads->AddStyleItem(8);
  roads->CreateSubGroup("小路")->AddStyleItem(20);
  root->CreateSubGroup("边界")->AddStyleItem(33);
  return lib;  // 42 is filed nowhere
}

fs::path SaveTown(const TempDir& dir) {
  CKpLineStyleLib lib = TownLibrary();
  const fs::path path = dir / "town.lsl";
  EXPECT_EQ(lib.SaveToFile(path.string()), 1);
  return path;
}

const char kRoadsGeoJson[] = R"({"type":"FeatureCollection","features":[
  {"type":"Feature","properties":{},"geometry":{"type":"LineString","coordinates":[[0,0],[100,20],[200,0]]}},
  {"type":"Feature","properties":{},"geometry":{"type":"MultiLineString","coordinates":[[[0,50],[200,50]],[[100,0],[100,100]]]}},
  {"type":"Feature","properties":{},"geometry":{"type":"Polygon","coordinates":[[[20,60],[80,60],[80,90],[20,90],[20,60]]]}},
  {"type":"Feature","properties":{},"geometry":{"type":"Point","coordinates":[5,5]}},
  {"type":"Feature","properties":{},"geometry":null}]})";

// --- help ---

TEST(LslHelp, OverviewAndCommandUsage) {
  struct Row {
    const char* what;
    const char* args;
    const char* expected;
  };
  const Row rows[] = {
      {"overview", "--help", "usage: lsl COMMAND"},                           // the list of commands
      {"help word", "help draw", "usage: lsl draw"},                          // help COMMAND
      {"command --help", "sheet --help", "usage: lsl sheet"},                 // each command answers
      {"--help among others", "trace --default --help", "usage: lsl trace"},  // wins over the rest
      {"convert", "convert --help", "--version 20031017|20010614|65537"},
      {"new-default", "new-default -h", "usage: lsl new-default OUT"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const Result res = Lsl(r.args);
    EXPECT_EQ(res.status, 0);
    EXPECT_NE(res.out.find(r.expected), std::string::npos) << res.out;
    EXPECT_EQ(res.err, "");
  }
}

// --- sheet ---

TEST(LslSheet, WritesEveryFormatAndNothingElse) {
  struct Row {
    const char* what;
    const char* name;
    const char* library;
    const char* magic;
  };
  const Row rows[] = {
      {"default library as PNG", "s.png", "", "\x89PNG"},  // no FILE: the default
      {"--default as SVG", "s.svg", "--default", "<?xml"},
      {"a file with groups as PDF", "s.pdf", "TOWN", "%PDF"},  // headings with Chinese names
      {"upper-case extension", "S.PNG", "TOWN", "\x89PNG"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    TempDir dir;
    const std::string library = std::string(r.library) == "TOWN" ? Q(SaveTown(dir)) : r.library;
    const Result res = Lsl("sheet " + library + " -o " + Q(dir / r.name));
    EXPECT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(ReadFile(dir / r.name).compare(0, std::strlen(r.magic), r.magic), 0);
    std::vector<std::string> expected{r.name};
    if (std::string(r.library) == "TOWN") expected.insert(expected.begin(), "town.lsl");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir.Files(), expected);  // no temporary file left over
  }
}

TEST(LslSheet, SizeFollowsColumnsAndScale) {
  // 16-pixel margins and 360-pixel cells; 38 default styles in one group.
  struct Row {
    const char* what;
    const char* options;
    int width;
    int height;
  };
  const Row rows[] = {
      {"three columns", "", 1112, 838},               // 13 rows of 56 under a title and a heading
      {"one column", "--columns 1", 392, 2238},       // 38 rows
      {"twice the size", "--scale 2", 2224, 1676},    // everything doubles
      {"twelve columns", "--columns 12", 4352, 334},  // 4 rows
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    TempDir dir;
    const Result res = Lsl(std::string("sheet --default -o ") + Q(dir / "s.png") + " " + r.options);
    ASSERT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(PngSize(dir / "s.png"), std::make_pair(r.width, r.height));
  }
}

TEST(LslSheetSections, GroupTreeDepthFirstThenUnfiled) {
  const CKpLineStyleLib lib = TownLibrary();
  const std::vector<LslSheetSection> sections = CLslSheetSections::Build(lib);
  struct Row {
    const char* heading;
    std::vector<long> ids;
  };
  const Row rows[] = {
      {"RootGroup", {6}},          // the root's own items under its name
      {"道路", {17, 8}},           // item order, not ID order
      {"道路 / 小路", {20}},       // a sub-group right after its parent
      {"边界", {33}},              // then the parent's next sibling
      {"Not in any group", {42}},  // styles no group files come last
  };
  ASSERT_EQ(sections.size(), std::size(rows));
  for (size_t i = 0; i < sections.size(); ++i) {
    SCOPED_TRACE(rows[i].heading);
    EXPECT_EQ(sections[i].heading, rows[i].heading);
    std::vector<long> ids;
    for (long index : sections[i].indices) ids.push_back(lib.GetIDAt(index));
    EXPECT_EQ(ids, rows[i].ids);
  }
}

// --- draw ---

TEST(LslDraw, GeoJsonAndPointsInEveryFormat) {
  struct Row {
    const char* what;
    const char* output;
    const char* geometry;
    const char* options;
  };
  const Row rows[] = {
      {"GeoJSON to PNG", "d.png", "--geojson ROADS", "--size 320x200"},
      {"points to SVG", "d.svg", "--points '0,0 50,20 100,0'", "--width 3 --color FF0000"},
      {"GeoJSON to PDF", "d.pdf", "--geojson ROADS", "--ratio 2 --no-aa"},
      {"a bare geometry", "d.png", "--geojson POLY", "--size 100x100"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    TempDir dir;
    WriteFile(dir / "roads.json", kRoadsGeoJson);
    WriteFile(dir / "poly.json",
              R"({"type":"MultiPolygon","coordinates":[[[[0,0],[4,0],[4,4]]],[[[5,5],[9,5],[9,9]]]]})");
    std::string geometry = r.geometry;
    if (geometry == "--geojson ROADS") geometry = "--geojson " + Q(dir / "roads.json");
    if (geometry == "--geojson POLY") geometry = "--geojson " + Q(dir / "poly.json");
    const Result res =
        Lsl("draw --default --style 17 " + geometry + " -o " + Q(dir / r.output) + " " + r.options);
    EXPECT_EQ(res.status, 0) << res.err;
    EXPECT_TRUE(fs::exists(dir / r.output));
  }
}

TEST(LslDraw, ImageHasTheGivenSize) {
  TempDir dir;
  const Result res =
      Lsl("draw --default --style 8 --points '0,0 10,10' --size 123x45 -o " + Q(dir / "d.png"));
  ASSERT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(PngSize(dir / "d.png"), std::make_pair(123, 45));
}

// --- trace ---

TEST(LslTrace, PointsAreDeviceCoordinates) {
  // Style 8: one black sub-line of width 1, dashes of 10 and gaps of 10,
  // with horizontal repair. On 0,0 -> 100,0: dashes start every 20 units;
  // the walk ends on a dash start at 100, and the repair then inks the last
  // gap 90..100 so that the line ends solid.
  const Result res = Lsl("trace --default --style 8 --points '0,0 100,0' --no-aa");
  ASSERT_EQ(res.status, 0) << res.err;
  const std::vector<std::string> expected = {
      "SelectPen style=0x00000 width=1 color=0x000000",  // the host's pen: the style's colour and width
      "SetMapMode 1",                                    // KeepDC: the engine's mapping, one unit a pixel
      "SelectPen style=0x00000 width=1 color=0x000000",  // CreatePen puts the host's pen back,
      "SelectPen style=0x00000 width=1 color=0x000000",  // then selects the sub-line's own
      "MoveTo 0 0",
      "LineTo 10 0",
      "MoveTo 20 0",
      "LineTo 30 0",
      "MoveTo 40 0",
      "LineTo 50 0",
      "MoveTo 60 0",
      "LineTo 70 0",
      "MoveTo 80 0",
      "LineTo 90 0",
      "MoveTo 100 0",
      "LineTo 100 0",  // the walker's last point, played by the repair
      "MoveTo 90 0",
      "LineTo 100 0",                                    // the last incomplete section drawn
      "SelectPen style=0x00000 width=1 color=0x000000",  // RestoreDC: the host's pen
      "SetMapMode 1",                                    // and its mapping
      "SelectPen style=0x00000 width=0 color=0x000000",  // the DC's own stock pen again
  };
  EXPECT_EQ(Lines(res.out), expected);
}

TEST(LslTrace, OptionsReachTheEngine) {
  struct Row {
    const char* what;
    const char* args;
    const char* expected;
  };
  const Row rows[] = {
      {"anti-aliased by default", "--style 8 --points '0,0 100,0'",
       "AALine 0 0 10 0 width=1 color=0x000000 cap=2 join=2"},
      {"colour override", "--style 8 --points '0,0 100,0' --no-aa --color FF8000",
       "SelectPen style=0x00000 width=1 color=0x0080FF"},  // RRGGBB in, 0xBBGGRR traced
      {"width override", "--style 12 --points '0,0 100,0' --no-aa --width 5",
       "SelectPen style=0x00000 width=5 color=0x000000"},
      {"ratio doubles dashes", "--style 8 --points '0,0 100,0' --no-aa --ratio 2",
       "MoveTo 40 0"},  // the second dash starts after 20 + 20
      {"GeoJSON is fitted y-up", "--style 6 --geojson GEO --size 200x100", "SetViewportExt 1 -1"},
      {"GeoJSON fitted with a margin", "--style 6 --geojson GEO --size 200x100",
       "AAPolyline 2 8 50 192 50 width=1"},  // a 10x0 box spread over 200 less 2 x 8
  };
  TempDir dir;
  WriteFile(dir / "geo.json", R"({"type":"LineString","coordinates":[[0,0],[10,0]]})");
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::string args = r.args;
    const size_t at = args.find("GEO");
    if (at != std::string::npos) args.replace(at, 3, Q(dir / "geo.json"));
    const Result res = Lsl("trace --default " + args);
    ASSERT_EQ(res.status, 0) << res.err;
    EXPECT_NE(res.out.find(r.expected), std::string::npos) << res.out;
  }
}

// --- info, dump ---

TEST(LslInfo, VersionNameCountGroupsSymbols) {
  TempDir dir;
  const Result res = Lsl("info " + Q(SaveTown(dir)));
  ASSERT_EQ(res.status, 0) << res.err;
  EXPECT_EQ(res.out,
            "version: 20031017\n"
            "name: 城镇\n"
            "styles: 6\n"
            "groups:\n"
            "  RootGroup: 1 style\n"
            "    道路: 2 styles\n"
            "      小路: 1 style\n"
            "    边界: 1 style\n"
            "symbols: 10\n");
}

TEST(LslDump, WholeLibraryAsJson) {
  TempDir dir;
  const Result res = Lsl("dump " + Q(SaveTown(dir)) + " --json");
  ASSERT_EQ(res.status, 0) << res.err;
  const auto doc = nlohmann::ordered_json::parse(res.out);
  std::vector<std::string> keys;
  for (const auto& item : doc.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"version", "m_lReserved", "name", "root", "symbols", "styles"}));
  EXPECT_EQ(doc["version"], 20031017);
  EXPECT_EQ(doc["m_lReserved"], 7);
  EXPECT_EQ(doc["name"], "城镇");
  EXPECT_EQ(doc["root"]["items"], nlohmann::ordered_json::array({6}));
  EXPECT_EQ(doc["root"]["groups"][0]["name"], "道路");
  EXPECT_EQ(doc["root"]["groups"][0]["groups"][0]["items"], nlohmann::ordered_json::array({20}));
  EXPECT_EQ(doc["symbols"], nlohmann::ordered_json::array({10}));
  ASSERT_EQ(doc["styles"].size(), 6u);
  const auto& solid = doc["styles"][0];
  EXPECT_EQ(solid["id"], 6);
  EXPECT_EQ(solid["token"], 4);  // bit 2: the vertices
  EXPECT_EQ(solid["ext"], nlohmann::ordered_json::parse(
                              R"([{"pos":2,"byWidth":12,"byHeight":12,"nAngle":0,"nShape":10}])"));
  const auto& dashed = doc["styles"][1]["sublines"][0];
  std::vector<std::string> fields;
  for (const auto& item : dashed.items()) fields.push_back(item.key());
  const std::vector<std::string> recordOrder = {
      "m_nHVLength",  "m_nHVMode",     "m_nHorizOffset", "m_nVertOffset", "m_clrCurrent", "m_clrColor",
      "m_dwPenStyle", "m_nHatch",      "m_nWidth",       "m_nCurWidth",   "m_nReserved",  "m_nWidthType",
      "m_nVarWidth",  "m_szFont",      "m_nSymbol",      "m_nRepeatMode", "m_dwFlags",    "m_dwReserved1",
      "m_nAngle",     "m_dwReserved2", "pattern"};
  EXPECT_EQ(fields, recordOrder);
  EXPECT_EQ(dashed["pattern"], nlohmann::ordered_json::parse("[[10,1],[10,0]]"));
  EXPECT_EQ(dashed["m_szFont"], "");
}

TEST(LslDump, FilesWrittenByConvertInEachVersion) {
  struct Row {
    const char* what;
    const char* option;
    long version;
    bool groups;
    size_t symbols;
  };
  const Row rows[] = {
      {"current (default)", "", 20031017, true, 1},           // everything kept
      {"20010614", "--version 20010614", 20010614, true, 0},  // that version has no symbol library
      {"65537", "--version 65537", 65537, false, 0},          // no groups: one root holds all
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    TempDir dir;
    const fs::path in = SaveTown(dir);
    const Result conv = Lsl("convert " + Q(in) + " " + Q(dir / "out.lsl") + " " + r.option);
    ASSERT_EQ(conv.status, 0) << conv.err;
    EXPECT_EQ(conv.out, "");
    const Result res = Lsl("dump " + Q(dir / "out.lsl"));
    ASSERT_EQ(res.status, 0) << res.err;
    const auto doc = nlohmann::json::parse(res.out);
    EXPECT_EQ(doc["version"], r.version);
    EXPECT_EQ(doc["name"], "城镇");
    ASSERT_EQ(doc["styles"].size(), 6u);
    EXPECT_EQ(doc["styles"][2]["name"], "铁路");
    EXPECT_EQ(doc["styles"][2]["sublines"].size(), 2u);
    EXPECT_EQ(doc["symbols"].size(), r.symbols);
    EXPECT_EQ(doc["root"]["groups"].empty(), !r.groups);
    if (!r.groups) {
      EXPECT_EQ(doc["root"]["items"].size(), 6u);
    }
  }
}

TEST(LslNewDefault, SavesTheBuiltInLibrary) {
  TempDir dir;
  const Result made = Lsl("new-default " + Q(dir / "Line.lsl"));
  ASSERT_EQ(made.status, 0) << made.err;
  const Result info = Lsl("info " + Q(dir / "Line.lsl"));
  EXPECT_NE(info.out.find("styles: 38\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("  RootGroup: 38 styles\n"), std::string::npos);
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"Line.lsl"});
}

// --- errors ---

TEST(LslErrors, OneLineStatusOneAndNoFile) {
  TempDir dir;
  const fs::path town = SaveTown(dir);
  WriteFile(dir / "text.lsl", "this is not a library");
  WriteFile(dir / "version.lsl", std::string("\x98\xD1\xC9\x0F\x39\x30\x00\x00", 8));  // version 12345
  const std::string whole = ReadFile(town);
  WriteFile(dir / "cut.lsl", whole.substr(0, whole.size() / 2));
  WriteFile(dir / "bad.json", "{\"type\": \"LineString\", ");
  WriteFile(dir / "point.json", R"({"type":"Point","coordinates":[1,2]})");
  WriteFile(dir / "shape.json", R"({"type":"LineString","coordinates":[[0,0],["a",1]]})");
  WriteFile(dir / "kind.json", R"({"type":"Circle","coordinates":[]})");
  WriteFile(dir / "huge.json", R"({"type":"LineString","coordinates":[[0,0],[1e308,1e308],[-1e308,0]]})");
  WriteFile(dir / "deep.json", R"({"type":"LineString","coordinates":[[0,0],)" + std::string(5000, '[') +
                                   std::string(5000, ']') + "]}");
  const std::string T = Q(town), D = Q(dir.Path());
  struct Row {
    const char* what;
    std::string args;
    const char* message;
  };
  const Row rows[] = {
      {"missing file", "info " + Q(dir / "none.lsl"), "cannot open"},
      {"not a library", "dump " + Q(dir / "text.lsl"), "is not a line-style library"},
      {"unknown version", "info " + Q(dir / "version.lsl"), "unknown library version 12345"},
      {"corrupt file", "sheet " + Q(dir / "cut.lsl") + " -o OUT.png", "corrupt library"},
      {"unknown style ID", "draw " + T + " --style 99 --points '0,0 1,1' -o OUT.png", "unknown style ID 99"},
      {"GeoJSON not JSON", "draw --default --style 8 --geojson " + Q(dir / "bad.json") + " -o OUT.svg",
       "bad GeoJSON: not valid JSON"},
      {"GeoJSON without lines", "draw --default --style 8 --geojson " + Q(dir / "point.json") + " -o OUT.png",
       "bad GeoJSON: no line"},
      {"GeoJSON bad position", "trace --default --style 8 --geojson " + Q(dir / "shape.json"),
       "bad GeoJSON: a position"},
      {"GeoJSON unknown type", "draw --default --style 8 --geojson " + Q(dir / "kind.json") + " -o OUT.pdf",
       "unknown geometry type"},
      {"GeoJSON nested without end", "trace --default --style 8 --geojson " + Q(dir / "deep.json"),
       "bad GeoJSON: a position"},  // reported, not followed down
      {"failure after the output was opened",
       "draw --default --style 8 --geojson " + Q(dir / "huge.json") + " -o OUT.pdf",
       "coordinates out of range"},  // the half-made PDF goes too
      {"GeoJSON missing", "draw --default --style 8 --geojson " + Q(dir / "no.json") + " -o OUT.png",
       "cannot open"},
      {"unwritable output", "sheet -o " + Q(dir / "no" / "s.png"), "cannot write"},
      {"output is a folder", "new-default " + D, "is a folder"},
      {"unwritable convert", "convert " + T + " " + Q(dir / "no" / "x.lsl"), "cannot write"},
      {"no command", "", "no command given"},
      {"unknown command", "paint", "unknown command 'paint'"},
      {"unknown option", "info --default --verbose", "unknown option --verbose"},
      {"missing -o", "sheet --default", "option -o is required"},
      {"option without value", "sheet --default -o", "option -o needs a value"},
      {"option twice", "draw --default --style 8 --style 9 --points '0,0 1,1' -o OUT.png", "given twice"},
      {"bad extension", "sheet -o " + Q(dir / "s.gif"), "use .png, .svg or .pdf"},
      {"bad size", "draw --default --style 8 --points '0,0 1,1' --size 10 -o OUT.png", "--size"},
      {"bad colour", "draw --default --style 8 --points '0,0 1,1' --color red -o OUT.png", "--color"},
      {"bad ratio", "trace --default --style 8 --points '0,0 1,1' --ratio 0", "--ratio"},
      {"bad points", "trace --default --style 8 --points '0,0 x'", "bad --points"},
      {"one point", "trace --default --style 8 --points '0,0'", "at least two points"},
      {"both geometries", "trace --default --style 8 --points '0,0 1,1' --geojson a.json",
       "either --geojson or --points"},
      {"no library", "info", "a library file (or --default) is required"},
      {"convert without output", "convert " + T, "an output file is required"},
      {"new-default without output", "new-default", "an output file is required"},
      {"bad version", "convert --default " + Q(dir / "x.lsl") + " --version 2", "--version"},
      {"extra argument", "info " + T + " more", "unexpected argument 'more'"},
      {"too many columns", "sheet --columns 40 -o OUT.png", "--columns"},
  };
  const std::vector<std::string> before = dir.Files();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::string args = r.args;
    const size_t at = args.find("OUT.");
    if (at != std::string::npos) args.replace(at, 3, (dir / "out").string());
    const Result res = Lsl(args);
    EXPECT_EQ(res.status, 1);
    EXPECT_EQ(res.out, "");
    ASSERT_FALSE(res.err.empty());
    EXPECT_EQ(res.err.rfind("lsl: ", 0), 0u) << res.err;
    EXPECT_EQ(res.err.find('\n'), res.err.size() - 1) << res.err;  // exactly one line
    EXPECT_NE(res.err.find(r.message), std::string::npos) << res.err;
    EXPECT_EQ(dir.Files(), before);  // no output, no temporary file
  }
}

TEST(LslErrors, FailedConvertKeepsTheOldFile) {
  TempDir dir;
  WriteFile(dir / "old.lsl", "previous content");
  const Result res = Lsl("convert " + Q(dir / "missing.lsl") + " " + Q(dir / "old.lsl"));
  EXPECT_EQ(res.status, 1);
  EXPECT_EQ(ReadFile(dir / "old.lsl"), "previous content");
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"old.lsl"});
}

// --- the pure parts ---

TEST(LslMapFit, KeepsAspectCentresAndPointsUp) {
  struct Row {
    const char* what;
    std::vector<LslMapPoint> line;
    SIZE device;
    long margin;
    std::vector<POINT> out;
  };
  const Row rows[] = {
      {"wide box fills the width", {{0, 0}, {10, 5}}, {120, 120}, 10, {{10, 35}, {110, 85}}},
      {"tall box fills the height", {{0, 0}, {5, 10}}, {120, 120}, 10, {{35, 10}, {85, 110}}},
      {"y grows upward", {{0, 10}, {0, 0}}, {100, 100}, 0, {{50, 100}, {50, 0}}},
      {"map offsets vanish", {{1000, 2000}, {1010, 2000}}, {100, 60}, 10, {{10, 30}, {90, 30}}},
      {"a single point is centred", {{3, 3}, {3, 3}}, {100, 60}, 10, {{50, 30}}},  // duplicates dropped
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const std::vector<LslMapShape> shapes{LslMapShape{false, {r.line}}};
    const LslDeviceShape fitted = CLslMapFit(shapes, r.device, r.margin).Apply(shapes.front());
    ASSERT_EQ(fitted.parts.size(), 1u);
    ASSERT_EQ(fitted.parts[0].size(), r.out.size());
    for (size_t i = 0; i < r.out.size(); ++i) {
      EXPECT_EQ(fitted.parts[0][i].x, r.out[i].x) << i;
      EXPECT_EQ(fitted.parts[0][i].y, r.out[i].y) << i;
    }
  }
}

TEST(LslPointList, PairsSeparatedBySpace) {
  struct Row {
    const char* what;
    const char* text;
    size_t count;
    bool ok;
  };
  const Row rows[] = {
      {"two points", "0,0 100,0", 2, true},
      {"negatives and decimals", "-1.5,2 3,-4e1  5,6", 3, true},  // runs of spaces are fine
      {"missing y", "0,0 1", 0, false},
      {"letters", "0,0 a,b", 0, false},
      {"one point", "0,0", 0, false},
      {"trailing comma text", "0,0 1,1x", 0, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    if (r.ok)
      EXPECT_EQ(CLslPointList::Parse(r.text).size(), r.count);
    else
      EXPECT_THROW(CLslPointList::Parse(r.text), CLslError);
  }
}

TEST(LslGeoJson, GeometriesBecomeShapes) {
  struct Row {
    const char* what;
    const char* text;
    std::vector<std::pair<bool, size_t>> shapes;
  };
  const Row rows[] = {
      {"collection of every kind",
       kRoadsGeoJson,
       {{false, 1}, {false, 2}, {true, 1}}},  // point and null skipped
      {"feature",
       R"({"type":"Feature","geometry":{"type":"LineString","coordinates":[[0,0],[1,1]]}})",
       {{false, 1}}},
      {"polygon with a hole",
       R"({"type":"Polygon","coordinates":[[[0,0],[9,0],[9,9],[0,0]],[[1,1],[2,1],[2,2],[1,1]]]})",
       {{true, 2}}},
      {"multipolygon: one shape each",
       R"({"type":"MultiPolygon","coordinates":[[[[0,0],[1,0],[1,1]]],[[[2,2],[3,2],[3,3]]]]})",
       {{true, 1}, {true, 1}}},
      {"geometry collection",
       R"({"type":"GeometryCollection","geometries":[{"type":"LineString","coordinates":[[0,0],[1,0]]}]})",
       {{false, 1}}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const std::vector<LslMapShape> shapes = CLslGeoJsonReader::ReadText(r.text);
    ASSERT_EQ(shapes.size(), r.shapes.size());
    for (size_t i = 0; i < shapes.size(); ++i) {
      EXPECT_EQ(shapes[i].polygon, r.shapes[i].first);
      EXPECT_EQ(shapes[i].parts.size(), r.shapes[i].second);
    }
  }
}

TEST(LslGeoJson, OpenRingsAreClosed) {
  const auto shapes =
      CLslGeoJsonReader::ReadText(R"({"type":"Polygon","coordinates":[[[0,0],[4,0],[4,4]]]})");
  ASSERT_EQ(shapes.size(), 1u);
  const auto& ring = shapes[0].parts[0];
  ASSERT_EQ(ring.size(), 4u);
  EXPECT_EQ(ring.back().x, 0);
  EXPECT_EQ(ring.back().y, 0);
}

}  // namespace
