#pragma once
// Outlines the tool cursors share with the editor's pictures of the same tools, so that a
// tool's button and its cursor show the same mark.

#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace pointerset {

// The path scaled and moved to fit the box, keeping its proportions, centred.
QPainterPath FitPath(const QPainterPath& path, const QRectF& box);
// One character of the font with that family name, large (200 px) so that fitting it to a
// small box keeps its detail; no other font stands in for a missing character.
QPainterPath GlyphPath(const QString& family, char16_t code);
// The pointer arrow, its tip at (1, 1), 13 x 21.
QPainterPath PointerArrow();

}  // namespace pointerset
