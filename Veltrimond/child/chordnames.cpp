#include "Veltrimond/child/chordnames.h"

namespace veltrimond {

ChordNameLists SplitChordNames(const std::vector<std::pair<std::string, int>>& chords) {
  ChordNameLists lists;
  for (const auto& chord : chords) {
    const QString name = QString::fromStdString(chord.first);
    const qsizetype blank = name.indexOf(QLatin1Char(' '));
    const QString root = (blank < 0 ? name : name.left(blank)).trimmed();
    QString quality = blank < 0 ? QString() : name.mid(blank + 1).trimmed();
    if (!root.isEmpty() && !lists.Roots.contains(root)) lists.Roots << root;
    const bool minor = quality.startsWith(QLatin1String("MIN"), Qt::CaseInsensitive);
    if (minor) quality = quality.mid(3).trimmed();
    if (quality.isEmpty() || quality.compare(QLatin1String("MAJ"), Qt::CaseInsensitive) == 0)
      quality = QStringLiteral(" ");
    QStringList& list = minor ? lists.Minor : lists.Major;
    if (!list.contains(quality)) list << quality;
  }
  return lists;
}

}  // namespace veltrimond
