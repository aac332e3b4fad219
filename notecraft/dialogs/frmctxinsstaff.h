#pragma once
// "Insert Staff": how many staves, before or after which staff, with which instrument
// (category, then type), clef and number of voices. Score structure's AddStaff reads it
// after Ok. Ok is disabled while no instrument type is chosen.

#include <array>

#include "notecraft/core/dialogservice.h"
#include "notecraft/dialogs/promptdialog.h"

class QComboBox;
class QGroupBox;
class QRadioButton;

namespace notecraft {
class Score;
}

namespace notecraft::dialogs {

class frmCTXInsStaff final : public PromptDialog {
  Q_OBJECT

public:
  explicit frmCTXInsStaff(QWidget* parent = nullptr);
  // Lists the staves; "Last", "or After", quantity 1, voices 1, "Treble", category "Wind".
  void Init(Score& score);
  InsertStaffAnswer Answer() const;

protected:
  void OnOk() override;

private:
  void OnCategory(int category);
  void OnType(int index);
  void ValidateVoices();

  int m_listedCategory = -1;  // the category cboType lists
  std::array<QRadioButton*, 2> optWhere{};
  QComboBox* cboStaff = nullptr;
  QGroupBox* fmeOptions = nullptr;
  QGroupBox* fmeInstruments = nullptr;
  QComboBox* cboCategory = nullptr;
  QComboBox* cboType = nullptr;
  QComboBox* cboClef = nullptr;
  QLineEdit* txtVoices = nullptr;
  UpDown* updVoices = nullptr;
};

}  // namespace notecraft::dialogs
