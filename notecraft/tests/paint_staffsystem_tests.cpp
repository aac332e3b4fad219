// The staff drawer: one staff across one system, measure by measure, on the recording
// surface. The staff's top line is at kTop; the system's measures are 2400 twips wide from
// kLeft, in common time.
#include <algorithm>
#include <string>
#include <vector>

#include "notecraft/core/common.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/note.h"
#include "notecraft/core/region.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/view/ink.h"
#include "notecraft/view/restsandties.h"
#include "notecraft/view/staffsystem.h"
#include "view_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

constexpr int kLeft = 1080;
constexpr int kMeasure = 2400;

class StaffSystem : public ViewFixture {
public:
  StaffSystem() {
    score.CreateDefault();
    score.SetWindow(&surface);
    dc.SetStaffHeightTwips(L);
    dc.SetStaffScale(1.0f);
    dc.SetStaffUnit(S);
    dc.SelectFont(DrawContext::kMusicFont);
    staff = score.Staff(1);
    surface.ClearRecord();
  }

  Notes& VoiceNotes(int v = 1) { return staff->Voice(v)->Notes(); }

  // Draws the staff (or half of it) across `measures` measures from start, as the page
  // painter does at the start of a system.
  Region& Draw(int measures, int start = 0, int half = 1, int staffIndex = 1, bool fresh = true,
               int measureWidth = kMeasure) {
    // A score setter may have repainted the page since: the staff's own size again.
    dc.SetStaffHeightTwips(L);
    dc.SetStaffScale(1.0f);
    dc.SetStaffUnit(S);
    dc.SelectFont(DrawContext::kMusicFont);
    if (fresh) {
      surface.ClearRecord();
      dc.Symbols().Shifts.assign(static_cast<std::size_t>(measures), ChangeShift{});
      dc.Symbols().InnerShifts.assign(static_cast<std::size_t>(measures), {});
      dc.Symbols().StemMode = 0;
      grid = {};
      for (int i = 0; i < measures; ++i) {
        grid.Widths.push_back(measureWidth);
        grid.Flags.push_back(score.MeasureFlags(start + 64 * i));
      }
    }
    bands.push_back(std::make_unique<Region>(Internal{}));
    Region& band = *bands.back();
    band.SetFirst(bands.size() == 1);
    band.SetMeasures(measures);
    StaffPlacement place;
    place.Left = kLeft;
    place.Top = kTop;
    place.Right = kLeft + measures * measureWidth;
    place.Bottom = kBottomLine;
    place.GrandHalf = half;
    place.StaffIndex = staffIndex;
    place.StartTime = start;
    DrawStaffSystem(dc, grid, place, band);
    return band;
  }

  std::vector<SurfaceOp> Glyphs(char glyph) const { return Texts({std::string(1, glyph)}); }
  // x of every text op drawn in the music font between two x.
  int HeadsBetween(int x1, int x2) const {
    int n = 0;
    for (const SurfaceOp& op : surface.Ops(SurfaceOp::Kind::Text))
      if (op.Font.Name == "Veltrimond" && (op.Text[0] == glyph::FilledHead || op.Text[0] == glyph::HalfHead) &&
          op.Points[0].X >= x1 && op.Points[0].X < x2)
        ++n;
    return n;
  }

  std::shared_ptr<Staff> staff;
  SystemGrid grid;
  std::vector<std::unique_ptr<Region>> bands;
};

TEST_F(StaffSystem, TheTimeSignatureStandsAtTheScoresStartAndAtChangesOnly) {
  struct Case {
    const char* name;
    int start;
    bool changeAtStart;
    bool drawn;
  };
  for (const Case& c : {Case{"score start", 0, false, true}, Case{"later system", 256, false, false},
                        Case{"change at the system's start", 256, true, true}}) {
    SCOPED_TRACE(c.name);
    score.AllGlobals().Clear();
    score.AllGlobals().Add(0, evtTimeChange, 4, 16);
    if (c.changeAtStart) score.AllGlobals().Add(256, evtTimeChange, 3, 16);
    Draw(2, c.start);
    // The numerator three spaces above the bottom line, next to the key's place.
    const auto digits = Texts({"4", "3"});
    const bool drawn = std::any_of(digits.begin(), digits.end(), [](const SurfaceOp& op) {
      return op.Points[0].X == Snap(kLeft + L + S) && op.Font.Name == "Veltrimond";
    });
    EXPECT_EQ(drawn, c.drawn);
  }
}

