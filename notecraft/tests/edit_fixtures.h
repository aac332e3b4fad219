#pragma once
// Helpers for the tests of editing by position: a painted page on the recording surface
// (layout_fixtures.h), points inside its bands, and a listener that logs score events.

#include <memory>
#include <string>
#include <vector>

#include "layout_fixtures.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/edit/bandhit.h"
#include "notecraft/edit/editstate.h"

namespace notecraft::testing {

// Logs the events editing raises, one word each ("staff 1", "measure 3", "history 1",
// "changed 1", "cleared").
class EditEventLog : public ScoreEvents {
public:
  void ActiveStaff(const std::shared_ptr<Staff>& staff) override {
    Log.push_back("staff " + std::to_string(staff ? staff->Index() : 0));
  }
  void ActiveMeasure(int number) override { Log.push_back("measure " + std::to_string(number)); }
  void HistoryChanged(bool canUndo) override {
    Log.push_back("history " + std::to_string(canUndo));
  }
  void ChangeNotify(bool changed) override { Log.push_back("changed " + std::to_string(changed)); }
  void SelectionCleared() override { Log.push_back("cleared"); }
  std::vector<std::string> Log;
};

class EditFixture : public LayoutFixture {
public:
  EditFixture() { score.AddListener(&log); }
  ~EditFixture() override { score.RemoveListener(&log); }

  // Attaches the surface (laying out and painting page 1) or paints again.
  void Paint() {
    if (!score.Window()) Attach();
    surface.ClearRecord();
    score.PaintWindow();
  }
  const std::vector<std::shared_ptr<Region>>& Bands() { return score.Bands(Internal{}); }
  Region& Band(int index) { return *Bands().at(static_cast<std::size_t>(index - 1)); }
  // The x of time offset within measure i of a band (as entry computes it back).
  int XAt(const Region& band, int i, int offset, int length = 64) {
    int x = band.Left();
    for (int k = 0; k < i; ++k) x += band.Measure(k)->Low();
    const std::vector<MeasureStop>& stops = band.MeasureStops(i);
    if (!stops.empty()) {
      // Moved apart for its glyphs: between the drawn positions that hold the offset.
      std::vector<MeasureStop> at = stops;
      at.push_back({x + band.Measure(i)->Low(), length});
      for (std::size_t k = 1; k < at.size(); ++k) {
        if (offset >= at[k].Time || at[k].Time <= at[k - 1].Time) continue;
        const int step = (at[k].X - at[k - 1].X) / (at[k].Time - at[k - 1].Time);
        return at[k - 1].X + (offset - at[k - 1].Time) * step + step / 2;
      }
    }
    const int unit = (band.Measure(i)->Low() - band.MeasurePad(i)) / length;
    return x + band.MeasurePad(i) + offset * unit + unit / 2;
  }
  // The y of a staff position: steps half spaces below the top line.
  int YAt(const Region& band, int steps) {
    return band.Top() + band.PadTop() + steps * band.IncY() / 2;
  }
  std::shared_ptr<Voice> VoiceOf(int staff, int voice = 1) {
    return score.Staff(staff)->Voice(voice);
  }
  std::shared_ptr<Note> NoteAt(int staff, int time, int voice = 1) {
    auto note = VoiceOf(staff, voice)->Notes().Lookup(time);
    return note && note->NoteTime() == time ? note : nullptr;
  }
  std::vector<int> Times(int staff, int voice = 1) {
    std::vector<int> times;
    for (const auto& n : VoiceOf(staff, voice)->Notes()) times.push_back(n->NoteTime());
    return times;
  }
  const EditState& Editing() { return score.Editing(Internal{}); }

  EditEventLog log;
};

}  // namespace notecraft::testing
