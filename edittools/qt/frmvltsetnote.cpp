#include "edittools/qt/frmvltsetnote.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "edittools/core/tooldialogs.h"
#include "notecraft/dialogs/updown.h"

namespace edittools {

frmVLTSetNote::frmVLTSetNote(QWidget* parent) : ToolDialog(parent) {
  setObjectName(QStringLiteral("frmVLTSetNote"));
  setWindowTitle(QStringLiteral("Set Note Value"));
  CreateControls();
  CreateButtons();
  ArrangeControls();
  ChooseRelative();
}

void frmVLTSetNote::CreateControls() {
  MakeOptionGroup(this, optRelation, {"Relative", "Absolute"}, QStringLiteral("optRelation"));
  connect(optRelation[0], &QRadioButton::clicked, this, &frmVLTSetNote::ChooseRelative);
  connect(optRelation[1], &QRadioButton::clicked, this, &frmVLTSetNote::ChooseAbsolute);

  pctRelative = new QWidget(this);
  pctRelative->setObjectName(QStringLiteral("pctRelative"));
  MakeOptionRow(pctRelative, optRelative, {"+", "-"}, QStringLiteral("optRelative"));
  QFont bold = font();
  bold.setBold(true);
  for (auto* b : optRelative) b->setFont(bold);
  txtRelative = new QLineEdit(this);
  txtRelative->setObjectName(QStringLiteral("txtRelative"));
  updRelative = new notecraft::dialogs::UpDown(0, kMaxHalfSteps, this);
  updRelative->setObjectName(QStringLiteral("updRelative"));
  MakeNumberBox(txtRelative, updRelative);

  cboNote = new QComboBox(this);
  cboNote->setObjectName(QStringLiteral("cboNote"));
  FillList(cboNote, NoteNames());
  txtOctave = new QLineEdit(this);
  txtOctave->setObjectName(QStringLiteral("txtOctave"));
  updOctave = new notecraft::dialogs::UpDown(0, kMaxOctave, this);
  updOctave->setObjectName(QStringLiteral("updOctave"));
  MakeNumberBox(txtOctave, updOctave);
}

void frmVLTSetNote::ArrangeControls() {
  auto* grid = new QGridLayout;
  grid->addWidget(optRelation[0], 0, 0);
  grid->addWidget(pctRelative, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Half-Steps:"), this), 1, 1);
  auto* halfSteps = new QHBoxLayout;
  halfSteps->addWidget(txtRelative);
  halfSteps->addWidget(updRelative);
  grid->addLayout(halfSteps, 1, 2);
  grid->addWidget(optRelation[1], 2, 0);
  grid->addWidget(new QLabel(QStringLiteral("Note:"), this), 2, 1);
  grid->addWidget(cboNote, 2, 2);
  grid->addWidget(new QLabel(QStringLiteral("Octave:"), this), 3, 1);
  auto* octave = new QHBoxLayout;
  octave->addWidget(txtOctave);
  octave->addWidget(updOctave);
  grid->addLayout(octave, 3, 2);

  ArrangeBesideButtons(grid);
}

void frmVLTSetNote::ChooseRelative() {
  optRelation[0]->setChecked(true);
  for (auto* b : optRelative) b->setEnabled(true);
  optRelative[0]->setChecked(true);
  txtRelative->setEnabled(true);
  txtRelative->setText(QStringLiteral("1"));
  updRelative->setEnabled(true);
  cboNote->setCurrentIndex(-1);
  cboNote->setEnabled(false);
  txtOctave->clear();
  txtOctave->setEnabled(false);
  updOctave->setEnabled(false);
}

void frmVLTSetNote::ChooseAbsolute() {
  optRelation[1]->setChecked(true);
  // Cleared: an exclusive group keeps one button checked, so it is switched off meanwhile.
  for (auto* b : optRelative) {
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
    b->setEnabled(false);
  }
  txtRelative->clear();
  txtRelative->setEnabled(false);
  updRelative->setEnabled(false);
  cboNote->setEnabled(true);
  cboNote->setCurrentIndex(0);
  txtOctave->setEnabled(true);
  txtOctave->setText(QStringLiteral("5"));
  updOctave->setEnabled(true);
}

SetNoteChoice frmVLTSetNote::Choice() const {
  SetNoteChoice choice;
  choice.Absolute = optRelation[1]->isChecked();
  choice.Up = optRelative[0]->isChecked();
  choice.HalfSteps = txtRelative->text().toStdString();
  choice.NoteIndex = cboNote->currentIndex();
  choice.Octave = txtOctave->text().toStdString();
  return choice;
}

bool frmVLTSetNote::CheckOk() {
  const SetNoteCheck check = CheckSetNote(Choice());
  if (!check.Ok) ShowMessage(this, QStringLiteral("Set Note"), QString::fromStdString(check.Message));
  return check.Ok;
}

}  // namespace edittools
