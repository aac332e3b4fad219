#include "guidefetch/frmhupmain.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "webupdate/resultbox.h"

namespace guidefetch {

namespace {

QLabel* Caption(QWidget* parent, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QStringLiteral("lblLabel"));
  label->setWordWrap(true);
  return label;
}

QLineEdit* Field(QWidget* parent, const char* name, const QString& text) {
  auto* field = new QLineEdit(text, parent);
  field->setObjectName(QString::fromLatin1(name));
  // The values come from the caller's command line, already checked.
  field->setReadOnly(true);
  return field;
}

}  // namespace

frmHUPMain::frmHUPMain(const HelpCommandLine& line, HelpUpdater& updater, QWidget* parent)
    : QDialog(parent), m_updater(updater) {
  setObjectName(QStringLiteral("frmHUPMain"));
  setWindowTitle(QStringLiteral("Update Help from Internet"));
  m_prompter = [this](const QString& title, const QString& text, QMessageBox::Icon icon) {
    webupdate::MakeResultBox(this, title, text, icon)->exec();
  };
  CreateFields(line);
  CreateButtons();
  LayOut();
  connect(&m_updater, &HelpUpdater::Status, this,
          [this](const QString& text) { sbrMain->showMessage(text); });
  connect(&m_updater, &HelpUpdater::Finished, this, &frmHUPMain::OnFinished);
}

void frmHUPMain::CreateFields(const HelpCommandLine& line) {
  lblIntro = Caption(this, QStringLiteral("This application will update your help files for the "
                                          "selected product from the Quorvane Software Internet "
                                          "site."));
  lblPath = Caption(this, QStringLiteral("Path to Help Files"));
  lblProduct = Caption(this, QStringLiteral("Product"));
  lblPrompt = Caption(this, QStringLiteral("Press OK to continue or Cancel to keep your current "
                                           "files."));
  txtPath = Field(this, "txtPath", line.helpFolder);
  txtName = Field(this, "txtName", line.productName);
  txtProduct = Field(this, "txtProduct", line.productCode);
  txtPath->setMinimumWidth(320);
  sbrMain = new QStatusBar(this);
  sbrMain->setObjectName(QStringLiteral("sbrMain"));
  sbrMain->setSizeGripEnabled(false);
}

void frmHUPMain::CreateButtons() {
  cmdOk = new QPushButton(QStringLiteral("OK"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  connect(cmdOk, &QPushButton::clicked, this, &frmHUPMain::OnOk);
  connect(cmdCancel, &QPushButton::clicked, this, &frmHUPMain::OnCancel);
}

void frmHUPMain::LayOut() {
  auto* fields = new QGridLayout;
  fields->addWidget(lblPath, 0, 0);
  fields->addWidget(txtPath, 0, 1, 1, 2);
  fields->addWidget(lblProduct, 1, 0);
  fields->addWidget(txtName, 1, 1);
  fields->addWidget(txtProduct, 1, 2);
  fields->setColumnStretch(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblPrompt, 1);
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblIntro);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->addWidget(sbrMain);
}

void frmHUPMain::OnOk() {
  if (m_updater.Busy() || m_finished) return;
  cmdOk->setEnabled(false);
  m_updater.Start();
}

void frmHUPMain::OnCancel() {
  cmdCancel->setEnabled(false);
  if (m_updater.Busy()) {
    m_updater.RequestCancel();
    return;
  }
  m_finished = true;
  done(QDialog::Rejected);
}

void frmHUPMain::OnFinished(const HelpResult& result) {
  m_finished = true;
  sbrMain->clearMessage();
  cmdCancel->setEnabled(false);
  if (!result.detail.isEmpty()) qWarning("guidefetch: %s", qPrintable(result.detail));
  const bool failed =
      result.kind == HelpResult::Kind::ListingFailed || result.kind == HelpResult::Kind::FileFailed;
  m_prompter(QStringLiteral("Update"), result.text,
             failed ? QMessageBox::Critical : QMessageBox::Information);
  done(result.kind == HelpResult::Kind::Completed ? QDialog::Accepted : QDialog::Rejected);
}

void frmHUPMain::reject() {
  // Escape acts as Cancel.
  if (!m_finished) OnCancel();
}

void frmHUPMain::closeEvent(QCloseEvent* event) {
  if (m_updater.Busy()) {
    // Cancelling ends the transfer at once; the result is told and the window hidden. The
    // close then goes on, so that the program ends with its window: hidden inside its own
    // close event, the window would not count as closed.
    OnCancel();
    event->setAccepted(!isVisible());
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace guidefetch
