#include "notecraft/edit/liveselection.h"

#include <utility>

#include "notecraft/core/notes.h"

namespace notecraft {

std::vector<LiveNote> LiveSelection(const Voices& voices,
                                    const std::vector<SelectedNote>& selection) {
  std::vector<LiveNote> live;
  for (const SelectedNote& s : selection) {
    auto note = s.Item.lock();
    auto voice = note ? voices.Item(s.VoiceID) : nullptr;
    if (!voice || voice->Notes().Lookup(note->NoteTime()) != note) continue;
    live.push_back({std::move(note), std::move(voice), s.Staff});
  }
  return live;
}

}  // namespace notecraft
