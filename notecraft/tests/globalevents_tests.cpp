#include "notecraft/core/globalevents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/numeric.h"

namespace notecraft {
namespace {

struct Sig {
  int time, v1, v2;
};

void AddSignatures(GlobalEvents& events, const std::vector<Sig>& sigs) {
  for (const auto& s : sigs)
    events.Add(s.time, evtTimeChange, static_cast<std::uint8_t>(s.v1),
               static_cast<std::uint8_t>(s.v2));
}

std::string Texts(const GlobalEvents& events) {
  std::string s;
  for (const auto& e : events) s += e->Text();
  return s;
}

TEST(MeasureArithmetic, MeasureInfoAndMeasureTime) {
  struct Case {
    const char* name;
    std::vector<Sig> sigs;
    int atTime, wantNumber, wantDuration;
    int mesNo, wantTime;
  };
  const Case cases[] = {
      {"4/4 from 0, first bar", {{0, 4, 16}}, 0, 1, 64, 1, 0},
      {"4/4, end of bar 1", {{0, 4, 16}}, 63, 1, 64, 3, 128},
      {"4/4, bar 2", {{0, 4, 16}}, 64, 2, 64, 2, 64},
      {"3/4 then 4/4 at 192", {{0, 3, 16}, {192, 4, 16}}, 200, 5, 64, 5, 192},
      {"3/4 then 4/4, inside 3/4", {{0, 3, 16}, {192, 4, 16}}, 100, 3, 48, 3, 96},
      {"3/4 then 4/4, beyond", {{0, 3, 16}, {192, 4, 16}}, 320, 7, 64, 7, 320},
      {"no signature counts as 4/4", {}, 130, 3, 64, 4, 192},
      {"4/2 counts as 64", {{0, 4, 32}}, 64, 2, 64, 2, 64},
      {"12/8 is 96", {{0, 12, 8}}, 96, 2, 96, 3, 192},
      {"16/16 wraps to 0, so 64", {{0, 16, 16}}, 64, 2, 64, 2, 64},
      {"7/4 is 112, so 64", {{0, 7, 16}}, 64, 2, 64, 2, 64},
      {"common time", {{0, 0, 0}}, 64, 2, 64, 2, 64},
      {"cut time", {{0, 0, 16}}, 64, 3, 32, 3, 64},
      // A signature inside a bar: MeasureInfo counts from the signature's own time,
      // MeasureTime from the bar at or before it.
      {"signature off the bar line", {{0, 4, 16}, {80, 3, 16}}, 80, 2, 48, 3, 112},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GlobalEvents events;
    AddSignatures(events, c.sigs);
    int number = 0, duration = 0;
    events.MeasureInfo(c.atTime, number, duration);
    EXPECT_EQ(number, c.wantNumber);
    EXPECT_EQ(duration, c.wantDuration);
    EXPECT_EQ(events.MeasureTime(c.mesNo), c.wantTime);
  }
}

TEST(MeasureArithmetic, LengthAndPulseOfSignatures) {
  struct Case {
    int v1, v2, length, pulse;
  };
  const Case cases[] = {
      {4, 16, 64, 16}, {3, 16, 48, 16}, {6, 8, 48, 48},  {9, 8, 72, 24},
      {12, 8, 96, 8},  {2, 16, 32, 16}, {5, 8, 40, 8},   {3, 2, 6, 2},
      {5, 2, 10, 2},   {7, 2, 14, 2},   {4, 32, 64, 16}, {0, 0, 64, 16},
      {0, 8, 32, 16},  {16, 16, 64, 16},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.v1) + "/" + std::to_string(c.v2));
    EXPECT_EQ(MeasureLengthOf(c.v1, c.v2), c.length);
    EXPECT_EQ(PulseOf(c.v1, c.v2), c.pulse);
  }
}

