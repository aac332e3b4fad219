// Damaged and hostile native files: every one is read without a crash, a hang or a huge
// allocation, gives a stated result, and a file that cannot be read leaves the score as
// it was.

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "model_fixtures.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/io/scorefilereader.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::ByteVector;
using testing::Bytes;
using testing::Describe;
using testing::EventLog;
using testing::FixedClock;
using testing::HeaderSection;
using testing::MakeFile;
using testing::NoteRecord;
using testing::StaffHeader;
using testing::StaffParts;
using testing::VoiceRecord;

// A small file with something in every section.
ByteVector SmallFile() {
  Bytes ins;
  ins.S("I1").B(254).S("Piano").B(0, 8, 3, 0).S("0").B(254).S("0").B(254).S("21").B(254).S("108").B(255);
  Bytes vce;
  VoiceRecord(vce, 2, "V", "0");
  NoteRecord(vce, 0, 16, 0, {60, 64, 67});
  NoteRecord(vce, 16, 16, nteDot, {62});
  return MakeFile(HeaderSection(), Bytes().N4(0).B(1, 0, 0).N4(0).B(2, 1, 0).N4(64).B(10, 3, 0).B(254).S("C").B(255),
                  ins, {{StaffHeader("A"), Bytes().N4(0).B(14, 0, 0).B(254).S("la").B(255), vce}});
}

// A score with content of its own, to see that a failed read leaves it alone.
class ScoreFileDamage : public ::testing::Test {
protected:
  void SetUp() override {
    score.CreateDefault();
    score.SetTitle("Mine");
    score.Staff(1)->Voice(1)->Notes().Add(0, 70, 16, 0);
    before = Describe(score);
  }
  // Reads and checks the stated result: true, or false with the score untouched.
  bool Read(const ByteVector& file) {
    const bool ok = score.ReadScoreFile(Internal{}, file, "damaged.sco");
    if (!ok) {
      EXPECT_FALSE(score.LastFileError().empty());
      EXPECT_EQ(Describe(score), before);
    }
    return ok;
  }
  FixedClock clock{10 * 3600};
  Score score;
  std::string before;
};

// A file cut short anywhere is refused as damaged, and the score keeps its own content.
TEST_F(ScoreFileDamage, EveryPrefixOfAFileIsRefused) {
  const ByteVector file = SmallFile();
  ASSERT_TRUE(Read(file));
  SetUp();
  for (std::size_t n = 0; n < file.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_FALSE(Read(ByteVector(file.begin(), file.begin() + static_cast<long>(n))));
    EXPECT_EQ(score.LastFileError(),
              n < 6 ? "The score file is damaged: it is too short to hold its directory."
                    : "The score file is damaged: it ends before the sections its directory "
                      "names.");
  }
}

// Through OpenFile: a quarter of a real score is refused with the "Open" message, and a
// save afterwards writes the score that was there, not a part of the file.
TEST_F(ScoreFileDamage, OpeningACutFileKeepsTheScoreAndItsFile) {
  testing::MessageRecorder host;
  testing::TempDir dir;
  Score full;
  testing::BuildEveryFeatureScore(full);
  const std::string path = dir.File("Whole.sco");
  ASSERT_TRUE(full.SaveFile(path));
  const ByteVector whole = testing::ReadAll(path);
  const std::string cutPath = dir.File("Cut.sco");
  const auto quarter = static_cast<long>(whole.size() / 4);
  testing::WriteAll(cutPath, ByteVector(whole.begin(), whole.begin() + quarter));
  ASSERT_TRUE(score.SaveFile(dir.File("Mine.sco")));
  before = Describe(score);
  EXPECT_FALSE(score.OpenFile(cutPath));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind("Open: The score file is damaged", 0), 0u) << host.messages[0];
  EXPECT_EQ(Describe(score), before);
  EXPECT_EQ(score.FileName(), dir.File("Mine.sco"));
  EXPECT_EQ(testing::ReadAll(cutPath).size(), whole.size() / 4);
}

TEST_F(ScoreFileDamage, FlippedBytesNeverCrash) {
  const ByteVector file = SmallFile();
  for (std::size_t at = 0; at < file.size(); ++at) {
    for (std::uint8_t value : {0x00, 0x01, 0x0B, 0x7F, 0x80, 0xFE, 0xFF}) {
      ByteVector damaged = file;
      damaged[at] = value;
      if (Read(damaged)) SetUp();
    }
    ByteVector flipped = file;
    flipped[at] ^= 0xFF;
    if (Read(flipped)) SetUp();
  }
}

