// The frame's transport: the six buttons of pane pctPlay, playback of the active window's
// score through the sound output (repeats and first endings followed, each event sent at its
// time on the monotonic clock), and the note preview of the score windows.
//
// Stopping is immediate on every path: the player sends nothing after CancelPlay returns.
// Playback ends before the playing window is closed or destroyed; edits to the score during
// play are safe (the score's event stream follows what it holds as it goes).
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>

#include "Veltrimond/shell/iscorewindow.h"
#include "Veltrimond/shell/mdivltmain.h"
#include "notecraft/core/score.h"
#include "notecraft/player/playbackclock.h"
#include "notecraft/player/playbackscheduler.h"
#include "notecraft/player/playbacksource.h"
#include "notecraft/player/qt/playbacktimer.h"
#include "tonegen/soundmaster.h"

namespace veltrimond {

namespace {

constexpr int kBeginning = 0;
constexpr int kPlay = 2;
constexpr int kEnd = 5;
// Note preview: the volume and velocity of a note sounded under the mouse.
constexpr int kPreviewLoudness = 112;

const char* const kTransportTips[] = {"Beginning", "Rewind", "Play", "Stop", "Fast Forward", "End"};
// Left to right on the pane.
constexpr int kTransportOrder[] = {0, 1, 3, 2, 4, 5};
// 270 x 255 twips.
constexpr QSize kTransportButtonSize(18, 17);

// The usual transport pictures: bars, triangles and a square.
QIcon TransportIcon(int index) {
  QPixmap pixmap(12, 12);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(40, 40, 40));
  auto triangle = [&](qreal left, qreal width, bool pointsRight) {
    QPainterPath path;
    if (pointsRight) {
      path.moveTo(left, 1);
      path.lineTo(left + width, 6);
      path.lineTo(left, 11);
    } else {
      path.moveTo(left + width, 1);
      path.lineTo(left, 6);
      path.lineTo(left + width, 11);
    }
    path.closeSubpath();
    painter.drawPath(path);
  };
  switch (index) {
    case kBeginning: painter.drawRect(QRectF(1, 1, 2, 10)); triangle(3, 8, false); break;
    case 1: triangle(0.5, 5.5, false); triangle(6, 5.5, false); break;
    case kPlay: triangle(2, 9, true); break;
    case 3: painter.drawRect(QRectF(2, 2, 8, 8)); break;
    case 4: triangle(0.5, 5.5, true); triangle(6, 5.5, true); break;
    case kEnd: triangle(1, 8, true); painter.drawRect(QRectF(9, 1, 2, 10)); break;
    default: break;
  }
  painter.end();
  return QIcon(pixmap);
}

}  // namespace

void mdiVLTMain::CreateTransport() {
  auto* layout = static_cast<QHBoxLayout*>(pctPlay->layout());
  layout->setSpacing(0);
  for (int index : kTransportOrder) {
    auto* button = new QToolButton(pctPlay);
    button->setObjectName(QStringLiteral("chkPlay%1").arg(index));
    button->setCheckable(true);
    button->setToolTip(QString::fromLatin1(kTransportTips[index]));
    button->setIcon(TransportIcon(index));
    button->setIconSize(QSize(12, 12));
    button->setFixedSize(kTransportButtonSize);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    // clicked, not toggled: a state set from code raises nothing.
    connect(button, &QToolButton::clicked, this, [this, index] { OnTransportClicked(index); });
    layout->addWidget(button);
    chkPlay[static_cast<std::size_t>(index)] = button;
  }
}

void mdiVLTMain::CreatePlayer() {
  if (!m_sound) return;
  m_playClock = std::make_unique<notecraft::SteadyPlaybackClock>();
  m_player = std::make_unique<notecraft::PlaybackScheduler>(*m_playClock, *m_sound);
  m_playTimer = std::make_unique<notecraft::PlaybackTimer>(*m_player, *m_playClock);
  connect(m_playTimer.get(), &notecraft::PlaybackTimer::finished, this, [this] { EndPlay(false); });
}

void mdiVLTMain::ReleasePlayer() {
  m_playTimer.reset();
  m_player.reset();
  m_playClock.reset();
}

QToolButton* mdiVLTMain::TransportButton(int index) const {
  return index >= 0 && index < static_cast<int>(chkPlay.size())
             ? chkPlay[static_cast<std::size_t>(index)]
             : nullptr;
}

void mdiVLTMain::ClickTransport(int index) {
  if (QToolButton* button = TransportButton(index)) button->click();
}

