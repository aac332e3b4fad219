#include "Veltrimond/shell/companions.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace veltrimond {

QString FindCompanion(const QString& binDir, const QString& name) {
  // The editor's own folder first, so a build tree or a second installed version starts
  // its own companions rather than whatever the search path finds.
  const QFileInfo local(binDir + QLatin1Char('/') + name);
  if (!binDir.isEmpty() && local.isFile() && local.isExecutable())
    return local.absoluteFilePath();
  return QStandardPaths::findExecutable(name);
}

CompanionCommand HelpViewerCommand(const AppPaths& paths, const QString& topic) {
  return {FindCompanion(paths.BinDir, QStringLiteral("guideview")),
          {paths.DataDir + QStringLiteral("/Common/Help/default.htm"), QStringLiteral("/K"),
           kProductName, QStringLiteral("/T"), kHelpCaption, QStringLiteral("/I"), topic},
          {}};
}

CompanionCommand HelpUpdaterCommand(const AppPaths& paths) {
  return {FindCompanion(paths.BinDir, QStringLiteral("guidefetch")),
          {paths.DataDir + QStringLiteral("/Common/Help"), QStringLiteral("/P"), kProductCode,
           QStringLiteral("/K"), kProductName},
          paths.BinDir};
}

CompanionCommand StyleEditorCommand(const AppPaths& paths) {
  return {FindCompanion(paths.BinDir, QStringLiteral("layoutpad")), {}, {}};
}

bool StartCompanion(const CompanionCommand& command) {
  if (command.Program.isEmpty()) return false;
  return QProcess::startDetached(command.Program, command.Arguments, command.WorkingFolder);
}

}  // namespace veltrimond
