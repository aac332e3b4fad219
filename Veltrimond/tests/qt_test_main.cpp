// GoogleTest main for the frame's widget tests: one QApplication for the process, on Qt's
// offscreen platform, with no audio, the build tree as the install folder and a private
// runtime folder, whether run by CTest or by hand. Listing the tests (CTest's discovery at
// build time) needs no QApplication.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("TONEGEN_AUDIO_DRIVER", "none");
  qputenv("VELTRIMOND_HOME", VELTRIMOND_BUILD_DATA);
  qputenv("XDG_RUNTIME_DIR", VELTRIMOND_TEST_RUNTIME);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
