#include "edittools/qt/rangeframe.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "edittools/qt/tooldialog.h"
#include "notecraft/core/score.h"
#include "notecraft/dialogs/updown.h"

namespace edittools {

RangeFrame::RangeFrame(QWidget* parent, const BoxMaker& makeBox, OnSelection onSelection)
    : QGroupBox(QStringLiteral("Range"), parent) {
  setObjectName(QStringLiteral("fmeRange"));
  MakeOptionGroup(this, optRange, {"Staff:", "Selection"}, QStringLiteral("optRange"));
  optRange[1]->setEnabled(false);
  if (onSelection == OnSelection::GreyRange)
    connect(optRange[0], &QRadioButton::toggled, this,
            [this](bool on) { SetRangeControlsEnabled(on); });
  cboStaff = new QComboBox(this);
  cboStaff->setObjectName(QStringLiteral("cboStaff"));

  const char* labels[] = {"From:", "To:"};
  for (int i = 0; i < 2; ++i) {
    lblLabel[i] = new QLabel(QString::fromLatin1(labels[i]), this);
    lblLabel[i]->setObjectName(QStringLiteral("lblLabel%1").arg(i));
  }
  pctFrom = new QWidget(this);
  pctFrom->setObjectName(QStringLiteral("pctFrom"));
  MakeOptionRow(pctFrom, optFrom, {"Beginning", "Measure:"}, QStringLiteral("optFrom"));
  pctTo = new QWidget(this);
  pctTo->setObjectName(QStringLiteral("pctTo"));
  MakeOptionRow(pctTo, optTo, {"End", "Measure:"}, QStringLiteral("optTo"));
  txtFrom = new QLineEdit(this);
  txtFrom->setObjectName(QStringLiteral("txtFrom"));
  updFrom = new notecraft::dialogs::UpDown(1, kMaxMeasure, this);
  updFrom->setObjectName(QStringLiteral("updFrom"));
  txtTo = new QLineEdit(this);
  txtTo->setObjectName(QStringLiteral("txtTo"));
  updTo = new notecraft::dialogs::UpDown(1, kMaxMeasure, this);
  updTo->setObjectName(QStringLiteral("updTo"));
  makeBox(txtFrom, updFrom);
  makeBox(txtTo, updTo);
  optRange[0]->setChecked(true);
  optFrom[0]->setChecked(true);
  optTo[0]->setChecked(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(optRange[0], 0, 0);
  grid->addWidget(cboStaff, 0, 1, 1, 3);
  auto row = [&](int r, QLabel* label, QWidget* pct, QLineEdit* box,
                 notecraft::dialogs::UpDown* spin) {
    grid->addWidget(label, r, 0);
    grid->addWidget(pct, r, 1);
    grid->addWidget(box, r, 2);
    grid->addWidget(spin, r, 3);
  };
  row(1, lblLabel[0], pctFrom, txtFrom, updFrom);
  row(2, lblLabel[1], pctTo, txtTo, updTo);
  grid->addWidget(optRange[1], 3, 0);
}

void RangeFrame::Init(const notecraft::Score& score, long curMeasure) {
  cboStaff->clear();
  cboStaff->addItem(QStringLiteral("All"));
  for (const std::string& item : StaffItems(score)) cboStaff->addItem(QString::fromStdString(item));
  cboStaff->setCurrentIndex(0);
  txtFrom->setText(QString::number(curMeasure));
  txtTo->setText(txtFrom->text());
  optRange[0]->setChecked(true);
  const bool selected = !score.SelectedNotes().empty();
  optRange[1]->setEnabled(selected);
  optRange[1]->setToolTip(selected ? QString() : QStringLiteral("No notes are selected."));
}

RangeChoice RangeFrame::Choice() const {
  RangeChoice choice;
  choice.Selection = optRange[1]->isChecked();
  choice.StaffIndex = std::max(cboStaff->currentIndex(), 0);
  choice.FromBeginning = optFrom[0]->isChecked();
  choice.FromText = txtFrom->text().toStdString();
  choice.ToEnd = optTo[0]->isChecked();
  choice.ToText = txtTo->text().toStdString();
  return choice;
}

void RangeFrame::SetRangeControlsEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{cboStaff, lblLabel[0], lblLabel[1], optFrom[0],
                                                    optFrom[1], optTo[0], optTo[1], txtFrom, txtTo,
                                                    updFrom, updTo})
    w->setEnabled(enabled);
}

}  // namespace edittools
