#pragma once
// Time-ordered events of the score (Score::AllGlobals) or of one staff, and the measure
// arithmetic of the score.
//
// Two lists: time signatures (evtTimeChange) apart from every other kind. Count, ByIndex
// and iteration cover the other events; TimeItemCount and TimeItem the time signatures.
// Several events may share a time; a new event at such a time goes before the last of them.
// GlobalEvent::Index always equals the event's 1-based position in its list.
//
// Lookups of the last event of one kind at or before a time use a per-kind index of
// positions, so they do not walk back over the many lyric events of a staff. Measure
// lookups use a table built from the time signatures, so a score with a signature in every
// measure costs no more per lookup than one with a single signature.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevent.h"

namespace notecraft {

class Score;
struct Internal;

// Measure length (64ths) and pulse of a time signature (Value1, Value2).
// Common time (0, 0) is 64 with pulse 16; cut time (0, >0) 32 with pulse 16; otherwise
// the length is Value1 x Value2 modulo 256, and a length outside 1..96 counts as 64.
int MeasureLengthOf(int value1, int value2);
int PulseOf(int value1, int value2);

class GlobalEvents {
public:
  using EventPtr = std::shared_ptr<GlobalEvent>;
  using const_iterator = std::vector<EventPtr>::const_iterator;

  GlobalEvents() = default;
  ~GlobalEvents();
  GlobalEvents(const GlobalEvents&) = delete;
  GlobalEvents& operator=(const GlobalEvents&) = delete;

  EventPtr Add(int atTime, int eventType, std::uint8_t value1 = 0, std::uint8_t value2 = 0,
               std::string text = {});
  // Not exact: the last event of the kind at or before AtTime. Exact: the event of the
  // kind at exactly AtTime with the lowest position. evtPlayBack also matches repeat
  // begins, repeat ends and section definitions. With highIX > 0 the search stops at that
  // position and a result beyond it is null.
  EventPtr Find(int atTime, int eventType, bool exact = false, int highIX = 0) const;
  // The event of the kind at exactly AtTime with the lowest position.
  EventPtr Item(int atTime, int eventType) const;
  // Removes the last event of exactly this kind standing at AtTime.
  void Remove(int atTime, int eventType);

  EventPtr ByIndex(int index) const;  // other events, 1-based
  int Count() const { return static_cast<int>(m_events.size()); }
  EventPtr TimeItem(int index) const;  // time signatures, 1-based
  int TimeItemCount() const { return static_cast<int>(m_times.size()); }
  // The other events standing exactly at atTime, in list order.
  std::span<const EventPtr> At(int atTime) const;
  const_iterator begin() const { return m_events.begin(); }
  const_iterator end() const { return m_events.end(); }

  void Clear();

  // Value1 x 128 + Value2 of the time signature in force at AtTime; 0 when none
  // (and for common time).
  int CurTimeVal(int atTime) const;
  int DftTimeVal() const { return CurTimeVal(0); }
  // Sets the time signature at time 0, adding one when there is none.
  void SetDftTimeVal(int value);

  // Measure number (1-based) and length at AtTime. Measures are counted afresh from each
  // time signature's own time.
  void MeasureInfo(int atTime, int& number, int& duration) const;
  // Start of the measure that holds AtTime as MeasureInfo counts: the last bar at or
  // before it, where each time signature stands on a bar of its own.
  int MeasureStart(int atTime) const;
  // Start time of measure MesNo; a signature inside a measure counts from the bar at or
  // before it.
  int MeasureTime(int mesNo) const;

  // The beat used for beaming, in 64ths. Until set, the pulse of the signature in force at
  // time 0, whatever was asked before.
  int PulseValue() const;
  // Snaps to a whole divisor of the first measure's length (64: 16 -> 16, 24 -> 32).
  void SetPulseValue(int value);

  // Library-internal.
  // Deletes the span [from, to) from both lists; later events move back by to - from.
  // The last time, key or clef change inside the span moves to `from` (unless one of the
  // same kind lands there), so the music after the span keeps its signature, key and clef.
  void RemoveRange(Internal, int fromTime, int toTime);
  void SetParent(Internal, Score* score);
  Score* Parent(Internal) const;
  // Room for count more events (a reader that knows how many follow).
  void Reserve(Internal, std::size_t count);

private:
  // The list changed: the score's pages are laid out anew.
  void Edited();
  friend class GlobalEvent;

  using List = std::vector<EventPtr>;
  List& ListFor(int eventType) { return eventType == evtTimeChange ? m_times : m_events; }
  const List& ListFor(int eventType) const {
    return eventType == evtTimeChange ? m_times : m_events;
  }
  static int Search(const List& list, int atTime, int highIX);
  EventPtr FindLastAtOrBefore(const List& list, int upTo, int atTime, int eventType) const;
  static void Renumber(List& list, std::size_t from);
  void InvalidateKinds() { m_kindsValid = false; }
  void InvalidateMeasures() { m_measuresValid = false; }
  // One stretch of music under one time signature (the first from time 0 under 4/4 when
  // no signature stands there), as MeasureInfo and MeasureTime count measures.
  struct MeasureSpan {
    int Time = 0;                // where the signature stands
    std::int64_t Number = 1;     // MeasureInfo's number of the measure starting there
    int Length = 64;
    int Pulse = 16;
    std::int64_t TimeNumber = 1;  // MeasureTime's count once the signature is reached
    std::int64_t TimeStart = 0;   // and the start of that measure
    std::int64_t TimeLength = 64;  // the length MeasureTime stepped with to reach it
  };
  void EnsureMeasures() const;
  const MeasureSpan& SpanAt(int atTime) const;
  int MeasureTimeByWalk(int mesNo) const;
  void EnsureKinds() const;
  void DetachAll();

  List m_events;  // every kind but time signatures
  List m_times;   // time signatures
  int m_pulse = 0;  // 0 = not yet known
  Score* m_parent = nullptr;  // non-owning; cleared when the score ends

  // Positions (0-based) of the other events by kind, ascending; rebuilt when stale.
  mutable std::array<std::vector<int>, kEventTypeCount + 1> m_kindPositions;
  mutable bool m_kindsValid = true;
  // The measure arithmetic per time signature, so that lookups are binary searches;
  // rebuilt when a signature is added, removed or changed.
  mutable std::vector<MeasureSpan> m_spans;
  mutable std::vector<int> m_spanReach;  // the highest signature time up to each span
  mutable bool m_timeCountSorted = true;  // MeasureTime's count grows along the list
  mutable bool m_measuresValid = false;
};

}  // namespace notecraft
