// Section marks, endings and octave lines, dynamics, tempo marks, text labels, chord symbols
// and lyric text, on a recording surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "harmonygrid/core/chord.h"
#include "harmonygrid/core/clsmap.h"
#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/view/ink.h"
#include "notecraft/view/marksandtext.h"
#include "view_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

constexpr int kX = 4000;      // the measure's left bar line
constexpr int kPad = 2 * S;   // an ordinary measure's content offset
constexpr int kWidth = 2400;  // the measure's width
constexpr int kT = 128;       // the measure's start time
constexpr int kTpu = 30;      // twips per 64th
constexpr int kKept = RGB(1, 2, 3);
// Bracket line height: the reference y less round(2.2 s), snapped to a pixel.
constexpr int kH = kY - 315;

class MarksAndText : public ViewFixture {
protected:
  MarksAndText() {
    top = score.AllStaffs().AddStaff(Internal{}, "S1", "Top");
    lower = score.AllStaffs().AddStaff(Internal{}, "S2", "Lower");
    surface.SetForeColor(kKept);
  }

  static SurfaceOp Line(int x1, int y1, int x2, int y2, int color,
                        DrawStyle style = DrawStyle::Solid) {
    SurfaceOp op;
    op.What = SurfaceOp::Kind::Line;
    op.Points = {{x1, y1}, {x2, y2}};
    op.Color = color;
    op.Style = style;
    return op;
  }
  bool MusicFontSelected() const {
    return surface.Font().Name == MusicFontName && surface.Font().Size == L / 20.0f;
  }

  std::shared_ptr<Staff> top, lower;
};

// --- Section marks ---

TEST_F(MarksAndText, GlyphMarksStandAtTheFirstNotePositionOrBeforeTheRightBarLine) {
  const int markY = Snap(kY - 7 * S);
  const int coda = Width("\xDE"), toSegno = Width("d");
  const int end = kX + kWidth - 2 * S;
  struct Case {
    const char* name;
    int kind;
    std::vector<std::pair<std::string, int>> glyphs;  // text and x
  };
  const Case cases[] = {
      {"coda", sctCoda, {{"\xDE", kX + kPad}}},
      {"segno", sctSegundo, {{"%", kX + kPad}}},
      {"to coda", sctToCoda, {{"D", end}}},
      {"to segno", sctToSegundo, {{"d", end}}},
      // Marks that share a measure each show, side by side.
      {"coda and to coda", sctCoda | sctToCoda, {{"\xDE", kX + kPad}, {"D", end}}},
      {"coda and segno", sctCoda | sctSegundo, {{"\xDE", kX + kPad}, {"%", kX + kPad + coda}}},
      {"both end marks", sctToCoda | sctToSegundo, {{"D", end}, {"d", end - toSegno}}},
      {"repeat measure and pickup bits draw nothing", sctRepeatMeasure | sctPickup, {}},
  };
  for (const Case& c : cases) {
    for (const auto& staff : {top, lower}) {
      SCOPED_TRACE(std::string(c.name) + (staff == top ? " on the top staff" : " lower down"));
      surface.ClearRecord();
      DrawSectionMarks(dc, *staff, c.kind, kX, kY, kPad, kWidth, kT);
      const auto texts = Texts();
      ASSERT_EQ(texts.size(), c.glyphs.size());
      for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].Text, c.glyphs[i].first);
        EXPECT_EQ(texts[i].Points[0], (SurfacePoint{Snap(c.glyphs[i].second), markY}));
        EXPECT_EQ(texts[i].Color, dc.ColorBars());
      }
      EXPECT_TRUE(Lines().empty());
      EXPECT_EQ(surface.ForeColor(), kKept);
    }
  }
}

TEST_F(MarksAndText, TheToCodaMarkEndsInsideItsMeasureWhateverTheContentOffset) {
  // The first measure of a system starts its notes after the clef and key signature.
  DrawSectionMarks(dc, *top, sctToCoda, kX, kY, 1300, kWidth, kT);
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Points[0].X, Snap(kX + kWidth - 2 * S));
  EXPECT_LT(texts[0].Points[0].X + Width("D"), kX + kWidth);
}