// Twips per 64th of a measure of `inner` twips whose first note position is `offset` in:
// the notes spread over what is left after room for the glyphs at the last position (a
// head, the thirty-second rest, or a ledger line through the head, which reaches furthest)
// and a third of a space kept free before the bar line.
int TwipsPerUnit(int inner, int offset, int duration = 64) {
  const RecordingSurface measuring;
  RecordingSurface& m = const_cast<RecordingSurface&>(measuring);
  m.SetFont(FontSpec{"Veltrimond", L / 20.0f});
  const int room = std::max({m.TextWidth(std::string(1, glyph::FilledHead)),
                             m.TextWidth(std::string(1, glyph::ThirtySecondRest)), S + 60}) +
                   S / 3;
  return (inner - offset - room) / (duration + 1);
}

// Where a note at the start of the second measure stands when a change at that measure's
// start is shift wide: after two spaces and two time units, moved right by the shift.
int SecondMeasureNoteX(int shift) {
  const int tpu = TwipsPerUnit(kMeasure, 2 * S + shift);
  return SnapX(kLeft + kMeasure + 2 * S + 2 * tpu) + shift;
}

TEST_F(StaffSystem, AKeyChangeEndsTheMeasureBeforeWithADoubleBarAndMovesTheNotes) {
  VoiceNotes().Add(64, 67, durQuarter, 0);
  Draw(2);
  EXPECT_EQ(VoiceNotes().ByIndex(1)->X(), SecondMeasureNoteX(0));
  ASSERT_TRUE(Glyphs(glyph::DoubleBar).empty());

  staff->GlobalEvents().Add(64, evtKeyChange, 2);  // D major from measure 2
  bands.clear();
  Region& band = Draw(2);
  // A double bar at the end of measure 1, instead of its plain bar line.
  const auto doubleBars = Glyphs(glyph::DoubleBar);
  ASSERT_EQ(doubleBars.size(), 1u);
  EXPECT_LT(doubleBars[0].Points[0].X, kLeft + kMeasure);
  EXPECT_GT(doubleBars[0].Points[0].X, kLeft + kMeasure - 2 * S);
  EXPECT_EQ(band.MeasureFlag(0) & 4, 4);
  // Two sharps at the start of measure 2, and its notes moved right by their width.
  const auto sharps = Glyphs(glyph::Sharp);
  ASSERT_EQ(sharps.size(), 2u);
  EXPECT_GE(sharps[0].Points[0].X, Snap(kLeft + kMeasure));
  const int width = dc.Symbols().ShiftOf(1).Width;
  EXPECT_GT(width, 0);
  EXPECT_EQ(dc.Symbols().ShiftOf(1).Time, 64);
  EXPECT_EQ(VoiceNotes().ByIndex(1)->X(), SecondMeasureNoteX(width));
}

TEST_F(StaffSystem, AKeyChangeAfterARepeatEndKeepsTheRepeatBarAlone) {
  staff->GlobalEvents().Add(64, evtKeyChange, 2);
  score.AllGlobals().Add(0, evtRepeatEnd);
  VoiceNotes().Add(64, 67, durQuarter, 0);
  Draw(2);
  dc.SelectFont(DrawContext::kMusicFont);
  // The repeat bar at the end of measure 1 serves as the key change's double bar.
  EXPECT_TRUE(Glyphs(glyph::DoubleBar).empty());
  const auto repeatEnd = Texts({std::string(glyph::RepeatEndBar)});
  ASSERT_EQ(repeatEnd.size(), 1u);
  EXPECT_EQ(repeatEnd[0].Points[0].X, Snap(kLeft + kMeasure - Width(glyph::RepeatEndBar)));
  // The new key follows in measure 2, right of the repeat bar.
  const auto sharps = Glyphs(glyph::Sharp);
  ASSERT_EQ(sharps.size(), 2u);
  EXPECT_GE(sharps[0].Points[0].X, Snap(kLeft + kMeasure));
}

