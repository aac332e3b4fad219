#include "notecraft/dialogs/promptdialog.h"

#include <QLabel>
#include <QLineEdit>

#include "notecraft/dialogs/numericfield.h"
#include "notecraft/dialogs/updown.h"

namespace notecraft::dialogs {

namespace {
constexpr int kMaxQuantity = 24;
constexpr int kMaxMeasure = 99999;

std::string Text(const QLineEdit* box) {
  return box ? box->text().toStdString() : std::string();
}
}  // namespace

PromptDialog::PromptDialog(QWidget* parent) : CtxDialog(parent) {}

QLabel* PromptDialog::CreateLabel(int index, const QString& caption) {
  auto* label = new QLabel(caption, this);
  label->setObjectName(QStringLiteral("lblLabel%1").arg(index));
  return label;
}

QLineEdit* PromptDialog::CreateNumberBox(const char* boxName, const char* spinName, int min,
                                         int max, int maxLength, UpDown*& spin) {
  auto* box = new QLineEdit(QStringLiteral("1"), this);
  box->setObjectName(QString::fromLatin1(boxName));
  spin = new UpDown(min, max, this);
  spin->setObjectName(QString::fromLatin1(spinName));
  const int digits = maxLength > 0 ? maxLength : 3;
  box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(digits + 1, u'0')) + 10);
  return box;
}

void PromptDialog::CreateQuantity(int maxLength) {
  txtQuant = CreateNumberBox("txtQuant", "updQuant", 1, kMaxQuantity, maxLength, updQuant);
  MakeNumberBox(txtQuant, maxLength, true, [this] { ValidateQuantity(); });
  connect(updQuant, &UpDown::Stepped, this, [this](int delta) {
    if (!m_flags.Loaded()) return;
    txtQuant->setText(QString::number(StepNumber(Text(txtQuant), delta, updQuant->Range())));
    ValidateQuantity();
  });
}

void PromptDialog::CreateMeasureNumber() {
  txtMesNo = CreateNumberBox("txtMesNo", "updMesNo", 1, kMaxMeasure, 5, updMesNo);
  MakeNumberBox(txtMesNo, 5, true, [this] { ValidateMeasureNumber(); });
  connect(updMesNo, &UpDown::Stepped, this, [this](int delta) {
    if (!m_flags.Loaded()) return;
    txtMesNo->setText(QString::number(StepNumber(Text(txtMesNo), delta, updMesNo->Range())));
    ValidateMeasureNumber();
  });
}

void PromptDialog::ResetBoxes() {
  if (txtQuant) {
    txtQuant->setText(QStringLiteral("1"));
    updQuant->SetValue(1);
  }
  if (txtMesNo) txtMesNo->setText(QStringLiteral("1"));
}

void PromptDialog::ValidateQuantity() {
  if (!txtQuant) return;
  LoadedOff quiet(m_flags);
  // The spin's range is read at each validation: it is the box's range.
  const int n = ValidateNumber(Text(txtQuant), updQuant->Range());
  txtQuant->setText(QString::number(n));
  updQuant->SetValue(n);
}

void PromptDialog::ValidateMeasureNumber() {
  if (!txtMesNo) return;
  LoadedOff quiet(m_flags);
  // Only the lower bound: the box holds five digits at most.
  const int n = std::max(1, LeadingNumber(Text(txtMesNo)));
  txtMesNo->setText(QString::number(n));
}

int PromptDialog::Quantity() const {
  return LeadingNumber(Text(txtQuant));
}

int PromptDialog::MeasureNumber() const {
  return LeadingNumber(Text(txtMesNo));
}

void PromptDialog::SetMeasureNumber(int measure) {
  if (txtMesNo) txtMesNo->setText(QString::number(measure));
}

void PromptDialog::OnOk() {
  ValidateQuantity();
  // A measure number below 1 would reach the caller and shift the score to negative times.
  ValidateMeasureNumber();
  Finish(1);
}

}  // namespace notecraft::dialogs
