#include "pointerset/curfile.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

namespace pointerset {

namespace {

constexpr int kHeaderSize = 6;
constexpr int kEntrySize = 16;
constexpr quint16 kIconType = 1;
constexpr quint16 kCursorType = 2;
// Offsets in the file of the first directory entry's fields.
constexpr int kHotspotX = kHeaderSize + 4;
constexpr int kHotspotY = kHeaderSize + 6;
constexpr int kDataSize = kHeaderSize + 8;
constexpr int kDataOffset = kHeaderSize + 12;
// Larger cursor files are not cursors.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

quint16 U16(const QByteArray& bytes, int at) {
  return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 U32(const QByteArray& bytes, int at) {
  return qFromLittleEndian<quint32>(bytes.constData() + at);
}

void PutU16(QByteArray& bytes, int at, quint16 value) {
  qToLittleEndian<quint16>(value, bytes.data() + at);
}

}  // namespace

std::optional<CursorPicture> ReadCursor(const QByteArray& bytes) {
  if (bytes.size() < kHeaderSize + kEntrySize || U16(bytes, 0) != 0) return std::nullopt;
  const quint16 type = U16(bytes, 2);
  if ((type != kCursorType && type != kIconType) || U16(bytes, 4) == 0) return std::nullopt;
  const quint64 end = quint64(U32(bytes, kDataOffset)) + U32(bytes, kDataSize);
  if (U32(bytes, kDataSize) == 0 || end > quint64(bytes.size())) return std::nullopt;

  // Qt's icon reader takes the cursor type as it is.
  QImage image = QImage::fromData(bytes, "ICO");
  if (image.isNull()) return std::nullopt;
  QPoint hotspot(image.width() / 2, image.height() / 2);
  if (type == kCursorType) {
    hotspot = QPoint(qMin<int>(U16(bytes, kHotspotX), image.width() - 1),
                     qMin<int>(U16(bytes, kHotspotY), image.height() - 1));
  }
  return CursorPicture{std::move(image), hotspot};
}

std::optional<CursorPicture> ReadCursorFile(const QString& path) {
  QFile file(path);
  if (file.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly)) return std::nullopt;
  return ReadCursor(file.readAll());
}

QByteArray WriteCursor(const QImage& image, QPoint hotspot) {
  if (image.isNull() || image.width() > 256 || image.height() > 256) return {};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "ICO")) return {};
  if (bytes.size() < kHeaderSize + kEntrySize) return {};
  PutU16(bytes, 2, kCursorType);
  PutU16(bytes, kHotspotX, quint16(qBound(0, hotspot.x(), image.width() - 1)));
  PutU16(bytes, kHotspotY, quint16(qBound(0, hotspot.y(), image.height() - 1)));
  return bytes;
}

}  // namespace pointerset
