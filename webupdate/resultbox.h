#pragma once
// The updaters' result message: plain text, so that a name from a server is never read as
// markup, with its icon and an OK button. A failure's reason is the text's second line.

#include <QMessageBox>
#include <memory>

namespace webupdate {

std::unique_ptr<QMessageBox> MakeResultBox(QWidget* parent, const QString& title,
                                           const QString& text, QMessageBox::Icon icon);

}  // namespace webupdate
