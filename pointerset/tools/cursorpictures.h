#pragma once
// The pictures of the editor's tool cursors: black marks with a white rim, so that they show
// on the white page and on dark window backgrounds alike. Placement tools point with a small
// crosshair at their top left and show what they place beside it.

#include <QImage>
#include <QPoint>
#include <QString>
#include <vector>

namespace pointerset {

struct ToolCursorPicture {
  QString fileName;  // "CT060.cur"
  QString caption;   // what it is for, for the contact sheet
  QImage image;      // 32 x 32
  QPoint hotspot;
};

// Draws the fifteen cursors. The music symbols come from the music font with that family
// name, which must be loaded; a QGuiApplication must exist.
std::vector<ToolCursorPicture> DrawToolCursors(const QString& musicFontFamily);

}  // namespace pointerset
