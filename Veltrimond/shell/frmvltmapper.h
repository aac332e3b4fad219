#pragma once
// The "Chord Mapper" window: the chord mapper control over the user's copy of the chord-shape
// table, beside the score windows and owned by none of them. The frame's Mapper flag is true
// exactly while it is open; it deletes itself when closed, so the next opening is fresh.

#include <QPointer>
#include <QWidget>

namespace harmonygrid {
class ChordMapper;
}  // namespace harmonygrid

namespace veltrimond {

class IFrame;
struct AppPaths;

// The folder of the chord-shape table the mapper works on: the user's copy, made from the
// install folder's Common/Config on first use; the install folder's when no copy can be made.
QString MapperTableFolder(const AppPaths& paths);

class frmVLTMapper final : public QWidget {
  Q_OBJECT

public:
  // frameObject is the frame as a QObject: the window goes with it, and stops telling it.
  frmVLTMapper(IFrame& frame, QObject* frameObject, const AppPaths& paths);
  ~frmVLTMapper() override;

  harmonygrid::ChordMapper* chmMain = nullptr;

protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void TellFrame(bool open);

  IFrame* m_frame;
  QPointer<QObject> m_frameObject;
};

}  // namespace veltrimond
