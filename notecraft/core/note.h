#pragma once
// One chord of one voice at one time: distinct pitches sounding together with one
// duration (in 64ths) and one set of NoteFlags. Created only by Notes::Add.

#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace notecraft {

struct Internal;

class Note {
public:
  // Adds a pitch, keeping the chord ascending and distinct; returns its 0-based index.
  // A pitch already present returns its index. Pitches outside 0..127 are not MIDI
  // notes and are ignored (returns -1).
  int AddValue(int value);
  // Removes a pitch; false when it was not in the chord.
  bool RemoveValue(int value);
  // Keeps only the lowest pitch; a note without pitches stays without.
  void SetSingleValue();

  // Pitch at a 0-based index; 0 outside 0..ValueCount()-1.
  int Value(int index) const;
  // Stores value AND 127 at an existing index, without re-sorting (callers loop by
  // index); other indexes are ignored.
  void SetValue(int index, int value);
  int ValueCount() const { return m_count; }
  std::span<const std::uint8_t> Values() const { return {Data(), m_count}; }

  int Duration() const { return m_duration; }
  int Flags() const { return m_flags; }
  int NoteTime() const { return m_noteTime; }

  bool Up() const { return (m_state & kUp) != 0; }
  void SetUp(bool up) { SetState(kUp, up); }
  bool MultiVoice() const { return (m_state & kMultiVoice) != 0; }
  void SetMultiVoice(bool multi) { SetState(kMultiVoice, multi); }

  // Position as last laid out by drawing, in twips.
  int X() const { return m_x; }
  void SetX(int x) { m_x = x; }
  int Y() const { return m_y; }
  void SetY(int y) { m_y = y; }

  // Library-internal. The duration is kept in 1..255 (a byte that never wraps to 0).
  void SetDuration(Internal, int duration);
  void SetFlags(Internal, int flags);
  void SetNoteTime(Internal, int time);

private:
  static constexpr std::uint8_t kUp = 1;
  static constexpr std::uint8_t kMultiVoice = 2;
  void SetState(std::uint8_t bit, bool on) {
    m_state = static_cast<std::uint8_t>(on ? (m_state | bit) : (m_state & ~bit));
  }

  // Pitches, ascending and distinct, kept inside the note up to kInline (almost every
  // chord) and on the heap beyond: a score holds hundreds of thousands of notes.
  static constexpr int kInline = 7;
  const std::uint8_t* Data() const { return m_heap ? m_heap.get() : m_inline.data(); }
  std::uint8_t* Data() { return m_heap ? m_heap.get() : m_inline.data(); }

  std::uint8_t m_duration = 0;
  std::uint8_t m_state = 0;
  std::uint8_t m_count = 0;
  std::uint8_t m_capacity = kInline;
  std::array<std::uint8_t, kInline> m_inline{};
  int m_flags = 0;
  int m_noteTime = 0;
  int m_x = 0;
  int m_y = 0;
  std::unique_ptr<std::uint8_t[]> m_heap;
};

}  // namespace notecraft
