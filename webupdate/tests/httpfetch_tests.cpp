// One transfer against the loopback server's fault modes: only a whole 200 body whose end is
// known counts, and a file is replaced only by such a body.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslServer>
#include <QTemporaryDir>

#include "loopbackserver.h"
#include "webupdate/httpfetch.h"
#include "webupdate/serverurl.h"

namespace webupdate {
namespace {

using testing::Announcing;
using testing::Fault;
using testing::LoopbackServer;
using testing::Raw;
using testing::Route;
using testing::Unannounced;

QByteArray Repeat(const QByteArray& piece, int times) {
  QByteArray out;
  out.reserve(piece.size() * times);
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

const QByteArray ChunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

class HttpFetchTest : public ::testing::Test {
protected:
  FetchOutcome Run(const QString& path, const QString& savePath = {},
                   const TransferLimits& limits = {.idleMs = 5000, .deadlineFloorMs = 5000}) {
    HttpFetch fetch;
    fetch.SetLimits(limits);
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
  Route chunkedBadly{200, "4\r\nabcd\r\nzz\r\n"};
  chunkedBadly.announced = -2;
  chunkedBadly.Header("Transfer-Encoding", "chunked");
  const struct {
    const char* name;
    Route route;
    FetchFailure failure;
  } cases[] = {
      {"error status with a page", Route{404, "<html>Not found</html>"}, FetchFailure::Status},
      {"server error", Route{500, "oops"}, FetchFailure::Status},
      {"short body", Route{200, body, Fault::ShortBody}, FetchFailure::Truncated},
      {"dropped connection", Route{200, body, Fault::Drop}, FetchFailure::Truncated},
      {"stalled beyond the timeout", Route{200, body, Fault::SlowBody, 3000}, FetchFailure::Idle},
      {"longer than announced", Announcing(1000, body), FetchFailure::Overlong},
      {"shorter than announced", Announcing(5000, body), FetchFailure::Truncated},
      {"dripping past the deadline", Route{200, body, Fault::Drip, 50}, FetchFailure::Deadline},
      {"announced beyond the cap", Announcing(HttpFetch::FileSizeCap + 1, body),
       FetchFailure::TooLarge},
      {"malformed chunks", chunkedBadly, FetchFailure::Protocol},
      {"no length, cut in half", Unannounced(body, Fault::ShortBody), FetchFailure::Unframed},
      {"no length, whole", Unannounced(body), FetchFailure::Unframed},
      {"HTTP/1.0 ended by closing", Raw("HTTP/1.0 200 OK\r\n\r\n" + body), FetchFailure::Unframed},
      {"partial content", Route{206, body.left(2000)}, FetchFailure::Status},
      {"no content", Route{204, {}}, FetchFailure::Status},
      {"40,000 interim answers",
       Raw(Repeat("HTTP/1.1 100 Continue\r\n\r\n", 40000) +
           "HTTP/1.1 200 OK\r\nContent-Length: 4000\r\n\r\n" + body),
       FetchFailure::Protocol},
      {"a head of 20,000 lines",
       Raw("HTTP/1.1 200 OK\r\n" + Repeat("X-Line: " + QByteArray(24, 'x') + "\r\n", 20000) +
           "Content-Length: 4000\r\n\r\n" + body),
       FetchFailure::Protocol},
      {"a chunk size in C", Raw(ChunkedHead + "0x5\r\nhello\r\n0\r\n\r\n"), FetchFailure::Protocol},
      {"a 100 KB chunk extension",
       Raw(ChunkedHead + "5;" + QByteArray(100 * 1000, 'e') + "\r\nhello\r\n0\r\n\r\n"),
       FetchFailure::Protocol},
      {"trailers without end",
       Raw(ChunkedHead + "5\r\nhello\r\n0\r\n" + Repeat("X: y\r\n", 100000)),
       FetchFailure::Protocol},
  };
  const QString target = m_dir.filePath(QStringLiteral("kept.txt"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("old contents");
    file.close();
    m_server.Set(QStringLiteral("f.bin"), c.route);
    const FetchOutcome outcome =
        Run(QStringLiteral("f.bin"), target, {.idleMs = 400, .deadlineFloorMs = 1000});
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.failure, c.failure) << outcome.error.toStdString();
    EXPECT_FALSE(outcome.error.isEmpty());
    EXPECT_EQ(Read(target), "old contents");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"kept.txt"});
  }
}

TEST_F(HttpFetchTest, ChunkedBodiesArriveWhole) {
  Route chunked{200, "4\r\nWiki\r\n5;x=y\r\npedia\r\n0\r\nX-Trailer: 1\r\n\r\n"};
  chunked.announced = -2;
  chunked.Header("Transfer-Encoding", "chunked");
  m_server.Set(QStringLiteral("chunked"), chunked);
  const FetchOutcome fromChunks = Run(QStringLiteral("chunked"));
  EXPECT_TRUE(fromChunks.ok) << fromChunks.error.toStdString();
  EXPECT_EQ(fromChunks.body, "Wikipedia");
}

// A body that ends only with the connection reads whole when it was cut off; it is taken only
// into a file whose checksum is known, which checks its end.
TEST_F(HttpFetchTest, AnUnannouncedBodyIsTakenOnlyWithItsChecksum) {
  const QByteArray body(3000, 'u');
  const QByteArray sha256 =
      "b5e16ae9d1bc6ff0bb6eb2a1a8a10a4ec8f95b1c56b2f1e8a48b54d0c4e4e6f5";  // not body's
  m_server.Set(QStringLiteral("whole"), Unannounced(body));
  m_server.Set(QStringLiteral("cut"), Unannounced(body, Fault::ShortBody));
  const QString target = m_dir.filePath(QStringLiteral("file.bin"));
  const QByteArray bodySha256 = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
  const struct {
    const char* route;
    QByteArray expected;
    FetchFailure failure;
  } cases[] = {
      {"whole", {}, FetchFailure::Unframed},       {"cut", {}, FetchFailure::Unframed},
      {"cut", bodySha256, FetchFailure::Checksum}, {"whole", sha256, FetchFailure::Checksum},
      {"whole", bodySha256, FetchFailure::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.route << " " << c.expected.toStdString());
    HttpFetch fetch;
    QSignalSpy finished(&fetch, &HttpFetch::Finished);
    fetch.StartToFile(ServerPath(m_server.BaseUrl(), QString::fromLatin1(c.route)), target,
                      HttpFetch::FileSizeCap, c.expected);
    ASSERT_TRUE(finished.wait(10000));
    const auto outcome = finished.at(0).at(0).value<FetchOutcome>();
    EXPECT_EQ(outcome.failure, c.failure) << outcome.error.toStdString();
    EXPECT_EQ(outcome.ok, c.failure == FetchFailure::None);
    EXPECT_EQ(Read(target), outcome.ok ? body : QByteArray("<missing>"));
  }
  // A listing has no checksum: refused, with its reason.
  const FetchOutcome listing = Run(QStringLiteral("whole"));
  EXPECT_EQ(listing.failure, FetchFailure::Unframed);
  EXPECT_EQ(listing.error, QStringLiteral("The server did not say how long the file is, so a "
                                          "transfer cut off could not be told from a whole one."));
}

TEST_F(HttpFetchTest, AnOversizedAnnouncementIsRefusedBeforeAnyBody) {
  // The body would take minutes to drip; the announcement alone ends the transfer.
  Route huge = Announcing(HttpFetch::FileSizeCap + HttpFetch::FileSizeCap / 10, {});
  huge.fault = Fault::Drip;
  huge.body = QByteArray(1000, 'h');
  huge.delayMs = 200;
  m_server.Set(QStringLiteral("huge"), huge);
  QElapsedTimer clock;
  clock.start();
  const FetchOutcome outcome =
      Run(QStringLiteral("huge"), m_dir.filePath(QStringLiteral("huge.bin")));
  EXPECT_LT(clock.elapsed(), 1000);
  EXPECT_EQ(outcome.failure, FetchFailure::TooLarge);
  EXPECT_EQ(outcome.size, 0);
  EXPECT_TRUE(outcome.error.contains(QStringLiteral("1.1 GiB"))) << outcome.error.toStdString();
  EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("huge.bin"))));
}

