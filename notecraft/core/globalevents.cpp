#include "notecraft/core/globalevents.h"

#include <algorithm>
#include <limits>
#include <span>

#include "notecraft/core/internal.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"

namespace notecraft {

namespace {

using EventPtr = GlobalEvents::EventPtr;

bool KindMatches(int wanted, int kind) {
  if (kind == wanted) return true;
  return wanted == evtPlayBack &&
         (kind == evtRepeatBegin || kind == evtRepeatEnd || kind == evtSectionDefine);
}

std::size_t LowerBound(const std::vector<EventPtr>& list, int t) {
  return static_cast<std::size_t>(
      std::lower_bound(list.begin(), list.end(), t,
                       [](const EventPtr& e, int v) { return e->EventTime() < v; }) -
      list.begin());
}

std::size_t UpperBound(const std::vector<EventPtr>& list, int t) {
  return static_cast<std::size_t>(
      std::upper_bound(list.begin(), list.end(), t,
                       [](int v, const EventPtr& e) { return v < e->EventTime(); }) -
      list.begin());
}

}  // namespace

int MeasureLengthOf(int value1, int value2) {
  if (value1 == 0) return value2 == 0 ? 64 : 32;
  int m = (value1 * value2) % 256;
  return (m >= 1 && m <= 96) ? m : 64;
}

int PulseOf(int value1, int value2) {
  if (value1 == 0) return 16;
  int m = (value1 * value2) % 256;
  if (m < 1 || m > 96) return 16;
  if (value1 == 9) return static_cast<int>(RoundHalfEven(m / 3.0));
  if (value1 == 6) return m;
  return static_cast<int>(RoundHalfEven(static_cast<double>(m) / value1));
}

GlobalEvents::~GlobalEvents() { DetachAll(); }

void GlobalEvents::DetachAll() {
  for (auto& e : m_events) e->m_owner = nullptr;
  for (auto& e : m_times) e->m_owner = nullptr;
}

// Position (1-based) of the last event at atTime, else of the first event after it, else
// Count + 1. With 0 < highIX <= Count + 1 only positions below highIX are searched and
// highIX stands for "none"; a run of events at atTime is still followed to its end.
int GlobalEvents::Search(const List& list, int atTime, int highIX) {
  int upper = static_cast<int>(list.size()) + 1;
  if (highIX > 0 && highIX <= upper) upper = highIX;
  std::size_t lb = LowerBound(list, atTime);
  if (static_cast<int>(lb) >= upper - 1) return upper;
  if (list[lb]->EventTime() == atTime) return static_cast<int>(UpperBound(list, atTime));
  return static_cast<int>(lb) + 1;
}

void GlobalEvents::Renumber(List& list, std::size_t from) {
  for (std::size_t i = from; i < list.size(); ++i) list[i]->m_index = static_cast<int>(i) + 1;
}

void GlobalEvents::EnsureKinds() const {
  if (m_kindsValid) return;
  for (auto& positions : m_kindPositions) positions.clear();
  for (std::size_t i = 0; i < m_events.size(); ++i) {
    int kind = m_events[i]->EventType();
    if (kind >= 0 && kind <= kEventTypeCount)
      m_kindPositions[static_cast<std::size_t>(kind)].push_back(static_cast<int>(i));
  }
  m_kindsValid = true;
}

EventPtr GlobalEvents::Add(int atTime, int eventType, std::uint8_t value1, std::uint8_t value2,
                           std::string text) {
  Edited();
  List& list = ListFor(eventType);
  auto event = std::make_shared<GlobalEvent>(atTime, eventType, value1, value2, std::move(text));
  event->m_owner = this;
  event->m_timeList = &list == &m_times;
  if (event->m_timeList) InvalidateMeasures();
  auto index = static_cast<std::size_t>(Search(list, atTime, 0) - 1);
  const bool append = index >= list.size();
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), event);
  Renumber(list, index);
  if (&list == &m_events) {
    if (!append)
      InvalidateKinds();
    else if (m_kindsValid && eventType >= 0 && eventType <= kEventTypeCount)
      m_kindPositions[static_cast<std::size_t>(eventType)].push_back(static_cast<int>(index));
  }
  return event;
}

// The last event of a matching kind at a position up to `upTo` (1-based) and at or before
// atTime. Only the event at upTo itself can stand after atTime (see Search).
EventPtr GlobalEvents::FindLastAtOrBefore(const List& list, int upTo, int atTime,
                                          int eventType) const {
  auto fits = [&](int pos0) { return list[static_cast<std::size_t>(pos0)]->EventTime() <= atTime; };
  const bool indexed = &list == &m_events && eventType >= 1 && eventType <= kEventTypeCount;
  if (!indexed) {
    for (int i = upTo - 1; i >= 0; --i)
      if (fits(i) && KindMatches(eventType, list[static_cast<std::size_t>(i)]->EventType()))
        return list[static_cast<std::size_t>(i)];
    return nullptr;
  }
  EnsureKinds();
  static constexpr int kPlayBackKinds[] = {evtRepeatBegin, evtRepeatEnd, evtSectionDefine,
                                           evtPlayBack};
  const int single[] = {eventType};
  std::span<const int> kinds = eventType == evtPlayBack ? std::span<const int>(kPlayBackKinds)
                                                        : std::span<const int>(single);
  int best = -1;
  for (int kind : kinds) {
    const auto& positions = m_kindPositions[static_cast<std::size_t>(kind)];
    auto it = std::upper_bound(positions.begin(), positions.end(), upTo - 1);
    while (it != positions.begin()) {
      --it;
      if (fits(*it)) {
        best = std::max(best, *it);
        break;
      }
    }
  }
  return best < 0 ? nullptr : list[static_cast<std::size_t>(best)];
}

