// The ALSA sequencer back end without a live sequencer: port lists from a table of ports,
// addresses, short messages as sequencer events, and the open that fails where
// /dev/snd/seq is missing.

#include <gtest/gtest.h>

#include <alsa/asoundlib.h>

#include "tonegen/alsa/output.h"
#include "tonegen/alsa/portlist.h"
#include "tonegen/alsa/seqevent.h"
#include "tonegen/alsa/seqportsource.h"

namespace tonegen::alsa {
namespace {

constexpr unsigned kRW = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_READ |
                         SND_SEQ_PORT_CAP_SUBS_WRITE;
constexpr unsigned kWriteOnly = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
constexpr unsigned kReadOnly = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;

bool SequencerPresent() { return SeqPortSource().Query().Available; }

// A typical desktop: the system client, Midi Through, a USB keyboard with a synth, a
// running FluidSynth, and our own client; listed out of order as a source may.
TEST(AlsaPortListTest, FiltersSortsAndNamesPorts) {
  const int own = 130;
  std::vector<PortInfo> ports = {
      {129, 0, "FLUID Synth (1234)", "Synth input port (1234:0)", kWriteOnly},
      {0, 0, "System", "Timer", kRW},
      {0, 1, "System", "Announce", kReadOnly},
      {24, 1, "USB Keys", "USB Keys MIDI 2", kReadOnly},
      {24, 0, "USB Keys", "USB Keys MIDI 1", kRW},
      {14, 0, "Midi Through", "Midi Through Port-0", kRW},
      {own, 0, "Veltrimond", "MIDI out", kRW},
      {40, 0, "Hidden", "Internal", kRW | SND_SEQ_PORT_CAP_NO_EXPORT},
      // Writable, but only with a direct connection, not by subscription.
      {41, 0, "Direct only", "port", SND_SEQ_PORT_CAP_WRITE},
  };
  PortLists lists = BuildPortLists(ports, own);
  EXPECT_EQ(lists.Outputs, (std::vector<PortEntry>{{"Midi Through: Midi Through Port-0", "14:0"},
                                                   {"USB Keys: USB Keys MIDI 1", "24:0"},
                                                   {"FLUID Synth (1234): Synth input port (1234:0)", "129:0"}}));
  EXPECT_EQ(lists.Inputs, (std::vector<PortEntry>{{"Midi Through: Midi Through Port-0", "14:0"},
                                                  {"USB Keys: USB Keys MIDI 1", "24:0"},
                                                  {"USB Keys: USB Keys MIDI 2", "24:1"}}));
}

TEST(AlsaPortListTest, NoPortsNoLists) {
  PortLists lists = BuildPortLists({}, -1);
  EXPECT_TRUE(lists.Outputs.empty());
  EXPECT_TRUE(lists.Inputs.empty());
}

TEST(AlsaPortListTest, ParseAddress) {
  struct Case {
    const char* text;
    bool ok;
    int client;
    int port;
  };
  const Case cases[] = {
      {"128:0", true, 128, 0}, {"14:2", true, 14, 2}, {"0:0", true, 0, 0},
      {"", false, 0, 0},       {"128", false, 0, 0},  {":0", false, 0, 0},
      {"128:", false, 0, 0},   {"a:0", false, 0, 0},  {"1:2:3", false, 0, 0},
      {"-1:0", false, 0, 0},   {"256:0", false, 0, 0},  // clients and ports are bytes
      {" 1:0", false, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    int client = -7;
    int port = -7;
    EXPECT_EQ(ParseAddress(c.text, client, port), c.ok);
    if (c.ok) {
      EXPECT_EQ(client, c.client);
      EXPECT_EQ(port, c.port);
    } else {
      EXPECT_EQ(client, -7);  // untouched on failure
    }
  }
}

TEST(AlsaSeqEventTest, ShortMessagesBecomeChannelEvents) {
  struct Case {
    const char* name;
    std::uint32_t message;
    int type;
    int channel;
    int a;  // note / controller param; -1: not compared
    int b;  // velocity / value
  };
  const Case cases[] = {
      {"note on", 0x643C92, SND_SEQ_EVENT_NOTEON, 2, 60, 100},
      // Velocity 0 stays a note on, as a MIDI cable carries it.
      {"note on velocity 0", 0x003C90, SND_SEQ_EVENT_NOTEON, 0, 60, 0},
      {"note off", 0x403C8F, SND_SEQ_EVENT_NOTEOFF, 15, 60, 64},
      {"volume", 0x5A07B1, SND_SEQ_EVENT_CONTROLLER, 1, 7, 90},
      {"bank select", 0x0000B2, SND_SEQ_EVENT_CONTROLLER, 2, 0, 0},
      {"program change", 0x0018C2, SND_SEQ_EVENT_PGMCHANGE, 2, -1, 24},
      {"channel pressure", 0x0030D3, SND_SEQ_EVENT_CHANPRESS, 3, -1, 48},
      {"key pressure", 0x203CA4, SND_SEQ_EVENT_KEYPRESS, 4, 60, 32},
      // 0x2000 is the centre of the 14-bit bend; the sequencer counts from it.
      {"pitch bend centre", 0x4000E5, SND_SEQ_EVENT_PITCHBEND, 5, -1, 0},
      {"pitch bend lowest", 0x0000E5, SND_SEQ_EVENT_PITCHBEND, 5, -1, -8192},
      {"pitch bend highest", 0x7F7FE5, SND_SEQ_EVENT_PITCHBEND, 5, -1, 8191},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    snd_seq_event_t ev;
    ASSERT_TRUE(ToSeqEvent(c.message, ev));
    EXPECT_EQ(ev.type, c.type);
    switch (c.type) {
      case SND_SEQ_EVENT_NOTEON:
      case SND_SEQ_EVENT_NOTEOFF:
      case SND_SEQ_EVENT_KEYPRESS:
        EXPECT_EQ(ev.data.note.channel, c.channel);
        EXPECT_EQ(ev.data.note.note, c.a);
        EXPECT_EQ(ev.data.note.velocity, c.b);
        break;
      default:
        EXPECT_EQ(ev.data.control.channel, c.channel);
        if (c.a >= 0) {
          EXPECT_EQ(static_cast<int>(ev.data.control.param), c.a);
        }
        EXPECT_EQ(ev.data.control.value, c.b);
        break;
    }
  }
}

TEST(AlsaSeqEventTest, SystemMessagesAreNotChannelEvents) {
  snd_seq_event_t ev;
  EXPECT_FALSE(ToSeqEvent(0xF8, ev));  // clock
  EXPECT_FALSE(ToSeqEvent(0xFF, ev));  // reset
  EXPECT_FALSE(ToSeqEvent(0x3C, ev));  // no status bit
}

// The real enumerator, where a sequencer exists.
TEST(AlsaPortSourceTest, RealSequencerListsOtherClientsOnly) {
  PortSnapshot snapshot = SeqPortSource().Query();
  if (!snapshot.Available) GTEST_SKIP() << "no ALSA sequencer on this machine: " << snapshot.Error;
  EXPECT_GE(snapshot.OwnClient, 0);
  PortLists lists = BuildPortLists(snapshot.Ports, snapshot.OwnClient);
  for (const auto& entry : lists.Outputs) {
    int client = -1;
    int port = -1;
    EXPECT_TRUE(ParseAddress(entry.Address, client, port)) << entry.Address;
    EXPECT_NE(client, 0);
    EXPECT_NE(client, snapshot.OwnClient);
  }
}

TEST(AlsaPortSourceTest, MissingSequencerIsReportedNotFatal) {
  if (SequencerPresent()) GTEST_SKIP() << "this machine has an ALSA sequencer";
  PortSnapshot snapshot = SeqPortSource().Query();
  EXPECT_FALSE(snapshot.Available);
  EXPECT_TRUE(snapshot.Ports.empty());
  EXPECT_NE(snapshot.Error.find("No such file or directory"), std::string::npos) << snapshot.Error;
}

TEST(AlsaOutputTest, OpenWithoutSequencerFailsWithAReadableMessage) {
  if (SequencerPresent()) GTEST_SKIP() << "this machine has an ALSA sequencer";
  OpenResult opened = Output::Open("128:0", "USB Keys: USB Keys MIDI 1", "tonegen test");
  EXPECT_EQ(opened.Output, nullptr);
  EXPECT_EQ(opened.Error.Message(),
            "The MIDI output device USB Keys: USB Keys MIDI 1 (128:0) could not be opened. The ALSA sequencer "
            "could not be opened: No such file or directory.");
}

TEST(AlsaOutputTest, BadAddressFailsBeforeTouchingTheSequencer) {
  OpenResult opened = Output::Open("keyboard", "Keys", "tonegen test");
  EXPECT_EQ(opened.Output, nullptr);
  EXPECT_EQ(opened.Error.Message(), "The MIDI output device Keys (keyboard) has no valid address.");
}

}  // namespace
}  // namespace tonegen::alsa
