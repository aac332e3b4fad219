#pragma once
// The "Update Help from Internet" window: the help folder, product name and code, OK and
// Cancel, and a status bar that follows the update. OK runs one HelpUpdater; its result is
// shown through the prompter (a QMessageBox unless a test replaces it; a failure with a
// critical icon, never an information one) and the window then closes, which ends the program.
// While the update runs, Cancel and closing the window stop it at once; the file being fetched
// keeps its old copy.

#include <QDialog>
#include <QMessageBox>
#include <functional>

#include "guidefetch/helpcommandline.h"
#include "guidefetch/helpupdater.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace guidefetch {

class frmHUPMain final : public QDialog {
  Q_OBJECT

public:
  using Prompter =
      std::function<void(const QString& title, const QString& text, QMessageBox::Icon icon)>;

  frmHUPMain(const HelpCommandLine& line, HelpUpdater& updater, QWidget* parent = nullptr);

  void SetPrompter(Prompter prompter) { m_prompter = std::move(prompter); }

protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

private:
  void CreateFields(const HelpCommandLine& line);
  void CreateButtons();
  void LayOut();
  void OnOk();
  void OnCancel();
  void OnFinished(const HelpResult& result);

  HelpUpdater& m_updater;
  Prompter m_prompter;
  bool m_finished = false;

  QLabel* lblPath = nullptr;
  QLabel* lblProduct = nullptr;
  QLabel* lblPrompt = nullptr;
  QLabel* lblIntro = nullptr;
  QLineEdit* txtPath = nullptr;
  QLineEdit* txtName = nullptr;
  QLineEdit* txtProduct = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdCancel = nullptr;
  QStatusBar* sbrMain = nullptr;
};

}  // namespace guidefetch