TEST_F(MarksAndText, EndingsShowTheirLabelBesideTheHookOnTheTopStaffOnly) {
  const int left = kX - S + kPad;
  struct Case {
    const char* name;
    int kind, value1;
    std::string text, label;
  };
  const Case cases[] = {
      {"first ending", sctEnding1, sctEnding1, "", "1"},
      {"second ending", sctEnding2, sctEnding2, "", "2"},
      // Any other ending shows its definition's text.
      {"ending with text", sctEnding, sctEnding, "3.", "3."},
      {"ending without text", sctEnding, sctEnding, "", ""},
  };
  const FontSpec copyright = *score.Fonts(fntCopyright);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    score.AllGlobals().Clear();
    score.AllGlobals().Add(kT, evtSectionDefine, static_cast<std::uint8_t>(c.value1), 0, c.text);
    surface.ClearRecord();
    DrawSectionMarks(dc, *top, c.kind, kX, kY, kPad, kWidth, kT);
    EXPECT_EQ(Lines(), (std::vector<SurfaceOp>{
                           Line(left, kH, left, kH + 2 * S, dc.ColorBars()),
                           Line(left, kH, left + kWidth - kPad, kH, dc.ColorBars())}));
    const auto texts = Texts();
    if (c.label.empty()) {
      EXPECT_TRUE(texts.empty());
    } else {
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_EQ(texts[0].Text, c.label);
      EXPECT_EQ(texts[0].Points[0], (SurfacePoint{Snap(left + S), Snap(kH + kPx)}));
      EXPECT_EQ(texts[0].Font.Name, copyright.Name);
      EXPECT_EQ(texts[0].Font.Size, 8.0f);
      EXPECT_TRUE(texts[0].Font.Bold);
      EXPECT_EQ(texts[0].Color, dc.ColorBars());
    }
    EXPECT_EQ(surface.ForeColor(), kKept);
    EXPECT_TRUE(MusicFontSelected());

    // Below the top staff the bracket is not repeated.
    surface.ClearRecord();
    DrawSectionMarks(dc, *lower, c.kind, kX, kY, kPad, kWidth, kT);
    EXPECT_TRUE(surface.Ops().empty());
  }
}

TEST_F(MarksAndText, EndingsGoToTheFirstVisibleStaffAndNeedTheirDefinition) {
  // No definition at the measure's start: nothing, not even the line.
  score.AllGlobals().Add(kT + 64, evtSectionDefine, sctEnding1);
  DrawSectionMarks(dc, *top, sctEnding1, kX, kY, kPad, kWidth, kT);
  EXPECT_TRUE(surface.Ops().empty());

  // A coda defined before the ending at the same time does not label it.
  score.AllGlobals().Add(kT, evtSectionDefine, sctCoda, 0, "coda");
  score.AllGlobals().Add(kT, evtSectionDefine, sctEnding2);
  top->SetVisible(false);
  DrawSectionMarks(dc, *top, sctEnding2 | sctCoda, kX, kY, kPad, kWidth, kT);
  EXPECT_EQ(Texts({"1", "2", "coda"}).size(), 0u);
  DrawSectionMarks(dc, *lower, sctEnding2 | sctCoda, kX, kY, kPad, kWidth, kT);
  EXPECT_EQ(surface.Texts(), (std::vector<std::string>{"\xDE", "\xDE", "2"}));
  EXPECT_EQ(Lines().size(), 2u);
}

TEST_F(MarksAndText, AnEndingContinuedFromThePreviousSystemStartsFurtherLeftWithoutHookOrLabel) {
  score.AllGlobals().Add(kT, evtSectionDefine, sctEnding, 0, "+");
  DrawSectionMarks(dc, *top, sctEnding, kX, kY, kPad, kWidth, kT);
  const int left = kX - S + kPad - 3 * S;
  EXPECT_EQ(Lines(), (std::vector<SurfaceOp>{
                         Line(left, kH, left + kWidth - kPad + 3 * S, kH, dc.ColorBars())}));
  EXPECT_TRUE(Texts().empty());
}

// --- Octave lines ---

