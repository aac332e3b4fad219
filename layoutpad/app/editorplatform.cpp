#include "layoutpad/app/editorplatform.h"

#include <QMessageBox>

#include "platform/installfolder.h"

namespace layoutpad {

std::filesystem::path EditorPlatform::DataRoot() const {
  return platform::InstallFolder().toStdString();
}

void EditorPlatform::ShowMessage(const std::string& title, const std::string& text) {
  QMessageBox::warning(m_owner, QString::fromStdString(title), QString::fromStdString(text));
}

}  // namespace layoutpad
