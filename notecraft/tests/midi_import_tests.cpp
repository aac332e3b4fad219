// Standard MIDI File import: fixture files written by python3-mido (see
// data/midi/make_fixtures.py), damaged files written here as commented bytes, and what a
// host sees of an import (events, messages, the score left alone on refusal).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
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
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::EventsText;
using testing::Hex;
using testing::kMidiData;
using testing::MessageRecorder;
using testing::NotesText;
using testing::TimeSignaturesText;
using Bytes = std::vector<std::uint8_t>;

class MidiImport : public ::testing::Test {
protected:
  void SetUp() override {
    // Other tests replace the hooks with their own; this area needs the real ones.
    TheMidiFileHooks() = MidiFileHooks{&MidiImporter::Open, &MidiFileWriter::SaveBytes};
    score.CreateDefault();
  }
  bool Read(const Bytes& bytes) { return score.ReadMIDIFile(Internal{}, bytes, "/songs/test.mid"); }
  std::string Notes(int staff) {
    auto s = score.Staff(staff);
    if (!s || !s->Voice(1)) return "(none)";
    return NotesText(s->Voice(1)->Notes());
  }

  MessageRecorder host;
  Score score;
};

// --- Fixture files ---

TEST_F(MidiImport, FormatOneWithManyTracks) {
  const std::string path = kMidiData + "/many_tracks.mid";
  ASSERT_TRUE(score.OpenFile(path)) << (host.messages.empty() ? "" : host.messages[0]);
  EXPECT_EQ(score.FileName(), path);
  EXPECT_EQ(score.FileType(Internal{}), fmtMIDI);
  EXPECT_FALSE(score.Changed());

  // The conductor track: texts, fonts, tempo, time signature and key, and its note.
  EXPECT_EQ(score.Title(), "Sonata");
  EXPECT_EQ(score.Fonts(fntTitle)->Name, "Arial");
  EXPECT_EQ(score.Fonts(fntTitle)->Size, 14.0f);
  EXPECT_TRUE(score.Fonts(fntTitle)->Bold);
  EXPECT_EQ(score.SubTitle(), "Opus 1");
  EXPECT_EQ(score.Copyright(0), "(c) Quill");
  EXPECT_EQ(score.Count(), 120);
  EXPECT_EQ(TimeSignaturesText(score.AllGlobals()), "0:3/16");
  EXPECT_EQ(score.Key(), 2);
  EXPECT_FALSE(score.Minor());

  // The conductor's note is on the first staff, with the piano (no program change).
  ASSERT_EQ(score.Staffs(), 12);
  EXPECT_EQ(Notes(1), "0:30/8");
  EXPECT_EQ(score.Staff(1)->Description(), "");
  EXPECT_EQ(score.Staff(1)->Voice(1)->Instrument(), score.Staff(2)->Voice(1)->Instrument());
  // A staff per later track, named by its track name, with its own instrument.
  EXPECT_EQ(score.AllInstruments().Count(), 11);
  const int programs[] = {0, 24, 32, 40, 56, 65, 71, 73, 19, -1, 48};
  for (int i = 1; i <= 11; ++i) {
    SCOPED_TRACE(i);
    auto staff = score.Staff(i + 1);
    EXPECT_EQ(staff->Description(), "Part " + std::to_string(i));
    auto ins = staff->Voice(1)->Instrument();
    ASSERT_TRUE(ins);
    if (i == 10) {
      EXPECT_EQ(ins->Category(), catDrums);
      EXPECT_EQ(ins->Channel(), 9);
      // Drum hits last to the next hit, at most a quarter.
      EXPECT_EQ(Notes(i + 1), "0:36/16 16:36/16 48:36/16");
    } else {
      EXPECT_EQ(ins->Value(), programs[i - 1]);
      EXPECT_NE(ins->Channel(), 9);
      const std::string p = std::to_string(40 + 2 * i);
      EXPECT_EQ(Notes(i + 1), "0:" + p + "/16 16:" + p + "/32 48:" + p + "/8");
    }
  }
  // Lyrics keep their line breaks as the score's marks, and the staff gets a verse.
  std::vector<std::string> lyrics;
  for (const auto& e : score.Staff(2)->GlobalEvents())
    if (e->EventType() == evtLyric) lyrics.push_back(e->Text());
  EXPECT_EQ(lyrics, (std::vector<std::string>{"la~", "li}"}));
  EXPECT_GE(score.Staff(2)->Verses(), 1);
  EXPECT_EQ(score.Staff(3)->Verses(), 0);
}

