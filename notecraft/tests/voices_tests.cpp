#include "notecraft/core/voices.h"

#include <gtest/gtest.h>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "model_fixtures.h"

namespace notecraft {
namespace {

TEST(Voices, NewIDPutsTheLetterFirstAndCountsUp) {
  testing::FixedClock clock(5);
  Score score;
  auto& voices = score.AllVoices();
  EXPECT_EQ(voices.NewID(), "V5");
  voices.Add("V5", nullptr, "a");
  EXPECT_EQ(voices.NewID(), "V6");
}

TEST(Voices, AddWithAnExistingIDReturnsItUnchanged) {
  Score score;
  auto ins = score.AllInstruments().Add("I1", 0);
  auto& voices = score.AllVoices();
  auto first = voices.Add("V1", ins, "Melody");
  auto again = voices.Add("V1", nullptr, "Other");
  EXPECT_EQ(again, first);
  EXPECT_EQ(first->Description(), "Melody");
  EXPECT_EQ(first->Instrument(), ins);
}

TEST(Voices, RemoveRenumbersTracks) {
  Score score;
  auto& voices = score.AllVoices();
  voices.Add("A", nullptr, "");
  auto b = voices.Add("B", nullptr, "");
  auto c = voices.Add("C", nullptr, "");
  voices.Remove(1);
  EXPECT_EQ(b->Track(), 1);
  EXPECT_EQ(c->Track(), 2);
  voices.Remove("nope");
  voices.Remove(7);
  EXPECT_EQ(voices.Count(), 2);
  EXPECT_EQ(voices.Item("B"), b);
  EXPECT_EQ(voices.Item("A"), nullptr);
  EXPECT_EQ(voices.Item(3), nullptr);
}

TEST(Voices, InstrumentIsNullWithoutIdOrWhenTheScoreDroppedIt) {
  Score score;
  auto ins = score.AllInstruments().Add("I1", 40);
  auto withIns = score.AllVoices().Add("V1", ins, "");
  auto without = score.AllVoices().Add("V2", nullptr, "");
  EXPECT_EQ(withIns->Instrument(), ins);
  EXPECT_EQ(without->Instrument(), nullptr);
  score.AllInstruments().Remove("I1");
  EXPECT_EQ(withIns->Instrument(), nullptr);
}

TEST(Voice, PlaybackCursorWalksTheNotesInTimeOrder) {
  Score score;
  auto voice = score.AllVoices().Add("V1", nullptr, "");
  for (int t : {0, 16, 48}) voice->Notes().Add(t, 60, 16, 0);

  voice->GetInit(100);  // after the last note
  EXPECT_TRUE(voice->ProgramPending(Internal{}));
  EXPECT_EQ(voice->NextTime(Internal{}), -1);
  EXPECT_EQ(voice->GetNext(), nullptr);

  voice->GetInit(0);
  std::vector<int> times;
  while (auto n = voice->GetNext()) {
    times.push_back(n->NoteTime());
    voice->Notes().Item(0);  // the list's own search cursor does not disturb playback
  }
  EXPECT_EQ(times, (std::vector<int>{0, 16, 48}));
  EXPECT_EQ(voice->NextTime(Internal{}), -1);

  voice->GetInit(20);
  EXPECT_EQ(voice->NextTime(Internal{}), 48);
  EXPECT_EQ(voice->GetNext()->NoteTime(), 48);
}

TEST(Voice, ResetNotesEmptiesTheListAHostHoldsAndHeldNotesSurvive) {
  Score score;
  auto voice = score.AllVoices().Add("V1", nullptr, "");
  Notes& list = voice->Notes();  // a host's reference, kept across the reset
  auto held = list.Add(0, 60, 16, 0);
  voice->ResetNotes(Internal{});
  EXPECT_EQ(&voice->Notes(), &list);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Parent(Internal{}), &score);
  EXPECT_EQ(held->ValueCount(), 1);
  list.Add(32, 62, 16, 0);  // the reference still reaches the voice's notes
  EXPECT_EQ(voice->Notes().Count(), 1);
}

}  // namespace
}  // namespace notecraft
