// Dynamics, tempo marks, text labels, ornaments and lyrics on painted pages stand clear of
// what else the staff draws: checked on the ink of the recorded drawing (music glyphs by
// their outlines, text by its cell, lines and shapes by their boxes).
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "edit_fixtures.h"
#include "ink_fixtures.h"
#include "notecraft/layout/pagebreaker.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/ink.h"
#include "print_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

constexpr int kPixel = 15;

bool Meet(const InkArea& a, const InkArea& b) {
  return a.Right >= a.Left && b.Right >= b.Left && a.Left <= b.Right && b.Left <= a.Right &&
         a.Top <= b.Bottom && b.Top <= a.Bottom;
}

std::string Describe(const SurfaceOp& op) {
  const InkArea ink = OpBox(op);
  return (op.What == SurfaceOp::Kind::Text ? "'" + op.Text + "'" : "shape") + " [" +
         std::to_string(ink.Left) + "," + std::to_string(ink.Top) + " - " +
         std::to_string(ink.Right) + "," + std::to_string(ink.Bottom) + "]";
}

class Clearance : public EditFixture {
public:
  static bool IsText(const SurfaceOp& op, const std::string& text) {
    return op.What == SurfaceOp::Kind::Text && op.Text == text;
  }
  // Every drawn operation that is one of texts.
  static std::vector<SurfaceOp> Drawn(const std::vector<SurfaceOp>& ops,
                                      const std::vector<std::string>& texts) {
    std::vector<SurfaceOp> found;
    for (const SurfaceOp& op : ops)
      for (const std::string& text : texts)
        if (IsText(op, text)) found.push_back(op);
    return found;
  }
  // Fails for every operation of ops (other than the marks themselves and the staff lines
  // they may stand on) whose ink meets a mark's.
  static void ExpectClear(const std::vector<SurfaceOp>& ops, const std::vector<SurfaceOp>& marks,
                          int staffLineColor) {
    ASSERT_FALSE(marks.empty());
    for (const SurfaceOp& mark : marks) {
      for (const SurfaceOp& op : ops) {
        if (op == mark || op.What == SurfaceOp::Kind::Clear) continue;
        const bool staffLine = op.What == SurfaceOp::Kind::Line && op.Color == staffLineColor &&
                               op.Points[0].Y == op.Points[1].Y;
        if (staffLine) continue;
        EXPECT_FALSE(Meet(OpBox(mark), OpBox(op))) << Describe(mark) << " meets " << Describe(op);
      }
    }
  }
  // The y of a band's top staff line.
  int TopLine(int band) { return Band(band).Top() + Band(band).PadTop(); }
};

TEST_F(Clearance, DynamicsAndTempoMarksUnderLyricsKeepOffEveryVerseOnScreenAndInPrint) {
  // GIVEN a melody with two verses, "mf" on its first syllable and "rit." on its fourth, and
  // a staff below it
  First().SetVerses(Internal{}, 2);
  FillQuarters(First(), 2, 69);
  auto& events = First().GlobalEvents();
  const char* verses[] = {"Twin-\rUp", "kle,\ra-", "twin-\rbove", "kle\rthe"};
  for (int k = 0; k < 4; ++k) events.Add(16 * k, evtLyric, 0, 0, verses[k]);
  events.Add(0, evtDynamic, dynMF);
  events.Add(48, evtTempo, tmpRitardando);
  FillQuarters(AddStaff(), 2, 55);
  const std::vector<std::string> words = {"Twin", "Up",  "kle,", "a", "twin",
                                          "bove", "kle", "the",  "-"};

  // WHEN the page is painted, and printed
  Paint();
  const std::vector<SurfaceOp> screen = surface.Ops();
  RecordingPrinter printer;
  ASSERT_TRUE(score.PrintScore(printer, 1, 1));

  // THEN neither mark meets a syllable or a note, and every verse stands above the staff
  // below
  for (const auto* ops : {&screen, &printer.surface->Ops()}) {
    SCOPED_TRACE(ops == &screen ? "screen" : "print");
    const auto marks = Drawn(*ops, {"F", "ritard."});
    ASSERT_EQ(marks.size(), 2u);
    ExpectClear(*ops, marks, Dc().ColorLines());
    const auto syllables = Drawn(*ops, words);
    ASSERT_EQ(syllables.size(), 11u);  // eight syllables and three hyphens
    ExpectClear(*ops, syllables, Dc().ColorLines());
  }
  for (const SurfaceOp& syllable : Drawn(screen, words))
    EXPECT_LT(OpBox(syllable).Bottom, TopLine(2)) << Describe(syllable);
  // The caret stands on the first verse's line as it was drawn.
  First().SetSelected(true);
  int time = 0, x = 0, y = 0;
  std::string lyric;
  ASSERT_TRUE(score.FirstActiveXY(time, x, y, lyric));
  EXPECT_EQ(lyric, "Twin-");
  EXPECT_EQ(PixelSnap(y), Drawn(screen, {"Twin"}).front().Points[0].Y);
}

