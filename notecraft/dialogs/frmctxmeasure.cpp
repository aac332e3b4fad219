#include "notecraft/dialogs/frmctxmeasure.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/dialogs/captions.h"
#include "notecraft/dialogs/pictures.h"
#include "notecraft/dialogs/updown.h"

namespace notecraft::dialogs {

namespace {

using M = MeasurePropsModel;

QString Q(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string S(const QString& s) {
  return s.toUtf8().toStdString();
}

// The clefs of the Clef list, by position.
constexpr std::array<int, 5> kListClefs{clfPercussion, clfTreble, clfBass, clfAlto, clfTenor};

int ClefPosition(int clef) {
  const auto* at = std::find(kListClefs.begin(), kListClefs.end(), clef);
  return at == kListClefs.end() ? -1 : static_cast<int>(at - kListClefs.begin());
}

void ShowText(QLineEdit* box, const QString& text) {
  if (box->text() != text) box->setText(text);
}

QHBoxLayout* Pair(QWidget* box, QWidget* spin) {
  auto* row = new QHBoxLayout;
  row->setSpacing(1);
  row->addWidget(box);
  row->addWidget(spin);
  return row;
}

}  // namespace

frmCTXMeasure::frmCTXMeasure(QWidget* parent) : CtxDialog(parent) {
  setObjectName(QStringLiteral("frmCTXMeasure"));
  setWindowTitle(tr("Measure Properties"));
  CreateHeader();
  CreateGeneralPage();
  CreateChangesPage();
  CreateButtons(true);
  LayOut();
}

QLabel* frmCTXMeasure::Label(int index, const QString& caption, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QStringLiteral("lblLabel%1").arg(index));
  lblLabel[static_cast<std::size_t>(index)] = label;
  return label;
}

void frmCTXMeasure::CreateHeader() {
  txtNumber = new QLineEdit(this);
  txtNumber->setObjectName(QStringLiteral("txtNumber"));
  txtNumber->setFixedWidth(txtNumber->fontMetrics().horizontalAdvance(QStringLiteral("000000")) +
                           10);
  updNumber = new UpDown(1, 99999, this);
  updNumber->setObjectName(QStringLiteral("updNumber"));
  Label(0, tr("&Number"), this)->setBuddy(txtNumber);
  MakeNumberBox(txtNumber, 5, true, [this] {
    if (!m_score || !m_model.Flags().Loaded()) return;
    m_model.SetMeasureText(S(txtNumber->text()));
    m_model.LeaveMeasureNumber(*m_score);
    ShowModel();
  });
  connect(updNumber, &UpDown::Stepped, this, [this](int delta) {
    if (!m_score || !m_model.Flags().Loaded()) return;
    m_model.SetMeasureText(S(txtNumber->text()));
    m_model.StepMeasure(*m_score, delta);
    ShowModel();
  });

  txtIndex = new QLineEdit(this);
  txtIndex->setObjectName(QStringLiteral("txtIndex"));
  txtIndex->setReadOnly(true);
  txtIndex->setFixedWidth(txtNumber->width());
  txtIndex->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  txtIndex->setFocusPolicy(Qt::ClickFocus);  // the spin moves it; typing goes elsewhere
  updIndex = new UpDown(1, 1, this);
  updIndex->setObjectName(QStringLiteral("updIndex"));
  Label(1, tr("&Staff"), this)->setBuddy(txtIndex);
  connect(updIndex, &UpDown::Stepped, this, [this](int delta) {
    if (!m_score || !m_model.Flags().Loaded()) return;
    const int index = updIndex->Range().Clamp(m_model.StaffIndex() + delta);
    m_model.MoveToStaff(*m_score, index);
    ShowModel();
  });
  txtDescription = new QLineEdit(this);
  txtDescription->setObjectName(QStringLiteral("txtDescription"));
  txtDescription->setReadOnly(true);
  Label(2, tr("Description"), this);
  for (QLineEdit* box : {txtNumber, txtIndex, txtDescription}) SelectAllOnKeyboardFocus(box);
}

void frmCTXMeasure::CreateGeneralPage() {
  tabMeasure = new QTabWidget(this);
  tabMeasure->setObjectName(QStringLiteral("tabMeasure"));
  auto* page = new QWidget(tabMeasure);
  tabMeasure->addTab(page, tr("&General"));

  auto makeGroup = [&](QGroupBox*& frame, const char* name, const QString& caption,
                       std::array<QCheckBox*, 4>& boxes, const char* boxName,
                       std::array<const char*, 4> captions, M::Group group) {
    frame = new QGroupBox(caption, page);
    frame->setObjectName(QString::fromLatin1(name));
    for (int i = 0; i < 4; ++i) {
      auto* box = new QCheckBox(tr(captions[static_cast<std::size_t>(i)]), frame);
      box->setObjectName(QStringLiteral("%1%2").arg(QString::fromLatin1(boxName)).arg(i));
      boxes[static_cast<std::size_t>(i)] = box;
      connect(box, &QCheckBox::clicked, this, [this, group, i](bool checked) {
        m_model.Toggle(group, i, checked);
        ShowModel();
      });
    }
  };
  makeGroup(fmeBars, "fmeBars", tr("&Bars"), chkBars, "chkBars",
            {"Begin Repeat", "End Repeat", "End Section", "End Score"}, M::kBars);
  makeGroup(fmeSections, "fmeSections", tr("Sectio&ns"), chkSection, "chkSection",
            {"Coda", "Segundo", "To Coda", "To Segundo"}, M::kSections);
  makeGroup(fmeMisc, "fmeMisc", tr("&Miscellaneous"), chkMisc, "chkMisc",
            {"Ending", "Multi-measure rest", "Measure repeat", "Pickup/Short measure"}, M::kMisc);
  txtEnding = new QLineEdit(fmeMisc);
  txtEnding->setObjectName(QStringLiteral("txtEnding"));
  txtEnding->setFixedWidth(txtEnding->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
  connect(txtEnding, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_model.SetEndingText(S(text));
    ShowModel();
  });
  txtRest = new QLineEdit(fmeMisc);
  txtRest->setObjectName(QStringLiteral("txtRest"));
  txtRest->setFixedWidth(txtEnding->width());
  connect(txtRest, &QLineEdit::textEdited, this,
          [this](const QString& text) { m_model.SetRestText(S(text)); });
  for (QLineEdit* box : {txtEnding, txtRest}) SelectAllOnKeyboardFocus(box);

  for (auto [frame, boxes] : {std::pair{fmeBars, &chkBars}, std::pair{fmeSections, &chkSection}}) {
    auto* column = new QVBoxLayout(frame);
    for (QCheckBox* box : *boxes) column->addWidget(box);
    column->addStretch(1);
  }
  auto* misc = new QGridLayout(fmeMisc);
  for (int i = 0; i < 4; ++i) misc->addWidget(chkMisc[static_cast<std::size_t>(i)], i, 0);
  misc->addWidget(txtEnding, 0, 1);
  misc->addWidget(txtRest, 1, 1);
  misc->setRowStretch(4, 1);

  auto* row = new QHBoxLayout(page);
  row->addWidget(fmeBars);
  row->addWidget(fmeSections);
  row->addWidget(fmeMisc);
}

void frmCTXMeasure::CreateChangesPage() {
  auto* page = new QWidget(tabMeasure);
  tabMeasure->addTab(page, tr("&Changes"));

  fmeTime = new QGroupBox(tr("&Time Signature"), page);
  fmeTime->setObjectName(QStringLiteral("fmeTime"));
  auto* times = new QGridLayout(fmeTime);
  for (int i = 0; i < static_cast<int>(optTime.size()); ++i) {
    auto* option = new QToolButton(fmeTime);
    option->setObjectName(QStringLiteral("optTime%1").arg(i));
    option->setIcon(TimeSignatureIcon(i));
    option->setIconSize(QSize(28, 28));
    option->setToolTip(QString::fromUtf8(kTimeCaptions[static_cast<std::size_t>(i)].data()));
    option->setCheckable(true);
    optTime[static_cast<std::size_t>(i)] = option;
    connect(option, &QToolButton::clicked, this, [this, i] {
      m_model.ChooseTime(i);
      ShowModel();
      if (i == kCustomTime)
        txtTime[0]->setFocus(Qt::OtherFocusReason);
      else
        txtPulse->setFocus(Qt::OtherFocusReason);
    });
    times->addWidget(option, i / 5, i % 5);
  }
  for (int i = 0; i < 2; ++i) {
    auto* box = new QLineEdit(fmeTime);
    box->setObjectName(QStringLiteral("txtTime%1").arg(i));
    box->setMaxLength(2);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(30);
    txtTime[static_cast<std::size_t>(i)] = box;
    connect(box, &QLineEdit::textEdited, this, [this, i](const QString& text) {
      m_model.SetTimeText(i, S(text));
      ShowModel();
    });
    SelectAllOnKeyboardFocus(box);
  }
  txtPulse = new QLineEdit(fmeTime);
  txtPulse->setObjectName(QStringLiteral("txtPulse"));
  txtPulse->setMaxLength(2);
  txtPulse->setAlignment(Qt::AlignCenter);
  txtPulse->setFixedWidth(30);
  connect(txtPulse, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_model.SetPulseText(S(text));
    ShowModel();
  });
  SelectAllOnKeyboardFocus(txtPulse);
  cmdClearRest = new QPushButton(tr("Clear"), fmeTime);
  cmdClearRest->setObjectName(QStringLiteral("cmdClearRest"));
  cmdClearRest->setAutoDefault(false);
  connect(cmdClearRest, &QPushButton::clicked, this, [this] {
    m_model.ClearRestore();
    ShowModel();
  });
  auto* custom = new QHBoxLayout;
  custom->addWidget(txtTime[0]);
  custom->addWidget(new QLabel(QStringLiteral("/"), fmeTime));
  custom->addWidget(txtTime[1]);
  custom->addSpacing(12);
  custom->addWidget(Label(3, tr("Pulse:"), fmeTime));
  custom->addWidget(txtPulse);
  custom->addStretch(1);
  custom->addWidget(cmdClearRest);
  times->addLayout(custom, 2, 0, 1, 5);

