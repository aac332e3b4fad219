// GoogleTest main for the player's widget and program tests: one QApplication on Qt's
// offscreen platform, no audio, and a settings folder of the process's own. Listing the
// tests (CTest's discovery at build time) needs no QApplication.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("TONEGEN_AUDIO_DRIVER", "none");
  qputenv("TONEGEN_SOUNDFONT", LISTENBOX_TEST_SOUNDFONT);
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
