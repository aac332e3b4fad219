#include "Veltrimond/styles/qt/frmvltstyle.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "Veltrimond/styles/insertrange.h"
#include "Veltrimond/styles/styleentry.h"
#include "notecraft/dialogs/ctxdialog.h"
#include "notecraft/dialogs/updown.h"
#include "platform/settingsstore.h"

namespace veltrimond::styles {

namespace {

constexpr int kOctaveMin = -3;
constexpr int kOctaveMax = 3;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

frmVLTStyle::frmVLTStyle(const QString& stylePath, QWidget* parent)
    : QDialog(parent), m_stylePath(stylePath) {
  setObjectName(QStringLiteral("frmVLTStyle"));
  setWindowTitle(tr("Insert Style"));
  setModal(true);
  m_player = QCoreApplication::applicationDirPath() + QStringLiteral("/listenbox");
  CreateControls();
  if (!m_stylePath.isEmpty()) m_table = LoadStyleTable(m_stylePath.toStdString());
  if (!m_table.skipped.empty()) {
    QStringList lines{tr("Not listed (cannot be used as styles):")};
    for (const SkippedStyle& skipped : m_table.skipped)
      lines << Q(skipped.file) + QStringLiteral(": ") + Q(skipped.why);
    lblSkipped->setText(lines.join('\n'));
    lblSkipped->setVisible(true);
  } else if (m_table.entries.empty()) {
    lblSkipped->setText(
        tr("There are no styles in %1.").arg(QDir::toNativeSeparators(m_stylePath)));
    lblSkipped->setVisible(true);
  }
}

void frmVLTStyle::CreateControls() {
  auto* lblType = new QLabel(tr("Type:"), this);
  cboType = new QComboBox(this);
  cboType->setObjectName(QStringLiteral("cboType"));
  cboType->addItems({tr("(All)"), tr("Treble"), tr("Bass"), tr("Drums")});
  auto* lblBeat = new QLabel(tr("Beat:"), this);
  cboBeat = new QComboBox(this);
  cboBeat->setObjectName(QStringLiteral("cboBeat"));
  cboBeat->addItems({tr("(All)"), QStringLiteral("2/4"), QStringLiteral("3/4"),
                     QStringLiteral("4/4"), tr("(Other)")});
  lblType->setBuddy(cboType);
  lblBeat->setBuddy(cboBeat);

  lstStyle = new QListWidget(this);
  lstStyle->setObjectName(QStringLiteral("lstStyle"));
  lstStyle->setSelectionMode(QAbstractItemView::SingleSelection);
  lblSkipped = new QLabel(this);
  lblSkipped->setObjectName(QStringLiteral("lblSkipped"));
  lblSkipped->setWordWrap(true);
  lblSkipped->setVisible(false);

  auto* lblAt = new QLabel(tr("Insert At Measure:"), this);
  txtAt = new QLineEdit(QStringLiteral("1"), this);
  txtAt->setObjectName(QStringLiteral("txtAt"));
  lblAt->setBuddy(txtAt);
  optQuant[0] = new QRadioButton(tr("For:"), this);
  optQuant[0]->setObjectName(QStringLiteral("optQuant0"));
  optQuant[1] = new QRadioButton(tr("Thru Measure:"), this);
  optQuant[1]->setObjectName(QStringLiteral("optQuant1"));
  txtQuant = new QLineEdit(QStringLiteral("1"), this);
  txtQuant->setObjectName(QStringLiteral("txtQuant"));
  auto* lblQuant = new QLabel(tr("Measure(s)"), this);
  txtThrough = new QLineEdit(this);
  txtThrough->setObjectName(QStringLiteral("txtThrough"));
  optQuant[0]->setChecked(true);
  txtThrough->setEnabled(false);

  lblRoot = new QLabel(tr("Root:"), this);
  lblRoot->setObjectName(QStringLiteral("lblRoot"));
  cboRoot = new QComboBox(this);
  cboRoot->setObjectName(QStringLiteral("cboRoot"));
  cboRoot->addItems({"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"});
  lblRoot->setBuddy(cboRoot);
  lblOctave = new QLabel(tr("Octave:"), this);
  lblOctave->setObjectName(QStringLiteral("lblOctave"));
  txtOctave = new QLineEdit(this);
  txtOctave->setObjectName(QStringLiteral("txtOctave"));
  txtOctave->setMaximumWidth(48);
  updOctave = new notecraft::dialogs::UpDown(kOctaveMin, kOctaveMax, this);
  updOctave->setObjectName(QStringLiteral("updOctave"));
  lblOctave->setBuddy(txtOctave);

  cmdOk = new QPushButton(tr("Insert"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);
  cmdCancel = new QPushButton(tr("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  cmdCancel->setAutoDefault(false);
  cmdListen = new QPushButton(style()->standardIcon(QStyle::SP_MediaPlay), tr("Listen"), this);
  cmdListen->setObjectName(QStringLiteral("cmdListen"));
  cmdListen->setAutoDefault(false);
  cmdOk->setEnabled(false);
  cmdListen->setEnabled(false);

  auto* filters = new QHBoxLayout;
  filters->addWidget(lblType);
  filters->addWidget(cboType, 1);
  filters->addWidget(lblBeat);
  filters->addWidget(cboBeat, 1);

  auto* range = new QGridLayout;
  range->addWidget(lblAt, 0, 0);
  range->addWidget(txtAt, 0, 1);
  range->addWidget(optQuant[0], 1, 0);
  range->addWidget(txtQuant, 1, 1);
  range->addWidget(lblQuant, 1, 2);
  range->addWidget(optQuant[1], 2, 0);
  range->addWidget(txtThrough, 2, 1);
  range->addWidget(lblRoot, 3, 0);
  range->addWidget(cboRoot, 3, 1);
  range->addWidget(lblOctave, 4, 0);
  auto* octave = new QHBoxLayout;
  octave->addWidget(txtOctave);
  octave->addWidget(updOctave);
  octave->addStretch();
  range->addLayout(octave, 4, 1, 1, 2);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);
  buttons->addSpacing(12);
  buttons->addWidget(cmdListen);
  buttons->addStretch();

  auto* left = new QVBoxLayout;
  left->addLayout(filters);
  left->addWidget(lstStyle, 1);
  left->addWidget(lblSkipped);
  left->addLayout(range);
  auto* main = new QHBoxLayout(this);
  main->addLayout(left, 1);
  main->addLayout(buttons);

  SetTransposeEnabled(false);

  for (QLineEdit* box : {txtAt, txtQuant, txtThrough, txtOctave}) box->installEventFilter(this);
  for (QLineEdit* box : {txtAt, txtQuant, txtThrough})
    connect(box, &QLineEdit::textChanged, this, [this, box] { OnBoxEdited(box); });
  connect(cboType, &QComboBox::currentIndexChanged, this, [this] {
    if (m_ready) FillList();
  });
  connect(cboBeat, &QComboBox::currentIndexChanged, this, [this] {
    if (m_ready) FillList();
  });
  connect(lstStyle, &QListWidget::itemSelectionChanged, this, &frmVLTStyle::OnStyleSelected);
  connect(optQuant[0], &QRadioButton::clicked, this, [this] { OnQuantOption(0); });
  connect(optQuant[1], &QRadioButton::clicked, this, [this] { OnQuantOption(1); });
  connect(updOctave, &notecraft::dialogs::UpDown::Stepped, this, &frmVLTStyle::StepOctave);
  connect(cmdOk, &QPushButton::clicked, this, &frmVLTStyle::OnInsert);
  connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(cmdListen, &QPushButton::clicked, this, &frmVLTStyle::OnListen);
}

void frmVLTStyle::SetPlayer(const QString& program, Launcher launcher) {
  m_player = program;
  m_launch = std::move(launcher);
}

void frmVLTStyle::SetTypeIndex(int index) {
  cboType->setCurrentIndex(index >= 0 && index < cboType->count() ? index : 0);
}

void frmVLTStyle::SetBeatIndex(int index) {
  cboBeat->setCurrentIndex(index >= 0 && index < cboBeat->count() ? index : 0);
}

void frmVLTStyle::SetMeasure(long measure) {
  txtAt->setText(QString::number(measure));
}

void frmVLTStyle::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  m_ready = true;
  if (!m_filled) {
    m_filled = true;
    FillList();
  }
}

void frmVLTStyle::FillList() {
  lstStyle->clear();
  cmdOk->setEnabled(false);
  cmdListen->setEnabled(false);
  for (const StyleEntry& entry : m_table.entries)
    if (PassesFilters(entry, cboType->currentIndex(), cboBeat->currentIndex()))
      lstStyle->addItem(Q(ItemText(entry)));
  OnStyleSelected();
}

void frmVLTStyle::OnStyleSelected() {
  const QList<QListWidgetItem*> selected = lstStyle->selectedItems();
  if (selected.isEmpty()) {
    cmdOk->setEnabled(false);
    cmdListen->setEnabled(false);
    SetTransposeEnabled(false);
    return;
  }
  cmdOk->setEnabled(true);
  cmdListen->setEnabled(true);
  const std::string word = TypeWordOfItem(selected.front()->text().toStdString());
  SetTransposeEnabled(!word.empty() && word != "DRUMS");
}

// A drum style is never moved, so it has no root or octave to choose.
void frmVLTStyle::SetTransposeEnabled(bool enabled) {
  for (QWidget* widget : {static_cast<QWidget*>(lblRoot), static_cast<QWidget*>(cboRoot),
                          static_cast<QWidget*>(lblOctave), static_cast<QWidget*>(txtOctave),
                          static_cast<QWidget*>(updOctave)})
    widget->setEnabled(enabled);
  if (enabled) {
    txtOctave->setText(QStringLiteral("0"));
    cboRoot->setCurrentIndex(0);
  } else {
    txtOctave->clear();
    cboRoot->setCurrentIndex(-1);
  }
}

void frmVLTStyle::OnQuantOption(int index) {
  QLineEdit* on = index == 0 ? txtQuant : txtThrough;
  QLineEdit* off = index == 0 ? txtThrough : txtQuant;
  off->setEnabled(false);
  on->setEnabled(true);
  if (on->text().isEmpty()) on->setText(KeywordOf(on));
  on->setFocus(Qt::OtherFocusReason);
  on->selectAll();
}

QString frmVLTStyle::KeywordOf(const QObject* box) {
  const QString name = box->objectName();
  if (name == QLatin1String("txtAt")) return QStringLiteral("First");
  if (name == QLatin1String("txtQuant")) return QStringLiteral("Null");
  if (name == QLatin1String("txtThrough")) return QStringLiteral("Last");
  return {};
}

void frmVLTStyle::OnBoxEdited(QLineEdit* box) {
  if (!box->text().isEmpty()) return;
  box->setText(KeywordOf(box));
  box->selectAll();
}

bool frmVLTStyle::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* box = qobject_cast<QLineEdit*>(watched);
  const auto* key = static_cast<QKeyEvent*>(event);
  const QString text = key->text();
  // Navigation, Enter, Escape, Backspace and shortcuts keep their usual meaning.
  if (!box || text.isEmpty() || text.front().category() == QChar::Other_Control ||
      (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
    return QDialog::eventFilter(watched, event);
  const QChar typed = text.front();
  if (typed.isDigit()) return false;
  if (box == txtOctave) {
    if (typed == '-') return false;
  } else if (const QString word = KeywordOf(box); typed.toUpper() == word.front()) {
    box->setText(word);
    box->selectAll();
    return true;
  }
  notecraft::dialogs::Beep();
  return true;
}

void frmVLTStyle::StepOctave(int delta) {
  if (!txtOctave->isEnabled()) return;
  const int octave = txtOctave->text().trimmed().toInt();  // not a number: 0
  txtOctave->setText(QString::number(std::clamp(octave + delta, kOctaveMin, kOctaveMax)));
}

QString frmVLTStyle::SelectedStyleFile() const {
  const QList<QListWidgetItem*> selected = lstStyle->selectedItems();
  if (selected.isEmpty()) return {};
  const std::string name = StyleNameOfItem(selected.front()->text().toStdString());
  return Q(StyleFilePath(m_stylePath.toStdString(), name));
}

frmVLTStyle::Request frmVLTStyle::TheRequest() const {
  Request request;
  request.file = SelectedStyleFile();
  request.first = FirstMeasure(txtAt->text().toStdString());
  request.end = EndMeasure(request.first, optQuant[0]->isChecked(), txtQuant->text().toStdString(),
                           txtThrough->text().toStdString());
  request.shift = StyleShift(txtOctave->text().toStdString(), cboRoot->currentIndex());
  return request;
}

void frmVLTStyle::OnListen() {
  lstStyle->setFocus();
  const QString file = SelectedStyleFile();
  if (file.isEmpty()) return;
  const QStringList arguments{file, QStringLiteral("/s")};
  // Nothing waits for the player, and a player that does not start changes nothing here.
  if (m_launch)
    m_launch(m_player, arguments);
  else
    QProcess::startDetached(m_player, arguments);
}

void frmVLTStyle::OnInsert() {
  if (SelectedStyleFile().isEmpty()) return;
  platform::WriteSetting(QStringLiteral("Style"), QStringLiteral("Type"), cboType->currentIndex());
  platform::WriteSetting(QStringLiteral("Style"), QStringLiteral("Beat"), cboBeat->currentIndex());
  accept();
}

}  // namespace veltrimond::styles