TEST(GlobalEventsOrder, EventsAtOneTimeGoBeforeTheLastOfThem) {
  GlobalEvents events;
  events.Add(0, evtText, 0, 0, "A");
  events.Add(0, evtText, 0, 0, "B");
  events.Add(0, evtText, 0, 0, "C");
  events.Add(10, evtText, 0, 0, "D");
  events.Add(-5, evtText, 0, 0, "E");
  EXPECT_EQ(Texts(events), "EBCAD");
  for (int i = 1; i <= events.Count(); ++i) EXPECT_EQ(events.ByIndex(i)->Index(), i);
  EXPECT_EQ(events.Item(0, evtText)->Text(), "B");  // the lowest position
  events.Remove(0, evtText);                          // removes the highest
  EXPECT_EQ(Texts(events), "EBCD");
  EXPECT_EQ(events.ByIndex(4)->Index(), 4);  // renumbered after a removal
}

TEST(GlobalEventsOrder, AddAfterRemoveRenumbersTheWholeTail) {
  GlobalEvents events;
  for (int t : {0, 10, 20, 30}) events.Add(t, evtLyric);
  events.Remove(10, evtLyric);
  auto added = events.Add(5, evtLyric);
  EXPECT_EQ(added->Index(), 2);
  for (int i = 1; i <= events.Count(); ++i) EXPECT_EQ(events.ByIndex(i)->Index(), i);
}

TEST(GlobalEventsOrder, TimeSignaturesLiveInTheirOwnList) {
  GlobalEvents events;
  events.Add(0, evtTimeChange, 3, 16);
  events.Add(0, evtKeyChange, 2);
  EXPECT_EQ(events.Count(), 1);
  EXPECT_EQ(events.TimeItemCount(), 1);
  EXPECT_EQ(events.TimeItem(1)->Value1(), 3);
  EXPECT_EQ(events.ByIndex(1)->EventType(), evtKeyChange);
  EXPECT_EQ(events.TimeItem(2), nullptr);
  EXPECT_EQ(events.ByIndex(0), nullptr);
}

class GlobalEventsFind : public ::testing::Test {
protected:
  void SetUp() override {
    events.Add(0, evtKeyChange, 1, 0, "key0");
    events.Add(32, evtRepeatBegin, 0, 0, "rb32");
    events.Add(32, evtLyric, 0, 0, "ly32");
    events.Add(64, evtLyric, 0, 0, "ly64");
    events.Add(64, evtClefChange, clfBass, 0, "clef64");
    events.Add(64, evtClefChange, clfAlto, 0, "clef64b");
    events.Add(96, evtSectionDefine, sctCoda, 0, "sd96");
    events.Add(128, evtKeyChange, 3, 0, "key128");
  }
  std::string FindText(int t, int type, bool exact = false, int highIX = 0) {
    auto e = events.Find(t, type, exact, highIX);
    return e ? e->Text() : "-";
  }
  GlobalEvents events;
};

TEST_F(GlobalEventsFind, NotExactFindsTheLastOfTheKindAtOrBefore) {
  EXPECT_EQ(FindText(127, evtKeyChange), "key0");
  EXPECT_EQ(FindText(128, evtKeyChange), "key128");
  EXPECT_EQ(FindText(10000, evtKeyChange), "key128");
  EXPECT_EQ(FindText(-1, evtKeyChange), "-");
  // At 64 the list holds clef64, clef64b, ly64: a new event goes before the last one
  // already there. Not exact gives the last in list order.
  EXPECT_EQ(FindText(64, evtClefChange), "clef64b");
  EXPECT_EQ(FindText(63, evtClefChange), "-");
  EXPECT_EQ(FindText(100, evtTempo), "-");
}

TEST_F(GlobalEventsFind, PlayBackAlsoMatchesRepeatsAndSections) {
  EXPECT_EQ(FindText(95, evtPlayBack), "rb32");
  EXPECT_EQ(FindText(200, evtPlayBack), "sd96");
  events.Add(100, evtPlayBack, 0, 0, "pb100");
  EXPECT_EQ(FindText(200, evtPlayBack), "pb100");
  EXPECT_EQ(FindText(31, evtPlayBack), "-");
}

