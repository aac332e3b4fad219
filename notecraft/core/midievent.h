#pragma once
// One playback event as a host receives it: a program change, note-on or note-off on one
// MIDI channel at one score time (64ths from the start of the score).
//
// Only the playback stream fills an event; after delivery the host holds the only
// reference (events are handed out as std::shared_ptr) and may rewrite the time and type,
// for instance to shift queued events for a repeat. A default event reads 0 everywhere
// (type midNoOp) with empty text.

#include <array>
#include <string>

#include "notecraft/core/enums.h"

namespace notecraft {

struct Internal;

class MIDIEvent {
public:
  static constexpr int kValueCount = 2;

  int Channel() const { return m_channel; }
  int EventTime() const { return m_eventTime; }
  void SetEventTime(int time) { m_eventTime = time; }
  MIDITypes EventType() const { return m_eventType; }
  void SetEventType(MIDITypes type) { m_eventType = type; }
  // Empty in every event the stream delivers.
  const std::string& Text() const { return m_text; }
  // Data value 0 or 1 (pitch or program, then velocity); 0 for any other index.
  int Value(int index) const;

  // Library-internal.
  void SetChannel(Internal, int channel);
  void SetText(Internal, std::string text);
  // Any index but 0 and 1 is ignored.
  void SetValue(Internal, int index, int value);

private:
  int m_channel = 0;
  int m_eventTime = 0;
  MIDITypes m_eventType = midNoOp;
  std::string m_text;
  std::array<int, kValueCount> m_values{};
};

}  // namespace notecraft
