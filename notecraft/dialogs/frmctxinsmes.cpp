#include "notecraft/dialogs/frmctxinsmes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "notecraft/dialogs/updown.h"

namespace notecraft::dialogs {

frmCTXInsMes::frmCTXInsMes(QWidget* parent) : PromptDialog(parent) {
  setObjectName(QStringLiteral("frmCTXInsMes"));
  setWindowTitle(tr("Insert Measure"));
  CreateQuantity(0);
  CreateMeasureNumber();
  optWhere[0] = new QRadioButton(tr("Before"), this);
  optWhere[1] = new QRadioButton(tr("or After"), this);
  optWhere[0]->setObjectName(QStringLiteral("optWhere0"));
  optWhere[1]->setObjectName(QStringLiteral("optWhere1"));
  optWhere[0]->setChecked(true);
  CreateButtons(false);

  auto pair = [](QWidget* box, QWidget* spin) {
    auto* row = new QHBoxLayout;
    row->setSpacing(1);
    row->addWidget(box);
    row->addWidget(spin);
    return row;
  };
  auto* where = new QVBoxLayout;
  where->addWidget(optWhere[0]);
  where->addWidget(optWhere[1]);
  auto* grid = new QGridLayout(this);
  grid->addWidget(CreateLabel(0, tr("Insert")), 0, 0);
  grid->addLayout(pair(txtQuant, updQuant), 0, 1);
  grid->addWidget(CreateLabel(1, tr("Measure(s)")), 0, 2);
  grid->addLayout(where, 0, 3);
  grid->addWidget(CreateLabel(2, tr("Measure")), 0, 4);
  grid->addLayout(pair(txtMesNo, updMesNo), 0, 5);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);
  grid->addLayout(buttons, 1, 0, 1, 6);
  grid->setSizeConstraint(QLayout::SetFixedSize);
}

void frmCTXInsMes::Init(Score&) {
  m_flags.SetLoaded(false);
  ResetBoxes();
  optWhere[0]->setChecked(true);
  m_flags.SetLoaded(true);
}

void frmCTXInsMes::SetAfter(bool after) {
  optWhere[after ? 1 : 0]->setChecked(true);
}

InsertMeasureAnswer frmCTXInsMes::Answer() const {
  return InsertMeasureAnswer{Quantity(), MeasureNumber(), optWhere[1]->isChecked()};
}

}  // namespace notecraft::dialogs
