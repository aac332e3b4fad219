#include "webupdate/serverurl.h"

#include <QHostAddress>
#include <QStringList>

#ifndef WEBUPDATE_DEFAULT_URL
#define WEBUPDATE_DEFAULT_URL "https://updates.quorvane.example/"
#endif

namespace webupdate {

namespace {

QUrl WithFolderEnd(QUrl url) {
  if (!url.path().endsWith(u'/')) url.setPath(url.path() + u'/');
  return url;
}

}  // namespace

QUrl UpdateServerUrl(const QString& configured) {
  const QString fromEnvironment = qEnvironmentVariable("VELTRIMOND_UPDATE_URL").trimmed();
  QString text = fromEnvironment;
  if (text.isEmpty()) text = configured.trimmed();
  if (text.isEmpty()) text = QString::fromUtf8(WEBUPDATE_DEFAULT_URL);
  return WithFolderEnd(QUrl(text, QUrl::StrictMode));
}

bool IsLoopbackHost(const QUrl& url) {
  const QString host = url.host();
  if (host.compare(u"localhost", Qt::CaseInsensitive) == 0) return true;
  const QHostAddress address(host);
  return !address.isNull() && address.isLoopback();
}

QString CheckServerUrl(const QUrl& url) {
  if (!url.isValid() || url.host().isEmpty()) {
    return QStringLiteral("The update server address \"%1\" is not valid.").arg(url.toString());
  }
  if (!url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment()) {
    return QStringLiteral("The update server address may not hold a user, query or fragment.");
  }
  const QString scheme = url.scheme().toLower();
  if (scheme == u"https") return {};
  if (scheme == u"http" && IsLoopbackHost(url)) return {};
  return QStringLiteral("The update server address \"%1\" must use https.").arg(url.toString());
}

QUrl ServerPath(const QUrl& base, const QString& relativePath) {
  QStringList encoded;
  for (const QString& part : relativePath.split(u'/')) {
    encoded.append(QString::fromLatin1(QUrl::toPercentEncoding(part)));
  }
  QUrl url = WithFolderEnd(base);
  url.setPath(url.path(QUrl::FullyEncoded) + encoded.join(u'/'), QUrl::StrictMode);
  return url;
}

}  // namespace webupdate
