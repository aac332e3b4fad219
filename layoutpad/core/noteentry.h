#pragma once
// What a click on the page enters: the note value tool, the enhancement toggles and the
// style type become the arguments of the score's AddNoteByHit; the arrow keys become
// ChangeLast calls on the note entered last.

#include <string>
#include <string_view>

#include "layoutpad/core/styletype.h"

namespace layoutpad {

// The note value tool from a tool button's image key: the number after its first character
// ("N08" gives 8); 0 (no tool) for a key without one.
int ToolFromImageKey(std::string_view key) noexcept;

// The enhancement tool bar: each toggle as pressed or not, and the picture the Align button
// carries (its image key decides the grid).
struct Enhancements {
  bool Align = false;
  std::string AlignImage = "N16";
  bool Dot = false;
  bool Staccato = false;
  bool Triplet = false;
};

// The grid a note snaps to (a duration in 64ths); 0 without Align.
int SnapFor(const Enhancements& enhance) noexcept;
// NoteFlags: dot and staccato for melodic styles only, triplet for every style.
int FlagsFor(StyleType type, const Enhancements& enhance) noexcept;
// The duration (64ths) of a tool: 1 whole .. 16 sixteenth; any other a thirty-second.
int DurationForTool(int tool) noexcept;
// To the nearest whole number, halves to the even one.
int RoundHalfEven(double value) noexcept;

struct NoteEntry {
  int X = 0;
  int Y = 0;
  int Duration = 0;
  int Flags = 0;
  int Snap = 0;
  bool operator==(const NoteEntry&) const = default;
};
// The call for a release at (x, y) page twips: the note goes to the staff position nearest
// the point, under the cross pointer's centre.
NoteEntry ComposeNoteEntry(double x, double y, int tool, StyleType type,
                           const Enhancements& enhance) noexcept;

enum class ArrowKey { Left, Right, Up, Down };
struct LastNoteChange {
  int Value = 0;
  bool Alignment = false;
  bool operator==(const LastNoteChange&) const = default;
};
// Left and right move the last note a sixteenth in time, up and down a semitone in pitch.
LastNoteChange ChangeForArrow(ArrowKey key) noexcept;

}  // namespace layoutpad
