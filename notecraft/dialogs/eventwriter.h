#pragma once
// Writes the events a dialog's Apply asks for at one time of one list (the score's own, or a
// staff's), recording each change in the score's undo history so Undo takes it back. Tells
// afterwards whether anything changed.

#include <cstdint>
#include <string>

namespace notecraft {
class GlobalEvents;
class Score;
}  // namespace notecraft

namespace notecraft::dialogs {

class EventWriter {
public:
  // staffPosition 0: the score's own list; otherwise the list of the staff at that position.
  EventWriter(Score& score, GlobalEvents& list, int staffPosition);

  bool Has(int atTime, int eventType) const;
  // Adds the event of that kind at atTime, or gives the one there these values.
  void Put(int atTime, int eventType, int value1, int value2, const std::string& text);
  // Removes the event of that kind at atTime, when there is one.
  void Drop(int atTime, int eventType);
  bool Changed() const { return m_changed; }

private:
  void Record(int action, int atTime, int eventType, int value1, int value2,
              const std::string& text);

  Score& m_score;
  GlobalEvents& m_list;
  int m_staffPosition;
  bool m_changed = false;
};

}  // namespace notecraft::dialogs