TEST_F(MarksAndText, OctaveLinesAreDottedWithTheirSignAtFourteenPoints) {
  RecordingSurface probe;
  probe.SetFont(FontSpec{std::string(MusicFontName), 14.0f});
  const int cell = probe.TextHeight();
  const int left = kX - S + kPad;
  struct Case {
    const char* name;
    int kind, mark;
    std::string sign;
  };
  const Case cases[] = {
      {"8va", sct8va, 1, "\xC3"},
      {"8vb", sct8vb, 2, "\xD7"},
  };
  for (const Case& c : cases) {
    for (const auto& staff : {top, lower}) {
      SCOPED_TRACE(std::string(c.name) + (staff == top ? " on the top staff" : " lower down"));
      staff->GlobalEvents().Clear();
      // A repeat-measure definition at the same time is not the octave line's.
      staff->GlobalEvents().Add(kT, evtSectionDefine, sctRepeatMeasure, 0, "+");
      staff->GlobalEvents().Add(kT, evtSectionDefine, 0, static_cast<std::uint8_t>(c.mark));
      surface.ClearRecord();
      surface.SetDrawStyle(DrawStyle::Solid);
      DrawSectionMarks(dc, *staff, c.kind, kX, kY, kPad, kWidth, kT);
      EXPECT_EQ(Lines(), (std::vector<SurfaceOp>{
                             Line(left, kH, left, kH + 2 * S, dc.ColorBars(), DrawStyle::Dot),
                             Line(left, kH, left + kWidth - kPad, kH, dc.ColorBars(),
                                  DrawStyle::Dot)}));
      const auto texts = Texts();
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_EQ(texts[0].Text, c.sign);
      EXPECT_EQ(texts[0].Font.Name, MusicFontName);
      EXPECT_EQ(texts[0].Font.Size, 14.0f);
      EXPECT_EQ(texts[0].Points[0], (SurfacePoint{Snap(left + S), Snap(kH - cell / 4)}));
      EXPECT_EQ(texts[0].Color, dc.ColorBars());
      EXPECT_EQ(surface.DrawStyle(), DrawStyle::Solid);
      EXPECT_EQ(surface.ForeColor(), kKept);
      EXPECT_TRUE(MusicFontSelected());
    }
  }
}

TEST_F(MarksAndText, OctaveLinesComeFromTheStaffWhateverTheCallerPasses) {
  // A full paint knows only the score-wide section bits: the staff's own octave line must
  // show all the same.
  top->GlobalEvents().Add(kT, evtSectionDefine, 0, 1);
  lower->GlobalEvents().Add(kT, evtSectionDefine, 0, 2);
  EXPECT_EQ(StaffOctaveKinds(*top, kT), sct8va);
  EXPECT_EQ(StaffOctaveKinds(*lower, kT), sct8vb);
  EXPECT_EQ(StaffOctaveKinds(*top, kT + 64), 0);

  DrawSectionMarks(dc, *top, 0, kX, kY, kPad, kWidth, kT);
  EXPECT_EQ(surface.Texts(), (std::vector<std::string>{"\xC3"}));
  surface.ClearRecord();
  DrawSectionMarks(dc, *lower, sctCoda, kX, kY, kPad, kWidth, kT);
  EXPECT_EQ(surface.Texts(), (std::vector<std::string>{"\xDE", "\xD7"}));
  EXPECT_EQ(Lines().size(), 2u);
  // An 8vb bit without the staff's 8vb event draws no line; the staff's 8va still shows.
  surface.ClearRecord();
  DrawSectionMarks(dc, *top, sct8vb, kX, kY, kPad, kWidth, kT);
  EXPECT_EQ(surface.Texts(), (std::vector<std::string>{"\xC3"}));
}

TEST_F(MarksAndText, AnOctaveLineRunsOnAcrossBarLinesAndSystems) {
  // GIVEN an 8va over two measures and into the first measure of the next system, where the
  // notes start after the clef and key (offset 1300).
  const int second = kX + kWidth, third = 1440;
  top->GlobalEvents().Add(kT, evtSectionDefine, 0, 1);
  top->GlobalEvents().Add(kT + 64, evtSectionDefine, 0, 1, "+");
  top->GlobalEvents().Add(kT + 128, evtSectionDefine, 0, 1, "+");
  // WHEN the three measures are drawn
  DrawSectionMarks(dc, *top, sct8va, kX, kY, kPad, kWidth, kT);
  DrawSectionMarks(dc, *top, sct8va, second, kY, kPad, kWidth, kT + 64);
  DrawSectionMarks(dc, *top, sct8va, third, kY + 3000, 1300, kWidth, kT + 128);
  // THEN one hook and one sign at the start, and each continuation reaches back over the
  // line before it, so no gap shows at the bar line.
  EXPECT_EQ(surface.Texts(), (std::vector<std::string>{"\xC3"}));
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].Points[0].X, lines[0].Points[1].X);  // the hook
  const SurfaceOp& first = lines[1];
  const SurfaceOp& next = lines[2];
  EXPECT_LE(next.Points[0].X, first.Points[1].X);
  EXPECT_EQ(next.Points[0], (SurfacePoint{second - S + kPad - 3 * S, kH}));
  EXPECT_EQ(next.Points[1], (SurfacePoint{second - S + kWidth, kH}));
  // On the next system: from four spaces before the first note position.
  EXPECT_EQ(lines[3].Points[0], (SurfacePoint{third + 1300 - 4 * S, kH + 3000}));
  for (const auto& line : lines) EXPECT_EQ(line.Style, DrawStyle::Dot);
}

