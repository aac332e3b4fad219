#include "layoutpad/app/frmsylproperties.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "layoutpad/core/styletype.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"

namespace layoutpad {

namespace {

constexpr int kCustom = 7;  // the option that goes with the typed boxes

// A time signature drawn as it stands on the staff: the beats over the note value.
QIcon TimeSignaturePicture(int value) {
  QPixmap pixmap(22, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  QFont font = p.font();
  font.setBold(true);
  font.setPixelSize(15);
  p.setFont(font);
  p.drawText(QRect(0, 0, 22, 16), Qt::AlignCenter, QString::number(value / 128));
  p.drawText(QRect(0, 16, 22, 16), Qt::AlignCenter, QString::number(64 / (value % 128)));
  return QIcon(pixmap);
}

}  // namespace

int PackTimeSignature(int beats, int noteValue) noexcept {
  if (beats < 1 || beats > 99) return 0;
  switch (noteValue) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 32:
      return beats * 128 + 64 / noteValue;
    default:
      return 0;
  }
}

frmSYLProperties::frmSYLProperties(notecraft::Score& style, bool drums, QWidget* parent)
    : QDialog(parent), m_style(style) {
  setObjectName(QStringLiteral("frmSYLProperties"));
  setWindowTitle(QStringLiteral("Properties"));
  tabProperties = new QTabWidget(this);
  tabProperties->setObjectName(QStringLiteral("tabProperties"));

  auto* general = new QWidget;
  auto* fmeTime = new QGroupBox(QStringLiteral("Time Signature"), general);
  fmeTime->setObjectName(QStringLiteral("fmeTime"));
  auto* grid = new QGridLayout(fmeTime);
  optTime = new QButtonGroup(this);
  const int current = style.AllGlobals().DftTimeVal();
  bool known = false;
  for (int i = 0; i < kCustom; ++i) {
    const int value = kTimeSignatures[i];
    auto* option = new QRadioButton(fmeTime);
    option->setObjectName(QStringLiteral("optTime%1").arg(i));
    option->setIcon(TimeSignaturePicture(value));
    option->setIconSize(QSize(22, 32));
    option->setToolTip(QStringLiteral("%1/%2").arg(value / 128).arg(64 / (value % 128)));
    option->setProperty("tag", value);
    optTime->addButton(option, i);
    grid->addWidget(option, i / 4, i % 4);
    if (value == current) {
      option->setChecked(true);
      known = true;
    }
  }
  auto* custom = new QRadioButton(fmeTime);
  custom->setObjectName(QStringLiteral("optTime%1").arg(kCustom));
  optTime->addButton(custom, kCustom);
  m_beats = new QLineEdit(fmeTime);
  m_beats->setObjectName(QStringLiteral("txtTime0"));
  m_noteValue = new QLineEdit(fmeTime);
  m_noteValue->setObjectName(QStringLiteral("txtTime1"));
  for (QLineEdit* box : {m_beats, m_noteValue}) {
    box->setValidator(new QIntValidator(1, 99, box));
    box->setMaximumWidth(36);
  }
  auto* typed = new QHBoxLayout;
  typed->addWidget(custom);
  typed->addWidget(m_beats);
  typed->addWidget(new QLabel(QStringLiteral("/"), fmeTime));
  typed->addWidget(m_noteValue);
  grid->addLayout(typed, 1, 3);
  if (current % 128 != 0) {
    m_beats->setText(QString::number(current / 128));
    m_noteValue->setText(QString::number(64 / (current % 128)));
  }
  custom->setChecked(!known);
  auto* generalLayout = new QVBoxLayout(general);
  generalLayout->addWidget(fmeTime);
  generalLayout->addStretch();
  tabProperties->addTab(general, QStringLiteral("General"));

  if (drums) {
    auto* kit = new QListWidget;
    kit->setObjectName(QStringLiteral("lstDrums"));
    if (const auto entries = DrumList(style))
      for (const DrumEntry& drum : *entries) kit->addItem(QString::fromStdString(drum.Name));
    tabProperties->addTab(kit, QStringLiteral("Drums"));
  }

  cmdOk = new QPushButton(QStringLiteral("Ok"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);
  auto* cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(optTime, &QButtonGroup::idClicked, this, &frmSYLProperties::UpdateOk);
  // Typing a time signature chooses it.
  for (QLineEdit* box : {m_beats, m_noteValue})
    connect(box, &QLineEdit::textEdited, this, [this, custom] {
      custom->setChecked(true);
      UpdateOk();
    });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabProperties);
  layout->addLayout(buttons);
  UpdateOk();
}

int frmSYLProperties::ChosenTimeSignature() const {
  const int id = optTime->checkedId();
  if (id >= 0 && id < kCustom) return kTimeSignatures[id];
  return PackTimeSignature(m_beats->text().toInt(), m_noteValue->text().toInt());
}

void frmSYLProperties::UpdateOk() {
  cmdOk->setEnabled(ChosenTimeSignature() != 0);
}

bool frmSYLProperties::Apply() {
  const int value = ChosenTimeSignature();
  if (value == 0 || value == m_style.AllGlobals().DftTimeVal()) return false;
  m_style.AllGlobals().SetDftTimeVal(value);
  m_style.SetChanged(true);
  m_style.RestartPagination();
  return true;
}

}  // namespace layoutpad
