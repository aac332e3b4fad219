#include "Veltrimond/core/commandline.h"

#include <QDir>
#include <QUrl>

namespace veltrimond {

QString CommandLineScore(const QStringList& arguments) {
  bool switchesEnded = false;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    if (!switchesEnded && arg == QLatin1String("--")) {
      switchesEnded = true;
      continue;
    }
    if (!switchesEnded && arg.startsWith(QLatin1Char('-'))) continue;
    if (arg.trimmed().isEmpty()) continue;
    if (arg.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
      const QUrl url(arg);
      const bool here = url.host().isEmpty() || url.host() == QLatin1String("localhost");
      if (!url.isValid() || !url.isLocalFile() || !here) continue;
      return url.toLocalFile();
    }
    return QDir::cleanPath(QDir::current().absoluteFilePath(arg));
  }
  return {};
}

}  // namespace veltrimond
