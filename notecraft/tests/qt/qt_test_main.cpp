// GoogleTest main for the Qt tests: one QGuiApplication for the process, the music font
// loaded from the install folder. Listing the tests (CTest's discovery at build time) needs
// neither, so it runs without a platform plugin.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "notecraft/qt/musicfontloader.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QGuiApplication app(argc, argv);
  notecraft::LoadMusicFont();  // the tests check the result themselves
  return RUN_ALL_TESTS();
}
