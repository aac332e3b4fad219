#pragma once
// The state and rules of the "Staff Properties" dialog apart from its widgets: one staff's
// description, height, mute, visibility and option flags (General page), and per voice the
// instrument category and type, the voice's description and the staff's clef (Instruments
// page); a drum staff edits its eight drum slots instead of separate voices.
//
// The dialog keeps one record per voice. Voices the user adds by raising the count are
// placeholders (records without a voice) until Apply adds them to the staff, so cancelling
// leaves the staff as it was and never touches a real voice. Apply writes the staff and, per
// voice, an instrument of the record's program (shared with other voices of that program).

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "notecraft/dialogs/dialogflags.h"
#include "notecraft/dialogs/promptlists.h"

namespace notecraft {
class Instrument;
class Score;
class Staff;
class Voice;
}  // namespace notecraft

namespace notecraft::dialogs {

class StaffPropsModel {
public:
  static constexpr int kFlagCount = 5;
  static constexpr int kDrumSlots = 8;

  struct VoiceRecord {
    int Category = 0;
    int Value = 0;  // instrument-table row and MIDI program
    std::string Description;
    int DefaultClef = 0;
    int Low = 0, High = 0, Pitch = 0, Offset = 0;
    std::array<int, kDrumSlots> DrumValue{};
    std::array<int, kDrumSlots> DrumCode{};
  };

  // Fills the state from the score's selected staff (staff 1 when none is selected).
  void Init(Score& score);
  // Writes the staff and its voices' instruments; nothing unless modified.
  void Apply(Score& score);
  // Applies, then edits staff index (1..StaffCount).
  void MoveToStaff(Score& score, int index);

  const DialogFlags& Flags() const { return m_flags; }
  bool Modified() const { return m_flags.Modified(); }

  // --- General ---
  bool HasStaff() const { return m_staff != nullptr; }
  int StaffIndex() const { return m_staffIndex; }
  int StaffCount() const { return m_staffCount; }
  const std::string& Description() const { return m_description; }
  void SetDescription(std::string text);
  const std::string& HeightText() const { return m_heightText; }
  void SetHeightText(std::string text);
  // Leaving the height box clamps it to 25..100 %.
  void LeaveHeight();
  bool Mute() const { return m_mute; }
  void SetMute(bool on);
  bool Visible() const { return m_visible; }
  void SetVisible(bool on);
  bool Flag(int index) const { return m_flagBoxes[static_cast<std::size_t>(index)]; }
  void SetFlag(int index, bool on);
  // 1..4; lowering keeps the staff's voices, raising adds a placeholder voice.
  int VoiceCount() const { return static_cast<int>(m_voices.size()); }
  void SetVoiceCount(int count);

  // --- Instruments ---
  int ShownVoice() const { return m_shown; }  // 0-based
  void ShowVoice(int index);
  const VoiceRecord& Record(int index) const {
    return m_records[static_cast<std::size_t>(index & 3)];
  }
  int Category() const { return m_category; }
  void ChooseCategory(int category);
  bool DrumMode() const { return m_category == 9; }
  const std::vector<InstrumentChoice>& Types() const { return m_types; }
  int TypeIndex() const { return m_typeIndex; }
  void ChooseType(int index);
  int DrumSlot() const { return m_drumSlot; }
  int DrumSlotCode(int slot) const { return m_slotCodes[static_cast<std::size_t>(slot & 7)]; }
  void ChooseDrumSlot(int slot);
  int Clef() const { return m_clef; }
  void ChooseClef(int clef);
  const std::string& VoiceText() const { return m_voiceText; }
  void SetVoiceText(std::string text);
  const std::string& LowText() const { return m_lowText; }
  const std::string& HighText() const { return m_highText; }
  const std::string& PitchText() const { return m_pitchText; }
  const std::string& OffsetText() const { return m_offsetText; }

private:
  void MarkModified() { m_flags.SetModified(true); }
  void FillRecord(int index, const std::shared_ptr<Instrument>& instrument,
                  const std::string& voiceDescription);
  void ShowRow(int row);

  DialogFlags m_flags;
  bool m_busy = false;  // refilling the type list: the type and slot handlers do nothing

  std::shared_ptr<Staff> m_staff;
  int m_staffIndex = 0;
  int m_staffCount = 0;
  std::string m_description;
  std::string m_heightText;
  bool m_mute = false;
  bool m_visible = true;
  std::array<bool, kFlagCount> m_flagBoxes{};

  // The voices listed, in order; null entries are placeholders the dialog added.
  std::vector<std::shared_ptr<Voice>> m_voices;
  std::array<VoiceRecord, 4> m_records{};
  int m_shown = -1;
  int m_category = -1;
  int m_listedCategory = -1;
  std::vector<InstrumentChoice> m_types;
  int m_typeIndex = -1;
  std::array<int, kDrumSlots> m_slotCodes{};
  int m_drumSlot = -1;
  int m_clef = -1;
  std::string m_voiceText;
  std::string m_lowText, m_highText, m_pitchText, m_offsetText;
};

}  // namespace notecraft::dialogs
