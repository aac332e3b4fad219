// patchrunner <product name>: brings the named product up to its newest service pack. With no
// name it ends at once; a name that could not name a settings file is refused.
#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "patchrunner/frmupdmain.h"
#include "patchrunner/productsettings.h"
#include "patchrunner/productupdater.h"
#include "webupdate/serverurl.h"

int main(int argc, char** argv) {
  QStringList words;
  for (int i = 1; i < argc; ++i) words.append(QString::fromLocal8Bit(argv[i]));
  const QString name = words.join(u' ').trimmed();
  if (name.isEmpty()) return 0;
  if (!patchrunner::IsValidProductName(name)) {
    std::fprintf(stderr, "patchrunner: \"%s\" is not a product name.\n", qPrintable(name));
    return 2;
  }

  QApplication app(argc, argv);
  patchrunner::ProductSettings settings(name);
  const patchrunner::ProductInfo product = patchrunner::ReadProductInfo(name, settings);
  const QUrl server = webupdate::UpdateServerUrl(
      settings.Read(QStringLiteral("Main"), QStringLiteral("UpdateServer")));
  patchrunner::ProductUpdater updater(product, server, settings);
  updater.SetRequireHashes(settings.Read(QStringLiteral("Main"), QStringLiteral("UpdateChecksums"))
                               .compare(QStringLiteral("Required"), Qt::CaseInsensitive) == 0);
  patchrunner::frmUPDMain window(product, updater);
  window.show();
  return app.exec();
}
