// Shapes confirmed in the shape editor, written into a table by the mapper control's New and
// Properties.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harmonygrid/core/chord.h"
#include "harmonygrid/core/clsmap.h"
#include "harmonygrid/core/mapperedits.h"
#include "tablefixture.h"

namespace harmonygrid {
namespace {

using testing::Dump;
using testing::LoadedTable;

constexpr const char* kTable =
    "C;C;0;2,3;3,2;5,1\n"
    "D;D;1;4,2;5,3;6,2\n"
    "Em;Em;2;2,2;3,2\n";

clsMap Edited(const char* key, const char* text, const std::vector<std::pair<int, int>>& pairs) {
  clsMap m;
  m.SetKey(key);
  m.SetText(text);
  for (const auto& [s, f] : pairs) m.Add(s, f);
  return m;
}

TEST(MapperEdits, NewAddsOrReplacesByKey) {
  LoadedTable t(kTable);
  // A key that exists in another case: that shape takes the text and pairs, keeps its Value.
  ASSERT_TRUE(AddEditedShape(t.Table, Edited(" d ", " D7 ", {{3, 2}, {4, 1}})));
  EXPECT_TRUE(t.Table.Changed());
  EXPECT_EQ(Dump(t.Table), (std::vector<std::string>{"C/C/0/2,3 3,2 5,1", "Em/Em/2/2,2 3,2",
                                                     "d/D7/1/3,2 4,1"}));
  // A new key: Value is the old count, and the table stays sorted.
  ASSERT_TRUE(AddEditedShape(t.Table, Edited("Am", "Am", {{2, 1}})));
  EXPECT_EQ(Dump(t.Table).front(), "Am/Am/3/2,1");
}

TEST(MapperEdits, PropertiesWriteBackKeepsTheValueAndSorts) {
  LoadedTable t(kTable);
  // C renamed to its own key in another case is no clash; E sorts after D.
  ASSERT_EQ(WriteBackShape(t.Table, 0, Edited("c", "C", {{5, 3}})), ShapeWriteBack::Written);
  EXPECT_EQ(Dump(t.Table)[2], "c/C/0/5,3");
  ASSERT_EQ(WriteBackShape(t.Table, 0, Edited(" A ", "A ", {{4, 2}})), ShapeWriteBack::Written);
  EXPECT_EQ(Dump(t.Table), (std::vector<std::string>{"A/A/1/4,2", "Em/Em/2/2,2 3,2",
                                                     "c/C/0/5,3"}));
  EXPECT_TRUE(t.Table.Changed());
}

TEST(MapperEdits, PropertiesRefuseAnotherShapesKey) {
  LoadedTable t(kTable);
  const auto before = Dump(t.Table);
  EXPECT_TRUE(KeyTakenByAnother(t.Table, " em ", 0));
  EXPECT_FALSE(KeyTakenByAnother(t.Table, "EM", 2));
  EXPECT_EQ(WriteBackShape(t.Table, 0, Edited("EM", "C", {})), ShapeWriteBack::KeyTaken);
  EXPECT_EQ(WriteBackShape(t.Table, 3, Edited("G", "G", {})), ShapeWriteBack::NoShape);
  EXPECT_EQ(Dump(t.Table), before);
  EXPECT_FALSE(t.Table.Changed());
}

}  // namespace
}  // namespace harmonygrid
