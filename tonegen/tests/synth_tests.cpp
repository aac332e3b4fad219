// The software synthesizer (output -1) through SoundMaster, heard by rendering FluidSynth
// offline (audio driver "none") or through its file driver. "Heard" means not silent:
// peak above 0 and RMS above a small floor, never a level (General MIDI fonts differ).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "recordingsystem.h"
#include "tonegen/alsa/portsource.h"
#include "tonegen/fluidsynth/engine.h"
#include "tonegen/internal.h"
#include "tonegen/mididevices.h"
#include "tonegen/options.h"
#include "tonegen/soundmaster.h"
#include "tonegen/systemmidi.h"

namespace tonegen {
namespace {

using test::ErrorCapture;
using test::ScopedEnv;

struct Level {
  double Peak = 0;
  double Rms = 0;
};

Level Measure(const std::vector<float>& samples) {
  Level l;
  double sum = 0;
  for (float s : samples) {
    l.Peak = std::max(l.Peak, static_cast<double>(std::fabs(s)));
    sum += static_cast<double>(s) * s;
  }
  if (!samples.empty()) l.Rms = std::sqrt(sum / static_cast<double>(samples.size()));
  return l;
}

// Renders `seconds` of the engine's output offline; both channels, one after the other.
std::vector<float> Render(double seconds) {
  auto engine = fluidsynth::Engine::Current();
  if (!engine) return {};
  const auto frames = static_cast<std::size_t>(seconds * fluidsynth::Engine::kSampleRate);
  std::vector<float> left(frames);
  std::vector<float> right(frames);
  // In blocks, as an audio driver pulls it.
  for (std::size_t at = 0; at < frames; at += 512) {
    const std::size_t n = std::min<std::size_t>(512, frames - at);
    engine->Render(std::span(left).subspan(at, n), std::span(right).subspan(at, n));
  }
  left.insert(left.end(), right.begin(), right.end());
  return left;
}

constexpr double kHeardRms = 1e-3;
constexpr double kSilentPeak = 1e-4;

// Every test starts with the synthesizer's driver "none" and TimGM6mb, and no error handler
// of a previous test.
class SynthTest : public ::testing::Test {
protected:
  ScopedEnv m_driver{"TONEGEN_AUDIO_DRIVER", "none"};
  ScopedEnv m_font{"TONEGEN_SOUNDFONT", TONEGEN_TEST_SOUNDFONT};
  ErrorCapture m_errors;

  // Opens the synthesizer through a SoundMaster and drains whatever an earlier test left.
  void Open(SoundMaster& sm) {
    ASSERT_NE(sm.OutputDevices()->Item(-1), nullptr) << "the synthesizer is not listed";
    sm.OpenOutput();
    ASSERT_NE(fluidsynth::Engine::Current(), nullptr);
    (void)Render(0.05);
  }
};

TEST_F(SynthTest, NoteIsHeardAndFallsSilentAfterNoteOff) {
  SoundMaster sm;
  Open(sm);
  EXPECT_LT(Measure(Render(0.1)).Peak, kSilentPeak);

  // GIVEN a piano on channel 0, WHEN a note starts, THEN the synthesizer sounds.
  sm.SetInstrument(0);
  sm.StartNote(60, 100);
  Level on = Measure(Render(0.5));
  EXPECT_GT(on.Peak, 0.0);
  EXPECT_GT(on.Rms, kHeardRms);

  // WHEN it stops, THEN after the release and the reverb tail it is silent again.
  sm.StopNote(60);
  (void)Render(2.0);
  EXPECT_LT(Measure(Render(0.5)).Peak, kSilentPeak);
  EXPECT_THAT(m_errors.Texts, ::testing::IsEmpty());
}

TEST_F(SynthTest, DrumNoteOnChannelTenIsHeard) {
  SoundMaster sm;
  Open(sm);
  sm.SetChannel(9);
  sm.SetInstrument(0);  // stored only: channel 9 takes no programs
  sm.StartNote(38, 110);  // acoustic snare
  Level drum = Measure(Render(0.3));
  EXPECT_GT(drum.Peak, 0.0);
  EXPECT_GT(drum.Rms, kHeardRms);
}

TEST_F(SynthTest, CloseCutsSoundingNotes) {
  SoundMaster sm;
  Open(sm);
  sm.SetInstrument(48);  // strings: they hold as long as the key
  sm.StartNote(67, 100);
  EXPECT_GT(Measure(Render(0.3)).Rms, kHeardRms);
  sm.CloseOutput();
  sm.OpenOutput();
  // Not even the reverb tail is left for the next driver to play.
  EXPECT_LT(Measure(Render(0.3)).Peak, kSilentPeak);
}

TEST_F(SynthTest, ReopenKeepsTheEngineAndDoesNotReloadTheSoundFont) {
  SoundMaster sm;
  Open(sm);
  const auto engine = fluidsynth::Engine::Current();
  const int loads = fluidsynth::Engine::SoundFontLoads(Internal{});
  EXPECT_EQ(engine->SoundFont(), TONEGEN_TEST_SOUNDFONT);
  for (int i = 0; i < 3; ++i) {
    sm.CloseOutput();
    sm.OpenOutput();
  }
  SoundMaster another;  // a second SoundMaster's open shares the same engine
  another.OpenOutput();
  EXPECT_EQ(fluidsynth::Engine::Current(), engine);
  EXPECT_EQ(fluidsynth::Engine::SoundFontLoads(Internal{}), loads);
}

TEST_F(SynthTest, PlaybackVolumeZeroMutes) {
  SoundMaster sm;
  Open(sm);
  const std::uint32_t full = sm.PlaybackVolume();
  sm.SetPlaybackVolume(0);
  sm.StartNote(60, 100);
  EXPECT_LT(Measure(Render(0.3)).Peak, kSilentPeak);
  sm.SetPlaybackVolume(full);
  sm.StartNote(62, 100);  // FluidSynth dropped the inaudible voice; a new note is heard
  EXPECT_GT(Measure(Render(0.3)).Rms, kHeardRms);
}

// Little-endian 16-bit PCM samples of a WAV file's data chunk; empty if it is not one.
std::vector<float> ReadWav(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    return {};
  }
  std::vector<float> samples;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::uint32_t size = u32(at + 4);
    if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
      const std::size_t end = std::min(bytes.size(), at + 8 + size);
      for (std::size_t i = at + 8; i + 1 < end; i += 2) {
        std::int16_t s = 0;
        std::memcpy(&s, bytes.data() + i, 2);
        samples.push_back(static_cast<float>(s) / 32768.0f);
      }
      break;
    }
    at += 8 + size + (size & 1);
  }
  return samples;
}

