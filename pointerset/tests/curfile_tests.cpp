#include <gtest/gtest.h>

#include <QBuffer>
#include <QtEndian>

#include "pointerset/curfile.h"

namespace pointerset {
namespace {

QImage Picture(int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int i = 0; i < qMin(w, h); ++i) image.setPixelColor(i, i, QColor(200, 20, 20, 255));
  image.setPixelColor(w - 1, 0, QColor(0, 0, 255, 128));
  return image;
}

TEST(CurFileTest, WrittenCursorsReadBackWithTheirHotspotAndPixels) {
  for (const QPoint hotspot : {QPoint(0, 0), QPoint(6, 6), QPoint(31, 31), QPoint(3, 17)}) {
    const QImage image = Picture(32, 32);
    const QByteArray bytes = WriteCursor(image, hotspot);
    ASSERT_GT(bytes.size(), 22);
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 2), 2);  // a cursor, not an icon
    const auto read = ReadCursor(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->hotspot, hotspot);
    ASSERT_EQ(read->image.size(), QSize(32, 32));
    EXPECT_EQ(read->image.pixelColor(5, 5), QColor(200, 20, 20));
    EXPECT_EQ(read->image.pixelColor(31, 0), QColor(0, 0, 255, 128));
    EXPECT_EQ(read->image.pixelColor(5, 6).alpha(), 0);
  }
  // A hotspot outside the picture is kept inside it.
  EXPECT_EQ(ReadCursor(WriteCursor(Picture(16, 16), {40, -3}))->hotspot, QPoint(15, 0));
  EXPECT_TRUE(WriteCursor(QImage(), {0, 0}).isEmpty());
  EXPECT_TRUE(WriteCursor(Picture(300, 20), {0, 0}).isEmpty());
}

TEST(CurFileTest, IconsPointWithTheirCentre) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(Picture(32, 32).save(&buffer, "ICO"));
  const auto read = ReadCursor(bytes);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->hotspot, QPoint(16, 16));
}

TEST(CurFileTest, DamagedFilesAreRefused) {
  const QByteArray good = WriteCursor(Picture(32, 32), {4, 5});
  auto with = [&](int at, quint16 value) {
    QByteArray bytes = good;
    qToLittleEndian<quint16>(value, bytes.data() + at);
    return bytes;
  };
  const struct {
    const char* what;
    QByteArray bytes;
  } cases[] = {
      {"empty", QByteArray()},
      {"header only", good.left(6)},
      {"cut in its picture", good.left(good.size() / 2)},
      {"reserved field set", with(0, 1)},
      {"unknown type", with(2, 3)},
      {"no pictures", with(4, 0)},
      {"picture offset past the end", with(18, 0xFFFF)},
      {"picture size past the end", with(14, 0xFFFF)},
      {"a PNG file", QByteArray::fromHex("89504e470d0a1a0a0000000d49484452") + QByteArray(32, 0)},
  };
  for (const auto& c : cases) EXPECT_FALSE(ReadCursor(c.bytes)) << c.what;
  EXPECT_FALSE(ReadCursorFile("/no/such/file.cur"));
}

}  // namespace
}  // namespace pointerset
