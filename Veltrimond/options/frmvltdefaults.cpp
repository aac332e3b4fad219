#include "Veltrimond/options/frmvltdefaults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "Veltrimond/options/samplescore.h"

namespace veltrimond {

namespace {

// Boxes that select their whole text when the keyboard brings the focus; a click places the
// caret as usual. Colour boxes select on a click too.
const char* kSelectOnFocus = "selectOnFocus";
const char* kSelectOnClick = "selectOnClick";

QLabel* Label(const QString& text, QWidget* parent) {
  return new QLabel(text, parent);
}

}  // namespace

frmVLTDefaults::frmVLTDefaults(AppState& state, const MidiDeviceLists& devices,
                               std::function<void()> reloadDefaults, QWidget* parent)
    : QDialog(parent),
      m_state(state),
      m_reloadDefaults(std::move(reloadDefaults)),
      m_model(state, devices) {
  setObjectName(QStringLiteral("frmVLTDefaults"));
  setWindowTitle(tr("Defaults"));
  setModal(true);

  tabPreferences = new QTabWidget(this);
  tabPreferences->setObjectName(QStringLiteral("tabPreferences"));
  tabPreferences->addTab(CreateGeneralTab(), tr("General"));
  tabPreferences->addTab(CreateScoreTab(), tr("Score"));
  tabPreferences->addTab(CreateEditorTab(), tr("Editor"));

  cmdOk = new QPushButton(tr("Ok"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);
  cmdCancel = new QPushButton(tr("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  cmdApply = new QPushButton(tr("Apply"), this);
  cmdApply->setObjectName(QStringLiteral("cmdApply"));
  cmdApply->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);
  buttons->addWidget(cmdApply);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabPreferences);
  layout->addLayout(buttons);

  connect(cmdOk, &QPushButton::clicked, this, [this] {
    m_model.Ok(m_state, m_reloadDefaults);
    accept();
  });
  connect(cmdCancel, &QPushButton::clicked, this, &frmVLTDefaults::reject);
  connect(cmdApply, &QPushButton::clicked, this,
          [this] { m_model.Apply(m_state, m_reloadDefaults); });
  connect(&m_model, &OptionsModel::modifiedChanged, cmdApply, &QWidget::setEnabled);
  connect(&m_model, &OptionsModel::valuesShown, this, &frmVLTDefaults::ShowValues);
  connect(&m_model, &OptionsModel::colorRowShown, this, &frmVLTDefaults::ShowColorRow);
  connect(&m_model, &OptionsModel::sampleChanged, this,
          [this] { pctSample->SetColors(m_model.Colors()); });

  ShowValues();
  for (int i = 0; i < 5; ++i) ShowColorRow(i);
  pctSample->SetColors(m_model.Colors());
}

QWidget* frmVLTDefaults::CreateGeneralTab() {
  auto* tab = new QWidget;
  auto* fmeMeasurement = new QGroupBox(tr("Measurement"), tab);
  fmeMeasurement->setObjectName(QStringLiteral("fmeMeasurement"));
  cboPage = new QComboBox(fmeMeasurement);
  cboPage->setObjectName(QStringLiteral("cboPage"));
  cboPage->addItems(OptionsModel::PageSizeNames());
  cboPage->setCurrentIndex(m_model.PageSize());
  // New scores do not take a paper size from here: each score's own is chosen in its
  // Score Properties. The list and the size boxes are only shown, greyed.
  const QString paperTip = tr("A score's paper size is set in its Score Properties.");
  cboPage->setEnabled(false);
  cboPage->setToolTip(paperTip);
  for (int i = 0; i < 2; ++i) {
    txtPage[static_cast<std::size_t>(i)] = new QLineEdit(fmeMeasurement);
    txtPage[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("txtPage%1").arg(i));
    txtPage[static_cast<std::size_t>(i)]->setReadOnly(true);
    txtPage[static_cast<std::size_t>(i)]->setEnabled(false);
    txtPage[static_cast<std::size_t>(i)]->setToolTip(paperTip);
    txtPage[static_cast<std::size_t>(i)]->setBackgroundRole(QPalette::Button);
  }
  cboUOM = new QComboBox(fmeMeasurement);
  cboUOM->setObjectName(QStringLiteral("cboUOM"));
  cboUOM->addItems(OptionsModel::UnitNames());
  cboUOM->setCurrentIndex(m_model.Unit());
  auto* grid = new QGridLayout(fmeMeasurement);
  const auto paperLabel = [&](const QString& text) {
    QLabel* label = Label(text, fmeMeasurement);
    label->setEnabled(false);
    return label;
  };
  grid->addWidget(paperLabel(tr("Paper Size")), 0, 0);
  grid->addWidget(cboPage, 0, 1, 1, 3);
  grid->addWidget(paperLabel(tr("Width:")), 1, 0);
  grid->addWidget(txtPage[0], 1, 1);
  grid->addWidget(paperLabel(tr("Height:")), 1, 2);
  grid->addWidget(txtPage[1], 1, 3);
  grid->addWidget(cboUOM, 2, 1, 1, 3);

  auto fill = [](QComboBox* box, const QVector<MidiDeviceEntry>& items, int index) {
    for (const MidiDeviceEntry& e : items) box->addItem(e.Caption, e.DeviceID);
    box->setCurrentIndex(index);
  };
  cboOutput = new QComboBox(tab);
  cboOutput->setObjectName(QStringLiteral("cboOutput"));
  fill(cboOutput, m_model.OutputItems(), m_model.OutputIndex());
  cboInput = new QComboBox(tab);
  cboInput->setObjectName(QStringLiteral("cboInput"));
  fill(cboInput, m_model.InputItems(), m_model.InputIndex());

  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(fmeMeasurement);
  layout->addWidget(Label(tr("Midi Output Device"), tab));
  layout->addWidget(cboOutput);
  layout->addWidget(Label(tr("Midi Input Device"), tab));
  layout->addWidget(cboInput);
  layout->addStretch(1);

  connect(cboPage, &QComboBox::activated, &m_model, &OptionsModel::SetPageSize);
  connect(cboUOM, &QComboBox::activated, &m_model, &OptionsModel::SetUnit);
  connect(cboOutput, &QComboBox::activated, &m_model, &OptionsModel::SetOutputIndex);
  connect(cboInput, &QComboBox::activated, &m_model, &OptionsModel::SetInputIndex);
  return tab;
}

QLineEdit* frmVLTDefaults::LengthBox(const QString& name) {
  auto* box = new QLineEdit;
  box->setObjectName(name);
  box->setProperty(kSelectOnFocus, true);
  box->installEventFilter(this);
  box->setMaximumWidth(90);
  return box;
}

QWidget* frmVLTDefaults::CreateScoreTab() {
  auto* tab = new QWidget;
  auto* fmeMargins = new QGroupBox(tr("Margins"), tab);
  fmeMargins->setObjectName(QStringLiteral("fmeMargins"));
  auto* margins = new QGridLayout(fmeMargins);
  const QString marginLabels[] = {tr("Top:"), tr("Bottom:"), tr("Left:"), tr("Right:")};
  for (int i = 0; i < 4; ++i) {
    QLineEdit* box = LengthBox(QStringLiteral("txtMargin%1").arg(i));
    txtMargin[static_cast<std::size_t>(i)] = box;
    margins->addWidget(Label(marginLabels[i], fmeMargins), i / 2, (i % 2) * 2);
    margins->addWidget(box, i / 2, (i % 2) * 2 + 1);
    connect(box, &QLineEdit::textEdited, &m_model,
            [this, i](const QString& text) { m_model.SetMarginText(i, text); });
  }
  const QString pageLabels[] = {tr("Print page numbers"), tr("Except first page")};
  for (int i = 0; i < 2; ++i) {
    auto* check = new QCheckBox(pageLabels[i], fmeMargins);
    check->setObjectName(QStringLiteral("chkPage%1").arg(i));
    chkPage[static_cast<std::size_t>(i)] = check;
    margins->addWidget(check, 2 + i, 0, 1, 4);
  }
  chkPage[0]->setChecked(m_model.PageNumbering());
  chkPage[1]->setChecked(m_model.PageNumbering1());
  chkPage[1]->setEnabled(m_model.PageNumbering1Enabled());
  chkReverse = new QCheckBox(tr("Reverse even/odd pages"), fmeMargins);
  chkReverse->setObjectName(QStringLiteral("chkReverse"));
  chkReverse->setChecked(m_model.ReverseEvenOdd());
  margins->addWidget(chkReverse, 4, 0, 1, 4);
  connect(chkPage[0], &QCheckBox::clicked, this, [this](bool on) {
    m_model.SetPageNumbering(on);
    chkPage[1]->setEnabled(m_model.PageNumbering1Enabled());
  });
  connect(chkPage[1], &QCheckBox::clicked, &m_model, &OptionsModel::SetPageNumbering1);
  connect(chkReverse, &QCheckBox::clicked, &m_model, &OptionsModel::SetReverseEvenOdd);

  auto* fmeSpacing = new QGroupBox(tr("Spacing"), tab);
  fmeSpacing->setObjectName(QStringLiteral("fmeSpacing"));
  auto* spacing = new QGridLayout(fmeSpacing);
  for (int i = 0; i < 3; ++i) {
    QLineEdit* box = LengthBox(QStringLiteral("txtDimension%1").arg(i));
    txtDimension[static_cast<std::size_t>(i)] = box;
    connect(box, &QLineEdit::textEdited, &m_model,
            [this, i](const QString& text) { m_model.SetDimensionText(i, text); });
  }
  spacing->addWidget(Label(tr("Staff --"), fmeSpacing), 0, 0);
  spacing->addWidget(Label(tr("Height:"), fmeSpacing), 0, 1);
  spacing->addWidget(txtDimension[0], 0, 2);
  spacing->addWidget(Label(tr("Spacing:"), fmeSpacing), 0, 3);
  spacing->addWidget(txtDimension[1], 0, 4);
  spacing->addWidget(Label(tr("System --"), fmeSpacing), 1, 0);
  spacing->addWidget(Label(tr("Spacing:"), fmeSpacing), 1, 3);
  spacing->addWidget(txtDimension[2], 1, 4);

  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(fmeMargins);
  layout->addWidget(fmeSpacing);
  layout->addStretch(1);
  return tab;
}

QWidget* frmVLTDefaults::CreateEditorTab() {
  auto* tab = new QWidget;
  auto* fmeColors = new QGroupBox(tr("Colors"), tab);
  fmeColors->setObjectName(QStringLiteral("fmeColors"));
  auto* grid = new QGridLayout(fmeColors);
  const QString rows[] = {tr("Lines, Text:"), tr("Bars, Clefs:"), tr("Notes, Rests:"),
                          tr("Dynamics, Ties:"), tr("Lyrics, Chords:")};
  const char* names[] = {"txtColorRed", "txtColorGreen", "txtColorBlue"};
  // Digits only; a value above 255 may stand in the box and counts as 255.
  auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")),
                                                 this);
  for (int i = 0; i < 5; ++i) {
    auto* label = Label(rows[i], fmeColors);
    label->setObjectName(QStringLiteral("lblColor%1").arg(i));
    grid->addWidget(label, i, 0);
    for (int c = 0; c < 3; ++c) {
      auto* box = new QLineEdit(fmeColors);
      box->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(names[c])).arg(i));
      box->setValidator(digits);
      box->setMaximumWidth(40);
      box->setProperty(kSelectOnFocus, true);
      box->setProperty(kSelectOnClick, true);
      box->installEventFilter(this);
      auto& column = c == 0 ? txtColorRed : c == 1 ? txtColorGreen : txtColorBlue;
      column[static_cast<std::size_t>(i)] = box;
      grid->addWidget(box, i, 1 + c);
      connect(box, &QLineEdit::textChanged, &m_model,
              [this, i, c](const QString& text) { m_model.SetColorText(i, c, text); });
    }
  }
  pctSample = new SampleScore(fmeColors);
  grid->addWidget(pctSample, 0, 4, 5, 1, Qt::AlignCenter);
  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(fmeColors);
  layout->addStretch(1);
  return tab;
}

