// Scores that use every stored feature, written and read back: the model comes back the
// same, and a second save writes the same bytes.

#include <gtest/gtest.h>

#include <sstream>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/io/scorefilewriter.h"
#include "model_fixtures.h"
#include "scorefile_fixtures.h"

namespace notecraft::testing {

void BuildEveryFeatureScore(Score& score) {
  const Internal key;
  score.CreateDefault();  // common time at 0, one staff with a recorder
  score.SetTitle("Sonatina in G");
  score.SetSubTitle("for recorder, guitar and drums");
  score.SetHeading("Allegretto \xE2\x80\x93 with verve");  // an en dash: byte 0x96
  score.SetComposer("Ann Composer");
  score.SetArrangedBy("Bo Arranger");
  score.SetCopyright(0, "\xC2\xA9 2024 Caf\xC3\xA9 Music");
  score.SetCopyright(1, "All rights reserved");
  auto title = score.Fonts(fntTitle);
  title->Name = "Georgia";
  title->Size = 18.5f;
  score.Fonts(fntSubTitle)->Bold = false;
  score.Fonts(fntHeader)->Name = "Times New Roman";
  score.Fonts(fntHeader)->Size = 10.5f;
  score.SetStaffHeight(0.35f);
  score.SetStaffSpace(0.45f);
  score.SetSystemSpace(0.8f);
  score.SetMargins(marTop, 0.9f);
  score.SetMargins(marBottom, 0.6f);
  score.SetMargins(marLeft, 1.25f);
  score.SetMargins(marRight, 0.7f);
  score.SetPageNums(pgnAllPages);
  score.SetReverseEvenOdd(true);
  score.SetUseChordMaps(true);  // and UseChords
  score.SetCount(96);
  score.SetKey(-2);
  score.SetMinor(true);

  auto& globals = score.AllGlobals();
  globals.Add(256, evtTimeChange, 3, 16);
  globals.Add(352, evtTimeChange, 6, 8);
  globals.SetPulseValue(32);
  globals.Add(0, evtChord, 7, 0, "G");
  globals.Add(0, evtChord, 12, 0, "D/F#");  // two events at one time keep their order
  globals.Add(64, evtRepeatBegin);
  globals.Add(128, evtSectionDefine, sctEnding1, 0, "1.");
  globals.Add(192, evtRepeatEnd);
  globals.Add(192, evtLineEnd);
  globals.Add(256, evtMeasureSize, 2, 0);
  globals.Add(448, evtScoreEnd);

  // Instruments: the staff's recorder, a steel guitar, a drum kit with its map, and one no
  // voice plays. Each program once: voices find their instrument by program.
  auto& instruments = score.AllInstruments();
  auto recorder = score.Staff(1)->Voice(1)->Instrument();
  recorder->SetPitch(key, 1);
  recorder->SetDescription(key, "Alto recorder");
  auto guitar = instruments.Add(instruments.NewID(), 25);
  auto kit = instruments.Add(instruments.NewID(), 129);
  for (int slot = 1; slot <= 8; ++slot) {
    kit->SetDrumValue(slot, 34 + slot);
    kit->SetDrumCode(slot, 127 + slot);
  }
  instruments.Add(instruments.NewID(), 40);

  // Staff 1: recorder, scaled, braced, with lyrics in two verses.
  auto s1 = score.Staff(1);
  s1->SetDescription("Recorder");
  s1->SetScalePct(80);
  s1->SetFlags(stfShowStaffDesc | stfPrintDynamics);
  s1->SetBrace(key, 2);
  s1->SetVerses(key, 2);  // as lyric entry leaves it; the file keeps no count
  auto& e1 = s1->GlobalEvents();
  e1.Add(0, evtKeyChange, 254, 255);
  e1.Add(0, evtDynamic, dynMF);
  e1.Add(0, evtLyric, 0, 0, "Sing\rSoft");
  e1.Add(16, evtLyric, 0, 0, "a\rly");
  e1.Add(32, evtText, 3, 5, "dolce");
  e1.Add(128, evtClefChange, clfTreble);
  e1.Add(192, evtStaffSpace, 2, 0);
  e1.Add(256, evtSectionDefine, sctRepeatMeasure);
  auto& n1 = s1->Voice(1)->Notes();
  n1.Add(0, 72, 16, nteStacato);
  n1.Add(16, 74, 8, nteTriplet);
  n1.Add(24, 76, 8, nteTriplet | nteAccent);
  n1.Add(32, 79, 16, nteDot | nteTrill);
  n1.Add(64, 77, 64, nteFermata);
  n1.Add(500000, 60, 1, 0);  // far out: times are N4
  s1->Voice(1)->SetDescription("Melody");

  // Staff 2: guitar with two voices and chords, bass clef, muted.
  auto s2 = score.AllStaffs().AddStaff(key, score.AllStaffs().NewID(), "Guitar", std::nullopt, true);
  auto upper = s2->AddVoice(guitar);
  auto lower = s2->AddVoice(guitar);
  upper->SetDescription("Upper");
  lower->SetDescription("Lower");
  s2->SetDefaultClef(clfBass);
  s2->SetMute(true);
  s2->GlobalEvents().Add(0, evtKeyChange, 254, 255);
  s2->GlobalEvents().Add(64, evtTempo, tmpRitardando);
  for (int t = 0; t < 256; t += 32) {
    upper->Notes().Add(t, 55, 32, nteForceUp);
    upper->Notes().Add(t, 59, 32, nteForceUp);
    upper->Notes().Add(t, 62, 32, nteForceUp);
    lower->Notes().Add(t, 43 + (t / 32) % 5, 32, nteForceDown);
  }

  // Staff 3: drums, hidden, no events of its own.
  auto s3 = score.AllStaffs().AddStaff(key, score.AllStaffs().NewID(), "Kit", std::nullopt, true);
  auto drums = s3->AddVoice(kit);
  drums->SetDescription("Kit");
  s3->SetVisible(false);
  for (int t = 0; t < 128; t += 8) drums->Notes().Add(t, t % 16 ? 42 : 36, 8, 0);
}

ByteVector NativeBytes(Score& score) {
  auto bytes = ScoreFileWriter::Write(score);
  EXPECT_TRUE(bytes) << (bytes ? "" : bytes.Error().Message);
  return bytes ? bytes.Value() : ByteVector{};
}

std::string Describe(Score& score) {
  const Internal key;
  std::ostringstream out;
  out << "texts " << score.Title() << '|' << score.SubTitle() << '|' << score.Heading() << '|'
      << score.Composer() << '|' << score.ArrangedBy() << '|' << score.Copyright(0) << '|'
      << score.Copyright(1) << '\n';
  for (int i = fntTitle; i <= fntCopyright; ++i) {
    const auto& f = *score.Fonts(i);
    out << "font " << i << ' ' << f.Name << ' ' << f.Size << ' ' << f.Bold << f.Italic
        << f.Underline << '\n';
  }
  out << "spacing " << score.StaffHeight() << ' ' << score.StaffSpace() << ' '
      << score.SystemSpace() << '\n';
  out << "page " << score.Margins(marTop) << ' ' << score.Margins(marBottom) << ' '
      << score.Margins(marLeft) << ' ' << score.Margins(marRight) << ' ' << score.PageNums()
      << score.ReverseEvenOdd() << score.UseChords() << score.UseChordMaps() << '\n';
  out << "tempo " << score.Count() << " pulse " << score.AllGlobals().PulseValue() << " key "
      << score.Key() << ' ' << score.Minor() << '\n';
  auto events = [&](const GlobalEvents& list, const std::string& where) {
    for (int i = 1; i <= list.TimeItemCount(); ++i) {
      const auto& e = *list.TimeItem(i);
      out << where << " time " << e.EventTime() << ' ' << e.Value1() << '/' << e.Value2() << '\n';
    }
    for (const auto& e : list)
      out << where << " event " << e->EventTime() << ' ' << e->EventType() << ' ' << e->Value1()
          << ' ' << e->Value2() << ' ' << e->Text() << '\n';
  };
  events(score.AllGlobals(), "score");
  for (const auto& ins : score.AllInstruments()) {
    out << "instrument " << ins->InstrumentID(key) << ' ' << ins->Description() << ' '
        << ins->Channel() << ' ' << ins->Category() << ' ' << ins->DefaultClef() << ' '
        << ins->Value() << ' ' << ins->Offset() << ' ' << ins->Pitch() << ' '
        << ins->Range().Low() << '-' << ins->Range().High();
    for (int slot = 1; slot <= 8; ++slot) out << ' ' << ins->DrumValue(slot) << ':' << ins->DrumCode(slot);
    out << '\n';
  }
  for (const auto& staff : score.AllStaffs()) {
    const std::string where = "staff " + std::to_string(staff->Index());
    out << where << ' ' << staff->Description() << ' ' << staff->ScalePct() << ' '
        << staff->DefaultClef() << ' ' << staff->Flags() << ' ' << staff->Mute()
        << staff->Visible() << ' ' << staff->Brace() << " verses " << staff->Verses() << '\n';
    events(staff->GlobalEvents(), where);
    for (int v = 1; v <= staff->Voices(); ++v) {
      const auto voice = staff->Voice(v);
      out << where << " voice " << v << ' ' << voice->Description() << " plays "
          << voice->Instrument()->InstrumentID(key) << '\n';
      for (const auto& n : voice->Notes()) {
        out << "  " << n->NoteTime() << ' ' << n->Duration() << ' ' << n->Flags();
        for (int p : n->Values()) out << ' ' << p;
        out << '\n';
      }
    }
  }
  return out.str();
}

}  // namespace notecraft::testing

