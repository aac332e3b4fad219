#include "patchrunner/frmupdmain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "webupdate/resultbox.h"

namespace patchrunner {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Critical:
      break;
  }
  return QMessageBox::Critical;
}

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

}  // namespace

frmUPDMain::frmUPDMain(ProductInfo product, ProductUpdater& updater, QWidget* parent)
    : QDialog(parent), m_product(std::move(product)), m_updater(updater) {
  setObjectName(QStringLiteral("frmUPDMain"));
  setWindowTitle(QStringLiteral("Check for Product Updates"));
  m_prompter = [this](const QString& title, const QString& text, MessageIcon icon) {
    webupdate::MakeResultBox(this, title, text, BoxIcon(icon))->exec();
  };
  CreateLabels();
  CreateButtons();
  LayOut();
  if (const QString note = m_updater.RecoverInterrupted(); !note.isEmpty()) {
    lblMessage->setText(note);
  }
  connect(&m_updater, &ProductUpdater::Status, lblMessage, &QLabel::setText);
  connect(&m_updater, &ProductUpdater::Finished, this, &frmUPDMain::OnFinished);
}

void frmUPDMain::CreateLabels() {
  lblName = NamedLabel(this, "lblName", m_product.name);
  QFont bold = lblName->font();
  bold.setBold(true);
  lblName->setFont(bold);
  lblProduct = NamedLabel(this, "lblProduct", m_product.code);
  lblBuild = NamedLabel(this, "lblBuild", m_product.build);
  lblVersion = NamedLabel(this, "lblVersion", VersionCaption(m_product));
  lblBuildLabel = NamedLabel(this, "lblLabel", QStringLiteral("Build:"));
  lblVersionLabel = NamedLabel(this, "lblLabel", QStringLiteral("Version:"));
  lblMessage = NamedLabel(this, "lblMessage",
                          QStringLiteral("You have chosen to search the Quorvane Web site for any "
                                         "product updates and install newer versions as "
                                         "required."));
  lblMessage->setWordWrap(true);
  lblMessage->setMinimumWidth(320);
}

void frmUPDMain::CreateButtons() {
  cmdOk = new QPushButton(QStringLiteral("Continue"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  connect(cmdOk, &QPushButton::clicked, this, &frmUPDMain::OnContinue);
  connect(cmdCancel, &QPushButton::clicked, this, &frmUPDMain::reject);
}

void frmUPDMain::LayOut() {
  auto* values = new QGridLayout;
  values->addWidget(lblProduct, 0, 0, 1, 2);
  values->addWidget(lblBuildLabel, 1, 0);
  values->addWidget(lblBuild, 1, 1);
  values->addWidget(lblVersionLabel, 2, 0);
  values->addWidget(lblVersion, 2, 1);
  values->setColumnStretch(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblName);
  layout->addLayout(values);
  layout->addSpacing(8);
  layout->addWidget(lblMessage, 1);
  layout->addLayout(buttons);
}

void frmUPDMain::OnContinue() {
  if (m_busy || !cmdOk->isEnabled()) return;
  m_busy = true;
  cmdOk->setEnabled(false);
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  m_updater.Run();
}

void frmUPDMain::OnFinished(const UpdateResult& result) {
  QGuiApplication::restoreOverrideCursor();
  m_busy = false;
  cmdCancel->setEnabled(true);
  // Cancelled on the user's word: the window ends as Cancel always ends it, without a message.
  if (m_closeWhenDone && result.kind == UpdateResult::Kind::Cancelled) {
    QDialog::reject();
    return;
  }
  // A pack's own outcome is told while its name still shows; a check's after "Done.".
  if (result.pack.isEmpty()) {
    lblMessage->setText(QStringLiteral("Done."));
    m_prompter(QStringLiteral("Update"), result.text, result.icon);
  } else {
    m_prompter(QStringLiteral("Update"), result.text, result.icon);
    lblMessage->setText(QStringLiteral("Done."));
  }
  if (result.kind == UpdateResult::Kind::AtHighest) cmdCancel->setText(QStringLiteral("Close"));
  if (result.kind == UpdateResult::Kind::Installed) {
    lblVersion->setText(m_product.version + QStringLiteral(" (") + result.pack + u')');
  }
  if (m_closeWhenDone) QDialog::reject();
}

void frmUPDMain::reject() {
  if (!m_busy) {
    QDialog::reject();
    return;
  }
  m_closeWhenDone = true;
  cmdCancel->setEnabled(false);
  lblMessage->setText(QStringLiteral("Cancelling..."));
  m_updater.Cancel();
}

void frmUPDMain::closeEvent(QCloseEvent* event) {
  if (m_busy) {
    // Cancelling ends the run at once and hides the window; the close then goes on, so that
    // the program ends with its window. Hidden inside its own close event, the window would
    // not count as closed, and the program would run on without one.
    reject();
    event->setAccepted(!isVisible());
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace patchrunner
