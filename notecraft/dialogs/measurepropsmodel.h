#pragma once
// The state and rules of the "Measure Properties" dialog apart from its widgets: what stands
// at the start of one measure (bar marks, section marks, an ending), what is in force there
// (the time signature with its pulse, and the staff's key and clef, whether they change at
// this measure or earlier), the interlocks of the three check-box groups, Clear and Restore,
// moving to another measure or staff, and Apply, which writes exactly what the controls show
// at the measure start (with undo records).
//
// Each group (bars, key, misc for the ending, sections, time, clef) has a change flag; Apply
// writes only the groups changed since the last Apply. A key, clef or time signature chosen
// where none changes is written only when it differs from the one in force. The form mirrors
// this state.

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "notecraft/dialogs/dialogflags.h"

namespace notecraft {
class Score;
class Staff;
}  // namespace notecraft

namespace notecraft::dialogs {

class MeasurePropsModel {
public:
  enum Group { kBars, kSections, kMisc };
  enum ChangeFlag {
    kBarsChanged,
    kKeyChanged,
    kMiscChanged,
    kSectionsChanged,
    kTimeChanged,
    kClefChanged
  };
  struct Box {
    bool Checked = false;
    bool Enabled = true;
  };

  // Fills the state from the score's selected measure and staff (staff 1 when none).
  void Init(Score& score);
  // Makes the dialog's measure the score's selected measure, then writes the changed groups
  // (nothing unless modified).
  void Apply(Score& score);

  const DialogFlags& Flags() const { return m_flags; }
  bool Modified() const { return m_flags.Modified(); }
  bool GroupChanged(ChangeFlag flag) const { return m_changed[flag]; }

  // --- Measure and staff ---
  int Measure() const { return m_measure; }
  int MeasureStart() const { return m_measureTime; }
  const std::string& MeasureText() const { return m_measureText; }
  void SetMeasureText(std::string text) { m_measureText = std::move(text); }
  // Leaving the number box: goes to the measure it names (at least 1, and one that exists),
  // applying first.
  void LeaveMeasureNumber(Score& score);
  void StepMeasure(Score& score, int delta);
  bool HasStaff() const { return m_staff != nullptr; }
  int StaffIndex() const { return m_staffIndex; }
  int StaffCount() const { return m_staffCount; }
  const std::string& StaffDescription() const { return m_staffDescription; }
  // Applies, then shows staff index (1..StaffCount).
  void MoveToStaff(Score& score, int index);

  // --- Bars, Sections, Misc ---
  const Box& Boxes(Group group, int index) const;
  // A click on a box (or a change from code): the group's interlocks.
  void Toggle(Group group, int index, bool checked);
  const std::string& EndingText() const { return m_endingText; }
  bool EndingEnabled() const { return m_endingEnabled; }
  void SetEndingText(std::string text);
  const std::string& RestText() const { return m_restText; }
  bool RestEnabled() const { return m_restEnabled; }
  void SetRestText(std::string text) { m_restText = std::move(text); }

  // --- Key: positions 0..14 stand for -7..7; -1 for none. Both lists show the key (a major
  // key and its relative minor share a position); MinorList names the one in use. ---
  bool MinorList() const { return m_minorList; }
  int MajorPosition() const { return m_keyPosition[0]; }
  int MinorPosition() const { return m_keyPosition[1]; }
  bool KeyClearEnabled() const { return m_keyClearEnabled; }
  void ChooseKey(bool minorList, int position);
  void SetMinorList(bool minor);
  void ClearKey();

  // --- Clef (ClefTypes) in force on the staff at the measure start; -1 for none shown ---
  int Clef() const { return m_clef; }
  void ChooseClef(int clef);

  // --- Time signature: options 0..9 (kTimeTags); -1 for none ---
  int TimeOption() const { return m_timeOption; }
  const std::string& TimeText(int i) const { return m_timeText[i != 0 ? 1 : 0]; }
  bool TimeTextEnabled() const { return m_timeTextEnabled; }
  const std::string& PulseText() const { return m_pulseText; }
  const std::string& ClearRestCaption() const { return m_clearRestCaption; }
  bool ClearRestEnabled() const { return m_clearRestEnabled; }
  void ChooseTime(int option);
  void SetTimeText(int i, std::string text);
  void SetPulseText(std::string text);
  void ClearRestore();

private:
  void MarkModified(std::optional<ChangeFlag> group = std::nullopt);
  void LoadGroups(Score& score);
  void LoadChanges(Score& score);
  void ShowTimeValue(int value);
  void SelectTime(int option);
  void RefreshEnabled(Group group);
  void GoToMeasure(Score& score, int measure, int time);
  void StoreMeasure(Score& score);

  DialogFlags m_flags;
  std::array<bool, 6> m_changed{};

  std::shared_ptr<Staff> m_staff;
  int m_staffIndex = 0;
  int m_staffCount = 0;
  std::string m_staffDescription;
  int m_measure = 1;
  int m_measureTime = 0;
  std::string m_measureText = "1";

  std::array<std::array<Box, 4>, 3> m_boxes{};
  std::string m_endingText;
  bool m_endingEnabled = false;
  std::string m_restText;
  bool m_restEnabled = false;

  bool m_minorList = false;
  std::array<int, 2> m_keyPosition{-1, -1};
  bool m_keyClearEnabled = false;

  int m_clef = -1;

  int m_timeOption = -1;
  std::array<std::string, 2> m_timeText;
  bool m_timeTextEnabled = false;
  std::string m_pulseText;
  std::string m_clearRestCaption = "Clear";
  bool m_clearRestEnabled = false;
  // The time value standing at the measure when loaded or last written; none when no time
  // change stands there (a common-time choice, 0, must still be written).
  std::optional<int> m_timeValue;
  // The value Restore goes back to: the time signature loaded with the measure, standing
  // there or in force from an earlier measure.
  std::optional<int> m_restoreValue;
  std::string m_restorePulse;
};

}  // namespace notecraft::dialogs
