#include "Veltrimond/shell/startup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include "Veltrimond/core/commandline.h"
#include "Veltrimond/core/cursorslots.h"
#include "Veltrimond/core/framegeometry.h"
#include "Veltrimond/core/startupseeds.h"
#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/frmvltsplash.h"
#include "Veltrimond/shell/mdivltmain.h"
#include "Veltrimond/shell/qtplatform.h"
#include "platform/filetype.h"
#include "platform/installfolder.h"
#include "platform/settingsstore.h"

namespace veltrimond {

namespace {

const QString kMain = QStringLiteral("Main");

}  // namespace

Startup::Startup(AppContext& context, QtPlatform* platform, QStringList arguments, Options options)
    : m_context(context),
      m_platform(platform),
      m_arguments(std::move(arguments)),
      m_options(options) {}

Startup::Startup(AppContext& context, QtPlatform* platform, QStringList arguments)
    : Startup(context, platform, std::move(arguments), Options{}) {}

Startup::~Startup() {
  if (m_platform) m_platform->SetOwner(nullptr);
  delete m_splash;
}

frmVLTSplash* Startup::Splash() const {
  return m_splash.data();
}

mdiVLTMain* Startup::Run() {
  if (m_platform) m_platform->HoldMessages(true);
  ReadScreenScale();
  if (m_options.RegisterFileType)
    platform::RegisterFileType(QCoreApplication::applicationFilePath());
  SeedMainSettings(QCoreApplication::applicationVersion(), m_context.Paths.StylesDir());
  platform::RecordInstallFolder();
  LoadCursors();
  m_context.History.Load();

  m_frame = std::make_unique<mdiVLTMain>(m_context);
  if (m_platform) m_platform->SetOwner(m_frame.get());
  connect(m_frame.get(), &mdiVLTMain::firstShown, this, &Startup::OnFrameShown);
  m_context.State.FrameMaximized =
      platform::ReadSettingBool(kMain, QStringLiteral("Maximized"), false);
  m_context.State.ChildrenMaximized =
      platform::ReadSettingBool(QStringLiteral("Children"), QStringLiteral("Maximized"), false);
  PlaceFrame();
  ShowSplash();
  if (m_context.State.FrameMaximized) {
    m_frame->showMaximized();
  } else {
    m_frame->show();
  }
  // Staying on top is the window manager's to grant; without one the frame would cover it.
  m_splash->raise();
  return m_frame.get();
}

void Startup::ReadScreenScale() {
  TwipsPerPixel& tpp = m_context.State.Tpp;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    // Logical, not physical, dots per inch: what the desktop scales text by.
    if (screen->logicalDotsPerInchX() > 0) tpp.X = 1440.0 / screen->logicalDotsPerInchX();
    if (screen->logicalDotsPerInchY() > 0) tpp.Y = 1440.0 / screen->logicalDotsPerInchY();
  }
}

void Startup::LoadCursors() {
  // A file that cannot be read leaves its slot 0: the windows then show the arrow.
  const QString folder = m_context.Paths.CursorsDir() + QLatin1Char('/');
  for (const CursorSlotFile& slot : kCursorSlotFiles) {
    m_context.State.CursorIDs[static_cast<std::size_t>(slot.Slot)] =
        m_context.Cursors.CreateStoredCursor(folder + QString::fromLatin1(slot.File));
  }
}

void Startup::PlaceFrame() {
  AppState& state = m_context.State;
  const QScreen* primary = QGuiApplication::primaryScreen();
  const QRect screen = primary ? primary->geometry() : QRect(0, 0, 1024, 768);
  const TwipsRect stored{platform::ReadSettingDouble(kMain, QStringLiteral("Left"), 0),
                         platform::ReadSettingDouble(kMain, QStringLiteral("Top"), 0),
                         platform::ReadSettingDouble(kMain, QStringLiteral("Width"), 0),
                         platform::ReadSettingDouble(kMain, QStringLiteral("Height"), 0)};
  QList<QRect> available;
  for (const QScreen* s : QGuiApplication::screens()) available.append(s->availableGeometry());
  const QRect pixels = FrameRectOnScreens(stored, screen, available, state.Tpp);
  state.Frame = ToTwips(pixels, state.Tpp);
  m_frame->setGeometry(pixels);
}

void Startup::ShowSplash() {
  m_splash = new frmVLTSplash(m_options.SplashMs);
  connect(m_splash, &frmVLTSplash::expired, this, &Startup::OnSplashExpired);
  const QScreen* primary = QGuiApplication::primaryScreen();
  const QRect screen = primary ? primary->geometry() : QRect(0, 0, 1024, 768);
  m_splash->move(
      SplashTopLeft(m_splash->size(), screen, m_frame->geometry(), m_context.State.FrameMaximized));
  m_splash->show();
  // Painted before the frame comes up under it.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Startup::OnFrameShown() {
  if (m_frameShown) return;
  m_frameShown = true;
  m_context.State.Options = LoadOptionSettings();
  FinishFirstActivation();
}

void Startup::OnSplashExpired() {
  m_splashExpired = true;
  FinishFirstActivation();
}

void Startup::FinishFirstActivation() {
  if (m_done || !m_frameShown || !m_splashExpired) return;
  m_done = true;
  if (m_splash) {
    m_splash->close();
    m_splash->deleteLater();
  }
  if (!m_frame->Closed()) {
    m_frame->EnableCommands();
    m_frame->InitMenuPictures();
    if (m_platform) m_platform->HoldMessages(false);
    const QString path = CommandLineScore(m_arguments);
    if (!path.isEmpty()) m_frame->OpenScoreFile(path, 0);
  }
  emit firstActivationDone();
}

}  // namespace veltrimond