TEST_F(GlobalEventsFind, ExactLooksOnlyAtTheTime) {
  EXPECT_EQ(FindText(64, evtClefChange, true), "clef64");  // the lowest position
  EXPECT_EQ(FindText(63, evtClefChange, true), "-");       // even though 64 has one
  EXPECT_EQ(events.Item(63, evtClefChange), nullptr);
  events.Remove(63, evtClefChange);
  EXPECT_EQ(events.Count(), 8);
  EXPECT_EQ(FindText(96, evtPlayBack, true), "sd96");
}

TEST_F(GlobalEventsFind, HighIxStopsTheSearch) {
  // Positions: 1 key0, 2 ly32, 3 rb32, 4 clef64, 5 clef64b, 6 ly64, 7 sd96, 8 key128.
  EXPECT_EQ(FindText(200, evtKeyChange, false, 7), "key0");
  EXPECT_EQ(FindText(200, evtKeyChange, false, 8), "key128");
  EXPECT_EQ(FindText(200, evtClefChange, false, 4), "clef64");
  EXPECT_EQ(FindText(64, evtClefChange, false, 5), "clef64b");
}

TEST(GlobalEventsHighIx, ARunAtTheTimeIsFollowedButAResultBeyondHighIxIsNone) {
  GlobalEvents events;
  events.Add(10, evtClefChange, clfBass, 0, "c1");
  events.Add(10, evtLyric, 0, 0, "l1");
  events.Add(10, evtLyric, 0, 0, "l2");  // list: l1, l2, c1
  EXPECT_EQ(events.Find(10, evtClefChange)->Text(), "c1");
  EXPECT_EQ(events.Find(10, evtClefChange, false, 2), nullptr);
  EXPECT_EQ(events.Find(10, evtClefChange, false, 3)->Text(), "c1");
}

// The lookup as a plain bisection and walk back over the list, without any index.
GlobalEvent* ReferenceFind(const GlobalEvents& ev, int at, int type, bool exact, int highIX) {
  const int n = ev.Count();
  int lower = 1, upper = n + 1;
  if (highIX > 0 && highIX <= upper) upper = highIX;
  int p = upper;
  for (bool stop = false; upper > 1 && !stop;) {
    int middle = (lower + upper) / 2;
    int t = ev.ByIndex(middle)->EventTime();
    if (t > at) {
      p = std::min(p, middle);
      if (middle == upper) stop = true; else upper = middle;
    } else if (t < at) {
      if (middle == lower) stop = true; else lower = middle;
    } else {
      while (middle < n && ev.ByIndex(middle + 1)->EventTime() == at) ++middle;
      p = middle;
      stop = true;
    }
  }
  auto matches = [&](int kind) {
    return kind == type || (type == evtPlayBack && kind >= evtRepeatBegin && kind <= evtSectionDefine);
  };
  GlobalEvent* result = nullptr;
  for (int i = std::min(p, n); i >= 1; --i) {
    auto e = ev.ByIndex(i);
    if (exact) {
      if (e->EventTime() < at) break;
      if (e->EventTime() == at && matches(e->EventType())) result = e.get();
    } else if (e->EventTime() <= at && matches(e->EventType())) {
      result = e.get();
      break;
    }
  }
  if (result && highIX > 0 && result->Index() > highIX) return nullptr;
  return result;
}

