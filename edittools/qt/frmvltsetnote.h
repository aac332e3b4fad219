#pragma once
// "Set Note Value": a new pitch for the selected notes, either a shift by half-steps up or
// down ("Relative") or a note name and octave ("Absolute"). Ok checks the choice (a refused
// one is explained in a message titled "Set Note" and the dialog stays) and hides the
// dialog; Value() is then the pitch value for Score::ChangeSel.

#include <array>

#include "edittools/core/setnotevalue.h"
#include "edittools/qt/tooldialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace edittools {

class frmVLTSetNote : public ToolDialog {
  Q_OBJECT

public:
  explicit frmVLTSetNote(QWidget* parent = nullptr);

  SetNoteChoice Choice() const;
  // After Ok: a MIDI pitch, 256 + n for n half-steps up, -n down, 0 for no change.
  int Value() const { return CheckSetNote(Choice()).Value; }

  std::array<QRadioButton*, 2> optRelation{};
  QWidget* pctRelative = nullptr;
  std::array<QRadioButton*, 2> optRelative{};
  QLineEdit* txtRelative = nullptr;
  notecraft::dialogs::UpDown* updRelative = nullptr;
  QComboBox* cboNote = nullptr;
  QLineEdit* txtOctave = nullptr;
  notecraft::dialogs::UpDown* updOctave = nullptr;

protected:
  bool CheckOk() override;

private:
  void CreateControls();
  void ArrangeControls();
  void ChooseRelative();
  void ChooseAbsolute();
};

}  // namespace edittools