TEST_F(MidiImport, FixtureNotes) {
  struct Case {
    const char* file;
    std::vector<std::string> staves;  // notes per staff
  };
  const Case cases[] = {
      // C0 05 06: two program changes under running status; B0 00 00 20 00: bank select
      // and its LSB. Read the standard way, no note comes out of the controller bytes.
      {"running_status.mid", {"0:60,64/16 16:67/16"}},
      // System-exclusive messages, one with a two-byte length, are passed over whole.
      {"sysex.mid", {"0:60/16 16:62/16"}},
      // 3/4 from 64 and 6/8 from 112: each note is fitted in its own bar's length.
      {"tempo_timesig.mid", {"0:60/64 64:62/32+dot 112:64/32+trip"}},
      // Division 96: tick 95 is 15; a note-on of velocity 0 ends a note.
      {"division96.mid", {"15:60/16 32:62/16"}},
      // Drum hits of a third of a 64th last until the next hit, the last one a quarter.
      {"drums.mid", {"0:36/8 8:42/8 16:38/8 24:42/16", "0:60/16", "0:67/16", "0:36/16"}},
      // A re-struck pitch ends its first note; a note never released ends with its track;
      // an overlapped note is shortened by the next, as entering it would.
      {"overlap.mid", {"0:60/8 8:60/16", "32:72/32", "0:48/8 8:52/16"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ASSERT_TRUE(score.OpenFile(kMidiData + "/" + c.file));
    ASSERT_EQ(score.Staffs(), static_cast<int>(c.staves.size()));
    for (std::size_t i = 0; i < c.staves.size(); ++i)
      EXPECT_EQ(Notes(static_cast<int>(i) + 1), c.staves[i]);
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(MidiImport, TimeSignaturesSnapToBarsAndTheFirstTempoHolds) {
  ASSERT_TRUE(score.OpenFile(kMidiData + "/tempo_timesig.mid"));
  // 3/4 arriving at 70 stands at the bar at 64; 6/8 arriving at 117 at 112.
  EXPECT_EQ(TimeSignaturesText(score.AllGlobals()), "0:4/16 64:3/16 112:6/8");
  // The tempo at the start (120), not the change to 80 at bar 2.
  EXPECT_EQ(score.Count(), 120);
}

TEST_F(MidiImport, TracksGetTheirOwnInstrumentsAndDrumsAKit) {
  ASSERT_TRUE(score.OpenFile(kMidiData + "/drums.mid"));
  auto ins = [&](int staff) { return score.Staff(staff)->Voice(1)->Instrument(); };
  EXPECT_EQ(ins(1)->Category(), catDrums);
  EXPECT_EQ(ins(1)->Channel(), 9);
  EXPECT_EQ(ins(2), ins(3)) << "two piano parts share the piano";
  EXPECT_NE(ins(2)->Category(), catDrums);
  EXPECT_NE(ins(2)->Channel(), 9);
  EXPECT_EQ(ins(4)->Value(), 33);
  EXPECT_NE(ins(4)->Channel(), ins(2)->Channel());
  EXPECT_EQ(score.AllInstruments().Count(), 3);
  ASSERT_TRUE(score.OpenFile(kMidiData + "/running_status.mid"));
  EXPECT_EQ(ins(1)->Value(), 5) << "the first program change of the track";
}

TEST_F(MidiImport, Format0IsRefusedAndTheScoreKept) {
  score.SetTitle("Mine");
  score.SetChanged(false);
  EXPECT_FALSE(score.OpenFile(kMidiData + "/format0.mid"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind("Open: This MIDI file type is not supported.\n", 0), 0u)
      << host.messages[0];
  EXPECT_EQ(score.Title(), "Mine");
  EXPECT_EQ(score.Staffs(), 1);
  EXPECT_TRUE(score.FileName().empty());
}

// mido is the reference reader: every note-on of the later tracks, turned into score time
// (floor(ticks x 16 / division)), starts a note of the matching staff with that pitch.
TEST_F(MidiImport, NoteStartsAgreeWithMido) {
  if (!testing::MidoAvailable()) GTEST_SKIP() << "/usr/bin/python3 with mido is not installed";
  for (const char* file : {"many_tracks.mid", "running_status.mid", "sysex.mid",
                           "tempo_timesig.mid", "division96.mid", "drums.mid", "overlap.mid"}) {
    SCOPED_TRACE(file);
    const auto dump = testing::MidoDump(kMidiData + "/" + file);
    ASSERT_GE(dump.size(), 2u);
    const int division = std::stoi(dump[1].substr(std::string("ticks_per_beat ").size()));
    // Every note-on of every track; staves count from 1, so a first track with notes
    // takes staff 1 and the others follow it.
    std::vector<std::tuple<int, int, int>> onsets;  // track, time, pitch
    bool firstHasNotes = false;
    for (const auto& line : dump) {
      std::istringstream in(line);
      std::string track, kind;
      long tick = 0;
      int channel = 0, pitch = 0, velocity = 0;
      in >> track >> tick >> kind >> channel >> pitch >> velocity;
      if (kind != "note_on" || velocity == 0) continue;
      const int index = std::stoi(track.substr(1));
      firstHasNotes = firstHasNotes || index == 0;
      onsets.emplace_back(index, static_cast<int>(tick * 16 / division), pitch);
    }
    std::set<std::tuple<int, int, int>> fromMido;  // staff, time, pitch
    for (const auto& [track, time, pitch] : onsets)
      fromMido.insert({track + (firstHasNotes ? 1 : 0), time, pitch});
    ASSERT_TRUE(score.OpenFile(kMidiData + "/" + file));
    std::set<std::tuple<int, int, int>> fromScore;
    for (int i = 1; i <= score.Staffs(); ++i)
      for (const auto& n : score.Staff(i)->Voice(1)->Notes())
        for (int p : n->Values()) fromScore.insert({i, n->NoteTime(), p});
    EXPECT_EQ(fromScore, fromMido);
  }
}

// --- Damaged and foreign files, written out byte by byte ---

// A format-1 file with the given division and tracks (each the hex text of its events);
// chunk lengths are filled in.
Bytes Smf(int division, const std::vector<std::string>& tracks) {
  Bytes file = Hex(R"("MThd" 00 00 00 06  00 01)");
  const auto count = static_cast<int>(tracks.size());
  for (int v : {count >> 8, count & 255, division >> 8, division & 255})
    file.push_back(static_cast<std::uint8_t>(v));
  for (const auto& events : tracks) {
    const Bytes data = Hex(events);
    const Bytes head = Hex(R"("MTrk")");
    file.insert(file.end(), head.begin(), head.end());
    for (int shift = 24; shift >= 0; shift -= 8)
      file.push_back(static_cast<std::uint8_t>(data.size() >> shift));
    file.insert(file.end(), data.begin(), data.end());
  }
  return file;
}

// An empty conductor track and one track with the given events; 96 ticks a quarter.
Bytes TwoTrackFile(const std::string& events, int division = 96) {
  return Smf(division, {"00 FF 2F 00", events});
}

TEST_F(MidiImport, DamagedFilesAreRefusedWithAMessage) {
  struct Case {
    const char* name;
    Bytes bytes;
    const char* message;  // the first line
  };
  const std::string invalid = "Invalid data encountered loading file.";
  const std::string unsupported = "This MIDI file type is not supported.";
  Bytes tooManyTracks = Hex(R"("MThd" 00 00 00 06  00 01  01 03  00 60)");  // 259 tracks
  for (int i = 0; i < 259; ++i) {
    const Bytes t = Hex(R"("MTrk" 00 00 00 04  00 FF 2F 00)");
    tooManyTracks.insert(tooManyTracks.end(), t.begin(), t.end());
  }
  Bytes longTrack = TwoTrackFile("00 90 3C 40");
  longTrack[longTrack.size() - 8] = 0xFF;  // the second track claims 4 GiB: FF 00 00 04
  const Case cases[] = {
      {"header length below 6", Hex(R"("MThd" 00 00 00 05  00 01 00 02 00 60)"), "Invalid"},
      {"the file ends inside the header", Hex(R"("MThd" 00 00 00 06  00 01)"), "Invalid"},
      {"a single track (format 0)", Hex(R"("MThd" 00 00 00 06  00 00 00 01 00 60
                                           "MTrk" 00 00 00 04  00 FF 2F 00)"),
       "NotSupported"},
      {"a format-1 header with one track", Hex(R"("MThd" 00 00 00 06  00 01 00 01 00 60
                                                  "MTrk" 00 00 00 04  00 FF 2F 00)"),
       "NotSupported"},
      {"division 0", TwoTrackFile("00 FF 2F 00", 0), "Invalid"},
      {"SMPTE division (25 frames of 40 ticks)", TwoTrackFile("00 FF 2F 00", 0xE728),
       "NotSupported"},
      {"a track chunk longer than the file", longTrack, "Invalid"},
      {"the last track cut short",
       [] {
         Bytes b = TwoTrackFile("00 90 3C 40  60 80 3C 40  00 FF 2F 00");
         b.resize(b.size() - 3);
         return b;
       }(),
       "Invalid"},
      {"a track announced but missing", Hex(R"("MThd" 00 00 00 06  00 01 00 03 00 60
                                               "MTrk" 00 00 00 04  00 FF 2F 00
                                               "MTrk" 00 00 00 04  00 FF 2F 00)"),
       "Invalid"},
      {"a note cut short by its track's end", TwoTrackFile("00 90 3C"), "Invalid"},
      {"a data byte with no status before it", TwoTrackFile("00 3C 40  00 FF 2F 00"), "Invalid"},
      {"a delta time of five bytes", TwoTrackFile("FF FF FF FF 7F 90 3C 40"), "Invalid"},
      {"a meta event longer than its track", TwoTrackFile("00 FF 01 20 \"short\""), "Invalid"},
      {"a sysex longer than its track", TwoTrackFile("00 F0 83 00 7E 7F"), "Invalid"},
      {"a data byte above 127", TwoTrackFile("00 90 3C C0  00 FF 2F 00"), "Invalid"},
      {"259 tracks", tooManyTracks, "NotSupported"},
      // What two files joined or spliced together look like.
      {"a track without its end-of-track event", TwoTrackFile("00 90 3C 40  60 80 3C 40"),
       "Invalid"},
      {"a track going on after its end-of-track event",
       TwoTrackFile("00 90 3C 40  60 80 3C 40  00 FF 2F 00  00 90 40 40  60 80 40 40"), "Invalid"},
      {"more tracks than the header announces", Hex(R"("MThd" 00 00 00 06  00 01 00 02 00 60
                                                       "MTrk" 00 00 00 04  00 FF 2F 00
                                                       "MTrk" 00 00 00 04  00 FF 2F 00
                                                       "MTrk" 00 00 00 0C  00 90 3C 40  60 80 3C 40  00 FF 2F 00)"),
       "Invalid"},
      {"format 128", Hex(R"("MThd" 00 00 00 06  00 80 00 02 00 60
                             "MTrk" 00 00 00 04  00 FF 2F 00
                             "MTrk" 00 00 00 0C  00 90 3C 40  60 80 3C 40  00 FF 2F 00)"),
       "Invalid"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    score.CreateDefault();
    score.SetTitle("Mine");
    host.messages.clear();
    EXPECT_FALSE(Read(c.bytes));
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string first = std::string(c.message) == "Invalid" ? invalid : unsupported;
    EXPECT_EQ(host.messages[0].rfind("Open: " + first + "\n", 0), 0u) << host.messages[0];
    EXPECT_GT(host.messages[0].size(), first.size() + 8) << "the message says what is wrong";
    EXPECT_EQ(score.LastFileError(), host.messages[0].substr(6));
    EXPECT_EQ(score.Title(), "Mine") << "a refused file leaves the score as it was";
    EXPECT_EQ(score.Staffs(), 1);
  }
}

// A score's tempo goes up to 255: a faster one (a march at 260) is taken as 255, not
// dropped for the default 120.
TEST_F(MidiImport, ATempoFasterThanAScoreHoldsIsTakenAsItsFastest) {
  ASSERT_TRUE(Read(Smf(96, {"00 FF 51 03 03 85 71  00 FF 2F 00", "00 FF 2F 00"})));
  EXPECT_EQ(score.Count(), 255);
}

// Files that put the melody in the first track, beside the tempo and the names.
TEST_F(MidiImport, TheFirstTracksNotesAreImportedLikeAnyOthers) {
  const Bytes file = Smf(96, {
      R"(00 FF 03 04 "Lead"  00 FF 51 03 07 A1 20  00 FF 58 04 03 02 18 08
         00 C0 49  00 90 48 40  60 80 48 40  00 90 4A 40  60 80 4A 40  00 FF 2F 00)",
      R"(00 FF 03 04 "Bass"  00 C1 21  00 91 30 40  81 40 81 30 40  00 FF 2F 00)",
  });
  ASSERT_TRUE(Read(file)) << (host.messages.empty() ? "" : host.messages[0]);
  ASSERT_EQ(score.Staffs(), 2);
  EXPECT_EQ(Notes(1), "0:72/16 16:74/16");
  EXPECT_EQ(score.Staff(1)->Description(), "Lead");
  EXPECT_EQ(score.Staff(1)->Voice(1)->Instrument()->Value(), 73);
  EXPECT_EQ(Notes(2), "0:48/32");
  EXPECT_EQ(score.Staff(2)->Description(), "Bass");
  EXPECT_EQ(score.Count(), 120);
  EXPECT_EQ(TimeSignaturesText(score.AllGlobals()), "0:3/16");
  // The score-wide data stays score-wide, and the first staff gets the key as the others.
  EXPECT_TRUE(score.Staff(1)->GlobalEvents().Find(0, evtKeyChange, true));
  EXPECT_TRUE(host.messages.empty());
  // Saved and opened again, the lead is still the first staff.
  testing::TempDir dir;
  ASSERT_TRUE(score.SaveFile(dir.File("lead.mid"), fmtMIDI)) << score.LastFileError();
  Score back;
  ASSERT_TRUE(back.OpenFile(dir.File("lead.mid")));
  ASSERT_EQ(back.Staffs(), 2);
  EXPECT_EQ(NotesText(back.Staff(1)->Voice(1)->Notes()), "0:72/16 16:74/16");
}

TEST_F(MidiImport, UnusualButReadableFiles) {
  struct Case {
    const char* name;
    Bytes bytes;
    const char* notes;
  };
  Bytes trailing = TwoTrackFile("00 90 3C 40  60 80 3C 40  00 FF 2F 00");
  trailing.insert(trailing.end(), {0, 0, 0});  // too few bytes for another chunk
  Bytes unknownChunk = Hex(R"("MThd" 00 00 00 06  00 01 00 02 00 60
                              "XFIL" 00 00 00 03  01 02 03      # not a track: passed over
                              "MTrk" 00 00 00 04  00 FF 2F 00
                              "MTrk" 00 00 00 0C  00 90 3C 40  60 80 3C 40  00 FF 2F 00)");
  const Case cases[] = {
      {"an unknown chunk before the tracks", unknownChunk, "0:60/16"},
      {"bytes after the last chunk", trailing, "0:60/16"},
      {"an escape event (F7) is passed over by its length",
       TwoTrackFile("00 F7 03 F3 01 02  00 90 3C 40  60 80 3C 40  00 FF 2F 00"), "0:60/16"},
      {"running status goes on after a meta event, as most readers allow",
       TwoTrackFile("00 90 3C 40  00 FF 01 01 \"x\"  00 40 40  60 3C 00  00 40 00  00 FF 2F 00"),
       "0:60,64/16"},
      {"a song position message between notes",
       TwoTrackFile("00 90 3C 40  00 F2 01 02  60 80 3C 40  00 FF 2F 00"), "0:60/16"},
      {"a meta text of 200 bytes with a two-byte length",
       [] {
         std::string events = "00 FF 01 81 48";
         for (int i = 0; i < 200; ++i) events += " 61";
         return TwoTrackFile(events + " 00 90 3C 40  60 80 3C 40  00 FF 2F 00");
       }(),
       "0:60/16"},
      {"an old one-byte length of 200 that a variable-length number cannot mean",
       [] {
         std::string events = "00 FF 03 C8";
         for (int i = 0; i < 200; ++i) events += " 62";
         return TwoTrackFile(events + " 00 90 3C 40  60 80 3C 40  00 FF 2F 00");
       }(),
       "0:60/16"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    score.CreateDefault();
    ASSERT_TRUE(Read(c.bytes)) << (host.messages.empty() ? "" : host.messages.back());
    EXPECT_EQ(Notes(1), c.notes);
  }
  EXPECT_TRUE(host.messages.empty());
  // The old one-byte length read the name whole.
  EXPECT_EQ(score.Staff(1)->Description(), std::string(200, 'b'));
}

// --- The mapping rules ---

TEST(MidiImportRules, FitLengthTable) {
  struct Row {
    int from, to, duration, flags;
  };
  const Row rows[] = {
      {-5, 1, 1, 0},
      {2, 2, 2, 0},
      {3, 4, 4, 0},
      {5, 5, 8, nteTriplet},
      {6, 6, 4, nteDot},
      {7, 8, 8, 0},
      {9, 11, 16, nteTriplet},
      {12, 14, 8, nteDot},
      {15, 16, 16, 0},
      {17, 23, 32, nteTriplet},
      {24, 30, 16, nteDot},
      {31, 32, 32, 0},
      {33, 47, 64, nteTriplet},
      {48, 63, 32, nteDot},
      {64, 300, 64, 0},
  };
  for (const auto& r : rows) {
    for (int length = r.from; length <= r.to; ++length) {
      SCOPED_TRACE(length);
      EXPECT_EQ(MidiImporter::FitLength(length), std::make_pair(r.duration, r.flags));
    }
  }
}

TEST(MidiImportRules, ScoreTimeOfTicks) {
  EXPECT_EQ(MidiImporter::ScoreTime(95, 96), 15);
  EXPECT_EQ(MidiImporter::ScoreTime(96, 96), 16);
  EXPECT_EQ(MidiImporter::ScoreTime(37, 16), 37);  // 16 ticks a quarter: ticks are 64ths
  EXPECT_EQ(MidiImporter::ScoreTime(29, 480), 0);
  EXPECT_EQ(MidiImporter::ScoreTime(0x0FFFFFFFLL * 1000, 1), 0x0FFFFFFFLL * 16000);
}

TEST_F(MidiImport, LongNotesAreCutAtTheMeasureLength) {
  // Division 16: a note of 150 64ths in 4/4 is two whole notes and 22 left over.
  ASSERT_TRUE(Read(TwoTrackFile("00 90 3C 40  81 16 80 3C 40  00 FF 2F 00", 16)));
  EXPECT_EQ(Notes(1), "0:60/64 64:60/64 128:60/32+trip");
}

// Writers that store C strings leave a NUL at the end of a name: it is not part of it, and
// a score saved and opened again shows the name as it was.
TEST_F(MidiImport, TrailingNulsOfTextsAreDropped) {
  const Bytes file = Smf(96, {R"(00 FF 01 07 "Sonata" 00  00 FF 2F 00)",
                              R"(00 FF 03 07 "Piano" 00 00  00 FF 05 03 "la" 00
                                 00 90 3C 40  60 80 3C 40  00 FF 2F 00)"});
  ASSERT_TRUE(Read(file));
  EXPECT_EQ(score.Title(), "Sonata");
  EXPECT_EQ(score.Staff(1)->Description(), "Piano");
  EXPECT_EQ(score.Staff(1)->Voice(1)->Description(), "Piano");
  testing::TempDir dir;
  ASSERT_TRUE(score.SaveFile(dir.File("song.sco"))) << score.LastFileError();
  Score back;
  ASSERT_TRUE(back.OpenFile(dir.File("song.sco")));
  EXPECT_EQ(back.Title(), "Sonata");
  EXPECT_EQ(back.Staff(1)->Description(), "Piano");
  EXPECT_EQ(testing::EventsText(back.Staff(1)->GlobalEvents()),
            testing::EventsText(score.Staff(1)->GlobalEvents()));
  const auto lyric = back.Staff(1)->GlobalEvents().Find(0, evtLyric, true);
  ASSERT_TRUE(lyric);
  EXPECT_EQ(lyric->Text(), "la");
}

TEST_F(MidiImport, MarkersCuesLyricsAndKeys) {
  // Division 16: ticks are 64ths.
  const std::string conductor = R"(
      00 FF 07 0A "&0.6|0|0.9"                     # layout cue: the 0 takes its default
      00 FF 59 02 FE 01                            # two flats, minor: the score's key
      00 FF 2F 00)";
  const std::string solo = R"(
      00 FF 03 04 "Solo"                           # track name
      00 FF 04 05 "Flute"                          # an instrument name does not replace it
      00 FF 07 02 "%2"                             # clef cue: bass
      40 FF 06 04 "%" 01 03 04                     # at 64: repeat begin, score end, bass clef
      00 FF 05 04 "o" 0D "h" 0A                    # lyric with CR and LF
      00 FF 59 02 01 00                            # one sharp, on the staff only
      00 90 3C 40  10 80 3C 40
      00 FF 2F 00)";
  const Bytes file = Smf(16, {conductor, solo});
  ASSERT_TRUE(Read(file)) << (host.messages.empty() ? "" : host.messages.back());
  EXPECT_EQ(score.StaffHeight(), 0.6f);
  EXPECT_EQ(score.StaffSpace(), 0.5f);
  EXPECT_EQ(score.SystemSpace(), 0.9f);
  EXPECT_EQ(score.Key(), -2);
  EXPECT_TRUE(score.Minor());
  auto staff = score.Staff(1);
  EXPECT_EQ(staff->Description(), "Solo");
  EXPECT_EQ(staff->Voice(1)->Description(), "Solo");
  EXPECT_EQ(staff->DefaultClef(), clfBass);
  // The marker's clef equals the staff's clef there, so no clef change is added.
  // Events at one time: a later one goes before the last of them (the lists' rule).
  EXPECT_EQ(EventsText(staff->GlobalEvents()), "0:2:254/255 64:2:1/0 64:14:0/0:o}h~");
  EXPECT_EQ(EventsText(score.AllGlobals()), "0:2:254/255 64:9:0/0 64:3:0/0");
  EXPECT_EQ(staff->Verses(), 1);
}

TEST_F(MidiImport, ATimeSignatureTwiceAtOneTimeIsKeptOnce) {
  const Bytes file =
      Smf(16, {"00 FF 58 04 04 02 18 08  00 FF 2F 00", "00 FF 58 04 03 02 18 08  00 FF 2F 00"});
  ASSERT_TRUE(Read(file));
  EXPECT_EQ(TimeSignaturesText(score.AllGlobals()), "0:3/16");
}

TEST_F(MidiImport, OldSymbolSignaturesOfNumeratorZero) {
  // Numerator 0 over a quarter was written for common time, over anything else for cut.
  const Bytes file =
      Smf(16, {"00 FF 58 04 00 02 18 08  40 FF 58 04 00 01 18 08  00 FF 2F 00", "00 FF 2F 00"});
  ASSERT_TRUE(Read(file));
  EXPECT_EQ(TimeSignaturesText(score.AllGlobals()), "0:0/0 64:0/32");
}

TEST_F(MidiImport, TimesBeyondTheLimitAreDroppedNotAllocated) {
  // Division 1: a tick is a quarter note. The second note starts 2^28 - 1 quarters in.
  const Bytes file = TwoTrackFile(R"(
      00 90 3C 40  01 80 3C 40                     # a quarter at 0
      FF FF FF 7F 90 3E 40  01 80 3E 40            # far past 2^24 64ths: dropped
      00 FF 2F 00)",
                                  1);
  ASSERT_TRUE(Read(file));
  EXPECT_EQ(Notes(1), "0:60/16");
  EXPECT_LT(score.EndTime(), MidiImporter::kTimeLimit);
  // A note reaching past the limit is cut there (division 16: ticks are 64ths); so far in,
  // its pieces cannot be tied, and it keeps its first bar.
  ASSERT_TRUE(Read(TwoTrackFile(R"(
      87 FF FF 00 90 3C 40                         # at 2^24 - 128
      87 68 80 3C 40                               # 1000 later
      00 FF 2F 00)",
                                16)));
  EXPECT_EQ(Notes(1), "16777088:60/64");
  // A note held for days keeps the bars a tie can reach (its end has two bytes).
  ASSERT_TRUE(Read(TwoTrackFile("00 90 3C 40  FF FF FF 7F 80 3C 40  00 FF 2F 00", 1)));
  EXPECT_EQ(score.Staff(1)->Voice(1)->Notes().Count(), (MidiImporter::kMaxTieEnd + 1) / 64);
}

TEST_F(MidiImport, TheScoreEndsWithItsLastNoteWholeAndItsLastEvent) {
  // 96 ticks a quarter: tick 768 is the start of measure 3 (time 128).
  struct Case {
    const char* name;
    const char* events;
    int end;
  };
  const Case cases[] = {
      {"a drum hit released at once is written as a sixteenth",
       "86 00 99 24 40  01 89 24 00  00 FF 2F 00", 144},
      {"a note released at once is written as a sixty-fourth",
       "86 00 90 3C 40  00 80 3C 00  00 FF 2F 00", 129},
      {"a track that ends after its last note ends the score",
       "00 90 3C 40  60 80 3C 00  86 00 FF 2F 00", 128 + 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(Read(TwoTrackFile(c.events)));
    EXPECT_EQ(score.EndTime(), c.end);
  }
}

TEST_F(MidiImport, ReadingRaisesTheOpenEvents) {
  testing::EventLog log;
  struct Progress : testing::EventLog {
    void BeforeOpenSave(int size) override {
      log.push_back("BeforeOpenSave(" + std::to_string(size) + ")");
    }
    void ProgressReport(int position) override {
      log.push_back("Progress(" + std::to_string(position) + ")");
    }
    void AfterOpenSave() override { log.push_back("AfterOpenSave"); }
  } events;
  std::string track;
  for (int i = 0; i < 101; ++i) track += " 00 FF 01 00";  // 101 empty texts
  const Bytes file = TwoTrackFile(track + " 00 FF 2F 00");
  score.AddListener(&events);
  ASSERT_TRUE(Read(file));
  score.RemoveListener(&events);
  const std::string size = std::to_string(file.size());
  EXPECT_EQ(events.log, (std::vector<std::string>{
                            "BeforeOpenSave(" + size + ")", "Progress(22)", "Progress(34)",
                            "Progress(434)",  // the 101st event of the second track
                            "AfterOpenSave", "ActiveVoice(1)", "ActiveStaff(1)"}));
  EXPECT_FALSE(score.Changed());
  EXPECT_TRUE(score.Staff(1)->Selected());
}

// The fuzzer's seeds and the inputs it once found slow or broken: each reads or is refused
// with a reason, and a refused one leaves the score alone.
TEST_F(MidiImport, FuzzSeedsAndRegressions) {
  const std::filesystem::path fuzz =
      std::filesystem::path(NOTECRAFT_TEST_DATA) / ".." / ".." / "fuzz";
  int files = 0;
  for (const char* folder : {"midi-corpus", "midi-regressions"}) {
    for (const auto& entry : std::filesystem::directory_iterator(fuzz / folder)) {
      SCOPED_TRACE(entry.path().string());
      ++files;
      score.CreateDefault();
      score.SetTitle("Mine");
      const auto bytes = testing::ReadAll(entry.path().string());
      if (!Read(bytes)) {
        EXPECT_FALSE(score.LastFileError().empty());
        EXPECT_EQ(score.Title(), "Mine");
        continue;
      }
      EXPECT_GE(score.Staffs(), 1);
      // What was read saves as a file that reads again.
      Score again;
      EXPECT_TRUE(again.ReadMIDIFile(Internal{}, MidiFileWriter::Write(score, false), "again.mid"));
    }
  }
  EXPECT_GE(files, 10);
}

}  // namespace
}  // namespace notecraft
