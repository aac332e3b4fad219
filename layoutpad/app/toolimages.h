#pragma once
// The tool bar pictures by image key: note values "N01" (whole) .. "N32" (thirty-second),
// "Z01" triplet, "Z02" dot, "Z03" staccato.

#include <QIcon>
#include <QString>

namespace layoutpad {

QIcon ToolImage(const QString& key);

}  // namespace layoutpad
