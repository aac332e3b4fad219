#pragma once
// What a score tells its hosts, each raised synchronously inside the operation that causes
// it. The score is consistent before any of these is raised: listeners may call back into it.
// Default bodies do nothing, so a host overrides only what it needs.

#include <memory>

namespace notecraft {

class MIDIEvent;
class Staff;

class ScoreEvents {
public:
  virtual ~ScoreEvents() = default;

  virtual void ActiveMeasure(int number) { (void)number; }
  virtual void ActiveStaff(const std::shared_ptr<Staff>& curStaff) { (void)curStaff; }
  virtual void ActiveVoice(int number) { (void)number; }
  virtual void AfterOpenSave() {}
  virtual void BeforeOpenSave(int size) { (void)size; }
  // Raised whenever the changed state is set or cleared.
  virtual void ChangeNotify(bool isChanged) { (void)isChanged; }
  virtual void GoRepeat(int nextTime) { (void)nextTime; }
  virtual void HistoryChanged(bool canUndo) { (void)canUndo; }
  virtual void LoadMIDI(const std::shared_ptr<MIDIEvent>& eventObj) { (void)eventObj; }
  virtual void MarkHandle(int hType, int y) { (void)hType, (void)y; }
  virtual void MarkRepeat(int curTime) { (void)curTime; }
  virtual void ProgressReport(int position) { (void)position; }
  virtual void SelectionCleared() {}
  virtual void SkipSection(int curTime, int nextTime) { (void)curTime, (void)nextTime; }
  virtual void WindowCleared() {}
};

}  // namespace notecraft
