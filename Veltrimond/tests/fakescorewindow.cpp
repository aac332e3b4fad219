#include "fakescorewindow.h"

#include <QCloseEvent>
#include <QMenu>

#include "notecraft/core/score.h"
#include "notecraft/core/scoreevents.h"

namespace veltrimond::testing {

class FakeScoreWindow::MarkForwarder final : public notecraft::ScoreEvents {
public:
  explicit MarkForwarder(FakeScoreWindow& window) : m_window(window) {}
  void MarkRepeat(int curTime) override {
    if (m_window.m_frame) m_window.m_frame->SetMarkRepeat(curTime);
  }
  void GoRepeat(int nextTime) override {
    if (m_window.m_frame) m_window.m_frame->SetGoRepeat(nextTime);
  }
  void SkipSection(int curTime, int nextTime) override {
    if (m_window.m_frame) m_window.m_frame->Ending1(curTime, nextTime);
  }

private:
  FakeScoreWindow& m_window;
};

FakeScoreWindow::FakeScoreWindow(Behaviour behaviour) : m_behaviour(behaviour) {}

// As a score window, the score goes with the window's own part, before QWidget's.
FakeScoreWindow::~FakeScoreWindow() {
  if (m_score && m_forwarder) m_score->RemoveListener(m_forwarder.get());
  m_score.reset();
}

void FakeScoreWindow::SetPlaying(bool playing) {
  m_playing = playing;
  PlayingChanges << playing;
}

notecraft::Score& FakeScoreWindow::OwnScore() {
  if (!m_score) {
    m_score = std::make_unique<notecraft::Score>();
    m_forwarder = std::make_unique<MarkForwarder>(*this);
    m_score->AddListener(m_forwarder.get());
  }
  return *m_score;
}

bool FakeScoreWindow::OpenFile(const QString& path) {
  Calls << QStringLiteral("Open ") + path;
  if (m_behaviour.ReportsProgress && m_frame) {
    Calls << (m_frame->InitStatus(1000, QStringLiteral("Opening:"))
                  ? QStringLiteral("Progress")
                  : QStringLiteral("No progress"));
    m_frame->UpdateStatus(100);
  }
  return m_behaviour.OpenSucceeds;
}

QList<QMenu*> FakeScoreWindow::Menus() {
  if (!m_behaviour.OwnMenus) return {};
  if (!m_menu) m_menu = new QMenu(QStringLiteral("&Score Window"), this);
  return {m_menu};
}

void FakeScoreWindow::closeEvent(QCloseEvent* event) {
  if (m_behaviour.RefusesClose) {
    event->ignore();
    return;
  }
  if (m_frame) m_frame->UnRegister(m_tag);
  event->accept();
}

}  // namespace veltrimond::testing
