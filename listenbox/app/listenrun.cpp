#include "listenbox/app/listenrun.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <iostream>
#include <memory>
#include <vector>

#include "listenbox/app/frmplymain.h"
#include "listenbox/app/listenplayer.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "platform/settingsstore.h"
#include "tonegen/processoutput.h"
#include "tonegen/report.h"
#include "tonegen/soundmaster.h"

namespace listenbox {

namespace {

// The output chosen in the editor's options (section "Devices"), -1 the synthesizer.
int PlayDeviceId() {
  return platform::ReadSettingInt(QStringLiteral("Devices"), QStringLiteral("PlayID"), -1);
}

// Unattended, the reason a file cannot be opened is told once, on stderr, by the run itself.
class QuietPlatform final : public notecraft::Platform {
public:
  void ShowMessage(const std::string&, const std::string&) override {}
};

// The engine's messages (a file that cannot be opened) in a message box.
class WindowPlatform final : public notecraft::Platform {
public:
  void ShowMessage(const std::string& title, const std::string& text) override {
    QMessageBox::warning(nullptr, QString::fromStdString(title), QString::fromStdString(text));
  }
};

}  // namespace

int PlayUnattended(const std::string& file) {
  QuietPlatform quiet;
  notecraft::SetPlatform(&quiet);
  notecraft::Score score;
  const bool opened = score.OpenFile(file);
  notecraft::SetPlatform(nullptr);
  if (!opened) {
    std::cerr << "listenbox: cannot open \"" << file << "\": " << score.LastFileError() << '\n';
    return kExitNoFile;
  }

  std::vector<std::string> soundErrors;
  const tonegen::ErrorHandler previous = tonegen::SetErrorHandler(
      [&](const std::string&, const std::string& text) { soundErrors.push_back(text); });
  tonegen::SoundMaster sound;
  sound.SetOutputDevice(PlayDeviceId());
  sound.OpenOutput();
  if (!soundErrors.empty() || !tonegen::ProcessOutput::Instance().IsOpen()) {
    std::cerr << "listenbox: no sound output could be opened";
    if (!soundErrors.empty()) std::cerr << ": " << soundErrors.front();
    std::cerr << '\n';
    tonegen::SetErrorHandler(previous);
    return kExitNoOutput;
  }
  // Failures while playing are told once on stderr; play goes on.
  tonegen::SetErrorHandler([](const std::string&, const std::string& text) {
    std::cerr << "listenbox: " << text << '\n';
  });

  ListenPlayer player(score, sound);
  QObject::connect(&player, &ListenPlayer::finished, QCoreApplication::instance(),
                   &QCoreApplication::quit, Qt::QueuedConnection);
  QTimer::singleShot(0, &player, [&player] {
    player.Play();
  });
  const int code = QCoreApplication::exec();
  player.Stop();
  sound.CloseOutput();
  tonegen::SetErrorHandler(previous);
  return code == 0 ? kExitPlayed : code;
}

int RunWindow(const std::string& file) {
  WindowPlatform platformHooks;
  notecraft::SetPlatform(&platformHooks);
  // Reported after the tick that failed, never inside it.
  tonegen::SetErrorHandler([](const std::string& title, const std::string& text) {
    QTimer::singleShot(0, qApp, [title, text] {
      QMessageBox::warning(nullptr, QString::fromStdString(title), QString::fromStdString(text));
    });
  });

  notecraft::Score score;
  if (file.empty() || !score.OpenFile(file)) score.CreateDefault();
  tonegen::SoundMaster sound;
  sound.SetOutputDevice(PlayDeviceId());
  sound.OpenOutput();

  int code = 0;
  {
    frmPLYMain window(score, sound);
    window.show();
    code = QApplication::exec();
  }
  sound.CloseOutput();
  tonegen::SetErrorHandler({});
  notecraft::SetPlatform(nullptr);
  return code;
}

}  // namespace listenbox
