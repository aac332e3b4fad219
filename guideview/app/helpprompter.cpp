#include "guideview/app/helpprompter.h"

#include <QMessageBox>

namespace guideview {

void MessageBoxPrompter::Exclamation(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox::warning(parent, title, text);
}

}  // namespace guideview