TEST_F(StaffSystem, TiesStandCloseToTheHeadsTheyJoinAlsoOverTheBarLine) {
  // E on the bottom line with its stem up: ties below it. D on the fourth line with its
  // stem down: a tie above it.
  auto tie = [this](int from, int to) {
    staff->GlobalEvents().Add(from, evtTie, 0, static_cast<std::uint8_t>(to), "1");
  };
  VoiceNotes().Add(0, 64, durHalf, 0);
  VoiceNotes().Add(32, 64, durQuarter, 0);
  VoiceNotes().Add(48, 64, durQuarter, 0);
  VoiceNotes().Add(64, 64, durQuarter, 0);
  VoiceNotes().Add(96, 74, durQuarter, 0);
  VoiceNotes().Add(112, 74, durQuarter, 0);
  tie(0, 32);
  tie(48, 64);  // over the bar line
  tie(96, 112);
  Draw(2);
  surface.ClearRecord();
  DrawTies(dc, staff->Index());
  const auto curves = surface.Ops(SurfaceOp::Kind::PolyBezier);
  ASSERT_EQ(curves.size(), 3u);
  const int head = Width(std::string(1, glyph::FilledHead));
  struct Case {
    int from, to, middle;  // the heads' middle: the line they stand on
    bool below;
  };
  const Case cases[] = {{0, 32, kBottomLine, true}, {48, 64, kBottomLine, true}, {96, 112, kTop + S, false}};
  for (std::size_t k = 0; k < 3; ++k) {
    const Case& c = cases[k];
    SCOPED_TRACE(c.from);
    const SurfacePoint start = curves[k].Points.at(0);
    const SurfacePoint end = curves[k].Points.at(3);
    // Vertically just clear of the heads' outer edge, half a space from their middle.
    for (const SurfacePoint& p : {start, end}) {
      const int away = c.below ? p.Y - c.middle : c.middle - p.Y;
      EXPECT_GT(away, S / 2);
      EXPECT_LE(away, S * 4 / 5);
    }
    // Horizontally over the heads themselves.
    const int x1 = VoiceNotes().Lookup(c.from)->X();
    const int x2 = VoiceNotes().Lookup(c.to)->X();
    EXPECT_GE(start.X, x1 - kPx);
    EXPECT_LE(start.X, x1 + head);
    EXPECT_GE(end.X, x2 - kPx);
    EXPECT_LE(end.X, x2 + head);
  }
}

TEST_F(StaffSystem, AClefChangeOnOneStaffMovesTheNotesOfTheStavesDrawnAfterIt) {
  auto lower = score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Lower");
  lower->Voice(1)->Notes().Add(64, 60, durQuarter, 0);
  staff->GlobalEvents().Add(64, evtClefChange, clfBass);
  bands.clear();
  Draw(2, 0, 1, 1);
  const int shift = dc.Symbols().ShiftOf(1).Width;
  EXPECT_EQ(Glyphs(glyph::BassClef).size(), 1u);
  Draw(2, 0, 1, 2, /*fresh=*/false);  // the next staff of the same system
  EXPECT_GT(shift, S);
  EXPECT_EQ(lower->Voice(1)->Notes().ByIndex(1)->X(), SecondMeasureNoteX(shift));
}

