#pragma once
// Cursor files (.cur): an icon file whose header type is 2 and whose directory
// entries hold the hotspot where an icon's hold its colour planes and bit count. Qt reads
// and writes the pictures (its ICO format) but knows nothing of the hotspot, so it is read
// and written here.

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>
#include <optional>

namespace pointerset {

struct CursorPicture {
  QImage image;
  QPoint hotspot;
};

// The first picture of a cursor file and its hotspot (kept inside the picture). An icon file
// (type 1) gives its picture with the hotspot at its centre. Nothing for anything else, or
// for a file whose directory does not fit its bytes.
std::optional<CursorPicture> ReadCursor(const QByteArray& bytes);
std::optional<CursorPicture> ReadCursorFile(const QString& path);

// The bytes of a cursor file holding one picture (at most 256 x 256) with its hotspot;
// empty when the picture cannot be written.
QByteArray WriteCursor(const QImage& image, QPoint hotspot);

}  // namespace pointerset
