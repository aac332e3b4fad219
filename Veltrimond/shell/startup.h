#pragma once
// The editor's start-up, in order: screen scale, file type, first-run settings, cursors,
// recent files, the frame (which opens the sound output), its rectangle, the splash, the
// frame shown. The first activation follows once the frame is on screen and the splash has
// had its time: the options are read, the splash goes, the commands are enabled and the
// score named on the command line opens, unless the frame was closed meanwhile.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>

namespace veltrimond {

struct AppContext;
class QtPlatform;
class frmVLTSplash;
class mdiVLTMain;

class Startup final : public QObject {
  Q_OBJECT

public:
  struct Options {
    int SplashMs = 3750;
    // Set a program name, file type and install folder in the desktop's data folder.
    bool RegisterFileType = true;
  };

  // `platform` receives the frame as its messages' owner and holds messages back until the
  // first activation is done; it may be null.
  Startup(AppContext& context, QtPlatform* platform, QStringList arguments, Options options);
  Startup(AppContext& context, QtPlatform* platform, QStringList arguments);
  ~Startup() override;

  // Runs the start-up up to showing the frame, which it returns (owned by this object).
  mdiVLTMain* Run();
  mdiVLTMain* Frame() const { return m_frame.get(); }
  // Null once the splash has gone.
  frmVLTSplash* Splash() const;
  bool FirstActivationDone() const noexcept { return m_done; }

signals:
  // The first activation has run (also when it found the frame closed).
  void firstActivationDone();

private:
  void ReadScreenScale();
  void LoadCursors();
  void PlaceFrame();
  void ShowSplash();
  void OnFrameShown();
  void OnSplashExpired();
  void FinishFirstActivation();

  AppContext& m_context;
  QtPlatform* m_platform;
  QStringList m_arguments;
  Options m_options;
  std::unique_ptr<mdiVLTMain> m_frame;
  QPointer<frmVLTSplash> m_splash;
  bool m_frameShown = false;
  bool m_splashExpired = false;
  bool m_done = false;
};

}  // namespace veltrimond
