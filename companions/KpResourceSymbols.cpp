#include "companions/KpResourceSymbols.h"

#include <cmath>
#include <initializer_list>
#include <memory>
#include <utility>

// Every symbol is drawn in the 128-unit design box centred on the anchor (x
// right, y up), kept within about +-62 so strokes stay inside the box.
// Outlines use strokes of 8 units (1/16 of the box): a pixel or more from 16
// pixels up, a hairline below. Shapes with corners use sharp (mitred) corners;
// free strokes keep round ends.

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr long kStroke = 8;
constexpr long kSharp = CKpSymbol::kFlagSharpCorners;

struct Pt {
  double x;
  double y;
};

LONG Round(double v) { return static_cast<LONG>(std::lround(v)); }

Pt Polar(Pt c, double r, double degrees) {
  const double a = degrees * kPi / 180.0;
  return Pt{c.x + r * std::cos(a), c.y + r * std::sin(a)};
}

// Builds one symbol element by element.
class Sketch {
 public:
  Sketch(long id, const char* name) : m_symbol(std::make_unique<CKpSymbol>()) {
    m_symbol->m_nID = id;
    m_symbol->m_strName = name;
  }

  Sketch& Line(std::initializer_list<Pt> pts, long width = kStroke, long flags = 0) {
    return Add(CKpSymbol::kPolyline, width, flags, std::vector<Pt>(pts));
  }
  Sketch& Outline(std::initializer_list<Pt> pts, long width = kStroke, long flags = kSharp) {
    return Add(CKpSymbol::kPolygon, width, flags, std::vector<Pt>(pts));
  }
  Sketch& Fill(std::initializer_list<Pt> pts, long width = 0, long flags = kSharp) {
    return Add(CKpSymbol::kFilledPolygon, width, flags, std::vector<Pt>(pts));
  }
  Sketch& Fill(std::vector<Pt> pts, long width = 0, long flags = kSharp) {
    return Add(CKpSymbol::kFilledPolygon, width, flags, std::move(pts));
  }
  Sketch& Circle(Pt c, double r, long width = kStroke) {
    return Add(CKpSymbol::kEllipse, width, 0, {c, Pt{r, r}});
  }
  Sketch& Disc(Pt c, double r) { return Add(CKpSymbol::kFilledEllipse, 0, 0, {c, Pt{r, r}}); }
  // Counter-clockwise from `start` over `sweep`, both in degrees.
  Sketch& Arc(Pt c, double r, double start, double sweep, long width = kStroke) {
    return Add(CKpSymbol::kArc, width, 0, {c, Pt{r, r}, Pt{start * 10, sweep * 10}});
  }
  // A filled rectangle centred on c, `length` along the direction `degrees`, `thickness` across it.
  Sketch& Block(Pt c, double degrees, double length, double thickness) {
    const double a = degrees * kPi / 180.0;
    const Pt u{std::cos(a) * length / 2, std::sin(a) * length / 2};
    const Pt v{-std::sin(a) * thickness / 2, std::cos(a) * thickness / 2};
    return Fill({Pt{c.x + u.x + v.x, c.y + u.y + v.y}, Pt{c.x - u.x + v.x, c.y - u.y + v.y},
                 Pt{c.x - u.x - v.x, c.y - u.y - v.y}, Pt{c.x + u.x - v.x, c.y + u.y - v.y}});
  }

  std::unique_ptr<CKpSymbol> Take() { return std::move(m_symbol); }

 private:
  Sketch& Add(long kind, long width, long flags, std::vector<Pt> pts) {
    CKpSymbol::Element e;
    e.kind = kind;
    e.width = width;
    e.flags = flags;
    for (const Pt& p : pts) e.points.push_back(POINT{Round(p.x), Round(p.y)});
    m_symbol->AddElement(e);  // the shapes here are all well formed
    return *this;
  }

  std::unique_ptr<CKpSymbol> m_symbol;
};

