#pragma once
// Event-list helpers of event entry by position.

#include <memory>

#include "notecraft/core/globalevents.h"

namespace notecraft {

// The event of type at exactly time that matches: for section marks (evtSectionDefine) the
// given sub-type (value1 for score marks, value2 for octave lines when byValue2), for other
// types any. Null when none.
std::shared_ptr<GlobalEvent> FindExact(const GlobalEvents& list, int time, int type, int value,
                                       bool byValue2);

// Removes exactly that event. The list removes only the last event of a type at a time, so
// the values of the later ones of its type there move up one place first.
void RemoveEvent(GlobalEvents& list, const GlobalEvent& event);

// Merges a request of n steps wider (wider > 0) or narrower (narrower > 0) into a counter
// event that keeps its net steps on one side only (Value1 wider, Value2 narrower). True
// when the event is to go (the steps cancel out).
bool MergeCounter(GlobalEvent& event, int wider, int narrower);

}  // namespace notecraft
