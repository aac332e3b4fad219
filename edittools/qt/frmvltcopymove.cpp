#include "edittools/qt/frmvltcopymove.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "edittools/qt/rangeframe.h"
#include "notecraft/core/score.h"
#include "notecraft/dialogs/updown.h"

namespace edittools {

frmVLTCopyMove::frmVLTCopyMove(QWidget* parent) : ToolDialog(parent) {
  setObjectName(QStringLiteral("frmVLTCopyMove"));
  setWindowTitle(QStringLiteral("Copy/Move Notes"));
  CreateControls();
  CreateButtons();
  ArrangeControls();
}

void frmVLTCopyMove::CreateControls() {
  fmeRange = new RangeFrame(
      this,
      [this](QLineEdit* box, notecraft::dialogs::UpDown* spin) { MakeNumberBox(box, spin); },
      RangeFrame::OnSelection::KeepRange);
  MakeOptionGroup(this, optFunc, {"Copy", "Move"}, QStringLiteral("optFunc"));
  optFunc[0]->setChecked(true);
  cboVoice = new QComboBox(this);
  cboVoice->setObjectName(QStringLiteral("cboVoice"));
  FillList(cboVoice, VoiceChoiceNames());

  chkNotes = new QCheckBox(QStringLiteral("All Notes"), this);
  chkNotes->setObjectName(QStringLiteral("chkNotes"));
  chkNotes->setChecked(true);
  pctNotes = new QWidget(this);
  pctNotes->setObjectName(QStringLiteral("pctNotes"));
  MakeOptionRow(pctNotes, optNotes, {"Above", "Below"}, QStringLiteral("optNotes"));
  optNotes[0]->setChecked(true);
  cboNote = new QComboBox(this);
  cboNote->setObjectName(QStringLiteral("cboNote"));
  FillList(cboNote, NoteNames());
  txtOctave = new QLineEdit(QStringLiteral("5"), this);
  txtOctave->setObjectName(QStringLiteral("txtOctave"));
  updOctave = new notecraft::dialogs::UpDown(0, 10, this);
  updOctave->setObjectName(QStringLiteral("updOctave"));
  MakeNumberBox(txtOctave, updOctave);
  connect(chkNotes, &QCheckBox::toggled, this, [this](bool all) { ShowNoteFilter(!all); });
  ShowNoteFilter(false);

  fmeTo = new QGroupBox(QStringLiteral("To"), this);
  fmeTo->setObjectName(QStringLiteral("fmeTo"));
  cboTo = new QComboBox(fmeTo);
  cboTo->setObjectName(QStringLiteral("cboTo"));
  txtMeasure = new QLineEdit(fmeTo);
  txtMeasure->setObjectName(QStringLiteral("txtMeasure"));
  updMeasure = new notecraft::dialogs::UpDown(1, kMaxMeasure, fmeTo);
  updMeasure->setObjectName(QStringLiteral("updMeasure"));
  MakeNumberBox(txtMeasure, updMeasure);
  cboToVoice = new QComboBox(fmeTo);
  cboToVoice->setObjectName(QStringLiteral("cboToVoice"));
  for (const char* item : {"Same", "1", "2", "3", "4"}) cboToVoice->addItem(QString::fromLatin1(item));
}

void frmVLTCopyMove::ArrangeControls() {
  auto* what = new QGridLayout;
  what->addWidget(optFunc[0], 0, 0);
  what->addWidget(optFunc[1], 0, 1);
  what->addWidget(new QLabel(QStringLiteral("Voice:"), this), 1, 0);
  what->addWidget(cboVoice, 1, 1, 1, 3);
  what->addWidget(chkNotes, 2, 0);
  what->addWidget(pctNotes, 2, 1);
  what->addWidget(cboNote, 3, 1);
  what->addWidget(txtOctave, 3, 2);
  what->addWidget(updOctave, 3, 3);

  auto* to = new QGridLayout(fmeTo);
  to->addWidget(new QLabel(QStringLiteral("Staff:"), fmeTo), 0, 0);
  to->addWidget(cboTo, 0, 1, 1, 2);
  to->addWidget(new QLabel(QStringLiteral("Measure:"), fmeTo), 1, 0);
  to->addWidget(txtMeasure, 1, 1);
  to->addWidget(updMeasure, 1, 2);
  to->addWidget(new QLabel(QStringLiteral("Voice:"), fmeTo), 2, 0);
  to->addWidget(cboToVoice, 2, 1, 1, 2);

  auto* left = new QVBoxLayout;
  left->addWidget(fmeRange);
  left->addLayout(what);
  left->addWidget(fmeTo);
  ArrangeBesideButtons(left);
}

void frmVLTCopyMove::Init(const notecraft::Score& score, long curMeasure) {
  fmeRange->Init(score, curMeasure);
  cboTo->clear();
  cboTo->addItem(QStringLiteral("Same"));
  for (const std::string& item : StaffItems(score)) cboTo->addItem(QString::fromStdString(item));
  cboTo->setCurrentIndex(0);
  cboVoice->setCurrentIndex(0);
  cboToVoice->setCurrentIndex(0);
  cboNote->setCurrentIndex(0);
  txtOctave->setText(QStringLiteral("5"));
  txtMeasure->setText(fmeRange->txtFrom->text());
  optFunc[0]->setChecked(true);
  chkNotes->setChecked(true);
  optNotes[0]->setChecked(true);
}

void frmVLTCopyMove::ShowNoteFilter(bool enabled) {
  for (QWidget* w :
       std::initializer_list<QWidget*>{optNotes[0], optNotes[1], cboNote, txtOctave, updOctave})
    w->setEnabled(enabled);
}

CopyMoveChoice frmVLTCopyMove::Choice() const {
  CopyMoveChoice choice;
  choice.Range = fmeRange->Choice();
  choice.Move = optFunc[1]->isChecked();
  choice.VoiceIndex = std::max(cboVoice->currentIndex(), 0);
  choice.ToStaffIndex = std::max(cboTo->currentIndex(), 0);
  choice.MeasureText = txtMeasure->text().toStdString();
  choice.ToVoiceIndex = std::max(cboToVoice->currentIndex(), 0);
  choice.AllNotes = chkNotes->isChecked();
  choice.Above = !optNotes[1]->isChecked();
  choice.NoteIndex = std::max(cboNote->currentIndex(), 0);
  choice.OctaveText = txtOctave->text().toStdString();
  return choice;
}

}  // namespace edittools
