#include "notecraft/view/drumnotation.h"

#include <array>

namespace notecraft {

namespace {

constexpr int kMiddleLine = 71;  // B4

struct DrumPlace {
  int Note;   // General MIDI drum note
  int Pitch;  // written as this pitch under a treble-placed clef
};

constexpr std::array<DrumPlace, 22> kKit = {{
    {35, 65}, {36, 65},                      // bass drums: F4, the bottom space
    {37, 72}, {38, 72}, {40, 72},            // side stick and snares: C5, the third space
    {41, 67}, {43, 69},                      // floor toms: G4 and A4
    {45, 71}, {47, 71},                      // low toms: B4, the middle line
    {48, 74}, {50, 76},                      // high toms: D5 and E5
    {42, 79}, {46, 79},                      // closed and open hi-hat: G5, above the top line
    {44, 62},                                // pedal hi-hat: D4, below the bottom line
    {51, 77}, {53, 77}, {59, 77},            // rides and ride bell: F5, the top line
    {49, 81}, {52, 81}, {55, 81}, {57, 81},  // crash, china, splash: A5, the ledger line
    {56, 76},                                // cowbell: E5
}};

}  // namespace

int DrumStaffPitch(int note) {
  for (const DrumPlace& place : kKit)
    if (place.Note == note) return place.Pitch;
  return kMiddleLine;
}

}  // namespace notecraft
