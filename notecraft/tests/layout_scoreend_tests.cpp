// Where a score ends: its last system ends with the measure that holds its end (its music's,
// its final bar's, or that of measures inserted after them), on screen and in print; Insert
// Measure after the last measure adds measures to see and fill, Delete Measure takes the
// last ones with the final bar staying on the new last measure.
#include <algorithm>
#include <string>
#include <vector>

#include "edit_fixtures.h"
#include "notecraft/core/score_structure.h"
#include "notecraft/view/glyphs.h"
#include "print_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

constexpr int kMeasure = 64;

class ScoreEnd : public EditFixture {
public:
  // Paints the last page and returns its last band.
  const Region& LastBand() {
    PaginateAll();
    score.SetCurPage(score.LastPage());
    surface.ClearRecord();
    score.PaintWindow();
    return *Bands().back();
  }
  // The start of the band's last measure, and where the band's last bar line stands.
  static int LastMeasureStart(const Region& band) {
    return band.Measure(band.Measures() - 1)->High();
  }
  static int LastBarX(const Region& band) {
    int x = band.Left();
    for (int i = 0; i < band.Measures(); ++i) x += band.Measure(i)->Low();
    return x;
  }
  // Nothing of the band's system (the page's last) stands right of its last bar line: x and
  // width of every glyph and line drawn from the system's top down.
  static void NothingRightOf(const RecordingSurface& drawn, const Region& band) {
    const int right = band.Right();
    for (const SurfaceOp& op : drawn.Ops()) {
      if (op.What == SurfaceOp::Kind::Clear || op.What == SurfaceOp::Kind::NewPage) continue;
      if (op.Points.empty()) continue;
      // Music glyphs by their baseline, which lies on their staff.
      const bool music = op.What == SurfaceOp::Kind::Text && op.Font.Name == "Veltrimond";
      const int y = op.Points[0].Y + (music ? static_cast<int>(1.39 * op.Font.Size * 20) : 0);
      if (y < band.Top()) continue;
      int x = op.Points[0].X;
      for (const SurfacePoint& p : op.Points) x = std::max(x, p.X);
      if (op.What == SurfaceOp::Kind::Text) {
        RecordingSurface measure;
        measure.SetFont(op.Font);
        x += measure.TextWidth(op.Text);
      }
      EXPECT_LE(x, right) << op;
    }
  }
  int FinalBars() const {
    const auto texts = surface.Ops(SurfaceOp::Kind::Text);
    return static_cast<int>(std::count_if(texts.begin(), texts.end(), [](const SurfaceOp& op) {
      return op.Text == std::string(1, glyph::ThinThickBar);
    }));
  }
};

TEST_F(ScoreEnd, TheLastSystemEndsAtTheFinalBarOnScreenAndInPrint) {
  // A final bar on measure 10, with ten measures of music or nine: nothing follows it,
  // though a line holds four measures.
  for (const int music : {10, 9}) {
    SCOPED_TRACE(::testing::Message() << music << " measures of music");
    First().Voice(1)->Notes().RemoveRange(0, 1 << 20);
    FillQuarters(First(), music);
    score.AllGlobals().Add(9 * kMeasure, evtScoreEnd);
    Attach();
    const Region& last = LastBand();
    EXPECT_EQ(LastMeasureStart(last), 9 * kMeasure);
    EXPECT_EQ(LastBarX(last), last.Right());
    EXPECT_GT(FinalBars(), 0);
    NothingRightOf(surface, last);

    RecordingPrinter printer;
    ASSERT_TRUE(score.PrintScore(printer, score.LastPage(), score.LastPage()));
    NothingRightOf(*printer.surface, last);
    score.AllGlobals().Remove(9 * kMeasure, evtScoreEnd);
  }
}

TEST_F(ScoreEnd, ALastSystemOfFewMeasuresKeepsTheirWidthsAndAFullOneIsJustified) {
  // Four measures fill a line; one or two take less than half of it.
  for (const int measures : {9, 10, 12}) {
    SCOPED_TRACE(::testing::Message() << measures << " measures");
    First().Voice(1)->Notes().RemoveRange(0, 1 << 20);
    FillQuarters(First(), measures);
    Attach();
    const Region& last = LastBand();
    EXPECT_EQ(LastMeasureStart(last), (measures - 1) * kMeasure);
    const bool full = last.Measures() > 2;
    EXPECT_EQ(last.Right() == kRightX, full);
    EXPECT_EQ(LastBarX(last), last.Right());
    NothingRightOf(surface, last);
  }
}