TEST_F(StaffSystem, AGrandStaffsHalvesSplitAtMiddleC) {
  staff->SetDefaultClef(clfGrand);
  staff->SetVerses(Internal{}, 1);
  VoiceNotes().Add(0, 72, durHalf, 0);   // upper
  VoiceNotes().Add(32, 48, durHalf, 0);  // lower
  VoiceNotes().Add(64, 0, durHalf, 0);   // a rest note
  VoiceNotes().Add(96, 64, durHalf, 0);  // upper
  staff->GlobalEvents().Add(0, evtLyric, 0, 0, "la");
  staff->GlobalEvents().Add(0, evtText, 0, 0, "dolce");

  Draw(2, 0, 1);
  EXPECT_EQ(Glyphs(glyph::TrebleClef).size(), 1u);
  EXPECT_EQ(HeadsBetween(0, 1 << 20), 2);
  // The upper staff rests where only the lower one plays: after its half note in the
  // first measure, before its half note in the second.
  EXPECT_EQ(Glyphs(glyph::HalfRest).size(), 2u);
  EXPECT_EQ(Texts({"la"}).size(), 1u);
  EXPECT_EQ(Texts({"dolce"}).size(), 1u);

  Draw(2, 0, 2);
  EXPECT_EQ(Glyphs(glyph::BassClef).size(), 1u);
  EXPECT_EQ(HeadsBetween(0, 1 << 20), 1);  // only the pitch below 60
  EXPECT_TRUE(Texts({"la"}).empty());
  EXPECT_TRUE(Texts({"dolce"}).empty());
  // The rest note stands on the lower staff, in the second measure.
  const auto rests = Glyphs(glyph::HalfRest);
  EXPECT_TRUE(std::any_of(rests.begin(), rests.end(), [](const SurfaceOp& op) {
    return op.Points[0].X >= kLeft + kMeasure;
  }));
}

TEST_F(StaffSystem, RestsFillVoiceOneAfterItsLastNoteAndAfterATripletGroup) {
  // Three triplet quarters at 0, 11 and 21 span 32; a half rest fills the rest of measure 1.
  for (int t : {0, 11, 21}) VoiceNotes().Add(t, 67, durQuarter, nteTriplet);
  // A lone quarter in measure 2: a quarter rest completes the first half bar, a half rest
  // fills the second.
  VoiceNotes().Add(64, 67, durQuarter, 0);
  Draw(2);
  const auto halves = Glyphs(glyph::HalfRest);
  const auto quarters = Glyphs(glyph::QuarterRest);
  ASSERT_EQ(halves.size(), 2u);
  ASSERT_EQ(quarters.size(), 1u);
  EXPECT_LT(halves[0].Points[0].X, kLeft + kMeasure);
  EXPECT_GT(halves[1].Points[0].X, kLeft + kMeasure);
  EXPECT_GT(quarters[0].Points[0].X, kLeft + kMeasure);
  EXPECT_LT(quarters[0].Points[0].X, halves[1].Points[0].X);
  EXPECT_EQ(dc.Symbols().TripletCount, 0);  // the group closed after its third note
  EXPECT_EQ(Texts({"3"}).size(), 1u);
}

// A narrow second measure whose last position stands just before its bar line, its
// glyphs sharing what room there is: whatever the glyphs there reach (a flag, a dot,
// ledger lines, a second's head) keeps clear of the bar line.
TEST_F(StaffSystem, NothingAtAMeasuresLastPositionReachesItsBarLine) {
  struct Stored {
    int Time;  // in the measure
    int Duration;
    int Flags = 0;
    std::vector<int> Pitches = {67};
  };
  struct Case {
    const char* name;
    std::vector<Stored> notes;
    bool drums = false;
  };
  const Case cases[] = {
      {"a triplet group whose last note is played late",
       {{0, 32}, {35, 4}, {43, 32, nteTriplet}, {63, 4, 0, {64}}}},
      {"a lone thirty-second with its flag", {{0, 32}, {32, 16}, {62, 2, 0, {64}}}},
      {"a sixty-fourth on ledger lines", {{0, 32}, {32, 16}, {63, 1, 0, {84}}}},
      {"a dotted sixteenth", {{0, 32}, {32, 16}, {58, 4, nteDot}}},
      {"a second, one head beside the stem", {{0, 32}, {32, 16}, {60, 4, 0, {64, 65}}}},
      {"a thirty-second rest", {{0, 32}, {32, 16}, {48, 8}, {56, 4}}},
      {"two bass drums on one place, one head beside the stem",
       {{0, 32, 0, {38}}, {32, 16, 0, {38}}, {60, 4, 0, {35, 36}}},
       true},
  };
  const auto instrument = staff->Voice(1)->Instrument();
  ASSERT_TRUE(instrument);
  const int category = instrument->Category();
  constexpr int kNarrow = 1000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VoiceNotes().RemoveSpan(0, 1 << 20);
    instrument->SetCategory(Internal{}, c.drums ? catDrums : category);
    for (const Stored& n : c.notes)
      for (const int pitch : n.Pitches) VoiceNotes().Add(64 + n.Time, pitch, n.Duration, n.Flags);
    Draw(2, 0, 1, 1, true, kNarrow);
    const int bar = kLeft + 2 * kNarrow;
    int drawn = 0;
    for (const SurfaceOp& op : surface.Ops()) {
      const bool glyph = op.What == SurfaceOp::Kind::Text && op.Font.Name == "Veltrimond";
      const bool ledger = op.What == SurfaceOp::Kind::Line && op.Points[0].Y == op.Points[1].Y;
      if ((!glyph && !ledger) || op.Points[0].X <= kLeft + kNarrow) continue;
      const int right =
          glyph ? GlyphInk(op.Text, op.Points[0].X, op.Points[0].Y, EmTwips(op.Font)).Right
                : std::max(op.Points[0].X, op.Points[1].X);
      EXPECT_LE(right, bar - S / 4) << op;
      ++drawn;
    }
    EXPECT_GT(drawn, 3);
  }
  instrument->SetCategory(Internal{}, category);
}

