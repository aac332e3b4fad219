#pragma once
// The position slider: a marker that moves over 4275 twips (285 steps of 15) as a score
// plays. Its range is 0 .. the score's length in quarter notes (64ths \ 16).

namespace listenbox {

inline constexpr int kSliderTwips = 4275;
inline constexpr int kSliderStepTwips = 15;

// The slider's maximum for a score of highTime 64ths; 0 for a score shorter than a quarter.
int SliderMaximum(int highTime);
// Left edge of the marker, in twips, at `position` (clamped to 0 .. maximum), on the 15-twip
// grid; 0 while the maximum is 0 or less.
int SliderLeft(int position, int maximum);

}  // namespace listenbox
