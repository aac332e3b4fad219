// The dialogs' rules without widgets: Set Note checks and values, and what the Transpose and
// Copy/Move choices hand the tool host.
#include <gtest/gtest.h>

#include "edittools/core/setnotevalue.h"
#include "edittools/core/tooldialogs.h"
#include "toolfixtures.h"

namespace edittools {
namespace {

TEST(SetNoteValue, ChecksAndValues) {
  struct Row {
    const char* name;
    SetNoteChoice choice;
    bool ok;
    int value;
    const char* message;
  };
  const Row rows[] = {
      {"up three", {false, true, "3", -1, ""}, true, 259, ""},
      {"down three", {false, false, "3", -1, ""}, true, -3, ""},
      {"empty box is no change", {false, true, "", -1, ""}, true, 0, ""},
      {"forty is the most", {false, true, "40", -1, ""}, true, 296, ""},
      {"forty-one refused", {false, true, "41", -1, ""}, false, 0,
       "The number of Half-Steps must be between 0 and 40."},
      {"a long run of digits refused", {false, true, "99999999999", -1, ""}, false, 0,
       "The number of Half-Steps must be between 0 and 40."},
      {"middle C", {true, true, "", 0, "5"}, true, 60, ""},
      {"G in octave 10 is 127", {true, true, "", 7, "10"}, true, 127, ""},
      {"G# in octave 10 refused", {true, true, "", 8, "10"}, false, 0,
       "Notes above 'G' are not permitted in the tenth octave."},
      {"octave 11 refused", {true, true, "", 0, "11"}, false, 0, "The octave must be between 0 and 10."},
      {"no note", {true, true, "", -1, "5"}, false, 0, "You must specify a valid note and octave."},
      // Pitch 0 would read as "no change" to the selection change.
      {"C in octave 0 refused", {true, true, "", 0, "0"}, false, 0,
       "Notes below 'C#' are not permitted in octave 0."},
      {"C# in octave 0", {true, true, "", 1, "0"}, true, 1, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const SetNoteCheck check = CheckSetNote(r.choice);
    EXPECT_EQ(check.Ok, r.ok);
    if (r.ok) {
      EXPECT_EQ(check.Value, r.value);
    }
    EXPECT_EQ(check.Message, r.message);
  }
}

TEST(ToolDialogs, StaffItemsAndKeyNames) {
  auto score = testing::MakeScore(3, 1);
  score->Staff(2)->SetDescription("Violin");
  EXPECT_EQ(StaffItems(*score), (std::vector<std::string>{"1: Staff 1", "2: Violin", "3: Staff 3"}));
  EXPECT_STREQ(MajorKeyNames()[2 + 7], "D - 2 sharps");
  EXPECT_STREQ(MinorKeyNames()[2 + 7], "B - 2 sharps");
  EXPECT_STREQ(MajorKeyNames()[-1 + 7], "F - 1 flat");
  EXPECT_STREQ(MinorKeyNames()[0 + 7], "A");
}

TEST(ToolDialogs, ChoicesBecomeToolRequests) {
  RangeChoice staff2m3to5{false, 2, false, "3", false, "5"};
  RangeChoice whole{};
  whole.FromText = "7";  // ignored: "Beginning"
  RangeChoice selection{};
  selection.Selection = true;
  struct Row {
    const char* name;
    ToolRequest got, want;
  };
  const Row rows[] = {
      {"to a key, voices 1 and 3",
       TransposeRequest({staff2m3to5, 0, 6, 9, false, "", true}),
       {toolTranspose, {false, 2, 3, 5}, {0, 6, 9}, true, 0}},
      {"raise four half-steps, keys unchanged",
       TransposeRequest({whole, 1, 0, 7, true, "4", false}),
       {toolTranspose, {false, 0, 0, 0}, {1, 1, 4}, false, 0}},
      {"lower two keys, amount not a number",
       TransposeRequest({whole, 2, 0, 7, false, "x", true}),
       {toolTranspose, {false, 0, 0, 0}, {2, 0, 0}, true, 0}},
      {"move voice 2 to staff 3 measure 9 voice 4",
       CopyMoveRequest({staff2m3to5, true, 2, 3, "9", 4}),
       {toolCopyMove, {false, 2, 3, 5}, {3, 9, 4}, true, 2}},
      {"copy, same staff and voice, empty measure box",
       CopyMoveRequest({whole, false, 0, 0, "", 0}),
       {toolCopyMove, {false, 0, 0, 0}, {0, 0, 0}, false, 0}},
      {"copy the selection from C#6 up",
       CopyMoveRequest({selection, false, 0, 0, "2", 0, false, true, 1, "6"}),
       {toolCopyMove, {true, 0, 0, 0}, {0, 2, 0}, false, 0, NoteSelectValue({false, true, 73})}},
      {"move below C0, the octave box empty",
       CopyMoveRequest({whole, true, 0, 0, "", 0, false, false, 0, ""}),
       {toolCopyMove, {false, 0, 0, 0}, {0, 0, 0}, true, 0, NoteSelectValue({false, false, 0})}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.got.Tool, r.want.Tool);
    EXPECT_EQ(r.got.Range.UseSelection, r.want.Range.UseSelection);
    EXPECT_EQ(r.got.Range.Staff, r.want.Range.Staff);
    EXPECT_EQ(r.got.Range.FromMeasure, r.want.Range.FromMeasure);
    EXPECT_EQ(r.got.Range.ToMeasure, r.want.Range.ToMeasure);
    EXPECT_EQ(r.got.Dest.Staff, r.want.Dest.Staff);
    EXPECT_EQ(r.got.Dest.Measure, r.want.Dest.Measure);
    EXPECT_EQ(r.got.Dest.Voice, r.want.Dest.Voice);
    EXPECT_EQ(r.got.Parm1, r.want.Parm1);
    EXPECT_EQ(r.got.Parm2, r.want.Parm2);
    EXPECT_EQ(r.got.Parm3, r.want.Parm3);
  }
}

TEST(ToolSettings, NoteFiltersAndTheirParameter) {
  const NoteFilter all;
  EXPECT_TRUE(all.Takes(0));  // the rest too
  EXPECT_TRUE(all.Takes(127));
  const NoteFilter above{false, true, 60};
  const NoteFilter below{false, false, 60};
  for (int p = 1; p <= 127; ++p)
    EXPECT_NE(above.Takes(p), below.Takes(p)) << p;  // one or the other
  EXPECT_TRUE(above.Takes(60));
  EXPECT_FALSE(below.Takes(0));
  EXPECT_FALSE(above.Takes(0));
  for (const NoteFilter& f :
       {all, above, below, NoteFilter{false, true, 0}, NoteFilter{false, false, 128}})
    EXPECT_EQ(NoteFilterOf(NoteSelectValue(f)), f);
  EXPECT_EQ(NoteFilterOf(999).Pitch, 128);  // out of range: held at the end
  EXPECT_EQ(NoteFilterOf(-2147483647 - 1).Pitch, 128);
}

TEST(ToolSettings, VoiceChoices) {
  EXPECT_EQ(VoicesOfChoice(0, 3), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(VoicesOfChoice(4, 1), (std::vector<int>{4}));
  EXPECT_EQ(VoicesOfChoice(5, 4), (std::vector<int>{1, 2}));
  EXPECT_EQ(VoicesOfChoice(9, 4), (std::vector<int>{2, 4}));
  EXPECT_TRUE(VoicesOfChoice(11, 4).empty());
  EXPECT_TRUE(VoicesOfChoice(-1, 4).empty());
}

}  // namespace
}  // namespace edittools
