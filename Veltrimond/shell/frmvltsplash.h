#pragma once
// The splash window: the program's picture and version above every window, for at least
// tmrWait's 3750 ms, without taking the focus.

#include <QSplashScreen>

class QLabel;
class QTimer;

namespace veltrimond {

class frmVLTSplash final : public QSplashScreen {
  Q_OBJECT

public:
  static constexpr int kWaitMs = 3750;

  explicit frmVLTSplash(int waitMs = kWaitMs);

  // True until the wait has run out.
  bool Waiting() const noexcept { return m_waiting; }
  QString VersionText() const;
  // Ends the wait now (what the timer does when it fires).
  void Expire();

signals:
  void expired();

protected:
  // A click would close a plain QSplashScreen before its time.
  void mousePressEvent(QMouseEvent* event) override;

private:
  QLabel* lblVersion = nullptr;
  QTimer* tmrWait = nullptr;
  bool m_waiting = true;
};

}  // namespace veltrimond
