// Painting a page: headings, page numbers and footers; mirrored even pages; the staff bands;
// group brackets and sub-brackets; braces with joined bar lines and their names; what the
// paint writes back to the staves; octave lines in a full paint.
#include <algorithm>
#include <string>
#include <vector>

#include "layout_fixtures.h"
#include "notecraft/core/common.h"
#include "notecraft/view/glyphs.h"

namespace notecraft {
namespace {

using namespace testing;

class PaintPage : public LayoutFixture {
public:
  void Show(int page) {
    surface.ClearRecord();
    if (score.CurPage() != page)
      score.SetCurPage(page);
    else
      score.PaintWindow();
  }
  std::vector<SurfaceOp> Texts(std::string_view text) const {
    std::vector<SurfaceOp> out;
    for (const SurfaceOp& op : surface.Ops(SurfaceOp::Kind::Text))
      if (op.Text == text) out.push_back(op);
    return out;
  }
  bool Drew(std::string_view text) const { return !Texts(text).empty(); }
  int Count(char glyph) const { return static_cast<int>(Texts(std::string(1, glyph)).size()); }
  const std::vector<std::shared_ptr<Region>>& Bands() { return score.Bands(Internal{}); }
  int Systems() {
    return static_cast<int>(std::count_if(Bands().begin(), Bands().end(),
                                          [](const auto& b) { return b->First(); }));
  }
};

TEST_F(PaintPage, PageNumbersFollowThePageNumberKind) {
  struct Case {
    int kind;
    bool onPage1, onPage2;
  };
  FillQuarters(First(), 80);  // three pages
  Attach();
  PaginateAll();
  for (const Case c : {Case{pgnNoPageNumbers, false, false}, Case{pgnNoPageOne, false, true},
                       Case{pgnAllPages, true, true}}) {
    SCOPED_TRACE(c.kind);
    score.SetPageNums(c.kind);
    Show(1);
    EXPECT_EQ(Drew("Page 1"), c.onPage1);
    Show(2);
    EXPECT_EQ(Drew("Page 2"), c.onPage2);
    if (c.onPage2) {
      // Right-aligned at the right margin, on the bottom margin, in the header font.
      const SurfaceOp number = Texts("Page 2").front();
      EXPECT_EQ(number.Points[0].X, PixelSnap(kRightX - 6 * 100));
      EXPECT_EQ(number.Points[0].Y, PixelSnap(kBottomY - 230));
      EXPECT_EQ(number.Font.Name, "Arial");
      EXPECT_TRUE(number.Font.Bold);
    }
  }
}

TEST_F(PaintPage, HeadingsStandOnPage1OnlyAndFootersOnEveryPage) {
  score.SetTitle("Title");
  score.SetSubTitle("Subtitle");
  score.SetComposer("Composer");
  score.SetArrangedBy("Arranger");
  score.SetHeading("Andante");
  score.SetMetronome(true);
  score.SetCopyright(0, "Footer one");
  score.SetCopyright(1, "Footer two");
  FillQuarters(First(), 80);
  Attach();
  PaginateAll();
  Show(1);
  for (const char* text : {"Title", "Subtitle", "Composer", "Arranger", "Footer one", "Footer two"})
    EXPECT_TRUE(Drew(text)) << text;
  // The tempo line shares the arranger's line, at the other margin, with the beat's note.
  EXPECT_TRUE(Drew("Andante ("));
  EXPECT_TRUE(Drew(" = 120)"));
  EXPECT_EQ(Texts("Andante (").front().Points[0].Y, Texts("Arranger").front().Points[0].Y);
  // The second footer line lies lowest; the music ends above the first.
  const int upper = Texts("Footer one").front().Points[0].Y;
  EXPECT_LT(upper, Texts("Footer two").front().Points[0].Y);
  for (const auto& band : Bands()) EXPECT_LE(band->Bottom(), upper);

  Show(2);
  for (const char* text : {"Title", "Subtitle", "Composer", "Arranger", "Andante ("})
    EXPECT_FALSE(Drew(text)) << text;
  EXPECT_TRUE(Drew("Footer one"));
  EXPECT_TRUE(Drew("Footer two"));
}

TEST_F(PaintPage, MirroredEvenPagesSwapTheMargins) {
  score.SetPageNums(pgnAllPages);
  score.SetReverseEvenOdd(true);
  score.SetMargins(marLeft, 1.5f);  // 2160
  FillQuarters(First(), 80);
  Attach();
  PaginateAll();
  Show(1);
  EXPECT_EQ(Bands().front()->Left(), 2160);
  EXPECT_EQ(Bands().front()->Right(), kRightX);
  EXPECT_EQ(Texts("Page 1").front().Points[0].X, PixelSnap(kRightX - 6 * 100));
  Show(2);
  // The staves start at the right margin's width and end at the left one's; the number
  // stands at the outer (left) edge.
  EXPECT_EQ(Bands().front()->Left(), 720);
  EXPECT_EQ(Bands().front()->Right(), kPageWidth - 2160);
  EXPECT_EQ(Texts("Page 2").front().Points[0].X, PixelSnap(720));
}

TEST_F(PaintPage, BandsDescribeEachStaffOfEachSystem) {
  Staff& second = AddStaff();
  FillQuarters(First(), 40);
  FillQuarters(second, 40);
  second.SetDefaultClef(clfGrand);
  Attach();
  Show(1);
  const auto& bands = Bands();
  ASSERT_EQ(static_cast<int>(bands.size()), 2 * Systems());
  const Region& top = *bands[0];
  const Region& grand = *bands[1];
  EXPECT_TRUE(top.First());
  EXPECT_FALSE(grand.First());
  EXPECT_EQ(top.Index(), 1);
  EXPECT_EQ(grand.Index(), 2);
  EXPECT_EQ(top.Staff(), 1);
  EXPECT_EQ(grand.Staff(), 2);
  EXPECT_TRUE(grand.Split());
  EXPECT_EQ(top.Time(), 0);
  EXPECT_EQ(top.IncY(), 144);
  // Pads of half the staff spacing; the next band starts at the one above's bottom.
  EXPECT_EQ(top.PadTop(), 360);
  EXPECT_EQ(top.Top(), kTopMargin);
  EXPECT_EQ(top.Bottom(), SnapY(kTopMargin + 360 + 576 + 360));
  EXPECT_EQ(grand.Top(), top.Bottom());
  EXPECT_EQ(grand.Bottom(), SnapY(grand.Top() + 360 + 3 * 576 + 360));
  // Per measure: its width, start time and content offset; the widths fill the line.
  ASSERT_EQ(top.Measures(), 4);
  int x = top.Left();
  for (int i = 0; i < top.Measures(); ++i) {
    EXPECT_EQ(top.Measure(i)->High(), 64 * i);
    EXPECT_EQ(grand.Measure(i)->Low(), top.Measure(i)->Low());
    x += top.Measure(i)->Low();
  }
  EXPECT_EQ(x, top.Right());
  // The first measure's notes start after the clef, the key's place (one staff height)
  // and the time signature (0.7 L), a space and a half; later measures' after two spaces.
  EXPECT_EQ(top.MeasurePad(0), 576 + 403 + 144 + 72);
  EXPECT_EQ(top.MeasurePad(1), 288);
  // The second system's bands start at its first measure.
  EXPECT_EQ(bands[2]->Time(), 256);
  EXPECT_TRUE(bands[2]->First());
  // A staff's lyric line stands its pad below its bottom line.
  EXPECT_EQ(First().LyricOffset(), 360);
}

TEST_F(PaintPage, GroupsGetBracketsAndSameInstrumentStavesSubBrackets) {
  // Two flutes (wind), a violin and a viola (strings), a piano: with group order on, two
  // brackets a system; the two flutes share a sub-bracket, the strings have none.
  auto& instruments = score.AllInstruments();
  auto flute = instruments.Add(instruments.NewID(), 73);
  auto violin = instruments.Add(instruments.NewID(), 40);
  auto viola = instruments.Add(instruments.NewID(), 41);
  auto piano = instruments.Add(instruments.NewID(), 0);
  auto play = [](Staff& staff, const std::shared_ptr<Instrument>& ins) {
    staff.Clear();
    staff.AddVoice(ins);
  };
  play(First(), flute);
  for (const auto& ins : {flute, violin, viola, piano}) play(AddStaff(), ins);
  for (int i = 1; i <= 5; ++i) FillQuarters(*score.Staff(i), 8, 72);
  score.AllGlobals().Add(0, 101);
  Attach();
  Show(1);
  const int systems = Systems();
  ASSERT_GE(systems, 1);
  EXPECT_EQ(Count(glyph::BracketTop), 2 * systems);
  EXPECT_EQ(Count(glyph::BracketBottom), 2 * systems);
  // The first bracket spans the flutes: its spine runs from the first flute's top line to
  // the second flute's bottom line, left of the staves.
  const auto& bands = Bands();
  const int space = bands[0]->IncY();  // the page's line space, lowered to fill the page
  const int left = bands[0]->Left();
  const int top = bands[0]->Top() + bands[0]->PadTop();
  const int bottom = bands[1]->Top() + bands[1]->PadTop() + 4 * space;
  const auto boxes = surface.Ops(SurfaceOp::Kind::Box);
  const auto spine = std::find_if(boxes.begin(), boxes.end(), [&](const SurfaceOp& op) {
    return op.Points[0] == SurfacePoint{left - SnapX(space / 4 + space), top};
  });
  ASSERT_NE(spine, boxes.end());
  EXPECT_EQ(spine->Points[1].Y, bottom);
  // The sub-bracket: a line two spaces left of the staves, with ticks at both ends.
  auto vertical = [&](int x, int y1, int y2) {
    const auto lines = surface.Ops(SurfaceOp::Kind::Line);
    return std::any_of(lines.begin(), lines.end(), [&](const SurfaceOp& op) {
      return op.Points[0] == SurfacePoint{x, y1} && op.Points[1] == SurfacePoint{x, y2};
    });
  };
  EXPECT_TRUE(vertical(left - 2 * space, top, bottom));
  const int violinTop = bands[2]->Top() + bands[2]->PadTop();
  const int violaBottom = bands[3]->Top() + bands[3]->PadTop() + 4 * space;
  EXPECT_FALSE(vertical(left - 2 * space, violinTop, violaBottom));

  // Without group order: no brackets.
  score.AllGlobals().Remove(0, 101);
  score.RestartPagination(1);
  Show(1);
  EXPECT_EQ(Count(glyph::BracketTop), 0);
}

TEST_F(PaintPage, ABraceJoinsItsStavesAndShowsTheUpperName) {
  First().SetFlags(stfShowStaffDesc);
  First().SetDescription("Piano");
  Staff& lower = AddStaff("Left hand");
  lower.SetFlags(stfShowStaffDesc);
  First().SetBrace(Internal{}, 2);
  lower.SetBrace(Internal{}, 3);  // inside the brace above: cleared by the paint
  Staff& grand = AddStaff();
  grand.SetDefaultClef(clfGrand);
  grand.SetBrace(Internal{}, 2);  // a grand staff's brace is cleared too
  for (int i = 1; i <= 3; ++i) FillQuarters(*score.Staff(i), 40);
  Attach();
  Show(1);
  // Each system: the brace over the two staves, and the grand staff's own.
  const int systems = Systems();
  EXPECT_EQ(Count(glyph::BraceUpper), 2 * systems);
  EXPECT_EQ(Count(glyph::BraceLower), 2 * systems);
  EXPECT_EQ(First().Brace(), 2);
  EXPECT_EQ(lower.Brace(), 0);
  EXPECT_EQ(grand.Brace(), 0);
  // Bar lines run on from the upper staff's bottom line to the lower staff's top line.
  const auto& bands = Bands();
  const int gapTop = bands[0]->Top() + bands[0]->PadTop() + 4 * 144;
  const int gapBottom = bands[1]->Top() + bands[1]->PadTop();
  const auto lines = surface.Ops(SurfaceOp::Kind::Line);
  const auto joins = std::count_if(lines.begin(), lines.end(), [&](const SurfaceOp& op) {
    return op.Points[0].Y == gapTop && op.Points[1].Y == gapBottom && op.Points[0].X == op.Points[1].X;
  });
  EXPECT_EQ(joins, bands[0]->Measures());
  // The upper staff's name stands centred on the brace; the lower staff's is not shown.
  ASSERT_TRUE(Drew("Piano"));
  EXPECT_FALSE(Drew("Left hand"));
  const int h = (gapBottom + 4 * 144 - (bands[0]->Top() + bands[0]->PadTop())) / 2;
  EXPECT_EQ(Texts("Piano").front().Points[0].Y, PixelSnap(bands[0]->Top() + bands[0]->PadTop() + h - 184 / 2));
  EXPECT_EQ(Texts("Piano").front().Points[0].X, PixelSnap(kLeftMargin));
  // Only page 1's first system shows names.
  EXPECT_EQ(Texts("Piano").size(), 1u);
}

TEST_F(PaintPage, OctaveLinesAreDrawnByTheFullPaint) {
  FillQuarters(First(), 8, 79);
  First().GlobalEvents().Add(64, evtSectionDefine, 0, 1);  // 8va over the second measure
  Attach();
  Show(1);
  const Region& band = *Bands().front();
  EXPECT_EQ(band.MeasureFlag(1) & 4096, 4096);
  EXPECT_EQ(band.MeasureFlag(0) & 4096, 0);
  const auto dotted = surface.Ops(SurfaceOp::Kind::Line);
  EXPECT_TRUE(std::any_of(dotted.begin(), dotted.end(),
                          [](const SurfaceOp& op) { return op.Style == DrawStyle::Dot; }));
  EXPECT_EQ(Count(glyph::OctaveUp), 1);
}

TEST_F(PaintPage, PaintingRaisesItsEventsAndFindsTheMeasureOnScreen) {
  struct Log : ScoreEvents {
    std::vector<std::string> seen;
    void WindowCleared() override { seen.push_back("cleared"); }
    void ActiveMeasure(int n) override { seen.push_back("measure " + std::to_string(n)); }
    void MarkHandle(int type, int y) override {
      seen.push_back("handle " + std::to_string(type) + " " + std::to_string(y));
    }
  } log;
  FillQuarters(First(), 80);
  Attach();
  PaginateAll();
  score.AddListener(&log);
  score.SetHandles(true);
  Show(2);
  ASSERT_GE(log.seen.size(), 3u);
  EXPECT_EQ(log.seen[0], "cleared");
  EXPECT_EQ(log.seen[1], "handle 0 " + std::to_string(kTopMargin + 360));
  // Page 2 starts with measure 37: the measure selected on page 1 is not on it.
  EXPECT_EQ(log.seen.back(), "measure 37");
  EXPECT_EQ(score.SelectedMeasure(), 37);

  // A measure of the page, once selected, stays so when the page is painted again (as after
  // an edit), and a paint of another page selects that page's first measure.
  score.SetSelectedMeasure(Internal{}, 40);
  log.seen.clear();
  Show(2);
  EXPECT_EQ(std::count(log.seen.begin(), log.seen.end(), "measure 37"), 0);
  EXPECT_EQ(score.SelectedMeasure(), 40);
  Show(1);
  EXPECT_EQ(log.seen.back(), "measure 1");
  EXPECT_EQ(score.SelectedMeasure(), 1);
  score.RemoveListener(&log);
}

TEST_F(PaintPage, NothingOfAMeasureStandsPastItsBarLine) {
  // Every measure ends with its shortest values and a sixty-fourth rest.
  auto& notes = First().Voice(1)->Notes();
  for (int m = 0; m < 40; ++m) {
    const int t = 64 * m;
    for (const int at : {0, 16, 32}) notes.Add(t + at, 67, durQuarter, 0);
    notes.Add(t + 48, 67, durEighth, 0);
    notes.Add(t + 56, 67, durSixteenth, 0);
    notes.Add(t + 60, 67, durThirtySecond, 0);
    notes.Add(t + 62, 67, durSixtyFourth, 0);
  }
  Attach();
  Show(1);
  ASSERT_GT(Systems(), 1);
  for (const auto& band : Bands()) {
    // The bar lines of the band's system, from its left edge.
    std::vector<int> bars;
    int x = band->Left();
    for (int i = 0; i < band->Measures(); ++i) bars.push_back(x += band->Measure(i)->Low());
    const int top = band->Top();
    const int bottom = band->Bottom();
    for (const SurfaceOp& op : surface.Ops(SurfaceOp::Kind::Text)) {
      if (op.Font.Name != "Veltrimond" || op.Points[0].Y < top - 700 || op.Points[0].Y > bottom) continue;
      surface.SetFont(op.Font);
      const int left = op.Points[0].X;
      const int right = left + surface.TextWidth(op.Text);
      // Each glyph ends by the bar line of the measure it starts in, and nothing passes
      // the system's last bar line.
      const auto bar = std::upper_bound(bars.begin(), bars.end(), left);
      ASSERT_NE(bar, bars.end()) << op;
      EXPECT_LE(right, *bar) << op;
    }
  }
}

TEST_F(PaintPage, TwoVersesUnderAGrandStaffStandBetweenItsStaves) {
  Staff& piano = First();
  piano.SetDefaultClef(clfGrand);
  piano.SetVerses(Internal{}, 2);
  auto& notes = piano.Voice(1)->Notes();
  for (int t = 0; t < 8 * 64; t += 16) {
    notes.Add(t, 72, durQuarter, 0)->AddValue(48);
    piano.GlobalEvents().Add(t, evtLyric, 0, 0, "la\rlu");
  }
  Attach();
  Show(1);
  // The ten staff lines of the band's first system, top to bottom.
  std::vector<int> lines;
  const Region& band = *Bands().front();
  for (const SurfaceOp& op : surface.Ops(SurfaceOp::Kind::Line))
    if (op.Points[0].Y == op.Points[1].Y && op.Points[0].X == band.Left() && op.Points[1].X == band.Right() &&
        op.Points[0].Y < band.Bottom())
      lines.push_back(op.Points[0].Y);
  std::sort(lines.begin(), lines.end());
  ASSERT_EQ(lines.size(), 10u);
  const int upperBottom = lines[4];
  const int lowerTop = lines[5];
  for (const char* verse : {"la", "lu"}) {
    const auto syllables = Texts(verse);
    ASSERT_FALSE(syllables.empty()) << verse;
    for (const SurfaceOp& op : syllables) {
      if (op.Points[0].Y > band.Bottom()) continue;  // a later system
      surface.SetFont(op.Font);
      EXPECT_GT(op.Points[0].Y, upperBottom) << op;
      EXPECT_LE(op.Points[0].Y + surface.TextHeight(), lowerTop) << op;
    }
  }
}

TEST_F(PaintPage, AGrandStaffShowsEachChordSymbolOnceAboveTheSystem) {
  Staff& piano = First();
  piano.SetDefaultClef(clfGrand);
  piano.SetVerses(Internal{}, 2);
  score.SetUseChords(true);
  int g = 0;
  for (const auto& [name, value] : score.LoadChordList())
    if (name == "G") g = value;
  ASSERT_GT(g, 0);
  auto& notes = piano.Voice(1)->Notes();
  for (int t = 0; t < 4 * 64; t += 32) {
    notes.Add(t, 72, durHalf, 0)->AddValue(48);
    piano.GlobalEvents().Add(t, evtLyric, 0, 0, "la\rlu");
  }
  for (int t = 0; t < 4 * 64; t += 64) score.AllGlobals().Add(t, evtChord, static_cast<std::uint8_t>(g));
  Attach();
  Show(1);
  const Region& band = *Bands().front();
  ASSERT_TRUE(band.Split());
  int above = 0;
  for (const SurfaceOp& op : Texts("G")) {
    if (op.Font.Name == "Veltrimond") continue;
    EXPECT_LT(op.Points[0].Y, band.Top() + band.PadTop()) << op;  // never between the staves
    ++above;
  }
  EXPECT_EQ(above, 4);  // one per measure
}

TEST_F(PaintPage, ALongStaffNameIsCutToItsColumn) {
  First().SetFlags(stfShowStaffDesc);
  const std::string name = "Lead vocal, written by Somebody Famous, 2007 (revised 2010)";
  First().SetDescription(name);
  FillQuarters(First(), 40);
  Attach();
  Show(1);
  const int column = Bands().front()->Left() - kLeftMargin;
  EXPECT_EQ(column, kWidth / 4);
  // The one name drawn is the description's start and an ellipsis, within the column less
  // its gap of three letters.
  std::vector<SurfaceOp> names;
  for (const SurfaceOp& op : surface.Ops(SurfaceOp::Kind::Text))
    if (op.Font.Name == "Arial" && op.Text.rfind("Lead", 0) == 0) names.push_back(op);
  ASSERT_EQ(names.size(), 1u);
  const std::string& drawn = names[0].Text;
  ASSERT_GE(drawn.size(), 3u);
  EXPECT_EQ(drawn.substr(drawn.size() - 3), "\u2026");
  EXPECT_EQ(name.rfind(drawn.substr(0, drawn.size() - 3), 0), 0u);
  surface.SetFont(names[0].Font);
  EXPECT_LE(surface.TextWidth(drawn), column - surface.TextWidth("xxx"));
}

TEST_F(PaintPage, TheWindowFollowsThePageSize) {
  FillQuarters(First(), 8);
  Attach();
  auto fits = [&] {
    EXPECT_EQ(surface.PageWidth(), score.PageWidthTwips());
    EXPECT_EQ(surface.PageHeight(), score.PageHeightTwips());
  };
  score.SetPageSize(pgsA4);
  fits();
  EXPECT_EQ(surface.PageWidth(), 11909);
  score.SetPageOrientation(pgeLandscape);
  fits();
  EXPECT_EQ(surface.PageWidth(), 16834);
  score.SetPageHeight(7.0f);
  fits();
  score.SetPageWidth(9.5f);
  fits();
  EXPECT_EQ(surface.PageWidth(), 9.5 * 1440);
}

}  // namespace
}  // namespace notecraft
