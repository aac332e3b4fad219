// Export then import: what a score saved as a Standard MIDI File keeps when it is opened
// again, through the hosts' own calls (SaveFile with fmtMIDI, OpenFile).

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
using testing::kFlute;
using testing::kPiano;
using testing::MessageRecorder;
using testing::NotesText;
using testing::PlaybackScore;
using testing::TempDir;
using testing::TimeSignaturesText;

class MidiRoundTrip : public ::testing::Test {
protected:
  void SetUp() override {
    TheMidiFileHooks() = MidiFileHooks{&MidiImporter::Open, &MidiFileWriter::SaveBytes};
  }
  // Saves source as MIDI and opens the file in `back`.
  void SaveAndOpen(Score& source, Score& back) {
    const std::string path = dir.File("song.mid");
    ASSERT_TRUE(source.SaveFile(path, fmtMIDI)) << source.LastFileError();
    EXPECT_EQ(source.FileType(Internal{}), fmtMIDI);
    EXPECT_FALSE(source.Changed());
    ASSERT_TRUE(back.OpenFile(path)) << (host.messages.empty() ? "" : host.messages.back());
  }

  MessageRecorder host;
  TempDir dir;
};

TEST_F(MidiRoundTrip, TextsFontsTempoLayoutKeyAndTimeSignatures) {
  PlaybackScore s;
  Score& score = s.score;
  score.SetTitle("Sonate für Anna");
  score.SetSubTitle("Erster Satz");
  score.SetComposer("Zoë Quill");
  score.SetArrangedBy("arr. Ben");
  score.SetCopyright(0, "© 2024 Quill");
  score.SetCopyright(1, "All rights reserved");
  score.SetHeading("Allegro");
  auto title = std::make_shared<FontSpec>(*score.Fonts(fntTitle));
  title->Name = "Times New Roman";
  title->Size = 16.5f;
  title->Bold = false;
  score.SetFonts(fntTitle, title);
  score.SetCount(96);
  score.SetStaffHeight(0.45f);
  score.SetStaffSpace(0.55f);
  score.SetSystemSpace(0.7f);
  score.SetKey(-3);
  score.SetMinor(true);
  score.AllGlobals().Add(64, evtTimeChange, 3, 16);
  score.AllGlobals().Add(112, evtTimeChange, 6, 8);
  PlaybackScore::Note(s.AddVoice(kPiano), 0, {60});

  Score back;
  SaveAndOpen(score, back);
  EXPECT_EQ(back.Title(), "Sonate für Anna");
  EXPECT_EQ(back.SubTitle(), "Erster Satz");
  EXPECT_EQ(back.Composer(), "Zoë Quill");
  EXPECT_EQ(back.ArrangedBy(), "arr. Ben");
  EXPECT_EQ(back.Copyright(0), "© 2024 Quill");
  EXPECT_EQ(back.Copyright(1), "All rights reserved");
  EXPECT_EQ(back.Heading(), "Allegro");
  for (int f : {fntTitle, fntSubTitle, fntHeader, fntComposer, fntCopyright}) {
    SCOPED_TRACE(f);
    EXPECT_EQ(back.Fonts(f)->Name, score.Fonts(f)->Name);
    EXPECT_EQ(back.Fonts(f)->Size, score.Fonts(f)->Size);
    EXPECT_EQ(back.Fonts(f)->Bold, score.Fonts(f)->Bold);
  }
  EXPECT_EQ(back.Count(), 96);
  EXPECT_EQ(back.StaffHeight(), 0.45f);
  EXPECT_EQ(back.StaffSpace(), 0.55f);
  EXPECT_EQ(back.SystemSpace(), 0.7f);
  EXPECT_EQ(back.Key(), -3);
  EXPECT_TRUE(back.Minor());
  EXPECT_EQ(TimeSignaturesText(back.AllGlobals()), "0:4/16 64:3/16 112:6/8");
  EXPECT_EQ(back.FileType(Internal{}), fmtMIDI);
  EXPECT_FALSE(back.Changed());
}

// Empty texts are written too; each text keeps its own field when read back.
TEST_F(MidiRoundTrip, EmptyTextsDoNotMoveTheOthers) {
  PlaybackScore s;
  s.score.SetTitle("");
  s.score.SetSubTitle("Only a subtitle");
  s.score.SetComposer("");
  s.score.SetArrangedBy("Arranger");
  s.score.SetCopyright(0, "");
  s.score.SetCopyright(1, "Second line");
  s.AddVoice(kPiano);  // a file holds two tracks at least
  Score back;
  back.CreateDefault();
  SaveAndOpen(s.score, back);
  EXPECT_EQ(back.Title(), "");
  EXPECT_EQ(back.SubTitle(), "Only a subtitle");
  EXPECT_EQ(back.Composer(), "");
  EXPECT_EQ(back.ArrangedBy(), "Arranger");
  EXPECT_EQ(back.Copyright(0), "");
  EXPECT_EQ(back.Copyright(1), "Second line");
}

