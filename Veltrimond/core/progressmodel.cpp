#include "Veltrimond/core/progressmodel.h"

#include <algorithm>

namespace veltrimond {

bool ProgressModel::Init(long size, bool statusBarShown) {
  if (!statusBarShown || m_active) return false;
  m_active = true;
  m_value = 0;
  m_max = std::max(0L, size);
  return true;
}

void ProgressModel::Update(long position) {
  if (!m_active) return;
  if (position > m_max) {
    m_value = m_max;
  } else if (position > m_value) {
    m_value = position;
  }
}

bool ProgressModel::Terminate() {
  if (!m_active) return false;
  m_active = false;
  return true;
}

}  // namespace veltrimond
