#include "edittools/qt/tooldialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "edittools/core/setnotevalue.h"
#include "notecraft/dialogs/updown.h"

namespace edittools {

namespace {

MessageShower& Shower() {
  static MessageShower shower = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
  };
  return shower;
}

std::function<void()>& Beeper() {
  static std::function<void()> beeper = [] { QApplication::beep(); };
  return beeper;
}

void MakeOptions(QWidget* parent, std::span<QRadioButton*> options,
                 std::initializer_list<const char*> captions, const QString& name) {
  std::size_t i = 0;
  for (const char* caption : captions) {
    options[i] = new QRadioButton(QString::fromLatin1(caption), parent);
    options[i]->setObjectName(name + QString::number(i));
    ++i;
  }
}

}  // namespace

void SetMessageShower(MessageShower shower) { Shower() = std::move(shower); }

void ShowMessage(QWidget* parent, const QString& title, const QString& text) {
  Shower()(parent, title, text);
}

void SetToolBeeper(std::function<void()> beeper) { Beeper() = std::move(beeper); }

void MakeOptionGroup(QWidget* parent, std::span<QRadioButton*> options,
                     std::initializer_list<const char*> captions, const QString& name) {
  auto* group = new QButtonGroup(parent);
  MakeOptions(parent, options, captions, name);
  for (std::size_t i = 0; i < options.size(); ++i)
    group->addButton(options[i], static_cast<int>(i));
}

void MakeOptionRow(QWidget* row, std::span<QRadioButton*> options,
                   std::initializer_list<const char*> captions, const QString& name) {
  MakeOptions(row, options, captions, name);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QRadioButton* option : options) layout->addWidget(option);
}

void FillList(QComboBox* box, std::span<const char* const> items) {
  for (const char* item : items) box->addItem(QString::fromLatin1(item));
}

ToolDialog::ToolDialog(QWidget* parent) : QDialog(parent) {
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void ToolDialog::CreateButtons() {
  cmdOk = new QPushButton(QStringLiteral("Ok"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  connect(cmdOk, &QPushButton::clicked, this, [this] {
    if (CheckOk()) accept();
  });
  connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ToolDialog::ArrangeBesideButtons(QLayout* controls) {
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);
  buttons->addStretch();
  auto* top = new QHBoxLayout(this);
  top->addLayout(controls);
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);
}

void ToolDialog::MakeNumberBox(QLineEdit* box, notecraft::dialogs::UpDown* spin) {
  static const QRegularExpression kDigits(QStringLiteral("[0-9]*"));
  box->setValidator(new QRegularExpressionValidator(kDigits, box));
  box->setMaxLength(6);
  connect(box, &QLineEdit::inputRejected, this, [] { Beeper()(); });
  box->installEventFilter(this);
  if (!spin) return;
  connect(spin, &notecraft::dialogs::UpDown::Stepped, box, [box, spin](int delta) {
    const int n = spin->Range().Clamp(BoxNumber(box->text().toStdString()) + delta);
    box->setText(QString::number(n));
  });
}

bool ToolDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason)
      QTimer::singleShot(0, box, [box] { box->selectAll(); });
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace edittools
