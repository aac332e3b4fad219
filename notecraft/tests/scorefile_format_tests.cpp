// The native score file's layout, byte by byte: files written by the writer compared with
// bytes written out by hand, and hand-made files read back field by field.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/io/scorefilewriter.h"
#include "model_fixtures.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::ByteVector;
using testing::Bytes;
using testing::FixedClock;
using testing::FontRecord;
using testing::HeaderSection;
using testing::MakeFile;
using testing::NoteRecord;
using testing::StaffHeader;
using testing::StaffParts;
using testing::VoiceRecord;

constexpr int kNineOhFiveSeven = 9 * 3600 + 5 * 60 + 7;  // IDs "I90507", "I90508", ...

ByteVector Write(Score& score) {
  auto bytes = ScoreFileWriter::Write(score);
  EXPECT_TRUE(bytes) << (bytes ? "" : bytes.Error().Message);
  return bytes ? bytes.Value() : ByteVector{};
}

// Reads a file into a fresh score; the test fails when it cannot.
void Read(Score& score, const ByteVector& file) {
  ASSERT_TRUE(score.ReadScoreFile(Internal{}, file, "x.sco")) << score.LastFileError();
}

TEST(ScoreFileLayout, ANewScoreIsWrittenByteForByte) {
  FixedClock clock(kNineOhFiveSeven);
  Score score;
  score.CreateDefault();

  const ByteVector hdr = HeaderSection();
  ASSERT_EQ(hdr.size(), 119u);
  const ByteVector glb = Bytes().N4(0).B(evtTimeChange, 0, 0);  // common time at 0
  const ByteVector ins = Bytes()
                             .S("I90507").B(254).S("Recorder")
                             .B(0, 2, 1, 74)  // channel, category, clef, program
                             .S("0").B(254).S("0").B(254).S("72").B(254).S("98").B(255);
  Bytes vce;
  VoiceRecord(vce, 0, "New Voice", "74");
  const ByteVector expected = MakeFile(hdr, glb, ins, {{StaffHeader("New"), {}, vce}});

  const ByteVector actual = Write(score);
  EXPECT_EQ(actual, expected);
  // The fixed points of the layout, as positions (1-based).
  ASSERT_GE(actual.size(), 60u);
  EXPECT_EQ(std::vector<std::uint8_t>(actual.begin() + 9, actual.begin() + 13),
            (ByteVector{0, 0, 0, 51}));  // Hdr starts at 51
}

