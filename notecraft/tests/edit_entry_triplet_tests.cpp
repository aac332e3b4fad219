// Triplets entered by clicks on the page: where each note of a group lands, that the group
// fills its beats (and the note after it starts on the next one), that the page draws it
// under one "3", that a click inside a triplet note's drawn span keeps to that note, and
// that saving, reopening, playing and exporting keep what was entered.
#include <algorithm>
#include <string>
#include <vector>

#include "drawn_rhythm.h"
#include "edit_fixtures.h"
#include "midi_fixtures.h"
#include "notecraft/core/instrument.h"
#include "notecraft/io/midifilehooks.h"
#include "notecraft/midi/midifilewriter.h"
#include "notecraft/midi/midiimporter.h"
#include "playback_fixtures.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

class TripletEntry : public EditFixture {
public:
  // Measure 2 of staff 1 empty, measure 1 full of eighths and measures 3 and 4 of quarters;
  // measure 1 in beats/beatLength, the others in 4/4.
  void Prepare(int beats = 4, int beatLength = 16) {
    GlobalEvents& globals = score.AllGlobals();
    while (globals.TimeItemCount() > 0)
      globals.Remove(globals.TimeItem(1)->EventTime(), evtTimeChange);
    globals.Add(0, evtTimeChange, static_cast<std::uint8_t>(beats),
                static_cast<std::uint8_t>(beatLength));
    m_measureTwo = beats * beatLength;
    if (m_measureTwo != 64) globals.Add(m_measureTwo, evtTimeChange, 4, 16);
    VoiceOf(1)->ResetNotes(Internal{});
    for (int t = 0; t < m_measureTwo; t += 8) VoiceOf(1)->Notes().Add(t, 72, durEighth, 0);
    FillQuarters(First(), 2, 72, m_measureTwo + 64);
    Paint();
  }
  int MeasureTwo() const { return m_measureTwo; }

  // A click at offset (64ths) of measure 2, on the staff's middle line (B, 71).
  void Click(int offset, int duration, int flags, int snap) {
    score.AddNoteByHit(XAt(Band(1), 1, offset), YAt(Band(1), 4), duration, flags, snap);
    Paint();
  }

  // "time/duration" of the notes of measure 2, "." for a dot, "t" for a triplet.
  std::string MeasureTwoOf(const Notes& notes) const {
    std::string text;
    for (const auto& n : notes) {
      if (n->NoteTime() < m_measureTwo || n->NoteTime() >= m_measureTwo + 64) continue;
      if (!text.empty()) text += ' ';
      text += std::to_string(n->NoteTime()) + '/' + std::to_string(n->Duration());
      if (n->Flags() & nteDot) text += '.';
      if (n->Flags() & nteTriplet) text += 't';
    }
    return text;
  }
  std::string MeasureTwoNotes() { return MeasureTwoOf(VoiceOf(1)->Notes()); }

private:
  int m_measureTwo = 64;
};