EventPtr GlobalEvents::Find(int atTime, int eventType, bool exact, int highIX) const {
  const List& list = ListFor(eventType);
  const int upTo = std::min(Search(list, atTime, highIX), static_cast<int>(list.size()));
  EventPtr result;
  if (!exact) {
    result = FindLastAtOrBefore(list, upTo, atTime, eventType);
  } else {
    for (auto i = LowerBound(list, atTime); static_cast<int>(i) < upTo; ++i) {
      if (list[i]->EventTime() != atTime) break;
      if (KindMatches(eventType, list[i]->EventType())) {
        result = list[i];
        break;
      }
    }
  }
  if (result && highIX > 0 && result->Index() > highIX) return nullptr;
  return result;
}

EventPtr GlobalEvents::Item(int atTime, int eventType) const {
  const List& list = ListFor(eventType);
  for (auto i = LowerBound(list, atTime); i < list.size() && list[i]->EventTime() == atTime; ++i)
    if (list[i]->EventType() == eventType) return list[i];
  return nullptr;
}

void GlobalEvents::Remove(int atTime, int eventType) {
  Edited();
  List& list = ListFor(eventType);
  for (auto i = UpperBound(list, atTime); i > 0 && list[i - 1]->EventTime() == atTime; --i) {
    if (list[i - 1]->EventType() != eventType) continue;
    list[i - 1]->m_owner = nullptr;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(i - 1));
    Renumber(list, i - 1);
    if (&list == &m_events) InvalidateKinds();
    else InvalidateMeasures();
    return;
  }
}

std::span<const EventPtr> GlobalEvents::At(int atTime) const {
  const std::size_t first = LowerBound(m_events, atTime);
  const std::size_t last = UpperBound(m_events, atTime);
  return std::span<const EventPtr>(m_events.data() + first, last - first);
}

EventPtr GlobalEvents::ByIndex(int index) const {
  if (index < 1 || index > Count()) return nullptr;
  return m_events[static_cast<std::size_t>(index - 1)];
}

EventPtr GlobalEvents::TimeItem(int index) const {
  if (index < 1 || index > TimeItemCount()) return nullptr;
  return m_times[static_cast<std::size_t>(index - 1)];
}

void GlobalEvents::Clear() {
  Edited();
  DetachAll();
  m_events.clear();
  m_times.clear();
  m_pulse = 0;
  for (auto& positions : m_kindPositions) positions.clear();
  m_kindsValid = true;
  InvalidateMeasures();
  // The score's key stands as the key event at time 0 of its own list as well.
  if (m_parent && &m_parent->AllGlobals() == this) m_parent->ScoreEventsCleared(Internal{});
}

int GlobalEvents::CurTimeVal(int atTime) const {
  auto e = Find(atTime, evtTimeChange);
  return e ? e->Value1() * 128 + e->Value2() : 0;
}

void GlobalEvents::SetDftTimeVal(int value) {
  if (value < 0 || value > 255 * 128 + 127) return;
  auto e = Find(0, evtTimeChange, true);
  if (!e) e = Add(0, evtTimeChange);
  e->SetValue1(value / 128);
  e->SetValue2(value % 128);
}

// One pass over the signatures, in list order, carrying both counts: MeasureInfo's
// (measures afresh from each signature) and MeasureTime's (a signature inside a measure
// takes effect from that measure's start).
void GlobalEvents::EnsureMeasures() const {
  if (m_measuresValid) return;
  m_spans.clear();
  m_spans.reserve(m_times.size());
  m_spanReach.clear();
  m_spanReach.reserve(m_times.size());
  m_timeCountSorted = true;
  MeasureSpan previous;  // 4/4 from time 0 until the first signature
  int reach = std::numeric_limits<int>::min();
  for (const auto& e : m_times) {
    MeasureSpan span;
    span.Time = e->EventTime();
    span.Number = previous.Number +
                  FloorDiv(static_cast<std::int64_t>(span.Time) - previous.Time, previous.Length);
    span.Length = MeasureLengthOf(e->Value1(), e->Value2());
    span.Pulse = PulseOf(e->Value1(), e->Value2());
    const std::int64_t k = (span.Time - previous.TimeStart) / previous.Length;  // truncated
    if (k < 0 || span.Time < reach) m_timeCountSorted = false;
    span.TimeNumber = previous.TimeNumber + k;
    span.TimeStart = previous.TimeStart + k * previous.Length;
    span.TimeLength = previous.Length;
    reach = std::max(reach, span.Time);
    m_spanReach.push_back(reach);
    m_spans.push_back(span);
    previous = span;
  }
  m_measuresValid = true;
}