// --- Dynamics and tempo marks ---

TEST_F(MarksAndText, DynamicsPrintTheCharacterOfTheirCodeBelowTheStaff) {
  const int codes[] = {dynPPP, dynPP, dynP, dynMP, dynMF, dynF, dynFF, dynFFF,
                       65,     0xFF};  // not DynamicTypes: whatever the font holds there
  const int dynamicsY = Snap(kY + 3 * S + S / 2);
  for (int code : codes) {
    SCOPED_TRACE(code);
    lower->GlobalEvents().Clear();
    lower->GlobalEvents().Add(kT + 16, evtDynamic, static_cast<std::uint8_t>(code));
    surface.ClearRecord();
    surface.SetForeColor(kKept);
    DrawTempoMarks(dc, *lower, kX, kY, kPad, kTpu, kT, 64);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, std::string(1, static_cast<char>(code)));
    EXPECT_EQ(texts[0].Font.Name, MusicFontName);
    EXPECT_EQ(texts[0].Points[0], (SurfacePoint{Snap(16 * kTpu + kX - S + kPad), dynamicsY}));
    EXPECT_EQ(texts[0].Color, dc.ColorTies());
    EXPECT_EQ(surface.ForeColor(), dc.ColorTies());  // not put back
  }
}

TEST_F(MarksAndText, DynamicsFollowTheScoresAdjustmentAndKeepToTheirMeasure) {
  score.SetDynAdjust(120);
  auto& events = lower->GlobalEvents();
  events.Add(kT - 1, evtDynamic, dynP);       // the measure before
  events.Add(kT, evtDynamic, dynMF);          // the first unit
  events.Add(kT + 40, evtDynamic, dynF);
  events.Add(kT + 63, evtDynamic, dynFF);     // the last unit
  events.Add(kT + 64, evtDynamic, dynFFF);    // the next measure
  DrawTempoMarks(dc, *lower, kX, kY, kPad, kTpu, kT, 64);
  // Drawn from the last backwards.
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].Text, std::string(1, static_cast<char>(dynFF)));
  EXPECT_EQ(texts[1].Text, "f");
  EXPECT_EQ(texts[2].Text, "F");
  EXPECT_EQ(texts[2].Points[0], (SurfacePoint{Snap(kX - S + kPad), Snap(kY + 3 * S + S / 2 + 120)}));
  EXPECT_EQ(texts[0].Points[0].X, Snap(63 * kTpu + kX - S + kPad));
}

TEST_F(MarksAndText, TempoMarksPrintTheirTextInTheExpressionFontALineBelowTheDynamics) {
  const char* names[] = {"", "ritard.", "riten.", "rall.", "accel.", "dioppio movimento",
                         "a tempo", "tempo primo", "lunga pausa"};
  const int tempoY = Snap(kY + 3 * S + S / 2 + S / 2 + 2 * S);
  for (int code = 0; code <= 9; ++code) {
    SCOPED_TRACE(code);
    lower->GlobalEvents().Clear();
    lower->GlobalEvents().Add(kT, evtTempo, static_cast<std::uint8_t>(code));
    surface.ClearRecord();
    DrawTempoMarks(dc, *lower, kX, kY, kPad, kTpu, kT, 64);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, code >= 1 && code <= 8 ? names[code] : "Error");
    EXPECT_EQ(texts[0].Font.Name, "Verdana");
    EXPECT_TRUE(texts[0].Font.Bold && texts[0].Font.Italic);
    EXPECT_EQ(texts[0].Font.Size, L / 60.0f);
    EXPECT_EQ(texts[0].Points[0], (SurfacePoint{Snap(kX - S + kPad), tempoY}));
    EXPECT_EQ(texts[0].Color, dc.ColorTies());
    EXPECT_TRUE(MusicFontSelected());
  }
}

