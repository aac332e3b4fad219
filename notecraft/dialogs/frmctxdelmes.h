#pragma once
// "Delete Measure": how many measures to delete, starting from which measure. Score
// structure's DelMeasure presets the measure and reads both numbers after Ok.

#include "notecraft/core/dialogservice.h"
#include "notecraft/dialogs/promptdialog.h"

namespace notecraft {
class Score;
}

namespace notecraft::dialogs {

class frmCTXDelMes final : public PromptDialog {
  Q_OBJECT

public:
  explicit frmCTXDelMes(QWidget* parent = nullptr);
  // Quantity 1, measure "1".
  void Init(Score& score);
  DeleteMeasureAnswer Answer() const { return {Quantity(), MeasureNumber()}; }
};

}  // namespace notecraft::dialogs
