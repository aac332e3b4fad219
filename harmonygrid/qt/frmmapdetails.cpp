#include "harmonygrid/qt/frmmapdetails.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "harmonygrid/qt/fretboardpicture.h"

namespace harmonygrid {

namespace {

using M = ShapeEditModel;

QString FromUtf8(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string ToUtf8(const QString& s) { return s.toUtf8().toStdString(); }

// Puts text into a box without disturbing the user's cursor when it is already there.
void ShowText(QLineEdit* box, const QString& text) {
  if (box->text() != text) box->setText(text);
}

}  // namespace

frmMAPDetails::frmMAPDetails(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmMAPDetails"));
  setWindowTitle(tr("Chord Map"));
  CreateName();
  CreatePicture();
  CreatePosition();
  CreateButtons();
  LayOut();
  ShowModel();
}

void frmMAPDetails::CreateName() {
  lblLabel = new QLabel(tr("Name:"), this);
  lblLabel->setObjectName(QStringLiteral("lblLabel"));
  txtKey = new QLineEdit(this);
  txtKey->setObjectName(QStringLiteral("txtKey"));
  lblLabel->setBuddy(txtKey);
  connect(txtKey, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_model.SetKey(ToUtf8(text));
    ShowModel();
  });
}

void frmMAPDetails::CreatePicture() {
  pctBase = new FretboardPicture(m_model, this);
  pctBase->setObjectName(QStringLiteral("pctBase"));
  connect(pctBase, &FretboardPicture::Clicked, this, [this](int x, int y) {
    if (m_model.Click(x, y)) ShowModel();
  });
  // The chord text sits on the picture, under the strings.
  txtText = new QLineEdit(pctBase);
  txtText->setObjectName(QStringLiteral("txtText"));
  QFont bold = txtText->font();
  bold.setBold(true);
  txtText->setFont(bold);
  txtText->setAlignment(Qt::AlignCenter);
  txtText->setGeometry(pctBase->ToPixels(120), pctBase->ToPixels(1920), pctBase->ToPixels(1710),
                       pctBase->ToPixels(360));
  txtText->installEventFilter(this);
  connect(txtText, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_model.SetText(ToUtf8(text));
    ShowModel();
  });
}

void frmMAPDetails::CreatePosition() {
  fmePosition = new QGroupBox(tr("Position"), this);
  fmePosition->setObjectName(QStringLiteral("fmePosition"));
  optPosition[0] = new QRadioButton(tr("Open"), fmePosition);
  optPosition[1] = new QRadioButton(tr("Fret:"), fmePosition);
  optPosition[0]->setObjectName(QStringLiteral("optPosition0"));
  optPosition[1]->setObjectName(QStringLiteral("optPosition1"));
  connect(optPosition[0], &QRadioButton::toggled, this, [this](bool on) {
    if (!on) return;
    m_model.ChooseOpen();
    ShowModel();
  });
  connect(optPosition[1], &QRadioButton::toggled, this, [this](bool on) {
    if (!on) return;
    m_model.ChooseFret();
    ShowModel();
  });

  txtPosition = new QLineEdit(fmePosition);
  txtPosition->setObjectName(QStringLiteral("txtPosition"));
  txtPosition->setMaxLength(9);
  txtPosition->installEventFilter(this);
  connect(txtPosition, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_model.SetPositionText(ToUtf8(text));
    ShowModel();
  });

  updPosition = new QWidget(fmePosition);
  updPosition->setObjectName(QStringLiteral("updPosition"));
  updPositionUp = new QToolButton(updPosition);
  updPositionDown = new QToolButton(updPosition);
  updPositionUp->setObjectName(QStringLiteral("updPositionUp"));
  updPositionDown->setObjectName(QStringLiteral("updPositionDown"));
  for (QToolButton* b : {updPositionUp, updPositionDown}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  }
  updPositionUp->setArrowType(Qt::UpArrow);
  updPositionDown->setArrowType(Qt::DownArrow);
  updPositionUp->setToolTip(tr("Up a fret"));
  updPositionDown->setToolTip(tr("Down a fret"));
  auto* arrows = new QVBoxLayout(updPosition);
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  arrows->addWidget(updPositionUp);
  arrows->addWidget(updPositionDown);
  connect(updPositionUp, &QToolButton::clicked, this, [this] {
    m_model.StepUp();
    ShowModel();
  });
  connect(updPositionDown, &QToolButton::clicked, this, [this] {
    m_model.StepDown();
    ShowModel();
  });
}

