#include "webupdate/resultbox.h"

namespace webupdate {

std::unique_ptr<QMessageBox> MakeResultBox(QWidget* parent, const QString& title,
                                           const QString& text, QMessageBox::Icon icon) {
  auto box = std::make_unique<QMessageBox>(icon, title, text, QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  return box;
}

}  // namespace webupdate
