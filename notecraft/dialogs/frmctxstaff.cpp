#include "notecraft/dialogs/frmctxstaff.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include "notecraft/core/score.h"
#include "notecraft/dialogs/captions.h"
#include "notecraft/dialogs/updown.h"

namespace notecraft::dialogs {

namespace {

QString Q(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string S(const QString& s) {
  return s.toUtf8().toStdString();
}

void ShowText(QLineEdit* box, const QString& text) {
  if (box->text() != text) box->setText(text);
}

QLineEdit* ReadOnlyBox(const char* name, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setReadOnly(true);
  box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("C#10")) + 16);
  return box;
}

}  // namespace

frmCTXStaff::frmCTXStaff(QWidget* parent) : CtxDialog(parent) {
  setObjectName(QStringLiteral("frmCTXStaff"));
  setWindowTitle(tr("Staff Properties"));
  CreateHeader();
  CreateGeneralPage();
  CreateInstrumentsPage();
  CreateButtons(true);
  LayOut();
}

QLabel* frmCTXStaff::Label(int index, const QString& caption, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QStringLiteral("lblLabel%1").arg(index));
  lblLabel[static_cast<std::size_t>(index)] = label;
  return label;
}

void frmCTXStaff::CreateHeader() {
  txtIndex = ReadOnlyBox("txtIndex", this);
  txtIndex->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  txtIndex->setFocusPolicy(Qt::ClickFocus);  // the spin moves it; typing goes elsewhere
  updIndex = new UpDown(1, 1, this);
  updIndex->setObjectName(QStringLiteral("updIndex"));
  Label(0, tr("Index"), this);
  connect(updIndex, &UpDown::Stepped, this, [this](int delta) {
    if (!m_score || !m_model.Flags().Loaded()) return;
    ValidateFocusedBox();
    m_model.MoveToStaff(*m_score, updIndex->Range().Clamp(m_model.StaffIndex() + delta));
    ShowModel();
  });
  txtDescription = new QLineEdit(this);
  txtDescription->setObjectName(QStringLiteral("txtDescription"));
  Label(1, tr("Description"), this)->setBuddy(txtDescription);
  connect(txtDescription, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_model.SetDescription(S(text));
    ShowModel();
  });
  SelectAllOnKeyboardFocus(txtDescription);
}

void frmCTXStaff::CreateGeneralPage() {
  tabMain = new QTabWidget(this);
  tabMain->setObjectName(QStringLiteral("tabMain"));
  auto* page = new QWidget(tabMain);
  tabMain->addTab(page, tr("General"));

  txtHeight = new QLineEdit(page);
  txtHeight->setObjectName(QStringLiteral("txtHeight"));
  txtHeight->setFixedWidth(txtHeight->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
  MakeNumberBox(txtHeight, 0, false, [this] {
    m_model.LeaveHeight();
    ShowModel();
  });
  connect(txtHeight, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_model.SetHeightText(S(text));
    ShowModel();
  });
  txtVoices = ReadOnlyBox("txtVoices", page);
  txtVoices->setAlignment(Qt::AlignCenter);
  updVoices = new UpDown(1, Staff::kMaxVoices, page);
  updVoices->setObjectName(QStringLiteral("updVoices"));
  connect(updVoices, &UpDown::Stepped, this, [this](int delta) {
    m_model.SetVoiceCount(updVoices->Range().Clamp(m_model.VoiceCount() + delta));
    ShowModel();
  });
  chkMute = new QCheckBox(tr("Mute on playback"), page);
  chkMute->setObjectName(QStringLiteral("chkMute"));
  connect(chkMute, &QCheckBox::clicked, this, [this](bool on) {
    m_model.SetMute(on);
    ShowModel();
  });
  chkVisible = new QCheckBox(tr("Visible"), page);
  chkVisible->setObjectName(QStringLiteral("chkVisible"));
  connect(chkVisible, &QCheckBox::clicked, this, [this](bool on) {
    m_model.SetVisible(on);
    ShowModel();
  });
  fmeDefaults = new QGroupBox(tr("Options"), page);
  fmeDefaults->setObjectName(QStringLiteral("fmeDefaults"));
  const std::array<const char*, StaffPropsModel::kFlagCount> captions{
      "Show Staff Description on Score", "Show Instrument Descriptions on Staff",
      "Print Dynamics on Score", "Transcribe Key and Pitch Offsets", "Enforce Pitch Range"};
  auto* options = new QVBoxLayout(fmeDefaults);
  for (int i = 0; i < StaffPropsModel::kFlagCount; ++i) {
    auto* box = new QCheckBox(tr(captions[static_cast<std::size_t>(i)]), fmeDefaults);
    box->setObjectName(QStringLiteral("chkDefault%1").arg(i));
    chkDefault[static_cast<std::size_t>(i)] = box;
    connect(box, &QCheckBox::clicked, this, [this, i](bool on) {
      m_model.SetFlag(i, on);
      ShowModel();
    });
    options->addWidget(box);
  }

  auto* grid = new QGridLayout(page);
  auto* height = new QHBoxLayout;
  height->addWidget(txtHeight);
  height->addWidget(Label(4, tr("%"), page));
  height->addStretch(1);
  auto* voices = new QHBoxLayout;
  voices->setSpacing(1);
  voices->addWidget(txtVoices);
  voices->addWidget(updVoices);
  voices->addStretch(1);
  grid->addWidget(Label(2, tr("Height"), page), 0, 0);
  grid->addLayout(height, 0, 1);
  grid->addWidget(chkMute, 0, 2);
  grid->addWidget(Label(3, tr("Voices"), page), 1, 0);
  grid->addLayout(voices, 1, 1);
  grid->addWidget(chkVisible, 1, 2);
  grid->addWidget(fmeDefaults, 2, 0, 1, 3);
  grid->setRowStretch(3, 1);
}

