// Room on the page: many staves shrink with their spacing to a readable height and are all
// printed, on the page; a system too tall even then is cut into even parts over pages, where
// hit testing, repaints and printing find its staves; and the gap between two staves holds
// what they draw at the same place of the system (stems, beams, flags, ledger lines, marks),
// so that nothing of one staff touches the next, and no more.
#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "edit_fixtures.h"
#include "ink_fixtures.h"
#include "notecraft/core/common.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/instruments.h"
#include "notecraft/core/numeric.h"
#include "print_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

// The readable floor: a staff 4 mm high, its line space 1 mm (56.7 twips).
constexpr int kReadable = 227;
constexpr int kMillimetre = 57;

class PageRoom : public EditFixture {
public:
  // staves staves of `measures` measures of quarters, those at the positions in grand on a
  // grand staff (a chord over both of its staves).
  void Staves(int staves, const std::set<int>& grand, int measures) {
    for (int s = 2; s <= staves; ++s) AddStaff("Staff " + std::to_string(s));
    for (int s = 1; s <= staves; ++s) {
      Staff& staff = *score.Staff(s);
      staff.SetDefaultClef(grand.count(s) ? clfGrand : clfTreble);
      auto& notes = staff.Voice(1)->Notes();
      for (int t = 0; t < measures * 64; t += 16) {
        auto note = notes.Add(t, 72, durQuarter, 0);
        if (grand.count(s)) note->AddValue(52);
      }
    }
  }

  // Every page painted in turn: per system (its start time), the staves shown and how often.
  struct Shown {
    std::map<int, std::multiset<int>> StavesBySystem;
    int Pages = 0;
  };
  Shown PaintEveryPage() {
    Shown shown;
    PaginateAll();
    for (int page = 1; page <= score.LastPage(); ++page) {
      score.SetCurPage(page);
      surface.ClearRecord();
      score.PaintWindow();
      ++shown.Pages;
      SCOPED_TRACE(::testing::Message() << "page " << page);
      const int bottom = score.PageHeightTwips() - score.MarginTwips(marBottom);
      EXPECT_LE(LowestInk(surface), bottom);
      for (const auto& band : Bands()) {
        shown.StavesBySystem[band->Time()].insert(band->Staff());
        EXPECT_LE(band->Bottom(), bottom);
        EXPECT_GE(band->IncY(), kMillimetre);
      }
      EXPECT_GE(score.PageLayouts()[static_cast<std::size_t>(page - 1)].High(), kReadable);
    }
    return shown;
  }

  // Every system shows each of the score's staves exactly once, over however many pages.
  void EveryStaffOnceASystem(const Shown& shown) {
    ASSERT_FALSE(shown.StavesBySystem.empty());
    std::multiset<int> all;
    for (int s = 1; s <= score.Staffs(); ++s) all.insert(s);
    for (const auto& [time, staves] : shown.StavesBySystem)
      EXPECT_EQ(staves, all) << "system at " << time;
  }
};

TEST_F(PageRoom, SeventeenTracksWithFiveGrandStavesPrintEveryStaffReadablyOnLetter) {
  Staves(17, {1, 4, 7, 10, 13}, 24);
  Attach();
  const Shown shown = PaintEveryPage();
  EveryStaffOnceASystem(shown);
  // Shrunk with their spacing, the twenty-two staves fit a page, system by system.
  EXPECT_EQ(static_cast<int>(shown.StavesBySystem.size()), shown.Pages);
  EXPECT_LT(score.PageLayouts()[0].High(), kL);
}

TEST_F(PageRoom, AGrandStaffScoreInLandscapeShrinksItsSpacingWithItsStaves) {
  // Four grand staves under a title: in landscape the first system no longer fits at the
  // score's staff height.
  score.SetTitle("Sonata");
  score.SetComposer("Composer");
  Staves(4, {1, 2, 3, 4}, 16);
  Attach();
  score.SetRedraw(false);
  score.SetPageOrientation(pgeLandscape);
  score.SetRedraw(true);
  const Shown shown = PaintEveryPage();
  EveryStaffOnceASystem(shown);
  const int L = score.PageLayouts()[0].High();
  EXPECT_LT(L, kL);
  // The notes stay inside their staves: every pad is the staff spacing's share (720 / 2 at
  // 576), shrunk as the staff was.
  score.SetCurPage(1);
  const int pad = SnapY(static_cast<int>(RoundHalfEven(720.0 * L / kL)) / 2);
  for (const auto& band : Bands()) {
    EXPECT_EQ(band->PadTop(), pad);
    EXPECT_EQ(band->PadBottom(), pad);
  }
}

