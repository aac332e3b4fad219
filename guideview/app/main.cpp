// guideview: shows the suite's help pages with a contents tree and a keyword index.
//   guideview [contents page] [/K product] [/T window title] [/I IX|TOC]
// A second start with the same window title brings the running viewer to the front instead.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <string>
#include <vector>

#include "guideview/app/frmhlpmain.h"
#include "guideview/core/commandline.h"
#include "platform/installfolder.h"
#include "platform/singleinstance.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("guideview");

  std::vector<std::string> args;
  for (const QString& arg : QApplication::arguments().mid(1)) args.push_back(arg.toStdString());
  guideview::HelpViewerCommandLine commandLine = guideview::ParseHelpViewerCommandLine(args);
  // Started from a desktop menu with no page named: the installed help.
  if (args.empty())
    commandLine.contentsFile =
        (platform::InstallFolder() + "/Common/Help/default.htm").toStdString();

  const QString caption = QString::fromStdString(commandLine.windowTitle);
  if (platform::SendInstanceCommand(caption, "show")) return 0;

  guideview::frmHLPMain window(commandLine);
  if (window.LoadFailed()) return 1;
  platform::InstanceServer instance(caption);
  QObject::connect(&instance, &platform::InstanceServer::showRequested, &window, [&window] {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
  });
  QObject::connect(&instance, &platform::InstanceServer::closeRequested, &window, &QWidget::close);
  window.ApplyStoredPlacement();
  window.show();
  return QApplication::exec();
}
