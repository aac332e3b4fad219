// The editor: installs what the score engine and the sound library need of the desktop, then
// runs the start-up and the event loop until the frame closes.
#include <QApplication>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/core/apppaths.h"
#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/artwork.h"
#include "Veltrimond/shell/qtplatform.h"
#include "Veltrimond/shell/startup.h"
#include "notecraft/core/allocator.h"
#include "notecraft/core/dialogservice.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/timer.h"
#include "notecraft/dialogs/qtdialogservice.h"
#include "notecraft/qt/musicfontloader.h"
#include "notecraft/qt/qttimerfactory.h"
#include "tonegen/report.h"

int main(int argc, char** argv) {
  using namespace veltrimond;
  notecraft::TuneAllocator();  // before the first score is opened
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Quorvane Software Inc"));
  QCoreApplication::setApplicationName(QStringLiteral("Veltrimond"));
  QCoreApplication::setApplicationVersion(QStringLiteral(VELTRIMOND_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("veltrimond"));

  AppContext context;
  context.Paths = AppPaths::Find();
  QApplication::setWindowIcon(ProgramIcon(context.Paths.DataDir));
  context.NewScoreWindow = [](AppContext& c, IFrame& frame) -> IScoreWindow* {
    return new chdVLTMain(c, frame);
  };

  QtPlatform desktop(context);
  notecraft::SetPlatform(&desktop);
  notecraft::QtTimerFactory timers;
  notecraft::SetTimerFactory(&timers);
  // The score's own prompts and property dialogs (insert or delete measures and staves).
  notecraft::dialogs::QtDialogService dialogs;
  notecraft::SetDialogService(&dialogs);
  // A sound output that cannot be opened is told, never fatal: start-up goes on silently.
  tonegen::SetErrorHandler([&desktop](const std::string& title, const std::string& text) {
    desktop.ShowMessage(title, text);
  });
  notecraft::LoadMusicFont();

  int result = 0;
  {
    Startup startup(context, &desktop, QCoreApplication::arguments());
    startup.Run();
    result = QApplication::exec();
  }
  tonegen::SetErrorHandler({});
  notecraft::SetDialogService(nullptr);
  notecraft::SetTimerFactory(nullptr);
  notecraft::SetPlatform(nullptr);
  return result;
}