  fmeKey = new QGroupBox(tr("&Key"), page);
  fmeKey->setObjectName(QStringLiteral("fmeKey"));
  cboMajor = new QComboBox(fmeKey);
  cboMajor->setObjectName(QStringLiteral("cboMajor"));
  cboMinor = new QComboBox(fmeKey);
  cboMinor->setObjectName(QStringLiteral("cboMinor"));
  for (auto key : kMajorKeys) cboMajor->addItem(QString::fromUtf8(key.data()));
  for (auto key : kMinorKeys) cboMinor->addItem(QString::fromUtf8(key.data()));
  connect(cboMajor, &QComboBox::activated, this, [this](int i) {
    m_model.ChooseKey(false, i);
    ShowModel();
  });
  connect(cboMinor, &QComboBox::activated, this, [this](int i) {
    m_model.ChooseKey(true, i);
    ShowModel();
  });
  // Ticked while the key is a major one: the major list is in use.
  chkMajMin = new QCheckBox(tr("Major"), fmeKey);
  chkMajMin->setObjectName(QStringLiteral("chkMajMin"));
  connect(chkMajMin, &QCheckBox::clicked, this, [this](bool major) {
    m_model.SetMinorList(!major);
    ShowModel();
  });
  cmdClear = new QPushButton(tr("Clear"), fmeKey);
  cmdClear->setObjectName(QStringLiteral("cmdClear"));
  cmdClear->setAutoDefault(false);
  connect(cmdClear, &QPushButton::clicked, this, [this] {
    m_model.ClearKey();
    ShowModel();
  });
  auto* key = new QGridLayout(fmeKey);
  key->addWidget(cboMajor, 0, 0);
  key->addWidget(cboMinor, 1, 0);
  key->addWidget(chkMajMin, 0, 1);
  key->addWidget(cmdClear, 1, 1);

