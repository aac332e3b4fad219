#include "notecraft/qt/qttimerfactory.h"

#include <QTimer>

namespace notecraft {

namespace {

class QtTimer : public Timer {
public:
  explicit QtTimer(std::function<void()> onTick) : m_onTick(std::move(onTick)) {
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      auto tick = m_onTick;  // the handler may destroy this timer
      tick();
    });
  }
  void Start(int intervalMs) override { m_timer.start(std::max(1, intervalMs)); }
  void Stop() override { m_timer.stop(); }
  bool IsActive() const override { return m_timer.isActive(); }

private:
  std::function<void()> m_onTick;
  QTimer m_timer;
};

}  // namespace

std::unique_ptr<Timer> QtTimerFactory::CreateTimer(std::function<void()> onTick) {
  return std::make_unique<QtTimer>(std::move(onTick));
}

}  // namespace notecraft