void frmCTXStaff::CreateInstrumentsPage() {
  auto* page = new QWidget(tabMain);
  tabMain->addTab(page, tr("Instruments"));

  voiceOrSlot = new QStackedWidget(page);
  cboVoice = new QComboBox(voiceOrSlot);
  cboVoice->setObjectName(QStringLiteral("cboVoice"));
  cboInst = new QComboBox(voiceOrSlot);
  cboInst->setObjectName(QStringLiteral("cboInst"));
  for (int i = 1; i <= StaffPropsModel::kDrumSlots; ++i) cboInst->addItem(QString::number(i));
  voiceOrSlot->addWidget(cboVoice);
  voiceOrSlot->addWidget(cboInst);
  connect(cboVoice, &QComboBox::activated, this, [this](int i) {
    m_model.ShowVoice(i);
    ShowModel();
  });
  connect(cboInst, &QComboBox::activated, this, [this](int i) {
    m_model.ChooseDrumSlot(i);
    ShowModel();
  });
  cboCategory = new QComboBox(page);
  cboCategory->setObjectName(QStringLiteral("cboCategory"));
  for (auto c : kCategories) cboCategory->addItem(QString::fromUtf8(c.data()));
  connect(cboCategory, &QComboBox::activated, this, [this](int c) {
    m_model.ChooseCategory(c);
    ShowModel();
  });
  cboType = new QComboBox(page);
  cboType->setObjectName(QStringLiteral("cboType"));
  cboType->setMinimumContentsLength(22);
  connect(cboType, &QComboBox::activated, this, [this](int i) {
    m_model.ChooseType(i);
    ShowModel();
  });
  cboClef = new QComboBox(page);
  cboClef->setObjectName(QStringLiteral("cboClef"));
  for (auto clef : kClefs) cboClef->addItem(QString::fromUtf8(clef.data()));
  connect(cboClef, &QComboBox::activated, this, [this](int i) {
    m_model.ChooseClef(i);
    ShowModel();
  });
  txtText = new QLineEdit(page);
  txtText->setObjectName(QStringLiteral("txtText"));
  connect(txtText, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_model.SetVoiceText(S(text));
    ShowModel();
  });
  SelectAllOnKeyboardFocus(txtText);
  txtSplit = ReadOnlyBox("txtSplit", page);
  txtSplit->setEnabled(false);  // a split point is not supported
  fmeRange = new QGroupBox(tr("Range"), page);
  fmeRange->setObjectName(QStringLiteral("fmeRange"));
  txtLow = ReadOnlyBox("txtLow", fmeRange);
  txtHigh = ReadOnlyBox("txtHigh", fmeRange);
  auto* range = new QGridLayout(fmeRange);
  range->addWidget(Label(8, tr("Low:"), fmeRange), 0, 0);
  range->addWidget(txtLow, 0, 1);
  range->addWidget(Label(9, tr("High:"), fmeRange), 1, 0);
  range->addWidget(txtHigh, 1, 1);
  fmeOffset = new QGroupBox(tr("Offsets"), page);
  fmeOffset->setObjectName(QStringLiteral("fmeOffset"));
  txtPitch = ReadOnlyBox("txtPitch", fmeOffset);
  txtOffset = ReadOnlyBox("txtOffset", fmeOffset);
  auto* offsets = new QGridLayout(fmeOffset);
  offsets->addWidget(Label(10, tr("Key:"), fmeOffset), 0, 0);
  offsets->addWidget(txtPitch, 0, 1);
  offsets->addWidget(Label(11, tr("Pitch:"), fmeOffset), 1, 0);
  offsets->addWidget(txtOffset, 1, 1);

  auto* grid = new QGridLayout(page);
  grid->addWidget(Label(12, tr("Voice"), page), 0, 0);
  grid->addWidget(voiceOrSlot, 0, 1);
  grid->addWidget(Label(6, tr("Clef"), page), 0, 2);
  grid->addWidget(cboClef, 0, 3);
  grid->addWidget(Label(5, tr("Category"), page), 1, 0);
  grid->addWidget(cboCategory, 1, 1);
  grid->addWidget(Label(7, tr("Split:"), page), 1, 2);
  grid->addWidget(txtSplit, 1, 3);
  grid->addWidget(Label(13, tr("Type"), page), 2, 0);
  grid->addWidget(cboType, 2, 1, 1, 3);
  grid->addWidget(Label(14, tr("Description"), page), 3, 0);
  grid->addWidget(txtText, 3, 1, 1, 3);
  auto* frames = new QHBoxLayout;
  frames->addWidget(fmeRange);
  frames->addWidget(fmeOffset);
  grid->addLayout(frames, 4, 0, 1, 4);
  grid->setRowStretch(5, 1);
}

