// Invariants of the playback stream over random scores: delivered times never decrease,
// every note-on is ended by its own note-off, and the counts match the notes that sound.

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <random>
#include <utility>

#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "playback_fixtures.h"

namespace notecraft {
namespace {

using testing::PlaybackScore;

struct Expected {
  int programs = 0;  // one per sounding voice with a note at or after the start
  int pitches = 0;   // note-ons, and as many note-offs
};

// A random score: a few staves of one to three voices, chords, every duration, dots,
// staccato (the 64th among them sounds for a 64th), accents, triplets, notes without
// pitches, a change of time signature, a drum staff, a voice without an instrument and
// sometimes a muted staff. Returns what a restart at `start` must deliver.
Expected BuildRandom(PlaybackScore& s, std::mt19937& rng, int start) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  static constexpr int kDurations[] = {1, 2, 4, 8, 16, 32, 64};
  static constexpr int kFlags[] = {0, 0, 0, nteDot, nteStacato, nteDot | nteStacato,
                                   nteAccent, nteTriplet};
  static constexpr int kRows[] = {0, 24, 40, 56, 73, testing::kBassDrum};
  if (pick(2)) s.score.AllGlobals().Add(64 * (1 + pick(8)), evtTimeChange, 3, 16);
  for (int i = 0; i < 4; ++i)
    s.score.AllGlobals().Add(64 * pick(16), i % 2 ? evtRepeatEnd : evtRepeatBegin);

  // Mostly real notes; in some scores mostly notes without pitches, which make no events
  // and so starve the look-ahead.
  const int emptyTenths = pick(4) == 0 ? 7 : 1;
  Expected expected;
  const int staves = 1 + pick(4);
  for (int st = 0; st < staves; ++st) {
    auto staff = s.AddStaff();
    const bool muted = pick(6) == 0;
    staff->SetMute(muted);
    const int voices = 1 + pick(3);
    for (int vi = 0; vi < voices; ++vi) {
      const bool bare = pick(8) == 0;
      auto voice = staff->AddVoice(bare ? nullptr : s.InstrumentOf(kRows[pick(6)]));
      int t = pick(3) * 8;
      bool sounds = false;
      while (t < 1024) {
        const int d = kDurations[pick(7)];
        // An empty chord is one whose pitches were all taken away.
        const bool empty = pick(10) < emptyTenths;
        const int pitch = 40 + pick(40);
        auto note = voice->Notes().Add(t, pitch, d, kFlags[pick(8)]);
        if (empty) note->RemoveValue(pitch);
        if (note->ValueCount() > 0)
          for (int extra = pick(4); extra > 0; --extra) note->AddValue(40 + pick(40));
        t += d + (pick(4) == 0 ? 8 * pick(4) : 0);
      }
      if (muted || bare) continue;
      for (const auto& note : voice->Notes()) {
        if (note->NoteTime() < start) continue;
        sounds = true;
        expected.pitches += note->ValueCount();
      }
      if (sounds) ++expected.programs;
    }
  }
  return expected;
}

TEST(PlaybackProperties, RandomScoresDeliverEveryNoteInTimeOrderAndEndIt) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    PlaybackScore s;
    const int start = seed % 3 == 0 ? static_cast<int>(rng() % 512) : 0;
    const Expected expected = BuildRandom(s, rng, start);

    Expected got;
    int offs = 0, lastTime = start;
    // Note-ons still waiting for their note-off, by channel and pitch.
    std::map<std::pair<int, int>, int> sounding;
    for (auto e = s.score.GetMIDIEvent(start); e; e = s.score.GetMIDIEvent()) {
      ASSERT_GE(e->EventTime(), lastTime) << testing::Describe(*e);
      lastTime = e->EventTime();
      EXPECT_EQ(e->Text(), "");
      EXPECT_TRUE(e->Channel() >= 0 && e->Channel() <= 15);
      const bool drums = e->Channel() == 9;
      switch (e->EventType()) {
        case midProgramChange:
          ++got.programs;
          EXPECT_EQ(e->Value(1), drums ? 127 : 112);
          break;
        case midNoteOn:
          ++got.pitches;
          ++sounding[{e->Channel(), e->Value(0)}];
          if (drums) {
            EXPECT_EQ(e->Value(1), 127);
          }
          break;
        case midNoteOff:
          ++offs;
          // Never before its own note-on.
          ASSERT_GT((sounding[{e->Channel(), e->Value(0)}]--), 0) << testing::Describe(*e);
          break;
        default: ADD_FAILURE() << testing::Describe(*e);
      }
    }
    EXPECT_EQ(got.programs, expected.programs);
    EXPECT_EQ(got.pitches, expected.pitches);
    EXPECT_EQ(offs, expected.pitches);
    for (const auto& [key, count] : sounding) EXPECT_EQ(count, 0);
  }
}

}  // namespace
}  // namespace notecraft
