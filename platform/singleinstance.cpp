#include "platform/singleinstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

namespace platform {

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 1000;
// A client that connects and says nothing useful is dropped after this long.
constexpr int kIdleTimeoutMs = 2000;
// A command is a short word; anything longer is not one of ours.
constexpr qint64 kMaxLineLength = 16;
// sockaddr_un::sun_path holds 108 bytes with the closing NUL.
constexpr qsizetype kMaxSocketPath = 108;

bool IsCommand(const QByteArray& word) {
  return word == "show" || word == "close";
}

// The runtime folder is private to the user (XDG_RUNTIME_DIR, mode 0700); without it the
// temporary folder, with the user id in the name.
QString SocketFolder() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

bool Answers(const QString& name) {
  QLocalSocket probe;
  probe.connectToServer(name);
  const bool connected = probe.waitForConnected(kConnectTimeoutMs);
  probe.abort();
  return connected;
}

}  // namespace

QString InstanceSocketName(const QString& caption) {
  // Socket paths are short (108 bytes), and captions hold blanks and any letters: a readable
  // prefix for people listing the folder, and a hash that tells captions apart.
  QString readable;
  for (QChar c : caption.left(24))
    readable += c.isLetterOrNumber() && c.unicode() < 128 ? c : QChar('_');
  const QByteArray hash =
      QCryptographicHash::hash(caption.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
  const QString file = "quorvane-" + readable + '-' + QString::fromLatin1(hash) + '-' +
                       QString::number(::getuid());
  const QString path = SocketFolder() + '/' + file;
  // A long runtime folder would push the path past what a socket address holds, and the
  // channel would fail without a word: the temporary folder is short.
  if (QFile::encodeName(path).size() < kMaxSocketPath) return path;
  return QDir::tempPath() + '/' + file;
}

InstanceServer::InstanceServer(const QString& caption, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)) {
  const QString name = InstanceSocketName(caption);
  if (Answers(name)) return;
  QLocalServer::removeServer(name);  // left behind by a program that did not end cleanly
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name)) return;
  connect(server_, &QLocalServer::newConnection, this, &InstanceServer::Accept);
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listening() const {
  return server_->isListening();
}

void InstanceServer::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
    QTimer::singleShot(kIdleTimeoutMs, socket, [socket] { socket->abort(); });
  }
}

void InstanceServer::Read(QLocalSocket* socket) {
  while (socket->canReadLine()) {
    const QByteArray word = socket->readLine(kMaxLineLength + 2).trimmed();
    if (word == "show")
      emit showRequested();
    else if (word == "close")
      emit closeRequested();
    // A close may end the program at once; either way one command is all a client sends.
    socket->disconnectFromServer();
    return;
  }
  if (socket->bytesAvailable() > kMaxLineLength) socket->abort();
}

bool SendInstanceCommand(const QString& caption, const QString& command) {
  const QByteArray word = command.toLatin1();
  if (!IsCommand(word)) return false;
  QLocalSocket socket;
  socket.connectToServer(InstanceSocketName(caption));
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(word + '\n');
  const bool sent = socket.waitForBytesWritten(kWriteTimeoutMs) || socket.bytesToWrite() == 0;
  socket.disconnectFromServer();
  return sent;
}

}  // namespace platform
