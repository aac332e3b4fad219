#include "notecraft/core/common.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "notecraft/core/enums.h"
#include "notecraft/core/platform.h"

namespace notecraft {
namespace {

TEST(Common, KeyBytes) {
  struct Case {
    int byte, key;
  };
  for (auto c : {Case{249, -7}, Case{8, 0}, Case{129, -7}, Case{15, 7}, Case{253, -3},
                 Case{0, 0}, Case{7, 7}, Case{255, -1}}) {
    EXPECT_EQ(KeyFromByte(c.byte), c.key) << c.byte;
  }
  for (auto c : {Case{253, -3}, Case{7, 9}, Case{249, -7}, Case{249, -12}, Case{0, 0},
                 Case{5, 5}}) {
    EXPECT_EQ(KeyToByte(c.key), c.byte) << c.key;
  }
}

TEST(Common, NoteNames) {
  struct Case {
    int pitch;
    const char* name;
  };
  for (auto c : {Case{0, "C0"}, Case{60, "C5"}, Case{61, "C#5"}, Case{66, "F#5"},
                 Case{70, "A#5"}, Case{71, "B5"}, Case{127, "G10"}, Case{128, ""},
                 Case{-1, ""}}) {
    EXPECT_EQ(NoteName(c.pitch), c.name) << c.pitch;
  }
}

TEST(Common, TempoMarkTexts) {
  EXPECT_EQ(TempoMarkText(0), "Error");
  EXPECT_EQ(TempoMarkText(1), "ritard.");
  EXPECT_EQ(TempoMarkText(5), "dioppio movimento");
  EXPECT_EQ(TempoMarkText(8), "lunga pausa");
  EXPECT_EQ(TempoMarkText(9), "Error");
}

TEST(Common, LightColourScalesEachChannelOnItsOwn) {
  Common& c = TheCommon();
  const int saved = c.ColorNotes;
  c.ColorNotes = RGB(200, 100, 0);
  MakeLightColor();
  EXPECT_EQ(c.ColorLight, RGB(255, 140, 0));
  c.ColorNotes = RGB(18, 152, 18);  // the default note colour stays green, only lighter
  MakeLightColor();
  EXPECT_EQ(c.ColorLight, RGB(25, 213, 25));
  c.ColorNotes = RGB(1, 3, 5);  // 1.4, 4.2, 7.0: each channel rounds on its own
  MakeLightColor();
  EXPECT_EQ(c.ColorLight, RGB(1, 4, 7));
  c.ColorNotes = saved;
}

TEST(Common, SnapTruncatesToWholePixels) {
  EXPECT_EQ(SnapX(44), 30);
  EXPECT_EQ(SnapY(45), 45);
  EXPECT_EQ(SnapX(-44), -30);
}

// "12.3" for 123 tenths, "12" for 120.
std::string FormatShortestTenths(int tenths) {
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10) text += "." + std::to_string(tenths % 10);
  return text;
}

// "1.005" for 1005 thousandths, "1.05" for 1050.
std::string FormatShortestThousandths(int thousandths) {
  std::string fraction = std::to_string(1000 + thousandths % 1000).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  return std::to_string(thousandths / 1000) + (fraction.empty() ? "" : "." + fraction);
}

TEST(Common, FormatLength) {
  struct Case {
    int to;
    float value;
    int from;
    const char* text;
  };
  const Case cases[] = {
      {uomMM, 0.5f, uomInches, "12.7mm"},
      {uomMM, 8.5f, uomInches, "215.9mm"},  // 25.4 mm an inch
      {uomMM, 1440, uomTwips, "25.4mm"},
      {uomMM, 12.5f, uomMM, "12.5mm"},
      {uomInches, 0.75f, uomInches, "0.75\""},
      {uomInches, 25.4f, uomMM, "1\""},
      {uomInches, 1080, uomTwips, "0.75\""},
      {uomTwips, 0.4f, uomInches, "0.4\""},  // twips show as inches
  };
  for (const auto& c : cases) EXPECT_EQ(FormatLength(c.to, c.value, c.from), c.text);
}

TEST(Common, ParseLength) {
  struct Case {
    int to;
    const char* text;
    int from;
    float want;
  };
  const Case cases[] = {
      {uomInches, "25.4 mm", uomInches, 1.0f},
      {uomInches, "5.08 CM", uomInches, 2.0f},
      {uomInches, "2.5cm", uomInches, 25.0f / 25.4f},  // the mark after a fraction counts
      {uomInches, "12,7mm", uomInches, 0.5f},          // a decimal comma reads too
      {uomInches, "0.75\"", uomMM, 0.75f},
      {uomInches, "1.5", uomInches, 1.5f},
      {uomInches, "abc", uomInches, 0.0f},
      {uomMM, "0.5\"", uomMM, 12.7f},
      {uomMM, "8.5", uomInches, 215.9f},
      {uomMM, "3cm", uomInches, 30.0f},
      {uomTwips, "1", uomInches, 1440.0f},
      {uomTwips, "1", uomTwips, 1440.0f},  // twips units read as inches
      {uomTwips, "25.4mm", uomInches, 1440.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_FLOAT_EQ(ParseLength(c.to, c.text, c.from), c.want);
  }
}

TEST(Common, ParseLengthRoundTripsWhatFormatLengthWrites) {
  for (float inches : {8.5f, 11.0f, 0.4f, 0.65f, 11.69f}) {
    const std::string mm = FormatLength(uomMM, inches, uomInches);
    EXPECT_NEAR(ParseLength(uomInches, mm, uomMM), inches, 0.0051f) << mm;
  }
  // A length typed in millimetres (or inches) and held in inches shows as typed, however
  // often it is read back: the tenths of a millimetre, the thousandths of an inch.
  for (int tenths = 0; tenths <= 5000; ++tenths) {
    const std::string typed = FormatShortestTenths(tenths) + "mm";
    float inches = ParseLength(uomInches, typed, uomMM);
    for (int round = 0; round < 3; ++round) {
      const std::string shown = FormatLength(uomMM, inches, uomInches);
      ASSERT_EQ(shown, typed);
      inches = ParseLength(uomInches, shown, uomMM);
    }
  }
  for (int thousandths = 0; thousandths <= 20000; thousandths += 7) {
    const std::string typed = FormatShortestThousandths(thousandths) + "\"";
    const float inches = ParseLength(uomInches, typed, uomMM);
    ASSERT_EQ(FormatLength(uomInches, inches, uomInches), typed);
  }
  // The ISO papers are whole millimetres.
  EXPECT_EQ(FormatLength(uomMM, PaperSizeInches(pgsA4)->Width, uomInches), "210mm");
  EXPECT_EQ(FormatLength(uomMM, PaperSizeInches(pgsA4)->Height, uomInches), "297mm");
  EXPECT_EQ(FormatLength(uomMM, PaperSizeInches(pgsA5)->Width, uomInches), "148mm");
  EXPECT_EQ(FormatLength(uomInches, PaperSizeInches(pgsLegal)->Height, uomInches), "14\"");
  EXPECT_FALSE(PaperSizeInches(pgsCustom));
  EXPECT_EQ(FormatLength(uomMM, 1e30f, uomInches), "2.54e+31mm");  // far too long, but no overflow
}

TEST(Common, ParseLengthDefaultsToTheProcessUnit) {
  Common& c = TheCommon();
  c.UOM = uomMM;
  EXPECT_FLOAT_EQ(ParseLength(uomInches, "25.4"), 1.0f);
  c.UOM = uomInches;
}

TEST(Common, MidiVarLen) {
  using Bytes = std::vector<std::uint8_t>;
  struct Case {
    std::int64_t time;
    Bytes bytes;
  };
  const Case cases[] = {
      {0, {0x00}},
      {-5, {0x00}},
      {1, {0x08}},
      {15, {0x78}},
      {16, {0x81, 0x00}},
      {2048, {0x81, 0x80, 0x00}},
      {262144, {0x81, 0x80, 0x80, 0x00}},
      {(1 << 25) - 1, {0xFF, 0xFF, 0xFF, 0x78}},
      {1 << 25, {0xFF, 0xFF, 0xFF, 0x7F}},  // 2^28 ticks: capped at the largest
      {2147483647, {0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const auto& c : cases) EXPECT_EQ(MidiVarLen(c.time), c.bytes) << c.time;
}

TEST(Common, RecentDocumentsGoThroughThePlatform) {
  struct Recorder : Platform {
    void AddToRecentDocs(const std::string& path) override { last = path; }
    std::string last;
  } recorder;
  AddToRecentDocs("/tmp/a.sco");  // the default platform ignores it
  SetPlatform(&recorder);
  AddToRecentDocs("/tmp/b.sco");
  SetPlatform(nullptr);
  EXPECT_EQ(recorder.last, "/tmp/b.sco");
}

}  // namespace
}  // namespace notecraft

namespace notecraft {
namespace {

TEST(InstallRoot, FoundBesideTheProgramOrFromTheEnvironment) {
  ::unsetenv("VELTRIMOND_HOME");
  // Tests run from the build tree's bin/, with the install folder's data beside it.
  const auto found = InstallRoot();
  EXPECT_TRUE(std::filesystem::exists(found / "Common/Config/Instrument.txt")) << found;
  EXPECT_EQ(InstrumentFile(), found / "Common/Config/Instrument.txt");
  ::setenv("VELTRIMOND_HOME", "/opt/elsewhere", 1);
  EXPECT_EQ(InstallRoot(), std::filesystem::path("/opt/elsewhere"));
  ::unsetenv("VELTRIMOND_HOME");
}

}  // namespace
}  // namespace notecraft