TEST(ScoreFileLayout, EveryKindOfRecordIsWrittenByteForByte) {
  // GIVEN two staves, a three-pitch chord, a key with one flat, an event with text "abc",
  // a drum kit with part of its map and a lyric
  FixedClock clock(kNineOhFiveSeven);
  Score score;
  score.CreateDefault();
  const Internal key;
  score.SetKey(-1);
  score.AllGlobals().Add(64, evtSectionDefine, sctEnding1, 0, "abc");
  auto drums = score.AllInstruments().Add(score.AllInstruments().NewID(), 129);
  drums->SetDrumValue(1, 36);
  drums->SetDrumCode(1, 130);
  drums->SetDrumValue(2, 38);
  drums->SetDrumCode(2, 132);
  auto first = score.Staff(1);
  first->GlobalEvents().Add(0, evtLyric, 0, 0, "la");
  auto& chord = first->Voice(1)->Notes();
  chord.Add(0, 60, 16, 0);
  chord.Add(0, 67, 16, 0);
  chord.Add(0, 64, 16, 0);
  auto second = score.AllStaffs().AddStaff(key, score.AllStaffs().NewID(), "Drums", std::nullopt, true);
  second->AddVoice(drums)->Notes().Add(16, 36, 8, nteAccent);

  // THEN every section holds exactly these bytes
  const ByteVector glb = Bytes()
                             .N4(0).B(1, 0, 0)             // time signatures first
                             .N4(0).B(2, 255, 0)           // one flat: key byte 255
                             .N4(64).B(5, 1, 0).B(254).S("abc").B(255);  // 7 + 1 + 3 + 1
  ASSERT_EQ(glb.size(), 26u);
  Bytes ins;
  ins.S("I90507").B(254).S("Recorder").B(0, 2, 1, 74)
      .S("0").B(254).S("0").B(254).S("72").B(254).S("98").B(255);
  // drums: channel 9, category 9, and the drum sound's table row where a program stands
  ins.S("I90508").B(254).S("Bass Drum 1").B(9, 9, 0, 129)
      .S("36").B(254).S("0").B(254).S("36").B(254).S("36")
      .B(254).S("36").B(254).S("130").B(254).S("38").B(254).S("132");
  for (int slot = 3; slot <= 8; ++slot) ins.B(254).S("0").B(254).S("0");
  ins.B(255);
  Bytes vce1;
  VoiceRecord(vce1, 1, "New Voice", "74");
  NoteRecord(vce1, 0, 16, 0, {60, 64, 67});  // 13 + 3: pitches in the note's order
  Bytes vce2;
  VoiceRecord(vce2, 1, "New Voice", "129");  // finds the kit by its row, not program 0
  NoteRecord(vce2, 16, 8, nteAccent, {36});
  const ByteVector expected =
      MakeFile(HeaderSection(), glb, ins,
               {{StaffHeader("New"), Bytes().N4(0).B(14, 0, 0).B(254).S("la").B(255), vce1},
                {StaffHeader("Drums", clfPercussion), {}, vce2}});
  const ByteVector actual = Write(score);
  ASSERT_EQ(actual, expected);

  // The Stf head of two staves: 33 x 2 + 2, then 6 entries of 11 bytes.
  const std::size_t stf = 50 + 119 + 26 + ins.Size();  // 0-based offset after the 50-byte head
  EXPECT_EQ(ByteVector(actual.begin() + static_cast<long>(stf), actual.begin() + static_cast<long>(stf) + 6),
            (ByteVector{0, 0, 0, 68, 6, 11}));
  EXPECT_EQ(std::string(actual.begin() + static_cast<long>(stf) + 6, actual.begin() + static_cast<long>(stf) + 9), "Hdr");
}

TEST(ScoreFileLayout, EmptySectionsHaveLengthZero) {
  Score score;  // no staves, no events, no instruments
  const ByteVector actual = Write(score);
  ASSERT_EQ(actual.size(), 50u + 89u + 6u);  // head, Hdr, Stf head
  Bytes head;
  head.S("Vm00").B(4, 11).Entry("Hdr", 51, 89).Entry("Glb", 140, 0).Entry("Ins", 140, 0)
      .Entry("Stf", 140, 6);
  EXPECT_EQ(ByteVector(actual.begin(), actual.begin() + 50), head.Get());
  EXPECT_EQ(ByteVector(actual.end() - 6, actual.end()), (ByteVector{0, 0, 0, 2, 0, 11}));
}

// --- Reading hand-made files ---

ByteVector Fonts(const ByteVector& title) {
  return Bytes()
      .Add(title)
      .Add(FontRecord("Arial", "12", 129, ""))
      .Add(FontRecord("Arial", "10", 129, ""))
      .Add(FontRecord("Arial", "10", 129, ""))
      .Add(FontRecord("Arial", "8", 128, ""))
      .Get();
}

