#include "loopbackserver.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace webupdate::testing {

QByteArray StatusLine(int status) {
  return "HTTP/1.1 " + QByteArray::number(status) + (status < 400 ? " OK" : " Error") + "\r\n";
}

LoopbackServer::LoopbackServer() : m_server(new QTcpServer(this)) {
  if (!m_server->listen(QHostAddress::LocalHost, 0)) qFatal("loopback server cannot listen");
  connect(m_server, &QTcpServer::newConnection, this, &LoopbackServer::OnConnection);
}

LoopbackServer::~LoopbackServer() = default;

QUrl LoopbackServer::BaseUrl() const {
  return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(m_server->serverPort()));
}

void LoopbackServer::Set(const QString& path, Route route) {
  m_routes.insert(path, std::move(route));
}

void LoopbackServer::OnConnection() {
  while (QTcpSocket* socket = m_server->nextPendingConnection()) {
    socket->setParent(this);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadable(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
      m_pending.remove(socket);
      socket->deleteLater();
    });
  }
}

void LoopbackServer::OnReadable(QTcpSocket* socket) {
  QByteArray& buffer = m_pending[socket];
  buffer += socket->readAll();
  const qsizetype end = buffer.indexOf("\r\n\r\n");
  if (end < 0) return;
  const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
  buffer.remove(0, end + 4);
  QString path = requestLine.size() >= 2 ? QUrl::fromPercentEncoding(requestLine[1]) : QString();
  if (path.startsWith(u'/')) path.remove(0, 1);
  m_requested.append(path);
  Answer(socket, path);
}

void LoopbackServer::Answer(QTcpSocket* socket, const QString& path) {
  const auto found = m_routes.constFind(path);
  Route route =
      found != m_routes.cend() ? *found : Route{404, "<html><body>Not Found</body></html>"};
  if (route.fault == Fault::Drop) {
    socket->disconnectFromHost();
    return;
  }
  if (route.fault == Fault::Silent) return;
  if (!route.raw.isEmpty()) {
    socket->write(route.raw);
    socket->disconnectFromHost();
    return;
  }

  QByteArray head = StatusLine(route.status);
  if (route.announced != -2) {
    const qint64 announced = route.announced >= 0 ? route.announced : route.body.size();
    head += "Content-Length: " + QByteArray::number(announced) + "\r\n";
  }
  for (const auto& [name, value] : route.headers) head += name + ": " + value + "\r\n";
  head += "Connection: close\r\n\r\n";

  const qsizetype half = route.body.size() / 2;
  switch (route.fault) {
    case Fault::ShortBody:
      socket->write(head + route.body.left(half));
      socket->disconnectFromHost();
      return;
    case Fault::SlowBody: {
      socket->write(head + route.body.left(half));
      QPointer<QTcpSocket> guarded(socket);
      QTimer::singleShot(route.delayMs, this, [guarded, rest = route.body.mid(half)] {
        if (!guarded) return;
        guarded->write(rest);
        guarded->disconnectFromHost();
      });
      return;
    }
    case Fault::Drip: {
      socket->write(head);
      auto* drip = new QTimer(socket);
      connect(drip, &QTimer::timeout, socket,
              [socket, drip, body = route.body, sent = 0]() mutable {
                if (sent < body.size()) socket->write(body.mid(sent++, 1));
                if (sent >= body.size()) {
                  drip->stop();
                  socket->disconnectFromHost();
                }
              });
      drip->start(route.delayMs);
      return;
    }
    default:
      socket->write(head + route.body);
      socket->disconnectFromHost();
  }
}

}  // namespace webupdate::testing