TEST_F(MarksAndText, TwoTempoMarksInOneMeasureAreDrawnLastFirst) {
  lower->GlobalEvents().Add(kT, evtTempo, tmpRitardando);
  lower->GlobalEvents().Add(kT + 32, evtTempo, tmpATempo);
  lower->GlobalEvents().Add(kT + 32, evtDynamic, dynP);
  DrawTempoMarks(dc, *lower, kX, kY, kPad, kTpu, kT, 64);
  EXPECT_EQ(surface.Texts(), (std::vector<std::string>{"p", "a tempo", "ritard."}));
  const auto texts = Texts();
  EXPECT_EQ(texts[1].Points[0].X, Snap(32 * kTpu + kX - S + kPad));
  EXPECT_EQ(texts[2].Points[0].X, Snap(kX - S + kPad));
}

TEST_F(MarksAndText, AMeasureWithoutDynamicsOrTempoLeavesColourAndFontAlone) {
  lower->GlobalEvents().Add(kT + 64, evtTempo, tmpRitardando);
  lower->GlobalEvents().Add(kT, evtText, 0, 0, "not a tempo");
  const FontSpec before = surface.Font();
  DrawTempoMarks(dc, *lower, kX, kY, kPad, kTpu, kT, 64);
  EXPECT_TRUE(surface.Ops().empty());
  EXPECT_EQ(surface.ForeColor(), kKept);
  EXPECT_EQ(surface.Font(), before);
}

TEST_F(MarksAndText, MarksMoveWithTheirNotesPastTheChangesOfTheMeasure) {
  // A clef change at kT + 16 moves the notes from there on by 300 twips; a key change at the
  // measure's start all of them by 200.
  dc.Symbols().SetShift(0, kT, 200);
  dc.Symbols().AddInnerShift(0, kT + 16, 300);
  lower->GlobalEvents().Add(kT, evtDynamic, dynP);
  lower->GlobalEvents().Add(kT + 16, evtDynamic, dynPP);
  lower->GlobalEvents().Add(kT + 16, evtText, 0, 0, "dolce");
  MarkPlace place;
  place.Measure = 0;
  DrawTempoMarks(dc, *lower, kX, kY, kPad, kTpu, kT, 64, place);
  DrawTextEvents(dc, *lower, kX, kTop, kPad, kTpu, kT, 64, 0);
  const int at16 = Snap(16 * kTpu + kX - S + kPad + 500);
  EXPECT_EQ(Texts({"p"}).at(0).Points[0].X, Snap(kX - S + kPad + 200));
  EXPECT_EQ(Texts({std::string(1, glyph::DynamicPP)}).at(0).Points[0].X, at16);
  EXPECT_EQ(Texts({"dolce"}).at(0).Points[0].X, at16);
  // Outside a system's measures nothing moves.
  surface.ClearRecord();
  DrawTempoMarks(dc, *lower, kX, kY, kPad, kTpu, kT, 64);
  EXPECT_EQ(Texts({"p"}).at(0).Points[0].X, Snap(kX - S + kPad));
}

TEST_F(MarksAndText, MarksMoveOffWhatTheStaffHasDrawn) {
  const int x = 16 * kTpu + kX - S + kPad;
  const int middle = kTop + 2 * S;
  struct Case {
    const char* name;
    int type, value1, value2;
    InkArea inWay;  // drawn before, in the mark's usual place
    int moves;      // -1 up, 1 down
  };
  const std::vector<Case> cases = {
      {"a dynamic under a low note",
       evtDynamic,
       dynMF,
       0,
       {x, kBottomLine, x + 300, kBottomLine + 4 * S},
       1},
      {"a tempo mark under it",
       evtTempo,
       tmpRitardando,
       0,
       {x, kBottomLine, x + 300, kBottomLine + 4 * S},
       1},
      {"a label over the staff, a stem in its way",
       evtText,
       7,
       0,
       {x + 200, middle - 4 * S, x + 220, middle},
       -1},
      {"a label under the staff, a stem in its way",
       evtText,
       0,
       7,
       {x + 200, middle, x + 220, middle + 5 * S},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    lower->GlobalEvents().Clear();
    lower->GlobalEvents().Add(kT + 16, c.type, static_cast<std::uint8_t>(c.value1),
                              static_cast<std::uint8_t>(c.value2), "mark");
    // Where it stands when nothing is in its way.
    auto draw = [&] {
      surface.ClearRecord();
      if (c.type == evtText)
        DrawTextEvents(dc, *lower, kX, kTop, kPad, kTpu, kT, 64);
      else
        DrawTempoMarks(dc, *lower, kX, kY, kPad, kTpu, kT, 64);
      return Texts();
    };
    dc.Symbols().Ink.clear();
    const auto free = draw();
    ASSERT_EQ(free.size(), 1u);
    dc.Symbols().Ink = {c.inWay};
    const auto placed = draw();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].Points[0].X, free[0].Points[0].X);
    EXPECT_EQ(placed[0].Points[0].Y > free[0].Points[0].Y ? 1 : -1, c.moves);
    RecordingSurface probe;
    probe.SetFont(placed[0].Font);
    const InkArea ink =
        TextInk(probe, placed[0].Text, placed[0].Points[0].X, placed[0].Points[0].Y);
    EXPECT_FALSE(Collides({c.inWay}, ink, 0));
  }
  dc.Symbols().Ink.clear();
}

