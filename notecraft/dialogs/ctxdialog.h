#pragma once
// What the score library's seven dialogs share: the process-wide dialog result (5 while a
// dialog is up, 1 after Ok, 2 after Cancel or Escape; closing the window leaves 5), the Ok,
// Cancel and Apply buttons, placement in screen twips, number boxes (key filter with a beep,
// validation on Enter and on leaving the box) and select-all when a text box gets the focus
// by keyboard.
//
// Prompts hide on Ok so their caller can read them; property dialogs apply on Ok. Either way
// exec() returns the result code.

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

class QFont;
class QLineEdit;
class QPushButton;

namespace notecraft::dialogs {

// The beep of a dropped key; tests count beeps through it. The default is QApplication::beep.
using Beeper = std::function<void()>;
void SetBeeper(Beeper beeper);
void Beep();

// The font dialog, replaceable by tests: the chosen font, or nothing when cancelled.
using FontPicker = std::function<std::optional<QFont>(const QFont& initial, QWidget* parent)>;
void SetFontPicker(FontPicker picker);
std::optional<QFont> PickFont(const QFont& initial, QWidget* parent);

class CtxDialog : public QDialog {
  Q_OBJECT

public:
  explicit CtxDialog(QWidget* parent = nullptr);

  // Moves the dialog to left/top (screen twips, used as given), else centres it on the
  // screen: half the free width across, 0.42 of the free height down.
  void PlaceAt(std::optional<int> leftTwips, std::optional<int> topTwips);

  QPushButton* OkButton() const { return cmdOk; }
  QPushButton* CancelButton() const { return cmdCancel; }
  QPushButton* ApplyButton() const { return cmdApply; }

public slots:
  void reject() override;  // Escape: as Cancel

protected:
  // Ok "Ok" (default), Cancel "Cancel", and for property dialogs a disabled "&Apply".
  void CreateButtons(bool withApply);
  virtual void OnOk() = 0;
  virtual void OnCancel();
  virtual void OnApply() {}
  // Ends the dialog with code, recorded as the dialog result unless it is 5.
  void Finish(int code);

  // A number box: characters other than digits and Backspace beep and are dropped when
  // filtered; Enter and leaving the box run validate. maxLength 0 leaves the length open.
  void MakeNumberBox(QLineEdit* box, int maxLength, bool filtered, std::function<void()> validate);
  // A text box selects its whole text when it gets the focus other than by the mouse.
  void SelectAllOnKeyboardFocus(QLineEdit* box);
  // Runs the validation of the number box that has the focus (Ok must: Enter does not move
  // the focus).
  void ValidateFocusedBox();

  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

  QPushButton* cmdOk = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdApply = nullptr;

private:
  struct NumberBox {
    QLineEdit* box;
    bool filtered;
    std::function<void()> validate;
  };
  const NumberBox* Find(QObject* box) const;
  std::vector<NumberBox> m_numberBoxes;
};

}  // namespace notecraft::dialogs