// The symbols of common and cut time come back as 4/4 and 2/4 with the same bar lengths.
TEST_F(MidiRoundTrip, CommonAndCutTimeKeepTheirBars) {
  PlaybackScore s(0, 0);
  s.score.AllGlobals().Add(128, evtTimeChange, 0, 16);
  s.score.AllGlobals().Add(192, evtTimeChange, 3, 8);
  s.AddVoice(kPiano);
  Score back;
  SaveAndOpen(s.score, back);
  EXPECT_EQ(TimeSignaturesText(back.AllGlobals()), "0:4/16 128:2/16 192:3/8");
  for (int t : {0, 63, 64, 128, 150, 160, 192, 300}) {
    SCOPED_TRACE(t);
    int n1 = 0, l1 = 0, n2 = 0, l2 = 0;
    s.score.AllGlobals().MeasureInfo(t, n1, l1);
    back.AllGlobals().MeasureInfo(t, n2, l2);
    EXPECT_EQ(n1, n2);
    EXPECT_EQ(l1, l2);
  }
}

TEST_F(MidiRoundTrip, StavesNotesAndInstruments) {
  PlaybackScore s;
  auto piano = s.AddVoice(kPiano);
  PlaybackScore::Note(piano, 0, {48, 60, 64}, 32);
  PlaybackScore::Note(piano, 32, {62}, 16, nteDot);
  PlaybackScore::Note(piano, 56, {65}, 8);
  PlaybackScore::Note(piano, 64, {67}, 64);
  auto flute = s.AddVoice(kFlute);
  for (int t = 0; t < 64; t += 4) PlaybackScore::Note(flute, t, {72 + t / 4}, 4);
  PlaybackScore::Note(s.AddVoice(kBassDrum), 0, {36}, 16);
  s.score.AllStaffs().Item(1)->SetDescription("Piano");
  s.score.AllStaffs().Item(2)->SetDescription("Flute");
  s.score.AllStaffs().Item(3)->SetDescription("Kit");

  Score back;
  SaveAndOpen(s.score, back);
  ASSERT_EQ(back.Staffs(), 3);
  for (int i = 1; i <= 3; ++i) {
    SCOPED_TRACE(i);
    auto a = s.score.Staff(i);
    auto b = back.Staff(i);
    EXPECT_EQ(b->Description(), a->Description());
    EXPECT_EQ(NotesText(b->Voice(1)->Notes()), NotesText(a->Voice(1)->Notes()));
    auto ia = a->Voice(1)->Instrument();
    auto ib = b->Voice(1)->Instrument();
    EXPECT_EQ(ib->Category() == catDrums, ia->Category() == catDrums);
    if (ia->Category() != catDrums) {
      EXPECT_EQ(ib->Value(), ia->Value());
    }
    EXPECT_EQ(ib->Channel(), ia->Channel());
  }
}

// A file from elsewhere, opened, saved and opened again, reads the same the second time.
TEST_F(MidiRoundTrip, AnImportedFileSurvivesSavingAgain) {
  Score first;
  ASSERT_TRUE(first.OpenFile(testing::kMidiData + "/many_tracks.mid"));
  Score second;
  SaveAndOpen(first, second);
  EXPECT_EQ(second.Title(), first.Title());
  EXPECT_EQ(second.SubTitle(), first.SubTitle());
  EXPECT_EQ(second.Copyright(0), first.Copyright(0));
  EXPECT_EQ(second.Count(), first.Count());
  EXPECT_EQ(second.Key(), first.Key());
  EXPECT_EQ(TimeSignaturesText(second.AllGlobals()), TimeSignaturesText(first.AllGlobals()));
  ASSERT_EQ(second.Staffs(), first.Staffs());
  for (int i = 1; i <= first.Staffs(); ++i) {
    SCOPED_TRACE(i);
    // A staff without a name (the first track's music) is named by its instrument.
    const auto& named = first.Staff(i)->Description();
    EXPECT_EQ(second.Staff(i)->Description(),
              named.empty() ? first.Staff(i)->Voice(1)->Instrument()->Description() : named);
    EXPECT_EQ(NotesText(second.Staff(i)->Voice(1)->Notes()),
              NotesText(first.Staff(i)->Voice(1)->Notes()));
  }
  // Saving without a path writes MIDI again to the same file.
  const std::string path = second.FileName();
  second.SetTitle("Changed");
  ASSERT_TRUE(second.SaveFile());
  Score third;
  ASSERT_TRUE(third.OpenFile(path));
  EXPECT_EQ(third.Title(), "Changed");
}

}  // namespace
}  // namespace notecraft