TEST_F(PageRoom, ASystemTooTallForAnyPageGoesOnOnTheNextWithItsStaves) {
  // Thirty staves: not even at the readable height does a system fit a page.
  Staves(30, {}, 12);
  Attach();
  const Shown shown = PaintEveryPage();
  EveryStaffOnceASystem(shown);
  EXPECT_GT(shown.Pages, static_cast<int>(shown.StavesBySystem.size()));
  EXPECT_EQ(score.PageLayouts()[0].High(), kReadable);

  // Page 2 begins with the staves page 1 left over, at the same measures.
  score.SetCurPage(1);
  const int lastOnPage1 = Bands().back()->Staff();
  std::vector<int> page1Widths;
  for (int i = 0; i < Bands().back()->Measures(); ++i)
    page1Widths.push_back(Bands().back()->Measure(i)->Low());
  score.SetCurPage(2);
  const Region& first = Band(1);
  EXPECT_EQ(first.Time(), 0);
  EXPECT_EQ(first.Staff(), lastOnPage1 + 1);
  EXPECT_TRUE(first.First());
  std::vector<int> page2Widths;
  for (int i = 0; i < first.Measures(); ++i) page2Widths.push_back(first.Measure(i)->Low());
  EXPECT_EQ(page2Widths, page1Widths);

  // Hit testing finds those staves where page 2 drew them, and entry writes into them.
  const int middle = first.Top() + first.PadTop() + 2 * first.IncY();
  const auto hit = score.InRegion(first.Left() + 500, middle);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->Staff(), lastOnPage1 + 1);
  score.AddNoteByHit(XAt(first, 1, 0), YAt(first, 4), durQuarter, 0);
  EXPECT_TRUE(NoteAt(lastOnPage1 + 1, 64)) << ::testing::PrintToString(Times(lastOnPage1 + 1));

  // Repainting that system draws its staves where the page did.
  surface.ClearRecord();
  score.PaintWindow();
  int continued = 0;  // the bottom of the system page 1 began
  for (const auto& band : Bands())
    if (band->Time() == 0) continued = band->Bottom();
  auto staffLines = [&] {
    std::set<int> ys;
    for (const SurfaceOp& op : surface.Ops(SurfaceOp::Kind::Line))
      if (op.Points[0].Y == op.Points[1].Y && op.Points[0].X == Band(1).Left() &&
          op.Points[0].Y < continued)
        ys.insert(op.Points[0].Y);
    return ys;
  };
  const std::set<int> painted = staffLines();
  ASSERT_FALSE(painted.empty());
  surface.ClearRecord();
  score.RepaintAfterEdit(Internal{}, Band(1), false, -1, 0, 0);
  EXPECT_EQ(staffLines(), painted);
}

