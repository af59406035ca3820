#include "apps/lsl/CLslHelp.h"

#include <cstring>

namespace {

const char kOverview[] =
    "usage: lsl COMMAND [ARGUMENTS]\n"
    "\n"
    "Line-style libraries (.lsl files) on the command line: look inside them,\n"
    "convert them, and draw with their styles into PNG, SVG or PDF.\n"
    "\n"
    "commands:\n"
    "  sheet        a sample sheet of every style of a library\n"
    "  draw         draw GeoJSON or a list of points with one style\n"
    "  trace        print the device calls of such a drawing, one per line\n"
    "  info         version, name, style count, groups and symbols of a library\n"
    "  dump         the whole library as JSON\n"
    "  convert      save a library in another file version\n"
    "  new-default  save the built-in default library\n"
    "\n"
    "FILE is an .lsl file; --default stands for the built-in default library.\n"
    "Errors are one line on standard error and exit status 1.\n"
    "Run 'lsl COMMAND --help' for the arguments of a command.\n";

const char kSheet[] =
    "usage: lsl sheet [FILE | --default] -o OUT.png|.svg|.pdf [--columns N] [--scale R] [--no-aa]\n"
    "\n"
    "A sample sheet of every style: each group of the group tree as a heading\n"
    "(depth-first), its styles in cells with ID, name and a sample line drawn\n"
    "through the engine; styles filed in no group come last. Without FILE the\n"
    "built-in default library is drawn.\n"
    "\n"
    "  -o OUT          the output; .png, .svg or .pdf\n"
    "  --columns N     cells per row (1 to 12, default 3)\n"
    "  --scale R       size of everything, the styles included (0.25 to 8, default 1)\n"
    "  --no-aa         draw without anti-aliasing\n"
    "\n"
    "example: lsl sheet --default -o out/default-sheet.png\n";

const char kDraw[] =
    "usage: lsl draw (FILE | --default) --style ID (--geojson GEO.json | --points \"x,y x,y ...\")\n"
    "                -o OUT.png|.svg|.pdf [--size WxH] [--width W] [--color RRGGBB]\n"
    "                [--ratio R] [--no-aa]\n"
    "\n"
    "Draws the lines and polygons of a GeoJSON file (LineString, MultiLineString,\n"
    "Polygon, MultiPolygon, alone or in a Feature or FeatureCollection), or one\n"
    "line through the given points, with one style. The geometry is fitted into\n"
    "the image with a margin, its aspect ratio kept and y pointing up as on a map.\n"
    "Polygons are filled with a light tint of the style's colour.\n"
    "\n"
    "  --style ID      the style to draw with\n"
    "  --size WxH      image size in pixels (default 800x600)\n"
    "  --width W       width of every sub-line that follows the style's width\n"
    "  --color RRGGBB  colour of every sub-line that is not colour-locked\n"
    "  --ratio R       multiplies the style's lengths and widths (default 1)\n"
    "  --no-aa         draw without anti-aliasing\n"
    "\n"
    "example: lsl draw --default --style 12 --geojson docs/samples/roads.geojson -o roads.png\n";

const char kTrace[] =
    "usage: lsl trace (FILE | --default) --style ID (--geojson GEO.json | --points \"x,y x,y ...\")\n"
    "                 [--size WxH] [--width W] [--color RRGGBB] [--ratio R] [--no-aa]\n"
    "\n"
    "Draws as 'lsl draw' does, on a recording device, and prints each device\n"
    "call as one line (see docs/trace-format.md). With --points the points are\n"
    "device coordinates, used unchanged (mapping mode 1, one unit per pixel, y\n"
    "down), so that a trace can be checked by hand; GeoJSON is fitted into\n"
    "--size as for 'lsl draw'.\n"
    "\n"
    "example: lsl trace --default --style 8 --points \"0,0 100,0\" --no-aa\n";

const char kInfo[] =
    "usage: lsl info (FILE | --default)\n"
    "\n"
    "Prints the version word of the file, the library's name, the number of\n"
    "styles, the group tree with the number of styles each group files, and\n"
    "the IDs of the library's symbols.\n"
    "\n"
    "example: lsl info roads.lsl\n";

const char kDump[] =
    "usage: lsl dump (FILE | --default) [--json]\n"
    "\n"
    "Prints the whole library as JSON (the only format; see docs/dump-format.md):\n"
    "version word, name, group tree, symbol IDs and every style with its\n"
    "extended attributes and sub-lines.\n"
    "\n"
    "example: lsl dump roads.lsl --json > roads.json\n";

const char kConvert[] =
    "usage: lsl convert (IN | --default) OUT [--version 20031017|20010614|65537]\n"
    "\n"
    "Reads a library of any version and saves it in the given one: 20031017\n"
    "(the current format, default), 20010614 (no symbol library) or 65537 (the\n"
    "oldest format: no groups, no symbols, no extended attributes beyond what\n"
    "its packed form can express).\n"
    "\n"
    "example: lsl convert old.lsl new.lsl\n";

const char kNewDefault[] =
    "usage: lsl new-default OUT\n"
    "\n"
    "Saves the built-in default library in the current format.\n"
    "\n"
    "example: lsl new-default Line.lsl\n";

}  // namespace

const char* CLslHelp::Overview() { return kOverview; }

const char* CLslHelp::Command(const std::string& name) {
  if (name == "sheet") return kSheet;
  if (name == "draw") return kDraw;
  if (name == "trace") return kTrace;
  if (name == "info") return kInfo;
  if (name == "dump") return kDump;
  if (name == "convert") return kConvert;
  if (name == "new-default") return kNewDefault;
  return nullptr;
}
