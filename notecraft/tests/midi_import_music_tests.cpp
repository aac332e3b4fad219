// Standard MIDI File import of files the way sequencers and arrangers write them (fixtures
// of data/midi/make_import_fixtures.py): what was imported saves and opens again unchanged,
// notes played legato or held under others read as their rhythm, drum hits as the beat, each
// staff gets a clef that fits its notes, and the words of a song reach its first staff.

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "midi_fixtures.h"
#include "model_fixtures.h"
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

using testing::kMidiData;
using testing::MessageRecorder;
using testing::NotesText;
using testing::TempDir;

class MidiImportMusic : public ::testing::Test {
protected:
  void SetUp() override {
    TheMidiFileHooks() = MidiFileHooks{&MidiImporter::Open, &MidiFileWriter::SaveBytes};
  }
  void Open(const std::string& file) {
    ASSERT_TRUE(score.OpenFile(kMidiData + "/" + file))
        << (host.messages.empty() ? "" : host.messages.back());
  }
  std::string Notes(int staff, int voice = 1) {
    auto s = score.Staff(staff);
    if (!s || !s->Voice(voice)) return "(none)";
    return NotesText(s->Voice(voice)->Notes());
  }

  MessageRecorder host;
  TempDir dir;
  Score score;
};

// Everything a staff shows: clef, voices and notes, own events (lyrics among them).
std::string StaffText(const Staff& staff) {
  std::ostringstream out;
  out << "clef " << staff.DefaultClef() << ", verses " << staff.Verses() << "; "
      << testing::EventsText(staff.GlobalEvents());
  for (int v = 1; v <= staff.Voices(); ++v)
    out << "; voice " << v << ": " << NotesText(staff.Voice(v)->Notes());
  return out.str();
}

