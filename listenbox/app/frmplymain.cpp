#include "listenbox/app/frmplymain.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "listenbox/app/listenplayer.h"
#include "listenbox/core/sliderscale.h"
#include "notecraft/core/score.h"

namespace listenbox {

namespace {

constexpr int kTwipsPerPixel = 15;
const char* const kCaptions[] = {"Rewind", "Beginning", "Play", "Stop", "Fast Forward"};
// Often enough for a smooth marker; the marker moves at most 285 steps over a whole score.
constexpr int kPositionIntervalMs = 50;

}  // namespace

frmPLYMain::frmPLYMain(notecraft::Score& score, tonegen::SoundMaster& sound, QWidget* parent)
    : QWidget(parent), m_score(score) {
  setObjectName(QStringLiteral("frmPLYMain"));
  setWindowTitle(QStringLiteral("Listenbox"));
  m_player = new ListenPlayer(score, sound, this);
  connect(m_player, &ListenPlayer::finished, this, &frmPLYMain::OnFinished);

  auto* layout = new QVBoxLayout(this);
  lblPlaying = new QLabel(this);
  lblPlaying->setObjectName(QStringLiteral("lblPlaying"));
  layout->addWidget(lblPlaying);

  pctSlider = new QWidget(this);
  pctSlider->setObjectName(QStringLiteral("pctSlider"));
  pctSlider->setFixedSize(kSliderTwips / kTwipsPerPixel + 8, 12);
  pctSlider->setAutoFillBackground(true);
  QPalette groove = pctSlider->palette();
  groove.setColor(QPalette::Window, palette().color(QPalette::Mid));
  pctSlider->setPalette(groove);
  imgSlider = new QWidget(pctSlider);
  imgSlider->setObjectName(QStringLiteral("imgSlider"));
  imgSlider->setGeometry(0, 0, 8, 12);
  imgSlider->setAutoFillBackground(true);
  QPalette marker = imgSlider->palette();
  marker.setColor(QPalette::Window, palette().color(QPalette::Highlight));
  imgSlider->setPalette(marker);
  layout->addWidget(pctSlider);

  pctPlay = new QWidget(this);
  pctPlay->setObjectName(QStringLiteral("pctPlay"));
  auto* buttons = new QHBoxLayout(pctPlay);
  buttons->setContentsMargins(0, 0, 0, 0);
  for (int index = 0; index < static_cast<int>(chkPlay.size()); ++index) {
    auto* button = new QToolButton(pctPlay);
    button->setObjectName(QStringLiteral("chkPlay%1").arg(index));
    button->setText(QString::fromLatin1(kCaptions[index]));
    button->setToolTip(button->text());
    button->setCheckable(true);
    // clicked, not toggled: a state set from code raises nothing.
    connect(button, &QToolButton::clicked, this, [this, index] { OnTransportClicked(index); });
    buttons->addWidget(button);
    chkPlay[static_cast<std::size_t>(index)] = button;
  }
  layout->addWidget(pctPlay);

  m_sliderMaximum = listenbox::SliderMaximum(m_score.HighTime());
  m_positionTimer.setInterval(kPositionIntervalMs);
  connect(&m_positionTimer, &QTimer::timeout, this,
          [this] { ShowPosition(m_player->NextEventTime() / 16); });
}

frmPLYMain::~frmPLYMain() { m_player->Stop(); }

QToolButton* frmPLYMain::Button(int index) const {
  return index >= 0 && index < static_cast<int>(chkPlay.size())
             ? chkPlay[static_cast<std::size_t>(index)]
             : nullptr;
}

int frmPLYMain::SliderLeft() const { return imgSlider->x() * kTwipsPerPixel; }

void frmPLYMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_shown) return;
  m_shown = true;
  // Once the window is on screen.
  QTimer::singleShot(0, this, &frmPLYMain::OnFirstShown);
}

void frmPLYMain::OnFirstShown() {
  lblPlaying->setText(QString::fromStdString(m_score.FileTitle()));
  if (m_score.HighTime() <= 0) return;
  chkPlay[kPlay]->setChecked(true);
  m_player->Play();
  if (m_player->Playing()) m_positionTimer.start();
}

void frmPLYMain::closeEvent(QCloseEvent* event) {
  m_positionTimer.stop();
  m_player->Stop();
  QWidget::closeEvent(event);
}

void frmPLYMain::OnTransportClicked(int index) {
  QToolButton* button = Button(index);
  if (!button) return;
  const bool pressed = button->isChecked();
  m_positionTimer.stop();
  m_player->Stop();
  ReleaseButtons();
  if (!pressed) {
    setFocus();
    return;
  }
  if (index == kPlay) {
    button->setChecked(true);
    m_player->Play();
    if (m_player->Playing()) m_positionTimer.start();
  }
}

void frmPLYMain::OnFinished() {
  m_positionTimer.stop();
  ReleaseButtons();
  ShowPosition(0);
}

void frmPLYMain::ReleaseButtons() {
  for (QToolButton* button : chkPlay) button->setChecked(false);
}

void frmPLYMain::ShowPosition(int position) {
  const int p = std::clamp(position, 0, std::max(m_sliderMaximum, 0));
  if (p == m_lastPosition) return;
  m_lastPosition = p;
  imgSlider->move(listenbox::SliderLeft(p, m_sliderMaximum) / kTwipsPerPixel, 0);
}

}  // namespace listenbox
