// GoogleTest main with one QCoreApplication for the process (local sockets need its event
// loop). Listing the tests needs none. Started with --file-type it answers one file-type
// question instead, in a fresh process (filetypeprobe.h).
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "filetypeprobe.h"

int main(int argc, char** argv) {
  if (const int probe = platform::testing::RunFileTypeProbe(argc, argv); probe >= 0) return probe;
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
