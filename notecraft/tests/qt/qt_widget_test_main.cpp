// GoogleTest main for the engine's widget tests: as qt_test_main.cpp, with a QApplication.
#include <gtest/gtest.h>

#include <QApplication>

#include "notecraft/qt/musicfontloader.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QApplication app(argc, argv);
  notecraft::LoadMusicFont();
  return RUN_ALL_TESTS();
}