TEST(ScoreFileHeader, FontRecordRules) {
  struct Case {
    const char* name;
    ByteVector record;  // the title font's record
    std::string fontName;
    float size;
    bool bold, italic, underline;
    std::string title;
  } cases[] = {
      {"all fields", FontRecord("Georgia", "18.5", 129, "Sonata"), "Georgia", 18.5f, true, true,
       false, "Sonata"},
      {"not bold", FontRecord("Georgia", "18", 128, "Sonata"), "Georgia", 18, false, true, false,
       "Sonata"},
      // Underline comes back off and italic stays as the score had it, whatever the style says.
      {"style bits ignored", FontRecord("Georgia", "18", 128 + 2 + 4, "S"), "Georgia", 18, false,
       true, false, "S"},
      {"size reads 0: font kept, text set", FontRecord("Georgia", "0.4", 129, "Sonata"), "Arial",
       14, true, true, true, "Sonata"},
      {"size text up to the style byte", FontRecord("Georgia", "12pt", 129, ""), "Georgia", 12,
       true, true, false, ""},
      {"no byte 0: neither font nor text", Bytes().S("Georgia18").B(129).S("T").B(255), "Arial",
       14, true, true, true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Score score;
    score.Fonts(fntTitle)->Italic = true;
    score.Fonts(fntTitle)->Underline = true;
    Read(score, MakeFile(HeaderSection(Fonts(c.record)), {}, {}, {}));
    const auto& f = *score.Fonts(fntTitle);
    EXPECT_EQ(f.Name, c.fontName);
    EXPECT_FLOAT_EQ(f.Size, c.size);
    EXPECT_EQ(f.Bold, c.bold);
    EXPECT_EQ(f.Italic, c.italic);
    EXPECT_EQ(f.Underline, c.underline);
    EXPECT_EQ(score.Title(), c.title);
  }
}

TEST(ScoreFileHeader, TwoTextFontsSplitAtTheirSeparator) {
  Score score;
  Bytes fonts;
  fonts.Add(FontRecord("Arial", "14", 129, "T")).Add(FontRecord("Arial", "12", 129, "Sub"))
      .Add(FontRecord("Arial", "10", 129, "Head"))
      .Add(FontRecord("Arial", "10", 129, "Ann Composer"))  // no 254: neither text
      .Add(FontRecord("Arial", "8", 128, "(c) 2024\xFE" "All rights"));
  score.SetComposer("old");
  Read(score, MakeFile(HeaderSection(fonts), {}, {}, {}));
  EXPECT_EQ(score.SubTitle(), "Sub");
  EXPECT_EQ(score.Heading(), "Head");
  EXPECT_EQ(score.Composer(), "");
  EXPECT_EQ(score.ArrangedBy(), "");
  EXPECT_EQ(score.Copyright(0), "(c) 2024");
  EXPECT_EQ(score.Copyright(1), "All rights");
}

TEST(ScoreFileHeader, SpacingPageAndTempoRecords) {
  Score score;
  Bytes hdr;
  hdr.Add(Fonts(FontRecord("Arial", "14", 129, "")));
  hdr.S("0.35").B(254).S("0.45").B(254).S("0.8").B(255);
  hdr.S("0.9").B(254).S("0.6").B(254).S("1.25").B(254).S("0.7").B(254).B(2, 1, 1, 0).B(255);
  hdr.S("96").B(254).S("32").B(255);
  Read(score, MakeFile(hdr, Bytes().N4(0).B(1, 0, 0), {}, {}));
  EXPECT_FLOAT_EQ(score.StaffHeight(), 0.35f);
  EXPECT_EQ(score.StaffHeightTwips(), 504);
  EXPECT_FLOAT_EQ(score.StaffSpace(), 0.45f);
  EXPECT_FLOAT_EQ(score.SystemSpace(), 0.8f);
  EXPECT_FLOAT_EQ(score.Margins(marTop), 0.9f);
  EXPECT_FLOAT_EQ(score.Margins(marBottom), 0.6f);
  EXPECT_FLOAT_EQ(score.Margins(marLeft), 1.25f);
  EXPECT_FLOAT_EQ(score.Margins(marRight), 0.7f);
  EXPECT_EQ(score.PageNums(), pgnAllPages);
  EXPECT_TRUE(score.ReverseEvenOdd());
  EXPECT_TRUE(score.UseChords());
  EXPECT_FALSE(score.UseChordMaps());
  EXPECT_EQ(score.Count(), 96);
  EXPECT_EQ(score.AllGlobals().PulseValue(), 32);
  // Not in the file: what ClearContents sets.
  EXPECT_EQ(score.Beat(), 16);
  EXPECT_TRUE(score.Metronome());
}

TEST(ScoreFileHeader, APulseOfZeroIsNotStored) {
  Score score;
  Read(score, MakeFile(HeaderSection({}, "0"), Bytes().N4(0).B(1, 6, 8), {}, {}));
  EXPECT_EQ(score.AllGlobals().PulseValue(), 48);  // worked out from 6/8 itself
  Score other;
  Read(other, MakeFile(HeaderSection({}, "8"), Bytes().N4(0).B(1, 6, 8), {}, {}));
  EXPECT_EQ(other.AllGlobals().PulseValue(), 8);
}

TEST(ScoreFileEvents, KeyEventRules) {
  // The score-wide list holds no key: C major is added at 0; a staff's first key change
  // then gives the score its key, and every staff with events ends with a key at 0.
  {
    Score score;
    const ByteVector staffGlb = Bytes().N4(0).B(evtKeyChange, 254, 1).N4(32).B(evtClefChange, 2, 0);
    Bytes vce;
    VoiceRecord(vce, 0, "V", "0");
    Read(score, MakeFile(HeaderSection(), Bytes().N4(0).B(1, 0, 0), {},
                         {{StaffHeader("A"), staffGlb, vce},
                          {StaffHeader("B"), Bytes().N4(16).B(evtDynamic, dynMF, 0), vce}}));
    EXPECT_EQ(score.Key(), -2);
    EXPECT_TRUE(score.Minor());
    auto scoreKey = score.AllGlobals().Find(0, evtKeyChange, true);
    ASSERT_TRUE(scoreKey);
    EXPECT_EQ(scoreKey->Value1(), 254);
    EXPECT_EQ(scoreKey->Value2(), 1);
    auto keyOfB = score.Staff(2)->GlobalEvents().Find(0, evtKeyChange, true);
    ASSERT_TRUE(keyOfB);
    EXPECT_EQ(keyOfB->Value1(), 254);  // the score's key as a key byte
    EXPECT_EQ(keyOfB->Value2(), 255);   // minor
    EXPECT_FALSE(score.Changed());
    EXPECT_EQ(score.Voice(), 1);
    EXPECT_TRUE(score.Staff(1)->Selected());
  }
  // A staff's key later than 0 is a key change of that staff: the score stays in C, and
  // so does the other staff.
  {
    Score score;
    Bytes vce;
    VoiceRecord(vce, 0, "V", "0");
    Read(score, MakeFile(HeaderSection(), Bytes().N4(0).B(1, 0, 0), {},
                         {{StaffHeader("A"), Bytes().N4(64).B(evtKeyChange, 1, 0), vce},
                          {StaffHeader("B"), {}, vce}}));
    EXPECT_EQ(score.Key(), 0);
    EXPECT_EQ(score.Staff(1)->CurKey(0), 0);
    EXPECT_EQ(score.Staff(1)->CurKey(64), 1);
    EXPECT_EQ(score.Staff(2)->CurKey(64), 0);
  }
  // A score-wide list of length 0 is skipped whole: no key is added to it.
  {
    Score score;
    Read(score, MakeFile(HeaderSection(), {}, {}, {}));
    EXPECT_EQ(score.AllGlobals().Count(), 0);
  }
  // A score-wide key change wins over the staves'.
  {
    Score score;
    Read(score, MakeFile(HeaderSection(), Bytes().N4(0).B(evtKeyChange, 3, 0), {},
                         {{StaffHeader("A"), Bytes().N4(0).B(evtKeyChange, 255, 0), {}}}));
    EXPECT_EQ(score.Key(), 3);
    EXPECT_FALSE(score.Minor());
  }
}

TEST(ScoreFileEvents, EventsSharingATimeKeepTheirOrder) {
  Score score;
  const ByteVector glb = Bytes()
                             .N4(0).B(1, 0, 0)
                             .N4(0).B(evtKeyChange, 0, 0)
                             .N4(0).B(evtChord, 3, 0).B(254).S("first").B(255)
                             .N4(0).B(evtChord, 4, 0).B(254).S("second").B(255)
                             .N4(64).B(evtRepeatBegin, 0, 0);
  Read(score, MakeFile(HeaderSection(), glb, {}, {}));
  const auto& list = score.AllGlobals();
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.ByIndex(1)->EventType(), evtKeyChange);
  EXPECT_EQ(list.ByIndex(2)->Text(), "first");
  EXPECT_EQ(list.ByIndex(3)->Text(), "second");
  EXPECT_EQ(list.ByIndex(4)->EventType(), evtRepeatBegin);
}

