#pragma once
// A score window as the frame sees it. The frame puts Widget() into its MDI area, keeps the
// window in its list by Tag and reaches it only through this interface; the window owns its
// score for its whole life and tells the frame when it closes (IFrame::UnRegister). The
// frame also notices a window that is destroyed without saying so.

#include <QList>
#include <QString>

class QMenu;
class QWidget;

namespace notecraft {
class Score;
}  // namespace notecraft

namespace veltrimond {

class IFrame;

class IScoreWindow {
public:
  virtual ~IScoreWindow() = default;

  // The window itself; the frame's MDI area takes ownership of it.
  virtual QWidget* Widget() = 0;
  virtual QString Tag() const = 0;
  virtual void SetTag(const QString& tag) = 0;
  // The frame, set right after the window is created; not owned.
  virtual void SetParentFrame(IFrame* frame) = 0;

  // Loads a score or MIDI file; false (after telling the user why) when it cannot.
  virtual bool OpenFile(const QString& path) = 0;
  virtual void ReloadDefaults() = 0;
  virtual long CurMeasure() const = 0;
  virtual bool Playing() const = 0;
  virtual void SetPlaying(bool playing) = 0;
  // Borrowed; null while the window holds no score.
  virtual notecraft::Score* GetScore() = 0;

  // The Edit commands the frame's toolbar reaches.
  virtual void EditUndo() = 0;
  virtual void EditCut() = 0;
  virtual void EditCopy() = 0;
  virtual void EditPaste() = 0;

  // The window's own top-level menus, shown in place of the frame's while it is active.
  // Empty: the frame's menus stay.
  virtual QList<QMenu*> Menus() = 0;
};

}  // namespace veltrimond
