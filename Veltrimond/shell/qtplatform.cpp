#include "Veltrimond/shell/qtplatform.h"

#include <QMessageBox>
#include <algorithm>
#include <cmath>
#include <utility>

#include "Veltrimond/shell/appcontext.h"
#include "notecraft/qt/qtclipboard.h"
#include "platform/recentlyused.h"

namespace veltrimond {

QtPlatform::QtPlatform(AppContext& context) : m_context(context) {}

int QtPlatform::TwipsPerPixelX() const {
  return std::max(1, static_cast<int>(std::lround(m_context.State.Tpp.X)));
}

int QtPlatform::TwipsPerPixelY() const {
  return std::max(1, static_cast<int>(std::lround(m_context.State.Tpp.Y)));
}

std::filesystem::path QtPlatform::DataRoot() const {
  return std::filesystem::path(m_context.Paths.DataDir.toStdString());
}

void QtPlatform::AddToRecentDocs(const std::string& path) {
  platform::AddToRecentDocuments(QString::fromStdString(path));
}

std::string QtPlatform::ClipboardText() const { return notecraft::QtClipboardText(); }

void QtPlatform::SetClipboardText(const std::string& text) { notecraft::SetQtClipboardText(text); }

void QtPlatform::ShowMessage(const std::string& title, const std::string& text) {
  ShowMessage(QString::fromStdString(title), QString::fromStdString(text));
}

void QtPlatform::ShowMessage(const QString& title, const QString& text) {
  if (m_holding) {
    m_held.append({title, text});
    return;
  }
  Present(title, text);
}

void QtPlatform::HoldMessages(bool hold) {
  m_holding = hold;
  if (hold) return;
  const QList<QStringList> held = std::exchange(m_held, {});
  for (const QStringList& message : held) Present(message[0], message[1]);
}

void QtPlatform::Present(const QString& title, const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, m_owner);
  box->setObjectName(QStringLiteral("messageBox"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  if (m_owner) {
    box->open();
  } else {
    box->show();
  }
}

}  // namespace veltrimond