TEST_F(Clearance, MarksStandAtTheirNotesAfterAClefChangeInsideTheMeasure) {
  // The score raises its dynamics by two spaces, into the clef's reach.
  score.SetDynAdjust(-2 * kL / 4);
  First().SetDefaultClef(clfBass);
  FillQuarters(First(), 2, 50);
  First().GlobalEvents().Add(32, evtClefChange, clfTreble);
  First().GlobalEvents().Add(32, evtDynamic, dynPP);
  First().GlobalEvents().Add(32, evtText, 0, 8, "dolce");
  Paint();
  const auto ops = surface.Ops();
  const auto pp = Drawn(ops, {std::string(1, glyph::DynamicPP)});
  const auto clefs = Drawn(ops, {std::string(1, glyph::TrebleClef)});
  ASSERT_EQ(pp.size(), 1u);
  ASSERT_EQ(clefs.size(), 1u);  // the change: the system starts in the bass clef
  // A space before its note (to the pixel), as every dynamic, however far the clef moved
  // the note.
  const int s = Band(1).IncY();
  EXPECT_NEAR(pp[0].Points[0].X, NoteAt(1, 32)->X() - s, kPixel);
  EXPECT_NEAR(Drawn(ops, {"dolce"}).front().Points[0].X, NoteAt(1, 32)->X() - s, kPixel);
  ExpectClear(ops, pp, Dc().ColorLines());
}

TEST_F(Clearance, TextLabelsMoveOffTheStemsTheyWouldTouch) {
  // Eighths on G with their stems up, a label placed above the staff and one below it.
  for (int t = 0; t < 64; t += 8) VoiceOf(1)->Notes().Add(t, 67, durEighth, 0);
  First().GlobalEvents().Add(16, evtText, 7, 0, "cresc.");
  for (int t = 64; t < 128; t += 8) VoiceOf(1)->Notes().Add(t, 79, durEighth, 0);
  First().GlobalEvents().Add(80, evtText, 0, 7, "dim.");
  Paint();
  const auto ops = surface.Ops();
  const auto labels = Drawn(ops, {"cresc.", "dim."});
  ASSERT_EQ(labels.size(), 2u);
  ExpectClear(ops, labels, Dc().ColorLines());
  // Each moved away from the staff, not across it.
  const int middle = TopLine(1) + 2 * Band(1).IncY();
  EXPECT_LT(OpBox(Drawn(ops, {"cresc."}).front()).Bottom, middle);
  EXPECT_GT(OpBox(Drawn(ops, {"dim."}).front()).Top, middle);
}

TEST_F(Clearance, LyricsStandUnderTheLedgerLinesOfLowNotesAboveTheNextStaff) {
  // GIVEN low notes three and four ledger lines under the staff, a syllable on each, and a
  // staff below
  First().SetVerses(Internal{}, 1);
  const int pitches[] = {55, 52, 48, 67};
  for (int k = 0; k < 4; ++k) {
    VoiceOf(1)->Notes().Add(16 * k, pitches[k], durQuarter, 0);
    First().GlobalEvents().Add(16 * k, evtLyric, 0, 0, std::string("la") + std::to_string(k));
  }
  FillQuarters(AddStaff(), 1, 79);
  Paint();
  const auto ops = surface.Ops();
  const auto syllables = Drawn(ops, {"la0", "la1", "la2", "la3"});
  ASSERT_EQ(syllables.size(), 4u);
  ExpectClear(ops, syllables, Dc().ColorLines());
  // One line for the system, clear of the staff below with its high notes.
  for (const SurfaceOp& syllable : syllables) {
    EXPECT_EQ(syllable.Points[0].Y, syllables[0].Points[0].Y);
    EXPECT_LT(OpBox(syllable).Bottom, Band(2).Top());
  }
}

