#include "notecraft/edit/undohistory.h"

#include <utility>

namespace notecraft {

void UndoHistory::Push(DidWhat record) {
  m_records.push_back(std::move(record));
  while (Count() > kCapacity) m_records.pop_front();
}

std::shared_ptr<DidWhat> UndoHistory::Pop() {
  if (m_records.empty()) return nullptr;
  auto record = std::make_shared<DidWhat>(std::move(m_records.back()));
  m_records.pop_back();
  return record;
}

}  // namespace notecraft
