#pragma once
// Reads a painted page back as a musician reads it: per staff (each half of a grand staff
// apart), per measure between its bar lines, the notes and rests drawn there with the
// values their glyphs show. A filled head's value comes from its flag or from the beams
// that reach its stem, a dot from the head's " ." suffix; a "3" with its two bracket lines
// marks the items under it as triplets. Only what was drawn is read: the staves are found
// by their five lines in drawing order, the bar lines from the page's staff bands.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "notecraft/core/region.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/musicfontmetrics.h"
#include "notecraft/view/recordingsurface.h"

namespace notecraft::testing {

// One symbol drawn in a measure.
struct DrawnSymbol {
  bool Rest = false;
  int X = 0;      // left edge: of the rest, or of a chord's leftmost head
  int Right = 0;  // right edge of its glyphs
  int At = 0;     // the rest's x, or the x of the chord's stem side heads
  int Value = 0;  // 64ths the glyph shows (a measure rest: the measure's length)
  bool Dotted = false;
  bool Triplet = false;

  int Thirds() const {
    int thirds = 3 * Value;
    if (Dotted) thirds += thirds / 2;
    return Triplet ? thirds * 2 / 3 : thirds;
  }
};

struct DrawnBracket {
  int Left = 0;
  int Right = 0;
};

struct DrawnMeasure {
  int Left = 0;  // its bar lines
  int Right = 0;
  int Start = 0;                     // score time, from the band
  std::vector<DrawnSymbol> Symbols;  // left to right
  std::vector<DrawnBracket> Brackets;
};

struct DrawnStaff {
  int TopLine = 0;
  int Space = 0;  // line space
  std::vector<DrawnMeasure> Measures;
  std::vector<SurfaceOp> Ops;  // everything drawn for it, in order
};

class DrawnRhythm {
public:
  // The staves of the page last painted on surface, with bands the page's staff bands.
  DrawnRhythm(const RecordingSurface& surface, const std::vector<std::shared_ptr<Region>>& bands) {
    Split(surface.Ops());
    std::size_t next = 0;
    for (const auto& band : bands) {
      for (int half = 0; half < (band->Split() ? 2 : 1) && next < m_staves.size(); ++half)
        Read(m_staves[next++], *band);
    }
    m_staves.resize(next);
  }

  const std::vector<DrawnStaff>& Staves() const { return m_staves; }

  // The width of a music-font text as drawn (each glyph's advance rounded on its own, as
  // the recording surface measures); with head only, of its first glyph.
  static int Width(const SurfaceOp& op, bool head = false) {
    const int em = harmonygrid::EmTwips(op.Font);
    long total = 0;
    for (const char c : head ? op.Text.substr(0, 1) : op.Text)
      total += std::lround(static_cast<double>(musicfont::Advance[static_cast<unsigned char>(c)]) *
                           em / musicfont::UnitsPerEm);
    return static_cast<int>(total);
  }

  static int RestValue(char glyph) {
    switch (glyph) {
      case glyph::WholeRest:
        return 64;
      case glyph::HalfRest:
        return 32;
      case glyph::QuarterRest:
        return 16;
      case glyph::EighthRest:
        return 8;
      case glyph::SixteenthRest:
        return 4;
      case glyph::ThirtySecondRest:
        return 2;
      default:
        return 0;
    }
  }

private:
  static bool Music(const SurfaceOp& op) {
    return op.What == SurfaceOp::Kind::Text && op.Font.Name == "Veltrimond" && !op.Text.empty();
  }
  static bool Horizontal(const SurfaceOp& op) {
    return op.What == SurfaceOp::Kind::Line && op.Points.size() == 2 &&
           op.Points[0].Y == op.Points[1].Y;
  }

  // Cuts the page's operations at every staff: five horizontal lines of one length, evenly
  // spaced, begin one.
  void Split(const std::vector<SurfaceOp>& ops) {
    for (std::size_t i = 0; i < ops.size(); ++i) {
      if (i + 4 < ops.size() && StaffLines(ops, i)) {
        DrawnStaff staff;
        staff.TopLine = ops[i].Points[0].Y;
        staff.Space = ops[i + 1].Points[0].Y - staff.TopLine;
        m_staves.push_back(staff);
        i += 4;
        continue;
      }
      if (!m_staves.empty()) m_staves.back().Ops.push_back(ops[i]);
    }
  }
  static bool StaffLines(const std::vector<SurfaceOp>& ops, std::size_t i) {
    if (!Horizontal(ops[i]) || !Horizontal(ops[i + 1])) return false;
    const int step = ops[i + 1].Points[0].Y - ops[i].Points[0].Y;
    if (step <= 0) return false;
    for (std::size_t k = i; k < i + 5; ++k) {
      if (!Horizontal(ops[k]) || ops[k].Points[0].X != ops[i].Points[0].X ||
          ops[k].Points[1].X != ops[i].Points[1].X ||
          ops[k].Points[0].Y != ops[i].Points[0].Y + static_cast<int>(k - i) * step)
        return false;
    }
    return true;
  }

