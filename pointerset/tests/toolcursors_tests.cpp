// The cursor files the build draws into the install folder: all fifteen load with the
// hotspot they were drawn for, and each shows a mark (not an empty picture) under it.
#include <gtest/gtest.h>

#include <QDir>

#include "pointerset/curfile.h"
#include "pointerset/cursorbank.h"

namespace pointerset {
namespace {

TEST(ToolCursorsTest, AllFifteenLoadWithTheirHotspots) {
  const QDir folder(POINTERSET_TEST_CURSORS);
  const struct {
    const char* file;
    QPoint hotspot;
  } expected[] = {
      {"CT000.cur", {1, 1}}, {"CT010.cur", {1, 1}}, {"CT021.cur", {6, 6}},  {"CT022.cur", {6, 6}},
      {"CT030.cur", {6, 6}}, {"CT031.cur", {6, 6}}, {"CT032.cur", {6, 6}},  {"CT033.cur", {6, 6}},
      {"CT040.cur", {6, 6}}, {"CT050.cur", {6, 6}}, {"CT060.cur", {6, 6}},  {"CT070.cur", {6, 6}},
      {"CT080.cur", {6, 6}}, {"CT090.cur", {6, 6}}, {"CT100.cur", {5, 11}},
  };
  CursorBank bank;
  for (const auto& e : expected) {
    SCOPED_TRACE(e.file);
    const auto picture = ReadCursorFile(folder.filePath(e.file));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->image.size(), QSize(32, 32));
    EXPECT_EQ(picture->hotspot, e.hotspot);
    // The hotspot lies on the black mark (to within a pixel: an arrow's tip is smoothed), so
    // the user sees where the tool acts.
    bool onMark = false;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const QColor c = picture->image.pixelColor(e.hotspot + QPoint(dx, dy));
        onMark = onMark || (c.alpha() > 200 && c.lightness() < 80);
      }
    EXPECT_TRUE(onMark);
    EXPECT_EQ(bank.Cursor(bank.CreateStoredCursor(folder.filePath(e.file))).hotSpot(), e.hotspot);
  }
  EXPECT_EQ(bank.Count(), 15);
}

}  // namespace
}  // namespace pointerset