TEST(GlobalEventsFindIndex, MatchesAPlainWalkUnderRandomEdits) {
  std::mt19937 rng(7);
  GlobalEvents events;
  const int kinds[] = {evtKeyChange, evtClefChange, evtLyric, evtLyric, evtLyric,
                       evtRepeatBegin, evtSectionDefine, evtPlayBack, evtText};
  for (int step = 0; step < 4000; ++step) {
    const int op = static_cast<int>(rng() % 20);
    const int t = static_cast<int>(rng() % 200);
    const int kind = kinds[rng() % std::size(kinds)];
    if (op < 12) {
      events.Add(t, kind);
    } else if (op < 16) {
      events.Remove(t, kind);
    } else if (op < 19 && events.Count() > 0) {
      events.ByIndex(1 + static_cast<int>(rng() % static_cast<unsigned>(events.Count())))
          ->SetEventType(kind);
    } else if (op == 19 && rng() % 10 == 0) {
      events.RemoveRange(Internal{}, t, t + static_cast<int>(rng() % 30));
    }
    const int q = static_cast<int>(rng() % 220) - 10;
    const int highIX = rng() % 3 == 0 ? static_cast<int>(rng() % 60) : 0;
    for (int type : {evtKeyChange, evtLyric, evtPlayBack, evtClefChange}) {
      for (bool exact : {false, true}) {
        ASSERT_EQ(events.Find(q, type, exact, highIX).get(),
                  ReferenceFind(events, q, type, exact, highIX))
            << "step " << step << " time " << q << " type " << type << " exact " << exact
            << " highIX " << highIX;
      }
    }
  }
}

TEST(GlobalEventsRemoveRange, DeletesTheSpanFromBothListsAndRenumbers) {
  GlobalEvents events;
  events.Add(0, evtTimeChange, 4, 16);
  events.Add(64, evtTimeChange, 3, 16);
  events.Add(128, evtTimeChange, 2, 16);
  events.Add(64, evtKeyChange, 2);
  events.Add(64, evtClefChange, clfBass);
  events.Add(64, evtLyric, 0, 0, "gone");
  events.Add(128, evtKeyChange, 4);
  events.Add(128, evtClefChange, clfAlto);
  events.Add(200, evtLyric, 0, 0, "kept");
  events.RemoveRange(Internal{}, 64, 128);
  // Changes at 64 go; those at 128 move to 64.
  ASSERT_EQ(events.Count(), 3);
  EXPECT_EQ(events.Find(64, evtKeyChange, true)->Value1(), 4);
  EXPECT_EQ(events.Find(64, evtClefChange, true)->Value1(), clfAlto);
  EXPECT_EQ(events.Find(200, evtLyric)->EventTime(), 136);
  ASSERT_EQ(events.TimeItemCount(), 2);
  EXPECT_EQ(events.TimeItem(2)->EventTime(), 64);
  EXPECT_EQ(events.TimeItem(2)->Value1(), 2);
  for (int i = 1; i <= events.Count(); ++i) EXPECT_EQ(events.ByIndex(i)->Index(), i);
  for (int i = 1; i <= events.TimeItemCount(); ++i) EXPECT_EQ(events.TimeItem(i)->Index(), i);
}

TEST(GlobalEventsRemoveRange, KeepsTheSignatureKeyAndClefInForceAfterTheSpan) {
  GlobalEvents events;
  events.Add(0, evtTimeChange, 3, 16);
  events.Add(0, evtKeyChange, 2);
  events.Add(48, evtClefChange, clfBass);
  events.Add(48, evtClefChange, clfTenor);
  events.Add(20, evtLyric, 0, 0, "gone");
  events.RemoveRange(Internal{}, 0, 96);  // delete the first two 3/4 bars
  EXPECT_EQ(events.CurTimeVal(0), 3 * 128 + 16);
  EXPECT_EQ(events.Find(0, evtKeyChange, true)->Value1(), 2);
  // The list at 48 was tenor, bass; the one in force (last in list order) is kept.
  EXPECT_EQ(events.Find(0, evtClefChange)->Value1(), clfBass);
  EXPECT_EQ(events.Count(), 2);
  int number = 0, duration = 0;
  events.MeasureInfo(50, number, duration);
  EXPECT_EQ(number, 2);
  EXPECT_EQ(duration, 48);
}