TEST_F(Clearance, OrnamentsOnAGrandStaffsLowerStaffKeepOffTheUpperStaffsNotes) {
  // Middle C in the upper staff over a trill and a mordent high in the lower staff, a trill
  // on the lower staff's top space, one over the upper staff, and a dynamic.
  First().SetDefaultClef(clfGrand);
  AddVoice(First());
  for (int t = 0; t < 64; t += 16) {
    VoiceOf(1)->Notes().Add(t, 60, durQuarter, 0);
    VoiceOf(1, 2)->Notes().Add(t, 57, durQuarter, t == 0 ? nteTrill : t == 16 ? nteMordent : 0);
  }
  VoiceOf(1, 2)->Notes().Add(64, 59, durHalf, nteTrill);
  VoiceOf(1)->Notes().Add(64, 62, durHalf, 0);
  VoiceOf(1)->Notes().Add(96, 76, durHalf, nteTrill);
  First().GlobalEvents().Add(0, evtDynamic, dynMF);
  Paint();
  const auto ops = surface.Ops();
  const auto ornaments = Drawn(ops, {std::string(1, glyph::Trill), std::string(1, glyph::Mordent)});
  ASSERT_EQ(ornaments.size(), 4u);
  ExpectClear(ops, ornaments, Dc().ColorLines());
  // The staff's dynamic shows once, under the lower staff, clear of the ornaments there.
  const auto dynamics = Drawn(ops, {std::string(1, glyph::DynamicMF)});
  ASSERT_EQ(dynamics.size(), 1u);
  ExpectClear(ops, dynamics, Dc().ColorLines());
  // The upper staff's trill keeps over its note, above the staff.
  const auto trills = Drawn(ops, {std::string(1, glyph::Trill)});
  EXPECT_LT(OpBox(trills.front()).Bottom, TopLine(1));
}

TEST_F(Clearance, SyllablesOfEveryVerseNeverTouchAndTheStavesStayAligned) {
  // GIVEN measures of a dotted half and four sixteenths, the tight end sung in two verses,
  // over a staff in quarters
  First().SetVerses(Internal{}, 2);
  const char* verses[] = {"Oh\rAh", "the\rwon-", "sky\rder-", "is\rful", "blue!\rday!"};
  const int times[] = {0, 48, 52, 56, 60};
  Staff& piano = AddStaff();
  for (int m = 0; m < 256; m += 64) {
    for (int k = 0; k < 5; ++k) {
      VoiceOf(1)->Notes().Add(m + times[k], 72, k == 0 ? durHalf : durSixteenth,
                              k == 0 ? nteDot : 0);
      First().GlobalEvents().Add(m + times[k], evtLyric, 0, 0, verses[k]);
    }
    for (int t = 0; t < 64; t += 16) piano.Voice(1)->Notes().Add(m + t, 55, durQuarter, 0);
  }
  Paint();
  const auto ops = surface.Ops();
  // THEN on each verse's line no two syllables or hyphens meet
  std::vector<SurfaceOp> lyrics;
  for (const SurfaceOp& op : ops)
    if (op.What == SurfaceOp::Kind::Text && op.Font.Size == 8.0f && op.Color == Dc().ColorChords())
      lyrics.push_back(op);
  ASSERT_EQ(lyrics.size(), 4u * 12);  // per measure ten syllables and two hyphens
  for (std::size_t a = 0; a < lyrics.size(); ++a)
    for (std::size_t b = a + 1; b < lyrics.size(); ++b)
      EXPECT_FALSE(Meet(OpBox(lyrics[a]), OpBox(lyrics[b])))
          << Describe(lyrics[a]) << " meets " << Describe(lyrics[b]);
  // AND what sounds together stands together
  for (int m = 0; m < 256; m += 64)
    for (int t = m; t < m + 64; t += 48)
      EXPECT_EQ(NoteAt(1, t)->X(), NoteAt(2, t)->X()) << "at " << t;
}

