#pragma once
// The score's selected notes as the editing tools take them: voice by voice, staves in
// their order, each voice's notes in time order.

#include <memory>
#include <vector>

namespace notecraft {
class Note;
class Score;
class Voice;
}  // namespace notecraft

namespace edittools {

struct SelectedVoice {
  int Staff = 0;        // 1-based position of the voice's staff
  int VoiceNumber = 0;  // on that staff
  std::shared_ptr<notecraft::Voice> Voice;
  std::vector<std::shared_ptr<notecraft::Note>> Notes;
};

// Voices numbered outside voiceChoice (VoicesOfChoice) are left out.
std::vector<SelectedVoice> SelectedVoices(const notecraft::Score& score, int voiceChoice);

}  // namespace edittools