TEST(ScoreFileEvents, LyricsGiveTheStaffItsVerses) {
  Score score;
  const ByteVector glb = Bytes()
                             .N4(0).B(evtKeyChange, 0, 0)
                             .N4(0).B(evtLyric, 0, 0).B(254).S("one").B(255)
                             .N4(16).B(evtLyric, 0, 0).B(254).S("a\rb\r\rd").B(255)
                             .N4(32).B(evtLyric, 0, 0).B(254).S("x\ry").B(255);
  Read(score, MakeFile(HeaderSection(), {}, {}, {{StaffHeader("A"), glb, {}}}));
  EXPECT_EQ(score.Staff(1)->Verses(), 4);  // one verse a line
  EXPECT_EQ(score.Staff(1)->GlobalEvents().Find(16, evtLyric, true)->Text(), "a\rb\r\rd");
}

TEST(ScoreFileInstruments, CategoryAndDrumMapRules) {
  FixedClock clock(kNineOhFiveSeven);
  Score score;
  Bytes ins;
  // The table's category for program 40 (violin) is 5: kept.
  ins.S("I1").B(254).S("Fiddle").B(3, 5, 2, 40).S("-2").B(254).S("1").B(254).S("55").B(254).S("90").B(255);
  // A category the table does not give program 41: read as solo; empty fields keep the table's.
  ins.S("I2").B(254).S("Odd").B(0, 7, 1, 41).B(254).B(254).B(254).B(255);
  // Drums: the map is read, complete pairs only.
  ins.S("I3").B(254).S("Kit").B(9, 9, 0, 0).S("35").B(254).S("0").B(254).S("35").B(254).S("81")
      .B(254).S("36").B(254).S("130").B(254).S("38").B(254).S("132").B(254).S("40").B(255);
  // A record without its 254 is skipped.
  ins.S("junk").B(255);
  Read(score, MakeFile(HeaderSection(), {}, ins, {}));
  ASSERT_EQ(score.AllInstruments().Count(), 3);
  auto fiddle = score.AllInstruments().Item("I1");
  ASSERT_TRUE(fiddle);
  EXPECT_EQ(fiddle->Description(), "Fiddle");
  EXPECT_EQ(fiddle->Category(), catString);
  EXPECT_EQ(fiddle->DefaultClef(), clfBass);
  EXPECT_EQ(fiddle->Offset(), -2);
  EXPECT_EQ(fiddle->Pitch(), 1);
  EXPECT_EQ(fiddle->Range().Low(), 55);
  EXPECT_EQ(fiddle->Range().High(), 90);
  EXPECT_EQ(fiddle->Channel(), 0);  // channels are the list's to give, not the file's
  auto odd = score.AllInstruments().Item("I2");
  EXPECT_EQ(odd->Category(), catSolo);
  EXPECT_EQ(odd->Range().Low(), TheCommon().Instruments.Row(41).Low);  // the table's, kept
  auto kit = score.AllInstruments().Item("I3");
  EXPECT_EQ(kit->Category(), catDrums);
  EXPECT_EQ(kit->Channel(), 9);
  EXPECT_EQ(kit->Offset(), 35);
  EXPECT_EQ(kit->DrumValue(1), 36);
  EXPECT_EQ(kit->DrumCode(1), 130);
  EXPECT_EQ(kit->DrumValue(2), 38);
  EXPECT_EQ(kit->DrumCode(2), 132);
  EXPECT_EQ(kit->DrumValue(3), 0);  // "40" alone is no pair
}

