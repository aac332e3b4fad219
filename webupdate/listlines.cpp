#include "webupdate/listlines.h"

#include <QRegularExpression>

namespace webupdate {

QStringList SplitLines(const QString& text) {
  QStringList lines;
  QString line;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'\r') {
      lines.append(line);
      line.clear();
      if (i + 1 < text.size() && text[i + 1].unicode() < 0x20) ++i;
    } else if (c == u'\n') {
      lines.append(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.isEmpty()) lines.append(line);
  return lines;
}

QStringList SplitLines(const QByteArray& text) {
  return SplitLines(QString::fromUtf8(text));
}

QList<QStringList> ListEntries(const QByteArray& text) {
  static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
  QList<QStringList> entries;
  const QStringList lines = SplitLines(text);
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    if (line.isEmpty()) continue;
    entries.append(line.split(blanks, Qt::SkipEmptyParts));
  }
  return entries;
}

}  // namespace webupdate
