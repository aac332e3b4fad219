// SoundMaster over a recording system: what reaches the device, as packed 32-bit short
// messages (status + data1 x 256 + data2 x 65536), and what is reported.

#include "tonegen/soundmaster.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "recordingsystem.h"
#include "tonegen/mididevices.h"

namespace tonegen {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using tonegen::test::ErrorCapture;
using tonegen::test::RecordingSystem;

constexpr std::uint32_t Msg(int status, int d1, int d2) {
  return static_cast<std::uint32_t>(status | (d1 << 8) | (d2 << 16));
}

// A system with the synthesizer, two ports and one input.
class SoundMasterTest : public ::testing::Test {
protected:
  std::shared_ptr<RecordingSystem> MakeSystem() {
    return std::make_shared<RecordingSystem>(RecordingSystem::Devices{{-1, "Software Synthesizer (GM)"},
                                                                      {0, "Synth A: port 0"},
                                                                      {1, "Synth B: port 0"}},
                                             RecordingSystem::Devices{{0, "Keyboard: port 0"}});
  }
  ErrorCapture m_errors;
  std::shared_ptr<RecordingSystem> m_system = MakeSystem();
  std::vector<std::uint32_t>& Sent() { return m_system->Log().Sent; }
};

TEST_F(SoundMasterTest, InitialStateBeforeAnyOpen) {
  SoundMaster sm(m_system);
  EXPECT_EQ(sm.channel(), 0);
  EXPECT_EQ(sm.Instrument(), 0);
  EXPECT_EQ(sm.Volume(), 127);
  EXPECT_EQ(sm.Pan(), 64);
  EXPECT_EQ(sm.Velocity(), 0);
  EXPECT_EQ(sm.OutputDevice(), -1);
  EXPECT_EQ(sm.InputDevice(), 0);
  EXPECT_EQ(sm.OutputDevices()->Count(), 3);
  EXPECT_EQ(sm.InputDevices()->Count(), 1);
  EXPECT_THAT(m_system->Log().Opened, IsEmpty());  // creation opens nothing
}

TEST_F(SoundMasterTest, NotesAreSentOnlyWhileOpen) {
  SoundMaster sm(m_system);
  // GIVEN a closed output, WHEN a note starts, THEN nothing is sent.
  sm.StartNote(60);
  sm.SetVolume(100);
  EXPECT_THAT(Sent(), IsEmpty());
  EXPECT_EQ(sm.Volume(), 100);  // but the value is stored

  sm.OpenOutput();
  EXPECT_EQ(sm.Velocity(), 64);
  sm.StartNote(60);
  sm.StartNote(61, 0);   // explicit 0 is sent as 0
  sm.StartNote(62, -5);  // any negative velocity means the stored one
  sm.StopNote(60);       // note on with velocity 0
  EXPECT_THAT(Sent(), ElementsAre(Msg(0x90, 60, 64), Msg(0x90, 61, 0), Msg(0x90, 62, 64), Msg(0x90, 60, 0)));

  sm.CloseOutput();
  sm.StartNote(60);
  EXPECT_EQ(Sent().size(), 4U);
}

TEST_F(SoundMasterTest, SilenceCutsEveryChannelWithoutReopening) {
  SoundMaster sm(m_system);
  sm.Silence();  // closed: nothing to send
  EXPECT_THAT(Sent(), IsEmpty());

  sm.OpenOutput();
  sm.SetChannel(5);
  sm.SetVolume(90);
  sm.StartNote(60);
  Sent().clear();
  sm.Silence();
  ASSERT_EQ(Sent().size(), 32U);
  for (int channel = 0; channel < 16; ++channel) {
    EXPECT_EQ(Sent()[2 * channel], Msg(0xB0 + channel, 123, 0));
    EXPECT_EQ(Sent()[2 * channel + 1], Msg(0xB0 + channel, 120, 0));
  }
  EXPECT_EQ(m_system->Log().Opened.size(), 1U);  // the output stayed open
  EXPECT_EQ(m_system->Log().Closes, 0);
  EXPECT_EQ(sm.channel(), 0);  // stored state as after an open
  EXPECT_EQ(sm.Volume(), 127);
}

TEST_F(SoundMasterTest, ChannelStateAndMessages) {
  SoundMaster sm(m_system);
  sm.OpenOutput();

  sm.SetChannel(2);
  sm.SetInstrument(24);  // bank select 0 first, then the program change
  sm.SetVolume(90);
  sm.SetPan(10);
  sm.StartNote(64, 100);
  EXPECT_THAT(Sent(), ElementsAre(Msg(0xB2, 0, 0), Msg(0xC2, 24, 0), Msg(0xB2, 7, 90), Msg(0xB2, 10, 10),
                                  Msg(0x92, 64, 100)));
  EXPECT_EQ(sm.Instrument(), 24);

  // Values belong to their channel.
  sm.SetChannel(3);
  EXPECT_EQ(sm.Instrument(), 0);
  EXPECT_EQ(sm.Volume(), 127);
  sm.SetChannel(2);
  EXPECT_EQ(sm.Volume(), 90);
  EXPECT_EQ(sm.Pan(), 10);

  // Out-of-range channels are ignored.
  sm.SetChannel(16);
  EXPECT_EQ(sm.channel(), 2);
  sm.SetChannel(-1);
  EXPECT_EQ(sm.channel(), 2);

  // Channel 9 is the drum channel: the program is stored, nothing is sent.
  Sent().clear();
  sm.SetChannel(9);
  sm.SetInstrument(5);
  EXPECT_EQ(sm.Instrument(), 5);
  EXPECT_THAT(Sent(), IsEmpty());
  sm.StartNote(38);
  EXPECT_THAT(Sent(), ElementsAre(Msg(0x99, 38, 64)));
}

TEST_F(SoundMasterTest, OpenResetsStoredStateWithoutSending) {
  SoundMaster sm(m_system);
  sm.OpenOutput();
  sm.SetChannel(4);
  sm.SetInstrument(40);
  sm.SetVolume(10);
  sm.SetPan(0);
  sm.SetVelocity(99);
  Sent().clear();

  sm.OpenOutput();
  EXPECT_THAT(Sent(), IsEmpty());
  EXPECT_EQ(sm.channel(), 0);
  EXPECT_EQ(sm.Velocity(), 64);
  sm.SetChannel(4);
  EXPECT_EQ(sm.Instrument(), 0);
  EXPECT_EQ(sm.Volume(), 127);
  EXPECT_EQ(sm.Pan(), 64);
  EXPECT_EQ(m_system->Log().Closes, 1);  // the reopen closed the first open
}

// Data bytes are clamped to 0..127 before packing: 300 would otherwise carry into the next
// byte (300 = 0x12C) and a negative value would fill the whole message.
TEST_F(SoundMasterTest, DataIsClampedAndStrayNotesAreNotSent) {
  struct Case {
    const char* name;
    void (*act)(SoundMaster&);
    std::vector<std::uint32_t> expected;
  };
  const Case cases[] = {
      {"volume above range", [](SoundMaster& s) { s.SetVolume(300); }, {Msg(0xB0, 7, 127)}},
      {"volume below range", [](SoundMaster& s) { s.SetVolume(-4); }, {Msg(0xB0, 7, 0)}},
      {"pan above range", [](SoundMaster& s) { s.SetPan(200); }, {Msg(0xB0, 10, 127)}},
      {"program above range", [](SoundMaster& s) { s.SetInstrument(300); }, {Msg(0xB0, 0, 0), Msg(0xC0, 127, 0)}},
      {"program below range", [](SoundMaster& s) { s.SetInstrument(-1); }, {Msg(0xB0, 0, 0), Msg(0xC0, 0, 0)}},
      {"velocity argument above range", [](SoundMaster& s) { s.StartNote(60, 1000); }, {Msg(0x90, 60, 127)}},
      {"stored velocity above range",
       [](SoundMaster& s) {
         s.SetVelocity(500);
         s.StartNote(60);
       },
       {Msg(0x90, 60, 127)}},
      {"note above range", [](SoundMaster& s) { s.StartNote(128); }, {}},
      {"note below range", [](SoundMaster& s) { s.StartNote(-1, 90); }, {}},
      {"note off above range", [](SoundMaster& s) { s.StopNote(200); }, {}},
      {"highest note", [](SoundMaster& s) { s.StopNote(127); }, {Msg(0x90, 127, 0)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SoundMaster sm(m_system);
    sm.OpenOutput();
    Sent().clear();
    c.act(sm);
    EXPECT_EQ(Sent(), c.expected);
  }
  // The stored value is kept as given.
  SoundMaster sm(m_system);
  sm.SetVolume(300);
  EXPECT_EQ(sm.Volume(), 300);
}

TEST_F(SoundMasterTest, OutputDeviceIsValidatedAndAChangeCloses) {
  SoundMaster sm(m_system);
  sm.SetOutputDevice(1);
  EXPECT_EQ(sm.OutputDevice(), 1);
  EXPECT_EQ(sm.OutputCaption(), "Synth B: port 0");
  sm.OpenOutput();
  EXPECT_THAT(m_system->Log().Opened, ElementsAre(1));

  // GIVEN device 1 open, WHEN an id that is not listed is chosen, THEN -1 is stored and the
  // output is closed.
  sm.SetOutputDevice(99);
  EXPECT_EQ(sm.OutputDevice(), -1);
  EXPECT_EQ(m_system->Log().Closes, 1);

  // Choosing what is already stored does not close.
  sm.OpenOutput();
  sm.SetOutputDevice(99);
  sm.SetOutputDevice(-1);
  EXPECT_EQ(m_system->Log().Closes, 1);
  sm.StartNote(60);
  EXPECT_EQ(Sent().size(), 1U);
}

TEST_F(SoundMasterTest, Captions) {
  SoundMaster sm(m_system);
  // The synthesizer's entry has its own caption, but the property says "MIDI Mapper".
  EXPECT_EQ(sm.OutputDevices()->Item(-1)->Caption(), "Software Synthesizer (GM)");
  EXPECT_EQ(sm.OutputCaption(), "MIDI Mapper");
  EXPECT_EQ(sm.InputCaption(), "Keyboard: port 0");

  sm.SetInputDevice(7);  // not listed
  EXPECT_EQ(sm.InputDevice(), -1);
  EXPECT_EQ(sm.InputCaption(), "MIDI Mapper");
  sm.SetInputDevice(0);
  EXPECT_EQ(sm.InputDevice(), 0);
}

TEST_F(SoundMasterTest, InputCaptionOfAnUnlistedInitialIdIsEmpty) {
  // The initial input id 0 on a system without inputs.
  SoundMaster sm(std::make_shared<RecordingSystem>(RecordingSystem::Devices{{-1, "Synth"}}, RecordingSystem::Devices{}));
  EXPECT_EQ(sm.InputDevice(), 0);
  EXPECT_EQ(sm.InputCaption(), "");
}

TEST_F(SoundMasterTest, NoDevicesMeansNothingOpensAndAllIsSilent) {
  auto empty = std::make_shared<RecordingSystem>(RecordingSystem::Devices{}, RecordingSystem::Devices{});
  SoundMaster sm(empty);
  sm.SetChannel(3);
  sm.OpenOutput();
  EXPECT_THAT(empty->Log().Opened, IsEmpty());
  EXPECT_EQ(sm.channel(), 0);  // the state is reset all the same
  EXPECT_EQ(sm.Velocity(), 64);
  sm.SetInstrument(3);
  sm.StartNote(60);
  EXPECT_THAT(empty->Log().Sent, IsEmpty());
  EXPECT_THAT(m_errors.Texts, IsEmpty());
}

TEST_F(SoundMasterTest, TwoSoundMastersShareOneOutput) {
  SoundMaster frame(m_system);
  SoundMaster player(m_system);
  frame.OpenOutput();
  player.StartNote(60);  // the player's default velocity is still 0
  EXPECT_THAT(Sent(), ElementsAre(Msg(0x90, 60, 0)));

  // Opening through the other closes the first one's output.
  player.OpenOutput();
  EXPECT_EQ(m_system->Log().Closes, 1);
  EXPECT_THAT(m_system->Log().Opened, ElementsAre(-1, -1));

  // Releasing either closes it for both.
  {
    SoundMaster options(m_system);
  }
  EXPECT_EQ(m_system->Log().Closes, 2);
  Sent().clear();
  frame.StartNote(60);
  player.StartNote(60);
  EXPECT_THAT(Sent(), IsEmpty());
}

TEST_F(SoundMasterTest, WriteFailuresAreReportedOncePerOpen) {
  SoundMaster sm(m_system);
  sm.OpenOutput();
  m_system->Log().FailSend = true;
  for (int note = 40; note < 80; ++note) sm.StartNote(note);
  ASSERT_EQ(m_errors.Texts.size(), 1U);
  EXPECT_EQ(m_errors.Titles[0], "MIDI Sound");
  EXPECT_EQ(m_errors.Texts[0], "write failed");

  sm.CloseOutput();
  sm.OpenOutput();
  sm.StartNote(60);
  sm.StartNote(61);
  EXPECT_EQ(m_errors.Texts.size(), 2U);  // a new open may report once more
}

TEST_F(SoundMasterTest, OpenFailuresAreReportedButNotRepeated) {
  SoundMaster sm(m_system);
  m_system->Log().FailOpen = true;
  sm.OpenOutput();
  sm.StartNote(60);  // nothing open: silent, no further report
  sm.OpenOutput();   // the same failure again, as on every Stop of the transport
  EXPECT_THAT(m_errors.Texts, ElementsAre("device -1 is busy"));
  EXPECT_EQ(sm.Velocity(), 64);  // the state is reset even when the open fails

  // After a successful open, a new failure is news again.
  m_system->Log().FailOpen = false;
  sm.OpenOutput();
  m_system->Log().FailOpen = true;
  sm.OpenOutput();
  EXPECT_EQ(m_errors.Texts.size(), 2U);
}

TEST_F(SoundMasterTest, CloseFailureIsReportedAndTheOutputIsClosedAnyway) {
  SoundMaster sm(m_system);
  sm.OpenOutput();
  m_system->Log().FailClose = true;
  sm.CloseOutput();
  EXPECT_THAT(m_errors.Texts, ElementsAre("close failed"));
  sm.StartNote(60);
  EXPECT_THAT(Sent(), IsEmpty());
  sm.CloseOutput();  // nothing open: nothing to close or report
  EXPECT_EQ(m_errors.Texts.size(), 1U);
}

TEST_F(SoundMasterTest, PlaybackVolumeGoesToTheChosenDevice) {
  SoundMaster sm(m_system);
  sm.SetOutputDevice(0);
  sm.SetPlaybackVolume(0x80008000u);
  EXPECT_EQ(m_system->Log().VolumeDevice, 0);
  EXPECT_EQ(sm.PlaybackVolume(), 0x80008000u);
}

}  // namespace
}  // namespace tonegen