// The span in force at atTime: the signatures are taken in list order up to the first that
// stands after atTime (the highest time so far decides, so a list left out of order by
// SetEventTime reads as a walk over it would).
const GlobalEvents::MeasureSpan& GlobalEvents::SpanAt(int atTime) const {
  static const MeasureSpan kBefore;
  EnsureMeasures();
  const auto after = std::upper_bound(m_spanReach.begin(), m_spanReach.end(), atTime);
  if (after == m_spanReach.begin()) return kBefore;
  return m_spans[static_cast<std::size_t>(after - m_spanReach.begin()) - 1];
}

void GlobalEvents::MeasureInfo(int atTime, int& number, int& duration) const {
  const MeasureSpan& span = SpanAt(atTime);
  number = static_cast<int>(
      span.Number + FloorDiv(static_cast<std::int64_t>(atTime) - span.Time, span.Length));
  duration = span.Length;
}

int GlobalEvents::MeasureStart(int atTime) const {
  const MeasureSpan& span = SpanAt(atTime);
  const std::int64_t bars = FloorDiv(static_cast<std::int64_t>(atTime) - span.Time, span.Length);
  return static_cast<int>(span.Time + bars * span.Length);
}

int GlobalEvents::MeasureTime(int mesNo) const {
  EnsureMeasures();
  if (!m_timeCountSorted) return MeasureTimeByWalk(mesNo);
  // The count reaches MesNo at the first signature whose count is at least MesNo, and the
  // measure lies before it; after the last signature, measures run on at its length.
  const auto reached = std::lower_bound(
      m_spans.begin(), m_spans.end(), static_cast<std::int64_t>(mesNo),
      [](const MeasureSpan& span, std::int64_t n) { return span.TimeNumber < n; });
  std::int64_t t = 0;
  if (reached != m_spans.end()) {
    t = reached->TimeStart - (reached->TimeNumber - mesNo) * reached->TimeLength;
  } else if (m_spans.empty()) {
    t = mesNo > 1 ? static_cast<std::int64_t>(mesNo - 1) * 64 : 0;
  } else {
    const MeasureSpan& last = m_spans.back();
    t = last.TimeStart + (mesNo - last.TimeNumber) * last.Length;
  }
  return static_cast<int>(t);
}

// The walk MeasureTime's table stands for; used as it stands when signatures are out of
// time order or before time 0, where the table's count would not grow with the list.
int GlobalEvents::MeasureTimeByWalk(int mesNo) const {
  std::int64_t n = 1;
  std::int64_t length = 64;
  std::int64_t t = 0;
  for (const auto& e : m_times) {
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

int GlobalEvents::PulseValue() const { return m_pulse != 0 ? m_pulse : SpanAt(0).Pulse; }

void GlobalEvents::SetPulseValue(int value) {
  if (value < 0) return;
  Edited();
  const int length = SpanAt(0).Length;
  const int m = std::min(length, value);
  m_pulse = m != 0 ? length / (length / m) : 0;
}

void GlobalEvents::SetParent(Internal, Score* score) { m_parent = score; }

void GlobalEvents::Reserve(Internal, std::size_t count) { m_events.reserve(m_events.size() + count); }

Score* GlobalEvents::Parent(Internal) const { return m_parent; }

void GlobalEvents::Edited() {
  if (m_parent) m_parent->ContentEdited(Internal{});
}

void GlobalEvents::RemoveRange(Internal, int fromTime, int toTime) {
  if (toTime <= fromTime) return;
  Edited();
  const int shift = toTime - fromTime;
  auto removeFrom = [&](List& list, std::initializer_list<int> keptKinds) {
    // The change of each kept kind that is in force at toTime, when it lies in the span
    // and no change of the same kind stands at toTime, moves to fromTime.
    std::vector<const GlobalEvent*> kept;
    for (int kind : keptKinds) {
      const GlobalEvent* last = nullptr;
      bool atTo = false;
      for (const auto& e : list) {
        if (e->EventType() != kind) continue;
        if (e->EventTime() >= fromTime && e->EventTime() < toTime) last = e.get();
        if (e->EventTime() == toTime) atTo = true;
      }
      if (last && !atTo) kept.push_back(last);
    }
    List result;
    result.reserve(list.size());
    for (auto& e : list) {
      const int t = e->EventTime();
      if (t >= toTime) {
        e->m_eventTime = t - shift;
      } else if (t >= fromTime) {
        if (std::find(kept.begin(), kept.end(), e.get()) == kept.end()) {
          e->m_owner = nullptr;
          continue;
        }
        e->m_eventTime = fromTime;
      }
      result.push_back(std::move(e));
    }
    list = std::move(result);
    Renumber(list, 0);
  };
  removeFrom(m_events, {evtKeyChange, evtClefChange});
  removeFrom(m_times, {evtTimeChange});
  InvalidateKinds();
  InvalidateMeasures();
}

}  // namespace notecraft
