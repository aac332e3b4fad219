#include "platform/installfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/settingsstore.h"

namespace platform {

namespace {

bool HoldsCommonConfig(const QString& folder) {
  return !folder.isEmpty() && QFileInfo(folder + "/Common/Config").isDir();
}

QString Clean(const QString& folder) {
  QString path = QDir::cleanPath(folder);
  while (path.size() > 1 && path.endsWith('/')) path.chop(1);
  return path;
}

}  // namespace

QString ProgramFolder() {
  const QString exe = QFile::symLinkTarget("/proc/self/exe");
  return exe.isEmpty() ? QDir::currentPath() : QFileInfo(exe).absolutePath();
}

QString InstallFolder() {
  if (const QString env = qEnvironmentVariable("VELTRIMOND_HOME"); !env.isEmpty())
    return Clean(env);
  return FindInstallFolder(ProgramFolder());
}

QString FindInstallFolder(const QString& dir) {
  for (const QString& candidate : {dir, dir + "/..", dir + "/../share/veltrimond"})
    if (HoldsCommonConfig(candidate)) return Clean(candidate);
  if (const QString recorded = ReadSetting("Main", "Path"); HoldsCommonConfig(recorded))
    return Clean(recorded);
  return Clean(dir + "/..");
}

void RecordInstallFolder() {
  const QString folder = InstallFolder();
  if (ReadSetting("Main", "Path") != folder) WriteSetting("Main", "Path", folder);
}

}  // namespace platform
