#pragma once
// A score's undo history: its newest edits by position, oldest first, at most ten.

#include <deque>
#include <memory>

#include "notecraft/edit/didwhat.h"

namespace notecraft {

class UndoHistory {
public:
  static constexpr int kCapacity = 10;

  // Appends a record; the oldest goes when more than ten are held.
  void Push(DidWhat record);
  // Removes and returns the newest record; null when there is none.
  std::shared_ptr<DidWhat> Pop();
  int Count() const { return static_cast<int>(m_records.size()); }
  void Clear() { m_records.clear(); }

private:
  std::deque<DidWhat> m_records;
};

}  // namespace notecraft
