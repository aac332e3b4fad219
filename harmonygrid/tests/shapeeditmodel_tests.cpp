// The chord shape editor without its window: hit testing on the fretboard picture, toggling
// fingers, the position controls, Ok's normalisation and when edits count. Twips.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harmonygrid/core/shapeeditmodel.h"
#include "tablefixture.h"

namespace harmonygrid {
namespace {

using testing::Describe;

constexpr int kOnRow1 = 720;  // y of fret line 1

int XOf(int string) { return ShapeEditModel::StringX(string); }
int YOf(int row) { return ShapeEditModel::FretY(row); }

clsMap Shape(const std::vector<std::pair<int, int>>& pairs, int top = 0) {
  clsMap m;
  for (const auto& [s, f] : pairs) m.Add(s, f);
  m.SetTop(top);
  return m;
}

// An editor showing shape, already on screen.
ShapeEditModel Shown(const clsMap& shape = {}) {
  ShapeEditModel model;
  model.Load(shape);
  model.Activate();
  return model;
}

std::string Marks(const ShapeEditModel& m) {
  const auto marks = m.StringMarks();
  return std::string(marks.begin(), marks.end());
}

TEST(ShapeEditModel, HitBandsAroundTheLines) {
  struct Case {
    int v, string, row;
  };
  // String 2 is at x 600 and fret row 1 at y 720: bands open 45 before and 60 after a line.
  const Case cases[] = {
      {600 + 59, 2, 0},  {600 + 60, 0, 0},  {600 - 44, 2, 0},  {600 - 45, 0, 0},
      {720 + 59, 0, 1},  {720 + 60, 0, 0},  {720 - 45, 0, 0},  {360 - 44, 1, 0},
      {1560 + 59, 6, 0}, {1680 + 59, 0, 5}, {1680 + 60, 0, 0}, {0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v);
    EXPECT_EQ(ShapeEditModel::StringAt(c.v), c.string);
    EXPECT_EQ(ShapeEditModel::RowAt(c.v), c.row);
  }
}

TEST(ShapeEditModel, ClicksToggleFingers) {
  ShapeEditModel m = Shown(Shape({{3, 0}, {3, 4}, {5, 2}}));
  // A click off the lines does nothing.
  EXPECT_FALSE(m.Click(XOf(3) + 100, YOf(2)));
  EXPECT_FALSE(m.Changed());
  // Fretting string 3 at 2 replaces its open pair and keeps its finger at 4.
  ASSERT_TRUE(m.Click(XOf(3), YOf(2)));
  EXPECT_EQ(Describe(m.Map()), "//0/3,4 5,2 3,2");
  EXPECT_TRUE(m.Changed());
  // The same place again takes the finger away.
  ASSERT_TRUE(m.Click(XOf(3) + 10, YOf(2) - 10));
  EXPECT_EQ(Describe(m.Map()), "//0/3,4 5,2");
  // Up the neck a row is counted from the position: position 4, row 1 is fret 5.
  ShapeEditModel up = Shown(Shape({}, 4));
  ASSERT_TRUE(up.Click(XOf(1), kOnRow1));
  EXPECT_EQ(Describe(up.Map()), "//0/1,5");
}

TEST(ShapeEditModel, PositionBox) {
  // GIVEN a shape with a muted, an open and three fretted strings, in the "Fret:" position.
  ShapeEditModel m = Shown(Shape({{1, -1}, {2, 0}, {3, 2}, {4, 3}, {5, 5}}));
  m.ChooseFret();
  // "Fret:" starts at 1, which drops the pairs at frets 1 and below (open and muted too).
  EXPECT_EQ(m.PositionText(), "1");
  EXPECT_EQ(m.Map().Top(), 1);
  EXPECT_EQ(Describe(m.Map()), "//0/3,2 4,3 5,5");
  // Typing 3 drops everything at 3 and below.
  m.SetPositionText("3");
  EXPECT_EQ(m.Map().Top(), 3);
  EXPECT_EQ(Describe(m.Map()), "//0/5,5");
  // Above 27 the box shows 27, also for numbers beyond 16 bits.
  m.SetPositionText("35");
  EXPECT_EQ(m.PositionText(), "27");
  EXPECT_EQ(m.Map().Top(), 27);
  m.SetPositionText("99999999999999999999");
  EXPECT_EQ(m.PositionText(), "27");
  // Up stops at 27, down at 1.
  m.StepUp();
  EXPECT_EQ(m.PositionText(), "27");
  m.SetPositionText("2");
  m.StepDown();
  EXPECT_EQ(m.PositionText(), "1");
  m.StepDown();
  EXPECT_EQ(m.PositionText(), "1");
  m.StepUp();
  EXPECT_EQ(m.PositionText(), "2");
  EXPECT_EQ(m.Map().Top(), 2);
  // An empty box (being retyped) keeps the position; the arrows then start at 1.
  m.SetPositionText("");
  EXPECT_EQ(m.Map().Top(), 2);
  m.StepUp();
  EXPECT_EQ(m.PositionText(), "1");
  // "Open" empties the box and goes back to the nut; the arrows then do nothing.
  m.ChooseOpen();
  EXPECT_EQ(m.PositionText(), "");
  EXPECT_EQ(m.Map().Top(), 0);
  m.StepUp();
  EXPECT_EQ(m.PositionText(), "");
}

TEST(ShapeEditModel, OkNormalisesChangedShapes) {
  struct Case {
    const char* name;
    clsMap start;
    const char* key;       // typed, or nullptr for none
    const char* text;
    std::pair<int, int> click;  // string and row; 0 for none
    const char* expected;
  };
  const Case cases[] = {
      // One click on string 3, row 2: named "New", strings 4..6 (above it, without a pair) open.
      {"new shape, one click", {}, nullptr, nullptr, {3, 2}, "New/New/0/3,2 4,0 5,0 6,0"},
      {"key falls back to the text", {}, "  ", " Am7 ", {1, 1},
       "Am7/ Am7 /0/1,1 2,0 3,0 4,0 5,0 6,0"},
      {"text takes the key", {}, " G ", "", {6, 3}, "G/G/0/6,3"},
      {"strings with a pair keep it", Shape({{2, -1}, {4, 2}}), "D", nullptr, {0, 0},
       "D/D/0/2,-1 4,2 3,0 5,0 6,0"},
      {"up the neck open pairs go", Shape({{1, 0}, {2, 7}, {3, 0}}, 6), "X", nullptr, {0, 0},
       "X/X/0/2,7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShapeEditModel m = Shown(c.start);
    if (c.key) m.SetKey(c.key);
    if (c.text) m.SetText(c.text);
    if (c.click.first) {
      ASSERT_TRUE(m.Click(XOf(c.click.first), YOf(c.click.second)));
    }
    m.Accept();
    EXPECT_EQ(m.Result(), ShapeEditModel::kOk);
    EXPECT_EQ(Describe(m.Map()), c.expected);
    // Ok twice (a refused Ok, then Ok again) adds nothing.
    m.Accept();
    EXPECT_EQ(Describe(m.Map()), c.expected);
  }
  // Unchanged: Ok leaves the shape as it came.
  ShapeEditModel unchanged = Shown(Shape({{4, 2}}));
  unchanged.Accept();
  EXPECT_EQ(Describe(unchanged.Map()), "//0/4,2");
  EXPECT_FALSE(unchanged.Changed());
  ShapeEditModel cancelled = Shown();
  cancelled.Cancel();
  EXPECT_EQ(cancelled.Result(), ShapeEditModel::kCancel);
  EXPECT_EQ(ShapeEditModel().Result(), ShapeEditModel::kLoaded);
}

TEST(ShapeEditModel, EditsCountOnlyAfterActivation) {
  // The caller fills the copy before the dialog is shown: not an edit.
  ShapeEditModel m;
  m.Load(Shape({{5, 3}}));
  m.SetKey("C");
  m.SetText("C");
  ASSERT_TRUE(m.Click(XOf(4), YOf(2)));
  EXPECT_FALSE(m.Changed());
  m.Activate();
  m.SetKey("C");  // the same text again is no change
  EXPECT_FALSE(m.Changed());
  m.SetText("C7");
  EXPECT_TRUE(m.Changed());
}

TEST(ShapeEditModel, LoadingShowsThePositionAndChangesNothing) {
  // A shape whose Top lies outside 1..27 shows as 1st fret, and loading and showing it keep
  // its open and muted strings and its Top.
  const clsMap odd = Shape({{1, -1}, {2, 0}, {3, 2}}, -1);
  ShapeEditModel m;
  m.Load(odd);
  EXPECT_TRUE(m.FretPosition());
  EXPECT_EQ(m.PositionText(), "1");
  EXPECT_EQ(m.Position(), 1);
  EXPECT_EQ(m.FretLabel(), "1st fret");
  EXPECT_EQ(Marks(m), "      ");
  EXPECT_EQ(m.Fingers(), (std::vector<std::pair<int, int>>{{3, 1}}));
  EXPECT_EQ(Describe(m.Map()), Describe(odd));
  EXPECT_EQ(m.Map().Top(), -1);
  EXPECT_FALSE(m.Changed());
  // A shape up the neck opens in "Fret:" with its fret; one at the nut in "Open".
  ShapeEditModel high;
  high.Load(Shape({{2, 9}}, 7));
  EXPECT_TRUE(high.FretPosition());
  EXPECT_EQ(high.PositionText(), "7");
  EXPECT_EQ(high.FretLabel(), "7th fret");
  EXPECT_EQ(high.Fingers(), (std::vector<std::pair<int, int>>{{2, 2}}));
  ShapeEditModel open;
  open.Load(Shape({{2, 1}}));
  EXPECT_FALSE(open.FretPosition());
  EXPECT_EQ(open.PositionText(), "");
}

TEST(ShapeEditModel, StringMarksInTheOpenPosition) {
  struct Case {
    const char* name;
    clsMap shape;
    const char* marks;
  };
  const Case cases[] = {
      {"no pairs: nothing is played", {}, "xxxxxx"},
      {"below the lowest string", Shape({{3, 2}, {4, 0}}), "xx ooo"},
      {"muted strings", Shape({{1, -1}, {2, -1}, {3, 0}, {4, 2}, {5, 3}, {6, 1}}), "xxo   "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShapeEditModel m;
    m.Load(c.shape);
    EXPECT_EQ(Marks(m), c.marks);
    EXPECT_EQ(m.FretLabel(), "");
  }
}

TEST(ShapeEditModel, LeadingNumber) {
  const std::pair<const char*, int> cases[] = {
      {"12", 12}, {"  7x", 7}, {"", 0}, {"x7", 0}, {"-3", -3}, {"999999", 32767}, {"+4", 4}};
  for (const auto& [text, n] : cases) EXPECT_EQ(ShapeEditModel::LeadingNumber(text), n) << text;
}

}  // namespace
}  // namespace harmonygrid