namespace notecraft {
namespace {

using testing::ByteVector;
using testing::Describe;
using testing::FixedClock;
using testing::MessageRecorder;
using testing::NativeBytes;
using testing::TempDir;

TEST(ScoreFileRoundTrip, EveryStoredFeatureComesBackAndSavesToTheSameBytes) {
  FixedClock clock(12 * 3600);
  Score original;
  testing::BuildEveryFeatureScore(original);
  const ByteVector first = NativeBytes(original);

  Score copy;
  ASSERT_TRUE(copy.ReadScoreFile(Internal{}, first, "/scores/Sonatina.sco")) << copy.LastFileError();
  EXPECT_EQ(Describe(copy), Describe(original));
  EXPECT_EQ(NativeBytes(copy), first);
  EXPECT_EQ(copy.Staff(1)->Verses(), 2);
  EXPECT_EQ(copy.EndTime(), 500001);  // the last note (a sixty-fourth), to its end
  EXPECT_FALSE(copy.Changed());
}

TEST(ScoreFileRoundTrip, ReadingIntoAUsedScoreReplacesAllOfIt) {
  FixedClock clock(12 * 3600);
  Score original;
  testing::BuildEveryFeatureScore(original);
  const ByteVector bytes = NativeBytes(original);
  Score used;
  testing::BuildEveryFeatureScore(used);
  used.SetTitle("Other");
  used.AllStaffs().AddStaff(Internal{}, used.AllStaffs().NewID(), "Extra");
  used.Staff(1)->Voice(1)->Notes().Add(4, 50, 4, 0);
  ASSERT_TRUE(used.ReadScoreFile(Internal{}, bytes, "a.sco"));
  EXPECT_EQ(Describe(used), Describe(original));
}

TEST(ScoreFileRoundTrip, TextsWithSeparatorBytesComeBackAsQuestionMarks) {
  Score score;
  score.CreateDefault();
  score.SetTitle("Tho\xC3\xBEr \xC3\xBF");  // thorn and y-diaeresis are bytes 254 and 255
  score.Staff(1)->SetDescription(std::string("Line\rbreak\0x", 12));
  score.Staff(1)->GlobalEvents().Add(0, evtLyric, 0, 0, "one\rtwo\xC3\xBE");
  const ByteVector bytes = NativeBytes(score);
  Score copy;
  ASSERT_TRUE(copy.ReadScoreFile(Internal{}, bytes, "t.sco"));
  EXPECT_EQ(copy.Title(), "Tho?r ?");
  EXPECT_EQ(copy.Staff(1)->Description(), "Line?break?x");
  EXPECT_EQ(copy.Staff(1)->GlobalEvents().Find(0, evtLyric, true)->Text(), "one\rtwo?");
  EXPECT_EQ(copy.Staff(1)->Voices(), 1);
}

TEST(ScoreFileRoundTrip, ChannelsAreStoredAsTheInstrumentListAssignsThem) {
  // An instrument turned into drums moves to channel 9 and the list gives its channel to the
  // next instrument at once. Readers ignore the stored channel and assign it again: the file
  // holds the channel it will have.
  const Internal key;
  Score score;
  score.CreateDefault();  // a recorder on channel 0
  score.SetKey(1);        // the key event at 0 that reading would add otherwise
  auto violin = score.AllInstruments().Add(score.AllInstruments().NewID(), 40);
  EXPECT_EQ(violin->Channel(), 1);
  score.Staff(1)->Voice(1)->Instrument()->SetCategory(key, catDrums);
  EXPECT_EQ(violin->Channel(), 0);
  const ByteVector bytes = NativeBytes(score);
  Score copy;
  ASSERT_TRUE(copy.ReadScoreFile(key, bytes, "c.sco"));
  EXPECT_EQ(copy.AllInstruments().Item(2)->Channel(), 0);
  EXPECT_EQ(NativeBytes(copy), bytes);
}

TEST(ScoreFileRoundTrip, WhatTheFormatCannotHoldIsRefused) {
  struct Case {
    const char* name;
    void (*change)(Score&);
    const char* message;
  } cases[] = {
      {"86 staves",
       [](Score& s) {
         for (int i = 0; i < 85; ++i) s.AllStaffs().AddStaff(Internal{}, s.AllStaffs().NewID(), "x");
       },
       "86 staves"},
      {"a note at 2^24",
       [](Score& s) { s.Staff(1)->Voice(1)->Notes().Add(16777216, 60, 16, 0); }, "16,777,215"},
      {"a negative note time",
       [](Score& s) { s.Staff(1)->Voice(1)->Notes().Add(-16, 60, 16, 0); }, "time -16"},
      {"flags of 2^24", [](Score& s) { s.Staff(1)->Voice(1)->Notes().Add(0, 60, 16, 1 << 24); },
       "flags (16777216)"},
      {"an event at 2^24", [](Score& s) { s.AllGlobals().Add(16777216, evtText); }, "16777216"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Score score;
    score.CreateDefault();
    c.change(score);
    auto bytes = ScoreFileWriter::Write(score);
    ASSERT_FALSE(bytes);
    EXPECT_EQ(bytes.Error().Code, FileErrorCode::NotStorable);
    EXPECT_NE(bytes.Error().Message.find(c.message), std::string::npos) << bytes.Error().Message;
  }
  // 85 staves still fit.
  Score score;
  score.CreateDefault();
  for (int i = 1; i < 85; ++i) score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "x");
  EXPECT_TRUE(ScoreFileWriter::Write(score));
}

// The events of both lists of the score and of each staff, one a line, and the key each
// staff is in at the start of its first three measures. A key event at time 0 that only
// restates the score's key is left out: reading adds one wherever it is missing.
std::string EventsAndKeys(Score& score) {
  std::ostringstream out;
  const int keyByte = KeyToByte(score.Key());
  auto list = [&](const GlobalEvents& events, const std::string& where) {
    for (int i = 1; i <= events.TimeItemCount(); ++i) {
      const auto& e = *events.TimeItem(i);
      out << where << " time " << e.EventTime() << ' ' << e.Value1() << '/' << e.Value2() << ' '
          << e.Text() << '\n';
    }
    for (const auto& e : events) {
      if (e->EventType() == evtKeyChange && e->EventTime() == 0 && e->Value1() == keyByte &&
          (e->Value2() != 0) == score.Minor())
        continue;
      out << where << " event " << e->EventTime() << ' ' << e->EventType() << ' ' << e->Value1()
          << ' ' << e->Value2() << ' ' << e->Text() << '\n';
    }
  };
  out << "key " << score.Key() << ' ' << score.Minor() << '\n';
  list(score.AllGlobals(), "score");
  for (const auto& staff : score.AllStaffs()) {
    const std::string where = "staff " + std::to_string(staff->Index());
    list(staff->GlobalEvents(), where);
    out << where << " keys";
    for (int t : {0, 64, 128}) out << ' ' << staff->CurKey(t);
    out << '\n';
  }
  return out.str();
}

TEST(ScoreFileRoundTrip, EventsTheDialogsWriteKeepTheirPlaceAndList) {
  // Each kind of event the measure and score dialogs and the clef tool write, on the score
  // or on the first of two staves, at the start of measure 1 or of measure 2: saving and
  // opening keeps it where it was, and changes nothing else.
  struct Kind {
    const char* name;
    int type, value1, value2;
    const char* text;
  } kinds[] = {
      {"key of G", evtKeyChange, 1, 0, ""},
      {"key of E flat minor", evtKeyChange, 256 - 6, 255, ""},
      {"3/4 time", evtTimeChange, 3, 16, "16"},
      {"bass clef", evtClefChange, clfBass, 0, ""},
      {"repeat begin", evtRepeatBegin, 0, 0, ""},
      {"repeat end", evtRepeatEnd, 0, 0, ""},
      {"section end", evtSectionEnd, 0, 0, ""},
      {"score end", evtScoreEnd, 0, 0, ""},
      {"first ending", evtSectionDefine, sctEnding1, 0, ""},
      {"ending 1-3", evtSectionDefine, sctEnding, 0, "1-3"},
      {"coda", evtSectionDefine, sctCoda, 0, ""},
      {"to segno", evtSectionGo, sctToSegundo, 0, ""},
  };
  TempDir dir;
  MessageRecorder host;
  for (const auto& kind : kinds) {
    for (const bool onStaff : {false, true}) {
      for (const int time : {0, 64}) {
        SCOPED_TRACE(std::string(kind.name) + (onStaff ? " on a staff" : " on the score") + " at " +
                     std::to_string(time));
        Score score;
        score.CreateDefault();
        score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Second");
        for (int n = 1; n <= 2; ++n) {
          score.Staff(n)->Voice(1)->Notes().Add(0, 72, 64, 0);
          score.Staff(n)->Voice(1)->Notes().Add(64, 74, 64, 0);
        }
        auto& list = onStaff ? score.Staff(1)->GlobalEvents() : score.AllGlobals();
        if (kind.type == evtKeyChange && !onStaff && time == 0) {
          // The score's own key, as the score properties set it.
          score.SetKey(KeyFromByte(kind.value1));
          score.SetMinor(kind.value2 != 0);
        } else {
          // As the dialogs put an event: the one of its kind standing there takes the values.
          auto e = list.Item(time, kind.type);
          if (!e) e = list.Add(time, kind.type);
          e->SetValue1(kind.value1);
          e->SetValue2(kind.value2);
          e->SetText(kind.text);
        }
        const std::string expected = EventsAndKeys(score);

        const std::string path = dir.File("Song.sco");
        ASSERT_TRUE(score.SaveFile(path)) << score.LastFileError();
        Score opened;
        ASSERT_TRUE(opened.OpenFile(path)) << opened.LastFileError();
        EXPECT_EQ(EventsAndKeys(opened), expected);

        // Saved and opened once more, nothing moves.
        ASSERT_TRUE(opened.SaveFile());
        Score again;
        ASSERT_TRUE(again.OpenFile(path));
        EXPECT_EQ(Describe(again), Describe(opened));
      }
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST(ScoreFileRoundTrip, AFileOf16MiBIsRefused) {
  // Chords of all 128 pitches take 141 bytes a note: enough of them pass 2^24 bytes, where
  // the positions of the sections could no longer be stored.
  Score score;
  score.CreateDefault();
  auto& notes = score.Staff(1)->Voice(1)->Notes();
  for (int t = 0; t < (1 << 24) / 141 + 1; ++t) {
    auto note = notes.Add(t, 0, 1, 0);
    for (int p = 1; p < 128; ++p) note->AddValue(p);
  }
  auto bytes = ScoreFileWriter::Write(score);
  ASSERT_FALSE(bytes);
  EXPECT_NE(bytes.Error().Message.find("16 MiB"), std::string::npos) << bytes.Error().Message;
}

}  // namespace
}  // namespace notecraft
