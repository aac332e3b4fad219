#pragma once
// Scores for the player's tests: `bars` bars of 4/4 with a short note on every beat.

#include <optional>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instruments.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"

namespace listenbox::testing {

inline void FillBeats(notecraft::Score& score, int bars, int tempo, int program = 0) {
  score.SetCount(tempo);
  score.AllGlobals().Add(0, notecraft::evtTimeChange, 4, 16);
  auto staff = score.AllStaffs().AddStaff(notecraft::Internal{}, score.AllStaffs().NewID(),
                                          "Staff", std::nullopt, true);
  auto voice =
      staff->AddVoice(score.AllInstruments().Add(score.AllInstruments().NewID(), program));
  for (int beat = 0; beat < bars * 4; ++beat)
    voice->Notes().Add(beat * 16, 72, notecraft::durSixteenth, 0);
}

}  // namespace listenbox::testing
