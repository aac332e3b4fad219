#include "layoutpad/core/styletype.h"

#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"

namespace layoutpad {

int ClefForType(StyleType type) noexcept {
  switch (type) {
    case StyleType::Bass:
      return notecraft::clfBass;
    case StyleType::Drums:
      return notecraft::clfPercussion;
    case StyleType::Treble:
      break;
  }
  return notecraft::clfTreble;
}

StyleType TypeForClef(int clef) noexcept {
  if (clef == notecraft::clfPercussion) return StyleType::Drums;
  if (clef == notecraft::clfBass) return StyleType::Bass;
  return StyleType::Treble;
}

bool ApplyStyleType(notecraft::Score& style, StyleType type) {
  const int clef = ClefForType(type);
  auto first = style.Staff(1);
  if (!first || first->DefaultClef() == clef) return false;

  for (int i = 1; i <= style.Staffs(); ++i)
    if (auto staff = style.Staff(i)) staff->Clear();
  style.AllInstruments().Clear();
  style.AllVoices().Clear();

  auto& instruments = style.AllInstruments();
  const bool drums = type == StyleType::Drums;
  auto instrument =
      instruments.Add(instruments.NewID(), drums ? kDrumKitInstrument : kMelodicInstrument);
  if (instrument && drums) {
    for (int slot = 1; slot <= static_cast<int>(kDrumKit.size()); ++slot) {
      const DrumSlot& drum = kDrumKit[static_cast<std::size_t>(slot - 1)];
      instrument->SetDrumCode(slot, drum.Code);
      instrument->SetDrumValue(slot, drum.Value);
    }
  }
  first->AddVoice(instrument);
  first->SetDefaultClef(clef);
  // The old notes are gone: the style is not the one on disk any more.
  style.SetChanged(true);
  return true;
}

std::optional<std::vector<DrumEntry>> DrumList(const notecraft::Score& style) {
  auto staff = style.AllStaffs().Item(1);
  auto voice = staff ? staff->Voice(1) : nullptr;
  auto instrument = voice ? voice->Instrument() : nullptr;
  if (!instrument || instrument->Category() != notecraft::catDrums) return std::nullopt;

  std::vector<DrumEntry> entries;
  const int firstCode = instrument->DrumCode(1);
  int lastCode = -1;
  for (int slot = 1; slot <= 8; ++slot) {
    const int code = instrument->DrumCode(slot);
    if (code == 0 || (slot > 1 && code == firstCode)) break;
    if (code == lastCode) continue;
    entries.push_back({style.InsDesc(code), slot});
    lastCode = code;
  }
  return entries;
}

}  // namespace layoutpad
