#include "notecraft/dialogs/frmctxdelmes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "notecraft/dialogs/updown.h"

namespace notecraft::dialogs {

frmCTXDelMes::frmCTXDelMes(QWidget* parent) : PromptDialog(parent) {
  setObjectName(QStringLiteral("frmCTXDelMes"));
  setWindowTitle(tr("Delete Measure"));
  CreateQuantity(4);
  CreateMeasureNumber();
  CreateButtons(false);

  auto* grid = new QGridLayout(this);
  auto pair = [](QWidget* box, QWidget* spin) {
    auto* row = new QHBoxLayout;
    row->setSpacing(1);
    row->addWidget(box);
    row->addWidget(spin);
    return row;
  };
  grid->addWidget(CreateLabel(0, tr("Delete")), 0, 0);
  grid->addLayout(pair(txtQuant, updQuant), 0, 1);
  grid->addWidget(CreateLabel(1, tr("Measure(s) starting from Measure")), 0, 2);
  grid->addLayout(pair(txtMesNo, updMesNo), 0, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);
  grid->addLayout(buttons, 1, 0, 1, 4);
  grid->setSizeConstraint(QLayout::SetFixedSize);
}

void frmCTXDelMes::Init(Score&) {
  m_flags.SetLoaded(false);
  ResetBoxes();
  m_flags.SetLoaded(true);
}

}  // namespace notecraft::dialogs
