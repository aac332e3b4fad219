// Exported MIDI files heard through FluidSynth, and the FluidSynth score player behind
// Score::PlayScore. No sound card is needed: files are rendered offline, and the player
// runs with the "none" and "file" audio drivers. "Heard" means not silent (a peak and an
// RMS above a small floor), never a level: General MIDI fonts differ.

#include <fluidsynth.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/instruments.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/timer.h"
#include "notecraft/core/voice.h"
#include "notecraft/midi/midifilewriter.h"
#include "notecraft/player/fluidscoreplayer.h"

namespace notecraft {
namespace {

constexpr double kSampleRate = 44100.0;
constexpr double kHeardRms = 1e-3;

class ScopedEnv {
public:
  ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (m_old) {
      ::setenv(m_name.c_str(), m_old->c_str(), 1);
    } else {
      ::unsetenv(m_name.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
  std::string m_name;
  std::optional<std::string> m_old;
};

// A score of `bars` 4/4 bars at `tempo`: a piano playing quarters and a violin holding a
// whole note in every bar, so that something sounds up to the very end.
void BuildScore(Score& score, int bars, int tempo) {
  score.SetCount(tempo);
  score.AllGlobals().Add(0, evtTimeChange, 4, 16);
  auto& instruments = score.AllInstruments();
  auto add = [&](int program) {
    auto staff = score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Staff",
                                            std::nullopt, true);
    return staff->AddVoice(instruments.Add(instruments.NewID(), program));
  };
  auto piano = add(0);
  auto violin = add(40);
  for (int bar = 0; bar < bars; ++bar) {
    for (int q = 0; q < 4; ++q) piano->Notes().Add(bar * 64 + q * 16, 60 + 2 * q, 16, 0);
    violin->Notes().Add(bar * 64, 67, 64, 0);
  }
}

struct Level {
  double Peak = 0;
  double Rms = 0;
};

Level Measure(const float* samples, std::size_t count) {
  Level l;
  double sum = 0;
  for (std::size_t i = 0; i < count; ++i) {
    l.Peak = std::max(l.Peak, static_cast<double>(std::fabs(samples[i])));
    sum += static_cast<double>(samples[i]) * samples[i];
  }
  if (count > 0) l.Rms = std::sqrt(sum / static_cast<double>(count));
  return l;
}

// Plays MIDI file bytes through FluidSynth's file player on a synthesizer of its own,
// rendered offline until the player is done; the left channel.
std::vector<float> Render(const std::vector<std::uint8_t>& file) {
  fluid_settings_t* settings = new_fluid_settings();
  fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
  fluid_synth_t* synth = new_fluid_synth(settings);
  std::vector<float> out;
  if (fluid_synth_sfload(synth, NOTECRAFT_TEST_SOUNDFONT, 1) != FLUID_FAILED) {
    fluid_player_t* player = new_fluid_player(synth);
    fluid_player_add_mem(player, file.data(), file.size());
    fluid_player_play(player);
    std::vector<float> left(512), right(512);
    // At most a minute of sound, whatever the file says.
    while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING &&
           out.size() < 60 * kSampleRate) {
      fluid_synth_write_float(synth, 512, left.data(), 0, 1, right.data(), 0, 1);
      out.insert(out.end(), left.begin(), left.end());
    }
    delete_fluid_player(player);
  }
  delete_fluid_synth(synth);
  delete_fluid_settings(settings);
  return out;
}

TEST(MidiRender, ExportedFilesSoundToTheirEnd) {
  Score score;
  BuildScore(score, 2, 120);              // 2 bars of 2 s
  score.SetTitle(std::string(200, 'T'));  // a text length of two bytes in the saved form
  for (bool forPlayback : {true, false}) {
    SCOPED_TRACE(forPlayback ? "playback" : "saved");
    const auto sound = Render(MidiFileWriter::Write(score, forPlayback));
    // The player runs on for a grace period after the last event, for the voices to die.
    ASSERT_GT(sound.size(), static_cast<std::size_t>(4 * kSampleRate));
    const Level all = Measure(sound.data(), sound.size());
    EXPECT_GT(all.Peak, 0.0);
    EXPECT_GT(all.Rms, kHeardRms);
    // The last half second of the score still sounds (the violin holds to the end): no
    // track ended early, and the tempo is the score's.
    const auto at = static_cast<std::size_t>(3.4 * kSampleRate);
    const auto span = static_cast<std::size_t>(0.5 * kSampleRate);
    EXPECT_GT(Measure(sound.data() + at, span).Rms, kHeardRms);
    // A second after the end, all is quiet.
    const auto after = static_cast<std::size_t>(5.5 * kSampleRate);
    ASSERT_GT(sound.size(), after + span);
    EXPECT_LT(Measure(sound.data() + after, span).Rms, kHeardRms / 10);
  }
}

class FluidPlayer : public ::testing::Test {
protected:
  void SetUp() override { FluidScorePlayer::Install(); }
  void TearDown() override { SetScorePlayerFactory({}); }
  ScopedEnv m_font{"TONEGEN_SOUNDFONT", NOTECRAFT_TEST_SOUNDFONT};
};

TEST_F(FluidPlayer, NoAudioOutputIsAFailureNotSilence) {
  ScopedEnv driver("TONEGEN_AUDIO_DRIVER", "none");
  Score score;
  BuildScore(score, 1, 120);
  EXPECT_FALSE(score.PlayScore());
  EXPECT_FALSE(score.Playing());
  EXPECT_NE(score.LastPlayError().find("no audio output could be opened"), std::string::npos)
      << score.LastPlayError();
  EXPECT_TRUE(score.PlayScore(true));
}

// Samples of a 16-bit WAV file (the file driver's format), or nothing.
std::vector<float> ReadWav(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return {};
  std::size_t at = 12;
  while (at + 8 <= bytes.size()) {
    std::uint32_t size = 0;
    std::memcpy(&size, bytes.data() + at + 4, 4);
    if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
      std::vector<float> samples;
      for (std::size_t i = at + 8; i + 1 < bytes.size() && i < at + 8 + size; i += 2) {
        std::int16_t v = 0;
        std::memcpy(&v, bytes.data() + i, 2);
        samples.push_back(static_cast<float>(v) / 32768.0f);
      }
      return samples;
    }
    at += 8 + size + (size & 1);
  }
  return {};
}

TEST_F(FluidPlayer, PlaysToItsEndThroughTheFileDriver) {
  char folder[] = "/tmp/fluidplayer-XXXXXX";
  ASSERT_NE(::mkdtemp(folder), nullptr);
  const std::string wav = std::string(folder) + "/out.wav";
  ScopedEnv driver("TONEGEN_AUDIO_DRIVER", "file:" + wav);
  ManualTimerFactory timers;
  SetTimerFactory(&timers);
  struct Target : Score::PlayEndTarget {
    void PlayEnded() override { ended = true; }
    bool ended = false;
  } target;
  {
    Score score;
    BuildScore(score, 1, 240);  // one bar: one second
    ASSERT_TRUE(score.PlayScore(false, true, &target)) << score.LastPlayError();
    EXPECT_TRUE(score.Playing());
    // The file driver renders at real-time pace on its own thread.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!target.ended && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      timers.Advance(100);
    }
    EXPECT_TRUE(target.ended) << "the end of the playback was told";
    EXPECT_TRUE(score.PlayScore(true));  // stops the driver, which completes the file
  }
  SetTimerFactory(nullptr);
  const auto sound = ReadWav(wav);
  EXPECT_GT(sound.size(), static_cast<std::size_t>(kSampleRate / 2)) << "about a second of sound";
  const Level level = Measure(sound.data(), sound.size());
  EXPECT_GT(level.Peak, 0.0);
  EXPECT_GT(level.Rms, kHeardRms / 4);
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

}  // namespace
}  // namespace notecraft