std::vector<Pt> Star(Pt c, double outer, double inner, int spikes) {
  std::vector<Pt> pts;
  for (int i = 0; i < 2 * spikes; ++i)
    pts.push_back(Polar(c, i % 2 == 0 ? outer : inner, 90.0 + 180.0 * i / spikes));
  return pts;
}

// A rotor blade from the hub out to `length` in direction `degrees`: broad
// near the hub on its leading side, narrowing to a point.
std::vector<Pt> Blade(Pt hub, double degrees, double length) {
  const Pt root = Polar(hub, 8, degrees);
  const Pt chord = Polar(hub, 22, degrees);
  return {Polar(root, 6, degrees + 90), Polar(chord, 7, degrees + 90), Polar(hub, length, degrees),
          Polar(root, 3, degrees - 90)};
}

// An anchor fluke: a barb at the end of the anchor's arm (at `degrees` on the
// arm circle) pointing on along the arm, away from the shank.
std::vector<Pt> Fluke(Pt c, double r, double degrees, bool clockwiseEnd) {
  const Pt end = Polar(c, r, degrees);
  const double along = clockwiseEnd ? degrees - 90 : degrees + 90;  // the arm's direction past its end
  return {Polar(end, 22, along), Polar(end, 11, degrees + 180), Polar(end, 11, degrees)};
}

