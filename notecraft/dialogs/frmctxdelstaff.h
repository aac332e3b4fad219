#pragma once
// "Delete Staff": how many staves to delete, starting from which ("First", "Last" or a
// staff of the list). Score structure's DelStaff reads it after Ok.

#include "notecraft/core/dialogservice.h"
#include "notecraft/dialogs/promptdialog.h"

class QComboBox;

namespace notecraft {
class Score;
}

namespace notecraft::dialogs {

class frmCTXDelStaff final : public PromptDialog {
  Q_OBJECT

public:
  explicit frmCTXDelStaff(QWidget* parent = nullptr);
  // Lists the score's staves and selects "Last"; quantity 1.
  void Init(Score& score);
  // Selects the entry of staff position staff; nothing changes when the list has none.
  void SetStaff(int staff);
  DeleteStaffAnswer Answer() const;

private:
  QComboBox* cboStaff = nullptr;
};

}  // namespace notecraft::dialogs
