#include "platform/recentlyused.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include "platform/filetype.h"

namespace platform {

namespace {

// A list this large is not one a desktop wrote; leave it alone rather than load it.
constexpr qint64 kMaxFileSize = 32 * 1024 * 1024;

const char kEmptyList[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\"\n"
    "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
    "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n>\n</xbel>\n";

// The list's elements are matched by their written names ("bookmark:application"), as the
// desktop writes them; the document is read without namespace processing so that the
// prefixes stay as they are.
QDomElement Child(QDomElement parent, const QString& name) {
  QDomElement child = parent.firstChildElement(name);
  if (child.isNull()) {
    child = parent.ownerDocument().createElement(name);
    parent.appendChild(child);
  }
  return child;
}

// The desktop's type for the file. Without a MIME database that knows any type (none is
// installed, or it is being rebuilt) the kinds this suite writes still get their names:
// an entry with an empty type is one the desktop cannot open.
QString DocumentMimeType(const QString& path) {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
  if (type.isValid() && !type.name().isEmpty()) return type.name();
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("sco")) return QString::fromLatin1(kScoreMimeType);
  if (suffix == QLatin1String("mid") || suffix == QLatin1String("midi"))
    return QStringLiteral("audio/midi");
  return QStringLiteral("application/octet-stream");
}

bool Load(const QString& file, QDomDocument* doc) {
  QFile in(file);
  if (!in.exists()) return doc->setContent(QByteArray(kEmptyList));
  if (in.size() > kMaxFileSize || !in.open(QIODevice::ReadOnly)) return false;
  return doc->setContent(&in) && doc->documentElement().tagName() == "xbel";
}

void Record(QDomDocument& doc, const QString& path, const QString& now) {
  const QString href = QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
  QDomElement root = doc.documentElement();
  QDomElement bookmark;
  for (QDomElement e = root.firstChildElement("bookmark"); !e.isNull();
       e = e.nextSiblingElement("bookmark"))
    if (e.attribute("href") == href) bookmark = e;
  if (bookmark.isNull()) {
    bookmark = doc.createElement("bookmark");
    bookmark.setAttribute("href", href);
    bookmark.setAttribute("added", now);
    root.appendChild(bookmark);
  }
  bookmark.setAttribute("modified", now);
  bookmark.setAttribute("visited", now);

  QDomElement metadata = Child(Child(bookmark, "info"), "metadata");
  if (!metadata.hasAttribute("owner")) metadata.setAttribute("owner", "http://freedesktop.org");
  QDomElement mime = Child(metadata, "mime:mime-type");
  if (!mime.hasAttribute("type")) mime.setAttribute("type", DocumentMimeType(path));

  const QString name = QCoreApplication::applicationName().isEmpty()
                           ? QStringLiteral("Veltrimond")
                           : QCoreApplication::applicationName();
  QDomElement apps = Child(metadata, "bookmark:applications");
  QDomElement app;
  for (QDomElement e = apps.firstChildElement("bookmark:application"); !e.isNull();
       e = e.nextSiblingElement("bookmark:application"))
    if (e.attribute("name") == name) app = e;
  if (app.isNull()) {
    app = doc.createElement("bookmark:application");
    app.setAttribute("name", name);
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    app.setAttribute("exec", '\'' + (program.isEmpty() ? name : program) + " %u'");
    apps.appendChild(app);
  }
  app.setAttribute("modified", now);
  app.setAttribute("count", app.attribute("count").toInt() + 1);
}

}  // namespace

QString RecentlyUsedFilePath() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (base.isEmpty()) base = QDir::homePath() + "/.local/share";
  return base + "/recently-used.xbel";
}

void AddToRecentDocuments(const QString& path) {
  if (path.isEmpty()) return;
  const QString file = RecentlyUsedFilePath();
  QDomDocument doc;
  if (!Load(file, &doc)) return;
  const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
  Record(doc, QFileInfo(path).absoluteFilePath(), now);

  QDir().mkpath(QFileInfo(file).path());
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return;
  out.write(doc.toByteArray(2));
  out.commit();
}

}  // namespace platform
