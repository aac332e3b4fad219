// Choice of audio driver and soundfont from settings and environment.

#include "tonegen/options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "recordingsystem.h"

namespace tonegen {
namespace {

using test::ScopedEnv;

// Restores the process-wide settings after a test.
class OptionsTest : public ::testing::Test {
protected:
  ~OptionsTest() override { SetOptions(m_saved); }
  Options m_saved = CurrentOptions();
};

TEST_F(OptionsTest, AudioDriverOrder) {
  using Order = std::vector<AudioDriverChoice>;
  struct Case {
    const char* configured;
    Order expected;
  };
  const Case cases[] = {
      {"", {{"pulseaudio", ""}, {"alsa", ""}}},
      {"jack", {{"jack", ""}, {"pulseaudio", ""}, {"alsa", ""}}},
      {"alsa", {{"alsa", ""}, {"pulseaudio", ""}}},  // no second try of the same driver
      {"pulseaudio", {{"pulseaudio", ""}, {"alsa", ""}}},
      // Silent choices for tests and headless runs: no fallback to a real device.
      {"none", {{"none", ""}}},
      {"file", {{"file", "/dev/null"}}},
      {"file:", {{"file", "/dev/null"}}},
      {"file:/tmp/take 1.wav", {{"file", "/tmp/take 1.wav"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.configured);
    EXPECT_EQ(AudioDriverOrder(c.configured), c.expected);
  }
}

TEST_F(OptionsTest, EnvironmentOverridesTheSetting) {
  Options o;
  o.AudioDriver = "jack";
  SetOptions(o);
  {
    ScopedEnv env("TONEGEN_AUDIO_DRIVER", "none");
    EXPECT_EQ(AudioDriverOrder(), (std::vector<AudioDriverChoice>{{"none", ""}}));
  }
  {
    ScopedEnv env("TONEGEN_AUDIO_DRIVER", nullptr);
    EXPECT_EQ(AudioDriverOrder().front().Driver, "jack");
  }
}

TEST_F(OptionsTest, SoundFontResolution) {
  const auto dir = std::filesystem::path(::testing::TempDir()) / "tonegen_options";
  std::filesystem::create_directories(dir);
  const std::string mine = (dir / "mine.sf2").string();
  std::ofstream(mine) << "RIFF";
  const std::string missing = (dir / "missing.sf2").string();
  const std::string fallback = [] {
    for (const auto& p : DefaultSoundFonts()) {
      if (std::filesystem::exists(p)) return p;
    }
    return std::string();
  }();

  struct Case {
    const char* name;
    const char* env;  // null: unset
    std::string setting;
    std::string path;
    std::string skipped;
  };
  const Case cases[] = {
      {"environment", mine.c_str(), "", mine, ""},
      {"setting", nullptr, mine, mine, ""},
      {"unreadable environment, readable setting", missing.c_str(), mine, mine, missing},
      {"nothing named", nullptr, "", fallback, ""},
      {"named file missing", nullptr, missing, fallback, missing},
      {"directory is no soundfont", nullptr, dir.string(), fallback, dir.string()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedEnv env("TONEGEN_SOUNDFONT", c.env);
    Options o;
    o.SoundFont = c.setting;
    SetOptions(o);
    SoundFontChoice choice = ResolveSoundFont();
    EXPECT_EQ(choice.Path, c.path);
    EXPECT_EQ(choice.Skipped, c.skipped);
  }
}

}  // namespace
}  // namespace tonegen
