#pragma once
// A mark at one time of the score or of a staff: time signature, key or clef change,
// repeat, section mark, chord symbol, lyric, dynamic, tempo mark, text and so on
// (EventTypes). Created by GlobalEvents::Add; every property is public.

#include <cstdint>
#include <string>

namespace notecraft {

class GlobalEvents;

class GlobalEvent {
public:
  GlobalEvent(int eventTime, int eventType, std::uint8_t value1, std::uint8_t value2,
              std::string text)
      : m_text(std::move(text)), m_eventTime(eventTime), m_eventType(eventType),
        m_value1(value1), m_value2(value2) {}

  // 1-based position in its list, kept up to date by the list.
  int Index() const { return m_index; }
  void SetIndex(int index) { m_index = index; }

  const std::string& Text() const { return m_text; }
  void SetText(std::string text) { m_text = std::move(text); }

  // Changing the time or kind of a listed event does not move it in its list.
  int EventTime() const { return m_eventTime; }
  void SetEventTime(int time);
  int EventType() const { return m_eventType; }
  void SetEventType(int type);

  // Byte values; values outside 0..255 are ignored.
  int Value1() const { return m_value1; }
  void SetValue1(int v) {
    if (v < 0 || v > 255) return;
    m_value1 = static_cast<std::uint8_t>(v);
    if (m_timeList) SignatureChanged();
  }
  int Value2() const { return m_value2; }
  void SetValue2(int v) {
    if (v < 0 || v > 255) return;
    m_value2 = static_cast<std::uint8_t>(v);
    if (m_timeList) SignatureChanged();
  }

private:
  friend class GlobalEvents;
  // A time signature's values or time changed: its list's measure table is stale.
  void SignatureChanged();

  // Widest first, so that no padding falls between: a score holds one event a lyric
  // syllable, hundreds of thousands of them.
  std::string m_text;
  GlobalEvents* m_owner = nullptr;  // non-owning; the list that holds it, or null
  int m_index = 0;
  int m_eventTime = 0;
  int m_eventType = 0;
  std::uint8_t m_value1 = 0;
  std::uint8_t m_value2 = 0;
  bool m_timeList = false;  // held in its owner's time-signature list
};

}  // namespace notecraft