// A lone short note's flag reaches right of its head: the next note stands clear of it.
TEST_F(StaffSystem, AFlagKeepsOffTheNextNote) {
  VoiceNotes().Add(0, 67, durHalf, 0);
  VoiceNotes().Add(32, 64, durThirtySecond, 0);  // up stem, a flag: the quarter after it
  VoiceNotes().Add(34, 64, durQuarter, 0);       // ends its beam group
  Draw(1, 0, 1, 1, true, 4000);
  const auto flags = Glyphs(glyph::FlagThirtySecondUp);
  ASSERT_EQ(flags.size(), 1u);
  const SurfaceOp& flag = flags[0];
  const int flagRight =
      GlyphInk(flag.Text, flag.Points[0].X, flag.Points[0].Y, EmTwips(flag.Font)).Right;
  const int next = VoiceNotes().ByIndex(3)->X();
  EXPECT_LE(flagRight, next);
}

TEST_F(StaffSystem, AMeasureRepeatingTheOneBeforeShowsOnlyItsSign) {
  VoiceNotes().Add(0, 67, durWhole, 0);
  VoiceNotes().Add(64, 67, durWhole, 0);
  staff->GlobalEvents().Add(64, evtSectionDefine, sctRepeatMeasure, 0);
  staff->GlobalEvents().Add(64, evtClefChange, clfBass);
  Draw(2);
  ASSERT_EQ(Glyphs(glyph::RepeatMeasure).size(), 1u);
  const SurfaceOp sign = Glyphs(glyph::RepeatMeasure).front();
  EXPECT_GT(sign.Points[0].X, kLeft + kMeasure);
  EXPECT_EQ(Glyphs(glyph::WholeNote).size(), 1u);  // measure 1 only
  EXPECT_TRUE(Glyphs(glyph::BassClef).empty());
  EXPECT_TRUE(Glyphs(glyph::WholeRest).empty());
}

TEST_F(StaffSystem, EndBarsStandRightAlignedAndNarrowTheMeasure) {
  score.AllGlobals().Add(0, evtRepeatEnd);
  score.AllGlobals().Add(0, evtSectionEnd);
  VoiceNotes().Add(32, 67, durHalf, 0);
  Draw(1);
  dc.SelectFont(DrawContext::kMusicFont);
  const auto repeatEnd = Texts({std::string(glyph::RepeatEndBar)});
  const auto sectionEnd = Glyphs(glyph::DoubleBar);
  ASSERT_EQ(repeatEnd.size(), 1u);
  ASSERT_EQ(sectionEnd.size(), 1u);
  const int right = kLeft + kMeasure;
  EXPECT_EQ(repeatEnd[0].Points[0].X, Snap(right - Width(glyph::RepeatEndBar)));
  EXPECT_EQ(sectionEnd[0].Points[0].X,
            Snap(right - Width(glyph::RepeatEndBar) - Width(std::string(1, glyph::DoubleBar))));
  // No plain bar line at the right edge.
  for (const SurfaceOp& op : Lines()) EXPECT_FALSE(op.Points[0].X == right && op.Points[1].X == right);
  // The half note after the half rest is spaced within the width left of both signs.
  const int inner = kMeasure - Width(glyph::RepeatEndBar) - Width(std::string(1, glyph::DoubleBar));
  const int offset = 576 + 403 + 144 + 72;
  const int tpu = TwipsPerUnit(inner, offset);
  EXPECT_EQ(VoiceNotes().ByIndex(1)->X(), SnapX(32 * tpu + kLeft + offset + 2 * tpu));
}

