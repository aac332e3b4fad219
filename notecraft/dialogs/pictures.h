#pragma once
// The small pictures of the dialogs' picture buttons, drawn rather than loaded: time
// signatures, measure-number positions, the page orientation, and the tempo note.

#include <QIcon>
#include <QPixmap>

class QPainter;
class QRect;

namespace notecraft::dialogs {

// Time-signature option `option` (kTimeTags order): a signature, or "?" for custom.
QIcon TimeSignatureIcon(int option);
// Measure-number position 0..5: above at the left, centre, right; below likewise.
QIcon NumberPositionIcon(int position);
// A sheet standing (portrait) or lying (landscape).
QPixmap PageIcon(bool landscape);
// Draws the note value of a tempo note letter ('e', 'q', 'h', 'w') inside rect.
void PaintTempoNote(QPainter& painter, const QRect& rect, char note);

}  // namespace notecraft::dialogs
