#include "layoutpad/app/styleprompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace layoutpad {

Answer QtStylePrompter::Ask(QWidget* parent, const QString& title, const QString& text) {
  const auto button = QMessageBox::question(
      parent, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
      QMessageBox::Yes);
  if (button == QMessageBox::Yes) return Answer::Yes;
  if (button == QMessageBox::No) return Answer::No;
  return Answer::Cancel;
}

std::optional<QString> QtStylePrompter::SaveFileName(QWidget* parent, const QString& folder) {
  QFileDialog dialog(parent, QStringLiteral("Save Style"), folder,
                     QStringLiteral("Veltrimond Styles (*.sty)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("sty"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

void QtStylePrompter::Tell(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox::warning(parent, title, text);
}

}  // namespace layoutpad
