#pragma once
// The style type (Treble, Bass, Drums) and what it means for the style's one staff: the clef,
// the instrument and, for drums, the kit and the names the drum list shows.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace notecraft {
class Score;
}

namespace layoutpad {

// Positions in the type list.
enum class StyleType { Treble = 0, Bass = 1, Drums = 2 };

// The clef staff 1 gets for a type (ClefTypes).
int ClefForType(StyleType type) noexcept;
// The type a style shows for the clef of its staff 1: percussion is Drums, bass is Bass and
// every other clef reads as Treble.
StyleType TypeForClef(int clef) noexcept;

// The instrument-table numbers a rebuilt style plays: a melodic instrument for Treble and
// Bass, the drum kit for Drums.
inline constexpr int kMelodicInstrument = 74;
inline constexpr int kDrumKitInstrument = 128;

struct DrumSlot {
  int Code;   // instrument-table code of the drum
  int Value;  // the MIDI note it plays
};
// The kit of a new drum style, slots 1..8.
inline constexpr std::array<DrumSlot, 8> kDrumKit{
    {{128, 51}, {130, 49}, {135, 40}, {140, 35}, {152, 45}, {153, 47}, {154, 48}, {155, 50}}};

// Makes the style one of the type. Only a change of clef rebuilds it (every note goes): the
// staves are emptied, the instruments and voices cleared, and staff 1 gets one voice playing
// a new instrument of the type (with the kit for Drums) and the type's clef. True when the
// style was rebuilt; the caller repaints.
bool ApplyStyleType(notecraft::Score& style, StyleType type);

// One entry of the drum list: the drum's description and the kit slot (1..8) it plays.
struct DrumEntry {
  std::string Name;
  int Slot = 1;
};
// The drum list of a style whose staff 1 plays a drum instrument through its voice 1: the
// kit's slots in order, up to the first empty slot or the first repeat of slot 1's drum,
// leaving out a drum equal to the one listed just before. Nothing (the list is hidden) for
// any other style.
std::optional<std::vector<DrumEntry>> DrumList(const notecraft::Score& style);

}  // namespace layoutpad
