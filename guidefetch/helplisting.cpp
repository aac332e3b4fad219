#include "guidefetch/helplisting.h"

#include <QFileInfo>
#include <QLocale>

#include "webupdate/listlines.h"

namespace guidefetch {

QList<HelpEntry> ParseHelpListing(const QByteArray& page) {
  const QString text = QString::fromUtf8(page);
  const qsizetype pre = text.indexOf(QStringLiteral("<pre>"), 0, Qt::CaseInsensitive);
  if (pre < 0) return {};
  // The rest of the <pre> line is not part of the list.
  qsizetype start = pre + 5;
  while (start < text.size() && text[start] != u'\r' && text[start] != u'\n') ++start;
  qsizetype end = text.indexOf(QStringLiteral("</pre>"), start, Qt::CaseInsensitive);
  if (end < 0) end = text.size();

  QList<HelpEntry> entries;
  const QStringList lines = webupdate::SplitLines(text.mid(start, end - start));
  for (const QString& line : lines) {
    const qsizetype bar = line.indexOf(u'|');
    if (bar < 0) continue;
    HelpEntry entry{line.left(bar).trimmed(), line.mid(bar + 1).trimmed()};
    if (!entry.name.isEmpty()) entries.append(entry);
  }
  return entries;
}

std::optional<QDateTime> ParseListedDate(const QString& text) {
  static const char* const dateTimeFormats[] = {
      "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm", "yyyy-MM-dd HH:mm",
      "M/d/yyyy h:mm:ss AP", "M/d/yyyy h:mm AP",    "M/d/yyyy H:mm:ss", "M/d/yyyy H:mm",
  };
  static const char* const dateFormats[] = {"yyyy-MM-dd", "M/d/yyyy"};
  const QLocale c = QLocale::c();
  const QString trimmed = text.simplified();
  for (const char* format : dateTimeFormats) {
    QDateTime value = c.toDateTime(trimmed, QString::fromLatin1(format));
    if (value.isValid()) return value;
  }
  for (const char* format : dateFormats) {
    const QDate date = c.toDate(trimmed, QString::fromLatin1(format));
    if (date.isValid()) return date.startOfDay();
  }
  return {};
}

bool NeedsFetch(const QFileInfo& local, const QString& listedDate) {
  if (!local.exists()) return true;
  const std::optional<QDateTime> listed = ParseListedDate(listedDate);
  return !listed || local.lastModified() < *listed;
}

}  // namespace guidefetch