TEST_F(StaffSystem, LyricsCentreOnTheirNotesWithHyphensBetweenSyllables) {
  staff->SetVerses(Internal{}, 2);
  staff->SetLyricOffset(Internal{}, 360);
  for (int t : {0, 16, 32, 48}) VoiceNotes().Add(t, 67, durQuarter, 0);
  // Verse 1: "hap-" "py" " day " and nothing; verse 2: "all" then "a-" and no syllable after.
  staff->GlobalEvents().Add(0, evtLyric, 0, 0, "hap-\rall");
  staff->GlobalEvents().Add(16, evtLyric, 0, 0, "py\ra-");
  staff->GlobalEvents().Add(32, evtLyric, 0, 0, " day ");
  Draw(1);
  const auto x = [&](int i) { return VoiceNotes().ByIndex(i)->X(); };
  const int line1 = kBottomLine + 360;
  const int line2 = line1 + 225;
  auto at = [&](const char* text) {
    const auto found = Texts({text});
    EXPECT_FALSE(found.empty()) << text;
    return found.empty() ? SurfacePoint{} : found.front().Points[0];
  };
  // Arial 8 on the recording surface: 80 twips a character, a cell 184 high.
  EXPECT_EQ(at("hap"), (SurfacePoint{Snap(x(1) - 120), Snap(line1)}));
  EXPECT_EQ(at("py"), (SurfacePoint{Snap(x(2) - 80), Snap(line1)}));
  // Spaces around a syllable without a hyphen are kept.
  EXPECT_EQ(at(" day "), (SurfacePoint{Snap(x(3) - 200), Snap(line1)}));
  EXPECT_EQ(at("all"), (SurfacePoint{Snap(x(1) - 120), Snap(line2)}));
  EXPECT_EQ(at("a"), (SurfacePoint{Snap(x(2) - 40), Snap(line2)}));
  // Hyphens: midway between "hap" and "py"; after "a" towards the right edge at each
  // following note that has no syllable in its verse.
  const auto hyphens = Texts({"-"});
  ASSERT_EQ(hyphens.size(), 3u);
  EXPECT_EQ(hyphens[0].Points[0], (SurfacePoint{Snap(x(1) + (x(2) - x(1)) / 2 - 40), Snap(line1)}));
  const int towardsEnd = x(2) + (kLeft + kMeasure - x(2)) / 2 - 40;
  EXPECT_EQ(hyphens[1].Points[0], (SurfacePoint{Snap(towardsEnd), Snap(line2)}));
  EXPECT_EQ(hyphens[2].Points[0], hyphens[1].Points[0]);
  EXPECT_EQ(Texts({"hap-"}).size(), 0u);
}

TEST_F(StaffSystem, MeasureNumbersSkipCodasAndEndingsAndCountThem) {
  score.SetNumberMeasures(true);
  score.SetNumberPos(4);  // centred below the staff
  score.AllGlobals().Add(64, evtSectionDefine, sctCoda);
  Draw(3);
  EXPECT_EQ(Texts({"2"}).size(), 0u);
  ASSERT_EQ(Texts({"1"}).size(), 1u);
  ASSERT_EQ(Texts({"3"}).size(), 1u);
  const SurfaceOp three = Texts({"3"}).front();
  EXPECT_EQ(three.Points[0], (SurfacePoint{Snap(kLeft + 2 * kMeasure + (kMeasure - 80) / 2),
                                           Snap(kY + 6 * S)}));
  EXPECT_EQ(three.Font.Size, 8.0f);
}

