#pragma once
// The suite's programs that the editor starts beside itself: the help viewer, the help
// updater and the style editor. Each gets its values as separate arguments (a Linux path
// starts with "/", like a switch, so nothing is joined into one command line), and each
// that shows a window answers on the single-instance channel named after its caption.

#include <QString>
#include <QStringList>
#include <functional>

#include "Veltrimond/core/apppaths.h"

namespace veltrimond {

inline const QString kHelpCaption = QStringLiteral("Veltrimond - Help");
inline const QString kStyleEditorCaption = QStringLiteral("Veltrimond Style Editor");
inline const QString kProductName = QStringLiteral("Veltrimond");
inline const QString kProductCode = QStringLiteral("T482615");

struct CompanionCommand {
  QString Program;  // a full path; empty when the program was not found
  QStringList Arguments;
  QString WorkingFolder;  // empty: the editor's own

  bool operator==(const CompanionCommand&) const = default;
};

// The program in the editor's own folder, else on the search path; empty when neither has it.
QString FindCompanion(const QString& binDir, const QString& name);

// The help viewer on the contents page, opened on its contents ("TOC") or index ("IX").
CompanionCommand HelpViewerCommand(const AppPaths& paths, const QString& topic);
// The help updater for the installed help pages, run in the program folder.
CompanionCommand HelpUpdaterCommand(const AppPaths& paths);
// The style editor; it takes no arguments.
CompanionCommand StyleEditorCommand(const AppPaths& paths);

// Starts a command and does not wait for it: true when the process started.
using CompanionLauncher = std::function<bool(const CompanionCommand&)>;
bool StartCompanion(const CompanionCommand& command);

}  // namespace veltrimond
