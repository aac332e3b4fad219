#pragma once
// "Transpose Notes": the range, then either "Change Voice:" (voices and a target key from
// the list of the score's mode) or "Raise"/"Lower" by an amount in keys or half-steps, and
// "Change Key Signatures". Request() is what the tool host is given after Ok.

#include <array>

#include "edittools/core/tooldialogs.h"
#include "edittools/qt/tooldialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace notecraft {
class Score;
}

namespace edittools {

class RangeFrame;

class frmVLTTranspose : public ToolDialog {
  Q_OBJECT

public:
  explicit frmVLTTranspose(QWidget* parent = nullptr);

  // Fills the lists from the score and selects its key; both measure boxes get curMeasure.
  void Init(const notecraft::Score& score, long curMeasure);
  TransposeChoice Choice() const;
  ToolRequest Request() const { return TransposeRequest(Choice()); }

  RangeFrame* fmeRange = nullptr;
  std::array<QRadioButton*, 3> optFunction{};
  QComboBox* cboVoice = nullptr;
  QLabel* lblKeyOf = nullptr;  // lblLabel2, "To Key Of:"
  std::array<QComboBox*, 2> cboKey{};
  QLineEdit* txtQuant = nullptr;
  notecraft::dialogs::UpDown* updQuant = nullptr;
  QWidget* pctInc = nullptr;
  std::array<QRadioButton*, 2> optInc{};
  QCheckBox* chkKey = nullptr;

private:
  void CreateControls();
  void ArrangeControls();
  void ChooseFunction(int index);

  bool m_minor = false;
};

}  // namespace edittools
