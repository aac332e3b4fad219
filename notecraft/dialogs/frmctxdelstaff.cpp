#include "notecraft/dialogs/frmctxdelstaff.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "notecraft/dialogs/promptlists.h"
#include "notecraft/dialogs/updown.h"

namespace notecraft::dialogs {

frmCTXDelStaff::frmCTXDelStaff(QWidget* parent) : PromptDialog(parent) {
  setObjectName(QStringLiteral("frmCTXDelStaff"));
  setWindowTitle(tr("Delete Staff"));
  CreateQuantity(0);
  cboStaff = new QComboBox(this);
  cboStaff->setObjectName(QStringLiteral("cboStaff"));
  cboStaff->setMinimumContentsLength(14);
  CreateButtons(false);

  auto* grid = new QGridLayout(this);
  auto* quantity = new QHBoxLayout;
  quantity->setSpacing(1);
  quantity->addWidget(txtQuant);
  quantity->addWidget(updQuant);
  grid->addWidget(CreateLabel(0, tr("Delete")), 0, 0);
  grid->addLayout(quantity, 0, 1);
  grid->addWidget(CreateLabel(1, tr("Staff(s) starting from Staff")), 0, 2);
  grid->addWidget(cboStaff, 0, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);
  grid->addLayout(buttons, 1, 0, 1, 4);
  grid->setSizeConstraint(QLayout::SetFixedSize);
}

void frmCTXDelStaff::Init(Score& score) {
  m_flags.SetLoaded(false);
  cboStaff->clear();
  for (const auto& item : StaffListItems(score)) cboStaff->addItem(QString::fromStdString(item));
  cboStaff->setCurrentIndex(1);
  ResetBoxes();
  m_flags.SetLoaded(true);
}

void frmCTXDelStaff::SetStaff(int staff) {
  // After "First" and "Last", one entry per staff in order.
  const int entry = staff + 1;
  if (staff >= 1 && entry < cboStaff->count()) cboStaff->setCurrentIndex(entry);
}

DeleteStaffAnswer frmCTXDelStaff::Answer() const {
  return DeleteStaffAnswer{Quantity(), cboStaff->currentIndex(),
                           cboStaff->currentText().toStdString()};
}

}  // namespace notecraft::dialogs
