// Instruments that share MIDI program 0 (a piano and the drum sounds of the table) stay
// apart while editing, through a native save and reopen, and through MIDI import.

#include <gtest/gtest.h>

#include <string>

#include "midi_fixtures.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/io/midifilehooks.h"
#include "notecraft/midi/midifilewriter.h"
#include "notecraft/midi/midiimporter.h"
#include "playback_fixtures.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::kBassDrum;
using testing::kMidiData;
using testing::kPiano;
using testing::MessageRecorder;
using testing::PlaybackScore;
using testing::TempDir;

constexpr int kSnare = 131;  // another drum row of the shipped table

std::shared_ptr<Instrument> InstrumentOf(const Score& score, int staff) {
  return score.Staff(staff)->Voice(1)->Instrument();
}

// Staff 1 drums, staff 2 piano, staff 3 another drum sound: the order in which a piano
// used to be handed the kit.
void ExpectKitPianoSnare(const Score& score) {
  ASSERT_EQ(score.Staffs(), 3);
  const auto kick = InstrumentOf(score, 1);
  const auto piano = InstrumentOf(score, 2);
  const auto snare = InstrumentOf(score, 3);
  EXPECT_EQ(score.AllInstruments().Count(), 3);
  EXPECT_EQ(kick->TableRow(), kBassDrum);
  EXPECT_EQ(kick->Category(), catDrums);
  EXPECT_EQ(kick->Offset(), 36);
  EXPECT_EQ(kick->Channel(), 9);
  EXPECT_EQ(piano->TableRow(), kPiano);
  EXPECT_EQ(piano->Category(), catGrand);
  EXPECT_EQ(piano->Value(), 0);
  EXPECT_NE(piano->Channel(), 9);
  EXPECT_EQ(snare->TableRow(), kSnare);
  EXPECT_EQ(snare->Offset(), 38);
  EXPECT_EQ(snare->Channel(), 9);
}

class InstrumentIdentity : public ::testing::Test {
protected:
  void SetUp() override {
    TheMidiFileHooks() = MidiFileHooks{&MidiImporter::Open, &MidiFileWriter::SaveBytes};
  }
  MessageRecorder host;
  TempDir dir;
};

TEST_F(InstrumentIdentity, APianoAfterDrumsAndTwoDrumSoundsWhileEditingAndThroughASave) {
  PlaybackScore s;
  PlaybackScore::Note(s.AddVoice(kBassDrum), 0, {36});
  PlaybackScore::Note(s.AddVoice(kPiano), 0, {60});
  PlaybackScore::Note(s.AddVoice(kSnare), 16, {38});
  {
    SCOPED_TRACE("editing");
    ExpectKitPianoSnare(s.score);
  }
  const std::string path = dir.File("band.sco");
  ASSERT_TRUE(s.score.SaveFile(path)) << s.score.LastFileError();
  Score back;
  ASSERT_TRUE(back.OpenFile(path)) << back.LastFileError();
  {
    SCOPED_TRACE("reopened");
    ExpectKitPianoSnare(back);
  }
  // Nothing merges on a second round either.
  ASSERT_TRUE(back.SaveFile());
  Score again;
  ASSERT_TRUE(again.OpenFile(path)) << again.LastFileError();
  {
    SCOPED_TRACE("reopened twice");
    ExpectKitPianoSnare(again);
  }
  EXPECT_TRUE(host.messages.empty());
}

// drums.mid: a drum track, two piano tracks and a bass track.
TEST_F(InstrumentIdentity, AnImportedPianoAndKitStayApartThroughASaveAndReopen) {
  Score imported;
  ASSERT_TRUE(imported.OpenFile(kMidiData + "/drums.mid"));
  const auto kit = InstrumentOf(imported, 1);
  ASSERT_EQ(kit->Category(), catDrums);
  ASSERT_NE(InstrumentOf(imported, 2), kit);

  const std::string path = dir.File("drums.sco");
  ASSERT_TRUE(imported.SaveFile(path, fmtVeltrimond)) << imported.LastFileError();
  Score back;
  ASSERT_TRUE(back.OpenFile(path)) << back.LastFileError();
  ASSERT_EQ(back.Staffs(), imported.Staffs());
  EXPECT_EQ(back.AllInstruments().Count(), imported.AllInstruments().Count());
  for (int i = 1; i <= imported.Staffs(); ++i) {
    SCOPED_TRACE(i);
    const auto a = InstrumentOf(imported, i);
    const auto b = InstrumentOf(back, i);
    EXPECT_EQ(b->Category(), a->Category());
    EXPECT_EQ(b->Value(), a->Value());
    EXPECT_EQ(b->Channel(), a->Channel());
  }
  EXPECT_EQ(InstrumentOf(back, 2), InstrumentOf(back, 3)) << "the two piano parts still share";
  EXPECT_NE(InstrumentOf(back, 2)->Channel(), 9);
}

}  // namespace
}  // namespace notecraft
