#pragma once
// The program's own pictures: its icon and the splash picture.

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace veltrimond {

// The install folder's Common/Icons/Veltrimond.png (the desktop entry's icon) when it is
// there, else the same idea drawn here.
QIcon ProgramIcon(const QString& installFolder);
// The splash picture; the splash window adds its version line at the bottom right.
QPixmap SplashPicture();

}  // namespace veltrimond