TEST_F(HttpFetchTest, TheDeadlineGrowsWithTheAnnouncedSizeUpToItsCap) {
  // 2000 bytes, the second half after 700 ms: beyond a 300 ms floor, within the floor plus
  // the size at 1000 bytes a second, unless the cap is shorter.
  m_server.Set(QStringLiteral("slow"), Route{200, QByteArray(2000, 's'), Fault::SlowBody, 700});
  const struct {
    qint64 slowest;
    int capMs;
    bool ok;
  } cases[] = {
      {1000, 60000, true},
      {1000000, 60000, false},
      {1000, 500, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.slowest << " bytes a second, cap " << c.capMs);
    HttpFetch fetch;
    fetch.SetLimits({.idleMs = 5000,
                     .deadlineFloorMs = 300,
                     .slowestBytesPerSecond = c.slowest,
                     .deadlineCapMs = c.capMs});
    QSignalSpy finished(&fetch, &HttpFetch::Finished);
    fetch.Start(ServerPath(m_server.BaseUrl(), QStringLiteral("slow")));
    ASSERT_TRUE(finished.wait(10000));
    const auto outcome = finished.at(0).at(0).value<FetchOutcome>();
    EXPECT_EQ(outcome.ok, c.ok) << outcome.error.toStdString();
    if (!c.ok) {
      EXPECT_EQ(outcome.failure, FetchFailure::Deadline);
    }
  }
  // Announcing just under the size cap no longer buys a drip 18 hours.
  EXPECT_EQ(TransferLimits{}.DeadlineMs(HttpFetch::FileSizeCap - 1), 30 * 60 * 1000);
  EXPECT_EQ(TransferLimits{}.DeadlineMs(16 * 1024 * 60), 3 * 60 * 1000);
}

