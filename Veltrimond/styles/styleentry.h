#pragma once
// One accompaniment style as the Insert Style dialog lists it: its name (the file name
// without ".sty"), its type (treble, bass or drums, from the clef of its first staff) and
// its beat (the time signature at its start, packed as numerator x 128 + the length of
// the beat note in 64ths: 3/4 is 3 x 128 + 16, 6/8 is 6 x 128 + 8).

#include <optional>
#include <string>

namespace notecraft {
class Score;
}

namespace veltrimond::styles {

enum StyleType { kTreble = 0, kBass = 1, kDrums = 2 };

// Packed beats of the dialog's beat filter.
constexpr long kBeat24 = 2 * 128 + 16;
constexpr long kBeat34 = 3 * 128 + 16;
constexpr long kBeat44 = 4 * 128 + 16;

struct StyleEntry {
  long beat = kBeat44;
  int type = kTreble;
  std::string name;
};

// "2/4", "3/4", "4/4"; otherwise the numerator and, by the beat note, "/8", "/4", "/2",
// "/1" or, for any other, "/16".
std::string BeatText(long beat);
// "Treble", "Bass", "Drums"; empty for any other type.
std::string TypeWord(int type);
// "Waltz1 - [Treble, 3/4]".
std::string ItemText(const StyleEntry& entry);
// The style name of a list item: the text before the last "[" less its " - ", trimmed.
std::string StyleNameOfItem(const std::string& item);
// The type word of a list item, upper-cased ("DRUMS"): the text between the last "[" and
// the next ","; empty when there is none.
std::string TypeWordOfItem(const std::string& item);

// typeIndex: 0 all, else type + 1. beatIndex: 0 all, 1 2/4, 2 3/4, 3 4/4, 4 every other.
bool PassesFilters(const StyleEntry& entry, int typeIndex, int beatIndex);

// The type and beat of an opened style file. Empty, with *why set, when the style has no
// first staff or that staff no first voice: nothing could be inserted from it.
std::optional<StyleEntry> DescribeStyle(const notecraft::Score& style, const std::string& name,
                                        std::string* why = nullptr);

// Whether the style plays drums: the instrument of the first voice of its first staff is a
// drum kit. A missing staff, voice or instrument is not drums.
bool IsDrumStyle(const notecraft::Score& style);

}  // namespace veltrimond::styles
