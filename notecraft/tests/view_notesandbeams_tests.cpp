// Notes, stems, flags and beams on a recording surface: where heads, stems, accidentals
// and ledger lines land for pitches in keys and clefs, the stem direction rules, seconds,
// articulations and ornaments, and beam groups.
#include "notecraft/view/notesandbeams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/note.h"
#include "notecraft/view/measureframe.h"
#include "notecraft/view/ink.h"
#include "view_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

constexpr int kLeft = 1500, kPad = 300, kTwipsPerUnit = 45;
// A note at 64th t of the measure stands at this x (whole pixels).
constexpr int NoteX(int t) { return (t * kTwipsPerUnit + kLeft + kPad) / kPx * kPx; }

const std::string kFilled = "\xCF";
const std::vector<std::string_view> kHeads = {"\xCF", "\xCF .", "\xFA", "w", "\xC0"};
const std::vector<std::string_view> kAccidentals = {"#", "b", "n", "\xDC", "bb"};
const std::vector<std::string_view> kStems = {"\\", "|"};

class NotesTest : public ViewFixture {
protected:
  NotesTest() {
    frame.Start = 0;
    frame.Duration = 64;
    frame.Left = kLeft;
    frame.Width = 3600;
    frame.Y = kY;
    frame.TwipsPerUnit = kTwipsPerUnit;
    frame.Pad = kPad;
  }
  // A note that belongs to no voice, as the drawer sees one.
  Note& Make(std::vector<int> pitches, int duration = durQuarter, int flags = 0, int time = 0) {
    notes.push_back(std::make_unique<Note>());
    Note& n = *notes.back();
    for (int p : pitches) n.AddValue(p);
    n.SetDuration(Internal{}, duration);
    n.SetFlags(Internal{}, flags);
    n.SetNoteTime(Internal{}, time);
    return n;
  }
  Note& Draw(std::vector<int> pitches, int duration = durQuarter, int flags = 0, int time = 0,
             int clef = clfTreble, int key = 0) {
    Note& n = Make(std::move(pitches), duration, flags, time);
    DrawNote(dc, n, frame, clef, key, 1, 0);
    return n;
  }
  // The anchor y of a head k line spaces below the bottom line, as drawn.
  static int HeadY(double k) { return Snap(StepY(k)); }
  static int LedgerY(int k) { return kBottomLine + k * S; }

  MeasureFrame frame;
  std::vector<std::unique_ptr<Note>> notes;
};

