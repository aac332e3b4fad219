#pragma once
// What the editor's Set Note, Transpose and Copy/Move dialogs share: Ok (default) and
// Cancel, number boxes with their spin controls, and the message box of a refused value.
// Ok checks (CheckOk) and hides the dialog with Accepted, so the caller reads its controls.

#include <QDialog>
#include <functional>
#include <initializer_list>
#include <span>

class QComboBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace notecraft::dialogs {
class UpDown;
}

namespace edittools {

// Shows a refused value's message (an exclamation box); tests replace it.
using MessageShower = std::function<void(QWidget* parent, const QString& title, const QString& text)>;
void SetMessageShower(MessageShower shower);
void ShowMessage(QWidget* parent, const QString& title, const QString& text);
// The beep of a dropped key; tests count beeps through it.
void SetToolBeeper(std::function<void()> beeper);

// Options captioned in order and named name0, name1, ..., in one new exclusive group whose
// ids are their positions.
void MakeOptionGroup(QWidget* parent, std::span<QRadioButton*> options,
                     std::initializer_list<const char*> captions, const QString& name);
// Options captioned in order and named name0, name1, ..., side by side filling row.
void MakeOptionRow(QWidget* row, std::span<QRadioButton*> options,
                   std::initializer_list<const char*> captions, const QString& name);
void FillList(QComboBox* box, std::span<const char* const> items);

class ToolDialog : public QDialog {
  Q_OBJECT

public:
  explicit ToolDialog(QWidget* parent = nullptr);

  QPushButton* OkButton() const { return cmdOk; }
  QPushButton* CancelButton() const { return cmdCancel; }

protected:
  void CreateButtons();
  // The dialog's layout: controls on the left, Ok and Cancel at the top on the right, at the
  // size they need.
  void ArrangeBesideButtons(QLayout* controls);
  // Whether Ok may close the dialog; the default accepts.
  virtual bool CheckOk() { return true; }
  // A number box that takes digits only (typed or pasted; other keys beep), selects its
  // text on keyboard focus, and steps with spin within its limits.
  void MakeNumberBox(QLineEdit* box, notecraft::dialogs::UpDown* spin);
  bool eventFilter(QObject* watched, QEvent* event) override;

  QPushButton* cmdOk = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace edittools