TEST(ScoreFileStaves, StaffHeaderAndVoiceRecords) {
  FixedClock clock(kNineOhFiveSeven);
  Score score;
  Bytes hdr;
  hdr.S("Piano right").B(254).S("80").B(clfBass, stfEnforceRange | stfShowStaffDesc, 1, 2, 2);
  Bytes vce;
  VoiceRecord(vce, 2, "Upper", "0");
  NoteRecord(vce, 0, 16, nteDot, {72, 60, 200});  // 200 is no MIDI note: skipped
  NoteRecord(vce, 24, 8, 0, {});                 // no pitch: no note
  VoiceRecord(vce, 1, "Lower", "33");
  NoteRecord(vce, 0, 64, 0, {40});
  Read(score, MakeFile(HeaderSection(), {}, {}, {{hdr, {}, vce}}));
  auto staff = score.Staff(1);
  ASSERT_TRUE(staff);
  EXPECT_EQ(staff->Description(), "Piano right");
  EXPECT_EQ(staff->ScalePct(), 80);
  EXPECT_EQ(staff->DefaultClef(), clfBass);  // kept, though the first voice's piano is treble
  EXPECT_EQ(staff->Flags(), stfEnforceRange | stfShowStaffDesc);
  EXPECT_TRUE(staff->Mute());
  EXPECT_FALSE(staff->Visible());
  EXPECT_EQ(staff->Brace(), 2);
  ASSERT_EQ(staff->Voices(), 2);
  auto upper = staff->Voice(1);
  EXPECT_EQ(upper->Description(), "Upper");
  EXPECT_EQ(upper->Instrument()->Value(), 0);
  ASSERT_EQ(upper->Notes().Count(), 1);
  EXPECT_THAT(upper->Notes().ByIndex(1)->Values(), ::testing::ElementsAre(60, 72));
  EXPECT_EQ(upper->Notes().ByIndex(1)->Flags(), nteDot);
  EXPECT_EQ(staff->Voice(2)->Instrument()->Value(), 33);
  EXPECT_EQ(score.EndTime(), 64);  // the lower voice's whole note, to its end
  EXPECT_EQ(score.AllInstruments().Count(), 2);
}

