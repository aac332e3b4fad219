#pragma once
// What the score engine needs of the desktop in the style editor: its messages as message
// boxes over the window, and the suite's install folder.

#include <QPointer>
#include <QWidget>

#include "notecraft/core/platform.h"

namespace layoutpad {

class EditorPlatform final : public notecraft::Platform {
public:
  std::filesystem::path DataRoot() const override;
  void ShowMessage(const std::string& title, const std::string& text) override;
  void SetOwner(QWidget* owner) { m_owner = owner; }

private:
  QPointer<QWidget> m_owner;
};

}  // namespace layoutpad
