#include "Veltrimond/core/childtags.h"

namespace veltrimond {

QString MakeChildTag(const QTime& now, const std::function<bool(const QString&)>& taken) {
  const QString prefix = QString::fromLatin1(kChildTagPrefix);
  QString tag = prefix + now.toString(QStringLiteral("hhmmss"));
  while (taken && taken(tag)) {
    const long number = tag.mid(prefix.size()).toLong() + 1;
    tag = prefix + QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0'));
  }
  return tag;
}

}  // namespace veltrimond