  // The staff's clef at the measure. A clef's position and octave are not part of the score:
  // those controls stay greyed.
  fmeOther = new QGroupBox(tr("&Miscellaneous"), page);
  fmeOther->setObjectName(QStringLiteral("fmeOther"));
  cboClef = new QComboBox(fmeOther);
  cboClef->setObjectName(QStringLiteral("cboClef"));
  for (const int clef : kListClefs)
    cboClef->addItem(QString::fromUtf8(kClefs[static_cast<std::size_t>(clef)].data()));
  connect(cboClef, &QComboBox::activated, this, [this](int i) {
    if (i >= 0 && i < static_cast<int>(kListClefs.size()))
      m_model.ChooseClef(kListClefs[static_cast<std::size_t>(i)]);
    ShowModel();
  });
  txtClef = new QLineEdit(fmeOther);
  txtClef->setObjectName(QStringLiteral("txtClef"));
  txtClef->setFixedWidth(40);
  chkOther[0] = new QCheckBox(tr("Raise Octave"), fmeOther);
  chkOther[1] = new QCheckBox(tr("Lower Octave"), fmeOther);
  chkOther[0]->setObjectName(QStringLiteral("chkOther0"));
  chkOther[1]->setObjectName(QStringLiteral("chkOther1"));
  auto* other = new QGridLayout(fmeOther);
  other->addWidget(Label(4, tr("Cle&f"), fmeOther), 0, 0);
  other->addWidget(cboClef, 0, 1);
  other->addWidget(Label(5, tr("&Position at"), fmeOther), 1, 0);
  other->addWidget(txtClef, 1, 1);
  other->addWidget(chkOther[0], 2, 0, 1, 2);
  other->addWidget(chkOther[1], 3, 0, 1, 2);
  lblLabel[4]->setBuddy(cboClef);
  lblLabel[5]->setBuddy(txtClef);
  for (QWidget* unused : {static_cast<QWidget*>(lblLabel[5]), static_cast<QWidget*>(txtClef),
                          static_cast<QWidget*>(chkOther[0]), static_cast<QWidget*>(chkOther[1])})
    unused->setEnabled(false);

