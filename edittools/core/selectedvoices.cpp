#include "edittools/core/selectedvoices.h"

#include <algorithm>
#include <tuple>

#include "edittools/core/toolsettings.h"
#include "notecraft/core/note.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"

namespace edittools {

std::vector<SelectedVoice> SelectedVoices(const notecraft::Score& score, int voiceChoice) {
  std::vector<notecraft::Score::SelectedItem> items = score.SelectedNotes();
  std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
    return std::tuple(a.Staff, a.VoiceNumber, a.Item->NoteTime()) <
           std::tuple(b.Staff, b.VoiceNumber, b.Item->NoteTime());
  });
  std::vector<SelectedVoice> voices;
  for (auto& item : items) {
    const auto staff = score.Staff(item.Staff);
    const std::vector<int> chosen = VoicesOfChoice(voiceChoice, staff ? staff->Voices() : 0);
    if (std::find(chosen.begin(), chosen.end(), item.VoiceNumber) == chosen.end()) continue;
    if (voices.empty() || voices.back().Voice != item.Owner)
      voices.push_back({item.Staff, item.VoiceNumber, item.Owner, {}});
    auto& notes = voices.back().Notes;
    if (notes.empty() || notes.back() != item.Item) notes.push_back(std::move(item.Item));
  }
  return voices;
}

}  // namespace edittools
