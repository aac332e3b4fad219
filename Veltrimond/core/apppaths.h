#pragma once
// The editor's folders.

#include <QString>

namespace veltrimond {

struct AppPaths {
  QString BinDir;       // the companion programs
  QString DataDir;      // the install folder, read-only: Common/Config, Common/Cursors, ...
  QString UserDataDir;  // writable: Styles and the user's own copies
  QString Documents;    // the Open dialog's folder until one is chosen

  QString CursorsDir() const { return DataDir + QStringLiteral("/Common/Cursors"); }
  QString StylesDir() const { return UserDataDir + QStringLiteral("/Styles"); }

  // From the running program, the install folder and the user's XDG folders.
  static AppPaths Find();
};

}  // namespace veltrimond
