#pragma once
// The score's staves in display order, keyed by staff ID; every staff's Index is its
// position. Also measures a measure across all staves for layout.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notecraft/core/staff.h"

namespace notecraft {

class Score;
struct Internal;

class Staffs {
public:
  using StaffPtr = std::shared_ptr<Staff>;
  using const_iterator = std::vector<StaffPtr>::const_iterator;

  int Count() const { return static_cast<int>(m_items.size()); }
  // By ID or 1-based position; null when unknown.
  StaffPtr Item(const std::string& id) const;
  StaffPtr Item(int index) const;
  const_iterator begin() const { return m_items.begin(); }
  const_iterator end() const { return m_items.end(); }

  // Horizontal note positions a measure [atTime, atTime + duration) needs over all staves:
  // each note start, and each gap that ends at a note start; at least 4, and even.
  int ItemCount(int atTime, int duration) const;
  // The most accidentals of any key in force at the end of the measure.
  int KeyCount(int atTime, int duration) const;

  // Library-internal.
  // A new staff at position `before` (clamped; default last). Unless noVoice, it gets one
  // voice playing the instrument of the staff before it (of staff 1 when inserted first),
  // or a new instrument from table row 74. Null when the ID is taken.
  StaffPtr AddStaff(Internal, const std::string& id, const std::string& description,
                    std::optional<int> before = std::nullopt, bool noVoice = false);
  // Inserts before the first staff of a higher group, after the staves of its own group.
  void InsertByGroup(Internal, const StaffPtr& staff);
  void RemoveStaff(Internal, int index);
  void RemoveStaff(Internal, const std::string& id);
  void ResetStaffs(Internal);
  std::string NewID() const;
  void SetParent(Internal, Score* score);
  Score* Parent(Internal) const;

private:
  void Renumber();
  std::shared_ptr<Instrument> DefaultInstrument() const;

  std::vector<StaffPtr> m_items;
  Score* m_parent = nullptr;  // non-owning; cleared when the score ends
};

}  // namespace notecraft
