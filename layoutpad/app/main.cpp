// layoutpad: the style editor. Edits the accompaniment styles of the styles folder that the
// editor's settings name (Main/Styles); a second start brings the running editor to the
// front. Ends at once when no styles folder is set.
#include <QApplication>

#include "layoutpad/app/editorplatform.h"
#include "layoutpad/app/frmsylmain.h"
#include "layoutpad/app/stylelibrary.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/timer.h"
#include "notecraft/player/fluidscoreplayer.h"
#include "notecraft/qt/musicfontloader.h"
#include "notecraft/qt/qttimerfactory.h"
#include "platform/installfolder.h"
#include "platform/singleinstance.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Quorvane Software Inc"));
  QCoreApplication::setApplicationName(QStringLiteral("layoutpad"));

  // The editor finds this program by its caption.
  const QString caption = QStringLiteral("Veltrimond Style Editor");
  if (platform::SendInstanceCommand(caption, QStringLiteral("show"))) return 0;

  const QString folder = layoutpad::ResolveStylesFolder(platform::InstallFolder());
  if (folder.isEmpty()) return 0;

  layoutpad::EditorPlatform desktop;
  notecraft::SetPlatform(&desktop);
  notecraft::QtTimerFactory timers;
  notecraft::SetTimerFactory(&timers);
  notecraft::FluidScorePlayer::Install();
  notecraft::LoadMusicFont();

  int result = 0;
  {
    layoutpad::frmSYLMain window(folder, std::make_unique<layoutpad::QtStylePrompter>());
    desktop.SetOwner(&window);
    platform::InstanceServer instance(caption);
    QObject::connect(&instance, &platform::InstanceServer::showRequested, &window, [&window] {
      window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
      window.show();
      window.raise();
      window.activateWindow();
    });
    QObject::connect(&instance, &platform::InstanceServer::closeRequested, &window,
                     &QWidget::close);
    window.show();
    result = QApplication::exec();
  }
  notecraft::SetScorePlayerFactory({});
  notecraft::SetTimerFactory(nullptr);
  notecraft::SetPlatform(nullptr);
  return result;
}
