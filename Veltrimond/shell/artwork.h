#pragma once
// The program's own pictures: its icon and the splash picture.

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace veltrimond {

QIcon ProgramIcon();
// The splash picture; the splash window adds its version line at the bottom right.
QPixmap SplashPicture();

}  // namespace veltrimond