// --- Text labels ---

TEST_F(MarksAndText, TextLabelsStandAtTheMiddleLineMovedByHalfSpaces) {
  struct Case {
    const char* name;
    int up, down;
    int y;  // from the top line
  };
  const Case cases[] = {
      {"no offset: the middle line", 0, 0, 2 * S},
      {"three half spaces up", 3, 0, 2 * S - 3 * (S / 2)},
      {"two half spaces down", 0, 2, 2 * S + 2 * (S / 2)},
      {"both: up then down", 2, 5, 2 * S + 3 * (S / 2)},
  };
  const FontSpec copyright = *score.Fonts(fntCopyright);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    lower->GlobalEvents().Clear();
    lower->GlobalEvents().Add(kT + 8, evtText, static_cast<std::uint8_t>(c.up),
                              static_cast<std::uint8_t>(c.down), "dolce");
    surface.ClearRecord();
    surface.SetForeColor(kKept);
    DrawTextEvents(dc, *lower, kX, kTop, kPad, kTpu, kT, 64);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, "dolce");
    EXPECT_EQ(texts[0].Points[0], (SurfacePoint{Snap(8 * kTpu + kX - S + kPad), Snap(kTop + c.y)}));
    EXPECT_EQ(texts[0].Font.Name, copyright.Name);
    EXPECT_EQ(texts[0].Font.Size, copyright.Size);
    EXPECT_EQ(texts[0].Color, dc.ColorBars());
    EXPECT_EQ(surface.ForeColor(), dc.ColorNotes());
    EXPECT_TRUE(MusicFontSelected());
  }
}

TEST_F(MarksAndText, TextLabelsOfOtherMeasuresAreLeftAlone) {
  lower->GlobalEvents().Add(kT - 4, evtText, 0, 0, "before");
  lower->GlobalEvents().Add(kT + 64, evtText, 0, 0, "after");
  lower->GlobalEvents().Add(kT + 32, evtText, 0, 0, "ñ inside");
  top->GlobalEvents().Add(kT + 16, evtText, 0, 0, "other staff");
  DrawTextEvents(dc, *lower, kX, kTop, kPad, kTpu, kT, 64);
  EXPECT_EQ(surface.Texts(), (std::vector<std::string>{"ñ inside"}));

  surface.ClearRecord();
  surface.SetForeColor(kKept);
  const FontSpec before = surface.Font();
  DrawTextEvents(dc, *lower, kX, kTop, kPad, kTpu, kT + 256, 64);
  EXPECT_TRUE(surface.Ops().empty());
  EXPECT_EQ(surface.ForeColor(), kKept);
  EXPECT_EQ(surface.Font(), before);
}

TEST(TextPosByOffset, MovesUpByTheFirstOffsetAndDownByTheSecond) {
  int y = 1000;
  TextPosByOffset(y, 3, 0, 72);
  EXPECT_EQ(y, 784);
  TextPosByOffset(y, 0, 5, 72);
  EXPECT_EQ(y, 1144);
  TextPosByOffset(y, 2, 2, 72);
  EXPECT_EQ(y, 1144);
}

// --- Chord symbols ---