TEST_F(StaffSystem, AccidentalsHoldUntilTheBarLine) {
  for (int t : {0, 16, 64}) VoiceNotes().Add(t, 78, durQuarter, 0);  // F#5 three times
  Draw(2);
  const auto sharps = Glyphs(glyph::Sharp);
  ASSERT_EQ(sharps.size(), 2u);  // once in each measure
  EXPECT_LT(sharps[0].Points[0].X, kLeft + kMeasure);
  EXPECT_GT(sharps[1].Points[0].X, kLeft + kMeasure);
}

TEST_F(StaffSystem, KeyAndTimeChangesInOneMeasureStandSideBySide) {
  staff->GlobalEvents().Add(64, evtKeyChange, 3);     // A major from measure 2
  score.AllGlobals().Add(64, evtTimeChange, 3, 16);  // and 3/4
  VoiceNotes().Add(64, 67, durQuarter, 0);
  Draw(2);
  const auto sharps = Glyphs(glyph::Sharp);
  ASSERT_EQ(sharps.size(), 3u);
  const auto three = Texts({"3"});
  ASSERT_EQ(three.size(), 1u);
  // The time signature follows the last sharp; the note follows both.
  const int keyEnd = sharps.back().Points[0].X + Width(std::string(1, glyph::Sharp));
  EXPECT_GE(three[0].Points[0].X, keyEnd);
  EXPECT_GT(VoiceNotes().ByIndex(1)->X(), three[0].Points[0].X + Width("3"));
  EXPECT_GE(dc.Symbols().ShiftOf(1).Width, keyEnd - (kLeft + kMeasure) + static_cast<int>(0.7 * L));
}

TEST_F(StaffSystem, ARepeatBeginsAfterTheKeyChangeAtItsMeasure) {
  staff->GlobalEvents().Add(64, evtKeyChange, 2);
  score.AllGlobals().Add(64, evtRepeatBegin);
  VoiceNotes().Add(64, 67, durQuarter, 0);
  Draw(2);
  const auto sharps = Glyphs(glyph::Sharp);
  const auto repeats = Texts({std::string(glyph::RepeatBeginBar)});
  ASSERT_EQ(sharps.size(), 2u);
  ASSERT_EQ(repeats.size(), 1u);
  EXPECT_GE(repeats[0].Points[0].X, sharps.back().Points[0].X + Width(std::string(1, glyph::Sharp)));
  EXPECT_GT(VoiceNotes().ByIndex(1)->X(), repeats[0].Points[0].X + Width(glyph::RepeatBeginBar));
}

TEST_F(StaffSystem, EachHalfOfAGrandStaffFillsItsOwnRests) {
  // The right hand plays through both measures; the left hand only in the second.
  staff->SetDefaultClef(clfGrand);
  for (int t = 0; t < 128; t += 16) VoiceNotes().Add(t, 72, durQuarter, 0);
  VoiceNotes().Lookup(64)->AddValue(48);  // a chord in both hands at 64
  Draw(2, 0, 2);
  // The lower staff rests through measure 1, and after its one quarter in measure 2.
  const auto whole = Glyphs(glyph::WholeRest);
  ASSERT_EQ(whole.size(), 1u);
  EXPECT_LT(whole[0].Points[0].X, kLeft + kMeasure);
  const auto halves = Glyphs(glyph::HalfRest);
  const auto quarters = Glyphs(glyph::QuarterRest);
  ASSERT_EQ(halves.size() + quarters.size(), 2u);
  for (const auto& rest : {halves, quarters})
    for (const SurfaceOp& op : rest) EXPECT_GT(op.Points[0].X, kLeft + kMeasure);
  // The upper staff, busy throughout, shows none.
  Draw(2, 0, 1);
  EXPECT_TRUE(Glyphs(glyph::WholeRest).empty());
  EXPECT_TRUE(Glyphs(glyph::QuarterRest).empty());
}

