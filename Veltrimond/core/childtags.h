#pragma once
// Tags of the frame's score windows: two capital letters and six digits, unique among the
// open windows.

#include <QString>
#include <QTime>
#include <functional>

namespace veltrimond {

inline constexpr char kChildTagPrefix[] = "SW";

// The prefix and the time of day as hhmmss; while that is taken, the number after the prefix
// plus one, written with six digits (so 235959 taken gives 236000: a counter, not a time).
QString MakeChildTag(const QTime& now, const std::function<bool(const QString&)>& taken);

}  // namespace veltrimond
