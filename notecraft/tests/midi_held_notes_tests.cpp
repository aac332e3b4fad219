// Held notes sound once, from a MIDI file to the score and back: the import cuts a note
// longer than its measure into tied pieces, the export and the playback stream sound tied
// notes as one, and the two agree on every note of a file.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "midi_fixtures.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/midievent.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/io/midifilehooks.h"
#include "notecraft/midi/midifilewriter.h"
#include "notecraft/midi/midiimporter.h"
#include "notecraft/midi/smfreader.h"
#include "playback_fixtures.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::Hex;
using testing::kMidiData;
using testing::kPiano;
using testing::NotesText;
using testing::PlaybackScore;

// "pitch:on-off" of every note, times in 64ths, sorted.
using Sounds = std::vector<std::string>;

Sounds Sorted(Sounds sounds) {
  std::sort(sounds.begin(), sounds.end());
  return sounds;
}

// Pairs each note-off with the earliest sounding note-on of its channel and pitch.
class Pairing {
public:
  void On(int channel, int pitch, int time) { m_on[{channel, pitch}].push_back(time); }
  void Off(int channel, int pitch, int time) {
    auto& starts = m_on[{channel, pitch}];
    if (starts.empty()) {
      sounds.push_back(std::to_string(pitch) + ":?-" + std::to_string(time));
      return;
    }
    sounds.push_back(std::to_string(pitch) + ":" + std::to_string(starts.front()) + "-" +
                     std::to_string(time));
    starts.erase(starts.begin());
  }
  Sounds Finish() {
    for (const auto& [key, starts] : m_on)
      for (int start : starts)
        sounds.push_back(std::to_string(key.second) + ":" + std::to_string(start) + "-?");
    return Sorted(sounds);
  }
  Sounds sounds;

private:
  std::map<std::pair<int, int>, std::vector<int>> m_on;
};

// The notes of the score's MIDI export, each voice's track paired on its own.
Sounds Exported(const Score& score) {
  const std::vector<std::uint8_t> bytes = MidiFileWriter::Write(score, false);
  SmfReader reader(bytes);
  EXPECT_FALSE(reader.ReadStructure(1000));
  Sounds all;
  for (const auto& track : reader.Tracks()) {
    Pairing pairs;
    auto cursor = reader.Events(track);
    SmfEvent e;
    while (cursor.Next(e)) {
      if (e.Type != SmfEvent::Kind::Channel) continue;
      const auto time = static_cast<int>(e.Tick * 16 / reader.FileHeader().Division);
      if (e.Command() == 0x90 && e.Data2 > 0)
        pairs.On(0, e.Data1, time);
      else if (e.Command() == 0x80 || e.Command() == 0x90)
        pairs.Off(0, e.Data1, time);
    }
    EXPECT_FALSE(cursor.Error());
    const Sounds notes = pairs.Finish();
    all.insert(all.end(), notes.begin(), notes.end());
  }
  return Sorted(all);
}

// The notes the playback stream sounds from the start.
Sounds Played(Score& score) {
  Pairing pairs;
  for (auto e = score.GetMIDIEvent(0); e; e = score.GetMIDIEvent()) {
    if (e->EventType() == midNoteOn) pairs.On(e->Channel(), e->Value(0), e->EventTime());
    if (e->EventType() == midNoteOff) pairs.Off(e->Channel(), e->Value(0), e->EventTime());
  }
  return pairs.Finish();
}

// "from-to" of the staff's ties.
std::string TiesText(const Staff& staff) {
  std::string out;
  for (const auto& e : staff.GlobalEvents()) {
    if (e->EventType() != evtTie) continue;
    if (!out.empty()) out += ' ';
    out += std::to_string(e->EventTime()) + "-" + std::to_string(e->Value1() * 256 + e->Value2());
  }
  return out;
}