// Opening a MIDI file, saving it and opening the saved file gives the same score, and saving
// that again writes the same bytes: what the import made is what a score file holds.
TEST_F(MidiImportMusic, AnImportedFileSavesAndOpensUnchanged) {
  for (const char* file :
       {"held_notes.mid", "overlap.mid", "short_drum_hits.mid", "clefs_by_range.mid",
        "conductor_lyrics.mid", "many_tracks.mid", "drums.mid", "tempo_timesig.mid"}) {
    SCOPED_TRACE(file);
    Open(file);
    const std::string first = dir.File("first.sco"), second = dir.File("second.sco");
    ASSERT_TRUE(score.SaveFile(first)) << score.LastFileError();
    Score back;
    ASSERT_TRUE(back.OpenFile(first));
    ASSERT_EQ(back.Staffs(), score.Staffs());
    for (int i = 1; i <= score.Staffs(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(StaffText(*back.Staff(i)), StaffText(*score.Staff(i)));
    }
    ASSERT_TRUE(back.SaveFile(second)) << back.LastFileError();
    EXPECT_TRUE(testing::ReadAll(first) == testing::ReadAll(second)) << "the second save differs";
  }
  EXPECT_TRUE(host.messages.empty());
}

// A keyboard part as it is played: a bass note held under eighths, a chord whose notes are
// let go one by one, legato notes overlapping the next, a short staccato note, a low note
// held over the bar line under a dotted rhythm. Each chord lasts until the next one starts
// (or as long as its longest note, when that ends sooner); the low note, cut short by the
// dotted rhythm, is not struck again in the next bar.
TEST_F(MidiImportMusic, NotesPlayedLegatoOrHeldReadAsTheirRhythm) {
  Open("held_notes.mid");
  ASSERT_EQ(score.Staffs(), 1);
  EXPECT_EQ(Notes(1),
            "0:43,67/8 8:69/8 16:71/8 24:72/8 32:74/16 48:71/16 "           // bar 1
            "64:55,59,62/16 80:74/8 88:72/8 96:71/8 104:69/4 112:67/16 "    // bar 2
            "128:47,67/16+dot 152:69/8 160:71/32 192:62,67/32 224:59/32");  // bars 3, 4
  EXPECT_EQ(score.Staff(1)->DefaultClef(), clfGrand) << "a piano keeps its grand staff";
}

// Without a clef cue a staff takes the clef its notes ask for; drums keep the percussion
// clef and a piano its grand staff, whatever the instrument's own clef.
TEST_F(MidiImportMusic, AStaffWithoutAClefCueTakesTheClefOfItsNotes) {
  Open("clefs_by_range.mid");
  const std::vector<std::pair<std::string, int>> expected = {
      {"Bass", clfBass},    // low, and a bass clef instrument
      {"Guitar", clfBass},  // a treble clef instrument playing mostly below middle C
      {"Flute", clfTreble}, {"Piano", clfGrand},
      {"Cello", clfTreble},  // a bass clef instrument playing mostly above middle C
  };
  ASSERT_EQ(score.Staffs(), static_cast<int>(expected.size()));
  for (int i = 1; i <= score.Staffs(); ++i) {
    SCOPED_TRACE(expected[i - 1].first);
    EXPECT_EQ(score.Staff(i)->Description(), expected[i - 1].first);
    EXPECT_EQ(score.Staff(i)->DefaultClef(), expected[i - 1].second);
  }
  Open("short_drum_hits.mid");
  EXPECT_EQ(score.Staff(1)->DefaultClef(), clfPercussion);
  EXPECT_EQ(score.Staff(2)->DefaultClef(), clfBass);
}

// A file this system wrote names every staff's clef, and opening it keeps the clef, also
// one the notes would not choose.
TEST_F(MidiImportMusic, ASavedFileKeepsEveryStaffsClef) {
  struct Case {
    int row;
    int clef;
    int pitch;
  };
  const Case cases[] = {
      {testing::kFlute, clfBass, 84},  // high notes in the bass clef
      {33, clfTreble, 28},             // a bass line in the treble clef
      {testing::kViolin, clfAlto, 48},
      {testing::kFlute, clfTenor, 60},
      {testing::kFlute, clfGrand, 40},   // a grand staff for an instrument without one
      {testing::kPiano, clfTreble, 72},  // a piano on a single staff
      {testing::kBassDrum, clfPercussion, 36},
  };
  testing::PlaybackScore s;
  for (const auto& c : cases) {
    auto voice = s.AddVoice(c.row);
    testing::PlaybackScore::Note(voice, 0, {c.pitch});
    s.score.AllStaffs().Item(s.score.Staffs())->SetDefaultClef(c.clef);
  }
  ASSERT_TRUE(s.score.SaveFile(dir.File("clefs.mid"), fmtMIDI)) << s.score.LastFileError();
  ASSERT_TRUE(score.OpenFile(dir.File("clefs.mid")));
  ASSERT_EQ(score.Staffs(), static_cast<int>(std::size(cases)));
  for (int i = 1; i <= score.Staffs(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(score.Staff(i)->DefaultClef(), cases[i - 1].clef);
  }
}

// Drum machines record hits far shorter than a 64th. Each hit lasts until the next one of
// its track, at most a quarter and not past its bar line, so the part reads in eighths and
// sixteenths; it plays as it did, every hit at its time.
TEST_F(MidiImportMusic, DrumHitsLastUntilTheNextHit) {
  Open("short_drum_hits.mid");
  ASSERT_EQ(score.Staffs(), 2);
  EXPECT_EQ(Notes(1),
            "0:36,42/8 8:42/8 16:38,42/8 24:42/8 "
            "32:36/4 36:42/4 40:42/4 44:42/4 48:38,46/8+dot "
            "60:38/4 "       // up to the bar line, not to the next hit
            "72:36,49/16");  // the last: a quarter
  EXPECT_EQ(Notes(2), "0:36/16 16:43/16 32:36/16 48:43/16 64:36/16") << "other parts as they were";

  // Playback strikes every hit at its time (the note times above are the file's).
  std::multiset<std::pair<int, int>> played, imported;  // time in 64ths, pitch
  testing::PlaybackLog log(score);
  for (const auto& line : log.Drain()) {
    std::istringstream in(line);
    int time = 0, channel = 0, pitch = 0;
    std::string kind;
    in >> time >> kind >> channel >> pitch;
    if (kind == "On" && channel == 9) played.insert({time, pitch});
  }
  for (const auto& n : score.Staff(1)->Voice(1)->Notes())
    for (int pitch : n->Values()) imported.insert({n->NoteTime(), pitch});
  EXPECT_EQ(played.size(), 15u);
  EXPECT_EQ(played, imported);
}

// A song whose words stand in its first track, beside the tempo: the syllables go to the
// first staff at their times, under its notes, as the words of any track are read.
TEST_F(MidiImportMusic, LyricsOfTheFirstTrackGoToTheFirstStaff) {
  Open("conductor_lyrics.mid");
  ASSERT_EQ(score.Staffs(), 2);
  auto tune = score.Staff(1);
  EXPECT_EQ(tune->Description(), "Tune");
  std::vector<std::string> lyrics;
  for (const auto& e : tune->GlobalEvents()) {
    if (e->EventType() != evtLyric) continue;
    lyrics.push_back(std::to_string(e->EventTime()) + ":" + e->Text());
    const auto note = tune->Voice(1)->Notes().Lookup(e->EventTime());
    if (e->Text() != "~") {
      EXPECT_TRUE(note && note->NoteTime() == e->EventTime()) << e->Text();
    }
  }
  EXPECT_EQ(lyrics, (std::vector<std::string>{"0:Twin", "16:kle, ", "32:lit", "48:tle ",
                                              "64:star; ", "88:~", "96:Up ", "112:a-", "128:bove ",
                                              "144:the ", "160:sky."}));
  EXPECT_EQ(tune->Verses(), 1);
  EXPECT_EQ(score.Staff(2)->Verses(), 0);
  for (const auto& e : score.Staff(2)->GlobalEvents()) EXPECT_NE(e->EventType(), evtLyric);
}

}  // namespace
}  // namespace notecraft
