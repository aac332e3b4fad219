#pragma once
// The program's own pictures: its icon and the splash picture.

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace veltrimond {

QIcon ProgramIcon();
// The splash picture with the version line ("0.1.0", or "0.1.0 (SP1)") in its corner.
QPixmap SplashPicture(const QString& versionLine);

}  // namespace veltrimond