// A server that keeps the transfer alive with a byte now and then is ended by the rate floor,
// long before the deadline; one sending above the floor is not.
TEST_F(HttpFetchTest, ATransferBelowTheRateFloorEnds) {
  m_server.Set(QStringLiteral("drip"), Route{200, QByteArray(40, 'd'), Fault::Drip, 20});
  const struct {
    qint64 minimum;
    bool ok;
  } cases[] = {{1024, false}, {10, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.minimum);
    const FetchOutcome outcome = Run(QStringLiteral("drip"), {},
                                     {.idleMs = 5000,
                                      .deadlineFloorMs = 5000,
                                      .minimumBytesPerSecond = c.minimum,
                                      .rateWindowMs = 300});
    EXPECT_EQ(outcome.ok, c.ok) << outcome.error.toStdString();
    if (!c.ok) {
      EXPECT_EQ(outcome.failure, FetchFailure::TooSlow);
      EXPECT_TRUE(outcome.error.contains(
          QStringLiteral("in the last 0.3 seconds, less than the 1.0 KiB a second a transfer "
                         "needs")))
          << outcome.error.toStdString();
    }
  }
}

// 160,000 interim answers (4 MB) took minutes and ended in a false "sent nothing"; they are
// refused after the few allowed, as is a 700 KB head, at once.
TEST_F(HttpFetchTest, FloodedHeadsAreRefusedAtOnce) {
  const QByteArray final = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
  m_server.Set(QStringLiteral("interim"),
               Raw(Repeat("HTTP/1.1 100 Continue\r\n\r\n", 160000) + final));
  m_server.Set(
      QStringLiteral("lines"),
      Raw("HTTP/1.1 200 OK\r\n" + Repeat("X-Line: " + QByteArray(27, 'x') + "\r\n", 20000) +
          "Content-Length: 2\r\n\r\nok"));
  for (const char* path : {"interim", "lines"}) {
    SCOPED_TRACE(path);
    QElapsedTimer clock;
    clock.start();
    const FetchOutcome outcome = Run(QString::fromLatin1(path));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(outcome.failure, FetchFailure::Protocol) << outcome.error.toStdString();
  }
}

TEST_F(HttpFetchTest, ConnectionRefusedIsAFailure) {
  const QUrl base = m_server.BaseUrl();
  HttpFetch fetch;
  QSignalSpy finished(&fetch, &HttpFetch::Finished);
  QUrl closed = base;
  closed.setPort(1);  // nothing listens on port 1 of the loopback host
  fetch.Start(ServerPath(closed, QStringLiteral("x")));
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_FALSE(finished.at(0).at(0).value<FetchOutcome>().ok);
}

TEST_F(HttpFetchTest, SlowBodyWithinTheTimeoutArrivesWhole) {
  m_server.Set(QStringLiteral("slow"), Route{200, "0123456789", Fault::SlowBody, 200});
  const FetchOutcome outcome =
      Run(QStringLiteral("slow"), {}, {.idleMs = 2000, .deadlineFloorMs = 5000});
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

  HttpFetch fetch;
  QSignalSpy finished(&fetch, &HttpFetch::Finished);
  const QString target = m_dir.filePath(QStringLiteral("big.bin"));
  fetch.StartToFile(ServerPath(m_server.BaseUrl(), QStringLiteral("big")), target, 1000);
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_FALSE(finished.at(0).at(0).value<FetchOutcome>().ok);
  EXPECT_FALSE(QFileInfo::exists(target));
}

