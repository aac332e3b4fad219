#include "Veltrimond/child/chordnames.h"

namespace veltrimond {

namespace {

bool IsNoteLetter(QChar c) {
  return c >= QLatin1Char('A') && c <= QLatin1Char('G');
}

// The length of a compact name's minor mark at the start of rest: "min" or an "m" that
// does not begin "maj"; 0 for none.
qsizetype MinorMark(const QString& rest) {
  if (rest.startsWith(QLatin1String("min"), Qt::CaseInsensitive)) return 3;
  if (rest.startsWith(QLatin1Char('m')) &&
      !rest.startsWith(QLatin1String("maj"), Qt::CaseInsensitive))
    return 1;
  return 0;
}

}  // namespace

ChordNameParts SplitChordName(const QString& name) {
  ChordNameParts parts;
  const QString trimmed = name.trimmed();
  const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
  QString quality;
  if (blank >= 0) {
    parts.Root = trimmed.left(blank).trimmed();
    quality = trimmed.mid(blank + 1).trimmed();
    parts.Minor = quality.startsWith(QLatin1String("MIN"), Qt::CaseInsensitive);
    if (parts.Minor) quality = quality.mid(3).trimmed();
  } else if (!trimmed.isEmpty() && IsNoteLetter(trimmed[0])) {
    qsizetype rootLength = 1;
    if (trimmed.size() > 1 && (trimmed[1] == QLatin1Char('#') || trimmed[1] == QLatin1Char('b')))
      rootLength = 2;
    parts.Root = trimmed.left(rootLength);
    quality = trimmed.mid(rootLength);
    const qsizetype minor = MinorMark(quality);
    parts.Minor = minor > 0;
    quality = quality.mid(minor).trimmed();
  } else {
    parts.Root = trimmed;
  }
  if (!quality.isEmpty() && quality.compare(QLatin1String("MAJ"), Qt::CaseInsensitive) != 0)
    parts.Quality = quality;
  return parts;
}

ChordNameLists SplitChordNames(const std::vector<std::pair<std::string, int>>& chords) {
  ChordNameLists lists;
  for (const auto& chord : chords) {
    const ChordNameParts parts = SplitChordName(QString::fromStdString(chord.first));
    if (!parts.Root.isEmpty() && !lists.Roots.contains(parts.Root)) lists.Roots << parts.Root;
    QStringList& list = parts.Minor ? lists.Minor : lists.Major;
    if (!list.contains(parts.Quality)) list << parts.Quality;
  }
  return lists;
}

}  // namespace veltrimond
