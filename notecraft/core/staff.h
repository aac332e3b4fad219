#pragma once
// One printed staff: up to four voices (named by their IDs in the score's voices), its own
// event list for clef and key changes and staff-level marks, and the answers layout asks of
// a staff at a time (clef and key in force, the next clef change, repeat measures, stem
// directions of shared staves). Created only by Staffs.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "notecraft/core/globalevents.h"

namespace notecraft {

class Instrument;
class Score;
class Voice;
struct Internal;

class Staff {
public:
  static constexpr int kMaxVoices = 4;

  Staff();

  // A new voice described "New Voice" playing `instrument` (may be null); null when the staff
  // has four voices already. The first voice gives the staff its instrument's default clef.
  std::shared_ptr<notecraft::Voice> AddVoice(const std::shared_ptr<Instrument>& instrument);
  int Brace() const { return m_brace; }
  // The staff keeps no voices; they stay in the score's voices.
  void Clear() { m_voiceCount = 0; }
  // The clef in force at atTime; remembers where it was found for NextChange.
  int CurClef(int atTime);
  // The key in force at atTime, written for the staff's first instrument: the staff's key
  // change, or the score's key, plus the instrument's transposition, folded into -7..7 by
  // an octave of fifths (6 sharps + 2 is 4 flats).
  int CurKey(int atTime) const;
  int DefaultClef() const { return m_defaultClef; }
  void SetDefaultClef(int clef) { m_defaultClef = clef; }
  const std::string& Description() const { return m_description; }
  void SetDescription(std::string description) { m_description = std::move(description); }
  int Flags() const { return m_flags; }
  // StaffFlags kept modulo 32; negative values are ignored.
  void SetFlags(int flags);
  // 1 (stems up) or 2 (stems down) when another voice of the staff has a note sounding in
  // [startTime, stopTime); 0 otherwise.
  int ForceFlag(int startTime, int stopTime, int curVoice) const;
  notecraft::GlobalEvents& GlobalEvents() { return *m_events; }
  const notecraft::GlobalEvents& GlobalEvents() const { return *m_events; }
  // The instrument group: the stored override, else the first voice's.
  int GroupID() const;
  int GroupType() const;  // the first voice's MIDI program, 0 without voices
  int Index() const { return m_index; }
  int LyricOffset() const { return m_lyricOffset; }
  bool Mute() const { return m_mute; }
  void SetMute(bool mute) { m_mute = mute; }
  // Time of the next clef change after the one CurClef found (from the start of the list
  // when it found none), or -1. The duration is kept for callers; the search is not limited.
  int NextChange(int duration);
  // True when a repeat-measure mark stands at atTime.
  bool SameAsLast(int atTime) const;
  int ScalePct() const { return m_scalePct; }
  void SetScalePct(int pct);  // clamped to 25..100
  bool Selected() const { return m_selected; }
  // Selecting one staff deselects every other staff of the score.
  void SetSelected(bool selected);
  bool ValidVoice(const std::string& id) const;
  int Verses() const { return m_verses; }
  bool Visible() const { return m_visible; }
  void SetVisible(bool visible) { m_visible = visible; }
  // Voice 1..Voices(); null otherwise.
  std::shared_ptr<notecraft::Voice> Voice(int index) const;
  int Voices() const { return m_voiceCount; }

  // Library-internal.
  void SetBrace(Internal, int brace);
  bool BraceOpen(Internal) const;
  void SetBraceOpen(Internal, bool open);
  const std::string& StaffID(Internal) const;
  void SetID(Internal, std::string id);
  void SetIndex(Internal, int index);
  void SetLyricOffset(Internal, int offset);
  void SetVerses(Internal, int verses);  // 0..255
  void SetGroupID(Internal, int group);
  void SetScore(Internal, Score* score);
  Score* Parent(Internal) const;
  // Names a voice of the score by ID in the next slot (file readers); false when full.
  bool AddVoiceID(Internal, const std::string& voiceID);

private:
  int m_brace = 0;
  int m_defaultClef = 0;
  std::string m_description;
  int m_flags = 29;
  const std::shared_ptr<notecraft::GlobalEvents> m_events;  // one list for the staff's life
  int m_groupID = -1;
  bool m_braceOpen = false;
  std::string m_id;
  int m_index = 0;
  bool m_mute = false;
  int m_lastClefPos = 0;  // position of the clef CurClef found, 0 when none
  int m_lyricOffset = 0;
  Score* m_parent = nullptr;  // non-owning; cleared when the score ends
  int m_scalePct = 100;
  bool m_selected = false;
  bool m_visible = true;
  std::uint8_t m_verses = 0;
  std::array<std::string, kMaxVoices> m_voiceIDs;
  int m_voiceCount = 0;
};

}  // namespace notecraft
