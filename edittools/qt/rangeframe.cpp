#include "edittools/qt/rangeframe.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "notecraft/core/score.h"
#include "notecraft/dialogs/updown.h"

namespace edittools {

namespace {

QRadioButton* Option(QWidget* parent, const char* caption, const QString& name) {
  auto* b = new QRadioButton(QString::fromLatin1(caption), parent);
  b->setObjectName(name);
  return b;
}

}  // namespace

RangeFrame::RangeFrame(QWidget* parent, const BoxMaker& makeBox)
    : QGroupBox(QStringLiteral("Range"), parent) {
  setObjectName(QStringLiteral("fmeRange"));
  auto* rangeGroup = new QButtonGroup(this);
  optRange[0] = Option(this, "Staff:", QStringLiteral("optRange0"));
  optRange[1] = Option(this, "Selection", QStringLiteral("optRange1"));
  rangeGroup->addButton(optRange[0], 0);
  rangeGroup->addButton(optRange[1], 1);
  optRange[1]->setEnabled(false);
  optRange[1]->setToolTip(QStringLiteral("The tools work on ranges of measures."));
  cboStaff = new QComboBox(this);
  cboStaff->setObjectName(QStringLiteral("cboStaff"));

  const char* labels[] = {"From:", "To:"};
  for (int i = 0; i < 2; ++i) {
    lblLabel[i] = new QLabel(QString::fromLatin1(labels[i]), this);
    lblLabel[i]->setObjectName(QStringLiteral("lblLabel%1").arg(i));
  }
  pctFrom = new QWidget(this);
  pctFrom->setObjectName(QStringLiteral("pctFrom"));
  optFrom[0] = Option(pctFrom, "Beginning", QStringLiteral("optFrom0"));
  optFrom[1] = Option(pctFrom, "Measure:", QStringLiteral("optFrom1"));
  pctTo = new QWidget(this);
  pctTo->setObjectName(QStringLiteral("pctTo"));
  optTo[0] = Option(pctTo, "End", QStringLiteral("optTo0"));
  optTo[1] = Option(pctTo, "Measure:", QStringLiteral("optTo1"));
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
  auto row = [&](int r, QLabel* label, QWidget* pct, std::array<QRadioButton*, 2>& opts,
                 QLineEdit* box, notecraft::dialogs::UpDown* spin) {
    auto* inner = new QHBoxLayout(pct);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(opts[0]);
    inner->addWidget(opts[1]);
    grid->addWidget(label, r, 0);
    grid->addWidget(pct, r, 1);
    grid->addWidget(box, r, 2);
    grid->addWidget(spin, r, 3);
  };
  row(1, lblLabel[0], pctFrom, optFrom, txtFrom, updFrom);
  row(2, lblLabel[1], pctTo, optTo, txtTo, updTo);
  grid->addWidget(optRange[1], 3, 0);
}

void RangeFrame::Init(const notecraft::Score& score, long curMeasure) {
  cboStaff->clear();
  cboStaff->addItem(QStringLiteral("All"));
  for (const std::string& item : StaffItems(score)) cboStaff->addItem(QString::fromStdString(item));
  cboStaff->setCurrentIndex(0);
  txtFrom->setText(QString::number(curMeasure));
  txtTo->setText(txtFrom->text());
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
