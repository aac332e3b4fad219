#pragma once
// "Insert Measure": how many measures to insert, before or after which measure. Score
// structure's AddMeasure presets the measure and the side, and reads the answer after Ok.

#include <array>

#include "notecraft/core/dialogservice.h"
#include "notecraft/dialogs/promptdialog.h"

class QRadioButton;

namespace notecraft {
class Score;
}

namespace notecraft::dialogs {

class frmCTXInsMes final : public PromptDialog {
  Q_OBJECT

public:
  explicit frmCTXInsMes(QWidget* parent = nullptr);
  // Quantity 1, measure "1", "Before".
  void Init(Score& score);
  void SetAfter(bool after);
  InsertMeasureAnswer Answer() const;

private:
  std::array<QRadioButton*, 2> optWhere{};
};

}  // namespace notecraft::dialogs
