// Hit testing on the painted page: bands and their edges, the note under the pointer, the
// pitch under the pointer in every clef and key (drawn, then clicked), braces and group
// order.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "edit_fixtures.h"
#include "notecraft/core/pitchspelling.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/glyphs.h"

namespace notecraft {
namespace {

using namespace testing;

class HitTesting : public EditFixture {};

constexpr int kTwipsPerPixel = 15;  // the recording surface's

TEST(PitchFromY, MapsHeightsByClefAndKey) {
  // Line spacing 90, the top line at 0.
  struct Case {
    int y, clef, key, pitch;
  };
  const Case cases[] = {
      {450, clfTreble, 0, 60},     // middle C's ledger line
      {360, clfTreble, 0, 64},     // the bottom line
      {30, clfTreble, 0, 76},      // between the top line and the space below
      {0, clfTreble, 0, 77},       // the top line
      {-90, clfBass, 0, 60},       // a ledger line above the bass staff
      {0, clfBass, 0, 57},         // the bass staff's top line
      {180, clfAlto, 0, 60},       // the alto clef's middle line
      {90, clfTenor, 0, 60},       // the tenor clef's fourth line
      {315, clfTreble, 0, 65},     // the first space: F ...
      {315, clfTreble, 1, 66},     // ... F sharp in G major
      {315, clfTreble, 6, 66},     // ... and in F sharp major
      {180, clfTreble, 0, 71},     // the middle line: B ...
      {180, clfTreble, -1, 70},    // ... B flat in F major
      {180, clfTreble, -7, 70},    // ... and in C flat major
      {495, clfTreble, 1, 59},     // just below middle C in G major: B, not B flat
      {450, clfTreble, 2, 61},     // middle C's place is C sharp in D major ...
      {-90, clfBass, 7, 61},       // ... and in C sharp major
      {450, clfTreble, -7, 59},    // C flat in C flat major
      {360, clfTreble, -6, 63},    // E flat in G flat major
      {450, clfGrand, 0, 60},      // the upper staff's middle C
      {630, clfGrand, 0, 60},      // the lower staff's middle C, a ledger line above it
      {720, clfGrand, 0, 57},      // the lower staff's top line
      {1080, clfGrand, 0, 43},     // the lower staff's bottom line
      {-4970, clfTreble, 7, 127},  // far above: the highest MIDI note
      {9030, clfBass, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "y " << c.y << " clef " << c.clef << " key " << c.key);
    EXPECT_EQ(PitchFromY(c.y, c.clef, c.key, 0, 0, 90), c.pitch);
  }
  // Two spacings that round to the same half step still keep their own positions.
  EXPECT_EQ(PitchFromY(5 * 88, clfTreble, 0, 0, 0, 88), 60);
  EXPECT_EQ(PitchFromY(5 * 89, clfTreble, 0, 0, 0, 89), 60);
  EXPECT_EQ(PitchFromY(0, clfTreble, 0, 0, 0, 1), 65);  // too small to tell
  EXPECT_EQ(PitchFromY(-2147483647, clfTreble, 7, 0, 0, 90), 127);
  EXPECT_EQ(PitchFromY(2147483647, clfBass, 0, 0, 0, 90), 0);
}

TEST(OffsetInMeasure, SpreadsTheNoteAreaOverTheMeasure) {
  const BandMeasure m{0, 1000, 700, 0, 60, {}, {}};  // 640 twips of notes: 10 a 64th
  EXPECT_EQ(OffsetInMeasure(m, 1000, 64), 0);  // in the pad
  EXPECT_EQ(OffsetInMeasure(m, 500, 64), 0);   // left of the measure
  EXPECT_EQ(OffsetInMeasure(m, 1060 + 165, 64), 16);
  EXPECT_EQ(OffsetInMeasure(m, 1700, 64), 64);  // the right edge: the whole length
  EXPECT_EQ(OffsetInMeasure(m, 1700, 0), 0);
  EXPECT_EQ(OffsetInMeasure({0, 1000, 100, 0, 60, {}, {}}, 1090, 64), 0);  // narrower than 64
}

TEST(OffsetInMeasure, MapsBetweenTheDrawnPositionsOfASpreadMeasure) {
  // Drawn: 0 at 1100, 32 at 1300, 34 at 1400 (moved apart), the end (64) at 1700.
  const BandMeasure m{0, 1000, 800, 0, 60, {{1100, 0}, {1300, 32}, {1400, 34}, {1700, 64}}, {}};
  const std::vector<std::pair<int, int>> cases = {
      {900, 0},  {1100, 0},  {1200, 16}, {1300, 32}, {1350, 33},
      {1400, 34}, {1550, 49}, {1700, 64}, {1800, 64},
  };
  for (const auto& [x, offset] : cases) EXPECT_EQ(OffsetInMeasure(m, x, 64), offset) << x;
  // Without a stop at the end the right edge stands for the measure's length.
  const BandMeasure open{0, 1000, 800, 0, 60, {{1100, 0}, {1400, 32}}, {}};
  EXPECT_EQ(OffsetInMeasure(open, 1600, 64), 48);
}

TEST_F(HitTesting, ClickingADrawnNoteOfAMovedApartRunFindsItsTime) {
  // A half note and a quarter, then a run of 32nds and 64ths each with a sign: the run
  // moves apart.
  Notes& notes = VoiceOf(1)->Notes();
  notes.Add(0, 67, durHalf, 0);
  notes.Add(32, 67, durQuarter, 0);
  std::vector<int> run;
  for (int t = 48, k = 0; t < 64; ++k) {
    const int duration = k % 3 == 0 ? durThirtySecond : durSixtyFourth;
    notes.Add(t, k % 2 == 0 ? 61 : 60, duration, 0);
    run.push_back(t);
    t += duration;
  }
  FillQuarters(First(), 1, 72, 64);  // measure 2 keeps its proportional spacing
  Paint();
  const Region& band = Band(1);
  ASSERT_FALSE(band.MeasureStops(0).empty());
  EXPECT_TRUE(band.MeasureStops(1).empty());

  const int y = band.Top() + 200;
  std::vector<int> times = {0};
  times.insert(times.end(), run.begin(), run.end());
  for (const int time : times) {
    const auto note = NoteAt(1, time);
    ASSERT_TRUE(note);
    const auto measure = MeasureAt(band, note->X());
    ASSERT_TRUE(measure);
    EXPECT_EQ(measure->Start + OffsetInMeasure(*measure, note->X(), 64), time) << time;
    int found = -1, duration = -1;
    EXPECT_TRUE(score.OnNote(note->X(), y, found, duration));
    EXPECT_EQ(found, time);
  }

  // Entry in another voice over the run lands at the time drawn under the click.
  AddVoice(First());
  Paint();
  score.SetVoice(2);
  const auto target = NoteAt(1, run[7]);
  score.AddNoteByHit(target->X(), YAt(Band(1), 6), durSixtyFourth, 0, 0);
  EXPECT_EQ(Times(1, 2), std::vector<int>{run[7]});

  // So does an event clicked there.
  score.AddGlobalByHit(target->X(), Band(1).Top() + Band(1).PadTop() + Band(1).IncY(), evtText, 0,
                       "rit.");
  EXPECT_TRUE(First().GlobalEvents().Find(run[7], evtText, true));
}

TEST_F(HitTesting, AClickOnADrawnRestEntersAtItsTime) {
  // Thirty-seconds with signs crowd the first half of measure 1 (moved apart), with a
  // sixteenth rest at 8 and an eighth rest at 24 among them; measure 2 keeps its
  // proportional spacing, with a quarter rest at 16.
  Notes& notes = VoiceOf(1)->Notes();
  for (const int t : {0, 2, 4, 6, 12, 14, 16, 18, 20, 22})
    notes.Add(t, t % 4 ? 61 : 63, durThirtySecond, 0);
  notes.Add(32, 67, durHalf, 0);
  notes.Add(64, 67, durQuarter, 0);
  notes.Add(96, 67, durHalf, 0);
  Paint();
  ASSERT_FALSE(Band(1).MeasureStops(0).empty());
  ASSERT_TRUE(Band(1).MeasureStops(1).empty());
  struct Case {
    char rest;
    int time, duration, snap;
  };
  const Case cases[] = {
      {glyph::SixteenthRest, 8, durSixteenth, 0},
      {glyph::EighthRest, 24, durEighth, 0},
      {glyph::QuarterRest, 80, durQuarter, 0},
      {glyph::QuarterRest, 80, durEighth, 32},  // the rest's time, not the snapped one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    notes.Remove(c.time);
    Paint();
    const auto texts = surface.Ops(SurfaceOp::Kind::Text);
    const auto rest = std::find_if(texts.begin(), texts.end(), [&c](const SurfaceOp& op) {
      return op.Font.Name == "Veltrimond" && op.Text == std::string(1, c.rest);
    });
    ASSERT_NE(rest, texts.end());
    // The right part of the glyph: right of where the rest's time stands.
    surface.SetFont(rest->Font);
    const int x = rest->Points[0].X + surface.TextWidth(rest->Text) * 3 / 4;
    score.AddNoteByHit(x, YAt(Band(1), 6), c.duration, 0, c.snap);
    EXPECT_TRUE(NoteAt(1, c.time));
  }
}

TEST_F(HitTesting, EveryPitchDrawnIsTheOneClickedInEveryClefAndKey) {
  // Each pitch of the key's scale from C2 to C6 drawn as a quarter note, then clicked at its
  // head and at whole pixels above and below it: a click nearer the head's line or space
  // than the next gives the pitch back, one past the middle the neighbour's, at every staff
  // size.
  struct Staffing {
    int clef, verses;
  };
  struct Size {
    float inches;
    std::vector<int> keys;
  };
  std::vector<int> allKeys;
  for (int key = -7; key <= 7; ++key) allKeys.push_back(key);
  // A grand staff with two verses holds its lyrics between its staves.
  for (const Size& size : {Size{0.4f, allKeys}, Size{0.25f, {-4, 0, 3}}, Size{0.6f, {-2, 0, 6}}}) {
    score.SetStaffHeight(size.inches);
    for (const Staffing staffing : {Staffing{clfTreble, 0},
                                    {clfBass, 0},
                                    {clfAlto, 0},
                                    {clfTenor, 0},
                                    {clfGrand, 0},
                                    {clfGrand, 2}}) {
      const int clef = staffing.clef;
      for (const int key : size.keys) {
        SCOPED_TRACE(::testing::Message() << "staff " << size.inches << "in clef " << clef
                                          << " verses " << staffing.verses << " key " << key);
        score.SetRedraw(false);
        First().SetDefaultClef(clef);
        First().SetVerses(Internal{}, staffing.verses);
        score.SetKey(key);
        VoiceOf(1)->ResetNotes(Internal{});
        const int tonic = ((7 * key) % 12 + 12) % 12;
        std::vector<int> pitches;
        for (int p = 36; p <= 84; ++p) {
          const int degree = ((p - tonic) % 12 + 12) % 12;
          if (degree == 1 || degree == 3 || degree == 6 || degree == 8 || degree == 10) continue;
          VoiceOf(1)->Notes().Add(static_cast<int>(pitches.size()) * 16, p, durQuarter, 0);
          pitches.push_back(p);
        }
        score.SetRedraw(true);
        PaginateAll();
        Paint();
        const int s = Band(1).IncY();
        const int anchor = 4 * s + Dc().GlyphBaseline();  // a head's glyph anchor to its line
        const double halfStep = s / 4.0;                  // half the distance to the next position
        int clicked = 0;
        for (std::size_t k = 0; k < pitches.size(); ++k) {
          const auto note = NoteAt(1, static_cast<int>(k) * 16);
          ASSERT_TRUE(note);
          const int x = note->X() + s / 2;
          const int y = note->Y() + anchor;
          const auto band = score.InRegion(x, y);
          // Far ledger lines lie outside the note's band, maybe in another system's.
          const int time = static_cast<int>(k) * 16;
          const int last = band ? band->Measures() - 1 : -1;
          if (last < 0 || time < band->Measure(0)->High() ||
              time >= band->Measure(last)->High() + 64)
            continue;
          ++clicked;
          EXPECT_EQ(PitchFromY(y, clef, key, band->Top(), band->PadTop(), band->IncY(),
                               GrandStaffGap(*band)),
                    pitches[k]);
          for (int pixels = -4; pixels <= 4; ++pixels) {
            const int dy = pixels * kTwipsPerPixel;
            const double away = std::abs(dy);
            if (std::abs(away - halfStep) < 2 || away > 3 * halfStep) continue;  // halfway: either
            int want = pitches[k];
            if (away > halfStep) {
              const std::size_t next = dy < 0 ? k + 1 : k - 1;  // above: the next pitch up
              if (next >= pitches.size()) continue;
              want = pitches[next];
            }
            if (!score.InRegion(x, y + dy)) continue;
            EXPECT_EQ(score.GetNoteValueByHit(x, y + dy), want)
                << "pitch " << pitches[k] << " clicked " << pixels << " pixels below";
          }
        }
        EXPECT_GE(clicked, clef == clfGrand ? 15 : 10);
      }
    }
  }
}

TEST_F(HitTesting, BandEdgesCountForHitTestButNotForSetActive) {
  AddStaff();
  FillQuarters(First(), 4);
  Paint();
  ASSERT_GE(Bands().size(), 2u);
  const Region& band = Band(1);
  const int x = XAt(band, 1, 0);
  EXPECT_TRUE(score.HitTest(static_cast<float>(x), static_cast<float>(band.Top())));
  EXPECT_EQ(score.InRegion(x, band.Top()).get(), &band);
  EXPECT_EQ(score.InRegion(x, Band(2).Top() + 1).get(), &Band(2));
  EXPECT_FALSE(score.HitTest(static_cast<float>(band.Right() + 1), static_cast<float>(band.Top())));
  EXPECT_EQ(score.InRegion(-5, -5), nullptr);

  log.Log.clear();
  score.Staff(1)->SetSelected(true);
  score.SetActiveByHit(x, Band(2).Top());  // the edge the two bands share
  score.SetActiveByHit(x, band.Top());
  EXPECT_TRUE(log.Log.empty());
  EXPECT_TRUE(score.Staff(1)->Selected());

  score.SetActiveByHit(x, Band(2).Top() + 1);
  EXPECT_TRUE(score.Staff(2)->Selected());
  EXPECT_EQ(score.SelectedStaff(), score.Staff(2));
  EXPECT_EQ(log.Log, (std::vector<std::string>{"staff 2", "measure 2"}));
  EXPECT_EQ(score.SelectedMeasure(), 2);

  log.Log.clear();
  EXPECT_TRUE(score.HitTest(static_cast<float>(x), static_cast<float>(band.Top() + 5), true));
  EXPECT_EQ(score.SelectedStaff(), score.Staff(1));
  EXPECT_EQ(log.Log, (std::vector<std::string>{"staff 1"}));
}

TEST_F(HitTesting, OverlappingBandsGiveTheFirstInDrawingOrder) {
  AddStaff();
  Paint();
  Region& lower = Band(2);
  lower.SetTop(Band(1).Top());  // now both hold the first band's area
  EXPECT_EQ(score.InRegion(Band(1).Left() + 10, Band(1).Top() + 10).get(), &Band(1));
}

TEST_F(HitTesting, OnNoteFindsNotesOfTheActiveVoiceInsideOneMeasure) {
  FillQuarters(First(), 4, 67);
  AddVoice(First());
  VoiceOf(1, 2)->Notes().Add(72, 60, durEighth, 0);  // measure 2, voice 2
  Paint();
  const Region& band = Band(1);
  const auto note = NoteAt(1, 80);
  ASSERT_TRUE(note);
  int time = -1, duration = -1;
  EXPECT_TRUE(score.OnNote(note->X() + 10, band.Top() + 200, time, duration));
  EXPECT_EQ(time, 80);
  EXPECT_EQ(duration, durQuarter);
  EXPECT_EQ(Editing().LastBandIndex, 1);

  // The voice-2 eighth at 72 is passed over while voice 1 is active ...
  const auto second = NoteAt(1, 72, 2);
  ASSERT_TRUE(second);
  EXPECT_FALSE(score.OnNote(second->X(), band.Top() + 200, time, duration) && time == 72);
  score.SetVoice(2);
  time = -1;
  EXPECT_TRUE(score.OnNote(second->X(), Band(1).Top() + 200, time, duration));
  EXPECT_EQ(time, 72);
  score.SetVoice(1);  // paints again: new bands

  // A probe across a bar line finds nothing, nor does one off the staves.
  const Region& again = Band(1);
  const int bar = again.Left() + again.Measure(0)->Low();
  EXPECT_FALSE(score.OnNote(bar, again.Top() + 200, time, duration));
  EXPECT_FALSE(score.OnNote(note->X(), again.Bottom() + 500, time, duration));
}

TEST_F(HitTesting, PitchOffEveryStaffIsZero) {
  Paint();
  const Region& band = Band(1);
  EXPECT_EQ(score.GetNoteValueByHit(band.Left() - 10, band.Top() + 100), 0);
  EXPECT_EQ(score.GetNoteValueByHit(band.Right() + 10, band.Top() + 100), 0);
  EXPECT_EQ(score.GetNoteValueByHit(band.Left() + 900, band.Bottom() + 10), 0);
  EXPECT_GT(score.GetNoteValueByHit(band.Left() + 900, band.Top() + 100), 0);
}

TEST_F(HitTesting, SetBraceByHitMapsTheStaffCountAndTogglesGroupOrder) {
  AddStaff();
  AddStaff();
  Paint();
  const Region& band = Band(1);
  const float x = static_cast<float>(band.Left() + 100);
  const float y = static_cast<float>(band.Top() + 100);
  struct Case {
    int staffs, brace;
  };
  for (const Case c : {Case{1, 2}, Case{0, 0}, Case{2, 2}, Case{3, 3}, Case{7, 3}, Case{0, 0}}) {
    SCOPED_TRACE(c.staffs);
    score.SetBraceByHit(x, y, c.staffs);
    EXPECT_EQ(First().Brace(), c.brace);
  }
  score.SetChanged(false);
  score.SetBraceByHit(x, y, 0);  // no change: not marked changed
  EXPECT_FALSE(score.Changed());

  // Group order: staves sorted by group; toggling twice keeps the order found.
  score.Staff(1)->SetGroupID(Internal{}, 5);
  score.Staff(2)->SetGroupID(Internal{}, 1);
  score.Staff(3)->SetGroupID(Internal{}, 3);
  const auto s1 = score.Staff(1), s2 = score.Staff(2), s3 = score.Staff(3);
  score.SetBraceByHit(0, 0, -1);
  EXPECT_TRUE(score.GroupOrder(Internal{}));
  EXPECT_EQ(score.Staff(1), s2);
  EXPECT_EQ(score.Staff(2), s3);
  EXPECT_EQ(score.Staff(3), s1);
  EXPECT_EQ(s1->Index(), 3);
  score.SetBraceByHit(0, 0, -1);
  EXPECT_FALSE(score.GroupOrder(Internal{}));
  EXPECT_FALSE(score.AllGlobals().Find(0, 101, true));
  EXPECT_EQ(score.Staff(1), s2);
}

}  // namespace
}  // namespace notecraft