  void Read(DrawnStaff& staff, const Region& band) {
    int x = band.Left();
    for (int i = 0; i < band.Measures(); ++i) {
      DrawnMeasure m;
      m.Left = x;
      m.Right = i == band.Measures() - 1 ? band.Right() : x + band.Measure(i)->Low();
      m.Start = band.Measure(i)->High();
      x = m.Right;
      staff.Measures.push_back(m);
    }
    const int s = staff.Space;
    std::vector<Head> heads;
    std::vector<const SurfaceOp*> flags, beams, brackets, digits, stems;
    for (const SurfaceOp& op : staff.Ops) {
      if (Music(op)) {
        const char g = op.Text[0];
        const int width = Width(op, true);
        if (g == glyph::FilledHead || g == glyph::HalfHead || g == glyph::WholeNote ||
            g == glyph::PercussionHead) {
          heads.push_back({op.Points[0].X, op.Points[0].X + width, op.Text});
        } else if (op.Text.size() == 1 && RestValue(g) > 0) {
          DrawnMeasure* m = MeasureAt(staff, op.Points[0].X);
          if (m)
            m->Symbols.push_back(
                {true, op.Points[0].X, op.Points[0].X + width, op.Points[0].X, RestValue(g)});
        } else if (std::string("jJkKrR").find(g) != std::string::npos) {
          flags.push_back(&op);
        } else if (g == glyph::StemUp || g == glyph::StemDown) {
          stems.push_back(&op);
        }
      } else if (op.What == SurfaceOp::Kind::Polygon) {
        beams.push_back(&op);
      } else if (op.What == SurfaceOp::Kind::Text && op.Text == "3") {
        digits.push_back(&op);
      } else if (Horizontal(op)) {
        brackets.push_back(&op);
      }
    }
    // Heads gathered into chords: a head within a line space of a chord's first stands in
    // it (a second's head beside the stem).
    std::sort(heads.begin(), heads.end(), [](const Head& a, const Head& b) { return a.X < b.X; });
    for (std::size_t k = 0; k < heads.size();) {
      std::size_t end = k + 1;
      while (end < heads.size() && heads[end].X <= heads[k].X + s + 30) ++end;
      DrawnSymbol note;
      note.X = heads[k].X;
      note.At = heads[k].X;
      for (std::size_t j = k; j < end; ++j) note.Right = std::max(note.Right, heads[j].Right);
      const std::string& head = heads[k].Text;
      note.Dotted = head.size() > 1 && head.substr(1) == glyph::DotSuffix;
      note.Value = head[0] == glyph::WholeNote ? 64 : head[0] == glyph::HalfHead ? 32 : 16;
      // The stem stands at the x of the heads on its own side.
      const SurfaceOp* stem = nullptr;
      for (const SurfaceOp* op : stems)
        for (std::size_t j = k; j < end && !stem; ++j)
          if (op->Points[0].X == heads[j].X) stem = op;
      if (stem) note.At = stem->Points[0].X;
      if (note.Value == 16 && stem)
        note.Value = FilledValue(note.At, stem->Text[0] == glyph::StemUp, flags, beams, s);
      if (DrawnMeasure* m = MeasureAt(staff, note.X)) m->Symbols.push_back(note);
      k = end;
    }
    // A "3" between two bracket lines a line space below it.
    for (const SurfaceOp* digit : digits) {
      const int y = digit->Points[0].Y + s;
      const SurfaceOp* left = nullptr;
      const SurfaceOp* right = nullptr;
      for (const SurfaceOp* line : brackets) {
        if (std::abs(line->Points[0].Y - y) > 15) continue;
        if (line->Points[1].X <= digit->Points[0].X &&
            (!left || line->Points[1].X > left->Points[1].X))
          left = line;
        if (line->Points[0].X > digit->Points[0].X &&
            (!right || line->Points[0].X < right->Points[0].X))
          right = line;
      }
      if (!left || !right) continue;
      DrawnBracket bracket{left->Points[0].X, right->Points[1].X};
      if (DrawnMeasure* m = MeasureAt(staff, bracket.Left)) m->Brackets.push_back(bracket);
    }
    for (DrawnMeasure& m : staff.Measures) {
      std::sort(m.Symbols.begin(), m.Symbols.end(),
                [](const DrawnSymbol& a, const DrawnSymbol& b) { return a.X < b.X; });
      // The bracket starts a pixel right of its first item and ends a line space and a pixel
      // right of its last.
      for (const DrawnBracket& b : m.Brackets)
        for (DrawnSymbol& symbol : m.Symbols)
          if (symbol.At >= b.Left - 30 && symbol.At <= b.Right - s) symbol.Triplet = true;
    }
  }

  // A filled head's value: a flag at its stem, or as many beams as reach its stem (an up
  // stem stands at the head's right edge, where its beams start).
  static int FilledValue(int stem, bool up, const std::vector<const SurfaceOp*>& flags,
                         const std::vector<const SurfaceOp*>& beams, int s) {
    for (const SurfaceOp* flag : flags) {
      if (flag->Points[0].X != stem) continue;
      const char g = flag->Text[0];
      return g == 'j' || g == 'J' ? 8 : g == 'k' || g == 'K' ? 4 : 2;
    }
    const int x = up ? stem + s + 22 : stem;
    int levels = 0;
    for (const SurfaceOp* beam : beams) {
      int lo = beam->Points[0].X, hi = lo;
      for (const SurfacePoint& p : beam->Points) {
        lo = std::min(lo, p.X);
        hi = std::max(hi, p.X);
      }
      if (lo <= x + 15 && x <= hi + 15) ++levels;
    }
    return levels == 0 ? 16 : 16 >> std::min(levels, 3);
  }

  static DrawnMeasure* MeasureAt(DrawnStaff& staff, int x) {
    for (DrawnMeasure& m : staff.Measures)
      if (x >= m.Left && x < m.Right) return &m;
    return nullptr;
  }

  struct Head {
    int X = 0;
    int Right = 0;
    std::string Text;
  };

  std::vector<DrawnStaff> m_staves;
};

}  // namespace notecraft::testing
