#pragma once
// The selected notes that still stand in their voices at their times, in selection order.

#include <memory>
#include <vector>

#include "notecraft/core/note.h"
#include "notecraft/core/voice.h"
#include "notecraft/core/voices.h"
#include "notecraft/edit/editstate.h"

namespace notecraft {

struct LiveNote {
  std::shared_ptr<Note> Item;
  std::shared_ptr<notecraft::Voice> Owner;
  int Staff = 0;  // Staff::Index when selected
};

std::vector<LiveNote> LiveSelection(const Voices& voices,
                                    const std::vector<SelectedNote>& selection);

}  // namespace notecraft
