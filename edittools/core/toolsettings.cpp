#include "edittools/core/toolsettings.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

namespace edittools {

std::vector<int> VoicesOfChoice(int choice, int voiceCount) {
  static constexpr std::array<std::pair<int, int>, 6> kPairs{
      {{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}}};
  std::vector<int> voices;
  if (choice == 0) {
    for (int v = 1; v <= voiceCount; ++v) voices.push_back(v);
  } else if (choice >= 1 && choice <= 4) {
    voices.push_back(choice);
  } else if (choice >= 5 && choice <= 10) {
    const auto [a, b] = kPairs[static_cast<std::size_t>(choice - 5)];
    voices = {a, b};
  }
  return voices;
}

int NoteSelectValue(const NoteFilter& filter) {
  if (filter.AllNotes) return 0;
  const int p = std::clamp(filter.Pitch, 0, 128) + 1;
  return filter.Above ? p : -p;
}

NoteFilter NoteFilterOf(int noteSelect) {
  NoteFilter filter;
  if (noteSelect == 0) return filter;
  filter.AllNotes = false;
  filter.Above = noteSelect > 0;
  filter.Pitch = static_cast<int>(std::clamp(std::llabs(noteSelect) - 1, 0LL, 128LL));
  return filter;
}

}  // namespace edittools
