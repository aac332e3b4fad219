#include "notecraft/core/globalevent.h"

#include "notecraft/core/globalevents.h"

namespace notecraft {

void GlobalEvent::SetEventTime(int time) {
  m_eventTime = time;
  if (m_timeList) SignatureChanged();
}

void GlobalEvent::SetEventType(int type) {
  if (type == m_eventType) return;
  m_eventType = type;
  if (m_owner) m_owner->InvalidateKinds();
}

void GlobalEvent::SignatureChanged() {
  if (m_owner) m_owner->InvalidateMeasures();
}

}  // namespace notecraft
