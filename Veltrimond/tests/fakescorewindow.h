#pragma once
// A score window for the frame's tests: it records what the frame asks of it and does what
// the test sets (open or fail, after starting the progress display; refuse to close).

#include <QStringList>
#include <QWidget>

#include "Veltrimond/shell/iframe.h"
#include "Veltrimond/shell/iscorewindow.h"

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

  explicit FakeScoreWindow(Behaviour behaviour) : m_behaviour(behaviour) {}

  QWidget* Widget() override { return this; }
  QString Tag() const override { return m_tag; }
  void SetTag(const QString& tag) override { m_tag = tag; }
  void SetParentFrame(IFrame* frame) override { m_frame = frame; }
  bool OpenFile(const QString& path) override;
  void ReloadDefaults() override { ++Reloads; }
  long CurMeasure() const override { return 1; }
  bool Playing() const override { return false; }
  void SetPlaying(bool) override {}
  notecraft::Score* GetScore() override { return nullptr; }
  void EditUndo() override { Calls << QStringLiteral("Undo"); }
  void EditCut() override { Calls << QStringLiteral("Cut"); }
  void EditCopy() override { Calls << QStringLiteral("Copy"); }
  void EditPaste() override { Calls << QStringLiteral("Paste"); }
  QList<QMenu*> Menus() override;

  void SetRefusesClose(bool refuses) { m_behaviour.RefusesClose = refuses; }
  IFrame* Frame() const { return m_frame; }

  QStringList Calls;
  int Reloads = 0;

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  Behaviour m_behaviour;
  IFrame* m_frame = nullptr;
  QString m_tag;
  QMenu* m_menu = nullptr;
};

}  // namespace veltrimond::testing