TEST_F(PageRoom, ASystemTooTallForAnyPageIsCutInEvenPartsThatNameTheirStaves) {
  // Thirty named staves, and sixty: not even at the readable height does a system fit a
  // page; it needs two pages, and three.
  for (const int count : {30, 60}) {
    SCOPED_TRACE(::testing::Message() << count << " staves");
    score.SetWindow(nullptr);
    score.CreateDefault();
    score.SetTitle("");
    score.SetComposer("");
    score.SetArrangedBy("");
    score.SetMetronome(false);
    Staves(count, {}, 24);
    for (int s = 1; s <= count; ++s) {
      score.Staff(s)->SetFlags(stfShowStaffDesc);
      score.Staff(s)->SetDescription("Staff " + std::to_string(s));
    }
    Attach();
    PaginateAll();
    // Per system, the staves of each page that shows some of them, and the names drawn.
    std::map<int, std::vector<int>> parts;
    for (int page = 1; page <= score.LastPage(); ++page) {
      SCOPED_TRACE(::testing::Message() << "page " << page);
      score.SetCurPage(page);
      surface.ClearRecord();
      score.PaintWindow();
      std::map<int, std::vector<int>> shown;
      for (const auto& band : Bands()) shown[band->Time()].push_back(band->Staff());
      for (const auto& [time, staves] : shown) {
        // Never a staff alone on a page.
        EXPECT_GE(staves.size(), 2u) << "system at " << time;
        parts[time].push_back(static_cast<int>(staves.size()));
      }
      // A part of a cut system stands first on its page, and names its staves.
      const int first = Bands().front()->Time();
      if (shown.size() > 1) {
        for (const auto& [time, staves] : shown) {
          if (time != first) {
            EXPECT_EQ(static_cast<int>(staves.size()), count) << "system at " << time;
          }
        }
      }
      if (static_cast<int>(shown[first].size()) < count) {
        for (const int staff : shown[first]) {
          const std::string name = "Staff " + std::to_string(staff);
          const auto texts = surface.Ops(SurfaceOp::Kind::Text);
          EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const SurfaceOp& op) {
            return op.Text == name;
          })) << name;
        }
      }
    }
    ASSERT_FALSE(parts.empty());
    for (const auto& [time, sizes] : parts) {
      SCOPED_TRACE(::testing::Message() << "system at " << time);
      EXPECT_EQ(sizes.size(), count / 30 + 1u);
      EXPECT_EQ(std::accumulate(sizes.begin(), sizes.end(), 0), count);
      const auto [fewest, most] = std::minmax_element(sizes.begin(), sizes.end());
      EXPECT_LE(*most - *fewest, 1);
    }
  }
}

TEST_F(PageRoom, PrintingHoldsEveryStaffOfASystemThatGoesOnOverPages) {
  Staves(30, {}, 12);
  Attach();
  PaginateAll();
  // The staves drawn on screen, page by page: a treble clef starts each.
  int onScreen = 0;
  std::set<int> systems;
  for (int page = 1; page <= score.LastPage(); ++page) {
    score.SetCurPage(page);
    surface.ClearRecord();
    score.PaintWindow();
    onScreen += static_cast<int>(Bands().size());
    for (const auto& band : Bands()) systems.insert(band->Time());
  }
  EXPECT_EQ(onScreen, 30 * static_cast<int>(systems.size()));
  RecordingPrinter printer;
  ASSERT_TRUE(score.PrintScore(printer));
  EXPECT_EQ(printer.Pages(), score.LastPage());
  EXPECT_LE(LowestInk(*printer.surface), kBottomY);
  int printedClefs = 0;
  for (const SurfaceOp& op : printer.surface->Ops(SurfaceOp::Kind::Text))
    printedClefs += op.Text == std::string(1, glyph::TrebleClef);
  EXPECT_EQ(printedClefs, onScreen);
}

// Each staff's stems, beams, flags and ledger lines stay inside its own band; the bands do
// not overlap.
class StaffRoom : public EditFixture {
public:
  void ExpectInkInsideTheBands() {
    Paint();
    const auto& bands = Bands();
    ASSERT_FALSE(bands.empty());
    const auto inks = InkByBand(surface, bands);
    for (std::size_t k = 0; k < bands.size(); ++k) {
      const Region& band = *bands[k];
      SCOPED_TRACE(::testing::Message() << "band " << k + 1 << " (staff " << band.Staff() << ")");
      EXPECT_FALSE(inks[k].empty());
      for (const Ink& ink : inks[k]) {
        EXPECT_GE(ink.Top, band.Top());
        EXPECT_LE(ink.Bottom, band.Bottom());
      }
      if (k + 1 < bands.size() && !bands[k + 1]->First()) {
        EXPECT_LE(band.Bottom(), bands[k + 1]->Top());
      }
    }
    ExpectNeighboursClear(surface, bands, Dc().ColorBars());
  }
  // A staff of the drum kit: a new instrument in the drums category.
  Staff& DrumStaff() {
    auto& instruments = score.AllInstruments();
    auto kit = instruments.Add(instruments.NewID(), 0);
    kit->SetCategory(Internal{}, catDrums);
    auto staff =
        score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Drums", {}, true);
    staff->SetFlags(0);
    staff->AddVoice(kit);
    staff->AddVoice(kit);
    staff->SetDefaultClef(clfPercussion);
    return *staff;
  }
};

