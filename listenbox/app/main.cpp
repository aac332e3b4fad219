// listenbox: plays a score or style file. "listenbox FILE" shows a small window that plays
// it; "listenbox FILE /s" plays it without a window and exits when it has sounded.
#include <QApplication>
#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

#include "listenbox/app/listenrun.h"
#include "listenbox/core/commandline.h"

int main(int argc, char** argv) {
  const listenbox::CommandLine commandLine =
      listenbox::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  for (const std::string& ignored : commandLine.Ignored)
    std::cerr << "listenbox: ignoring \"" << ignored << "\"\n";
  if (commandLine.PlayAtOnce) {
    // No window: no display needed.
    QCoreApplication app(argc, argv);
    return listenbox::PlayUnattended(commandLine.File);
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("listenbox"));
  return listenbox::RunWindow(commandLine.File);
}
