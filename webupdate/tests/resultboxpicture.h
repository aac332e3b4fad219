#pragma once
// The updaters' result message as the user sees it: shown offscreen, its picture saved for a
// person to look at, and its size returned so that a test can check it fits a small screen.

#include <QImage>
#include <QSize>
#include <QString>

#include "webupdate/resultbox.h"

namespace webupdate::testing {

inline QSize SaveResultBoxPicture(const QString& text, QMessageBox::Icon icon,
                                  const QString& picturePath) {
  const auto box = MakeResultBox(nullptr, QStringLiteral("Update"), text, icon);
  box->show();
  const QImage picture = box->grab().toImage();
  picture.save(picturePath);
  box->close();
  return picture.size();
}

}  // namespace webupdate::testing
