// Repainting the system of an edit from the page's bands: which bands are redrawn, the
// erased rectangle, measure flags changed on the way, and the state restored first.
#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

#include "edit_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

class PartialRepaint : public EditFixture {
public:
  // Three staves, two systems on the page.
  void ThreeStavesTwoSystems() {
    AddStaff();
    AddStaff();
    FillQuarters(First(), 8);
    Paint();
    ASSERT_GE(Bands().size(), 6u);
    ASSERT_TRUE(Band(4).First());
  }
  // The y of the top staff lines drawn (five lines a staff, in the lines colour).
  std::set<int> StaffTops() {
    std::vector<int> ys;
    for (const SurfaceOp& op : surface.Ops(SurfaceOp::Kind::Line))
      if (op.Points[0].Y == op.Points[1].Y && op.Color == Dc().ColorLines())
        ys.push_back(op.Points[0].Y);
    std::sort(ys.begin(), ys.end());
    std::set<int> tops;
    for (std::size_t k = 0; k + 4 < ys.size(); k += 5) tops.insert(ys[k]);
    return tops;
  }
  int TopLine(int band) { return PixelSnap(Band(band).Top() + Band(band).PadTop()); }
};

TEST_F(PartialRepaint, ANoteInTheMiddleStaffRedrawsItsSystemOnly) {
  ThreeStavesTwoSystems();
  surface.ClearRecord();
  score.AddNoteByHit(XAt(Band(2), 0, 0), YAt(Band(2), 4), durQuarter, 0);
  ASSERT_TRUE(NoteAt(2, 0));
  EXPECT_TRUE(surface.Ops(SurfaceOp::Kind::Clear).empty());
  const auto boxes = surface.Ops(SurfaceOp::Kind::Box);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Color, surface.BackColor());
  EXPECT_EQ(boxes[0].Points[0],
            (SurfacePoint{PixelSnap(Band(1).Left()), PixelSnap(Band(1).Top())}));
  EXPECT_EQ(boxes[0].Points[1],
            (SurfacePoint{PixelSnap(Band(3).Right()), PixelSnap(Band(3).Bottom())}));
  EXPECT_EQ(StaffTops(), (std::set<int>{TopLine(1), TopLine(2), TopLine(3)}));
  // The system's left line, from its top line to its bottom line.
  const auto lines = surface.Ops(SurfaceOp::Kind::Line);
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const SurfaceOp& op) {
    return op.Points[0].X == Band(1).Left() && op.Points[0].Y == Band(1).Top() + Band(1).PadTop() &&
           op.Points[1].X == op.Points[0].X &&
           op.Points[1].Y == Band(3).Top() + Band(3).PadTop() + 4 * Band(3).IncY();
  }));
  EXPECT_EQ(Editing().CaretSearchTime, -1);
}

TEST_F(PartialRepaint, TheLastSystemRunsToTheLastBand) {
  ThreeStavesTwoSystems();
  surface.ClearRecord();
  const int last = static_cast<int>(Bands().size());
  ASSERT_TRUE(Band(last - 2).First());
  score.RepaintAfterEdit(Internal{}, Band(last - 1), false, -1, 0, 0);
  EXPECT_EQ(StaffTops(), (std::set<int>{TopLine(last - 2), TopLine(last - 1), TopLine(last)}));
  surface.ClearRecord();
  score.RepaintAfterEdit(Internal{}, Band(2), true, -1, 0, 0);  // to the page's end
  EXPECT_EQ(StaffTops().size(), Bands().size());
}

TEST_F(PartialRepaint, ChangesOneMeasuresFlagsInEveryBandOfTheSystem) {
  ThreeStavesTwoSystems();
  struct Case {
    int before, measure, set, clear, after;
  };
  for (const Case c : {Case{3, 1, 0, 2, 1}, Case{3, 1, 4, 0, 7}, Case{3, -1, 4, 2, 3},
                       Case{0x10003, 1, 0, 0, 3}}) {
    for (int b = 1; b <= 6; ++b) Band(b).SetMeasureFlag(1, c.before);
    score.RepaintAfterEdit(Internal{}, Band(3), false, c.measure, c.set, c.clear);
    for (int b = 1; b <= 3; ++b) EXPECT_EQ(Band(b).MeasureFlag(1), c.after) << "band " << b;
    EXPECT_EQ(Band(4).MeasureFlag(1), c.before);
  }
}

