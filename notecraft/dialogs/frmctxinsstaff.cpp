#include "notecraft/dialogs/frmctxinsstaff.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/staff.h"
#include "notecraft/dialogs/captions.h"
#include "notecraft/dialogs/numericfield.h"
#include "notecraft/dialogs/promptlists.h"
#include "notecraft/dialogs/updown.h"

namespace notecraft::dialogs {

namespace {

QHBoxLayout* Pair(QWidget* box, QWidget* spin) {
  auto* row = new QHBoxLayout;
  row->setSpacing(1);
  row->addWidget(box);
  row->addWidget(spin);
  row->addStretch(1);
  return row;
}

}  // namespace

frmCTXInsStaff::frmCTXInsStaff(QWidget* parent) : PromptDialog(parent) {
  setObjectName(QStringLiteral("frmCTXInsStaff"));
  setWindowTitle(tr("Insert Staff"));
  CreateQuantity(0);
  optWhere[0] = new QRadioButton(tr("Before"), this);
  optWhere[1] = new QRadioButton(tr("or After"), this);
  optWhere[0]->setObjectName(QStringLiteral("optWhere0"));
  optWhere[1]->setObjectName(QStringLiteral("optWhere1"));
  cboStaff = new QComboBox(this);
  cboStaff->setObjectName(QStringLiteral("cboStaff"));
  cboStaff->setMinimumContentsLength(14);

  fmeOptions = new QGroupBox(tr("Options"), this);
  fmeOptions->setObjectName(QStringLiteral("fmeOptions"));
  fmeInstruments = new QGroupBox(tr("Instrument"), fmeOptions);
  fmeInstruments->setObjectName(QStringLiteral("fmeInstruments"));
  cboCategory = new QComboBox(fmeInstruments);
  cboCategory->setObjectName(QStringLiteral("cboCategory"));
  for (int c = catSolo; c < catDrums; ++c)  // no drum staves from here
    cboCategory->addItem(QString::fromUtf8(kCategories[static_cast<std::size_t>(c)].data()));
  cboType = new QComboBox(fmeInstruments);
  cboType->setObjectName(QStringLiteral("cboType"));
  cboType->setMinimumContentsLength(20);
  cboClef = new QComboBox(fmeOptions);
  cboClef->setObjectName(QStringLiteral("cboClef"));
  for (auto clef : kClefs) cboClef->addItem(QString::fromUtf8(clef.data()));
  txtVoices = CreateNumberBox("txtVoices", "updVoices", 1, Staff::kMaxVoices, 1, updVoices);
  MakeNumberBox(txtVoices, 1, true, [this] { ValidateVoices(); });
  connect(updVoices, &UpDown::Stepped, this, [this](int delta) {
    if (!m_flags.Loaded()) return;
    txtVoices->setText(
        QString::number(StepNumber(txtVoices->text().toStdString(), delta, updVoices->Range())));
    ValidateVoices();
  });
  connect(cboCategory, &QComboBox::currentIndexChanged, this, &frmCTXInsStaff::OnCategory);
  connect(cboType, &QComboBox::currentIndexChanged, this, &frmCTXInsStaff::OnType);
  CreateButtons(false);

  auto* instruments = new QGridLayout(fmeInstruments);
  instruments->addWidget(CreateLabel(5, tr("Category")), 0, 0);
  instruments->addWidget(cboCategory, 0, 1);
  instruments->addWidget(CreateLabel(6, tr("Type")), 1, 0);
  instruments->addWidget(cboType, 1, 1);
  auto* options = new QGridLayout(fmeOptions);
  options->addWidget(fmeInstruments, 0, 0, 1, 4);
  options->addWidget(CreateLabel(4, tr("Clef")), 1, 0);
  options->addWidget(cboClef, 1, 1);
  options->addWidget(CreateLabel(3, tr("Voices")), 1, 2);
  options->addLayout(Pair(txtVoices, updVoices), 1, 3);

  auto* where = new QVBoxLayout;
  where->addWidget(optWhere[0]);
  where->addWidget(optWhere[1]);
  auto* top = new QHBoxLayout;
  top->addWidget(CreateLabel(0, tr("Insert")));
  top->addLayout(Pair(txtQuant, updQuant));
  top->addWidget(CreateLabel(1, tr("Staff(s)")));
  top->addLayout(where);
  top->addWidget(CreateLabel(2, tr("Staff")));
  top->addWidget(cboStaff);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);
  buttons->addStretch(1);
  auto* grid = new QGridLayout(this);
  grid->addLayout(top, 0, 0);
  grid->addWidget(fmeOptions, 1, 0);
  grid->addLayout(buttons, 0, 1, 2, 1);
  grid->setSizeConstraint(QLayout::SetFixedSize);
}

void frmCTXInsStaff::Init(Score& score) {
  m_flags.SetLoaded(false);
  cboStaff->clear();
  for (const auto& item : StaffListItems(score)) cboStaff->addItem(QString::fromStdString(item));
  cboStaff->setCurrentIndex(1);
  optWhere[1]->setChecked(true);
  ResetBoxes();
  txtVoices->setText(QStringLiteral("1"));
  updVoices->SetValue(1);
  cboClef->setCurrentIndex(clfTreble);
  if (cboCategory->currentIndex() == catWind)
    OnCategory(catWind);
  else
    cboCategory->setCurrentIndex(catWind);
  m_flags.SetLoaded(true);
}

void frmCTXInsStaff::OnCategory(int category) {
  if (category < 0 || category == m_listedCategory) return;
  m_listedCategory = category;
  cboType->clear();
  for (const auto& choice : InstrumentChoices(category))
    cboType->addItem(QString::fromStdString(choice.Description), choice.Value);
  if (cboType->count() > 0) cboType->setCurrentIndex(0);
  cmdOk->setEnabled(cboType->currentIndex() >= 0);
}

void frmCTXInsStaff::OnType(int index) {
  cmdOk->setEnabled(index >= 0);
  if (index < 0) return;
  const int row = cboType->itemData(index).toInt();
  cboClef->setCurrentIndex(TheCommon().Instruments.Row(row).DefaultClef);
}

void frmCTXInsStaff::ValidateVoices() {
  LoadedOff quiet(m_flags);
  const int n = ValidateNumber(txtVoices->text().toStdString(), updVoices->Range());
  txtVoices->setText(QString::number(n));
  updVoices->SetValue(n);
}

void frmCTXInsStaff::OnOk() {
  if (cboType->currentIndex() < 0) return;  // no instrument for the new staves
  ValidateVoices();
  PromptDialog::OnOk();
}

InsertStaffAnswer frmCTXInsStaff::Answer() const {
  InsertStaffAnswer answer;
  answer.Quantity = Quantity();
  answer.ListIndex = cboStaff->currentIndex();
  answer.ListText = cboStaff->currentText().toStdString();
  answer.After = optWhere[1]->isChecked();
  answer.InstrumentRow = cboType->currentIndex() >= 0 ? cboType->currentData().toInt() : -1;
  answer.Voices = LeadingNumber(txtVoices->text().toStdString());
  answer.Clef = cboClef->currentIndex();
  return answer;
}

}  // namespace notecraft::dialogs