TEST_F(ScoreEnd, InsertMeasureAfterTheLastAddsMeasuresToSeeAndFill) {
  FillQuarters(First(), 12);
  Attach();
  ASSERT_EQ(LastMeasureStart(LastBand()), 11 * kMeasure);
  AddMeasure(score, 12, true, false);
  const Region& last = LastBand();
  ASSERT_EQ(LastMeasureStart(last), 12 * kMeasure);
  // A click in the new measure writes a note there.
  score.AddNoteByHit(XAt(last, last.Measures() - 1, 0), YAt(last, 4), durQuarter, 0);
  EXPECT_TRUE(NoteAt(1, 12 * kMeasure));

  // With a final bar, the inserted measures come before it.
  score.AllGlobals().Add(12 * kMeasure, evtScoreEnd);
  AddMeasure(score, 13, true, false);
  AddMeasure(score, 14, true, false);
  EXPECT_EQ(LastMeasureStart(LastBand()), 14 * kMeasure);
  EXPECT_EQ(score.MeasureFlags(14 * kMeasure) & 8, 8);
  EXPECT_EQ(score.MeasureFlags(12 * kMeasure) & 8, 0);
}

TEST_F(ScoreEnd, DeletingTheLastMeasuresKeepsTheFinalBarOnTheNewLastOne) {
  FillQuarters(First(), 12);
  score.AllGlobals().Add(11 * kMeasure, evtScoreEnd);
  Attach();
  DelMeasure(score, 11, false);  // the eleventh: the final bar stays where it is, moved up
  EXPECT_EQ(LastMeasureStart(LastBand()), 10 * kMeasure);
  EXPECT_EQ(score.MeasureFlags(10 * kMeasure) & 8, 8);
  DelMeasure(score, 11, false);  // the last: its final bar goes to the tenth
  EXPECT_EQ(LastMeasureStart(LastBand()), 9 * kMeasure);
  EXPECT_EQ(score.MeasureFlags(9 * kMeasure) & 8, 8);
  EXPECT_GT(FinalBars(), 0);
}

TEST_F(ScoreEnd, AnImportedScoreEndsWithItsMusicNotWithItsTracks) {
  // Eight and a half measures of music, then five silent measures before the tracks end.
  ASSERT_TRUE(score.OpenFile(std::string(NOTECRAFT_TEST_DATA) + "/midi/trailing_silence.mid"));
  Attach();
  const Region& last = LastBand();
  EXPECT_EQ(LastMeasureStart(last), 8 * kMeasure);
  EXPECT_EQ(LastBarX(last), last.Right());
  NothingRightOf(surface, last);
  EXPECT_LE(score.PageTimes()[static_cast<std::size_t>(score.LastPage() - 1)].High(), 9 * kMeasure);
}

TEST_F(ScoreEnd, ANewScoreOffersItsFirstLineToWriteIn) {
  // Four empty measures; a note in the first does not take the others away.
  score.CreateDefault();
  score.SetTitle("");
  score.SetComposer("");
  score.SetArrangedBy("");
  score.SetMetronome(false);
  First().SetFlags(0);
  Attach();
  EXPECT_EQ(LastBand().Measures(), 4);
  score.AddNoteByHit(XAt(Band(1), 0, 0), YAt(Band(1), 4), durQuarter, 0);
  EXPECT_EQ(LastBand().Measures(), 4);
}

TEST_F(ScoreEnd, ANewScoreMadeInAShownWindowShowsItsFourMeasures) {
  // As the editor makes one: the window is there first, showing the score it was made with,
  // then the new score is made and painted, refreshed (F5) and written in, with no relayout
  // asked for in between.
  Attach();
  PaginateAll();
  score.CreateDefault();
  // The measures the page shows, over its systems.
  const auto shown = [this] {
    int measures = 0;
    for (const auto& band : Bands()) measures += band->First() ? band->Measures() : 0;
    return measures;
  };
  score.PaintWindow();
  EXPECT_EQ(shown(), 4);
  score.PaintWindow();
  EXPECT_EQ(shown(), 4);
  score.AddNoteByHit(XAt(Band(1), 0, 0), YAt(Band(1), 4), durQuarter, 0);
  EXPECT_EQ(shown(), 4);
  // The second measure takes a note where it is drawn.
  score.AddNoteByHit(XAt(Band(1), 1, 0), YAt(Band(1), 4), durQuarter, 0);
  EXPECT_TRUE(NoteAt(1, 64));
  EXPECT_EQ(shown(), 4);
}

}  // namespace
}  // namespace notecraft