TEST(GlobalEventsSignature, CurAndDefaultTimeValues) {
  GlobalEvents events;
  EXPECT_EQ(events.CurTimeVal(100), 0);  // none
  events.SetDftTimeVal(776);
  ASSERT_EQ(events.TimeItemCount(), 1);
  EXPECT_EQ(events.TimeItem(1)->Value1(), 6);
  EXPECT_EQ(events.TimeItem(1)->Value2(), 8);
  EXPECT_EQ(events.DftTimeVal(), 776);
  events.SetDftTimeVal(0);  // common time
  EXPECT_EQ(events.TimeItemCount(), 1);
  EXPECT_EQ(events.CurTimeVal(100), 0);
  events.SetDftTimeVal(-1);
  events.SetDftTimeVal(255 * 128 + 128);
  EXPECT_EQ(events.CurTimeVal(0), 0);
}

// The measure arithmetic as first written: a walk over the signatures for every lookup.
struct WalkedMeasure {
  int number, duration, start;
};
WalkedMeasure ReferenceMeasureInfo(const GlobalEvents& events, int atTime) {
  std::int64_t n = 0, length = 64, previous = 0;
  for (int i = 1; i <= events.TimeItemCount(); ++i) {
    const auto e = events.TimeItem(i);
    if (e->EventTime() > atTime) break;
    n += FloorDiv(e->EventTime() - previous, length);
    previous = e->EventTime();
    length = MeasureLengthOf(e->Value1(), e->Value2());
  }
  const std::int64_t bars = FloorDiv(atTime - previous, length);
  return {static_cast<int>(n + bars + 1), static_cast<int>(length),
          static_cast<int>(previous + bars * length)};
}

int ReferenceMeasureTime(const GlobalEvents& events, int mesNo) {
  std::int64_t n = 1, length = 64, t = 0;
  for (int i = 1; i <= events.TimeItemCount(); ++i) {
    const auto e = events.TimeItem(i);
    const std::int64_t k = (e->EventTime() - t) / length;
    const std::int64_t next = t + k * length;
    n += k;
    if (n > mesNo) {
      t = next - (n - mesNo) * length;
      n = mesNo;
    } else {
      t = next;
    }
    length = MeasureLengthOf(e->Value1(), e->Value2());
    if (n >= mesNo) break;
  }
  if (n < mesNo) t += (mesNo - n) * length;
  return static_cast<int>(t);
}

// Signatures added, removed, changed in place (values and time, even out of order and
// before 0) and cut out by RemoveRange: every lookup agrees with the walk.
TEST(MeasureArithmetic, LookupsMatchAWalkOverTheSignaturesUnderRandomEdits) {
  std::mt19937 rng(11);
  GlobalEvents events;
  const int values[][2] = {{4, 16}, {3, 16}, {6, 8}, {0, 0}, {0, 16}, {5, 8}, {12, 8}, {4, 32}};
  for (int step = 0; step < 3000; ++step) {
    const int op = static_cast<int>(rng() % 20);
    const int t = static_cast<int>(rng() % 1000);
    const auto& v = values[rng() % std::size(values)];
    if (op < 9) {
      events.Add(t, evtTimeChange, static_cast<std::uint8_t>(v[0]),
                 static_cast<std::uint8_t>(v[1]));
    } else if (op < 12 && events.TimeItemCount() > 0) {
      const int at = 1 + static_cast<int>(rng() % static_cast<unsigned>(events.TimeItemCount()));
      events.Remove(events.TimeItem(at)->EventTime(), evtTimeChange);
    } else if (op < 16 && events.TimeItemCount() > 0) {
      const auto e = events.TimeItem(1 + static_cast<int>(rng() % events.TimeItemCount()));
      e->SetValue1(v[0]);
      e->SetValue2(v[1]);
    } else if (op < 17 && events.TimeItemCount() > 0 && rng() % 8 == 0) {
      events.TimeItem(1 + static_cast<int>(rng() % events.TimeItemCount()))->SetEventTime(t - 100);
    } else if (op == 19 && rng() % 10 == 0) {
      events.RemoveRange(Internal{}, t, t + static_cast<int>(rng() % 200));
    } else if (op == 18 && rng() % 50 == 0) {
      events.Clear();
    }
    for (int probe = 0; probe < 4; ++probe) {
      const int q = static_cast<int>(rng() % 1400) - 200;
      int number = 0, duration = 0;
      events.MeasureInfo(q, number, duration);
      const WalkedMeasure want = ReferenceMeasureInfo(events, q);
      ASSERT_EQ(number, want.number) << "step " << step << " time " << q;
      ASSERT_EQ(duration, want.duration) << "step " << step << " time " << q;
      ASSERT_EQ(events.MeasureStart(q), want.start) << "step " << step << " time " << q;
      const int mesNo = static_cast<int>(rng() % 40) - 2;
      ASSERT_EQ(events.MeasureTime(mesNo), ReferenceMeasureTime(events, mesNo))
          << "step " << step << " measure " << mesNo;
    }
  }
}