  auto* grid = new QGridLayout(page);
  grid->addWidget(fmeTime, 0, 0, 2, 1);
  grid->addWidget(fmeKey, 0, 1);
  grid->addWidget(fmeOther, 1, 1);
}

void frmCTXMeasure::LayOut() {
  auto* header = new QGridLayout;
  header->addWidget(lblLabel[0], 0, 0);
  header->addLayout(Pair(txtNumber, updNumber), 0, 1);
  header->addWidget(lblLabel[1], 0, 2);
  header->addLayout(Pair(txtIndex, updIndex), 0, 3);
  header->addWidget(lblLabel[2], 1, 0);
  header->addWidget(txtDescription, 1, 1, 1, 3);
  header->setColumnStretch(4, 1);
  ArrangePropertyForm(header, tabMeasure);
}

void frmCTXMeasure::Init(Score& score) {
  m_score = &score;
  m_model.Init(score);
  updIndex->SetRange(1, std::max(1, m_model.StaffCount()));
  ShowModel();
}

void frmCTXMeasure::ShowModel() {
  if (m_showing) return;
  m_showing = true;
  const M& m = m_model;
  ShowText(txtNumber, Q(m.MeasureText()));
  ShowText(txtIndex, m.HasStaff() ? QString::number(m.StaffIndex()) : QString());
  ShowText(txtDescription, Q(m.StaffDescription()));
  updIndex->SetValue(m.StaffIndex());
  updIndex->setEnabled(m.HasStaff());
  auto showGroup = [&](std::array<QCheckBox*, 4>& boxes, M::Group group) {
    for (int i = 0; i < 4; ++i) {
      const auto& state = m.Boxes(group, i);
      boxes[static_cast<std::size_t>(i)]->setChecked(state.Checked);
      boxes[static_cast<std::size_t>(i)]->setEnabled(state.Enabled);
    }
  };
  showGroup(chkBars, M::kBars);
  showGroup(chkSection, M::kSections);
  showGroup(chkMisc, M::kMisc);
  ShowText(txtEnding, Q(m.EndingText()));
  txtEnding->setEnabled(m.EndingEnabled());
  ShowText(txtRest, Q(m.RestText()));
  txtRest->setEnabled(m.RestEnabled());

  for (int i = 0; i < static_cast<int>(optTime.size()); ++i)
    optTime[static_cast<std::size_t>(i)]->setChecked(m.TimeOption() == i);
  for (int i = 0; i < 2; ++i) {
    ShowText(txtTime[static_cast<std::size_t>(i)], Q(m.TimeText(i)));
    txtTime[static_cast<std::size_t>(i)]->setEnabled(m.TimeTextEnabled());
  }
  ShowText(txtPulse, Q(m.PulseText()));
  cmdClearRest->setText(m.ClearRestCaption() == "Clear" ? tr("Clear") : tr("Restore"));
  cmdClearRest->setEnabled(m.ClearRestEnabled());

  chkMajMin->setChecked(!m.MinorList());
  cboMajor->setCurrentIndex(m.MajorPosition());
  cboMinor->setCurrentIndex(m.MinorPosition());
  cboMajor->setEnabled(!m.MinorList());
  cboMinor->setEnabled(m.MinorList());
  cmdClear->setEnabled(m.KeyClearEnabled());
  cboClef->setCurrentIndex(ClefPosition(m.Clef()));
  cboClef->setEnabled(m.HasStaff());
  cmdApply->setEnabled(m.Modified());
  m_showing = false;
}

void frmCTXMeasure::OnApply() {
  if (!m_score) return;
  // The box being edited finishes its own leave handling first.
  ValidateFocusedBox();
  m_model.Apply(*m_score);
  ShowModel();
}

void frmCTXMeasure::OnOk() {
  OnApply();
  Finish(1);
}

}  // namespace notecraft::dialogs
