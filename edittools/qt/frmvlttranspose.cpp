#include "edittools/qt/frmvlttranspose.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "edittools/qt/rangeframe.h"
#include "notecraft/core/score.h"
#include "notecraft/dialogs/updown.h"

namespace edittools {

frmVLTTranspose::frmVLTTranspose(QWidget* parent) : ToolDialog(parent) {
  setObjectName(QStringLiteral("frmVLTTranspose"));
  setWindowTitle(QStringLiteral("Transpose Notes"));
  CreateControls();
  CreateButtons();
  ArrangeControls();
  ChooseFunction(0);
}

void frmVLTTranspose::CreateControls() {
  fmeRange = new RangeFrame(
      this,
      [this](QLineEdit* box, notecraft::dialogs::UpDown* spin) { MakeNumberBox(box, spin); },
      RangeFrame::OnSelection::GreyRange);

  MakeOptionGroup(this, optFunction, {"Change Voice:", "Raise", "Lower"},
                  QStringLiteral("optFunction"));
  for (int i = 0; i < 3; ++i)
    connect(optFunction[i], &QRadioButton::clicked, this, [this, i] { ChooseFunction(i); });
  cboVoice = new QComboBox(this);
  cboVoice->setObjectName(QStringLiteral("cboVoice"));
  FillList(cboVoice, VoiceChoiceNames());
  lblKeyOf = new QLabel(QStringLiteral("To Key Of:"), this);
  lblKeyOf->setObjectName(QStringLiteral("lblLabel2"));
  for (int i = 0; i < 2; ++i) {
    cboKey[i] = new QComboBox(this);
    cboKey[i]->setObjectName(QStringLiteral("cboKey%1").arg(i));
  }
  FillList(cboKey[0], MajorKeyNames());
  FillList(cboKey[1], MinorKeyNames());
  cboKey[1]->hide();
  txtQuant = new QLineEdit(this);
  txtQuant->setObjectName(QStringLiteral("txtQuant"));
  updQuant = new notecraft::dialogs::UpDown(0, 99, this);
  updQuant->setObjectName(QStringLiteral("updQuant"));
  MakeNumberBox(txtQuant, updQuant);
  pctInc = new QWidget(this);
  pctInc->setObjectName(QStringLiteral("pctInc"));
  MakeOptionRow(pctInc, optInc, {"Keys", "Half-Steps"}, QStringLiteral("optInc"));
  optInc[0]->setChecked(true);
  chkKey = new QCheckBox(QStringLiteral("Change Key Signatures"), this);
  chkKey->setObjectName(QStringLiteral("chkKey"));
  chkKey->setChecked(true);
}

void frmVLTTranspose::ArrangeControls() {
  auto* grid = new QGridLayout;
  grid->addWidget(optFunction[0], 0, 0);
  grid->addWidget(cboVoice, 0, 1, 1, 2);
  grid->addWidget(lblKeyOf, 1, 0);
  grid->addWidget(cboKey[0], 1, 1, 1, 2);
  grid->addWidget(cboKey[1], 1, 1, 1, 2);
  grid->addWidget(optFunction[1], 2, 0);
  grid->addWidget(optFunction[2], 3, 0);
  grid->addWidget(txtQuant, 2, 1);
  grid->addWidget(updQuant, 2, 2);
  grid->addWidget(pctInc, 3, 1, 1, 2);
  grid->addWidget(chkKey, 4, 0, 1, 3);

  auto* left = new QVBoxLayout;
  left->addWidget(fmeRange);
  left->addLayout(grid);
  ArrangeBesideButtons(left);
}

void frmVLTTranspose::ChooseFunction(int index) {
  optFunction[static_cast<std::size_t>(index)]->setChecked(true);
  const bool toKey = index == 0;
  cboVoice->setEnabled(toKey);
  lblKeyOf->setEnabled(toKey);
  for (auto* list : cboKey) list->setEnabled(toKey);
  txtQuant->setEnabled(!toKey);
  updQuant->setEnabled(!toKey);
  for (auto* b : optInc) b->setEnabled(!toKey);
}

void frmVLTTranspose::Init(const notecraft::Score& score, long curMeasure) {
  fmeRange->Init(score, curMeasure);
  cboVoice->setCurrentIndex(0);
  m_minor = score.Minor();
  QComboBox* shown = cboKey[m_minor ? 1 : 0];
  shown->setCurrentIndex(std::clamp(score.Key(), -7, 7) + 7);
  cboKey[m_minor ? 1 : 0]->show();
  cboKey[m_minor ? 0 : 1]->hide();
}

TransposeChoice frmVLTTranspose::Choice() const {
  TransposeChoice choice;
  choice.Range = fmeRange->Choice();
  choice.Function = optFunction[1]->isChecked() ? 1 : optFunction[2]->isChecked() ? 2 : 0;
  choice.VoiceIndex = std::max(cboVoice->currentIndex(), 0);
  choice.KeyIndex = std::max(cboKey[m_minor ? 1 : 0]->currentIndex(), 0);
  choice.HalfSteps = optInc[1]->isChecked();
  choice.Quant = txtQuant->text().toStdString();
  choice.ChangeKeys = chkKey->isChecked();
  return choice;
}

}  // namespace edittools
