// Score: the note selection made by a rectangle over the page, and the selected staff.
#include <algorithm>
#include <utility>

#include "notecraft/core/internal.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/edit/editstate.h"
#include "notecraft/edit/liveselection.h"

namespace notecraft {

int Score::SetSelection(int left, int top, int right, int bottom) {
  ClearSelection();
  EditState& edit = Edit();
  edit.SelectionVoice = Voice();
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  const auto page = static_cast<std::size_t>(m_curPage - 1);
  const int pageEnd =
      m_curPage >= 1 && page < m_pageTimes.size() ? m_pageTimes[page].High() : m_endTime;
  int count = 0;
  for (std::size_t k = 0; k < m_bands.size(); ++k) {
    const Region& band = *m_bands[k];
    if (!(left < band.Right() && band.Bottom() > top && band.Left() < right && band.Top() < bottom))
      continue;
    const auto staff = Staff(band.Staff());
    const auto voice = staff ? staff->Voice(Voice()) : nullptr;
    if (!voice || band.Measures() == 0) continue;
    const int from = band.Measure(0)->High();
    int to = pageEnd;
    for (std::size_t n = k + 1; n < m_bands.size(); ++n) {
      if (m_bands[n]->Staff() == band.Staff() && m_bands[n]->Measures() > 0) {
        to = m_bands[n]->Measure(0)->High();
        break;
      }
    }
    const Notes& notes = voice->Notes();
    for (int i = notes.IndexAtOrAfter(from); i <= notes.Count(); ++i) {
      const auto note = notes.ByIndex(i);
      if (note->NoteTime() >= to) break;
      if (note->X() <= left) continue;
      if (note->X() + band.IncY() >= right) break;
      edit.Selection.push_back({note, voice->ID(), staff->Index()});
      ++count;
    }
  }
  return count;
}

void Score::ClearSelection() {
  if (m_edit) m_edit->Selection.clear();
}

int Score::SelCount() const {
  return m_edit ? static_cast<int>(m_edit->Selection.size()) : 0;
}

std::vector<Score::SelectedItem> Score::SelectedNotes() const {
  std::vector<SelectedItem> items;
  if (!m_edit) return items;
  for (LiveNote& live : LiveSelection(*m_voices, m_edit->Selection)) {
    // Staves may have moved since the selection was made: find the voice where it is now.
    for (const auto& staff : *m_staffs) {
      int number = 0;
      for (int v = 1; v <= staff->Voices() && number == 0; ++v)
        if (staff->Voice(v) == live.Owner) number = v;
      if (number == 0) continue;
      items.push_back({std::move(live.Item), std::move(live.Owner), staff->Index(), number});
      break;
    }
  }
  return items;
}

std::shared_ptr<notecraft::Staff> Score::SelectedStaff() const {
  for (const auto& staff : *m_staffs)
    if (staff->Selected()) return staff;
  return nullptr;
}

}  // namespace notecraft