// The gap between two staves as what meets in it: a low note of the upper staff and a high
// one of the lower staff need room for both only where they stand at one place.
TEST_F(StaffRoom, TheGapHoldsWhatMeetsAtOnePlaceNotEachStaffsFarthest) {
  constexpr int kLow = 52;   // E3 under a treble staff, its stem down: far under the lines
  constexpr int kHigh = 93;  // A6 over one, its stem up: far over them
  struct Case {
    const char* name;
    int low;   // time of the low note on staff 1; -1: none
    int high;  // of the high note on staff 2
  };
  const Case cases[] = {
      {"neither", -1, -1},          {"low note alone", 0, -1},
      {"high note alone", -1, 192}, {"low at the start, high at the end", 0, 192},
      {"both at the start", 0, 0},
  };
  std::map<std::string, int> gaps;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    score.SetWindow(nullptr);
    score.CreateDefault();
    First().SetFlags(0);
    Staff& lower = AddStaff();
    for (int t = 0; t < 4 * 64; t += 16) {
      First().Voice(1)->Notes().Add(t, t == c.low ? kLow : 71, durQuarter,
                                    t == c.low ? nteForceDown : 0);
      lower.Voice(1)->Notes().Add(t, t == c.high ? kHigh : 71, durQuarter,
                                  t == c.high ? nteForceUp : 0);
    }
    Paint();
    ASSERT_EQ(Bands().size(), 2u);
    ASSERT_EQ(Band(1).Measures(), 4);
    gaps[c.name] =
        Band(2).Top() + Band(2).PadTop() - (Band(1).Top() + Band(1).PadTop() + 4 * Band(1).IncY());
    ExpectNeighboursClear(surface, Bands(), Dc().ColorBars());
  }
  EXPECT_GT(gaps["low note alone"], gaps["neither"]);
  EXPECT_GT(gaps["high note alone"], gaps["neither"]);
  // Apart, each needs only its own room; together they need both.
  EXPECT_EQ(gaps["low at the start, high at the end"],
            std::max(gaps["low note alone"], gaps["high note alone"]));
  EXPECT_GE(gaps["both at the start"],
            gaps["low note alone"] + gaps["high note alone"] - gaps["neither"]);
}

TEST_F(StaffRoom, StavesPackedByWhatMeetsTouchNothingTheyDraw) {
  // Three staves whose notes run far over and under their lines at changing places, with
  // beams, flags, ties, triplets, articulations, ornaments, dynamics and text labels.
  Staff& middle = AddStaff("Bass");
  middle.SetDefaultClef(clfBass);
  Staff& last = AddStaff("Top");
  Staff* staves[] = {&First(), &middle, &last};
  const int pitches[3][8] = {{84, 50, 88, 52, 79, 45, 91, 55},
                             {40, 67, 36, 71, 31, 62, 28, 64},
                             {96, 53, 91, 57, 100, 48, 86, 60}};
  for (int m = 0; m < 4; ++m) {
    for (int k = 0; k < 3; ++k) {
      Notes& notes = staves[k]->Voice(1)->Notes();
      const int t = 64 * m;
      const int* p = pitches[k];
      const int shift = (m + k) % 4;
      notes.Add(t, p[shift], durEighth, nteAccent);
      notes.Add(t + 8, p[shift + 1], durEighth, nteStacato);
      notes.Add(t + 16, p[shift + 2], durQuarter, m % 2 ? nteTrill : nteFermata);
      for (int i = 0; i < 3; ++i)
        notes.Add(t + 32 + 5 * i, p[(shift + 3 + i) % 8], durEighth, nteTriplet);
      notes.Add(t + 48, p[(shift + 6) % 8], durSixteenth, 0);
      notes.Add(t + 52, p[(shift + 7) % 8], durSixteenth, nteMordent);
      notes.Add(t + 56, p[shift], durEighth, 0);
    }
  }
  // A tie from a high note over the bar line, dynamics under the low notes, labels placed
  // over and under the staves.
  last.GlobalEvents().Add(56, evtTie, 0, 64, "1");
  First().GlobalEvents().Add(8, evtDynamic, dynFF);
  middle.GlobalEvents().Add(64, evtDynamic, dynPP);
  middle.GlobalEvents().Add(136, evtText, 9, 0, "cresc.");
  First().GlobalEvents().Add(200, evtText, 0, 9, "dim.");
  Paint();
  ASSERT_EQ(Bands().size(), 3u);
  ExpectNeighboursClear(surface, Bands(), Dc().ColorBars());
}

