#pragma once
// The page view: a QTextBrowser that reads only files inside the help folder, decodes pages as
// the contents builder does (so a page's title and its node's text agree), shows a short notice
// in place of a page too large or too deeply nested to lay out quickly (pagecost.h), hands web
// links to the desktop's browser and drops every other kind of link.

#include <QTextBrowser>
#include <QUrl>
#include <functional>

namespace guideview {

class HelpBrowser : public QTextBrowser {
  Q_OBJECT

public:
  explicit HelpBrowser(QWidget* parent = nullptr);

  // The folder whose files may be shown; an empty folder allows none.
  void SetHelpFolder(const QString& canonicalFolder);
  QString HelpFolder() const { return m_helpFolder; }

  // True when the local file lies inside the help folder.
  bool IsHelpFile(const QString& localPath) const;

  // Follows a link as a click would: a help file (with its anchor) is shown, an http or https
  // address goes to `openExternal`, anything else is ignored. Returns whether it was followed.
  bool FollowLink(const QUrl& link);

  // Opens web addresses; the desktop's browser by default, replaced by tests.
  std::function<void(const QUrl&)> openExternal;

  QVariant loadResource(int type, const QUrl& name) override;

private:
  QString m_helpFolder;
};

}  // namespace guideview
