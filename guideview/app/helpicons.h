#pragma once
// The viewer's pictures, drawn in code: tree images by key ("Section", "Opened", "Chapter") and
// tool bar images by key ("Back", "Forward", "Prev", "Next", "Stop", "Home", "Refresh", "Print").

#include <QIcon>
#include <QString>

namespace guideview {

QIcon HelpIcon(const QString& key);

}  // namespace guideview
