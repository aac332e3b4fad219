#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harmonygrid/core/chord.h"
#include "harmonygrid/core/clsmap.h"
#include "tablefixture.h"

namespace harmonygrid {
namespace {

using testing::Dump;
using testing::LoadedTable;
using testing::TempDir;

TEST(Chord, NewTableIsEmptyWithZeroLayout) {
  Chord chord;
  EXPECT_EQ(chord.ListCount(), 0);
  EXPECT_EQ(chord.InitDir(), "");
  EXPECT_FALSE(chord.Changed());
  EXPECT_EQ(chord.Layout(), ChordLayout{});
  EXPECT_EQ(chord.GetIndex(0), 0);
  EXPECT_EQ(chord.ListItem(0), "");
  EXPECT_EQ(chord.ListVal(0), 0);
  EXPECT_EQ(chord.ChordMapItem(0), nullptr);
}

TEST(Chord, InitDirIsNormalisedOnce) {
  struct Case {
    const char* given;
    const char* stored;
  };
  const Case cases[] = {
      {"  /opt/v/Common/Config  ", "/opt/v/Common/Config"},
      {"/opt/v/Common/Config/", "/opt/v/Common/Config"},
      {"C:\\V\\Common\\Config\\", "C:\\V\\Common\\Config"},
      {"/opt/v//", "/opt/v/"},  // only one separator is cut
      {" / ", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    Chord chord;
    chord.SetInitDir(c.given);
    EXPECT_EQ(chord.InitDir(), c.stored);
  }
}

TEST(Chord, InitDirReloadsOnlyForAnotherFolder) {
  LoadedTable t("A;A;0\nB;B;1\n");
  const std::string dir = t.Dir.Path().string();
  ASSERT_EQ(t.Table.ListCount(), 2);
  std::filesystem::remove(t.Dir.Path() / "Veltrimond.cma");

  // The same folder in other letters: not reloaded, so the table stays although the file is gone.
  std::string upper = dir;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  t.Table.SetInitDir(upper);
  EXPECT_EQ(t.Table.ListCount(), 2);
  EXPECT_EQ(t.Table.InitDir(), dir);

  // A trailing separator makes the text differ: the folder is read again, and the file is gone.
  t.Table.SetInitDir(dir + "/");
  EXPECT_EQ(t.Table.InitDir(), dir);
  EXPECT_EQ(t.Table.ListCount(), 0);
}

TEST(Chord, InitDirLoadsWithoutLayoutOrTopRefreshPutsThemIn) {
  LoadedTable t("High;High;0;1,8;2,10;3,10;4,9;5,8;6,8\n");
  EXPECT_EQ(t.Table.Layout(), ChordLayout{});
  EXPECT_EQ(t.Table.ChordMapItem(0)->Top(), 0);

  t.Table.SetAreaHeight(990);
  t.Table.SetFretCount(4);
  t.Table.SetChanged(true);
  t.Table.Refresh();
  EXPECT_EQ(t.Table.Layout(), ChordLayout::Standard());
  EXPECT_EQ(t.Table.AreaHeight(), 855);
  EXPECT_EQ(t.Table.AreaWidth(), 495);
  EXPECT_EQ(t.Table.ChordTextHeight(), 195);
  EXPECT_EQ(t.Table.FretTextHeight() + t.Table.ChordHeight() + t.Table.ChordTextHeight(),
            t.Table.AreaHeight());
  EXPECT_EQ(t.Table.ChordMapItem(0)->Top(), 7);
  EXPECT_TRUE(t.Table.Changed());  // only the mapper control sets and clears it
}

TEST(Chord, RefreshRereadsTheFileAndDropsInMemoryEdits) {
  LoadedTable t("A;A;0;1,0\n");
  t.Table.AddChordMap("B", "B")->Add(2, 2);
  ASSERT_EQ(t.Table.ListCount(), 2);
  t.Table.Refresh();
  EXPECT_EQ(Dump(t.Table), (std::vector<std::string>{"A/A/0/1,0"}));
}

TEST(Chord, ListAccessorsAndLookupsAtTheEdges) {
  // Sorted: C (id 2), Dm (id 0), G (id 1).
  LoadedTable t("Dm;Dm;0\nG;G;1\nC;C;2\n");
  const Chord& c = t.Table;
  ASSERT_EQ(c.ListCount(), 3);
  EXPECT_EQ(c.ListItem(0), "C");
  EXPECT_EQ(c.ListItem(2), "G");
  EXPECT_EQ(c.ListVal(0), 2);
  EXPECT_EQ(c.ListVal(2), 1);
  for (int outside : {-1, 3, 32768}) {
    SCOPED_TRACE(outside);
    EXPECT_EQ(c.ListItem(outside), "");
    EXPECT_EQ(c.ListVal(outside), 0);
    EXPECT_EQ(c.ChordMapItem(outside), nullptr);
  }
  EXPECT_EQ(c.GetIndex(2), 0);
  EXPECT_EQ(c.GetIndex(0), 1);
  EXPECT_EQ(c.GetIndex(1), 2);
  // Unknown ids give position 0, which score drawing then uses.
  for (int unknown : {3, -1, 65536 + 1})  // 65537 must not wrap to id 1
    EXPECT_EQ(c.GetIndex(unknown), 0) << unknown;
}

TEST(Chord, GetIndexFindsTheFirstPositionCarryingTheId) {
  LoadedTable t("A;A;0\nB;B;1\nC;C;2\n");
  auto copy = std::make_shared<clsMap>();
  copy->SetKey("C");
  copy->SetValue(1);
  t.Table.SetChordMapItem(2, copy);  // positions 1 and 2 both carry id 1
  EXPECT_EQ(t.Table.GetIndex(1), 1);
}

TEST(Chord, AddChordMapUpdatesByKeyIgnoringCaseOrAppends) {
  LoadedTable t("C;C;0;2,3\nAm;Am;1\n");
  // GIVEN the key C, WHEN c is added, THEN that shape takes the new key and text and keeps
  // its id and pairs.
  auto updated = t.Table.AddChordMap("c", "C");
  ASSERT_NE(updated, nullptr);
  EXPECT_EQ(t.Table.ListCount(), 2);
  EXPECT_EQ(testing::Describe(*updated), "c/C/0/2,3");
  EXPECT_EQ(Dump(t.Table), (std::vector<std::string>{"Am/Am/1/", "c/C/0/2,3"}));

  // A new key gets the old count as id and moves to its sorted place.
  auto added = t.Table.AddChordMap("B7", "B7");
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->Value(), 2);
  EXPECT_EQ(t.Table.ChordMapItem(1), added);
  EXPECT_EQ(t.Table.GetIndex(2), 1);

  // Letters beyond ASCII compare ignoring case too.
  t.Table.AddChordMap("\u00C9", "E");
  EXPECT_EQ(t.Table.AddChordMap("\u00E9", "e")->Value(), 3);
  EXPECT_EQ(t.Table.ListCount(), 4);
}

TEST(Chord, SetChordMapItemIgnoresBadPositionsAndNull) {
  LoadedTable t("A;A;0\n");
  auto other = std::make_shared<clsMap>();
  other->SetKey("Z");
  t.Table.SetChordMapItem(-1, other);
  t.Table.SetChordMapItem(1, other);
  t.Table.SetChordMapItem(0, nullptr);
  EXPECT_EQ(Dump(t.Table), (std::vector<std::string>{"A/A/0/"}));
  t.Table.SetChordMapItem(0, other);
  EXPECT_EQ(t.Table.ListItem(0), "Z");
}

TEST(Chord, HeldShapeOutlivesAReload) {
  LoadedTable t("A;A;0;1,0\n");
  auto held = t.Table.ChordMapItem(0);
  TempDir elsewhere;
  t.Table.SetInitDir(elsewhere.Path().string());
  EXPECT_EQ(t.Table.ListCount(), 0);
  EXPECT_EQ(testing::Describe(*held), "A/A/0/1,0");
}

TEST(Chord, SortIsBinaryAndStable) {
  LoadedTable t("b;1;0\nC;2;1\nb;3;2\n\xC4;4;3\na;5;4\n");  // \xC4 is Windows-1252 for \u00C4
  t.Table.SortChordMaps();  // sorting a sorted table changes nothing
  EXPECT_EQ(Dump(t.Table),
            (std::vector<std::string>{"C/2/1/", "a/5/4/", "b/1/0/", "b/3/2/", "\u00C4/4/3/"}));
}

// Long enough that a plain introsort would reorder equal keys.
TEST(Chord, EqualKeysKeepTheirIdOrderInALongTable) {
  std::string file;
  for (int id = 0; id < 200; ++id)
    file += (id % 3 ? "X;" : "W;") + std::to_string(id) + ";" + std::to_string(id) + "\n";
  LoadedTable t(file);
  ASSERT_EQ(t.Table.ListCount(), 200);
  for (int i = 1; i < 200; ++i) {
    auto a = t.Table.ChordMapItem(i - 1), b = t.Table.ChordMapItem(i);
    if (a->Key() == b->Key()) {
      EXPECT_LT(a->Value(), b->Value()) << "position " << i;
    }
  }
}

}  // namespace
}  // namespace harmonygrid
