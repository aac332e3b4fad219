#pragma once
// The base of the insert and delete prompts: the quantity box txtQuant with its spin updQuant
// (1..24), and for the measure prompts the measure box txtMesNo with updMesNo (1..99999).
// Ok validates both boxes, records result 1 and hides the prompt; the caller reads it.

#include <string>

#include "notecraft/dialogs/ctxdialog.h"
#include "notecraft/dialogs/dialogflags.h"

class QGridLayout;
class QLabel;
class QLineEdit;

namespace notecraft::dialogs {

class UpDown;

class PromptDialog : public CtxDialog {
  Q_OBJECT

public:
  explicit PromptDialog(QWidget* parent = nullptr);

  // The numbers the boxes hold now (what the caller reads after Ok).
  int Quantity() const;
  int MeasureNumber() const;
  // The caller's preset of the measure box.
  void SetMeasureNumber(int measure);

protected:
  void OnOk() override;

  // txtQuant (maxLength 0: open) with updQuant.
  void CreateQuantity(int maxLength);
  // txtMesNo (5 characters) with updMesNo.
  void CreateMeasureNumber();
  // A number box with its spin; the spin steps clamp into its range and validate.
  QLineEdit* CreateNumberBox(const char* boxName, const char* spinName, int min, int max,
                             int maxLength, UpDown*& spin);
  QLabel* CreateLabel(int index, const QString& caption);
  // Quantity 1, measure "1" (when there is a measure box): what Init sets.
  void ResetBoxes();

  void ValidateQuantity();
  void ValidateMeasureNumber();

  DialogFlags m_flags;
  QLineEdit* txtQuant = nullptr;
  UpDown* updQuant = nullptr;
  QLineEdit* txtMesNo = nullptr;
  UpDown* updMesNo = nullptr;
};

}  // namespace notecraft::dialogs
