#pragma once
// The "Check for Product Updates" window: the product's name, code, build and version, a
// message line, and Continue / Cancel. Opening it undoes a swap that an earlier run left half
// done, and the message line says so. Continue runs one ProductUpdater (once per window); its
// result is shown through the prompter, a QMessageBox unless a test replaces it. Cancel (or
// Close) ends the window; during a run, Cancel and closing the window cancel the transfer and
// the window ends once the run has (a swap itself runs to its end, never cut off halfway).

#include <QDialog>
#include <functional>

#include "patchrunner/productinfo.h"
#include "patchrunner/productupdater.h"

class QLabel;
class QNetworkAccessManager;
class QPushButton;

namespace patchrunner {

class frmUPDMain final : public QDialog {
  Q_OBJECT

public:
  using Prompter = std::function<void(const QString& title, const QString& text, MessageIcon icon)>;

  frmUPDMain(ProductInfo product, ProductUpdater& updater, QWidget* parent = nullptr);

  void SetPrompter(Prompter prompter) { m_prompter = std::move(prompter); }

protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

private:
  void CreateLabels();
  void CreateButtons();
  void LayOut();
  void OnContinue();
  void OnFinished(const UpdateResult& result);

  ProductInfo m_product;
  ProductUpdater& m_updater;
  Prompter m_prompter;
  bool m_busy = false;
  bool m_closeWhenDone = false;

  QLabel* lblName = nullptr;
  QLabel* lblProduct = nullptr;
  QLabel* lblBuild = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblBuildLabel = nullptr;
  QLabel* lblVersionLabel = nullptr;
  QLabel* lblMessage = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace patchrunner
