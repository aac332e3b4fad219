#pragma once
// List texts the dialogs share; a list's position is the value it stands for.

#include <array>
#include <string_view>

namespace notecraft::dialogs {

// Key signatures by position; the key is position - 7 (negative: flats).
inline constexpr std::array<std::string_view, 15> kMajorKeys{
    "Cb - 7 flats", "Gb - 6 flats",  "Db - 5 flats", "Ab - 4 flats",
    "Eb - 3 flats", "Bb - 2 flats",  "F - 1 flat",   "C",
    "G - 1 sharp",  "D - 2 sharps",  "A - 3 sharps", "E - 4 sharps",
    "B - 5 sharps", "F# - 6 sharps", "C# - 7 sharps"};
inline constexpr std::array<std::string_view, 15> kMinorKeys{
    "Ab - 7 flats",  "Eb - 6 flats",  "Bb - 5 flats",  "F - 4 flats",
    "C - 3 flats",   "G - 2 flats",   "D - 1 flat",    "A",
    "E - 1 sharp",   "B - 2 sharps",  "F# - 3 sharps", "C# - 4 sharps",
    "G# - 5 sharps", "D# - 6 sharps", "A# - 7 sharps"};

// ClefTypes 0..5.
inline constexpr std::array<std::string_view, 6> kClefs{"Percussion",  "Treble", "Bass",
                                                        "Grand Staff", "Alto",   "Tenor"};

// InstrumentCategories 0..9; the Insert Staff dialog offers all but Drums.
inline constexpr std::array<std::string_view, 10> kCategories{
    "Solo", "Vocal", "Wind", "Reed", "Brass", "String", "Guitar", "Percussion", "Grand", "Drums"};

// Time-signature options: the time value each stands for (numerator x 128 + beat length in
// 64ths; 0 common time, 1 cut time, -1 custom) and its caption.
inline constexpr std::array<int, 10> kTimeTags{0, 1, 528, 272, 400, 656, 392, 776, 1160, -1};
inline constexpr std::array<std::string_view, 10> kTimeCaptions{
    "Common time", "Cut time", "4/4", "2/4", "3/4", "5/4", "3/8", "6/8", "9/8", "Custom"};
inline constexpr int kCustomTime = 9;

// Denominator shown for a beat length in 64ths (any other length shows as 4), and back
// (any other denominator: 0).
int DenominatorOfBeat(int beatLength);
int BeatOfDenominator(int denominator);
// The default pulse count of a time value: 4 for common time, 2 for cut time, else the
// numerator, except 6 -> 2 and 9 -> 3.
int DefaultPulse(int timeValue);

}  // namespace notecraft::dialogs