TEST_F(NotesTest, HeadsAccidentalsLedgersAndStemsForPitchesKeysAndClefs) {
  struct Case {
    const char* name;
    int pitch, key, clef;
    double step;            // head's line spaces below the bottom line
    std::string accidental; // empty: none
    std::vector<int> ledgers;
    bool up;
  };
  const Case cases[] = {
      {"E4 on the bottom line", 64, 0, clfTreble, 0, "", {}, true},
      {"A4 just below the middle line", 69, 0, clfTreble, -1.5, "", {}, true},
      {"B4 on the middle line", 71, 0, clfTreble, -2, "", {}, false},
      {"middle C on a ledger line below", 60, 0, clfTreble, 1, "", {1}, true},
      {"D4 under the staff", 62, 0, clfTreble, 0.5, "", {}, true},
      {"A3 two ledger lines below", 57, 0, clfTreble, 2, "", {1, 2}, true},
      {"A5 on a ledger line above", 81, 0, clfTreble, -5, "", {-5}, false},
      {"B5 above it", 83, 0, clfTreble, -5.5, "", {-5}, false},
      {"C6 two ledger lines above", 84, 0, clfTreble, -6, "", {-6, -5}, false},
      {"C sharp in C major", 61, 0, clfTreble, 1, "#", {1}, true},
      {"G flat in F major", 66, -1, clfTreble, -1, "b", {}, true},
      {"B natural in F major", 71, -1, clfTreble, -2, "n", {}, false},
      {"B flat in F major is in the key", 70, -1, clfTreble, -2, "", {}, false},
      {"G natural in E major, not F double sharp", 67, 4, clfTreble, -1, "n", {}, true},
      {"C flat in G flat major, in its own octave", 59, -6, clfTreble, 1, "", {1}, true},
      {"B sharp in C sharp major, in its own octave", 60, 7, clfTreble, 1.5, "", {1}, true},
      {"G2 on the bass clef's bottom line", 43, 0, clfBass, 0, "", {}, true},
      {"middle C above the bass staff", 60, 0, clfBass, -5, "", {-5}, false},
      {"middle C on the alto middle line", 60, 0, clfAlto, -2, "", {}, false},
      {"middle C on the tenor fourth line", 60, 0, clfTenor, -3, "", {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    surface.ClearRecord();
    dc.Symbols().Accidentals.Clear();
    Note& note = Draw({c.pitch}, durQuarter, 0, 16, c.clef, c.key);
    const int x = NoteX(16);
    const int y = HeadY(c.step);

    const auto heads = Texts(kHeads);
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(heads[0].Points[0], (SurfacePoint{x, y}));

    const auto accidentals = Texts(kAccidentals);
    if (c.accidental.empty()) {
      EXPECT_TRUE(accidentals.empty());
    } else {
      ASSERT_EQ(accidentals.size(), 1u);
      EXPECT_EQ(accidentals[0].Text, c.accidental);
      // 15 twips before the head, or before the ledger line the sign would meet.
      const int ledger = c.ledgers.empty() ? 0 : 60;
      EXPECT_EQ(accidentals[0].Points[0],
                (SurfacePoint{Snap(x - ledger - Width(c.accidental) - 15), y}));
    }

    std::vector<int> ledgerYs;
    for (const auto& line : Lines()) {
      EXPECT_EQ(line.Points[0].X, x - 60);
      EXPECT_EQ(line.Points[1].X, x + S + 60);
      EXPECT_EQ(line.Color, dc.ColorNotes());
      ledgerYs.push_back(line.Points[0].Y);
    }
    std::vector<int> expected;
    for (int k : c.ledgers) expected.push_back(LedgerY(k));
    EXPECT_EQ(ledgerYs, expected);

    const auto stems = Texts(kStems);
    ASSERT_EQ(stems.size(), 1u);
    EXPECT_EQ(stems[0].Text, c.up ? "\\" : "|");
    EXPECT_EQ(stems[0].Points[0], (SurfacePoint{x, y}));

    EXPECT_EQ(note.X(), x);
    EXPECT_EQ(note.Up(), c.up);
    EXPECT_EQ(note.Y(), StepY(c.step));
  }
}

TEST_F(NotesTest, LedgerLinesFollowAScaledStaff) {
  // At half size the bottom line is two full-size spaces above where the unscaled staff
  // height would put it; ledger lines stay on the scaled staff's lines.
  dc.SetStaffScale(0.5f);
  dc.SelectFont(DrawContext::kMusicFont);
  dc.SetStaffUnit(72);
  surface.ClearRecord();
  frame.Y = kTop - dc.GlyphBaseline();
  Draw({84});  // C6: step -6
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Points[0].Y, kTop + 4 * 72 - 6 * 72);
  EXPECT_EQ(lines[1].Points[0].Y, kTop + 4 * 72 - 5 * 72);
}

// A drum voice stores the General MIDI notes it plays; the kit stands in its customary
// places on the staff, with stems up as under the percussion clef.
TEST_F(NotesTest, DrumKitNotesStandInTheirPlacesOnTheDrumStaff) {
  struct Case {
    const char* name;
    int note;
    double step;  // line spaces below the bottom line
  };
  const Case cases[] = {
      {"bass drum in the bottom space", 36, -0.5},   {"acoustic bass drum too", 35, -0.5},
      {"snare in the third space", 38, -2.5},        {"side stick with the snare", 37, -2.5},
      {"floor tom in the second space", 43, -1.5},   {"low floor tom on the second line", 41, -1},
      {"high tom in the fourth space", 50, -3.5},    {"mid tom on the fourth line", 48, -3},
      {"ride on the top line", 51, -4},              {"closed hi-hat above the staff", 42, -4.5},
      {"open hi-hat above the staff", 46, -4.5},     {"crash on the ledger line above", 49, -5},
      {"pedal hi-hat below the staff", 44, 0.5},     {"a bongo on the middle line", 60, -2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    surface.ClearRecord();
    dc.Symbols().Accidentals.Clear();
    dc.Symbols().StemMode = 0;
    Note& drum = Make({c.note});
    DrawNote(dc, drum, frame, clfPercussion, 0, 0, 140);
    const auto heads = Texts({"\xC0"});
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(heads[0].Points[0].Y, HeadY(c.step));
    EXPECT_TRUE(Texts(kAccidentals).empty());
    EXPECT_TRUE(drum.Up());
  }
}

TEST_F(NotesTest, DottedHeadsAndPercussionHeads) {
  Draw({64}, durHalf, nteDot);
  Draw({64}, durWhole);
  EXPECT_EQ(surface.Texts()[0], "\xFA .");  // head and dot in one string
  EXPECT_EQ(Texts({"w"}).size(), 1u);

  surface.ClearRecord();
  Note& drum = Make({61, 64});
  DrawNote(dc, drum, frame, clfBass, 0, 0, 140);  // a drum voice: no accidentals
  EXPECT_EQ(Texts({"\xC0"}).size(), 2u);
  EXPECT_TRUE(Texts(kAccidentals).empty());

  surface.ClearRecord();
  dc.Symbols().Accidentals.Clear();  // a new measure
  Note& percussion = Draw({61}, durQuarter, 0, 0, clfPercussion);  // accidentals still shown
  EXPECT_EQ(Texts({"\xC0"}).size(), 1u);
  EXPECT_EQ(Texts({"#"}).size(), 1u);
  EXPECT_TRUE(percussion.Up());  // a percussion clef forces stems up
  EXPECT_NE(dc.Symbols().StemMode & SymbolState::kStemUp, 0);
}

TEST_F(NotesTest, ChordsPutSecondsBesideTheStem) {
  struct Case {
    const char* name;
    std::vector<int> pitches;
    bool up;
    std::vector<int> shifts;  // each head's x less the note's, from the highest down
  };
  const Case cases[] = {
      {"C-E-G up: one side", {60, 64, 67}, true, {0, 0, 0}},
      {"C-D up: D right of the stem", {60, 62}, true, {S, 0}},
      {"C-D-E up: D right", {60, 62, 64}, true, {0, S, 0}},
      {"B-C down: B left of the stem", {71, 72}, false, {0, -S}},
      {"G-A-B down: A left", {79, 81, 83}, false, {0, -S, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    surface.ClearRecord();
    Note& note = Draw(c.pitches);
    EXPECT_EQ(note.Up(), c.up);
    const auto heads = Texts(kHeads);
    ASSERT_EQ(heads.size(), c.shifts.size());
    for (std::size_t i = 0; i < heads.size(); ++i)
      EXPECT_EQ(heads[i].Points[0].X, Snap(NoteX(0) + c.shifts[i])) << "head " << i;
  }
}

TEST_F(NotesTest, AnAccidentalOnADisplacedDownStemHeadStandsBeforeIt) {
  Note& note = Draw({70, 71});  // A sharp under B, stem down: A sharp moves left of the stem
  ASSERT_FALSE(note.Up());
  const auto sharp = Texts({"#"});
  ASSERT_EQ(sharp.size(), 1u);
  EXPECT_EQ(sharp[0].Points[0].X, Snap(NoteX(0) - S - Width("#") - 15));
}

// Signs and ledger lines of chords that reach beyond the staff: every ledger line runs
// under every head, a head beside the stem too, and no sign meets a ledger line.
TEST_F(NotesTest, SignsStandClearOfTheLedgerLinesWhichRunUnderEveryHead) {
  struct Case {
    const char* name;
    std::vector<int> pitches;
    int key;
    std::size_t signs, ledgers;
  };
  const Case cases[] = {
      {"a sharp on middle C's ledger line", {61}, 0, 1, 1},
      {"a natural beside a down stem, B under C above the staff in F major", {83, 84}, -1, 1, 2},
      {"a sharp in the space under the staff beside middle C", {60, 63}, 0, 1, 1},
      {"a flat and a natural a second apart below the staff", {56, 58}, -2, 1, 2},
  };
  auto box = [](const SurfaceOp& op) {
    RecordingSurface probe;
    probe.SetFont(op.Font);
    return TextInk(probe, op.Text, op.Points[0].X, op.Points[0].Y);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    surface.ClearRecord();
    dc.Symbols().Accidentals.Clear();
    Draw(c.pitches, durQuarter, 0, 16, clfTreble, c.key);
    const auto signs = Texts(kAccidentals);
    const auto lines = Lines();
    ASSERT_EQ(signs.size(), c.signs);
    ASSERT_EQ(lines.size(), c.ledgers);
    for (const SurfaceOp& line : lines) {
      for (const SurfaceOp& head : Texts(kHeads)) {
        const InkArea ink = box(head);
        EXPECT_LT(line.Points[0].X, ink.Left);
        EXPECT_GT(line.Points[1].X, ink.Right);
      }
      for (const SurfaceOp& sign : signs) {
        const InkArea ink = box(sign);
        const bool across = ink.Top <= line.Points[0].Y && ink.Bottom >= line.Points[0].Y;
        EXPECT_FALSE(across && ink.Right >= line.Points[0].X)
            << "'" << sign.Text << "' reaches " << ink.Right << ", the line starts at "
            << line.Points[0].X;
      }
    }
  }
}

TEST_F(NotesTest, TheChordsTopHeadDecidesAndStemsRunThroughEveryHead) {
  // C4 to C6 with the top above the middle line: down; the stem repeats every three spaces
  // from the top head to the bottom head.
  Note& note = Draw({60, 84});
  EXPECT_FALSE(note.Up());
  EXPECT_EQ(note.Y(), StepY(-6));  // the top head for a down stem
  std::vector<int> stemYs;
  for (const auto& op : Texts(kStems)) stemYs.push_back(op.Points[0].Y);
  EXPECT_EQ(stemYs, (std::vector<int>{HeadY(-6), HeadY(-3), HeadY(0), HeadY(1)}));

  surface.ClearRecord();
  Note& low = Draw({60, 67});
  EXPECT_TRUE(low.Up());
  EXPECT_EQ(low.Y(), StepY(1));  // the bottom head for an up stem
}

TEST_F(NotesTest, ForcedStemsAndSharedStaves) {
  struct Case {
    const char* name;
    int flags, stemMode;
    bool up, multiVoiceSet, multiVoice;
  };
  const Case cases[] = {
      {"forced up on the top line", nteForceUp, 0, true, false, false},
      {"forced down on the bottom line", nteForceDown, 0, false, false, false},
      {"upper voice of a shared staff", 0, SymbolState::kSharedStaves | SymbolState::kStemUp,
       true, true, true},
      {"lower voice of a shared staff", 0, SymbolState::kSharedStaves | SymbolState::kStemDown,
       false, true, false},
      {"stems forced up, staff not shared", 0, SymbolState::kStemUp, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dc.Symbols().StemMode = c.stemMode;
    Note& note = Make({c.flags == nteForceUp ? 77 : 64}, durQuarter, c.flags);
    note.SetMultiVoice(!c.multiVoice);
    DrawNote(dc, note, frame, clfTreble, 0, 1, 0);
    EXPECT_EQ(note.Up(), c.up);
    if (c.multiVoiceSet) EXPECT_EQ(note.MultiVoice(), c.multiVoice);
    else EXPECT_EQ(note.MultiVoice(), !c.multiVoice);
    EXPECT_EQ(note.Flags(), c.flags);  // the stored flags are not touched
  }
}

TEST_F(NotesTest, APendingBeamGroupKeepsItsDirection) {
  // The first eighth (bottom line) starts an up group; the second, high and forced down,
  // follows it.
  Note& first = Draw({64}, durEighth, 0, 0);
  Note& second = Draw({84}, durEighth, nteForceDown, 8);
  EXPECT_TRUE(first.Up());
  EXPECT_TRUE(second.Up());
  EXPECT_TRUE(dc.Symbols().BeamUp);
  EXPECT_EQ(dc.Symbols().Beam.size(), 2u);

  // A quarter closes the group and decides for itself.
  Note& quarter = Draw({84}, durQuarter, 0, 16);
  EXPECT_FALSE(quarter.Up());
  EXPECT_TRUE(dc.Symbols().Beam.empty());
}

TEST_F(NotesTest, ATripletStartedInsideABeamGroupKeepsTheGroupsDirection) {
  Draw({64}, durEighth, 0, 0);                          // an up beam group
  Note& t1 = Draw({84}, durEighth, nteTriplet, 8);     // joins it: up
  BeamGeometry(dc);                                      // the beat ends
  Note& t2 = Draw({84}, durQuarter, nteTriplet, 16);   // high, but the triplet's direction
  Note& t3 = Draw({86}, durQuarter, nteTriplet, 24);
  EXPECT_TRUE(t1.Up());
  EXPECT_TRUE(t2.Up());
  EXPECT_TRUE(t3.Up());
  // The third note draws the bracket from the first note's x to the third's right edge.
  EXPECT_EQ(dc.Symbols().TripletCount, 3);
  EXPECT_EQ(Texts({"3"}).size(), 1u);
  std::vector<SurfaceOp> bracket;
  for (const SurfaceOp& line : Lines())
    if (line.Points[0].Y == kY && line.Points[1].Y == kY) bracket.push_back(line);
  ASSERT_EQ(bracket.size(), 2u);
  EXPECT_EQ(bracket.front().Points[0].X, NoteX(8) + kPx);
  EXPECT_EQ(bracket.back().Points[1].X, NoteX(24) + S + kPx);
}

TEST_F(NotesTest, ArticulationsAndOrnaments) {
  struct Case {
    const char* name;
    int pitch, duration, flags;
    std::string glyph;  // empty: none drawn
    int dx;
    int y;  // the mark's anchor
  };
  const int sixth = StepY(-2.5);  // C5, third space: down stem
  const Case cases[] = {
      {"staccato under an up-stem note", 64, durQuarter, nteStacato, ".", S / 2, StepY(0) + S},
      {"accent under an up-stem note", 64, durQuarter, nteAccent, "-", 0, StepY(0) + S},
      {"strong accent under an up-stem note", 64, durQuarter, nteAccent2, ">", 0, StepY(0) + 2 * S},
      {"staccato over a down-stem note", 72, durQuarter, nteStacato, ".", S / 2, sixth - S},
      {"down-bow over the staff", 72, durQuarter, nteBowDown, "\xB3", 0, StepY(-5)},
      {"up-bow", 72, durQuarter, nteBowUp, "v", 0, StepY(-5)},
      {"half mordent", 72, durQuarter, nteHalfMordent, "M", -S / 2, StepY(-5)},
      {"mordent", 72, durQuarter, nteMordent, "m", -S / 2, StepY(-5)},
      {"trill", 72, durQuarter, nteTrill, "`", 0, StepY(-5)},
      {"turn", 72, durQuarter, nteTurn, "T", -S / 2, StepY(-5)},
      {"fermata over a down-stem note", 72, durQuarter, nteFermata, "U", -S / 2, StepY(-5)},
      {"fermata under an up-stem note", 64, durQuarter, nteFermata, "u", -S / 2, StepY(0) + S},
      {"fermata under a low up-stem note", 57, durQuarter, nteFermata, "u", -S / 2, StepY(2) + S},
      {"ornament above a high down-stem note", 84, durQuarter, nteTrill, "`", 0, StepY(-6) - S},
      {"ornament above an up-stem note in the staff", 67, durQuarter, nteTrill, "`", 0,
       StepY(-1) - 4 * S},
      {"a whole note takes no ornament", 72, durWhole, nteFermata, "", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    surface.ClearRecord();
    surface.SetForeColor(dc.ColorLight());  // a voice in the lighter colour
    Draw({c.pitch}, c.duration, c.flags);
    std::vector<SurfaceOp> marks;
    for (const auto& op : Texts())
      if (op.Text != kFilled && op.Text != "w" && op.Text != "\\" && op.Text != "|") marks.push_back(op);
    if (c.glyph.empty()) {
      EXPECT_TRUE(marks.empty());
      continue;
    }
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].Text, c.glyph);
    EXPECT_EQ(marks[0].Points[0], (SurfacePoint{Snap(NoteX(0) + c.dx), Snap(c.y)}));
    const bool ornament = !(c.flags & (nteStacato | nteAccent | nteAccent2));
    // Ornaments in ColorBars, after which the notes colour stays for the stem; articulations
    // in the voice's colour.
    EXPECT_EQ(marks[0].Color, ornament ? dc.ColorBars() : dc.ColorLight());
    EXPECT_EQ(Texts(kStems).at(0).Color, ornament ? dc.ColorNotes() : dc.ColorLight());
  }
}

TEST_F(NotesTest, ChangeShiftsMoveNotesFromTheirTime) {
  frame.Index = 3;
  dc.Symbols().SetShift(3, 16, 450);
  Note& before = Draw({64}, durQuarter, 0, 0);
  Note& after = Draw({64}, durQuarter, 0, 16);
  EXPECT_EQ(before.X(), NoteX(0));
  EXPECT_EQ(after.X(), NoteX(16) + 450);
}

TEST_F(NotesTest, GrandStaffHalvesDrawTheirOwnPitches) {
  Note& chord = Make({48, 55, 64, 67});
  DrawNote(dc, chord, frame, clfTreble, 0, 1, 60);
  EXPECT_EQ(Texts(kHeads).size(), 2u);
  surface.ClearRecord();
  DrawNote(dc, chord, frame, clfBass, 0, 2, 60);
  EXPECT_EQ(Texts(kHeads).size(), 2u);
  EXPECT_EQ(Texts(kHeads)[0].Points[0].Y, HeadY(-3.5));  // G3 in the bass clef's top space
}

// --- Beams and flags ---

// A beam is a band half a space thick; levels stand a quarter space apart.
constexpr int kBeamStep = S / 2 + S / 4;

class Beams : public NotesTest {
protected:
  std::vector<SurfaceOp> BeamBands() const { return surface.Ops(SurfaceOp::Kind::Polygon); }
};

TEST_F(Beams, ALoneShortNoteGetsItsFlag) {
  struct Case {
    const char* name;
    int pitch, duration;
    std::string flag;
    int y;
  };
  const Case cases[] = {
      {"eighth up, at its head", 64, durEighth, "j", HeadY(0)},
      {"eighth down", 77, durEighth, "J", HeadY(-4)},
      {"sixteenth down, at its bottom head", 77, durSixteenth, "K", HeadY(-4)},
      {"sixteenth up", 64, durSixteenth, "k", HeadY(0)},
      {"thirty-second up", 64, durThirtySecond, "r", HeadY(0)},
      {"thirty-second down", 77, durThirtySecond, "R", HeadY(-4)},
      {"sixty-fourth: the shortest flag", 64, durSixtyFourth, "r", HeadY(0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    surface.ClearRecord();
    Draw({c.pitch}, c.duration);
    surface.SetForeColor(0);
    BeamGeometry(dc);
    const auto flags = Texts({"j", "J", "k", "K", "r", "R"});
    ASSERT_EQ(flags.size(), 1u);
    EXPECT_EQ(flags[0].Text, c.flag);
    EXPECT_EQ(flags[0].Points[0], (SurfacePoint{NoteX(0), c.y}));
    EXPECT_EQ(flags[0].Color, dc.Symbols().NoteColor);
    EXPECT_TRUE(Lines().empty());
  }
}

TEST_F(Beams, ALoneSixteenthDownFromAChordFlagsItsBottomHead) {
  Draw({74, 77}, durSixteenth);  // D5-F5: down
  BeamGeometry(dc);
  const auto flags = Texts({"K"});
  ASSERT_EQ(flags.size(), 1u);
  EXPECT_EQ(flags[0].Points[0].Y, HeadY(-3));
}

TEST_F(Beams, AnUpBeamMovesUpToClearAHigherMiddleNote) {
  // E4, C5, E4: the line through the outer heads would cut the C; it moves up 2.5 spaces.
  Draw({64}, durEighth, 0, 0);
  Draw({72}, durEighth, 0, 4);
  Draw({64}, durEighth, 0, 8);
  surface.ClearRecord();
  BeamGeometry(dc);

  const int end = StepY(-2.5);  // every stem ends level with the C's anchor
  const auto beams = BeamBands();
  ASSERT_EQ(beams.size(), 1u);  // one beam, half a space thick, downwards from the line
  const int shift = 166;  // round(s + 1.5 screen pixels), halves to even
  EXPECT_EQ(beams[0].Points, (std::vector<SurfacePoint>{{Snap(NoteX(0) + shift), end + 2 * S},
                                                        {Snap(NoteX(8) + shift), end + 2 * S},
                                                        {Snap(NoteX(8) + shift), end + 2 * S + S / 2},
                                                        {Snap(NoteX(0) + shift), end + 2 * S + S / 2}}));
  EXPECT_EQ(beams[0].Color, dc.Symbols().NoteColor);
  // Each stem from the line down to its head: the outer notes' every three spaces.
  std::vector<SurfacePoint> stems;
  for (const auto& op : Texts({"\\"})) stems.push_back(op.Points[0]);
  const std::vector<SurfacePoint> expected = {
      {NoteX(0), Snap(end)}, {NoteX(0), HeadY(0)},  // 2.5 spaces: one step to the head
      {NoteX(4), Snap(end)},
      {NoteX(8), Snap(end)}, {NoteX(8), HeadY(0)}};
  EXPECT_EQ(stems, expected);
  EXPECT_TRUE(dc.Symbols().Beam.empty());
  EXPECT_FALSE(dc.Symbols().BeamUp);
}

TEST_F(Beams, ADownBeamSlopesWithItsOuterNotesAndMovesDownForALowerMiddleNote) {
  // F5, D5 and B4 (top line, fourth line, middle line): the line through F5 and B4 passes the
  // D within its head, so it stays; then with the middle note at G4 it moves down.
  Draw({77}, durEighth, 0, 0);
  Draw({74}, durEighth, 0, 4);
  Draw({71}, durEighth, 0, 8);
  surface.ClearRecord();
  BeamGeometry(dc);
  auto beams = BeamBands();
  ASSERT_EQ(beams.size(), 1u);
  const int drop = static_cast<int>(9.1 * S + 0.5);
  EXPECT_EQ(beams[0].Points[0], (SurfacePoint{NoteX(0), StepY(-4) + drop}));
  EXPECT_EQ(beams[0].Points[1], (SurfacePoint{NoteX(8), StepY(-2) + drop}));
  EXPECT_EQ(beams[0].Points[3].Y, StepY(-4) + drop - S / 2);  // its thickness upwards

  surface.ClearRecord();
  Draw({77}, durEighth, 0, 0);
  Note& low = Draw({67}, durEighth, nteForceUp, 4);  // joins downwards whatever its flags say
  Draw({71}, durEighth, 0, 8);
  EXPECT_FALSE(low.Up());
  surface.ClearRecord();
  BeamGeometry(dc);
  beams = BeamBands();
  ASSERT_EQ(beams.size(), 1u);
  // At the middle note the line stood at round(-3 spaces); its head is at -1: down 2 spaces.
  EXPECT_EQ(beams[0].Points[0].Y, StepY(-4) + 2 * S + drop);
  EXPECT_EQ(beams[0].Points[1].Y, StepY(-2) + 2 * S + drop);
}

TEST_F(Beams, EqualDurationsGetOneTwoOrThreeBeams) {
  struct Case {
    int duration;
    int beams;
  };
  for (const Case c : {Case{durEighth, 1}, Case{durSixteenth, 2}, Case{durThirtySecond, 3},
                       Case{durSixtyFourth, 3}}) {
    SCOPED_TRACE(c.duration);
    surface.ClearRecord();
    Draw({64}, c.duration, 0, 0);
    Draw({64}, c.duration, 0, 4);
    BeamGeometry(dc);
    const auto beams = BeamBands();
    ASSERT_EQ(static_cast<int>(beams.size()), c.beams);
    // Each further beam starts its thickness and a quarter space nearer the heads.
    for (int beam = 0; beam < c.beams; ++beam)
      EXPECT_EQ(beams[static_cast<std::size_t>(beam)].Points[0].Y, StepY(0) + 2 * S + beam * kBeamStep);
  }
}

TEST_F(Beams, MixedDurationsGetStubsAndJoinedRuns) {
  // Sixteenth, eighth, sixteenth, sixteenth, all on E4 (up): the first sixteenth a stub to
  // the right, the last two joined.
  Draw({64}, durSixteenth, 0, 0);
  Draw({64}, durEighth, 0, 4);
  Draw({64}, durSixteenth, 0, 12);
  Draw({64}, durSixteenth, 0, 16);
  surface.ClearRecord();
  BeamGeometry(dc);
  const auto beams = BeamBands();
  ASSERT_EQ(beams.size(), 3u);
  const int shift = 166;
  const int second = StepY(0) + 2 * S + kBeamStep;
  auto x = [&](int t) { return Snap(NoteX(t) + shift); };
  auto line = [](const SurfaceOp& op) { return std::vector<SurfacePoint>{op.Points[0], op.Points[1]}; };
  EXPECT_EQ(line(beams[1]), (std::vector<SurfacePoint>{{x(0), second}, {x(0) + S, second}}));
  EXPECT_EQ(line(beams[2]), (std::vector<SurfacePoint>{{x(12), second}, {x(16), second}}));

  // A group ending on a lone sixteenth gets a stub to the left.
  surface.ClearRecord();
  Draw({64}, durEighth, 0, 0);
  Draw({64}, durSixteenth, 0, 8);
  surface.ClearRecord();
  BeamGeometry(dc);
  ASSERT_EQ(BeamBands().size(), 2u);
  EXPECT_EQ(line(BeamBands()[1]), (std::vector<SurfacePoint>{{x(8) - S, second}, {x(8), second}}));
}

TEST_F(Beams, AThirdLevelStandsOneStepBelowTheSecond) {
  Draw({64}, durEighth, 0, 0);
  Draw({64}, durThirtySecond, 0, 8);
  Draw({64}, durThirtySecond, 0, 10);
  surface.ClearRecord();
  BeamGeometry(dc);
  const auto beams = BeamBands();
  ASSERT_EQ(beams.size(), 3u);  // the group, the joined second level, the joined third
  const int second = StepY(0) + 2 * S + kBeamStep;
  EXPECT_EQ(beams[1].Points[0].Y, second);
  EXPECT_EQ(beams[2].Points[0].Y, second + kBeamStep);
}

TEST_F(Beams, NothingPendingDrawsNothing) {
  BeamGeometry(dc);
  EXPECT_TRUE(surface.Ops().empty());
}

}  // namespace
}  // namespace notecraft
