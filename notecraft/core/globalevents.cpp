#include "notecraft/core/globalevents.h"

#include <algorithm>
#include <span>

#include "notecraft/core/internal.h"
#include "notecraft/core/numeric.h"

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
  List& list = ListFor(eventType);
  auto event = std::make_shared<GlobalEvent>(atTime, eventType, value1, value2, std::move(text));
  event->m_owner = this;
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
  List& list = ListFor(eventType);
  for (auto i = UpperBound(list, atTime); i > 0 && list[i - 1]->EventTime() == atTime; --i) {
    if (list[i - 1]->EventType() != eventType) continue;
    list[i - 1]->m_owner = nullptr;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(i - 1));
    Renumber(list, i - 1);
    if (&list == &m_events) InvalidateKinds();
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
  DetachAll();
  m_events.clear();
  m_times.clear();
  m_pulse = 0;
  for (auto& positions : m_kindPositions) positions.clear();
  m_kindsValid = true;
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

void GlobalEvents::MeasureInfo(int atTime, int& number, int& duration) {
  std::int64_t n = 0;
  int length = 64;
  int pulse = 16;
  int previous = 0;
  for (const auto& e : m_times) {
    const int t = e->EventTime();
    if (t > atTime) break;
    n += FloorDiv(static_cast<std::int64_t>(t) - previous, length);
    previous = t;
    length = MeasureLengthOf(e->Value1(), e->Value2());
    pulse = PulseOf(e->Value1(), e->Value2());
  }
  n += FloorDiv(static_cast<std::int64_t>(atTime) - previous, length) + 1;
  number = static_cast<int>(n);
  duration = length;
  if (m_pulse == 0) m_pulse = pulse;
}

int GlobalEvents::MeasureTime(int mesNo) const {
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

int GlobalEvents::PulseValue() {
  if (m_pulse == 0) {
    int number = 0, duration = 0;
    MeasureInfo(0, number, duration);
  }
  return m_pulse;
}

void GlobalEvents::SetPulseValue(int value) {
  if (value < 0) return;
  int number = 0, length = 0;
  MeasureInfo(0, number, length);
  const int m = std::min(length, value);
  m_pulse = m != 0 ? length / (length / m) : 0;
}

void GlobalEvents::SetParent(Internal, Score* score) { m_parent = score; }

Score* GlobalEvents::Parent(Internal) const { return m_parent; }

void GlobalEvents::RemoveRange(Internal, int fromTime, int toTime) {
  if (toTime <= fromTime) return;
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
}

}  // namespace notecraft