TEST_F(ScoreFileDamage, DamagedFilesGiveTheirStatedResult) {
  auto withHead = [](int count, int size) {
    ByteVector f = SmallFile();
    f[4] = static_cast<std::uint8_t>(count);
    f[5] = static_cast<std::uint8_t>(size);
    return f;
  };
  auto patchN4 = [](ByteVector f, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    return f;
  };
  Bytes manyVoices;
  for (int v = 0; v < 5; ++v) VoiceRecord(manyVoices, 0, "V", "0");
  Bytes manyInstruments;
  for (int p = 0; p < 17; ++p)
    manyInstruments.S("I" + std::to_string(p)).B(254).S("x").B(0, 0, 0, p).B(255);
  Bytes hugeCount;
  VoiceRecord(hugeCount, 0xFFFFFF, "V", "0");
  NoteRecord(hugeCount, 0, 8, 0, {60});
  NoteRecord(hugeCount, 8, 8, 0, {62});
  Bytes shortPitches;
  VoiceRecord(shortPitches, 1, "V", "0");
  shortPitches.N4(0).N4(8).N4(0).B(255, 60, 62);
  const ByteVector hdrOnly = MakeFile(HeaderSection(), {}, {}, {});
  // Hdr entered twice is read twice.
  ByteVector twice = SmallFile();
  std::copy(twice.begin() + 6, twice.begin() + 17, twice.begin() + 17);
  // Sixteen entries naming the whole file: far more work than the file is worth.
  Bytes again;
  again.S("Vm00").B(16, 11);
  for (int i = 0; i < 16; ++i) again.Entry("Glb", 1, 6 + 16 * 11);
  const ByteVector small = SmallFile();
  const std::size_t stf = (std::size_t{small[44]} << 8 | small[45]) - 1;  // the Stf start, 0-based
  // The staves one byte further on, after a byte no section names.
  auto withStfAt = [&](std::size_t shift) {
    ByteVector f = patchN4(small, 42, static_cast<std::uint32_t>(stf + 1 + shift));
    f.insert(f.begin() + static_cast<long>(stf), shift, 0);
    for (std::size_t at = stf + shift + 6 + 3; at < stf + shift + 6 + 33; at += 11) {
      const std::uint32_t start = static_cast<std::uint32_t>(f[at + 2]) << 8 | f[at + 3];
      f = patchN4(f, at, start + static_cast<std::uint32_t>(shift));
    }
    return f;
  };
  // The Stf section one byte longer than its staves' sub-sections, which end before it.
  ByteVector stfLonger = patchN4(Bytes().Add(small).B(0).Get(), 46,
                                 static_cast<std::uint32_t>(small.size() - stf + 1));

  struct Case {
    const char* name;
    ByteVector file;
    bool ok;
    const char* error;  // part of the message when not ok
  } cases[] = {
      {"entry count 0", withHead(0, 11), false, "directory is empty"},
      {"entry size 0", withHead(4, 0), false, "directory is empty"},
      {"entry size 5", withHead(4, 5), false, "entries are too short"},
      {"entry size 255: the directory runs past the end", withHead(4, 255), false, "ends before"},
      {"entry count 255", withHead(255, 11), false, "ends before"},
      {"a section starting past the end", patchN4(SmallFile(), 9, 0xFFFFFF), false, "ends before"},
      {"length 0xFFFFFF", patchN4(SmallFile(), 13, 0xFFFFFF), false, "ends before"},
      {"Hdr entered twice", twice, false, "do not add up (the directory and the file's size)"},
      {"one section named sixteen times", again, false, "do not add up"},
      {"Stf head length too large", patchN4(small, stf, 0xFFFFFF), false, "ends before"},
      {"five voices on a staff",
       MakeFile(HeaderSection(), {}, {}, {{StaffHeader("A"), {}, manyVoices}}), false,
       "more than four voices"},
      {"seventeen instruments", MakeFile(HeaderSection(), {}, manyInstruments, {}), false,
       "more than 16 instruments"},
      {"program outside the table",
       MakeFile(HeaderSection(), {}, Bytes().S("I").B(254).S("x").B(0, 0, 0, 200).B(255), {}),
       false, "program 200"},
      {"voice program outside the table",
       MakeFile(HeaderSection(), {}, {},
                {{StaffHeader("A"), {}, Bytes().N4(0).S("V").B(254).S("99999999999").B(255)}}),
       false, "out of range"},
      {"note count 0xFFFFFF with two notes",
       MakeFile(HeaderSection(), {}, {}, {{StaffHeader("A"), {}, hugeCount}}), false,
       "do not add up (a staff's voices)"},
      {"pitch count 255 with two pitches",
       MakeFile(HeaderSection(), {}, {}, {{StaffHeader("A"), {}, shortPitches}}), false,
       "do not add up (a staff's voices)"},
      {"event text without its 255",
       MakeFile(HeaderSection(), Bytes().N4(0).B(18, 0, 0).B(254).S("open"), {}, {}), false,
       "do not add up (the score's events)"},
      {"event cut short", MakeFile(HeaderSection(), Bytes().N4(0).B(1, 0, 0).N4(64).B(3), {}, {}),
       false, "do not add up (the score's events)"},
      {"a staff's event cut short",
       MakeFile(HeaderSection(), {}, {}, {{StaffHeader("A"), Bytes().N4(0).B(2, 0, 0).N4(64), {}}}),
       false, "do not add up (a staff's events)"},
      {"an instrument record without its 255",
       MakeFile(HeaderSection(), {}, Bytes().S("I").B(254).S("x").B(0, 0, 0, 0).S("0"), {}), false,
       "do not add up (the instruments)"},
      {"bytes after the header's records",
       MakeFile(Bytes().Add(HeaderSection()).S("12").Get(), {}, {}, {}), false,
       "do not add up (the header)"},
      {"bytes after the last section", Bytes().Add(SmallFile()).B(0).Get(), false,
       "do not add up (the directory and the file's size)"},
      {"a gap before the staves", withStfAt(1), false,
       "do not add up (the directory and the file's size)"},
      {"the Stf head's length is not its directory's",
       patchN4(small, stf, static_cast<std::uint32_t>(33 + 2 + 4)), false,
       "do not add up (the staff directory)"},
      {"a staff's sub-sections do not fill the section", stfLonger, false,
       "do not add up (the staves)"},
      {"header only", hdrOnly, true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const bool ok = Read(c.file);
    EXPECT_EQ(ok, c.ok) << score.LastFileError();
    if (!c.ok) {
      EXPECT_NE(score.LastFileError().find(c.error), std::string::npos) << score.LastFileError();
    }
    SetUp();
  }
}

TEST_F(ScoreFileDamage, StaffDataBeforeAnyStaffFails) {
  // A staff directory whose first entry is a Glb.
  ByteVector file = MakeFile(HeaderSection(), {}, {}, {{StaffHeader("A"), Bytes().N4(0).B(2, 0, 0), {}}});
  const std::size_t stf = file.size() - (6 + 33 + StaffHeader("A").size() + 7);
  std::swap_ranges(file.begin() + static_cast<long>(stf) + 6, file.begin() + static_cast<long>(stf) + 17,
                   file.begin() + static_cast<long>(stf) + 17);
  EXPECT_FALSE(Read(file));
  EXPECT_NE(score.LastFileError().find("before any staff"), std::string::npos);
}

TEST_F(ScoreFileDamage, WhatIsCutShortInsideASectionIsRefused) {
  // Two notes of a voice announcing 0xFFFFFF, a chord announcing 255 pitches with two
  // there, a text without its end: whole sections that hold less than they say.
  Bytes vce;
  VoiceRecord(vce, 0xFFFFFF, "V", "0");
  NoteRecord(vce, 0, 8, 0, {60});
  NoteRecord(vce, 8, 8, 0, {62});
  vce.N4(16).N4(8).N4(0).B(255, 64, 65);
  EXPECT_FALSE(
      Read(MakeFile(HeaderSection(), Bytes().N4(0).B(2, 0, 0).N4(32).B(18, 0, 0).B(254).S("open"),
                    {}, {{StaffHeader("A"), {}, vce}})));
  EXPECT_FALSE(
      Read(MakeFile(HeaderSection(), Bytes().N4(0).B(2, 0, 0), {}, {{StaffHeader("A"), {}, vce}})));
}

// A score file's head and directory followed by other bytes (a copy that went wrong) is
// refused, whatever the bytes: it never opens as an empty score.
TEST_F(ScoreFileDamage, AHeadFollowedByOtherBytesIsRefused) {
  Score full;
  testing::BuildEveryFeatureScore(full);
  const ByteVector whole = testing::NativeBytes(full);
  std::mt19937 random(39);
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    ByteVector file(whole.begin(), whole.begin() + 40);
    file.resize(round % 2 ? whole.size() : 40 + random() % 4000);
    for (std::size_t i = 40; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(random());
    EXPECT_FALSE(Read(file));
    EXPECT_EQ(score.LastFileError().rfind("The score file is damaged", 0), 0u)
        << score.LastFileError();
  }
}

TEST_F(ScoreFileDamage, ParsingIsLinearInTheFileSize) {
  // A 4 MB voice sub-section of bytes that never form a voice record, and a 4 MB event text
  // without its end: a reader that rescans for separators would take hours. Neither adds up.
  ByteVector junk(4 << 20, 'x');
  junk.back() = 255;
  ByteVector text = Bytes().N4(0).B(18, 0, 0).B(254).Get();
  text.resize(4 << 20, 'y');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Read(MakeFile(HeaderSection(), {}, {}, {{StaffHeader("A"), {}, junk}})));
  EXPECT_FALSE(Read(MakeFile(HeaderSection(), text, {}, {{StaffHeader("A"), {}, {}}})));
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 2.0);
}

TEST_F(ScoreFileDamage, AFailedReadRaisesNothing) {
  EventLog log;
  score.AddListener(&log);
  EXPECT_FALSE(Read(ByteVector{'V', 'm', '0', '0', 0, 11}));
  EXPECT_TRUE(log.log.empty());
  score.RemoveListener(&log);
}

}  // namespace
}  // namespace notecraft