TEST(ScoreFileStaves, AVoiceRecordWithoutItsSeparatorMakesTheFileDamaged) {
  // Read past, 4 bytes at a time, the broken record leaves bytes that make no voice: the
  // next record's count is read from the middle of it, and the notes do not fill it.
  Score score;
  Bytes vce;
  vce.N4(1).S("Broken").B(255);
  VoiceRecord(vce, 1, "Good", "0");
  NoteRecord(vce, 8, 8, 0, {62});
  EXPECT_FALSE(score.ReadScoreFile(
      Internal{}, MakeFile(HeaderSection(), {}, {}, {{StaffHeader("A"), {}, vce}}), "x.sco"));
  EXPECT_EQ(score.LastFileError(),
            "The score file is damaged: its sections do not add up (a staff's voices).");
}

TEST(ScoreFileStaves, ACountByteThatLooksLikeASeparatorIsNotOne) {
  // 254 notes: the count's last byte is 254, which must not be taken for the 254 of the
  // record.
  Score score;
  Bytes vce;
  VoiceRecord(vce, 254, "V", "0");
  for (std::uint32_t i = 0; i < 254; ++i) NoteRecord(vce, 8 * i, 8, 0, {60});
  Read(score, MakeFile(HeaderSection(), {}, {}, {{StaffHeader("A"), {}, vce}}));
  ASSERT_EQ(score.Staff(1)->Voices(), 1);
  EXPECT_EQ(score.Staff(1)->Voice(1)->Description(), "V");
  EXPECT_EQ(score.Staff(1)->Voice(1)->Notes().Count(), 254);
}

// Two writer rules kept on purpose: the channel byte is the one readers will assign (an
// instrument's own channel may be stale), and a clef that is no clef type is written as
// treble (a byte of 32 or more would be read as part of the scale's digits and shift every
// byte after it).
TEST(ScoreFileStaves, ChannelsByRuleAndClefsThatAreNoClefType) {
  FixedClock clock(kNineOhFiveSeven);
  Score score;
  score.CreateDefault();
  const Internal key;
  auto ins = score.Staff(1)->Voice(1)->Instrument();
  ins->SetChannel(key, 5);  // stale: the rule gives the only melodic instrument channel 0
  score.Staff(1)->SetDefaultClef(40);
  score.Staff(1)->Voice(1)->Notes().Add(0, 60, 16, 0);
  Score back;
  Read(back, Write(score));
  EXPECT_EQ(back.Staff(1)->Voice(1)->Instrument()->Channel(), 0);
  EXPECT_EQ(back.Staff(1)->DefaultClef(), clfTreble);
  EXPECT_EQ(back.Staff(1)->Description(), score.Staff(1)->Description());
  EXPECT_EQ(back.Staff(1)->Voice(1)->Notes().Count(), 1);
}

}  // namespace
}  // namespace notecraft