TEST_F(StaffRoom, DrumsBetweenALowMelodyAndAPianoTouchNeither) {
  // A melody down to ledger lines below the staff, with flags and beams; a drum kit whose
  // hi-hats stem up over the staff and whose bass drum (second voice) stems down under it;
  // a piano with high chords above its upper staff and low ones below its lower staff.
  auto& melody = First().Voice(1)->Notes();
  Staff& drums = DrumStaff();
  Staff& piano = AddStaff("Piano");
  piano.SetDefaultClef(clfGrand);
  auto& hats = drums.Voice(1)->Notes();
  auto& kick = drums.Voice(2)->Notes();
  auto& keys = piano.Voice(1)->Notes();
  for (int m = 0; m < 8; ++m) {
    const int t = 64 * m;
    melody.Add(t, 45, durEighth, 0);       // a lone low eighth: flag, ledger lines
    melody.Add(t + 16, 76, durEighth, 0);  // a group pushed down by its middle note
    melody.Add(t + 20, 43, durSixteenth, 0);
    melody.Add(t + 24, 79, durSixteenth, 0);
    melody.Add(t + 32, 88, durThirtySecond, 0);  // a lone high thirty-second
    melody.Add(t + 48, 40, durQuarter, 0);
    for (int e = 0; e < 8; ++e) hats.Add(t + 8 * e, e % 2 ? 49 : 42, durEighth, 0);
    for (int e = 0; e < 4; ++e) kick.Add(t + 16 * e, 36, durEighth, 0);
    keys.Add(t, 96, durEighth, 0)->AddValue(91);  // high above the upper staff
    keys.Add(t + 8, 93, durEighth, 0);
    keys.Add(t + 16, 28, durEighth, 0)->AddValue(31);  // low under the lower staff
    keys.Add(t + 24, 26, durEighth, 0);
    keys.Add(t + 32, 59, durEighth, 0)->AddValue(62);  // both staves, near each other
    keys.Add(t + 40, 57, durEighth, 0)->AddValue(64);
  }
  ExpectInkInsideTheBands();
}

TEST_F(StaffRoom, ShrunkStavesKeepTheRoomOfWhatTheyDraw) {
  // Twelve staves of low and high beamed notes: the staff height shrinks, the room for
  // what the notes draw shrinks with it and still holds them.
  for (int s = 2; s <= 12; ++s) AddStaff();
  for (int s = 1; s <= 12; ++s) {
    auto& notes = score.Staff(s)->Voice(1)->Notes();
    for (int t = 0; t < 8 * 64; t += 32) {
      notes.Add(t, s % 2 ? 43 : 91, durSixteenth, 0);
      notes.Add(t + 4, 67, durSixteenth, 0);
      notes.Add(t + 8, s % 2 ? 41 : 93, durEighth, 0);
      notes.Add(t + 16, 72, durQuarter, 0);
    }
  }
  ExpectInkInsideTheBands();
  EXPECT_LT(score.PageLayouts()[0].High(), kL);
}

TEST_F(StaffRoom, AGrandStaffsLyricsKeepUnderItsUpperStemsWhateverStaffFollows) {
  // Middle C with its stem down reaches far under the upper staff: the lyrics between the
  // staves stand below it, alone or with another staff under the grand staff.
  std::vector<int> lyricLines;
  for (const bool followed : {false, true}) {
    SCOPED_TRACE(followed ? "followed by a staff" : "alone");
    score.CreateDefault();
    First().SetFlags(0);
    First().SetDefaultClef(clfGrand);
    First().SetVerses(Internal{}, 1);
    for (int t = 0; t < 4 * 64; t += 16)
      First().Voice(1)->Notes().Add(t, 60, durQuarter, nteForceDown);
    First().GlobalEvents().Add(0, evtLyric, 0, 0, "la");
    if (followed) AddStaff();
    Paint();
    lyricLines.push_back(Band(1).LyricLine());
  }
  EXPECT_GT(lyricLines[0], 0);
  EXPECT_EQ(lyricLines[1], lyricLines[0]);
}

}  // namespace
}  // namespace notecraft
