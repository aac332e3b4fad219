#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <memory>

#include "platform/singleinstance.h"

namespace platform {
namespace {

// Each test uses a caption of its own, so tests running side by side never meet.
QString Caption(const char* name) {
  return QString("Veltrimond test %1 %2").arg(name).arg(QCoreApplication::applicationPid());
}

TEST(SingleInstanceTest, ShowAndCloseReachTheRunningProgram) {
  const QString caption = Caption("show-close");
  InstanceServer server(caption);
  ASSERT_TRUE(server.listening());
  QSignalSpy shows(&server, &InstanceServer::showRequested);
  QSignalSpy closes(&server, &InstanceServer::closeRequested);

  EXPECT_TRUE(SendInstanceCommand(caption, "show"));
  ASSERT_TRUE(shows.wait(2000));
  EXPECT_TRUE(SendInstanceCommand(caption, "close"));
  ASSERT_TRUE(closes.wait(2000));
  EXPECT_EQ(shows.count(), 1);
  EXPECT_EQ(closes.count(), 1);
}

TEST(SingleInstanceTest, NoProgramOrAnotherCommandIsRefused) {
  const QString caption = Caption("refuse");
  EXPECT_FALSE(SendInstanceCommand(caption, "show"));  // nobody listens

  InstanceServer server(caption);
  ASSERT_TRUE(server.listening());
  QSignalSpy shows(&server, &InstanceServer::showRequested);
  QSignalSpy closes(&server, &InstanceServer::closeRequested);
  for (const char* command : {"open /etc/passwd", "Show", "", "show now"})
    EXPECT_FALSE(SendInstanceCommand(caption, command)) << command;

  // A client speaking the protocol with other words, or too many of them, gets nothing.
  for (const QByteArray& bytes :
       {QByteArray("quit\n"), QByteArray("SHOW\n"), QByteArray(4096, 's'), QByteArray("\n")}) {
    QLocalSocket client;
    client.connectToServer(InstanceSocketName(caption));
    ASSERT_TRUE(client.waitForConnected(1000));
    client.write(bytes);
    client.waitForBytesWritten(1000);
    QSignalSpy gone(&client, &QLocalSocket::disconnected);
    EXPECT_TRUE(gone.wait(3000)) << "the server keeps a client that sent " << bytes.left(8).data();
  }
  EXPECT_EQ(shows.count(), 0);
  EXPECT_EQ(closes.count(), 0);
}

TEST(SingleInstanceTest, SecondServerStandsBackUntilTheFirstEnds) {
  const QString caption = Caption("second");
  auto first = std::make_unique<InstanceServer>(caption);
  ASSERT_TRUE(first->listening());
  InstanceServer second(caption);
  EXPECT_FALSE(second.listening());
  EXPECT_TRUE(first->listening());

  first.reset();
  InstanceServer third(caption);
  EXPECT_TRUE(third.listening());
}

TEST(SingleInstanceTest, SocketLeftByADeadProgramIsTakenOver) {
  const QString caption = Caption("stale");
  const QString name = InstanceSocketName(caption);
  {
    QFile leftover(name);
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
  }
  InstanceServer server(caption);
  EXPECT_TRUE(server.listening());
  QSignalSpy shows(&server, &InstanceServer::showRequested);
  EXPECT_TRUE(SendInstanceCommand(caption, "show"));
  EXPECT_TRUE(shows.wait(2000));
}

TEST(SingleInstanceTest, SocketNamesArePerCaptionAndShort) {
  const QString longCaption = "Veltrimond - Help " + QString(500, QChar(0x00E9));
  EXPECT_NE(InstanceSocketName("Veltrimond - Help"), InstanceSocketName("Veltrimond"));
  EXPECT_LT(InstanceSocketName(longCaption).toUtf8().size(), 108);
  EXPECT_FALSE(QFileInfo(InstanceSocketName(longCaption)).fileName().contains(' '));
}

TEST(SingleInstanceTest, ALongRuntimeFolderStillGivesAWorkingChannel) {
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  const QString deep = QDir::tempPath() + "/runtime-" + QString(90, QChar('x'));
  ASSERT_TRUE(QDir().mkpath(deep));
  QFile::setPermissions(deep, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", deep.toLocal8Bit());
  const QString caption = Caption("long runtime");
  EXPECT_LT(QFile::encodeName(InstanceSocketName(caption)).size(), 108);
  {
    InstanceServer server(caption);
    EXPECT_TRUE(server.listening());
  }
  if (saved.isNull())
    qunsetenv("XDG_RUNTIME_DIR");
  else
    qputenv("XDG_RUNTIME_DIR", saved);
  QDir(deep).removeRecursively();
}

}  // namespace
}  // namespace platform