void frmCTXStaff::LayOut() {
  auto* index = new QHBoxLayout;
  index->setSpacing(1);
  index->addWidget(txtIndex);
  index->addWidget(updIndex);
  index->addStretch(1);
  auto* header = new QGridLayout;
  header->addWidget(lblLabel[0], 0, 0);
  header->addLayout(index, 0, 1);
  header->addWidget(lblLabel[1], 1, 0);
  header->addWidget(txtDescription, 1, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);
  buttons->addWidget(cmdApply);
  auto* top = new QHBoxLayout;
  top->addLayout(header, 1);
  top->addLayout(buttons);
  auto* column = new QVBoxLayout(this);
  column->addLayout(top);
  column->addWidget(tabMain);
  column->setSizeConstraint(QLayout::SetFixedSize);
}

void frmCTXStaff::Init(Score& score) {
  m_score = &score;
  m_model.Init(score);
  updIndex->SetRange(1, std::max(1, m_model.StaffCount()));
  ShowModel();
}

void frmCTXStaff::ShowModel() {
  if (m_showing) return;
  m_showing = true;
  const StaffPropsModel& m = m_model;
  ShowText(txtIndex, m.HasStaff() ? QString::number(m.StaffIndex()) : QString());
  ShowText(txtDescription, Q(m.Description()));
  ShowText(txtHeight, Q(m.HeightText()));
  ShowText(txtVoices, QString::number(m.VoiceCount()));
  updVoices->SetValue(m.VoiceCount());
  chkMute->setChecked(m.Mute());
  chkVisible->setChecked(m.Visible());
  for (int i = 0; i < StaffPropsModel::kFlagCount; ++i)
    chkDefault[static_cast<std::size_t>(i)]->setChecked(m.Flag(i));

  // The voice list holds one item per listed voice, never more.
  while (cboVoice->count() > m.VoiceCount()) cboVoice->removeItem(cboVoice->count() - 1);
  while (cboVoice->count() < m.VoiceCount())
    cboVoice->addItem(QString::number(cboVoice->count() + 1));
  cboVoice->setCurrentIndex(m.ShownVoice());
  const bool drums = m.DrumMode();
  voiceOrSlot->setCurrentWidget(drums ? static_cast<QWidget*>(cboInst) : cboVoice);
  lblLabel[12]->setText(drums ? tr("Inst") : tr("Voice"));
  cboInst->setCurrentIndex(m.DrumSlot());
  for (int k = 0; k < StaffPropsModel::kDrumSlots; ++k) cboInst->setItemData(k, m.DrumSlotCode(k));
  cboCategory->setCurrentIndex(m.Category());
  cboType->clear();
  for (const auto& choice : m.Types()) cboType->addItem(Q(choice.Description), choice.Value);
  cboType->setCurrentIndex(m.TypeIndex());
  cboClef->setCurrentIndex(m.Clef());
  cboClef->setEnabled(!drums);
  ShowText(txtText, Q(m.VoiceText()));
  ShowText(txtLow, Q(m.LowText()));
  ShowText(txtHigh, Q(m.HighText()));
  ShowText(txtPitch, Q(m.PitchText()));
  ShowText(txtOffset, Q(m.OffsetText()));
  for (QWidget* w : std::initializer_list<QWidget*>{fmeRange, fmeOffset}) w->setEnabled(!drums);
  cmdApply->setEnabled(m.Modified());
  m_showing = false;
}

void frmCTXStaff::OnApply() {
  if (!m_score) return;
  // The box being edited finishes its own leave handling (the height clamps) first.
  ValidateFocusedBox();
  tabMain->setFocus(Qt::OtherFocusReason);
  m_model.Apply(*m_score);
  ShowModel();
  txtDescription->setFocus(Qt::OtherFocusReason);
}

void frmCTXStaff::OnOk() {
  OnApply();
  Finish(1);
}

}  // namespace notecraft::dialogs
