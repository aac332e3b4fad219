#pragma once
// A score window for the frame's tests: it records what the frame asks of it and does what
// the test sets (open or fail, after starting the progress display; refuse to close).

#include <QStringList>
#include <QWidget>
#include <memory>

#include "Veltrimond/shell/iframe.h"
#include "Veltrimond/shell/iscorewindow.h"

namespace notecraft {
class Score;
}  // namespace notecraft

namespace veltrimond::testing {

class FakeScoreWindow final : public QWidget, public IScoreWindow {
  Q_OBJECT

public:
  struct Behaviour {
    bool OpenSucceeds = true;
    // Starts the frame's progress display before opening, as the score's first progress
    // event does.
    bool ReportsProgress = false;
    bool RefusesClose = false;
    // Brings a menu bar of its own (one menu, "&Score Window").
    bool OwnMenus = false;
  };

  explicit FakeScoreWindow(Behaviour behaviour);
  ~FakeScoreWindow() override;

  QWidget* Widget() override { return this; }
  QString Tag() const override { return m_tag; }
  void SetTag(const QString& tag) override { m_tag = tag; }
  void SetParentFrame(IFrame* frame) override { m_frame = frame; }
  bool OpenFile(const QString& path) override;
  void ReloadDefaults() override { ++Reloads; }
  long CurMeasure() const override { return 1; }
  bool Playing() const override { return m_playing; }
  void SetPlaying(bool playing) override;
  notecraft::Score* GetScore() override { return m_score.get(); }
  void EditUndo() override { Calls << QStringLiteral("Undo"); }
  void EditCut() override { Calls << QStringLiteral("Cut"); }
  void EditCopy() override { Calls << QStringLiteral("Copy"); }
  void EditPaste() override { Calls << QStringLiteral("Paste"); }
  QList<QMenu*> Menus() override;

  void SetRefusesClose(bool refuses) { m_behaviour.RefusesClose = refuses; }
  IFrame* Frame() const { return m_frame; }
  // The window's own score (none until first asked for), destroyed with the window. Its
  // repeat marks reach the frame as a score window forwards them.
  notecraft::Score& OwnScore();
  // Every SetPlaying value, in order.
  QList<bool> PlayingChanges;

  QStringList Calls;
  int Reloads = 0;

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  class MarkForwarder;

  Behaviour m_behaviour;
  bool m_playing = false;
  std::unique_ptr<notecraft::Score> m_score;
  std::unique_ptr<MarkForwarder> m_forwarder;
  IFrame* m_frame = nullptr;
  QString m_tag;
  QMenu* m_menu = nullptr;
};

}  // namespace veltrimond::testing
