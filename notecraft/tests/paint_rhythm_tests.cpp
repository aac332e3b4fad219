// Pages of played MIDI files as a musician reads them (drawn_rhythm.h): every measure's drawn
// values add up to its time signature, triplets stand under a "3" inside their measure,
// rests show the beat, every note and rest has a place of its own, a chord's accidentals
// stand in columns beside it, and the rests of two voices keep off each other's notes.
// The files are made by data/midi/make_rhythm_fixtures.py.
#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "drawn_rhythm.h"
#include "layout_fixtures.h"
#include "midi_fixtures.h"
#include "notecraft/core/common.h"
#include "notecraft/core/note.h"

namespace notecraft {
namespace {

using namespace testing;

class PaintedRhythm : public LayoutFixture {
public:
  void Open(const std::string& file) {
    ASSERT_TRUE(score.OpenFile(kMidiData + "/" + file));
    Attach();
    PaginateAll();
  }
  DrawnRhythm Show(int page) {
    surface.ClearRecord();
    score.SetCurPage(page);
    if (surface.Ops().empty()) score.PaintWindow();  // the page shown already
    return DrawnRhythm(surface, score.Bands(Internal{}));
  }
  int LengthAt(int time) {
    int number = 0, length = 0;
    score.AllGlobals().MeasureInfo(time, number, length);
    return length;
  }
  // What a measure's symbols add up to, in thirds of a 64th; a lone whole rest (a half rest
  // in a measure of 32) is the measure's rest.
  static int Thirds(const DrawnMeasure& m, int length) {
    if (m.Symbols.size() == 1 && m.Symbols[0].Rest &&
        m.Symbols[0].Value == (length == 32 ? 32 : 64))
      return 3 * length;
    int thirds = 0;
    for (const DrawnSymbol& symbol : m.Symbols) thirds += symbol.Thirds();
    return thirds;
  }
  static std::string Print(const DrawnMeasure& m) {
    std::ostringstream out;
    for (const DrawnSymbol& symbol : m.Symbols) {
      if (out.tellp() > 0) out << ' ';
      out << (symbol.Rest ? "r" : "") << symbol.Value << (symbol.Dotted ? "." : "")
          << (symbol.Triplet ? "t" : "");
    }
    return out.str();
  }
};

const char* const kFixtures[] = {"triplets_in_four.mid", "triplets_in_three.mid",
                                 "offbeat_rests.mid", "chord_accidentals.mid", "drum_hits.mid"};

TEST_F(PaintedRhythm, EveryMeasureAddsUpToItsTimeSignature) {
  for (const char* file : kFixtures) {
    SCOPED_TRACE(file);
    Open(file);
    for (int page = 1; page <= score.LastPage(); ++page) {
      const DrawnRhythm drawn = Show(page);
      ASSERT_FALSE(drawn.Staves().empty());
      for (const DrawnStaff& staff : drawn.Staves()) {
        for (const DrawnMeasure& m : staff.Measures) {
          SCOPED_TRACE("measure at " + std::to_string(m.Start) + ": " + Print(m));
          EXPECT_EQ(Thirds(m, LengthAt(m.Start)), 3 * LengthAt(m.Start));
          // A triplet group never reaches across a bar line.
          for (const DrawnBracket& b : m.Brackets) {
            EXPECT_GT(b.Left, m.Left);
            EXPECT_LT(b.Right, m.Right);
          }
        }
      }
    }
  }
}

TEST_F(PaintedRhythm, EveryTripletNoteStandsUnderAThree) {
  for (const char* file : {"triplets_in_four.mid", "triplets_in_three.mid"}) {
    SCOPED_TRACE(file);
    Open(file);
    ASSERT_EQ(score.LastPage(), 1);
    const DrawnRhythm drawn = Show(1);
    int triplets = 0;
    // A note records its x before it is drawn at a whole pixel.
    for (const auto& note : score.Staff(1)->Voice(1)->Notes()) {
      if (!(note->Flags() & nteTriplet)) continue;
      ++triplets;
      bool under = false;
      for (const DrawnMeasure& m : drawn.Staves().front().Measures)
        for (const DrawnSymbol& symbol : m.Symbols)
          under = under || (std::abs(symbol.At - note->X()) < 15 && symbol.Triplet);
      EXPECT_TRUE(under) << "the note at " << note->NoteTime();
    }
    EXPECT_GE(triplets, 12);
  }
}

TEST_F(PaintedRhythm, RestsShowTheBeatAroundNotesOffIt) {
  Open("offbeat_rests.mid");
  const DrawnRhythm drawn = Show(1);
  std::vector<std::string> measures;  // one staff: a system each
  for (const DrawnStaff& staff : drawn.Staves())
    for (const DrawnMeasure& m : staff.Measures) measures.push_back(Print(m));
  const std::vector<std::string> expected = {
      // 4/4
      "8 r8 r16 r32",
      "r8 8 r16 r32",
      "32t r16t r32",  // a dotted quarter played short: imported as a triplet half
      "r32 r8 8 r16",
      // 3/4
      "r8 8 r16 r16",
      "r16 16 r16",
      // 6/8
      "r8 8 r8 r16 r8",
      "r16 r8 16 r8",
      // 2/2
      "r16 16 r32",
      "r32 r16 r8 8",
  };
  ASSERT_GE(measures.size(), expected.size());
  measures.resize(expected.size());  // what the system holds after the music is not asked here
  EXPECT_EQ(measures, expected);
}

TEST_F(PaintedRhythm, EveryNoteAndRestHasAPlaceOfItsOwn) {
  for (const char* file : kFixtures) {
    SCOPED_TRACE(file);
    Open(file);
    const DrawnRhythm drawn = Show(1);
    for (const DrawnStaff& staff : drawn.Staves()) {
      std::vector<DrawnSymbol> symbols;
      for (const DrawnMeasure& m : staff.Measures)
        symbols.insert(symbols.end(), m.Symbols.begin(), m.Symbols.end());
      for (std::size_t k = 1; k < symbols.size(); ++k)
        EXPECT_GE(symbols[k].X, symbols[k - 1].Right) << "symbol " << k << " at " << symbols[k].X;
    }
  }
  // Two measures of hi-hat sixteenths and their rests share a line.
  Open("drum_hits.mid");
  Show(1);
  EXPECT_EQ(score.Bands(Internal{}).front()->Measures(), 2);
}

// The signs of one chord, each with the box its glyph takes.
struct Sign {
  int X, Right, Y;
};

TEST_F(PaintedRhythm, AChordsAccidentalsStandInColumnsBesideItsHeads) {
  Open("chord_accidentals.mid");
  const DrawnRhythm drawn = Show(1);
  const DrawnStaff& staff = drawn.Staves().front();
  const int s = staff.Space;
  std::vector<DrawnSymbol> symbols;
  for (const DrawnMeasure& m : staff.Measures)
    symbols.insert(symbols.end(), m.Symbols.begin(), m.Symbols.end());
  // Each sign belongs to the chord right of it; the key signature, drawn before any head,
  // to none.
  std::vector<std::vector<Sign>> signs(symbols.size());
  bool heads = false;
  for (const SurfaceOp& op : staff.Ops) {
    if (op.What != SurfaceOp::Kind::Text || op.Font.Name != "Veltrimond") continue;
    heads = heads || op.Text[0] == glyph::FilledHead || op.Text[0] == glyph::HalfHead;
    if (!heads) continue;
    if (op.Text != "#" && op.Text != "b" && op.Text != "n" && op.Text != "bb") continue;
    const int width = DrawnRhythm::Width(op);
    const auto chord = std::find_if(symbols.begin(), symbols.end(),
                                    [&](const DrawnSymbol& d) { return d.X > op.Points[0].X; });
    ASSERT_NE(chord, symbols.end());
    signs[static_cast<std::size_t>(chord - symbols.begin())].push_back(
        {op.Points[0].X, op.Points[0].X + width, op.Points[0].Y});
  }
  int columns = 0;
  for (std::size_t k = 0; k < symbols.size(); ++k) {
    const std::vector<Sign>& chord = signs[k];
    if (chord.empty()) continue;
    SCOPED_TRACE("chord at " + std::to_string(symbols[k].X));
    const auto top = std::min_element(chord.begin(), chord.end(),
                                      [](const Sign& a, const Sign& b) { return a.Y < b.Y; });
    for (const Sign& sign : chord) {
      // Left of every head and stem of the chord, clear of what stands before it.
      EXPECT_LE(sign.Right, symbols[k].X);
      if (k > 0) {
        EXPECT_GE(sign.X, symbols[k - 1].Right);
      }
      // The highest sign is nearest the heads.
      EXPECT_LE(sign.Right, top->Right);
      // Signs less than a seventh apart stand in different columns.
      for (const Sign& other : chord) {
        if (&other == &sign || std::abs(other.Y - sign.Y) >= 3 * s) continue;
        EXPECT_TRUE(other.Right <= sign.X || sign.Right <= other.X)
            << "signs at " << sign.Y << " and " << other.Y;
      }
    }
    std::vector<int> xs;
    for (const Sign& sign : chord) xs.push_back(sign.X);
    std::sort(xs.begin(), xs.end());
    columns = std::max(columns, static_cast<int>(std::unique(xs.begin(), xs.end()) - xs.begin()));
  }
  EXPECT_GE(columns, 3);  // the third measure's first chord
}

// Two voices on one staff: the first has eighths and a quarter on beats 1 and 2 and rests
// after them, the second a rest note for the first half and notes around the middle line in
// the second.
TEST_F(PaintedRhythm, RestsOfTwoVoicesMoveOffTheOtherVoicesNotes) {
  AddVoice(First());
  Notes& upper = First().Voice(1)->Notes();
  upper.Add(0, 71, durEighth, 0);
  upper.Add(8, 72, durEighth, 0);
  upper.Add(16, 74, durQuarter, 0);
  Notes& lower = First().Voice(2)->Notes();
  lower.Add(0, 0, durHalf, 0);  // a rest note
  lower.Add(32, 69, durQuarter, 0);
  lower.Add(48, 71, durQuarter, 0);
  score.SetVoice(1);
  Attach();
  PaginateAll();
  Show(1);
  const DrawContext& dc = Dc();
  const int s = dc.LineSpace();
  // A glyph anchored at y has its baseline (its staff position) here.
  const auto baseline = [&](const SurfaceOp& op) {
    return op.Points[0].Y + dc.StaffHeightTwips() + dc.GlyphBaseline();
  };
  std::vector<SurfaceOp> rests[2], heads[2];
  for (const SurfaceOp& op : surface.Ops(SurfaceOp::Kind::Text)) {
    if (op.Font.Name != "Veltrimond") continue;
    const int voice = op.Color == dc.ColorNotes() ? 0 : op.Color == dc.ColorLight() ? 1 : -1;
    if (voice < 0) continue;
    if (op.Text == std::string(1, glyph::HalfRest)) rests[voice].push_back(op);
    if (op.Text[0] == glyph::FilledHead) heads[voice].push_back(op);
  }
  ASSERT_EQ(rests[0].size(), 1u);
  ASSERT_EQ(rests[1].size(), 1u);
  // The half rest's ink lies 2 to 2.62 line spaces above its baseline, a head's 0.54 either
  // side of it, as the font draws them.
  const auto restTop = [&](const SurfaceOp& r) { return baseline(r) - static_cast<int>(2.62 * s); };
  const auto restBottom = [&](const SurfaceOp& r) { return baseline(r) - 2 * s; };
  const auto headTop = [&](const SurfaceOp& h) { return baseline(h) - static_cast<int>(0.54 * s); };
  const auto headBottom = [&](const SurfaceOp& h) {
    return baseline(h) + static_cast<int>(0.54 * s);
  };
  // The upper voice's rest (beats 3 and 4) over the lower voice's notes there.
  ASSERT_EQ(heads[1].size(), 2u);
  for (const SurfaceOp& h : heads[1]) EXPECT_LT(restBottom(rests[0][0]), headTop(h));
  // The lower voice's rest (beats 1 and 2) under the upper voice's eighths and quarter.
  ASSERT_EQ(heads[0].size(), 3u);
  for (const SurfaceOp& h : heads[0]) EXPECT_GT(restTop(rests[1][0]), headBottom(h));
}

}  // namespace
}  // namespace notecraft
