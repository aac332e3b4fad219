#pragma once
// Finding a running program of the suite by its window caption ("Veltrimond - Help") and
// asking it to come to the front or to close. The program listens on a local socket named
// after its caption, private to the user; the only commands are "show" and "close".

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace platform {

class InstanceServer : public QObject {
  Q_OBJECT

public:
  // Starts listening unless another process of this user already answers to the caption
  // (then listening() is false and that process should be asked to show itself instead).
  // A socket left behind by a program that died is taken over.
  explicit InstanceServer(const QString& caption, QObject* parent = nullptr);
  ~InstanceServer() override;

  bool listening() const;

signals:
  void showRequested();
  void closeRequested();

private:
  void Accept();
  void Read(QLocalSocket* socket);

  QLocalServer* server_;
};

// Sends "show" or "close" to the program with that caption. False when the command is
// another one, or when no program with that caption runs.
bool SendInstanceCommand(const QString& caption, const QString& command);

// The local socket's full path for a caption (in the user's runtime folder).
QString InstanceSocketName(const QString& caption);

}  // namespace platform
