#pragma once
// What the score engine and the sound library need of the desktop, for the editor: messages
// as message boxes, the desktop's recent documents, twips per pixel from the screen and the
// install folder. Message boxes never block the caller: they are window-modal over the frame
// and shown once control is back in the event loop; during start-up they wait until the
// splash has gone.

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "notecraft/core/platform.h"

namespace veltrimond {

struct AppContext;

class QtPlatform final : public notecraft::Platform {
public:
  explicit QtPlatform(AppContext& context);

  int TwipsPerPixelX() const override;
  int TwipsPerPixelY() const override;
  std::filesystem::path DataRoot() const override;
  void AddToRecentDocs(const std::string& path) override;
  std::string ClipboardText() const override;
  void SetClipboardText(const std::string& text) override;
  void ShowMessage(const std::string& title, const std::string& text) override;
  void ShowMessage(const QString& title, const QString& text);

  // The window message boxes belong to.
  void SetOwner(QWidget* owner) { m_owner = owner; }
  // While held, messages are kept; releasing shows what was kept, in order.
  void HoldMessages(bool hold);

private:
  void Present(const QString& title, const QString& text);

  AppContext& m_context;
  QPointer<QWidget> m_owner;
  bool m_holding = false;
  QList<QStringList> m_held;
};

}  // namespace veltrimond