TEST_F(PartialRepaint, DrawsWhatTheFullPaintDrewInsideTheSystem) {
  // A key change in the second system (which leaves its shifts behind), a braced pair and
  // a grand staff: the repaint of the first system draws the same as the full paint did.
  AddStaff().SetDefaultClef(clfBass);
  AddStaff("Piano").SetDefaultClef(clfGrand);
  First().SetBrace(Internal{}, 2);
  FillQuarters(First(), 8, 72);
  FillQuarters(*score.Staff(3), 8, 48);
  AddVoice(*score.Staff(2));
  VoiceOf(2, 2)->Notes().Add(16, 40, durHalf, 0);
  Paint();
  ASSERT_TRUE(Band(4).First());
  const int secondStart = Band(4).Measure(1)->High();
  score.Staff(1)->GlobalEvents().Add(secondStart, evtKeyChange, 3);
  Paint();
  // What was drawn inside the first system's rectangle before the second system began.
  auto inside = [&](const std::vector<SurfaceOp>& ops) {
    std::vector<SurfaceOp> kept;
    const int secondTop = TopLine(4);
    for (const SurfaceOp& op : ops) {
      if (op.What == SurfaceOp::Kind::Line && op.Points[0].Y == secondTop &&
          op.Points[1].Y == secondTop)
        break;
      if (op.What == SurfaceOp::Kind::Clear || op.What == SurfaceOp::Kind::Box) continue;
      const SurfacePoint p = op.Points.front();
      if (p.X >= PixelSnap(Band(1).Left()) && p.Y >= PixelSnap(Band(1).Top()) &&
          p.Y <= Band(3).Bottom())
        kept.push_back(op);
    }
    return kept;
  };
  const auto full = inside(surface.Ops());
  surface.ClearRecord();
  score.RepaintAfterEdit(Internal{}, Band(1), false, -1, 0, 0);
  const auto partial = inside(surface.Ops());
  ASSERT_FALSE(full.empty());
  EXPECT_EQ(partial.size(), full.size());
  // Every operation drawn again (order aside: the joins come in another place).
  for (const SurfaceOp& op : full)
    EXPECT_TRUE(std::find(partial.begin(), partial.end(), op) != partial.end())
        << int(op.What) << " '" << op.Text << "' at " << op.Points[0].X << "," << op.Points[0].Y
        << (op.Points.size() > 1
                ? " to " + std::to_string(op.Points[1].X) + "," + std::to_string(op.Points[1].Y)
                : "")
        << " colour " << op.Color << " bands " << Band(1).Top() << ".." << Band(3).Bottom();
}

TEST_F(PartialRepaint, ANoteUnderASungLineRedrawsWhereThePaintDrewIt) {
  // GIVEN a sung line whose syllables on sixteenths move the system's notes apart, over
  // eighths
  First().SetVerses(Internal{}, 1);
  const int times[] = {0, 32, 36, 40, 44, 48};
  const int lengths[] = {durHalf,      durSixteenth, durSixteenth,
                         durSixteenth, durSixteenth, durQuarter};
  const char* words[] = {"Oh,", "thunder", "lightning", "rolling", "over", "blue."};
  for (int m = 0; m < 128; m += 64) {
    for (int k = 0; k < 6; ++k) {
      VoiceOf(1)->Notes().Add(m + times[k], 67, lengths[k], 0);
      First().GlobalEvents().Add(m + times[k], evtLyric, 0, 0, words[k]);
    }
  }
  Staff& piano = AddStaff();
  for (int t = 0; t < 128; t += 8) piano.Voice(1)->Notes().Add(t, 55, durEighth, 0);
  Paint();
  // WHEN a pitch joins a chord of the lower staff (no new position, and a B over the G
  // reaches no further: the system is repainted)
  surface.ClearRecord();
  score.AddNoteByHit(XAt(Band(2), 0, 24), YAt(Band(2), 11), durEighth, 0);
  ASSERT_TRUE(surface.Ops(SurfaceOp::Kind::Clear).empty());
  ASSERT_FALSE(surface.Ops(SurfaceOp::Kind::Box).empty());
  const std::vector<SurfaceOp> repainted = surface.Ops(SurfaceOp::Kind::Text);
  // THEN every note, rest and syllable stands where a paint of the page puts it, in the
  // first system (drawn before the second system's first staff line)
  surface.ClearRecord();
  score.PaintWindow();
  std::vector<SurfaceOp> painted;
  for (const SurfaceOp& op : surface.Ops()) {
    if (Bands().size() > 2 && op.What == SurfaceOp::Kind::Line && op.Points[0].Y == TopLine(3) &&
        op.Points[1].Y == TopLine(3))
      break;
    if (op.What == SurfaceOp::Kind::Text) painted.push_back(op);
  }
  auto byPlace = [](std::vector<SurfaceOp> ops) {
    std::sort(ops.begin(), ops.end(), [](const SurfaceOp& a, const SurfaceOp& b) {
      return std::tie(a.Points[0].X, a.Points[0].Y, a.Text) <
             std::tie(b.Points[0].X, b.Points[0].Y, b.Text);
    });
    return ops;
  };
  EXPECT_EQ(byPlace(repainted), byPlace(painted));
}

}  // namespace
}  // namespace notecraft