// A server on 127.0.0.1 with a self-signed certificate for that address, answering every
// request with one short file.
class TlsServer {
public:
  TlsServer() {
    QFile pem(QStringLiteral(TEST_DATA "/selfsigned-loopback.pem"));
    if (pem.open(QIODevice::ReadOnly)) m_pem = pem.readAll();
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(Certificate());
    configuration.setPrivateKey(QSslKey(m_pem, QSsl::Rsa));
    m_server.setSslConfiguration(configuration);
    m_server.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&m_server, &QTcpServer::pendingConnectionAvailable, [this] {
      while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        QObject::connect(socket, &QIODevice::readyRead, socket, [socket] {
          if (!socket->readAll().contains("\r\n\r\n")) return;
          socket->write("HTTP/1.1 200 OK\r\nContent-Length: 6\r\nConnection: close\r\n\r\nsecret");
          socket->disconnectFromHost();
        });
      }
    });
  }
  QSslCertificate Certificate() const { return QSslCertificate(m_pem); }
  QUrl Url() const {
    return QUrl(QStringLiteral("https://127.0.0.1:%1/Updates.txt").arg(m_server.serverPort()));
  }

private:
  QByteArray m_pem;
  QSslServer m_server;
};

TEST_F(HttpFetchTest, HttpsIsReadOnlyFromAServerWhoseCertificateChecksOut) {
  if (!QSslSocket::supportsSsl()) GTEST_SKIP() << "no TLS on this system";
  TlsServer server;
  const auto fetchOnce = [&server] {
    HttpFetch fetch;
    QSignalSpy finished(&fetch, &HttpFetch::Finished);
    fetch.Start(server.Url());
    EXPECT_TRUE(finished.wait(10000));
    return finished.isEmpty() ? FetchOutcome{} : finished.at(0).at(0).value<FetchOutcome>();
  };
  // Trusted by nobody: refused before any request is sent.
  const FetchOutcome refused = fetchOnce();
  EXPECT_EQ(refused.failure, FetchFailure::Network);
  EXPECT_TRUE(
      refused.error.startsWith(QStringLiteral("The server's identity could not be checked")))
      << refused.error.toStdString();

  // Trusted, as a real server's certificate is: the file arrives through TLS.
  const QSslConfiguration original = QSslConfiguration::defaultConfiguration();
  QSslConfiguration trusting = original;
  trusting.addCaCertificate(server.Certificate());
  QSslConfiguration::setDefaultConfiguration(trusting);
  const FetchOutcome read = fetchOnce();
  QSslConfiguration::setDefaultConfiguration(original);
  EXPECT_TRUE(read.ok) << read.error.toStdString();
  EXPECT_EQ(read.body, "secret");
}

TEST_F(HttpFetchTest, PlainHttpToAnotherHostIsNeverSent) {
  HttpFetch fetch;
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

// Aborts the request for path as soon as its answer starts: reported once, as aborted.
void AbortAtTheAnswer(const LoopbackServer& server, const QString& path) {
  HttpFetch fetch;
  QSignalSpy finished(&fetch, &HttpFetch::Finished);
  QObject::connect(&fetch, &HttpFetch::ResponseStarted, &fetch, &HttpFetch::Abort);
  fetch.Start(ServerPath(server.BaseUrl(), path));
  ASSERT_TRUE(finished.wait(5000));
  EXPECT_TRUE(finished.at(0).at(0).value<FetchOutcome>().aborted);
  EXPECT_FALSE(finished.wait(300));
}

TEST_F(HttpFetchTest, AbortReportsOnce) {
  m_server.Set(QStringLiteral("slow"), Route{200, "0123456789", Fault::SlowBody, 2000});
  AbortAtTheAnswer(m_server, QStringLiteral("slow"));
}

TEST_F(HttpFetchTest, AnAbortOnARedirectAsksNothingMore) {
  Route here{301};
  here.Header("Location", "/moved.txt");
  m_server.Set(QStringLiteral("here"), here);
  m_server.Set(QStringLiteral("moved.txt"), QByteArray("moved here"));
  AbortAtTheAnswer(m_server, QStringLiteral("here"));
  EXPECT_EQ(m_server.Requested(), QStringList{"here"});
}

}  // namespace
}  // namespace webupdate
