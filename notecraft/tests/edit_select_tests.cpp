// Selecting notes with a rectangle over the page: across staves and systems, its edges,
// only the active voice, and the selected staff and measure.
#include <vector>

#include "edit_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

class Selection : public EditFixture {
public:
  void SetUp() override {
    AddStaff();
    FillQuarters(First(), 12, 67);
    FillQuarters(*score.Staff(2), 12, 55);
    AddVoice(First());
    VoiceOf(1, 2)->Notes().Add(8, 60, durEighth, 0);
    Paint();
    ASSERT_GE(Bands().size(), 4u);
    ASSERT_TRUE(Band(3).First());
  }
  std::vector<int> SelectedTimes() {
    std::vector<int> times;
    for (const auto& s : Editing().Selection)
      if (auto note = s.Item.lock()) times.push_back(note->NoteTime());
    return times;
  }
  int NoteX(int staff, int time) { return NoteAt(staff, time)->X(); }
};

TEST_F(Selection, ARectangleTakesTheActiveVoiceOfEveryStaffItMeets) {
  // From the second note of staff 1 to the fourth of staff 2, first system.
  const int left = NoteX(1, 16) - 10;
  const int right = NoteX(1, 48) + 10 + Band(1).IncY();
  const int top = Band(1).Top() + 10;
  const int bottom = Band(2).Bottom() - 10;
  EXPECT_EQ(score.SetSelection(left, top, right, bottom), 6);
  EXPECT_EQ(SelectedTimes(), (std::vector<int>{16, 32, 48, 16, 32, 48}));
  EXPECT_EQ(Editing().Selection.front().Staff, 1);
  EXPECT_EQ(Editing().Selection.back().Staff, 2);
  EXPECT_EQ(Editing().Selection.front().VoiceID, VoiceOf(1)->ID());
  EXPECT_EQ(Editing().SelectionVoice, 1);
  // Drawn the other way round: the same notes.
  EXPECT_EQ(score.SetSelection(right, bottom, left, top), 6);
  EXPECT_EQ(SelectedTimes(), (std::vector<int>{16, 32, 48, 16, 32, 48}));

  // The second voice's eighth at 8 joins only while its voice is active.
  score.SetVoice(2);
  EXPECT_EQ(score.SetSelection(Band(1).Left(), top, Band(1).Right(), Band(1).Bottom()), 1);
  EXPECT_EQ(SelectedTimes(), (std::vector<int>{8}));
  score.ClearSelection();
  EXPECT_EQ(score.SelCount(), 0);
}

TEST_F(Selection, StrictEdgesAndTheWalkEnd) {
  const int top = Band(1).Top() + 10;
  const int bottom = Band(1).Bottom() - 10;
  const int s = Band(1).IncY();
  // A note exactly on the left edge stays out; one whose x plus a line space reaches the
  // right edge ends the walk.
  EXPECT_EQ(score.SetSelection(NoteX(1, 16), top, NoteX(1, 64) + s, bottom), 2);
  EXPECT_EQ(SelectedTimes(), (std::vector<int>{32, 48}));
  // A rectangle touching the band's edge only meets nothing.
  EXPECT_EQ(score.SetSelection(Band(1).Left(), Band(1).Top() - 5, Band(1).Right(), Band(1).Top()),
            0);
  EXPECT_EQ(score.SetSelection(0, 0, 100, 100), 0);
}

TEST_F(Selection, ABandStopsWhereTheStaffsNextBandBegins) {
  // Across both systems: staff 1's first band takes its notes up to the second system's
  // start, the second band from there to the page's end.
  const int secondStart = Band(3).Measure(0)->High();
  const int count =
      score.SetSelection(Band(1).Left(), Band(1).Top() + 5, Band(1).Right(), Band(3).Bottom() - 5);
  const auto times = SelectedTimes();
  EXPECT_EQ(count, static_cast<int>(times.size()));
  int firstBand = 0;
  for (const auto& s : Editing().Selection) {
    const auto note = s.Item.lock();
    if (s.Staff == 1 && note->NoteTime() < secondStart) ++firstBand;
  }
  EXPECT_EQ(firstBand, secondStart / 16);
  EXPECT_TRUE(std::is_sorted(times.begin(), times.begin() + firstBand));
  EXPECT_GT(count, 2 * firstBand);  // staff 2's band and the second system too
}

TEST_F(Selection, SelectedStaffAndMeasure) {
  Score fresh;
  fresh.CreateDefault();
  EXPECT_EQ(fresh.SelectedMeasure(), 1);
  for (const auto& staff : score.AllStaffs()) staff->SetSelected(false);
  EXPECT_EQ(score.SelectedStaff(), nullptr);
  score.Staff(2)->SetSelected(true);
  EXPECT_EQ(score.SelectedStaff(), score.Staff(2));
  score.SetSelectedMeasure(Internal{}, 7);
  EXPECT_EQ(score.SelectedMeasure(), 7);
}

}  // namespace
}  // namespace notecraft