class ChordSymbols : public MarksAndText {
protected:
  ChordSymbols() {
    harmonygrid::Chord& table = *score.Chord();
    table.SetInitDir("/nonexistent/chord/shapes");  // an empty table, then our shapes
    table.SetChordTextHeight(195);
    table.SetFretTextHeight(135);
    table.SetChordHeight(525);
    table.SetChordWidth(375);
    table.SetFretCount(6);
    table.SetAreaHeight(855);
    c = Shape("C", {{2, 3}, {3, 2}, {4, 0}, {5, 1}, {6, 0}});
    d = Shape("D", {{4, 0}, {5, 2}, {6, 3}});
    g = Shape("G", {{1, 3}, {2, 2}, {6, 3}});
  }
  int Shape(const char* name, std::vector<std::pair<int, int>> pairs) {
    const auto shape = score.Chord()->AddChordMap(name, name);
    for (const auto& [string, fret] : pairs) shape->Add(string, fret);
    return shape->Value();
  }
  // What the renderer itself draws for one symbol.
  std::vector<SurfaceOp> Rendered(std::vector<std::tuple<int, int, int, std::string>> symbols,
                                  bool showMap, int capo) const {
    RecordingSurface expected;
    for (const auto& [value, x, y, bass] : symbols)
      EXPECT_TRUE(score.Chord()->Render(expected, score.Chord()->Layout(),
                                        score.Chord()->GetIndex(value), x, y, showMap,
                                        dc.ColorChords(), bass, capo));
    return expected.Ops();
  }
  int c = 0, d = 0, g = 0;
};

TEST_F(ChordSymbols, EachSymbolOfTheMeasureIsRenderedAtItsNotePosition) {
  auto& events = score.AllGlobals();
  events.Add(kT - 16, evtChord, static_cast<std::uint8_t>(g));   // the measure before
  events.Add(kT, evtChord, static_cast<std::uint8_t>(c));
  events.Add(kT + 16, evtRepeatEnd);                              // skipped over
  events.Add(kT + 32, evtChord, static_cast<std::uint8_t>(g), 0, "B");
  events.Add(kT + 32, evtChord, static_cast<std::uint8_t>(d));   // two at one time
  events.Add(kT + 64, evtChord, static_cast<std::uint8_t>(d));   // the next measure
  struct Case {
    const char* name;
    bool maps;
  };
  for (const Case& k : {Case{"names only", false}, Case{"with chord maps", true}}) {
    SCOPED_TRACE(k.name);
    score.SetUseChordMaps(k.maps);
    surface.ClearRecord();
    FindChordSymbol(dc, 0, kX, kY, kPad, kTpu, kT, 64);
    // The two at one time in their order in the list.
    std::vector<std::tuple<int, int, int, std::string>> expected{{c, kX + kPad, kY, ""}};
    for (const auto& e : events.At(kT + 32))
      if (e->EventType() == evtChord)
        expected.emplace_back(e->Value1(), 32 * kTpu + kX + kPad, kY, e->Text());
    ASSERT_EQ(expected.size(), 3u);
    EXPECT_EQ(surface.Ops(), Rendered(expected, k.maps, 0));
    EXPECT_TRUE(MusicFontSelected());
    EXPECT_EQ(surface.ForeColor(), dc.ColorChords());
  }
}

TEST_F(ChordSymbols, TheCapoCountsOnlyWhenTheScoreUsesIt) {
  score.AllGlobals().Add(kT, evtChord, static_cast<std::uint8_t>(c));
  score.SetUseChordMaps(true);
  score.SetCapo(2);
  struct Case {
    const char* name;
    bool useCapo;
    int capo;
  };
  for (const Case& k : {Case{"capo off", false, 0}, Case{"capo on", true, 2}}) {
    SCOPED_TRACE(k.name);
    score.SetUseCapo(k.useCapo);
    surface.ClearRecord();
    FindChordSymbol(dc, 0, kX, kY, kPad, kTpu, kT, 64);
    EXPECT_EQ(surface.Ops(), Rendered({{c, kX + kPad, kY, ""}}, true, k.capo));
  }
  // With the capo on, C two frets up is drawn as the table's D shape, over "(C)".
  EXPECT_EQ(surface.Texts().back(), "(C)");
  EXPECT_NE(std::find(surface.Texts().begin(), surface.Texts().end(), "D"), surface.Texts().end());
}

TEST_F(ChordSymbols, MarksOverTheMeasureStartLiftTheRowAndPrintingShiftsItByTheOffsets) {
  score.AllGlobals().Add(kT + 16, evtChord, static_cast<std::uint8_t>(d), 0, "F#");
  struct Case {
    int flags;
    bool lifted;
  };
  const Case cases[] = {
      {0, false},
      {sctEnding1, true},
      {sctEnding2, true},
      {sctEnding, true},
      {sctCoda, true},
      {sctSegundo, true},
      {sctEnding1 | sct8va, true},
      // Marks elsewhere leave the row where it is.
      {sctToCoda | sctToSegundo, false},
      {sct8va | sct8vb, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.flags);
    surface.ClearRecord();
    FindChordSymbol(dc, k.flags, kX, kY, kPad, kTpu, kT, 64);
    EXPECT_EQ(surface.Ops(), Rendered({{d, 16 * kTpu + kX + kPad, k.lifted ? kY - 3 * S : kY, "F#"}},
                                      false, 0));
  }

  dc.SetPrinting(true, 100, 200);
  surface.ClearRecord();
  FindChordSymbol(dc, 0, kX, kY, kPad, kTpu, kT, 64);
  EXPECT_EQ(surface.Ops(), Rendered({{d, 16 * kTpu + kX + kPad - 100, kY - 200, "F#"}}, false, 0));
  dc.SetPrinting(false);
}

