#include "webupdate/messagetext.h"

#include <QLocale>

namespace webupdate {

QString ShortName(const QString& text, qsizetype maxLength) {
  if (text.size() <= maxLength) return text;
  const QString gap = QStringLiteral("\u2026");
  const qsizetype kept = std::max<qsizetype>(maxLength - gap.size(), 2);
  const qsizetype tail = kept / 2;
  return text.left(kept - tail) + gap + text.right(tail);
}

QString ShortenNames(const QString& text, qsizetype maxLength) {
  QString shortened;
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype end = start;
    while (end < text.size() && !text[end].isSpace()) ++end;
    shortened += ShortName(text.mid(start, end - start), maxLength);
    start = end;
    while (start < text.size() && text[start].isSpace()) shortened += text[start++];
  }
  return shortened;
}

QString Sentence(const QString& clause) {
  QString text = clause.trimmed();
  if (text.isEmpty()) return text;
  text[0] = text[0].toUpper();
  if (!text.endsWith(u'.')) text += u'.';
  return text;
}

QString ServerText(const QByteArray& text) {
  QString printable;
  for (char c : text.trimmed().left(60)) {
    printable += (c >= 0x20 && c < 0x7f) ? QLatin1Char(c) : QLatin1Char('?');
  }
  return printable;
}

QString SizeText(qint64 bytes) {
  if (bytes < 1024) return QStringLiteral("%1 bytes").arg(bytes);
  return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeIecFormat);
}

QString DurationText(qint64 milliseconds) {
  const auto plural = [](const QString& number, const char* unit) {
    return number + u' ' + QString::fromLatin1(unit) + (number == u"1" ? "" : "s");
  };
  const double seconds = static_cast<double>(milliseconds) / 1000.0;
  if (seconds < 10) {
    QString number = QString::number(seconds, 'f', 1);
    if (number.endsWith(QStringLiteral(".0"))) number.chop(2);
    return plural(number, "second");
  }
  if (seconds < 120) return plural(QString::number(qRound(seconds)), "second");
  if (seconds < 7200) return plural(QString::number(qRound(seconds / 60)), "minute");
  return plural(QString::number(seconds / 3600, 'f', 1), "hour");
}

}  // namespace webupdate
