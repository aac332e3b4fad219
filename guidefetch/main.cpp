// guidefetch <help folder> /P <product code> /K <product name>: brings the product's help
// pages up to date from the update server. Without all three values it ends at once.
#include <QApplication>

#include "guidefetch/frmhupmain.h"
#include "guidefetch/helpcommandline.h"
#include "guidefetch/helpupdater.h"
#include "platform/settingsstore.h"
#include "webupdate/serverurl.h"

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  const std::optional<guidefetch::HelpCommandLine> line =
      guidefetch::ParseHelpCommandLine(arguments);
  if (!line) return 0;

  QApplication app(argc, argv);
  const QUrl server = webupdate::UpdateServerUrl(
      platform::ReadSetting(QStringLiteral("Main"), QStringLiteral("UpdateServer")));
  guidefetch::HelpUpdater updater(*line, server);
  guidefetch::frmHUPMain window(*line, updater);
  window.show();
  return app.exec() == 0 ? 0 : 1;
}