TEST_F(SynthTest, FileDriverWritesWhatIsPlayed) {
  const auto wav = std::filesystem::path(::testing::TempDir()) / "tonegen_file_driver.wav";
  std::filesystem::remove(wav);
  ScopedEnv driver("TONEGEN_AUDIO_DRIVER", ("file:" + wav.string()).c_str());
  {
    SoundMaster sm;
    sm.OpenOutput();
    sm.StartNote(60, 110);
    // The file driver renders at real-time pace on its own thread.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    sm.CloseOutput();  // stops the driver, which completes the file
  }
  EXPECT_THAT(m_errors.Texts, ::testing::IsEmpty());
  std::vector<float> samples = ReadWav(wav);
  ASSERT_FALSE(samples.empty()) << "no WAV data in " << wav;
  Level l = Measure(samples);
  EXPECT_GT(l.Peak, 0.0);
  EXPECT_GT(l.Rms, kHeardRms / 4);  // includes the silence before the note
}

TEST_F(SynthTest, MissingAudioDeviceIsReportedOnceAndNotesStillPlay) {
  ScopedEnv driver("TONEGEN_AUDIO_DRIVER", "alsa");  // then pulseaudio: neither exists here
  SoundMaster sm;
  sm.OpenOutput();
  if (m_errors.Texts.empty()) GTEST_SKIP() << "an audio device opened on this machine";
  for (int i = 0; i < 3; ++i) {  // the transport reopens on every Stop
    sm.CloseOutput();
    sm.OpenOutput();
  }
  ASSERT_EQ(m_errors.Texts.size(), 1U);
  EXPECT_EQ(m_errors.Titles[0], "MIDI Sound");
  EXPECT_EQ(m_errors.Texts[0],
            "No audio output could be opened (tried alsa, pulseaudio), so notes are not heard. Check that a "
            "sound server (PipeWire or PulseAudio) is running or that a sound card is present.");

  // The output works on without a driver: the synthesizer still receives every note.
  (void)Render(0.05);
  sm.StartNote(60, 100);
  EXPECT_GT(Measure(Render(0.3)).Rms, kHeardRms);
  EXPECT_EQ(m_errors.Texts.size(), 1U);
}

TEST_F(SynthTest, UnloadableSoundFontIsReportedOnceAndOutputStaysUsable) {
  const auto junk = std::filesystem::path(::testing::TempDir()) / "tonegen_junk.sf2";
  {
    // A soundfont's header (RIFF, size, "sfbk") over a body that is not one.
    static const char bytes[] = "RIFF\x40\0\0\0sfbkLIST\x04\0\0\0INFOnot really a soundfont";
    std::ofstream(junk, std::ios::binary).write(bytes, sizeof bytes - 1);
  }
  ScopedEnv font("TONEGEN_SOUNDFONT", junk.string().c_str());
  // An empty port list would keep OpenOutput from opening anything; list the synthesizer.
  class NoPorts : public alsa::PortSource {
    alsa::PortSnapshot Query() noexcept override { return {}; }
  };
  SoundMaster sm(std::make_shared<SystemMidi>(std::make_shared<NoPorts>(), [] { return true; }));
  sm.OpenOutput();
  sm.StartNote(60, 100);
  sm.CloseOutput();
  sm.OpenOutput();
  sm.StartNote(60, 100);
  // Silent (no earlier soundfont in this process) or the earlier soundfont kept: either
  // way one report that names the file.
  ASSERT_EQ(m_errors.Texts.size(), 1U) << m_errors.Texts.back();
  EXPECT_THAT(m_errors.Texts[0], ::testing::HasSubstr("The soundfont " + junk.string() + " could not be loaded"));
}

TEST_F(SynthTest, NamedFileThatIsNoSoundFontGivesWayToTheDefault) {
  const auto text = std::filesystem::path(::testing::TempDir()) / "tonegen_notes.txt";
  std::ofstream(text) << "not a soundfont";
  ScopedEnv font("TONEGEN_SOUNDFONT", text.string().c_str());
  const std::string fallback = ResolveSoundFont().Path.empty() ? "" : [] {
    for (const auto& p : DefaultSoundFonts()) {
      if (std::filesystem::exists(p)) return p;
    }
    return std::string();
  }();
  if (fallback.empty()) GTEST_SKIP() << "no default soundfont installed";

  SoundMaster sm;
  ASSERT_NE(sm.OutputDevices()->Item(-1), nullptr);  // still offered, with the default font
  sm.OpenOutput();
  sm.CloseOutput();
  sm.OpenOutput();
  EXPECT_THAT(m_errors.Texts, ::testing::ElementsAre("The file " + text.string() +
                                                     " cannot be read as a soundfont; using " + fallback + " instead."));
  EXPECT_EQ(fluidsynth::Engine::Current()->SoundFont(), fallback);
}

}  // namespace
}  // namespace tonegen
