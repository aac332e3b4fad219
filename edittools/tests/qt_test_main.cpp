// GoogleTest main for the widget tests: one QApplication for the process. Listing the tests
// (CTest's discovery at build time) needs none, so it runs without a platform plugin.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
