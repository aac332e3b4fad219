#pragma once
// The update server's address and the rules every request URL follows: https for any host,
// plain http only for the loopback host (a test server), and listing names joined part by
// part with percent-encoding so that a name can never add a query or climb a folder.

#include <QString>
#include <QUrl>

namespace webupdate {

// The base address: the environment's VELTRIMOND_UPDATE_URL when set, else configured (a
// setting) when not empty, else the build's default. Ends with "/".
QUrl UpdateServerUrl(const QString& configured = {});

// A loopback host (a test server) is asked directly, never through a proxy.
bool IsLoopbackHost(const QUrl& url);

// Empty when requests may go to url; else why not ("... needs https").
QString CheckServerUrl(const QUrl& url);

// base joined with the "/"-separated relative path, each part percent-encoded.
QUrl ServerPath(const QUrl& base, const QString& relativePath);

}  // namespace webupdate
