#include "notecraft/core/score_structure.h"

#include <algorithm>
#include <cstdint>

#include "notecraft/core/common.h"
#include "notecraft/core/dialogservice.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"

namespace notecraft {

namespace {

// Score times must stay below the score file's 24-bit limit; measure numbers beyond this
// bound lie past any time a score can hold (the longest measure is 96 64ths).
constexpr std::int64_t kTimeLimit = std::int64_t{1} << 24;
constexpr int kMaxMeasure = 1 << 17;
constexpr int kMaxInsertQuantity = 24;

// Measure deletion and insertion refuse to start while either runs.
bool g_measureEditBusy = false;

class MeasureEditGuard {
public:
  MeasureEditGuard() : m_entered(!g_measureEditBusy) { g_measureEditBusy = true; }
  ~MeasureEditGuard() {
    if (m_entered) g_measureEditBusy = false;
  }
  MeasureEditGuard(const MeasureEditGuard&) = delete;
  MeasureEditGuard& operator=(const MeasureEditGuard&) = delete;
  bool Entered() const { return m_entered; }

private:
  bool m_entered;
};

int DefaultMeasure(const Score& score) {
  return std::max(1, score.SelectedMeasure());
}

// After the layout started over from page 1, the page shown is laid out before it is drawn
// again, and stays among the pages the score still has: the edit may have moved its start
// or removed it altogether.
void KeepShownPage(Score& score) {
  if (!score.Window()) return;  // nothing laid out, nothing shown
  const Internal key;
  while (score.Paginating() && score.LastPage() < score.CurPage()) {
    const int before = score.LastPage();
    score.PaginateStep(key);
    if (score.Paginating() && score.LastPage() == before) break;  // a step that could not run
  }
  score.ShowPageFromStart(key, std::clamp(score.CurPage(), 1, std::max(score.LastPage(), 1)));
}

// After a structural edit: the history, the selection and the last entry name stale
// positions, the layout is stale.
void AfterStructuralEdit(Score& score) {
  score.ClearUndo(Internal{});
  score.ForgetEditPositions(Internal{});
  score.SetChanged(true);
  score.RestartPagination(1);
  KeepShownPage(score);
  score.PaintWindow();
}

template <typename F>
void ForEachEventList(Score& score, F&& visit) {
  visit(score.AllGlobals());
  for (const auto& staff : score.AllStaffs()) visit(staff->GlobalEvents());
}

template <typename F>
void ForEachStaffVoice(Score& score, F&& visit) {
  for (const auto& staff : score.AllStaffs())
    for (int v = 1; v <= staff->Voices(); ++v)
      if (auto voice = staff->Voice(v)) visit(*voice);
}

// The latest time any note or event of the score reaches.
std::int64_t LatestTime(Score& score) {
  std::int64_t latest = 0;
  ForEachStaffVoice(score, [&](Voice& voice) {
    const Notes& notes = voice.Notes();
    if (auto last = notes.ByIndex(notes.Count()))
      latest = std::max<std::int64_t>(latest, last->NoteTime() + last->Duration());
  });
  ForEachEventList(score, [&](GlobalEvents& list) {
    if (auto last = list.ByIndex(list.Count()))
      latest = std::max<std::int64_t>(latest, last->EventTime());
    if (auto last = list.TimeItem(list.TimeItemCount()))
      latest = std::max<std::int64_t>(latest, last->EventTime());
  });
  return latest;
}

void ShiftFrom(Score& score, int atTime, int shift) {
  ForEachStaffVoice(score, [&](Voice& voice) {
    Notes& notes = voice.Notes();
    for (int i = notes.IndexAtOrAfter(atTime); i <= notes.Count(); ++i) {
      auto note = notes.ByIndex(i);
      note->SetNoteTime(Internal{}, note->NoteTime() + shift);
    }
  });
  // Every event keeps its place in its list: all those at or after atTime move together.
  ForEachEventList(score, [&](GlobalEvents& list) {
    for (const auto& e : list)
      if (e->EventTime() >= atTime) e->SetEventTime(e->EventTime() + shift);
    // A time signature exactly at the insertion point governs the new measures.
    for (int i = 1; i <= list.TimeItemCount(); ++i) {
      auto e = list.TimeItem(i);
      if (e->EventTime() > atTime) e->SetEventTime(e->EventTime() + shift);
    }
  });
}

// An instrument for inserted staves: the chosen table row, else (no row, or the score holds
// 16 instruments none of which plays it) the instrument of the staff before position.
std::shared_ptr<Instrument> InstrumentForInsert(Score& score, int row, int position) {
  auto& instruments = score.AllInstruments();
  if (row >= 0) {
    if (auto instrument = instruments.Add(instruments.NewID(), row)) return instrument;
  }
  const int neighbour = std::clamp(position - 1, 1, std::max(1, score.Staffs()));
  if (auto staff = score.Staff(neighbour))
    if (auto voice = staff->Voice(1)) return voice->Instrument();
  return nullptr;
}

}  // namespace

std::shared_ptr<Staff> SelectedStaff(const Score& score) {
  for (const auto& staff : score.AllStaffs())
    if (staff->Selected()) return staff;
  return nullptr;
}

int StaffFromListEntry(int listIndex, std::string_view text, int staffCount) {
  if (listIndex == 0) return 1;
  if (listIndex == 1) return staffCount;
  const double n = Val(text);
  if (!(n >= 1)) return 0;
  return static_cast<int>(std::min<double>(n, kMaxMeasure));
}

void DelMeasure(Score& score, std::optional<int> measure, bool prompt) {
  MeasureEditGuard guard;
  if (!guard.Entered()) return;
  TheCommon().DialogResult = 1;
  int count = 1;
  int first = measure.value_or(DefaultMeasure(score));
  if (prompt) {
    auto* service = CurrentDialogService();
    if (!service) return;
    auto answer = service->AskDeleteMeasure(score, first);
    if (!answer) return;
    count = answer->Quantity;
    first = answer->Measure;
  }
  // Below 1 the span would start before the score and drag everything to negative times.
  if (first < 1 || count < 1 || first > kMaxMeasure) return;
  count = std::min(count, kMaxMeasure);
  GlobalEvents& globals = score.AllGlobals();
  const int from = globals.MeasureTime(first);
  const int to = globals.MeasureTime(first + count);
  if (to <= from) return;
  score.DeletingMeasures(Internal{}, from, to);
  ForEachStaffVoice(score, [&](Voice& voice) { voice.Notes().RemoveRange(from, to); });
  for (const auto& staff : score.AllStaffs())
    staff->GlobalEvents().RemoveRange(Internal{}, from, to);
  globals.RemoveRange(Internal{}, from, to);
  AfterStructuralEdit(score);
}

void AddMeasure(Score& score, std::optional<int> measure, bool afterIt, bool prompt) {
  MeasureEditGuard guard;
  if (!guard.Entered()) return;
  TheCommon().DialogResult = 1;
  int quantity = 1;
  int at = measure.value_or(DefaultMeasure(score));
  bool after = afterIt;
  if (prompt) {
    auto* service = CurrentDialogService();
    if (!service) return;
    auto answer = service->AskInsertMeasure(score, at, after);
    if (!answer) return;
    quantity = answer->Quantity;
    at = answer->Measure;
    after = answer->After;
  }
  if (quantity < 1 || at > kMaxMeasure) return;
  if (after) ++at;
  at = std::max(at, 1);
  GlobalEvents& globals = score.AllGlobals();
  const int start = at == 1 ? 0 : globals.MeasureTime(at);
  int number = 0, length = 0;
  globals.MeasureInfo(start, number, length);
  const std::int64_t shift = std::int64_t{length} * quantity;
  if (shift <= 0) return;
  const std::int64_t latest = LatestTime(score);
  if (latest >= start && latest + shift >= kTimeLimit) return;
  if (start + shift >= kTimeLimit) return;
  const int endBefore = score.ScoreEndTime();
  ShiftFrom(score, start, static_cast<int>(shift));
  score.MeasuresInserted(Internal{}, start, static_cast<int>(shift), length, endBefore);
  AfterStructuralEdit(score);
}

void DelStaff(Score& score, std::optional<int> position, bool prompt) {
  TheCommon().DialogResult = 1;
  std::int64_t count = 1;
  std::int64_t first = position.value_or(1);
  if (prompt) {
    auto* service = CurrentDialogService();
    if (!service) return;
    // The prompt proposes the staff asked for, else the one the user works on.
    const auto selected = SelectedStaff(score);
    auto answer =
        service->AskDeleteStaff(score, position.value_or(selected ? selected->Index() : 0));
    if (!answer) return;
    count = answer->Quantity;
    first = StaffFromListEntry(answer->ListIndex, answer->ListText, score.Staffs());
  }
  const bool redraw = score.Redraw();
  score.SetRedraw(false);
  // From the highest position down, so the positions still to go do not move.
  const std::int64_t last = std::min<std::int64_t>(first + count - 1, score.Staffs());
  bool removed = false;
  for (std::int64_t k = last; k >= std::max<std::int64_t>(first, 1); --k) {
    auto staff = score.Staff(static_cast<int>(k));
    if (!staff) continue;
    for (int v = staff->Voices(); v >= 1; --v)
      if (auto voice = staff->Voice(v)) score.AllVoices().Remove(voice->ID());
    score.AllStaffs().RemoveStaff(Internal{}, static_cast<int>(k));
    removed = true;
  }
  if (removed) {
    AfterStructuralEdit(score);
  } else {
    score.SetChanged(true);
  }
  score.SetRedraw(redraw);
}

std::shared_ptr<Staff> AddStaff(Score& score, std::optional<int> position, bool prompt) {
  const Internal key;
  std::shared_ptr<Staff> added;
  if (!prompt) {
    added = score.AllStaffs().AddStaff(key, score.AllStaffs().NewID(), "New", position);
    if (added) AfterStructuralEdit(score);
    return added;
  }
  TheCommon().DialogResult = 1;
  auto* service = CurrentDialogService();
  if (!service) return nullptr;
  auto answer = service->AskInsertStaff(score);
  if (!answer) return nullptr;
  const int quantity = std::clamp(answer->Quantity, 1, kMaxInsertQuantity);
  int at = StaffFromListEntry(answer->ListIndex, answer->ListText, score.Staffs());
  if (answer->After) ++at;
  at = std::clamp(at, 1, score.Staffs() + 1);
  auto instrument = InstrumentForInsert(score, answer->InstrumentRow, at);
  if (!instrument) return nullptr;  // no instrument to play: a voice without one is unusable
  const int voices = std::clamp(answer->Voices, 1, Staff::kMaxVoices);

  const bool redraw = score.Redraw();
  score.SetRedraw(false);
  for (int i = 0; i < quantity; ++i) {
    auto staff = score.AllStaffs().AddStaff(key, score.AllStaffs().NewID(), "New", at, true);
    if (!staff) continue;
    for (int v = 0; v < voices; ++v) staff->AddVoice(instrument);
    // After the voices: the first one gives the staff its instrument's clef.
    if (answer->Clef >= clfPercussion && answer->Clef <= clfTenor)
      staff->SetDefaultClef(answer->Clef);
    added = staff;
  }
  if (added) AfterStructuralEdit(score);
  score.SetRedraw(redraw);
  return added;
}

void ShowDialog(Score& score, int dialog, std::optional<int> left, std::optional<int> top) {
  if (dialog != dlgScoreProperties && dialog != dlgStaffProperties &&
      dialog != dlgMeasureProperties)
    return;
  auto* service = CurrentDialogService();
  if (!service) return;
  const bool wasChanged = score.Changed();
  service->ShowProperties(score, dialog, left, top);
  // The host learns of the dialog's changes once more, after the dialog has gone.
  if (score.Changed() && !wasChanged) score.Raise([](ScoreEvents& l) { l.ChangeNotify(true); });
}

}  // namespace notecraft