void frmVLTDefaults::ShowValues() {
  auto set = [](QLineEdit* box, const QString& text) {
    if (box->text() == text) return;
    const QSignalBlocker block(box);
    box->setText(text);
  };
  for (int i = 0; i < 4; ++i) set(txtMargin[static_cast<std::size_t>(i)], m_model.MarginText(i));
  for (int i = 0; i < 3; ++i)
    set(txtDimension[static_cast<std::size_t>(i)], m_model.DimensionText(i));
  set(txtPage[0], m_model.PageWidthText());
  set(txtPage[1], m_model.PageHeightText());
}

void frmVLTDefaults::ShowColorRow(int row) {
  const auto r = static_cast<std::size_t>(row);
  QLineEdit* boxes[] = {txtColorRed[r], txtColorGreen[r], txtColorBlue[r]};
  for (int c = 0; c < 3; ++c) {
    if (!boxes[c]) return;  // still being built
    const QSignalBlocker block(boxes[c]);
    boxes[c]->setText(m_model.ColorText(row, c));
  }
}

void frmVLTDefaults::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  m_model.Activate();
}

void frmVLTDefaults::closeEvent(QCloseEvent* event) {
  // The close box answers neither Ok nor Cancel.
  m_closeBox = true;
  QDialog::closeEvent(event);
  m_closeBox = false;
}

void frmVLTDefaults::reject() {
  if (!m_closeBox) {
    m_model.Cancel();
  } else {
    m_model.Close();
  }
  QDialog::reject();
}

bool frmVLTDefaults::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && watched->property(kSelectOnFocus).toBool()) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (box && (reason != Qt::MouseFocusReason || watched->property(kSelectOnClick).toBool()))
      // After the press that brought the focus has placed the caret.
      QTimer::singleShot(0, box, &QLineEdit::selectAll);
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace veltrimond
