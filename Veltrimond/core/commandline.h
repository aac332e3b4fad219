#pragma once
// The score named on the editor's command line.

#include <QString>
#include <QStringList>

namespace veltrimond {

// The first argument after the program's name that is not a switch ("-x", "--x"; after "--"
// every argument counts), as a local path: a file:// URL (a launcher's %u) becomes its path,
// a relative path is taken from the working folder. Empty when there is none, so a command
// line of switches alone opens nothing. A path may begin with "/".
QString CommandLineScore(const QStringList& arguments);

}  // namespace veltrimond
