#include "Veltrimond/core/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "platform/installfolder.h"

namespace veltrimond {

AppPaths AppPaths::Find() {
  AppPaths paths;
  paths.BinDir = QCoreApplication::applicationDirPath();
  paths.DataDir = platform::InstallFolder();
  paths.UserDataDir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                      QStringLiteral("/veltrimond");
  paths.Documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (paths.Documents.isEmpty()) paths.Documents = QDir::homePath();
  return paths;
}

}  // namespace veltrimond
