#pragma once
// The chord panel's lists made from the chord table's names ("C Min 7", "G", "D maj 9"):
// the roots, and the qualities of major and of minor chords, each once, in table order.

#include <QStringList>
#include <string>
#include <utility>
#include <vector>

namespace veltrimond {

struct ChordNameLists {
  QStringList Roots;
  QStringList Major;  // "7", "maj 9", " " for the plain chord
  QStringList Minor;  // "7" of "C Min 7", " " of "C Min"
};

// A name splits at its first blank into root and quality; a quality starting with "MIN" (any
// case) is a minor one without those letters; an empty quality or "MAJ" is a single blank.
ChordNameLists SplitChordNames(const std::vector<std::pair<std::string, int>>& chords);

}  // namespace veltrimond