void mdiVLTMain::OnTransportClicked(int index) {
  QToolButton* button = TransportButton(index);
  if (!button) return;
  // The click has already set or cleared the button.
  const bool pressed = button->isChecked();
  const bool wasPlaying = m_playActive;
  CancelPlay(true);
  IScoreWindow* window = pressed ? ActiveScoreWindow() : nullptr;
  // Only Play stays down, and only when it starts playing; every other button, and Play
  // pressed during play, just stops and springs back.
  if (!window || index != kPlay || wasPlaying) {
    ReleaseTransportButtons(false);
    if (window) {
      window->Widget()->setFocus();
    } else {
      setFocus();
    }
    return;
  }
  for (QToolButton* other : chkPlay)
    if (other != button) other->setChecked(false);
  button->setChecked(true);
  if (auto* sub = qobject_cast<QMdiSubWindow*>(window->Widget()->parentWidget());
      sub && sub->isMinimized())
    sub->showNormal();
  window->Widget()->setFocus();
  StartPlay(*window);
}

void mdiVLTMain::StartPlay(IScoreWindow& window) {
  notecraft::Score* score = window.GetScore();
  if (!score || !m_player) {
    chkPlay[kPlay]->setChecked(false);
    return;
  }
  m_playSource = std::make_unique<notecraft::ScorePlaybackSource>(*score);
  m_playingWidget = window.Widget();
  m_playingWindow = &window;
  m_playingGone = false;
  // A window destroyed without closing: by the time QWidget announces it, the window's own
  // part and its score are gone. m_childWatch goes before the player.
  m_playingWatch = connect(m_playingWidget, &QObject::destroyed, &m_childWatch, [this] {
    m_playingGone = true;
    CancelPlay(false);
  });
  m_playActive = true;
  window.SetPlaying(true);
  // The window forwards the score's repeat marks (SetMarkRepeat, ...) while the stream is read.
  m_player->Start(*m_playSource, score->PlaybackTempo());
  m_playTimer->Run();  // a score with nothing to play ends here, through EndPlay
}

void mdiVLTMain::CancelPlay(bool keepPlayButton) {
  if (m_stopRequested) return;
  m_stopRequested = true;
  if (m_playActive && m_player) {
    m_playTimer->Halt();
    // A destroyed window took its score along: nothing may read it.
    if (m_playingWidget && !m_playingGone) {
      m_player->Stop();
    } else {
      m_player->Abandon();
    }
  } else if (m_sound) {
    m_sound->Silence();
  }
  EndPlay(keepPlayButton);
  // No window may still believe it plays.
  for (IScoreWindow* window : ScoreWindows())
    if (window->Playing()) window->SetPlaying(false);
  m_stopRequested = false;
}

// The end of play, reached by itself (the last event was sent and the sound silenced) or
// through CancelPlay.
void mdiVLTMain::EndPlay(bool keepPlayButton) {
  if (m_playTimer) m_playTimer->Halt();
  ReleaseTransportButtons(keepPlayButton);
  if (m_playingWidget && m_playingWindow && !m_playingGone) m_playingWindow->SetPlaying(false);
  QObject::disconnect(m_playingWatch);
  m_playingWidget = nullptr;
  m_playingWindow = nullptr;
  m_playingGone = false;
  m_playSource.reset();
  m_playActive = false;
}

void mdiVLTMain::ReleaseTransportButtons(bool keepPlayButton) {
  for (int index = 0; index < static_cast<int>(chkPlay.size()); ++index)
    if (chkPlay[static_cast<std::size_t>(index)] && !(keepPlayButton && index == kPlay))
      chkPlay[static_cast<std::size_t>(index)]->setChecked(false);
}

long mdiVLTMain::GoRepeat() const { return m_player ? m_player->GoRepeat() : -1; }

void mdiVLTMain::SetGoRepeat(long time) {
  if (m_player) m_player->SetGoRepeat(time);
}

long mdiVLTMain::MarkRepeat() const { return m_player ? m_player->MarkRepeat() : 0; }

void mdiVLTMain::SetMarkRepeat(long time) {
  if (m_player) m_player->SetMarkRepeat(time);
}

void mdiVLTMain::Ending1(long curTime, long nextTime) {
  if (m_player) m_player->Ending1(curTime, nextTime);
}

// The player reads the score's stream synchronously (it turns asynchronous delivery off), so
// an event delivered through LoadMIDI is not the player's.
void mdiVLTMain::GotMidi(const notecraft::MIDIEvent& event) { (void)event; }

void mdiVLTMain::PlayNote(int value, bool stopNote, int instrument, int channel) {
  if (m_playActive) CancelPlay(false);
  if (!m_sound) return;
  if (stopNote) {
    // On the channel the note was started on, still the current one.
    m_sound->StopNote(value);
    return;
  }
  m_sound->SetChannel(channel);
  m_sound->SetVolume(kPreviewLoudness);
  m_sound->SetInstrument(instrument);
  m_sound->StartNote(value, kPreviewLoudness);
}

}  // namespace veltrimond
