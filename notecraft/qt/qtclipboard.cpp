#include "notecraft/qt/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace notecraft {

std::string QtClipboardText() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard ? clipboard->text().toStdString() : std::string{};
}

void SetQtClipboardText(const std::string& text) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  if (QClipboard* clipboard = QGuiApplication::clipboard())
    clipboard->setText(QString::fromStdString(text));
}

}  // namespace notecraft