TEST_F(Clearance, SyllablesOfTripletNotesKeepApartWhereTheNotesStand) {
  // GIVEN triplet eighths entered a 32nd apart, drawn where their slots begin, each sung
  First().SetVerses(Internal{}, 1);
  for (int m = 0; m < 256; m += 64) {
    for (int k = 0; k < 3; ++k) {
      VoiceOf(1)->Notes().Add(m + 4 * k, 72, durEighth, nteTriplet);
      First().GlobalEvents().Add(m + 4 * k, evtLyric, 0, 0, "Wonderful");
    }
    VoiceOf(1)->Notes().Add(m + 16, 72, durQuarter, 0);
    VoiceOf(1)->Notes().Add(m + 32, 72, durHalf, 0);
  }
  Paint();
  // THEN no two syllables meet
  std::vector<SurfaceOp> syllables;
  for (const SurfaceOp& op : surface.Ops())
    if (IsText(op, "Wonderful")) syllables.push_back(op);
  ASSERT_EQ(syllables.size(), 12u);
  for (std::size_t a = 1; a < syllables.size(); ++a)
    EXPECT_FALSE(Meet(OpBox(syllables[a - 1]), OpBox(syllables[a])))
        << Describe(syllables[a - 1]) << " meets " << Describe(syllables[a]);
}

// Every rest, sign, flag and head of the page that meets another's ink: what a musician
// sees as glyphs run into each other (a note's flag, stem and dot touch its own head, and
// a sign may stand on the staff lines, so those pairs do not count).
std::vector<std::string> Collisions(const std::vector<SurfaceOp>& ops) {
  enum Kind { None, Rest, Head, Stem, Flag, Sign };
  auto kind = [](const SurfaceOp& op) {
    if (op.What != SurfaceOp::Kind::Text || op.Font.Name != "Veltrimond" || op.Text.empty())
      return None;
    switch (op.Text[0]) {
      case glyph::WholeRest: case glyph::HalfRest: case glyph::QuarterRest:
      case glyph::EighthRest: case glyph::SixteenthRest: case glyph::ThirtySecondRest:
        return Rest;
      case glyph::FilledHead: case glyph::HalfHead: case glyph::WholeNote:
      case glyph::PercussionHead:
        return Head;
      case glyph::StemUp: case glyph::StemDown: return Stem;
      case glyph::FlagEighthUp: case glyph::FlagEighthDown: case glyph::FlagSixteenthUp:
      case glyph::FlagSixteenthDown: case glyph::FlagThirtySecondUp:
      case glyph::FlagThirtySecondDown:
        return Flag;
      case glyph::Sharp: case glyph::Flat: case glyph::Natural: case glyph::DoubleSharp:
        return Sign;
      default: return None;
    }
  };
  struct Item {
    Kind What;
    InkArea Ink;
    const SurfaceOp* Op;
  };
  std::vector<Item> items;
  for (const SurfaceOp& op : ops) {
    const Kind k = kind(op);
    if (k == None) continue;
    SurfaceOp glyphOnly = op;
    if (k == Head) glyphOnly.Text = op.Text.substr(0, 1);  // the dot is checked with the rests
    items.push_back({k, OpBox(glyphOnly), &op});
  }
  std::vector<std::string> found;
  for (std::size_t a = 0; a < items.size(); ++a) {
    for (std::size_t b = a + 1; b < items.size(); ++b) {
      const Item& x = items[a];
      const Item& y = items[b];
      const bool rests = x.What == Rest || y.What == Rest;
      const bool signs = x.What == Sign || y.What == Sign;
      if (!rests && !signs) continue;  // a chord's own heads, stems and flags meet
      // Shrunk by a twip: glyphs drawn side by side at whole pixels may share an edge.
      InkArea inner = x.Ink;
      inner.Left += 1;
      inner.Right -= 1;
      if (Meet(inner, y.Ink)) found.push_back(Describe(*x.Op) + " meets " + Describe(*y.Op));
    }
  }
  return found;
}

