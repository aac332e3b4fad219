// GoogleTest main for the widget tests: one QApplication for the process, the score engine's
// timers on Qt's, and the music font. Listing the tests needs none of it.
#include <gtest/gtest.h>

#include <QApplication>

#include "notecraft/core/timer.h"
#include "notecraft/qt/musicfontloader.h"
#include "notecraft/qt/qttimerfactory.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QApplication app(argc, argv);
  notecraft::QtTimerFactory timers;
  notecraft::SetTimerFactory(&timers);
  notecraft::LoadMusicFont();
  const int result = RUN_ALL_TESTS();
  notecraft::SetTimerFactory(nullptr);
  return result;
}
