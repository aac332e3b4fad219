#pragma once
// "Copy/Move Notes": the range, Copy or Move, the source voices, the note filter ("All
// Notes", or the pitches "Above" or "Below" a note in an octave), and the destination
// (staff, measure, voice). Request() is what the tool host is given after Ok.

#include <array>

#include "edittools/core/tooldialogs.h"
#include "edittools/qt/tooldialog.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace notecraft {
class Score;
}

namespace edittools {

class RangeFrame;

class frmVLTCopyMove : public ToolDialog {
  Q_OBJECT

public:
  explicit frmVLTCopyMove(QWidget* parent = nullptr);

  void Init(const notecraft::Score& score, long curMeasure);
  CopyMoveChoice Choice() const;
  ToolRequest Request() const { return CopyMoveRequest(Choice()); }

  RangeFrame* fmeRange = nullptr;
  std::array<QRadioButton*, 2> optFunc{};
  QComboBox* cboVoice = nullptr;
  QCheckBox* chkNotes = nullptr;
  QWidget* pctNotes = nullptr;
  std::array<QRadioButton*, 2> optNotes{};
  QComboBox* cboNote = nullptr;
  QLineEdit* txtOctave = nullptr;
  notecraft::dialogs::UpDown* updOctave = nullptr;
  QGroupBox* fmeTo = nullptr;
  QComboBox* cboTo = nullptr;
  QLineEdit* txtMeasure = nullptr;
  notecraft::dialogs::UpDown* updMeasure = nullptr;
  QComboBox* cboToVoice = nullptr;

private:
  void CreateControls();
  void ArrangeControls();
  // The filter's own controls, usable while "All Notes" is clear.
  void ShowNoteFilter(bool enabled);
};

}  // namespace edittools
