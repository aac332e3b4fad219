#pragma once
// The chord panel's lists made from the chord table's names: the roots, and the qualities of
// major and of minor chords, each once, in table order. Two spellings are read: names with
// blanks ("C Min 7", "G", "D maj 9") and compact names ("C#m7", "Bbmaj7", "Fsus4").

#include <QString>
#include <QStringList>
#include <string>
#include <utility>
#include <vector>

namespace veltrimond {

// One chord name taken apart. Quality is " " for the plain chord.
struct ChordNameParts {
  QString Root;
  bool Minor = false;
  QString Quality = QStringLiteral(" ");
};

// A name with a blank splits at its first blank into root and quality, and a quality
// starting with "MIN" (any case) is a minor one without those letters. A name without a
// blank splits after its root, a letter A to G with an optional "#" or "b"; a quality
// starting with "min" (any case) or with "m" but not "maj" is a minor one without them. An
// empty quality or "MAJ" (any case) is a single blank. A name that starts with no note
// letter is all root.
ChordNameParts SplitChordName(const QString& name);

struct ChordNameLists {
  QStringList Roots;
  QStringList Major;  // "7", "maj 9", " " for the plain chord
  QStringList Minor;  // "7" of "C Min 7" or "Cm7", " " of "C Min" or "Cm"
};

ChordNameLists SplitChordNames(const std::vector<std::pair<std::string, int>>& chords);

}  // namespace veltrimond
