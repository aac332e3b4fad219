// Standard MIDI File export: the bytes the writer produces for small scores, and the
// same files read back by an independent reader (python3-mido).

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "midi_fixtures.h"
#include "notecraft/core/cp1252.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/midievent.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/midi/midifilewriter.h"
#include "playback_fixtures.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::Hex;
using testing::HexOf;
using testing::kBassDrum;
using testing::kPiano;
using testing::kViolin;
using testing::PlaybackScore;
using Bytes = std::vector<std::uint8_t>;

// The data of every track chunk of a file written by the exporter.
std::vector<Bytes> TrackData(const Bytes& file) {
  std::vector<Bytes> tracks;
  std::size_t at = 14;
  while (at + 8 <= file.size()) {
    const std::size_t length = static_cast<std::size_t>(file[at + 4]) << 24 | file[at + 5] << 16 |
                               file[at + 6] << 8 | file[at + 7];
    EXPECT_EQ(
        std::string(file.begin() + static_cast<long>(at), file.begin() + static_cast<long>(at) + 4),
        "MTrk");
    tracks.emplace_back(file.begin() + static_cast<long>(at + 8),
                        file.begin() + static_cast<long>(std::min(file.size(), at + 8 + length)));
    at += 8 + length;
  }
  EXPECT_EQ(at, file.size()) << "bytes after the last chunk";
  return tracks;
}

bool Contains(const Bytes& data, const Bytes& part) {
  return std::search(data.begin(), data.end(), part.begin(), part.end()) != data.end();
}

// The four data bytes of the first time-signature event (nn dd cc bb).
Bytes TimeSignatureBytes(const Bytes& conductor) {
  const Bytes head = Hex("FF 58 04");
  auto at = std::search(conductor.begin(), conductor.end(), head.begin(), head.end());
  if (at == conductor.end()) return {};
  return Bytes(at + 3, at + 7);
}

std::string HexText(const Bytes& b) {
  return HexOf({reinterpret_cast<const char*>(b.data()), b.size()});
}

const Bytes kPianoSetUp = Hex(R"(
  00 B0 00 00   # bank select 0
  00 C0 00      # program 0
  00 B0 07 7F   # main volume 127
  00 B0 0A 40   # pan, centre
)");

TEST(MidiExportHeader, FormatOneWithATrackPerVoiceAndDivision128) {
  PlaybackScore s;
  s.AddVoice(kPiano);
  s.AddVoice(kViolin);
  const Bytes file = MidiFileWriter::Write(s.score, false);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 14),
            Hex(R"("MThd" 00 00 00 06  00 01  00 03  00 80)"));
  EXPECT_EQ(TrackData(file).size(), 3u);
}