std::vector<std::unique_ptr<CKpSymbol>> BuildAll() {
  std::vector<Sketch> s;
  long id = 10;
  auto next = [&](const char* name) -> Sketch& {
    s.emplace_back(id++, name);
    return s.back();
  };

  // --- geometric marks ---
  next("Circle").Circle({0, 0}, 52);
  next("Filled circle").Disc({0, 0}, 56);
  next("Square").Outline({{-48, -48}, {48, -48}, {48, 48}, {-48, 48}});
  next("Filled square").Fill({{-52, -52}, {52, -52}, {52, 52}, {-52, 52}});
  next("Triangle").Outline({{0, 54}, {-54, -40}, {54, -40}});
  next("Filled triangle").Fill({{0, 58}, {-58, -42}, {58, -42}});
  next("Diamond").Outline({{0, 58}, {42, 0}, {0, -58}, {-42, 0}});
  next("Filled diamond").Fill({{0, 62}, {46, 0}, {0, -62}, {-46, 0}});
  next("Star").Fill(Star({0, -6}, 64, 26, 5));
  next("Cross").Line({{-44, -44}, {44, 44}}, 14).Line({{-44, 44}, {44, -44}}, 14);
  next("Plus").Line({{-54, 0}, {54, 0}}, 14).Line({{0, -54}, {0, 54}}, 14);
  next("Small dot").Disc({0, 0}, 22);

  // --- marks with a direction (along design +x) ---
  next("Arrowhead").Fill({{56, 0}, {-54, 42}, {-28, 0}, {-54, -42}});
  next("Open arrow").Line({{-26, 50}, {26, 0}, {-26, -50}}, 12, kSharp);
  next("Bar across").Fill({{-8, -60}, {8, -60}, {8, 60}, {-8, 60}});
  next("Tick, left side").Line({{0, 0}, {0, 56}}, 10, kSharp);
  next("Half ring, left side").Arc({0, -16}, 46, 0, 180, 10);

  // --- vegetation ---
  next("Conifer")
      .Fill({{0, 62}, {-26, 26}, {-13, 26}, {-38, -8}, {-19, -8}, {-48, -42}, {48, -42}, {19, -8},
             {38, -8}, {13, 26}, {26, 26}})
      .Fill({{-8, -42}, {8, -42}, {8, -62}, {-8, -62}});
  next("Deciduous tree")
      .Disc({0, 30}, 28)
      .Disc({-24, 10}, 24)
      .Disc({24, 10}, 24)
      .Disc({0, 4}, 22)
      .Fill({{-7, -62}, {7, -62}, {5, -4}, {-5, -4}});

  // --- structures ---
  next("Flag")
      .Line({{-36, -62}, {-36, 62}}, kStroke, kSharp)
      .Fill({{-36, 62}, {48, 62}, {34, 38}, {48, 14}, {-36, 14}});
  next("Power pylon")
      .Line({{-34, -62}, {-10, 46}, {0, 60}, {10, 46}, {34, -62}}, 7, kSharp)
      .Line({{-52, 32}, {52, 32}}, 7)
      .Line({{-42, 8}, {42, 8}}, 7)
      .Line({{-33, -58}, {25, -24}, {-25, -24}, {33, -58}}, 5)
      .Line({{-25, -24}, {19, 6}, {-19, 6}, {25, -24}}, 5)
      .Line({{-52, 32}, {-52, 22}}, 5)
      .Line({{52, 32}, {52, 22}}, 5)
      .Line({{-42, 8}, {-42, -2}}, 5)
      .Line({{42, 8}, {42, -2}}, 5);
  next("House")
      .Outline({{-42, -56}, {42, -56}, {42, 8}, {0, 50}, {-42, 8}})
      .Line({{-12, -56}, {-12, -18}, {12, -18}, {12, -56}}, kStroke, kSharp);
  next("Church")
      .Circle({0, -32}, 28)
      .Line({{0, -4}, {0, 62}}, 10, kSharp)
      .Line({{-20, 40}, {20, 40}}, 10, kSharp);
  next("Well or spring").Circle({0, 0}, 46).Disc({0, 0}, 17);
  next("Mine")
      .Line({{-44, -52}, {32, 24}}, 10)
      .Line({{44, -52}, {-32, 24}}, 10)
      .Block({32, 24}, -45, 62, 20)
      .Block({-32, 24}, 45, 62, 20);
  next("Wind turbine")
      .Fill({{-7, -62}, {7, -62}, {3, 10}, {-3, 10}})
      .Fill(Blade({0, 10}, 90, 54))
      .Fill(Blade({0, 10}, 210, 54))
      .Fill(Blade({0, 10}, 330, 54))
      .Disc({0, 10}, 8);
  next("Anchor")
      .Circle({0, 50}, 9, 7)
      .Line({{0, 41}, {0, -52}}, kStroke)
      .Line({{-24, 26}, {24, 26}}, kStroke)
      .Arc({0, -6}, 46, 205, 130)
      .Fill(Fluke({0, -6}, 46, 205, true))
      .Fill(Fluke({0, -6}, 46, 335, false));
  next("Lighthouse")
      .Line({{-40, -58}, {40, -58}}, kStroke, kSharp)
      .Fill({{-22, -58}, {22, -58}, {12, 16}, {-12, 16}})
      .Outline({{-10, 16}, {10, 16}, {10, 32}, {-10, 32}}, 6)
      .Fill({{-16, 32}, {16, 32}, {0, 48}})
      .Line({{18, 28}, {50, 40}}, 6)
      .Line({{18, 20}, {50, 8}}, 6)
      .Line({{-18, 28}, {-50, 40}}, 6)
      .Line({{-18, 20}, {-50, 8}}, 6);
  next("Tent")
      .Outline({{-56, -48}, {56, -48}, {0, 48}})
      .Line({{0, 48}, {8, 62}}, kStroke)
      .Line({{0, 48}, {-8, 62}}, kStroke)
      .Fill({{-16, -48}, {16, -48}, {0, -10}});
  next("Mountain peak").Fill({{-62, -44}, {-24, 22}, {-8, 0}, {18, 44}, {62, -44}});
  next("Triangulation point").Outline({{0, 54}, {-54, -40}, {54, -40}}).Disc({0, -9}, 10);

  std::vector<std::unique_ptr<CKpSymbol>> out;
  for (Sketch& sketch : s) out.push_back(sketch.Take());
  return out;
}

}  // namespace

namespace kp {

void LoadResourceSymbols(CKpSymLib& lib) {
  lib.NewSymLib();
  for (auto& symbol : BuildAll())
    if (lib.AddSymbol(symbol.get())) symbol.release();  // the library owns it now
}

const CKpSymLib& ResourceSymbols() {
  static const CKpSymLib lib = [] {
    CKpSymLib built;
    LoadResourceSymbols(built);
    return built;
  }();
  return lib;
}

}  // namespace kp