TEST_F(TripletEntry, AGroupFillsTwoOfItsValueAndTheNoteAfterItStartsOnTheNextBeat) {
  // Clicks as a musician places them: a little right of where each note goes (clear of the
  // head before), with the editor's sixteenth snap or without.
  struct Entry {
    int offset, duration, flags;
  };
  struct Case {
    const char* what;
    int snap;
    std::vector<Entry> clicks;
    std::string notes;               // measure 2 afterwards
    int beats = 4, beatLength = 16;  // measure 1's time signature; measure 2 is in 4/4
  };
  const int t = nteTriplet;
  const Case cases[] = {
      {"triplet eighths from a beat, then an eighth",
       4,
       {{0, 8, t}, {7, 8, t}, {13, 8, t}, {18, 8, 0}},
       "64/8t 69/8t 75/8t 80/8"},
      {"the same without snapping",
       0,
       {{1, 8, t}, {7, 8, t}, {13, 8, t}, {16, 8, 0}},
       "64/8t 69/8t 75/8t 80/8"},
      {"triplet eighths from the second beat",
       4,
       {{17, 8, t}, {23, 8, t}, {29, 8, t}, {34, 8, 0}},
       "80/8t 85/8t 91/8t 96/8"},
      {"triplet quarters fill a half",
       4,
       {{0, 16, t}, {14, 16, t}, {24, 16, t}, {34, 16, 0}},
       "64/16t 75/16t 85/16t 96/16"},
      {"triplet quarters from the second beat",
       4,
       {{17, 16, t}, {30, 16, t}, {40, 16, t}, {50, 16, 0}},
       "80/16t 91/16t 101/16t 112/16"},
      {"triplet halves fill the measure",
       4,
       {{0, 32, t}, {24, 32, t}, {46, 32, t}},
       "64/32t 85/32t 107/32t"},
      {"a dotted triplet eighth takes one and a half of the group's slots",
       4,
       {{0, 8, t | nteDot}, {9, 4, t}, {15, 8, t}, {18, 8, 0}},
       "64/8.t 72/4t 75/8t 80/8"},
      {"counted from the bar line after a measure of 5/8",
       4,
       {{0, 16, t}, {14, 16, t}, {24, 16, t}, {34, 16, 0}},
       "40/16t 51/16t 61/16t 72/16",
       5,
       8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Prepare(c.beats, c.beatLength);
    for (const Entry& e : c.clicks) Click(e.offset, e.duration, e.flags, c.snap);
    EXPECT_EQ(MeasureTwoNotes(), c.notes);
    // The page shows the group under one "3". (The rhythm reading does not count the dot of
    // a dotted triplet, so that group is left out here.)
    if (!(c.clicks.front().flags & nteDot)) {
      const DrawnRhythm drawn(surface, Bands());
      const DrawnMeasure& m = drawn.Staves().at(0).Measures.at(1);
      EXPECT_EQ(m.Brackets.size(), 1u);
      EXPECT_EQ(std::count_if(m.Symbols.begin(), m.Symbols.end(),
                              [](const DrawnSymbol& d) { return d.Triplet && !d.Rest; }),
                3);
    }
    // The music after the measure stays where it was.
    EXPECT_TRUE(NoteAt(1, MeasureTwo() + 64)) << ::testing::PrintToString(Times(1));
    EXPECT_EQ(Times(1).size(), c.clicks.size() + MeasureTwo() / 8 + 8);
  }
}

TEST_F(TripletEntry, AClickInsideATripletNotesDrawnSpanStaysWithThatNote) {
  // Right of a triplet note's head, up to the next note's, a click means that note: it goes
  // on after it, onto the next note's time, and never between the two.
  struct Case {
    const char* what;
    int duration;
    std::vector<int> times;  // of the group in measure 2
  };
  const Case cases[] = {
      {"triplet halves", durHalf, {0, 21, 43}},
      {"triplet quarters", durQuarter, {0, 11, 21}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Prepare();
    for (const int t : c.times)
      VoiceOf(1)->Notes().Add(MeasureTwo() + t, 71, c.duration, nteTriplet);
    Paint();
    const std::vector<int> before = Times(1);
    for (int offset = c.times[1] + 1; offset < c.times[2]; ++offset) {
      Click(offset, durEighth, 0, 0);
      EXPECT_EQ(Times(1), before) << "a click at " << offset;
      score.Undo();
      Paint();
      ASSERT_EQ(Times(1), before);
    }
  }
}

TEST_F(TripletEntry, SavedReopenedPlayedAndExportedAsEntered) {
  TheMidiFileHooks() = MidiFileHooks{&MidiImporter::Open, &MidiFileWriter::SaveBytes};
  Prepare();
  // One pitch throughout: a note that sounded into the next one would cut it short.
  const int t = nteTriplet;
  for (const auto& [offset, duration, flags] : std::vector<std::tuple<int, int, int>>{
           {0, 16, t}, {14, 16, t}, {24, 16, t}, {34, 8, t}, {39, 8, t}, {45, 8, t}, {50, 16, 0}})
    Click(offset, duration, flags, 4);
  const std::string entered = MeasureTwoNotes();
  ASSERT_EQ(entered, "64/16t 75/16t 85/16t 96/8t 101/8t 107/8t 112/16");

  TempDir dir;
  ASSERT_TRUE(score.SaveFile(dir.File("triplets.sco")));
  Score reopened;
  ASSERT_TRUE(reopened.OpenFile(dir.File("triplets.sco")));
  EXPECT_EQ(NotesText(reopened.Staff(1)->Voice(1)->Notes()), NotesText(VoiceOf(1)->Notes()));

  // What plays: a triplet for two thirds of its value, never into the next note.
  PlaybackLog played(reopened);
  std::vector<std::string> sounds;
  for (const std::string& e : played.Drain(MeasureTwo()))
    if (e.find(" 0 71/") != std::string::npos)
      sounds.push_back(e.substr(0, e.find(' ', e.find(' ') + 1)));
  EXPECT_EQ(sounds, (std::vector<std::string>{"64 On", "75 Off", "75 On", "85 Off", "85 On",
                                              "96 Off", "96 On", "101 Off", "101 On", "106 Off",
                                              "107 On", "112 Off", "112 On", "128 Off"}));

  // Exported and opened again, the notes come back as they were entered.
  ASSERT_TRUE(reopened.SaveFile(dir.File("triplets.mid"), fmtMIDI));
  Score imported;
  ASSERT_TRUE(imported.OpenFile(dir.File("triplets.mid")));
  EXPECT_EQ(MeasureTwoOf(imported.Staff(1)->Voice(1)->Notes()), entered);
}

// Files written while a triplet took half its value hold groups at 0/4/8 (eighths) and
// 0/8/16 (quarters) with the next note right after: they reopen as they were saved, and only
// a triplet that overlaps even at half its value is cut.
TEST_F(TripletEntry, AFileWithTripletsAtHalfTheirValueReopensAsSaved) {
  Prepare();
  Notes& notes = VoiceOf(1)->Notes();
  const int t = nteTriplet;
  const int m = MeasureTwo();
  // Added from the last, so that nothing is cut on the way in.
  for (const auto& [at, duration, flags] : std::vector<std::tuple<int, int, int>>{
           {m + 44, 16, 0}, {m + 40, 8, t}, {m + 36, 8, t}, {m + 32, 8, t},
           {m + 24, 8, 0}, {m + 16, 16, t}, {m + 8, 16, t}, {m + 2, 16, t}, {m, 2, 0}})
    notes.Add(at, 72, duration, flags);
  const std::string saved = MeasureTwoNotes();
  ASSERT_EQ(saved, "64/2 66/16t 72/16t 80/16t 88/8 96/8t 100/8t 104/8t 108/16");

  TempDir dir;
  ASSERT_TRUE(score.SaveFile(dir.File("older.sco")));
  Score reopened;
  ASSERT_TRUE(reopened.OpenFile(dir.File("older.sco")));
  // The triplet quarter at 66 overlaps the one at 72 even at half its value (8): it is cut
  // to the 6 between them, as it always was.
  EXPECT_EQ(MeasureTwoOf(reopened.Staff(1)->Voice(1)->Notes()),
            "64/2 66/4.t 72/16t 80/16t 88/8 96/8t 100/8t 104/8t 108/16");
}

TEST_F(TripletEntry, SelectedNotesMadeTripletsOrLongerKeepClearOfEachOther) {
  // Selected in measure 2 and changed from the Note menu; the note after them follows.
  struct Case {
    const char* what;
    std::vector<std::tuple<int, int, int>> notes;  // time, duration, flags
    int newDur, stemDir;
    std::string after;
  };
  const int t = nteTriplet;
  const Case cases[] = {
      {"entered triplet eighths made triplet quarters fill a half",
       {{0, 8, t}, {5, 8, t}, {11, 8, t}, {16, 8, 0}},
       durQuarter,
       0,
       "64/16t 75/16t 85/16t 96/8"},
      {"triplet sixteenths made triplet eighths fill a beat",
       {{0, 4, t}, {3, 4, t}, {5, 4, t}, {8, 8, 0}},
       durEighth,
       0,
       "64/8t 69/8t 75/8t 80/8"},
      // Eighths made triplets keep their times (the change moves notes only apart); what
      // they leave between them is rest, and none sounds into the next.
      {"eighths made triplets",
       {{0, 8, 0}, {8, 8, 0}, {16, 8, 0}, {32, 16, 0}},
       0,
       stmPropTrip,
       "64/8t 72/8t 80/8t 96/16"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Prepare();
    for (const auto& [time, duration, flags] : c.notes)
      VoiceOf(1)->Notes().Add(MeasureTwo() + time, 71, duration, flags);
    Paint();
    const Region& band = Band(1);
    const int first = MeasureTwo() + std::get<0>(c.notes[0]);
    const int third = MeasureTwo() + std::get<0>(c.notes[2]);
    ASSERT_EQ(score.SetSelection(NoteAt(1, first)->X() - 5, band.Top() + 5,
                                 NoteAt(1, third)->X() + 5 + band.IncY(), band.Bottom() - 5),
              3);
    EXPECT_EQ(score.ChangeSel(c.newDur, 0, c.stemDir), 3);
    EXPECT_EQ(MeasureTwoNotes(), c.after);
    PlaybackLog played(score);
    int sounding = 0;  // at most one note of the voice at a time
    for (const std::string& e : played.Drain(MeasureTwo())) {
      if (e.find(" 0 71/") == std::string::npos) continue;
      sounding += e.find(" On ") != std::string::npos ? 1 : -1;
      EXPECT_LE(sounding, 1) << e;
    }
  }
}

}  // namespace
}  // namespace notecraft