TEST(MidiExportConductor, PlaybackHoldsOnlyTempoControlHeadingAndTimeSignatures) {
  PlaybackScore s;  // 4/4 at 0
  s.score.AllGlobals().Add(64, evtTimeChange, 3, 16);
  s.score.SetTitle("Not for playback");
  s.score.SetCount(120);
  const Bytes conductor = TrackData(MidiFileWriter::Write(s.score, true))[0];
  EXPECT_EQ(HexText(conductor), HexText(Hex(R"(
    00 FF 51 03 07 A1 20           # 500,000 microseconds a quarter
    00 FF 03 07 "Control"
    00 FF 04 0B "|Arial|10|1"      # the (empty) heading in its font
    00 FF 58 04 04 02 18 08        # 4/4
    84 00 FF 58 04 03 02 18 08     # 3/4, 512 ticks later
    00 FF 2F 00)")));
}

TEST(MidiExportConductor, TempoAndTimeSignatureBytes) {
  struct TempoCase {
    int tempo;
    const char* expected;  // the tempo event's data, or "" for none
  };
  const TempoCase tempos[] = {
      {120, "07a120"},
      {255, "03971e"},  // 235,294
      {1, "ffffff"},    // 60,000,000 needs four bytes: the largest three-byte value instead
      {0, ""},          // no tempo: players take 120, as the score does
  };
  for (const auto& c : tempos) {
    SCOPED_TRACE(c.tempo);
    PlaybackScore s;
    s.score.SetCount(c.tempo);
    const Bytes conductor = TrackData(MidiFileWriter::Write(s.score, false))[0];
    const Bytes head = Hex("FF 51 03");
    auto at = std::search(conductor.begin(), conductor.end(), head.begin(), head.end());
    const std::string data =
        at == conductor.end() ? "" : HexOf({reinterpret_cast<const char*>(&*(at + 3)), 3});
    EXPECT_EQ(data, c.expected);
  }

  struct SignatureCase {
    int value1, value2;
    const char* expected;
  };
  const SignatureCase signatures[] = {
      {3, 16, "03021808"},  // 3/4
      {6, 8, "06031808"},   // 6/8
      {2, 32, "02011808"},  // 2/2
      {5, 4, "05041808"},   // 5/16
      {7, 2, "07051808"},   // 7/32
      {4, 64, "04021808"},  // a beat the table does not know counts as a quarter
      {0, 0, "04021808"},   // common time is 4/4, never a numerator of 0
      {0, 16, "02021808"},  // cut time: the score's 32-64ths bar, as 2/4
  };
  for (const auto& c : signatures) {
    SCOPED_TRACE(std::to_string(c.value1) + "/" + std::to_string(c.value2));
    PlaybackScore s(c.value1, c.value2);
    const Bytes sig = TimeSignatureBytes(TrackData(MidiFileWriter::Write(s.score, true))[0]);
    EXPECT_EQ(HexOf({reinterpret_cast<const char*>(sig.data()), sig.size()}), c.expected);
  }
}

TEST(MidiExportConductor, SavedFormCarriesTextsFontsLayoutAndKey) {
  PlaybackScore s;
  s.score.SetTitle("Sonata");
  s.score.SetSubTitle("");
  s.score.SetComposer("Anna");
  s.score.SetArrangedBy("Ben");
  s.score.SetCopyright(0, "(c)");
  s.score.SetHeading("Head");
  s.score.SetCount(120);
  s.score.SetKey(-3);
  s.score.SetMinor(true);
  const Bytes conductor = TrackData(MidiFileWriter::Write(s.score, false))[0];
  const Bytes expected = Hex(R"(
    00 FF 01 11 "Sonata|Arial|14|1"
    00 FF 01 0B "|Arial|12|1"        # the empty subtitle is written too
    00 FF 01 0F "Anna|Arial|10|1"
    00 FF 01 03 "Ben"                # arranger: plain
    00 FF 02 0D "(c)|Arial|8|0"
    00 FF 02 0A "|Arial|8|0"
    00 FF 51 03 07 A1 20
    00 FF 07 0D "&0.4|0.5|0.65"      # staff height, staff space, system space
    00 FF 03 07 "Control"
    00 FF 04 0F "Head|Arial|10|1"
    00 FF 59 02 FD 01                # three flats, minor
    00 FF 58 04 04 02 18 08
    00 FF 2F 00)");
  EXPECT_EQ(HexText(conductor), HexText(expected));
}

std::string TrackHex(const Score& score, std::size_t track, bool forPlayback = true) {
  const auto tracks = TrackData(MidiFileWriter::Write(score, forPlayback));
  if (track >= tracks.size()) return "(no track)";
  return HexOf({reinterpret_cast<const char*>(tracks[track].data()), tracks[track].size()});
}

TEST(MidiExportVoice, NotesWithRunningStatusAndDynamics) {
  struct Case {
    const char* name;
    std::function<void(PlaybackScore&)> build;
    Bytes expected;  // the voice track's data after the piano set-up
  };
  const Case cases[] = {
      {"a chord and a note: note-offs as note-ons of velocity 0, under running status",
       [](PlaybackScore& s) {
         auto v = s.AddVoice(kPiano);
         PlaybackScore::Note(v, 0, {60, 64});
         PlaybackScore::Note(v, 16, {67});
       },
       Hex(R"(00 90 3C 7F  00 40 7F      # the chord at 0
              81 00 3C 00  00 40 00      # 128 ticks later, running status
              00 43 7F                   # 67 at the same time
              81 00 43 00
              00 FF 2F 00)")},
      {"a dotted quarter sounds 192 ticks, a staccato quarter 64, a triplet quarter 88",
       [](PlaybackScore& s) {
         auto v = s.AddVoice(kPiano);
         PlaybackScore::Note(v, 0, {60}, 16, nteDot);
         PlaybackScore::Note(v, 32, {62}, 16, nteStacato);
         PlaybackScore::Note(v, 48, {64}, 16, nteTriplet);
       },
       Hex(R"(00 90 3C 7F  81 40 3C 00   # off 192 ticks later
              40 3E 7F  40 3E 00         # at 256 (64 after the off); off 64 later
              40 40 7F  58 40 00         # at 384; off 88 later (11 64ths)
              00 FF 2F 00)")},
      {"dynamics become main volume; one after the last note is not written",
       [](PlaybackScore& s) {
         auto v = s.AddVoice(kPiano);
         auto& events = s.score.AllStaffs().Item(1)->GlobalEvents();
         events.Add(0, evtDynamic, dynMF);
         events.Add(16, evtDynamic, dynFF);
         events.Add(48, evtDynamic, dynP);
         PlaybackScore::Note(v, 0, {60});
         PlaybackScore::Note(v, 16, {62});
       },
       Hex(R"(00 B0 07 50                # mf: 80
              00 90 3C 7F
              81 00 3C 00                # the note-off due first
              00 B0 07 70                # ff: 112
              00 90 3E 7F
              81 00 3E 00
              00 FF 2F 00)")},
      {"a note without pitches writes nothing and moves no time",
       [](PlaybackScore& s) {
         auto v = s.AddVoice(kPiano);
         PlaybackScore::Note(v, 0, {60}, 16, nteStacato);  // off at 8
         v->Notes().Add(16, 61, 16, 0)->RemoveValue(61);
         PlaybackScore::Note(v, 32, {62});
       },
       Hex(R"(00 90 3C 7F  40 3C 00
              81 40 3E 7F                # 192 ticks after the note-off at 64
              81 00 3E 00
              00 FF 2F 00)")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PlaybackScore s;
    c.build(s);
    Bytes expected = kPianoSetUp;
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(TrackHex(s.score, 1), HexText(expected));
  }
}

TEST(MidiExportVoice, DrumChannelGetsNoBankOrProgram) {
  PlaybackScore s;
  PlaybackScore::Note(s.AddVoice(kBassDrum), 0, {36});
  EXPECT_EQ(TrackHex(s.score, 1), HexText(Hex(R"(
    00 B9 07 7F  00 B9 0A 40       # volume and pan only
    00 99 24 7F  81 00 24 00
    00 FF 2F 00)")));
}

TEST(MidiExportVoice, SoundingLengths) {
  struct Case {
    int duration, flags, expected;
  };
  const Case cases[] = {
      {16, 0, 16},
      {16, nteDot, 24},
      {16, nteStacato, 8},
      {16, nteTriplet, 11},              // two thirds: 10.67
      {32, nteTriplet, 21},              // a triplet half: 21.33, a beat and a third
      {64, nteTriplet, 43},              // 42.67
      {8, nteTriplet, 5},                // 5.33
      {16, nteDot | nteStacato, 24},     // the dot takes precedence
      {16, nteStacato | nteTriplet, 5},  // 8 x 2/3
      {16, nteDot | nteTriplet, 16},     // 24 x 2/3
      {5, nteStacato, 2},                // 2.5: halves go to the even neighbour
      {7, nteStacato, 4},                // 3.5
      {1, nteStacato, 1},                // 0.5 would be 0: every note sounds
      {1, nteTriplet, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.duration) + " flags " + std::to_string(c.flags));
    EXPECT_EQ(MidiFileWriter::SoundingLength(c.duration, c.flags), c.expected);
  }
}

TEST(MidiExportVoice, NamesAreTrimmedAndCutTo255) {
  PlaybackScore s;
  PlaybackScore::Note(s.AddVoice(kPiano), 0, {60});
  s.score.AllStaffs().Item(1)->SetDescription("  " + std::string(300, 'x') + "  ");
  const std::string track = TrackHex(s.score, 1, false);
  // FF 03, length 255 as a variable-length number (81 7F), 255 x.
  EXPECT_EQ(track.substr(0, 14), "00ff03817f7878");
  EXPECT_EQ(track.substr(2 * (5 + 255), 6), "00ff04") << "the instrument name follows at once";
  EXPECT_EQ(TrackHex(s.score, 1, true).substr(0, 8), "00b00000") << "no names for playback";
}

// The header counts what is written, whatever the voices' Track values and instruments.
TEST(MidiExportMends, HeaderCountsTheTracksWritten) {
  PlaybackScore s;
  auto a = s.AddVoice(kPiano);
  auto b = s.AddVoice(kViolin);
  auto c = s.AddVoice(kPiano);
  auto noInstrument = s.AddStaff()->AddVoice(nullptr);
  auto e = s.AddVoice(kViolin);
  b->SetTrack(a->Track());  // a duplicate Track: only the first is written
  c->SetTrack(9999);        // never written
  for (const auto& v : {a, b, c, noInstrument, e}) PlaybackScore::Note(v, 0, {60});
  for (bool forPlayback : {false, true}) {
    const Bytes file = MidiFileWriter::Write(s.score, forPlayback);
    EXPECT_EQ(file[10] * 256 + file[11], 3);
    EXPECT_EQ(TrackData(file).size(), 3u);
  }
}

TEST(MidiExportMends, VoiceOnNoStaffHasNoNameAndNoDynamics) {
  PlaybackScore s;
  auto onStaff = s.AddVoice(kPiano);
  s.score.AllStaffs().Item(1)->GlobalEvents().Add(0, evtDynamic, dynPP);
  s.score.AllStaffs().Item(1)->SetDescription("Upper");
  PlaybackScore::Note(onStaff, 0, {60});
  auto loose = s.score.AllVoices().Add("Vloose", s.InstrumentOf(kPiano), "Loose");
  PlaybackScore::Note(loose, 0, {48});
  const auto tracks = TrackData(MidiFileWriter::Write(s.score, false));
  ASSERT_EQ(tracks.size(), 3u);
  EXPECT_TRUE(Contains(tracks[1], Hex(R"(FF 03 05 "Upper")")));
  EXPECT_TRUE(Contains(tracks[1], Hex("B0 07 20")));
  EXPECT_FALSE(Contains(tracks[2], Hex("FF 03")));
  EXPECT_FALSE(Contains(tracks[2], Hex("B0 07 20")));
}

TEST(MidiExportMends, MutedStavesAreLeftOutOfPlaybackOnly) {
  PlaybackScore s;
  PlaybackScore::Note(s.AddVoice(kPiano), 0, {60});
  PlaybackScore::Note(s.AddVoice(kViolin), 0, {67});
  s.score.AllStaffs().Item(2)->SetMute(true);
  EXPECT_EQ(TrackData(MidiFileWriter::Write(s.score, true)).size(), 2u);
  EXPECT_EQ(TrackData(MidiFileWriter::Write(s.score, false)).size(), 3u);
}

TEST(MidiExportMends, LongTextsAreWrittenWholeWithVariableLengths) {
  PlaybackScore s;
  s.score.SetTitle(std::string(200, 't'));
  const Bytes conductor = TrackData(MidiFileWriter::Write(s.score, false))[0];
  // 200 characters and "|Arial|14|1" are 211 bytes: 81 53 as a variable-length number.
  Bytes expected = Hex("00 FF 01 81 53");
  expected.insert(expected.end(), 200, 't');
  EXPECT_TRUE(Contains(conductor, expected));
}

TEST(MidiExport, WriteMIDIFileReplacesTheFileAndLeavesTheScoreAlone) {
  testing::TempDir dir;
  const std::string path = dir.File("song.mid");
  testing::WriteAll(path, Hex(R"("old")"));
  PlaybackScore s;
  PlaybackScore::Note(s.AddVoice(kPiano), 0, {60});
  s.score.SetChanged(false);
  ASSERT_TRUE(s.score.WriteMIDIFile(path, false));
  EXPECT_EQ(testing::ReadAll(path), MidiFileWriter::Write(s.score, false));
  EXPECT_FALSE(s.score.Changed());
  EXPECT_EQ(dir.Entries().size(), 1u) << "no temporary file is left behind";
  EXPECT_FALSE(s.score.WriteMIDIFile(dir.File("no-such-folder/song.mid"), false));
}

// --- Read back by python3-mido ---

// Lines of the dump for one track, without the "T<n> " prefix.
std::vector<std::string> TrackLines(const std::vector<std::string>& dump, int track) {
  std::vector<std::string> out;
  const std::string prefix = "T" + std::to_string(track) + " ";
  for (const auto& line : dump)
    if (line.rfind(prefix, 0) == 0) out.push_back(line.substr(prefix.size()));
  return out;
}

// (tick, channel, pitch, on) of every note event of the dump.
using NoteEvent = std::tuple<int, int, int, bool>;
std::multiset<NoteEvent> NoteEvents(const std::vector<std::string>& dump) {
  std::multiset<NoteEvent> out;
  for (const auto& line : dump) {
    std::istringstream in(line);
    std::string track, kind;
    int tick = 0, channel = 0, pitch = 0;
    in >> track >> tick >> kind >> channel >> pitch;
    if (kind == "note_on" || kind == "note_off")
      out.insert({tick, channel, pitch, kind == "note_on"});
  }
  return out;
}

// Every note-on is followed by its own note-off before the pitch sounds again.
void ExpectPaired(const std::vector<std::string>& dump) {
  std::map<std::pair<int, int>, int> sounding;
  for (const auto& line : dump) {
    std::istringstream in(line);
    std::string track, kind;
    int tick = 0, channel = 0, pitch = 0;
    in >> track >> tick >> kind >> channel >> pitch;
    int& n = sounding[std::make_pair(channel, pitch)];
    if (kind == "note_on") {
      EXPECT_EQ(n++, 0) << line;
    } else if (kind == "note_off") {
      EXPECT_EQ(n--, 1) << line;
    }
  }
  for (const auto& [key, n] : sounding)
    EXPECT_EQ(n, 0) << "channel " << key.first << " pitch " << key.second;
}

// A score with texts in both code pages' ranges, a long subtitle, three instruments (one
// of them drums), chords, dotted, staccato and triplet notes, a time-signature change and
// dynamics.
void BuildRichScore(PlaybackScore& s) {
  s.score.SetTitle("Sonate für Anna");
  s.score.SetSubTitle(std::string(150, 's'));
  s.score.SetComposer("Zoë");
  s.score.SetArrangedBy("Arr.");
  s.score.SetCopyright(0, "© 2024");
  s.score.SetCount(96);
  s.score.SetKey(2);
  s.score.AllGlobals().Add(128, evtTimeChange, 6, 8);
  auto piano = s.AddVoice(kPiano);
  PlaybackScore::Note(piano, 0, {60, 64, 67}, 32);
  PlaybackScore::Note(piano, 32, {62}, 16, nteDot);
  PlaybackScore::Note(piano, 64, {65}, 8, nteStacato);
  PlaybackScore::Note(piano, 128, {72}, 16, nteTriplet);
  s.score.AllStaffs().Item(1)->GlobalEvents().Add(64, evtDynamic, dynF);
  auto violin = s.AddVoice(kViolin);
  for (int t = 0; t < 160; t += 8) PlaybackScore::Note(violin, t, {76 + (t / 8) % 5}, 8);
  auto drums = s.AddVoice(kBassDrum);
  for (int t = 0; t < 160; t += 16) PlaybackScore::Note(drums, t, {36}, 4);
}

TEST(MidiExportMido, SavedFileReadsBackAsWritten) {
  if (!testing::MidoAvailable()) GTEST_SKIP() << "/usr/bin/python3 with mido is not installed";
  PlaybackScore s;
  BuildRichScore(s);
  testing::TempDir dir;
  const std::string path = dir.File("rich.mid");
  ASSERT_TRUE(s.score.WriteMIDIFile(path, false));
  const auto dump = testing::MidoDump(path);
  ASSERT_GE(dump.size(), 3u);
  EXPECT_EQ(dump[0], "type 1");
  EXPECT_EQ(dump[1], "ticks_per_beat 128");
  EXPECT_EQ(dump[2], "tracks 4");

  const auto text = [](const std::string& kind, const std::string& utf8) {
    const std::string bytes = Utf8ToCp1252(utf8);
    return "0 " + kind + " " + HexOf(bytes);
  };
  const std::vector<std::string> conductor = {
      text("text", "Sonate für Anna|Arial|14|1"),
      text("text", std::string(150, 's') + "|Arial|12|1"),
      text("text", "Zoë|Arial|10|1"),
      text("text", "Arr."),
      text("copyright", "© 2024|Arial|8|0"),
      text("copyright", "|Arial|8|0"),
      "0 set_tempo 625000",
      text("cue_marker", "&0.4|0.5|0.65"),
      text("track_name", "Control"),
      text("instrument_name", "|Arial|10|1"),
      "0 key_signature D",
      "0 time_signature 4 4 24 8",
      "1024 time_signature 6 8 24 8",
      "1024 end_of_track",
  };
  EXPECT_EQ(TrackLines(dump, 0), conductor);

  // Programs and channels: piano on 0, violin on 1, drums on 9 without a program.
  const auto violin = TrackLines(dump, 2);
  EXPECT_NE(std::find(violin.begin(), violin.end(), "0 program_change 1 40"), violin.end());
  const auto drums = TrackLines(dump, 3);
  EXPECT_EQ(std::count_if(
                drums.begin(), drums.end(),
                [](const std::string& l) { return l.find("program_change") != std::string::npos; }),
            0);
  const auto piano = TrackLines(dump, 1);
  EXPECT_NE(std::find(piano.begin(), piano.end(), "512 control_change 0 7 96"), piano.end())
      << "forte";

  // The notes, each at its time and for its sounding length, in ticks.
  std::multiset<NoteEvent> expected;
  for (const auto& voice : s.score.AllVoices()) {
    const int ch = voice->Instrument()->Channel();
    for (const auto& n : voice->Notes()) {
      const int off = n->NoteTime() + MidiFileWriter::SoundingLength(n->Duration(), n->Flags());
      for (int p : n->Values()) {
        expected.insert({n->NoteTime() * 8, ch, p, true});
        expected.insert({off * 8, ch, p, false});
      }
    }
  }
  EXPECT_EQ(NoteEvents(dump), expected);
  ExpectPaired(dump);
}

// The playback export and the playback event stream are two ways of sounding the score;
// for notes whose lengths both compute alike they must agree, muted staves included.
TEST(MidiExportMido, PlaybackFileAgreesWithThePlaybackStream) {
  if (!testing::MidoAvailable()) GTEST_SKIP() << "/usr/bin/python3 with mido is not installed";
  PlaybackScore s;
  auto piano = s.AddVoice(kPiano);
  PlaybackScore::Note(piano, 0, {60, 64}, 16);
  PlaybackScore::Note(piano, 16, {62}, 16, nteDot);
  PlaybackScore::Note(piano, 40, {65}, 8, nteStacato);
  PlaybackScore::Note(piano, 48, {67}, 1, nteStacato);  // sounds one 64th in both
  auto violin = s.AddVoice(kViolin);
  for (int t = 0; t < 64; t += 4) PlaybackScore::Note(violin, t, {70 + t % 7}, 4);
  PlaybackScore::Note(s.AddVoice(kBassDrum), 8, {38}, 2);
  PlaybackScore::Note(s.AddVoice(kViolin), 0, {90});  // on a muted staff
  s.score.AllStaffs().Item(4)->SetMute(true);

  std::multiset<NoteEvent> stream;
  for (auto e = s.score.GetMIDIEvent(0); e; e = s.score.GetMIDIEvent()) {
    if (e->EventType() == midNoteOn || e->EventType() == midNoteOff)
      stream.insert({e->EventTime() * 8, e->Channel(), e->Value(0), e->EventType() == midNoteOn});
  }
  testing::TempDir dir;
  ASSERT_TRUE(s.score.WriteMIDIFile(dir.File("play.mid"), true));
  const auto dump = testing::MidoDump(dir.File("play.mid"));
  EXPECT_EQ(NoteEvents(dump), stream);
  ExpectPaired(dump);
}

}  // namespace
}  // namespace notecraft
