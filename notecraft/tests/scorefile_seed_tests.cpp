// The seed files of the score reader's fuzz target (notecraft/fuzz/corpus): small scores
// that reach every section and record kind. Each must read back; with
// NOTECRAFT_FUZZ_CORPUS=<folder> in the environment they are written there too.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "model_fixtures.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::ByteVector;
using testing::Bytes;
using testing::FontRecord;
using testing::HeaderSection;
using testing::MakeFile;
using testing::NoteRecord;
using testing::StaffHeader;
using testing::VoiceRecord;

TEST(ScoreFileFuzzSeeds, EverySeedReadsBack) {
  testing::FixedClock clock(6 * 3600);
  std::vector<std::pair<std::string, ByteVector>> seeds;

  Score empty;
  seeds.emplace_back("empty.sco", testing::NativeBytes(empty));
  Score fresh;
  fresh.CreateDefault();
  seeds.emplace_back("new-score.sco", testing::NativeBytes(fresh));
  Score every;
  testing::BuildEveryFeatureScore(every);
  seeds.emplace_back("every-feature.sco", testing::NativeBytes(every));

  // Hand-made: records the writer never makes (a pitch count 0, a pitch above 127, a drum
  // map cut short, an instrument record without its 254, a font record without its name's
  // end, staff data after a skipped entry).
  Bytes vce;
  VoiceRecord(vce, 3, "V", "0");
  NoteRecord(vce, 0, 16, nteDot, {72, 60, 200});
  NoteRecord(vce, 24, 8, 0, {});
  NoteRecord(vce, 32, 8, 0, {64});
  Bytes ins;
  ins.S("I3").B(254).S("Kit").B(9, 9, 0, 0).S("35").B(254).S("0").B(254).S("35").B(254).S("81")
      .B(254).S("36").B(254).S("130").B(254).S("40").B(255);
  ins.S("junk").B(255);
  Bytes glb;
  glb.N4(0).B(1, 3, 16).N4(0).B(2, 0, 0).N4(0).B(10, 3, 0).B(254).S("C").B(255)
      .N4(0).B(10, 4, 0).B(254).S("G").B(255);
  Bytes fonts;
  fonts.Add(FontRecord("Georgia", "18.5", 135, "Title")).Add(FontRecord("Arial", "0", 129, "Sub"))
      .Add(Bytes().S("NoZero").B(129).B(255)).Add(FontRecord("Arial", "10", 129, "A\xFE" "B"))
      .Add(FontRecord("Arial", "8", 128, "no separator"));
  seeds.emplace_back("hand-made.sco",
                     MakeFile(HeaderSection(fonts), glb, ins,
                              {{StaffHeader("A"), Bytes().N4(0).B(14, 0, 0).B(254).S("a\rb").B(255), vce},
                               {Bytes().S("no separator"), {}, {}}}));

  const char* folder = std::getenv("NOTECRAFT_FUZZ_CORPUS");
  for (const auto& [name, bytes] : seeds) {
    SCOPED_TRACE(name);
    Score score;
    EXPECT_TRUE(score.ReadScoreFile(Internal{}, bytes, name)) << score.LastFileError();
    EXPECT_LT(bytes.size(), 4096u);  // within the fuzzer's default input size
    if (folder) testing::WriteAll(std::string(folder) + "/" + name, bytes);
  }
}

// Inputs the fuzz target once failed on, with what it checks: a file that reads can be
// written, what is written reads, and saving and opening again comes to rest at once
// (these files need one round: an overlapping note, stale channels, a merged instrument).
TEST(ScoreFileFuzzSeeds, RegressionsRoundTrip) {
  const std::filesystem::path folder =
      std::filesystem::path(NOTECRAFT_TEST_DATA) / ".." / ".." / "fuzz" / "regressions";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().filename().string());
    ++files;
    Score first;
    first.CreateDefault();
    if (!first.ReadScoreFile(Internal{}, testing::ReadAll(entry.path().string()), "r.sco")) continue;
    Score second, third, fourth;
    const ByteVector w1 = testing::NativeBytes(first);
    ASSERT_TRUE(second.ReadScoreFile(Internal{}, w1, "1.sco")) << second.LastFileError();
    const ByteVector w2 = testing::NativeBytes(second);
    ASSERT_TRUE(third.ReadScoreFile(Internal{}, w2, "2.sco")) << third.LastFileError();
    const ByteVector w3 = testing::NativeBytes(third);
    ASSERT_TRUE(fourth.ReadScoreFile(Internal{}, w3, "3.sco")) << fourth.LastFileError();
    EXPECT_EQ(testing::NativeBytes(fourth), w3);
  }
  EXPECT_GE(files, 4);
}

}  // namespace
}  // namespace notecraft
