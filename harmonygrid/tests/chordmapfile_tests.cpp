#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "harmonygrid/core/chord.h"
#include "harmonygrid/core/chordmapfile.h"
#include "tablefixture.h"

namespace harmonygrid {
namespace {

using testing::Dump;
using testing::LoadedTable;
using testing::TempDir;
using F = ChordFileFault;

std::vector<std::pair<int, F>> Faults(const ChordFileReport& r) {
  std::vector<std::pair<int, F>> out;
  for (const auto& n : r.Notes) out.emplace_back(n.Line, n.Fault);
  return out;
}

// Each file goes through InitDir into a Chord, and the sorted table is compared whole.
TEST(ChordMapFile, ReaderRules) {
  struct Case {
    const char* name;
    std::string file;
    std::vector<std::string> table;  // Key/Text/Value/pairs in sorted order
    std::vector<std::pair<int, F>> faults = {};
  };
  const Case cases[] = {
      {"a gap before the index is filled with empty shapes that sort first",
       "A;A;3;1,0",
       {"//0/", "//1/", "//2/", "A/A/3/1,0"}},
      {"key, text and pairs are trimmed of spaces",
       "  Am7 ;  Am7 ;0; 2 , 0 ;3,2",
       {"Am7/Am7/0/2,0 3,2"}},
      {"string and fret are clamped into 1..6 and -1..27",
       "K;T;0;9,30;0,-5",
       {"K/T/0/6,27 1,-1"},
       {{1, F::PairOutOfRange}, {1, F::PairOutOfRange}}},
      {"an empty text field drops the line", "K;;0;1,0\nL;L;0", {"L/L/0/"}, {{1, F::MissingText}}},
      {"a text of one space is present and trims to empty", "K; ;0", {"K//0/"}},
      {"a missing or empty index drops the line",
       "K;T\nK;T;\nK;T;;1,1\nOK;OK;0",
       {"OK/OK/0/"},
       {{1, F::MissingIndex}, {2, F::MissingIndex}, {3, F::MissingIndex}}},
      {"an index of spaces is present and reads 0", "K;T; ;1,1", {"K/T/0/1,1"}},
      {"a later line with the same index renames and appends its pairs",
       "A;a;1;1,1\nB;b;1;2,2;3,3",
       {"//0/", "B/b/1/1,1 2,2 3,3"}},
      {"the index is the leading number, rounded half to even",
       "A;A;2.5\nB;B;3.5\nC;C;1x9\nD;D; +3\nE;E;abc;1,1",
       {"A/A/2/", "B/B/4/", "C/C/1/", "D/D/3/", "E/E/0/1,1"}},
      {"a negative index drops the line, one rounding to 0 does not",
       "A;A;-1\nB;B;-0.5\nC;C;-0.6",
       {"B/B/0/"},
       {{1, F::NegativeIndex}, {3, F::NegativeIndex}}},
      {"an index beyond 16 bits drops the line",
       "A;A;32768\nB;B;99999999999999999999\nC;C;0",
       {"C/C/0/"},
       {{1, F::IndexTooLarge}, {2, F::IndexTooLarge}}},
      {"pair numbers follow the same reading",
       "K;T;0;2.5,3.5;4x,;,2",
       {"K/T/0/2,4 4,0 1,2"},
       {{1, F::PairOutOfRange}}},
      {"a pair field without a comma is skipped; an empty one quietly",
       "K;T;0;5;;2,3; ;",
       {"K/T/0/2,3"},
       {{1, F::PairWithoutComma}}},
      {"lines without a separator are skipped; blank lines quietly",
       "\n   \ntitle line\nK;T;0\n",
       {"K/T/0/"},
       {{3, F::NoSeparator}}},
      {"an empty key is kept", ";T;0", {"/T/0/"}},
      {"keys sort in binary order: capitals before small letters",
       "b;b;0\nC;C;1\nB#;B#;2",
       {"B#/B#/2/", "C/C/1/", "b/b/0/"}},
      {"equal keys keep their index order", "X;second;1\nX;first;0", {"X/first/0/", "X/second/1/"}},
      {"CRLF, lone CR and a missing last line end all end lines",
       "A;A;0\r\nB;B;1\rC;C;2\r\n\r\nD;D;3",
       {"A/A/0/", "B/B/1/", "C/C/2/", "D/D/3/"}},
      {"text is Windows-1252", "C\xB0;C\xB0 \x96 dim;0", {"C\u00B0/C\u00B0 \u2013 dim/0/"}},
      {"an empty file gives an empty table", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoadedTable t(c.file);
    EXPECT_EQ(Dump(t.Table), c.table);
    EXPECT_TRUE(t.Table.LoadReport().Opened);
    EXPECT_EQ(Faults(t.Table.LoadReport()), c.faults);
  }
}

TEST(ChordMapFile, ReportCountsLines) {
  LoadedTable t("A;A;0\n\nno separator\nB;;1\nC;C;1;7\n");
  const auto& r = t.Table.LoadReport();
  EXPECT_EQ(r.Lines, 5);
  EXPECT_EQ(r.Accepted, 2);
  EXPECT_EQ(r.Skipped, 2);  // the blank line is neither
  EXPECT_FALSE(r.Stopped);
  EXPECT_FALSE(r.Clean());
  EXPECT_TRUE(LoadedTable("A;A;0\n").Table.LoadReport().Clean());
}

TEST(ChordMapFile, HighestIndexFillsTheWholeIdRange) {
  LoadedTable t("Z;Z;32767;1,1\n");
  ASSERT_EQ(t.Table.ListCount(), 32768);
  EXPECT_EQ(t.Table.ListItem(32767), "Z");
  EXPECT_EQ(t.Table.ListVal(32767), 32767);
  EXPECT_EQ(t.Table.GetIndex(32767), 32767);
  // Every id is taken: a new shape would need the id 32768.
  EXPECT_EQ(t.Table.AddChordMap("New", "N"), nullptr);
  EXPECT_EQ(t.Table.ListCount(), 32768);
  EXPECT_NE(t.Table.AddChordMap("z", "Z2"), nullptr);  // updating an existing shape still works
}

TEST(ChordMapFile, MissingFolderOrFileGivesAnEmptyTable) {
  TempDir empty;
  for (const std::string& dir : {empty.Path().string(), empty.Path().string() + "/nowhere"}) {
    SCOPED_TRACE(dir);
    Chord chord;
    chord.SetInitDir(dir);
    EXPECT_EQ(chord.ListCount(), 0);
    EXPECT_EQ(chord.GetIndex(0), 0);
    EXPECT_EQ(chord.GetIndex(7), 0);
    EXPECT_FALSE(chord.LoadReport().Opened);
  }
}

TEST(ChordMapFile, FileNameFromACaseInsensitiveFileSystemIsFound) {
  TempDir dir;
  dir.Write("VELTRIMOND.CMA", "A;A;0\n");
  EXPECT_EQ(ChordMapFile::Locate(dir.Path()), dir.Path() / "VELTRIMOND.CMA");
  dir.Write("Veltrimond.cma", "B;B;0\n");  // the exact name wins
  EXPECT_EQ(ChordMapFile::Locate(dir.Path()), dir.Path() / "Veltrimond.cma");
  EXPECT_EQ(ChordMapFile::Locate(""), std::filesystem::path());
}

TEST(ChordMapFile, SomethingOtherThanAFileIsNotRead) {
  // A folder or a named pipe under the file's name: opening the pipe would block forever.
  TempDir asFolder;
  std::filesystem::create_directory(asFolder.Path() / "Veltrimond.cma");
  TempDir asPipe;
  ASSERT_EQ(::mkfifo((asPipe.Path() / "Veltrimond.cma").c_str(), 0600), 0);
  for (const TempDir* dir : {&asFolder, &asPipe}) {
    Chord chord;
    chord.SetInitDir(dir->Path().string());
    EXPECT_EQ(chord.ListCount(), 0);
    EXPECT_FALSE(chord.LoadReport().Opened);
  }
}

TEST(ChordMapFile, OverlongLineIsSkippedAndReadingGoesOn) {
  const std::string huge(ChordMapFile::kMaxLineBytes + 1, '7');
  const std::string manyFields = "K;T;3" + std::string(60000, ';');  // long but within the limit
  LoadedTable t("A;A;0\n" + huge + "\nB;B;1;" + huge + "\r\nC;C;2\n" + manyFields);
  EXPECT_EQ(Dump(t.Table), (std::vector<std::string>{"//1/", "A/A/0/", "C/C/2/", "K/T/3/"}));
  EXPECT_EQ(Faults(t.Table.LoadReport()),
            (std::vector<std::pair<int, F>>{{2, F::LineTooLong}, {3, F::LineTooLong}}));
}

TEST(ChordMapFile, ReadingStopsAtTheSizeLimitKeepingWhatWasRead) {
  std::string text = "A;A;0\nB;B;1\n";
  text.resize(ChordMapFile::kMaxFileBytes + 10, '\n');
  text.replace(ChordMapFile::kMaxFileBytes - 3, 9, "C;C;2\nD;D");  // the limit falls inside "C;C;2"
  std::vector<std::string> keys;
  auto report = ChordMapFile::ReadText(text, [&](const ChordMapLine& l) { keys.push_back(l.Key); });
  EXPECT_EQ(keys, (std::vector<std::string>{"A", "B"}));  // "C;C" was cut by the limit: dropped
  EXPECT_TRUE(report.Stopped);
  ASSERT_FALSE(report.Notes.empty());
  EXPECT_EQ(report.Notes.back().Fault, F::FileTooLarge);
}

TEST(ChordMapFile, NotesAreCappedButCountsAreNot) {
  std::string text;
  for (int i = 0; i < 500; ++i) text += "no separator\n";
  LoadedTable t(text);
  EXPECT_EQ(t.Table.LoadReport().Skipped, 500);
  EXPECT_EQ(t.Table.LoadReport().Notes.size(), ChordMapFile::kMaxNotes);
}

TEST(ChordMapFile, ThrowingSinkStopsTheReadingWithoutEscaping) {
  int calls = 0;
  auto report = ChordMapFile::ReadText("A;A;0\nB;B;1\n", [&](const ChordMapLine&) {
    if (++calls == 2) throw std::runtime_error("full");
  });
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(report.Stopped);
  EXPECT_EQ(report.Notes.back().Fault, F::ReadError);
}

// Random bytes, biased towards the format's own characters: whatever is accepted is in range.
TEST(ChordMapFile, GarbageNeverYieldsOutOfRangeData) {
  std::mt19937 rng(20240607);
  const std::string alphabet = ";;;,,,0123456789-+. \r\n\n\xFFxyzAb";
  for (int round = 0; round < 300; ++round) {
    std::string text(static_cast<std::size_t>(rng() % 400), '\0');
    for (char& ch : text)
      ch = rng() % 4 == 0 ? static_cast<char>(rng()) : alphabet[rng() % alphabet.size()];
    auto report = ChordMapFile::ReadText(text, [&](const ChordMapLine& l) {
      ASSERT_GE(l.Index, 0);
      ASSERT_LE(l.Index, ChordMapFile::kMaxIndex);
      for (auto [s, f] : l.Pairs) {
        ASSERT_TRUE(s >= 1 && s <= 6) << s;
        ASSERT_TRUE(f >= -1 && f <= 27) << f;
      }
    });
    EXPECT_LE(report.Accepted + report.Skipped, report.Lines);
    EXPECT_FALSE(report.Stopped);
  }
}

}  // namespace
}  // namespace harmonygrid
