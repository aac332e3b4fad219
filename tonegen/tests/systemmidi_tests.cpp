// The Linux device system: the synthesizer first, then ALSA ports from an injected source;
// and the real system on a machine without a sequencer.

#include "tonegen/systemmidi.h"

#include <gtest/gtest.h>

#include <alsa/asoundlib.h>

#include "recordingsystem.h"
#include "tonegen/alsa/portsource.h"
#include "tonegen/alsa/seqportsource.h"
#include "tonegen/fluidsynth/engine.h"
#include "tonegen/internal.h"
#include "tonegen/mididevices.h"
#include "tonegen/soundmaster.h"

namespace tonegen {
namespace {

using test::ErrorCapture;

constexpr unsigned kRW = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_READ |
                         SND_SEQ_PORT_CAP_SUBS_WRITE;
constexpr unsigned kWriteOnly = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;

class TablePortSource : public alsa::PortSource {
public:
  explicit TablePortSource(alsa::PortSnapshot snapshot) : m_snapshot(std::move(snapshot)) {}
  alsa::PortSnapshot Query() noexcept override { return m_snapshot; }

private:
  alsa::PortSnapshot m_snapshot;
};

std::shared_ptr<alsa::PortSource> TwoPorts() {
  alsa::PortSnapshot s;
  s.Available = true;
  s.OwnClient = 131;
  s.Ports = {{128, 0, "TiMidity", "TiMidity port 0", kWriteOnly}, {14, 0, "Midi Through", "Midi Through Port-0", kRW}};
  return std::make_shared<TablePortSource>(s);
}

std::shared_ptr<alsa::PortSource> NoSequencer() {
  alsa::PortSnapshot s;
  s.Error = "The ALSA sequencer could not be opened: No such file or directory.";
  return std::make_shared<TablePortSource>(s);
}

struct Row {
  int id;
  int index;
  std::string caption;
  bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(const MIDIDevices& list) {
  std::vector<Row> rows;
  for (const auto& d : list) rows.push_back({d->DeviceID(), d->Index(), d->Caption()});
  return rows;
}

TEST(SystemMidiTest, SynthesizerFirstThenPortsByAddress) {
  SystemMidi system(TwoPorts(), [] { return true; });
  MIDIDevices outputs;
  MIDIDevices inputs;
  system.ListOutputDevices(outputs);
  system.ListInputDevices(inputs);
  EXPECT_EQ(Rows(outputs), (std::vector<Row>{{-1, 1, "Software Synthesizer (GM)"},
                                             {0, 2, "Midi Through: Midi Through Port-0"},
                                             {1, 3, "TiMidity: TiMidity port 0"}}));
  EXPECT_EQ(outputs.Item(1)->Address(Internal{}), "128:0");
  // Inputs never list the synthesizer.
  EXPECT_EQ(Rows(inputs), (std::vector<Row>{{0, 1, "Midi Through: Midi Through Port-0"}}));
}

TEST(SystemMidiTest, WithoutSynthesizerTheFirstPortIsIndexOne) {
  SystemMidi system(TwoPorts(), [] { return false; });
  MIDIDevices outputs;
  system.ListOutputDevices(outputs);
  ASSERT_EQ(outputs.Count(), 2);
  EXPECT_EQ(outputs.Item(0)->Index(), 1);
  EXPECT_EQ(outputs.Item(-1), nullptr);
}

TEST(SystemMidiTest, WithoutSequencerOnlyTheSynthesizerIsListed) {
  SystemMidi system(NoSequencer(), [] { return true; });
  MIDIDevices outputs;
  MIDIDevices inputs;
  inputs.AddDevice(Internal{}, 0, "stale");  // listing starts afresh
  system.ListOutputDevices(outputs);
  system.ListInputDevices(inputs);
  EXPECT_EQ(Rows(outputs), (std::vector<Row>{{-1, 1, "Software Synthesizer (GM)"}}));
  EXPECT_EQ(inputs.Count(), 0);
}

// This machine's real lists (the tests run with TimGM6mb named as the soundfont).
TEST(SystemMidiTest, RealSystemWithoutSequencerHasNoPorts) {
  if (alsa::SeqPortSource().Query().Available) GTEST_SKIP() << "this machine has an ALSA sequencer";
  SoundMaster sm;
  EXPECT_EQ(sm.InputDevices()->Count(), 0);
  ASSERT_EQ(sm.OutputDevices()->Count(), 1);
  EXPECT_EQ(sm.OutputDevices()->Item(-1)->Caption(), "Software Synthesizer (GM)");
}

TEST(SystemMidiTest, FailedPortOpenIsReportedOnceAndLeavesTheOutputClosed) {
  if (alsa::SeqPortSource().Query().Available) GTEST_SKIP() << "this machine has an ALSA sequencer";
  ErrorCapture errors;
  // Lists as if a sequencer had answered; the open then meets the missing device.
  SoundMaster sm(std::make_shared<SystemMidi>(TwoPorts(), [] { return true; }));
  sm.SetOutputDevice(1);
  sm.OpenOutput();
  sm.StartNote(60);
  sm.OpenOutput();  // as the transport does on Stop
  ASSERT_EQ(errors.Texts.size(), 1U);
  EXPECT_EQ(errors.Titles[0], "MIDI Sound");
  EXPECT_EQ(errors.Texts[0],
            "The MIDI output device TiMidity: TiMidity port 0 (128:0) could not be opened. The ALSA sequencer "
            "could not be opened: No such file or directory.");
}

TEST(SystemMidiTest, VolumeBelongsToTheSynthesizerOnly) {
  SystemMidi system(NoSequencer(), [] { return true; });
  const std::uint32_t before = system.GetVolume(-1);
  system.SetVolume(-1, 0x40004000u);
  EXPECT_EQ(system.GetVolume(-1), 0x40004000u);
  system.SetVolume(0, 0x1234u);  // ports have none: ignored
  EXPECT_EQ(system.GetVolume(0), 0U);
  system.SetVolume(-1, before);
}

}  // namespace
}  // namespace tonegen
