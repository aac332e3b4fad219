#include "notecraft/core/instrumenttable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "notecraft/core/enums.h"

namespace notecraft {
namespace {

std::string Records(int from, int to) {
  std::string text;
  for (int n = from; n <= to; ++n)
    text += "2," + std::to_string(n) + ",Ins" + std::to_string(n) + ",1,40,90,0,0\r\n";
  return text;
}

TEST(InstrumentTable, LoadsRecordsIntoTheirRows) {
  struct Case {
    const char* name;
    std::string text;
    int wantRecords;
    std::vector<std::pair<int, std::string>> rows;  // row, description ("" = empty)
  };
  const Case cases[] = {
      {"128 records fill rows 0..127", Records(1, 128), 128,
       {{0, "Ins1"}, {127, "Ins128"}, {128, ""}, {174, ""}}},
      {"numbers 0 and 200 are skipped and loading goes on",
       "2,0,Zero,1,0,0,0,0\n2,200,Big,1,0,0,0,0\n2,5,Five,1,0,0,0,0\n", 3,
       {{4, "Five"}, {0, ""}}},
      {"a record numbered 175 fills row 174", "3,175,Last,1,0,0,0,0\n", 1, {{174, "Last"}}},
      {"a later record with the same number overwrites",
       "2,3,First,1,0,0,0,0\n5,3,Second,2,0,0,0,0\n", 2, {{2, "Second"}}},
      {"a quoted description may hold a comma", "2,1,\"Piano, Grand\" ,1,21,108,0,0\n", 1,
       {{0, "Piano, Grand"}}},
      {"a seven-field line takes its eighth field from the next line",
       "2,1,Short,1,40,90,0\n2,2,Next,1,40,90,0,0\n", 1, {{0, "Short"}, {1, ""}}},
      {"a field that is not a number stops loading and keeps what was read",
       "2,1,One,1,40,90,0,0\n2,2,Two,treble,40,90,0,0\n2,3,Three,1,40,90,0,0\n", 1,
       {{0, "One"}, {1, ""}, {2, ""}}},
      {"a number beyond 16 bits stops loading", "2,1,One,1,40,90000,0,0\n", 0, {{0, ""}}},
      {"blank lines and blanks around fields are skipped",
       "\n  2 , 1 , One ,1,,90,0,0\n\n\n", 1, {{0, "One"}}},
      {"only 175 records are read", Records(1, 175) + "2,1,Again,1,0,0,0,0\n", 175,
       {{0, "Ins1"}}},
      {"skipped records use up the budget", std::string(Records(0, 0)) + Records(1, 175), 175,
       {{173, "Ins174"}, {174, ""}}},
      {"Windows-1252 text is decoded", "5,41,Viol\xEDn,1,55,103,0,0\n", 1, {{40, "Viol\u00EDn"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    InstrumentTable table;
    EXPECT_EQ(table.LoadFromText(c.text), c.wantRecords);
    for (const auto& [row, desc] : c.rows) {
      EXPECT_EQ(table.Row(row).Description, desc) << "row " << row;
      if (!desc.empty()) {
        EXPECT_EQ(table.Row(row).Value, row);
      }
    }
  }
}

TEST(InstrumentTable, FieldsGoToTheirColumns) {
  InstrumentTable table;
  table.LoadFromText("3,72,Clarinet in B-flat,1,50,94,2,2\n");
  const auto& row = table.Row(71);
  EXPECT_EQ(row.Category, catReed);
  EXPECT_EQ(row.Value, 71);
  EXPECT_EQ(row.DefaultClef, clfTreble);
  EXPECT_EQ(row.Low, 50);
  EXPECT_EQ(row.High, 94);
  EXPECT_EQ(row.Pitch, 2);
  EXPECT_EQ(row.Offset, 2);
  EXPECT_EQ(row.DrumValue[0], 0);
}

TEST(InstrumentTable, LookupsAtTheEdges) {
  InstrumentTable table;
  table.LoadFromText("5,41,Violin,1,55,103,0,0\n9,175,Kit,0,35,81,0,0\n");
  EXPECT_EQ(table.InsDesc(-1), "");
  EXPECT_EQ(table.InsDesc(175), "");
  EXPECT_EQ(table.InsDesc(174), "Kit");
  EXPECT_EQ(table.InstrumentFromCode(40), catString);
  EXPECT_EQ(table.InstrumentFromCode(175), 0);
  EXPECT_EQ(table.InstrumentFromCode(0), 0);  // unfilled rows have Value 0, category 0
  EXPECT_EQ(table.Row(-1).Description, "");
}

TEST(InstrumentTable, MissingFileGivesAnEmptyTable) {
  InstrumentTable table;
  table.LoadFromText(Records(1, 3));
  EXPECT_EQ(table.Load("/nonexistent/Instrument.txt"), 0);
  EXPECT_EQ(table.Row(0).Description, "");
  EXPECT_EQ(table.Row(0).Category, 0);
}

TEST(InstrumentTable, ShippedFileLoadsWhole) {
  InstrumentTable table;
  ASSERT_EQ(table.Load(std::filesystem::path(VELTRIMOND_SOURCE_DATA) /
                       "Common/Config/Instrument.txt"),
            InstrumentTable::kRows);
  std::set<std::string> names;
  for (int r = 0; r < InstrumentTable::kRows; ++r) {
    const auto& row = table.Row(r);
    SCOPED_TRACE("row " + std::to_string(r) + " " + row.Description);
    EXPECT_FALSE(row.Description.empty());
    EXPECT_TRUE(names.insert(row.Description).second) << "duplicate name";
    EXPECT_EQ(row.Value, r);
    EXPECT_GE(row.Category, catSolo);
    EXPECT_LE(row.Category, catDrums);
    EXPECT_GE(row.DefaultClef, clfPercussion);
    EXPECT_LE(row.DefaultClef, clfTenor);
    EXPECT_GE(row.Low, 0);
    EXPECT_LE(row.Low, row.High);
    EXPECT_LE(row.High, 127);
    if (row.Category != catDrums) {
      // Notes are stored, drawn and played at concert pitch: a key transposition would
      // give a transposing instrument's staff a wrong key signature.
      EXPECT_EQ(row.Pitch, 0);
      EXPECT_EQ(row.Offset, 0);
    } else {
      EXPECT_EQ(row.Offset, row.Low) << "a drum sound's offset is the note it plays";
      EXPECT_EQ(row.Low, row.High);
    }
  }
  auto find = [&](const std::string& name) -> const InstrumentRow* {
    for (int r = 0; r < InstrumentTable::kRows; ++r)
      if (table.Row(r).Description == name) return &table.Row(r);
    return nullptr;
  };
  ASSERT_NE(find("Clarinet in B-flat"), nullptr);
  EXPECT_EQ(find("Clarinet in B-flat")->Pitch, 0);
  ASSERT_NE(find("Acoustic Snare"), nullptr);
  EXPECT_EQ(find("Acoustic Snare")->Offset, 38);
  ASSERT_NE(find("Acoustic Grand Piano"), nullptr);
  EXPECT_EQ(find("Acoustic Grand Piano")->DefaultClef, clfGrand);
  EXPECT_EQ(table.Row(74).Category != catDrums, true);  // a new score's first instrument
}

}  // namespace
}  // namespace notecraft
