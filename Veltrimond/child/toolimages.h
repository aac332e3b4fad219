#pragma once
// The pictures of the tool pane's buttons and sub-tool strips, by image key ("N04", "C02",
// "Pointer", ...): music symbols from the music font, drawn once per process and size.

#include <QPixmap>
#include <QString>

namespace veltrimond {

// A transparent square picture of the given side (logical pixels); a key without a picture
// gives a picture of its text.
QPixmap ToolImage(const QString& key, int side = 22);

}  // namespace veltrimond