TEST_F(ChordSymbols, ASymbolWhoseShapeHasGoneDrawsWithTheFirstShape) {
  score.AllGlobals().Add(kT, evtChord, 200);
  FindChordSymbol(dc, 0, kX, kY, kPad, kTpu, kT, 64);
  EXPECT_EQ(surface.Ops(), Rendered({{c, kX + kPad, kY, ""}}, false, 0));
  EXPECT_EQ(surface.Texts(), (std::vector<std::string>{"C"}));
}

TEST_F(ChordSymbols, AnEmptyTableOrAMeasureWithoutSymbolsDrawsNothing) {
  score.AllGlobals().Add(kT - 8, evtChord, static_cast<std::uint8_t>(c));
  score.AllGlobals().Add(kT + 64, evtChord, static_cast<std::uint8_t>(c));
  const FontSpec before = surface.Font();
  FindChordSymbol(dc, 0, kX, kY, kPad, kTpu, kT, 64);
  EXPECT_TRUE(surface.Ops().empty());
  EXPECT_EQ(surface.Font(), before);
  EXPECT_EQ(surface.ForeColor(), kKept);

  score.AllGlobals().Add(kT + 8, evtChord, static_cast<std::uint8_t>(c));
  score.Chord()->LoadChordMaps();  // the missing folder empties the table
  ASSERT_EQ(score.Chord()->ListCount(), 0);
  FindChordSymbol(dc, 0, kX, kY, kPad, kTpu, kT, 64);
  EXPECT_TRUE(surface.Ops().empty());
  EXPECT_TRUE(MusicFontSelected());
}

// --- Lyric text ---

TEST_F(MarksAndText, SmallTextIsCentredAtEightPointsAndLeavesTheNotesColour) {
  score.Fonts(fntCopyright)->Bold = true;  // the lyric text is never bold
  for (const std::string text : {"la", "Hal", "lu -", "ja "}) {
    SCOPED_TRACE(text);
    surface.ClearRecord();
    surface.SetForeColor(kKept);
    int right = -1;
    DrawSmallText(dc, text, 5000, 4200, right);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    const int w = static_cast<int>(text.size()) * 80;  // half an em of 8 points a character
    EXPECT_EQ(texts[0].Text, text);
    EXPECT_EQ(texts[0].Points[0], (SurfacePoint{Snap(5000 - w / 2), Snap(4200)}));
    EXPECT_EQ(texts[0].Font.Size, 8.0f);
    EXPECT_FALSE(texts[0].Font.Bold);
    EXPECT_EQ(texts[0].Font.Name, score.Fonts(fntCopyright)->Name);
    EXPECT_EQ(texts[0].Color, dc.ColorChords());
    EXPECT_EQ(right, 5000 - w / 2 + w);
    EXPECT_EQ(surface.ForeColor(), dc.ColorNotes());
    EXPECT_TRUE(MusicFontSelected());
  }
}

TEST_F(MarksAndText, WithoutAWindowNothingIsDrawn) {
  score.AllGlobals().Add(kT, evtSectionDefine, sctEnding1);
  score.AllGlobals().Add(kT, evtChord, 0);
  top->GlobalEvents().Add(kT, evtDynamic, dynF);
  top->GlobalEvents().Add(kT, evtText, 0, 0, "x");
  score.SetWindow(nullptr);
  DrawSectionMarks(dc, *top, sctEnding1 | sctCoda, kX, kY, kPad, kWidth, kT);
  DrawTempoMarks(dc, *top, kX, kY, kPad, kTpu, kT, 64);
  DrawTextEvents(dc, *top, kX, kTop, kPad, kTpu, kT, 64);
  FindChordSymbol(dc, 0, kX, kY, kPad, kTpu, kT, 64);
  int right = -1;
  DrawSmallText(dc, "la", 5000, 4200, right);
  EXPECT_EQ(right, 5000);
  EXPECT_TRUE(surface.Ops().empty());
}

}  // namespace
}  // namespace notecraft