TEST_F(Clearance, ASignedRunTakesRoomFromTheMeasuresBesideIt) {
  // GIVEN a measure of sixteenths each with a sign, more than its count of places holds,
  // between measures of quarters that need less than theirs
  Notes& notes = VoiceOf(1)->Notes();
  for (int t = 0; t < 64; t += 4) notes.Add(t, (t / 4) % 2 == 0 ? 61 : 60, durSixteenth, 0);
  FillQuarters(First(), 2, 72, 64);
  // WHEN the page is painted
  Paint();
  // THEN no sign meets a head, a stem or another sign, and the system still ends at the
  // right margin
  EXPECT_EQ(Collisions(surface.Ops()), std::vector<std::string>{});
  EXPECT_EQ(Band(1).Measures(), 3);
  EXPECT_EQ(Band(1).Right(), kRightX);
}

TEST_F(Clearance, AShortLastLineReachesFurtherRightForWhatItsMeasureHolds) {
  // GIVEN a score of one measure that its count of places makes a short line: chords of a
  // second with a sign, each a thirty-second followed by a thirty-second rest, over a drum
  // staff whose hits fall on the rests, then rests to the bar line
  score.SetEmptyMeasures(Internal{}, 1);
  Notes& notes = VoiceOf(1)->Notes();
  for (int t = 0; t < 16; t += 4)
    notes.Add(t, (t / 4) % 2 == 0 ? 61 : 60, durThirtySecond, 0)->AddValue(62);
  Staff& drums = AddStaff("Drums");
  const auto kit = score.AllInstruments().Add(score.AllInstruments().NewID(), 0);
  kit->SetCategory(Internal{}, catDrums);
  drums.Voice(1)->SetInstrumentID(Internal{}, kit->InstrumentID(Internal{}));
  for (int t = 2; t < 16; t += 4) drums.Voice(1)->Notes().Add(t, 38, durThirtySecond, 0);
  // WHEN the page is painted
  Paint();
  const int laidOut =
      PageBreaker(score, Dc()).LayOut(1, 0, kL, score.EndTime()).Systems.at(0).Right;
  ASSERT_LT(laidOut, kRightX);
  // THEN no rest lies on a head or touches another, no sign meets a stem, and the line
  // reaches further right, inside the margin
  EXPECT_EQ(Collisions(surface.Ops()), std::vector<std::string>{});
  EXPECT_GT(Band(1).Right(), laidOut);
  EXPECT_LE(Band(1).Right(), kRightX);
}

// The "3" of a triplet bracket with its two lines, a line space under the digit's top.
struct DrawnBracket {
  std::vector<SurfaceOp> Ops;
  InkArea Box;
};

std::vector<DrawnBracket> Brackets(const std::vector<SurfaceOp>& ops, int s) {
  std::vector<DrawnBracket> brackets;
  for (const SurfaceOp& digit : ops) {
    if (digit.What != SurfaceOp::Kind::Text || digit.Text != "3" || digit.Font.Name == "Veltrimond")
      continue;
    // The nearest line either side of the digit at its lines' height.
    const SurfaceOp* left = nullptr;
    const SurfaceOp* right = nullptr;
    for (const SurfaceOp& line : ops) {
      if (line.What != SurfaceOp::Kind::Line || line.Points[0].Y != line.Points[1].Y ||
          std::abs(line.Points[0].Y - (digit.Points[0].Y + s)) >= kPixel)
        continue;
      if (line.Points[1].X <= digit.Points[0].X && line.Points[1].X > digit.Points[0].X - s &&
          (!left || line.Points[1].X > left->Points[1].X))
        left = &line;
      if (line.Points[0].X >= digit.Points[0].X && line.Points[0].X < digit.Points[0].X + 3 * s &&
          (!right || line.Points[0].X < right->Points[0].X))
        right = &line;
    }
    if (!left || !right) continue;
    DrawnBracket bracket{{digit, *left, *right}, OpBox(digit)};
    for (const SurfaceOp* line : {left, right}) {
      const InkArea ink = OpBox(*line);
      bracket.Box = {std::min(bracket.Box.Left, ink.Left), std::min(bracket.Box.Top, ink.Top),
                     std::max(bracket.Box.Right, ink.Right),
                     std::max(bracket.Box.Bottom, ink.Bottom)};
    }
    brackets.push_back(bracket);
  }
  return brackets;
}