void frmMAPDetails::CreateButtons() {
  cmdOk = new QPushButton(tr("Ok"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);
  cmdCancel = new QPushButton(tr("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  cmdCancel->setAutoDefault(false);
  connect(cmdOk, &QPushButton::clicked, this, &frmMAPDetails::OnOk);
  connect(cmdCancel, &QPushButton::clicked, this, &frmMAPDetails::OnCancel);
}

void frmMAPDetails::LayOut() {
  auto* position = new QGridLayout(fmePosition);
  position->addWidget(optPosition[0], 0, 0, 1, 3);
  position->addWidget(optPosition[1], 1, 0);
  const int boxWidth = txtPosition->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12;
  txtPosition->setFixedWidth(boxWidth);
  position->addWidget(txtPosition, 1, 1);
  position->addWidget(updPosition, 1, 2);
  position->setColumnStretch(3, 1);

  auto* name = new QHBoxLayout;
  name->addWidget(lblLabel);
  name->addWidget(txtKey, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(fmePosition);
  right->addStretch(1);
  right->addWidget(cmdOk);
  right->addWidget(cmdCancel);

  auto* grid = new QGridLayout(this);
  grid->addLayout(name, 0, 0);
  grid->addWidget(pctBase, 1, 0, Qt::AlignLeft | Qt::AlignTop);
  grid->addLayout(right, 0, 1, 2, 1);
  grid->setSizeConstraint(QLayout::SetFixedSize);
}

void frmMAPDetails::SetMap(const clsMap& shape) {
  m_model.Load(shape);
  ShowModel();
}

void frmMAPDetails::ShowModel() {
  ShowText(txtKey, FromUtf8(m_model.Map().Key()));
  ShowText(txtText, FromUtf8(m_model.Map().Text()));
  const bool fret = m_model.FretPosition();
  for (QRadioButton* option : optPosition) option->blockSignals(true);
  optPosition[fret ? 1 : 0]->setChecked(true);
  for (QRadioButton* option : optPosition) option->blockSignals(false);
  ShowText(txtPosition, FromUtf8(m_model.PositionText()));
  txtPosition->setEnabled(fret);
  updPosition->setEnabled(fret);
  pctBase->update();
}

void frmMAPDetails::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // From now on the user edits; what the caller put in before does not count.
  m_model.Activate();
}

void frmMAPDetails::OnOk() {
  m_model.Normalise();
  ShowModel();
  if (m_okCheck) {
    const QString refusal = m_okCheck(m_model.Map());
    if (!refusal.isEmpty()) {
      QMessageBox::warning(this, windowTitle(), refusal);
      txtKey->setFocus(Qt::OtherFocusReason);
      txtKey->selectAll();
      return;
    }
  }
  m_model.Accept();
  accept();
}

void frmMAPDetails::OnCancel() {
  m_model.Cancel();
  reject();
}

void frmMAPDetails::keyPressEvent(QKeyEvent* event) {
  // Escape is Cancel; the close box leaves the result at 5.
  if (event->key() == Qt::Key_Escape) {
    cmdCancel->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool frmMAPDetails::FilterPositionKey(QKeyEvent* event) {
  // Digits and Backspace pass; any other key that would type something is dropped with a
  // beep. Keys that type nothing (arrows, Tab, Delete) keep their usual meaning.
  const QString text = event->text();
  if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) return false;
  if (text.isEmpty() || !text.at(0).isPrint()) return false;
  if (text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9'))
    return false;
  QApplication::beep();
  return true;
}

bool frmMAPDetails::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtPosition && event->type() == QEvent::KeyPress)
    return FilterPositionKey(static_cast<QKeyEvent*>(event));
  if ((watched == txtPosition || watched == txtText) && event->type() == QEvent::FocusIn) {
    auto* box = static_cast<QLineEdit*>(watched);
    if (static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason) box->selectAll();
    // Return in the position box applies the number; it does not close the dialog.
    if (watched == txtPosition) cmdOk->setDefault(false);
  }
  if (watched == txtPosition && event->type() == QEvent::FocusOut) cmdOk->setDefault(true);
  return QDialog::eventFilter(watched, event);
}

}  // namespace harmonygrid