TEST_F(StaffSystem, AClefChangeInsideAMeasureStandsBeforeTheNotesItChanges) {
  // Two Cs below middle C, the second after a change to the bass clef on the third beat.
  VoiceNotes().Add(0, 48, durHalf, 0);
  VoiceNotes().Add(32, 48, durHalf, 0);
  staff->GlobalEvents().Add(32, evtClefChange, clfBass);
  Draw(2);
  const auto clefs = Glyphs(glyph::BassClef);
  ASSERT_EQ(clefs.size(), 1u);
  const Note& before = *VoiceNotes().ByIndex(1);
  const Note& after = *VoiceNotes().ByIndex(2);
  // The clef stands between the two notes, clear of the second.
  EXPECT_GT(clefs[0].Points[0].X, before.X());
  EXPECT_LE(clefs[0].Points[0].X + Width(std::string(1, glyph::BassClef)), after.X());
  // The first C is drawn in the treble clef, below the staff; the second in the bass clef,
  // in its second space.
  AccidentalMemory memory;
  EXPECT_EQ(before.Y(), static_cast<int>(kY + SpellPitch(48, clfTreble, 0, memory).Y * S + 0.5));
  EXPECT_EQ(after.Y(), static_cast<int>(kY + SpellPitch(48, clfBass, 0, memory).Y * S + 0.5));
  EXPECT_LT(after.Y(), before.Y());
  // The change holds on in the next measure.
  VoiceNotes().Add(64, 48, durHalf, 0);
  Draw(2);
  EXPECT_EQ(VoiceNotes().ByIndex(3)->Y(), after.Y());
  // Nothing of the measure reaches its bar line.
  EXPECT_LT(after.X() + Width(std::string(1, glyph::HalfHead)), kLeft + kMeasure);
}

}  // namespace
}  // namespace notecraft

namespace notecraft {
namespace {

// A beat ending in a run of 32nds or 64ths, after longer notes: successive heads stand at
// least a head (and the accidental before the later one) apart, and the run still ends
// inside the bar line; the quarter notes before the run keep their proportional places.
TEST_F(StaffSystem, FastRunsAtABeatsEndGetTheRoomTheirGlyphsNeed) {
  Notes& notes = VoiceNotes();
  notes.Add(0, 72, durHalf, 0);
  notes.Add(32, 74, durEighth, nteDot);
  notes.Add(44, 76, 2, 0);
  notes.Add(46, 77, 2, 0);
  notes.Add(48, 79, durEighth, 0);
  const int fast[] = {61, 63, 66, 68, 70, 73, 75, 78};  // all sharps
  for (int k = 0; k < 8; ++k) notes.Add(56 + k, fast[k], 1, 0);
  // As wide as the system's layout makes it: a staff height for every note position.
  const int width = 13 * L;
  Draw(1, 0, 1, 1, true, width);

  const int head = Width(std::string(1, glyph::FilledHead));
  std::vector<int> xs;
  for (int k = 1; k <= notes.Count(); ++k) xs.push_back(notes.ByIndex(k)->X());
  for (std::size_t k = 1; k < xs.size(); ++k) {
    EXPECT_GE(xs[k] - xs[k - 1], head) << "note " << k + 1;
  }
  // Every sign (drawn right after its head) stands clear of the head before its own.
  int signs = 0;
  std::vector<int> headXs;
  for (const SurfaceOp& op : surface.Ops(SurfaceOp::Kind::Text)) {
    if (op.Text == std::string(1, glyph::FilledHead)) headXs.push_back(op.Points[0].X);
    if (op.Text != "#" && op.Text != "b" && op.Text != "n") continue;
    ++signs;
    ASSERT_FALSE(headXs.empty());
    EXPECT_LT(op.Points[0].X, headXs.back());
    if (headXs.size() >= 2) {
      EXPECT_GE(op.Points[0].X, headXs[headXs.size() - 2] + head);
    }
  }
  EXPECT_GE(signs, 8);
  EXPECT_LE(xs.back() + head, kLeft + width);
  // The half and the dotted eighth do not collide: they keep the proportional distance.
  EXPECT_NEAR(xs[1] - xs[0], 32 * (xs[2] - xs[1]) / 12, 3 * kPx);
}

}  // namespace
}  // namespace notecraft
