#include "guideview/app/helpbrowser.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <algorithm>

#include "guideview/core/helpcontents.h"
#include "guideview/core/helptarget.h"
#include "guideview/core/pagecost.h"

namespace guideview {

namespace {

std::filesystem::path ToPath(const QString& s) {
  return std::filesystem::path(s.toStdString());
}

}  // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setOpenExternalLinks(false);
  openExternal = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) { FollowLink(link); });
}

void HelpBrowser::SetHelpFolder(const QString& canonicalFolder) {
  m_helpFolder = canonicalFolder;
}

bool HelpBrowser::IsHelpFile(const QString& localPath) const {
  if (m_helpFolder.isEmpty() || localPath.isEmpty()) return false;
  return IsInsideFolder(ToPath(m_helpFolder), ToPath(QFileInfo(localPath).absoluteFilePath()));
}

bool HelpBrowser::FollowLink(const QUrl& link) {
  const QString scheme = link.scheme().toLower();
  if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
    if (openExternal) openExternal(link);
    return true;
  }
  // A relative link is read against the page on show, as the page's author meant.
  const QUrl resolved = link.isRelative() ? source().resolved(link) : link;
  if (!resolved.isLocalFile() || !IsHelpFile(resolved.toLocalFile())) return false;
  if (!QFileInfo(resolved.toLocalFile()).isFile()) return false;  // a broken link stays put
  setSource(resolved);
  return true;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
  const QUrl url = name.isRelative() ? source().resolved(name) : name;
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  if (!IsHelpFile(path)) return {};
  if (type == QTextDocument::ImageResource) {
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || info.size() > static_cast<qint64>(kMaxPageBytes) ||
        !file.open(QIODevice::ReadOnly))
      return {};
    return file.readAll();
  }
  auto text = ReadPageText(ToPath(path));
  if (!text) return {};
  // A page that would hold the window up for long is not laid out at all. Only the start of
  // a large page is read; the notice names the file's own size.
  const auto fileBytes = static_cast<std::uintmax_t>(std::max<qint64>(QFileInfo(path).size(), 0));
  if (auto refusal = RefusePage(*text, {}, fileBytes))
    return QString::fromStdString(RefusalNotice(*text, *refusal));
  return QString::fromStdString(*text);
}

}  // namespace guideview