TEST(MeasureArithmetic, MeasureStartCountsEachSignatureAsABar) {
  GlobalEvents events;
  AddSignatures(events, {{0, 4, 16}, {96, 3, 16}});  // 3/4 off the 4/4 bar line
  const std::pair<int, int> cases[] = {{0, 0}, {63, 0}, {64, 64}, {95, 64}, {96, 96},
                                       {143, 96}, {144, 144}, {200, 192}, {-1, -64}};
  for (auto [at, start] : cases) EXPECT_EQ(events.MeasureStart(at), start) << at;
}

TEST(GlobalEventsPulse, SnapsToADivisorOfTheFirstMeasure) {
  struct Case {
    int set, want;
  };
  for (auto c : {Case{16, 16}, Case{24, 32}, Case{40, 64}, Case{100, 64}, Case{1, 1}}) {
    GlobalEvents events;
    events.SetPulseValue(c.set);
    EXPECT_EQ(events.PulseValue(), c.want) << c.set;
  }
}

// The default pulse is the opening signature's, whichever lookups ran before and at
// whatever time; a later change of the opening signature is followed until one is set.
TEST(GlobalEventsPulse, TheDefaultDoesNotDependOnEarlierLookups) {
  for (int probe : {-1, 0, 100, 200, 1000}) {
    GlobalEvents events;
    AddSignatures(events, {{0, 6, 8}, {96, 4, 16}, {160, 3, 8}});
    int number = 0, duration = 0;
    if (probe >= 0) events.MeasureInfo(probe, number, duration);
    EXPECT_EQ(events.PulseValue(), 48) << probe;
    events.TimeItem(1)->SetValue1(2);
    events.TimeItem(1)->SetValue2(16);
    EXPECT_EQ(events.PulseValue(), 16) << probe;
  }
  GlobalEvents none;
  EXPECT_EQ(none.PulseValue(), 16);  // no signature counts as 4/4
}

TEST(GlobalEventsPulse, DefaultsToThePulseOfTheOpeningSignatureAndClearForgetsIt) {
  GlobalEvents events;
  events.Add(0, evtTimeChange, 6, 8);
  EXPECT_EQ(events.PulseValue(), 48);
  events.SetPulseValue(-3);  // ignored
  EXPECT_EQ(events.PulseValue(), 48);
  events.Clear();
  events.Add(0, evtTimeChange, 3, 16);
  EXPECT_EQ(events.PulseValue(), 16);  // not the previous document's
}

TEST(GlobalEventValues, ByteValuesIgnoreOutOfRange) {
  GlobalEvents events;
  auto e = events.Add(0, evtText, 7, 9, "t");
  e->SetValue1(256);
  e->SetValue2(-1);
  EXPECT_EQ(e->Value1(), 7);
  EXPECT_EQ(e->Value2(), 9);
  e->SetValue1(255);
  EXPECT_EQ(e->Value1(), 255);
}

TEST(GlobalEventValues, RemovedEventsOutliveTheirList) {
  GlobalEvents::EventPtr held;
  {
    GlobalEvents events;
    held = events.Add(0, evtText);
    events.Clear();
    held->SetEventType(evtLyric);  // no longer tied to the list
  }
  held->SetEventType(evtText);
  EXPECT_EQ(held->EventType(), evtText);
}

}  // namespace
}  // namespace notecraft
