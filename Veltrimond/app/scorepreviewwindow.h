#pragma once
// A stand-in score window until the editing window exists: it holds a score (a new one, or
// one opened from a file), shows its first page and adds opened files to the recent-file
// list. It makes the frame's window commands usable; it edits nothing.

#include <QWidget>
#include <memory>

#include "Veltrimond/shell/iscorewindow.h"

class QLabel;
class QScrollArea;

namespace notecraft {
class QPainterSurface;
}  // namespace notecraft

namespace veltrimond {

struct AppContext;

class ScorePreviewWindow final : public QWidget, public IScoreWindow {
  Q_OBJECT

public:
  ScorePreviewWindow(AppContext& context, IFrame& frame);
  ~ScorePreviewWindow() override;

  QWidget* Widget() override { return this; }
  QString Tag() const override { return m_tag; }
  void SetTag(const QString& tag) override { m_tag = tag; }
  void SetParentFrame(IFrame* frame) override { m_frame = frame; }
  bool OpenFile(const QString& path) override;
  void ReloadDefaults() override {}
  long CurMeasure() const override { return 1; }
  bool Playing() const override { return false; }
  void SetPlaying(bool playing) override { (void)playing; }
  notecraft::Score* GetScore() override { return m_score.get(); }
  void EditUndo() override {}
  void EditCut() override {}
  void EditCopy() override {}
  void EditPaste() override {}
  QList<QMenu*> Menus() override { return {}; }

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void ShowFirstPage();

  AppContext& m_context;
  IFrame* m_frame;
  QString m_tag;
  std::unique_ptr<notecraft::Score> m_score;
  std::unique_ptr<notecraft::QPainterSurface> m_page;
  QScrollArea* m_scroll = nullptr;
  QLabel* m_picture = nullptr;
};

}  // namespace veltrimond
