// The styles the install folder ships: every one lists, and inserts at any root and octave
// with the notes of its pattern, also across a change of time signature.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "Veltrimond/styles/insertrange.h"
#include "Veltrimond/styles/stylepattern.h"
#include "Veltrimond/styles/styletable.h"
#include "stylefixture.h"

namespace veltrimond::styles {
namespace {

using namespace notecraft;
using testing::MakeTarget;
using testing::NotesOf;
using testing::Written;

const std::string kShipped = std::string(STYLES_TEST_DATA) + "/Styles";

TEST(ShippedStylesTest, EveryStyleListsAndEachTypeComesIn44And34) {
  const StyleTable table = LoadStyleTable(kShipped);
  EXPECT_TRUE(table.skipped.empty());
  std::set<std::string> kinds;
  for (const StyleEntry& entry : table.entries)
    kinds.insert(ItemText({entry.beat, entry.type, ""}));
  for (const char* kind : {" - [Treble, 4/4]", " - [Treble, 3/4]", " - [Bass, 4/4]",
                           " - [Bass, 3/4]", " - [Drums, 4/4]", " - [Drums, 3/4]"})
    EXPECT_TRUE(kinds.count(kind)) << kind;
  std::set<std::string> names;
  for (const StyleEntry& entry : table.entries) names.insert(entry.name);
  for (const char* name : {"Rock Drums", "Swing Drums", "Walking Bass", "Waltz", "Ballad"})
    EXPECT_TRUE(names.count(name)) << name;
}

TEST(ShippedStylesTest, EachInsertsItsPatternAtEveryRootAndOctave) {
  const StyleTable table = LoadStyleTable(kShipped);
  ASSERT_GE(table.entries.size(), 6u);
  for (const StyleEntry& entry : table.entries) {
    const auto style = OpenStyle(StyleFilePath(kShipped, entry.name));
    ASSERT_NE(style, nullptr) << entry.name;
    const auto source = style->AllVoices().Item(1);
    ASSERT_GT(source->Notes().Count(), 0) << entry.name;
    const int pattern = PatternLength(*style);
    int number = 0, measure = 0;
    style->AllGlobals().MeasureInfo(0, number, measure);
    EXPECT_EQ(pattern, measure) << entry.name << ": one measure";

    for (const auto& [octave, root] : {std::pair{"0", 0}, {"-1", 7}, {"2", 3}, {"-3", 11}}) {
      const int shift = StyleShift(octave, entry.type == kDrums ? -1 : root);
      // A target in 4/4 that turns to 3/4 at measure 3; filled from 2 through 5.
      const auto target = MakeTarget();
      target->AllGlobals().Add(128, evtTimeChange, 3, 16);
      const int start = 64, end = target->AllGlobals().MeasureTime(6);
      InsertStylePattern(*style, *target, 1, 2, 6, shift);

      std::vector<Written> expected;
      for (int cycle = start; cycle < end; cycle += pattern) {
        for (const auto& note : source->Notes()) {
          if (cycle + note->NoteTime() >= end) break;
          Written w{cycle + note->NoteTime(), {}, note->Duration(), note->Flags()};
          for (const auto value : note->Values())
            w.pitches.push_back(value == 0 ? 0 : ClampMidiValue(value, shift));
          expected.push_back(w);
        }
      }
      const std::vector<Written> written = NotesOf(*target);
      EXPECT_EQ(written, expected) << entry.name << " octave " << octave << " root " << root;
      ASSERT_FALSE(written.empty());
      EXPECT_EQ(written.front().time, start);
      EXPECT_LT(written.back().time, end);
      EXPECT_TRUE(target->Changed());
    }
  }
}

}  // namespace
}  // namespace veltrimond::styles