// A file of an empty conductor track and one track of the given events; 16 ticks a
// quarter note, so ticks are 64ths.
std::vector<std::uint8_t> TrackFile(const std::string& events) {
  std::vector<std::uint8_t> file =
      Hex(R"("MThd" 00 00 00 06  00 01 00 02 00 10  "MTrk" 00 00 00 04  00 FF 2F 00  "MTrk")");
  const std::vector<std::uint8_t> data = Hex(events + " 00 FF 2F 00");
  for (int shift = 24; shift >= 0; shift -= 8)
    file.push_back(static_cast<std::uint8_t>(data.size() >> shift));
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

class MidiHeldNotes : public ::testing::Test {
protected:
  void SetUp() override {
    TheMidiFileHooks() = MidiFileHooks{&MidiImporter::Open, &MidiFileWriter::SaveBytes};
  }
  testing::MessageRecorder host;
};

TEST_F(MidiHeldNotes, ANoteLongerThanItsMeasureIsTiedAndComesBackAsOneNote) {
  struct Case {
    const char* name;
    std::string events;
    const char* notes;
    const char* ties;
    Sounds exported;
  };
  const Case cases[] = {
      {"150 64ths in 4/4: two whole notes and a triplet half, tied",
       "00 90 3C 40  81 16 80 3C 40",
       "0:60/64 64:60/64 128:60/32+trip",
       "0-64 64-128",
       {"60:0-149"}},  // the last piece sounds 21 of its 32
      {"a chord holds its long note over and strikes the new one",
       "00 90 30 40  00 90 37 40  40 80 37 40  00 90 43 40  10 80 43 40  28 80 30 40",
       "0:48,55/64 64:48,67/32+dot",
       "0-64",
       {"48:0-112", "55:0-64", "67:64-112"}},
      {"a note held under moving notes ends at the next one: it is not struck again",
       "00 90 30 40  00 90 3C 40  10 80 3C 40  00 90 3E 40  10 80 3E 40  44 80 30 40",
       "0:48,60/16 16:62/16",
       "",
       {"48:0-16", "60:0-16", "62:16-32"}},
      {"a note struck again at the bar: the held note ends there and the new one sounds",
       "00 90 30 40  00 90 3C 40  10 80 3C 40  30 90 3C 40  10 80 3C 40  14 80 30 40",
       "0:48,60/64 64:60/16",
       "",
       {"48:0-64", "60:0-64", "60:64-80"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Score score;
    ASSERT_TRUE(score.ReadMIDIFile(Internal{}, TrackFile(c.events), "held.mid"))
        << score.LastFileError();
    EXPECT_EQ(NotesText(score.Staff(1)->Voice(1)->Notes()), c.notes);
    EXPECT_EQ(TiesText(*score.Staff(1)), c.ties);
    EXPECT_EQ(Exported(score), Sorted(c.exported));
    EXPECT_EQ(Played(score), Sorted(c.exported));
  }
}

// Ties the user made: one note-on for the held pitch, its note-off at the end of the last
// note; a chord that holds some pitches over strikes the others.
TEST_F(MidiHeldNotes, TiedNotesAreExportedAsOne) {
  PlaybackScore s;
  auto staff = s.AddStaff();
  auto v = s.AddVoice(staff, kPiano);
  s.Note(v, 0, {60, 64});
  s.Note(v, 16, {60, 67});
  s.Note(v, 32, {60}, durHalf);
  s.Note(v, 64, {60});
  staff->GlobalEvents().Add(0, evtTie, 0, 32, "1");  // over three notes; the fourth is struck
  EXPECT_EQ(Exported(s.score), Sorted({"60:0-64", "64:0-16", "67:16-32", "60:64-80"}));
  EXPECT_EQ(Played(s.score), Exported(s.score));
}

// Whatever a file holds (triplets, long notes, chords, drums), playback sounds each note
// the export writes, at the same times.
TEST_F(MidiHeldNotes, PlaybackSoundsWhatTheExportWrites) {
  for (const char* file : {"triplets_in_four.mid", "triplets_in_three.mid", "held_notes.mid",
                           "overlap.mid", "many_tracks.mid", "drums.mid", "tempo_timesig.mid"}) {
    SCOPED_TRACE(file);
    Score score;
    ASSERT_TRUE(score.OpenFile(kMidiData + "/" + file));
    const Sounds exported = Exported(score);
    EXPECT_FALSE(exported.empty());
    EXPECT_EQ(Played(score), exported);
  }
}

}  // namespace
}  // namespace notecraft
