// One transfer against the loopback server's fault modes: only a complete 2xx body counts,
// and a file is replaced only by such a body.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "loopbackserver.h"
#include "webupdate/httpfetch.h"
#include "webupdate/serverurl.h"

namespace webupdate {
namespace {

using testing::Fault;
using testing::LoopbackServer;
using testing::Route;

class HttpFetchTest : public ::testing::Test {
protected:
  HttpFetchTest() { ConfigureManager(m_manager, m_server.BaseUrl()); }

  FetchOutcome Run(const QString& path, const QString& savePath = {}, int timeoutMs = 5000) {
    HttpFetch fetch(m_manager);
    fetch.SetTransferTimeout(timeoutMs);
    FetchOutcome outcome;
    int reports = 0;
    QObject::connect(&fetch, &HttpFetch::Finished, [&](const FetchOutcome& o) {
      outcome = o;
      ++reports;
    });
    QSignalSpy finished(&fetch, &HttpFetch::Finished);
    const QUrl url = ServerPath(m_server.BaseUrl(), path);
    if (savePath.isEmpty()) {
      fetch.Start(url);
    } else {
      fetch.StartToFile(url, savePath);
    }
    EXPECT_TRUE(finished.wait(10000));
    EXPECT_EQ(reports, 1);
    return outcome;
  }

  static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }

  QNetworkAccessManager m_manager;
  LoopbackServer m_server;
  QTemporaryDir m_dir;
};

TEST_F(HttpFetchTest, KeepsACompleteBodyAndItsHash) {
  m_server.Set(QStringLiteral("a.txt"), QByteArray("abc"));
  const FetchOutcome outcome = Run(QStringLiteral("a.txt"));
  EXPECT_TRUE(outcome.ok) << outcome.error.toStdString();
  EXPECT_EQ(outcome.body, "abc");
  EXPECT_EQ(outcome.sha256, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST_F(HttpFetchTest, EveryFaultFailsAndLeavesTheFileAsItWas) {
  const QByteArray body(4000, 'x');
  const struct {
    const char* name;
    Route route;
  } cases[] = {
      {"error status with a page", Route{404, "<html>Not found</html>"}},
      {"server error", Route{500, "oops"}},
      {"short body", Route{200, body, Fault::ShortBody}},
      {"dropped connection", Route{200, body, Fault::Drop}},
      {"stalled beyond the timeout", Route{200, body, Fault::SlowBody, 3000}},
  };
  const QString target = m_dir.filePath(QStringLiteral("kept.txt"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("old contents");
    file.close();
    m_server.Set(QStringLiteral("f.bin"), c.route);
    const FetchOutcome outcome = Run(QStringLiteral("f.bin"), target, 400);
    EXPECT_FALSE(outcome.ok);
    EXPECT_FALSE(outcome.error.isEmpty());
    EXPECT_EQ(Read(target), "old contents");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"kept.txt"});
  }
}

TEST_F(HttpFetchTest, ConnectionRefusedIsAFailure) {
  const QUrl base = m_server.BaseUrl();
  HttpFetch fetch(m_manager);
  QSignalSpy finished(&fetch, &HttpFetch::Finished);
  QUrl closed = base;
  closed.setPort(1);  // nothing listens on port 1 of the loopback host
  fetch.Start(ServerPath(closed, QStringLiteral("x")));
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_FALSE(finished.at(0).at(0).value<FetchOutcome>().ok);
}

TEST_F(HttpFetchTest, SlowBodyWithinTheTimeoutArrivesWhole) {
  m_server.Set(QStringLiteral("slow"), Route{200, "0123456789", Fault::SlowBody, 200});
  const FetchOutcome outcome = Run(QStringLiteral("slow"), {}, 2000);
  EXPECT_TRUE(outcome.ok) << outcome.error.toStdString();
  EXPECT_EQ(outcome.body, "0123456789");
}

TEST_F(HttpFetchTest, EmptyBodyWritesAnEmptyFile) {
  m_server.Set(QStringLiteral("empty.gif"), QByteArray());
  const QString target = m_dir.filePath(QStringLiteral("empty.gif"));
  EXPECT_TRUE(Run(QStringLiteral("empty.gif"), target).ok);
  EXPECT_EQ(Read(target), QByteArray());
}

TEST_F(HttpFetchTest, BodiesAreCapped) {
  m_server.Set(QStringLiteral("big"), QByteArray(HttpFetch::ListSizeCap + 1, 'x'));
  EXPECT_FALSE(Run(QStringLiteral("big")).ok);

  HttpFetch fetch(m_manager);
  QSignalSpy finished(&fetch, &HttpFetch::Finished);
  const QString target = m_dir.filePath(QStringLiteral("big.bin"));
  fetch.StartToFile(ServerPath(m_server.BaseUrl(), QStringLiteral("big")), target, 1000);
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_FALSE(finished.at(0).at(0).value<FetchOutcome>().ok);
  EXPECT_FALSE(QFileInfo::exists(target));
}

TEST_F(HttpFetchTest, PlainHttpToAnotherHostIsNeverSent) {
  HttpFetch fetch(m_manager);
  QSignalSpy finished(&fetch, &HttpFetch::Finished);
  fetch.Start(QUrl(QStringLiteral("http://updates.example/x")));
  ASSERT_TRUE(finished.wait(5000));
  const auto outcome = finished.at(0).at(0).value<FetchOutcome>();
  EXPECT_FALSE(outcome.ok);
  EXPECT_TRUE(outcome.error.contains(QStringLiteral("https")));
}

TEST_F(HttpFetchTest, FollowsRedirectsOnlyWithinTheSameOrigin) {
  LoopbackServer other;  // another port: another origin
  other.Set(QStringLiteral("moved.txt"), QByteArray("from elsewhere"));
  m_server.Set(QStringLiteral("moved.txt"), QByteArray("moved here"));
  Route here{301};
  here.headers.append(std::pair<QByteArray, QByteArray>("Location", "/moved.txt"));
  m_server.Set(QStringLiteral("here"), here);
  Route away{302, "<html>see there</html>"};
  away.headers.append(std::pair<QByteArray, QByteArray>(
      "Location", other.BaseUrl().resolved(QUrl(QStringLiteral("moved.txt"))).toEncoded()));
  m_server.Set(QStringLiteral("away"), away);

  const FetchOutcome followed = Run(QStringLiteral("here"));
  EXPECT_TRUE(followed.ok) << followed.error.toStdString();
  EXPECT_EQ(followed.body, "moved here");
  EXPECT_FALSE(Run(QStringLiteral("away")).ok);
  EXPECT_TRUE(other.Requested().isEmpty());
}

TEST_F(HttpFetchTest, AbortReportsOnce) {
  m_server.Set(QStringLiteral("slow"), Route{200, "0123456789", Fault::SlowBody, 2000});
  HttpFetch fetch(m_manager);
  QSignalSpy finished(&fetch, &HttpFetch::Finished);
  QObject::connect(&fetch, &HttpFetch::ResponseStarted, &fetch, &HttpFetch::Abort);
  fetch.Start(ServerPath(m_server.BaseUrl(), QStringLiteral("slow")));
  ASSERT_TRUE(finished.wait(5000));
  EXPECT_TRUE(finished.at(0).at(0).value<FetchOutcome>().aborted);
  EXPECT_FALSE(finished.wait(300));
}

}  // namespace
}  // namespace webupdate
