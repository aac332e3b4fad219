// GoogleTest main for the widget tests: the environment, one QApplication for the process,
// the score engine's timers on Qt's, and the music font. Listing the tests needs none of it.
#include <gtest/gtest.h>

#include <QApplication>

#include "notecraft/core/timer.h"
#include "notecraft/qt/musicfontloader.h"
#include "notecraft/qt/qttimerfactory.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  // The build tree is the install folder (music font, instrument table, shipped styles); the
  // single-instance sockets go to a folder of the build; sound stays silent unless a test
  // names a file to play into.
  qputenv("VELTRIMOND_HOME", LAYOUTPAD_TEST_HOME);
  qputenv("XDG_RUNTIME_DIR", LAYOUTPAD_TEST_RUNTIME);
  qputenv("TONEGEN_AUDIO_DRIVER", "none");
  if (!qEnvironmentVariableIsSet("TONEGEN_SOUNDFONT"))
    qputenv("TONEGEN_SOUNDFONT", "/usr/share/sounds/sf2/TimGM6mb.sf2");
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  notecraft::QtTimerFactory timers;
  notecraft::SetTimerFactory(&timers);
  notecraft::LoadMusicFont();
  const int result = RUN_ALL_TESTS();
  notecraft::SetTimerFactory(nullptr);
  return result;
}