TEST_F(Clearance, TripletBracketsStandClearOfTheirGroupsInsideTheStaffsBand) {
  // GIVEN a treble staff with a group of triplet eighths whose beam rises over a high C
  // (stems up), and a bass staff whose group is a chord high above its lines (ledger lines,
  // stem down) and the group's rests
  Notes& upper = VoiceOf(1)->Notes();
  upper.Add(0, 64, durEighth, nteTriplet);
  upper.Add(5, 84, durEighth, nteTriplet);
  upper.Add(10, 65, durEighth, nteTriplet);
  upper.Add(16, 67, durQuarter, 0);
  Staff& bass = AddStaff("Bass");
  bass.SetDefaultClef(clfBass);
  for (const int pitch : {60, 64, 67}) bass.Voice(1)->Notes().Add(0, pitch, durEighth, nteTriplet);
  bass.Voice(1)->Notes().Add(32, 48, durHalf, 0);
  Paint();
  const auto ops = surface.Ops();
  const int s = Band(1).IncY();
  const auto brackets = Brackets(ops, s);
  ASSERT_EQ(brackets.size(), 2u);
  for (const DrawnBracket& bracket : brackets) {
    // THEN each bracket meets no head, stem, beam, ledger line or rest
    ExpectClear(ops, bracket.Ops, Dc().ColorLines());
  }
  // AND stands on its stems' side, inside its staff's band: over the treble staff, under
  // the bass staff
  const InkArea& treble = brackets[0].Box;
  EXPECT_LT(treble.Bottom, TopLine(1));
  EXPECT_GE(treble.Top, Band(1).Top());
  const InkArea& low = brackets[1].Box;
  EXPECT_GT(low.Top, TopLine(2) + 4 * s);
  EXPECT_LE(low.Bottom, Band(2).Bottom());
}

TEST_F(Clearance, TripletBracketsOfAStaffSideStandInOneRowAtAReadableLength) {
  // GIVEN three groups of triplet eighths, stems up, the first beamed over a high C, then a
  // quarter; and a measure whose groups of triplet sixteenths stand close together
  Notes& notes = VoiceOf(1)->Notes();
  const int pitches[3][3] = {{64, 84, 65}, {64, 65, 67}, {65, 64, 62}};
  for (int g = 0; g < 3; ++g)
    for (int k = 0; k < 3; ++k) notes.Add(16 * g + 5 * k, pitches[g][k], durEighth, nteTriplet);
  notes.Add(48, 67, durQuarter, 0);
  for (int g = 0; g < 8; ++g)
    for (const int at : {0, 3, 5}) notes.Add(64 + 8 * g + at, 64 + at % 3, durSixteenth, nteTriplet);
  // WHEN the page is painted
  Paint();
  const int s = Band(1).IncY();
  const auto brackets = Brackets(surface.Ops(), s);
  ASSERT_EQ(brackets.size(), 3u + 8u);
  // THEN the first measure's brackets stand in one row above the staff
  const int row = brackets[0].Ops[1].Points[0].Y;
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(brackets[k].Ops[1].Points[0].Y, row) << k;
    EXPECT_LT(brackets[k].Box.Bottom, TopLine(1));
  }
  // AND no bracket's line is shorter than a space, however close its notes
  for (const DrawnBracket& bracket : brackets)
    for (std::size_t k = 1; k < bracket.Ops.size(); ++k)
      EXPECT_GE(bracket.Ops[k].Points[1].X - bracket.Ops[k].Points[0].X, s)
          << Describe(bracket.Ops[0]);
  // AND none meets a note, a beam or another bracket
  for (const DrawnBracket& bracket : brackets) ExpectClear(surface.Ops(), bracket.Ops, Dc().ColorLines());
}

}  // namespace
}  // namespace notecraft
