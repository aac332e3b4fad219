// Whole help updates against the loopback server: every file byte for byte, only what is
// missing or older, and each failure leaving the help folder as the messages say.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
#include <functional>

#include "helprig.h"

namespace guidefetch {
namespace {

using testing::Docs;
using testing::HelpRig;
using testing::ReadFile;
using testing::Snapshot;
using testing::WriteFile;
using webupdate::testing::Announcing;
using webupdate::testing::Fault;
using webupdate::testing::Raw;
using webupdate::testing::Route;
using webupdate::testing::Unannounced;
using Kind = HelpResult::Kind;

class HelpUpdaterTest : public ::testing::Test, public HelpRig {};

// Cancels a while after the first page's transfer began.
void CancelWhileFetching(HelpUpdater& updater) {
  QObject::connect(&updater, &HelpUpdater::Status, &updater, [&updater](const QString& text) {
    if (text == QStringLiteral("Downloading index.htm...")) {
      QTimer::singleShot(300, &updater, &HelpUpdater::RequestCancel);
    }
  });
}

TEST_F(HelpUpdaterTest, WritesEveryListedFileByteForByte) {
  const HelpResult result = RunUpdate();
  EXPECT_EQ(result.kind, Kind::Completed);
  EXPECT_EQ(result.text, QStringLiteral("Update completed successfully."));
  EXPECT_EQ(ReadFile(Local(QStringLiteral("index.htm"))), Page);
  EXPECT_EQ(ReadFile(Local(QStringLiteral("logo.gif"))), Picture);
  EXPECT_EQ(ReadFile(Local(QStringLiteral("Styles/rock.htm"))), "<p>rock</p>");
  const QString host = QStringLiteral("127.0.0.1");
  EXPECT_EQ(m_statuses.mid(0, 5),
            (QStringList{"Searching for " + host + "...", "Connecting to " + host + "...",
                         "Searching for help directory...", "Retrieving information...", ""}));
  EXPECT_TRUE(m_statuses.contains(QStringLiteral("Processing logo.gif...")));
  EXPECT_TRUE(m_statuses.contains(QStringLiteral("Downloading logo.gif...")));
}

TEST_F(HelpUpdaterTest, FetchesOnlyWhatIsMissingOrOlder) {
  // Local copies modified now: newer than every listed date but the unreadable one.
  WriteFile(Local(QStringLiteral("index.htm")), "current page");
  WriteFile(Local(QStringLiteral("logo.gif")), "current picture");
  m_server.Set(Docs + QStringLiteral("Dir.htm"),
               QByteArray("<pre>\nindex.htm | 3/5/2024\nlogo.gif | some day\n"
                          "Styles/rock.htm | 3/5/2024\n</pre>"));
  EXPECT_EQ(RunUpdate().kind, Kind::Completed);
  EXPECT_EQ(ReadFile(Local(QStringLiteral("index.htm"))), "current page");
  EXPECT_EQ(ReadFile(Local(QStringLiteral("logo.gif"))), Picture);
  EXPECT_EQ(m_server.Requested(),
            (QStringList{Docs + "Dir.htm", Docs + "logo.gif", Docs + "Styles/rock.htm"}));
}

TEST_F(HelpUpdaterTest, AListingThatCannotBeReadChangesNothing) {
  WriteFile(Local(QStringLiteral("index.htm")), "old page");
  const auto before = Snapshot(m_dir.path());
  const struct {
    const char* name;
    Route route;
  } cases[] = {
      {"missing", Route{404, "<html><pre>\nevil | 1/1/2030\n</pre></html>"}},
      {"dropped", Route{200, "<pre>\na | b\n</pre>", Fault::Drop}},
      {"cut short", Route{200, "<pre>\nindex.htm | 1/1/2030\n</pre>", Fault::ShortBody}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_server.Set(Docs + QStringLiteral("Dir.htm"), c.route);
    const HelpResult result = RunUpdate();
    EXPECT_EQ(result.kind, Kind::ListingFailed);
    EXPECT_TRUE(result.text.startsWith(
        QStringLiteral("Update failed.  Current help files are unchanged.\n")))
        << result.text.toStdString();
    EXPECT_EQ(m_statuses.last(), QStringLiteral("Help Update failed."));
    EXPECT_EQ(Snapshot(m_dir.path()), before);
  }
  QUrl closed = m_server.BaseUrl();
  closed.setPort(1);  // nothing listens there
  EXPECT_EQ(RunUpdate(closed).kind, Kind::ListingFailed);
  EXPECT_EQ(Snapshot(m_dir.path()), before);
}

TEST_F(HelpUpdaterTest, AFailedFileEndsTheWalkAndKeepsItsOldCopy) {
  WriteFile(Local(QStringLiteral("logo.gif")), "old picture", QDate(2020, 1, 1).startOfDay());
  for (const Route& failing : {Route{500, "<html>Server Error</html>"},
                               Route{200, QByteArray(8000, 'g'), Fault::ShortBody},
                               Route{200, QByteArray(8000, 'g'), Fault::SlowBody, 3000}}) {
    QFile::remove(Local(QStringLiteral("index.htm")));
    m_server.ClearRequested();
    m_server.Set(Docs + QStringLiteral("logo.gif"), failing);
    const HelpResult result = RunUpdate();
    EXPECT_EQ(result.kind, Kind::FileFailed);
    EXPECT_TRUE(result.text.startsWith(
        QStringLiteral("Update failed.  Not all files were updated.\nlogo.gif: ")))
        << result.text.toStdString();
    EXPECT_EQ(ReadFile(Local(QStringLiteral("index.htm"))), Page);
    EXPECT_EQ(ReadFile(Local(QStringLiteral("logo.gif"))), "old picture");
    EXPECT_FALSE(m_server.Requested().contains(Docs + QStringLiteral("Styles/rock.htm")));
    EXPECT_EQ(QDir(m_help).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"index.htm", "logo.gif"}));
  }
}

TEST_F(HelpUpdaterTest, CancelEndsTheTransferAtOnceKeepingTheOldCopy) {
  // The page would drip for seconds; Cancel ends it now, and its old copy stays.
  WriteFile(Local(QStringLiteral("index.htm")), "old page", QDate(2020, 1, 1).startOfDay());
  m_server.Set(Docs + QStringLiteral("index.htm"), Route{200, Page, Fault::Drip, 200});
  QElapsedTimer clock;
  clock.start();
  const HelpResult result = RunUpdate({}, CancelWhileFetching);
  EXPECT_LT(clock.elapsed(), 2000);
  EXPECT_EQ(result.kind, Kind::Cancelled);
  EXPECT_EQ(result.text, QStringLiteral("Update cancelled."));
  EXPECT_EQ(ReadFile(Local(QStringLiteral("index.htm"))), "old page");
  EXPECT_FALSE(QFileInfo::exists(Local(QStringLiteral("logo.gif"))));
  EXPECT_EQ(m_server.Requested(), (QStringList{Docs + "Dir.htm", Docs + "index.htm"}));
}

TEST_F(HelpUpdaterTest, AListingWithoutAListUpdatesNothing) {
  m_server.Set(Docs + QStringLiteral("Dir.htm"), QByteArray("<html>index.htm | 1/1/2030</html>"));
  EXPECT_EQ(RunUpdate().kind, Kind::Completed);
  EXPECT_TRUE(Snapshot(m_help).empty());
}

TEST_F(HelpUpdaterTest, AnEmptyPictureWritesAnEmptyFile) {
  m_server.Set(Docs + QStringLiteral("logo.gif"), QByteArray());
  EXPECT_EQ(RunUpdate().kind, Kind::Completed);
  EXPECT_EQ(ReadFile(Local(QStringLiteral("logo.gif"))), QByteArray());
}

TEST_F(HelpUpdaterTest, AHostileNameRefusesTheWholeListing) {
  for (const QByteArray& name : {QByteArray("../.profile"), QByteArray("/tmp/x.htm"),
                                 QByteArray("..\\..\\x.htm"), QByteArray("C:\\x.htm")}) {
    SCOPED_TRACE(name.toStdString());
    m_server.Set(Docs + QStringLiteral("Dir.htm"),
                 "<pre>\nindex.htm | 1/1/2030\n" + name + " | 1/1/2030\n</pre>");
    m_server.ClearRequested();
    const HelpResult result = RunUpdate();
    EXPECT_EQ(result.kind, Kind::ListingFailed);
    EXPECT_TRUE(result.detail.contains(QString::fromUtf8(name)));
    EXPECT_EQ(m_server.Requested(), QStringList{Docs + "Dir.htm"});
    EXPECT_TRUE(Snapshot(m_help).empty());
  }
}

// Every hostile case leaves the help folder byte for byte as it was and touches nothing
// outside it: each one strikes the listing or the first file to be fetched, and every local
// copy is old enough to be replaced, so any write would show.
TEST(HelpUpdaterHostile, NoHostileServerChangesTheHelpFolder) {
  const QString index = Docs + QStringLiteral("index.htm");
  const QString listing = Docs + QStringLiteral("Dir.htm");
  const auto listingOf = [](const QByteArray& name) {
    return "<pre>\n" + name + " | 1/1/2030\nlogo.gif | 1/1/2030\n</pre>";
  };
  const struct {
    const char* name;
    std::function<void(HelpRig&)> setup;
    Kind kind;
    QStringList says;
    std::function<void(HelpUpdater&)> during = {};
  } cases[] = {
      {"listing dripping past the deadline",
       [&](HelpRig& rig) {
         rig.m_limits.deadlineFloorMs = 600;
         rig.m_server.Set(listing, Route{200, listingOf("index.htm"), Fault::Drip, 100});
       },
       Kind::ListingFailed,
       {"took longer than the 0.6 seconds allowed"}},
      {"page dripping past the deadline",
       [&](HelpRig& rig) {
         rig.m_limits.deadlineFloorMs = 600;
         rig.m_server.Set(index, Route{200, rig.Page, Fault::Drip, 100});
       },
       Kind::FileFailed,
       {"index.htm: The transfer took longer"}},
      {"cancel during a dripping page",
       [&](HelpRig& rig) {
         rig.m_server.Set(index, Route{200, rig.Page, Fault::Drip, 100});
       },
       Kind::Cancelled,
       {},
       CancelWhileFetching},
      {"Content-Length shorter than the body",
       [&](HelpRig& rig) { rig.m_server.Set(index, Announcing(5, rig.Page)); },
       Kind::FileFailed,
       {"more than the 5 bytes it announced"}},
      {"Content-Length longer than the body",
       [&](HelpRig& rig) { rig.m_server.Set(index, Announcing(500, rig.Page)); },
       Kind::FileFailed,
       {"of the 500 bytes announced"}},
      {"a 600 MB page",
       [&](HelpRig& rig) { rig.m_server.Set(index, Announcing(600 << 20, rig.Page)); },
       Kind::FileFailed,
       {"announced 600.0 MiB, more than the 8.0 MiB allowed"}},
      {"more than the whole update may bring",
       [](HelpRig& rig) { rig.m_totalCap = 10; },
       Kind::FileFailed,
       {"may not exceed 10 bytes together"}},
      {"a name climbing out",
       [&](HelpRig& rig) { rig.m_server.Set(listing, listingOf("../../out/victim.htm")); },
       Kind::ListingFailed,
       {"../../out/victim.htm"}},
      {"a name through a link leading out",
       [&](HelpRig& rig) {
         QFile::link(rig.m_outside, rig.Local(QStringLiteral("link")));
         rig.m_server.Set(listing, listingOf("link/victim.htm"));
       },
       Kind::ListingFailed,
       {"leads outside the folder"}},
      {"a name too long for the file system",
       [&](HelpRig& rig) { rig.m_server.Set(listing, listingOf(QByteArray(300, 'n'))); },
       Kind::ListingFailed,
       {"too long for the file system", QStringLiteral("nnn\u2026nnn")}},
      {"a folder named as a file",
       [&](HelpRig& rig) {
         QDir().mkpath(rig.Local(QStringLiteral("Styles")));
         rig.m_server.Set(listing, listingOf("Styles"));
       },
       Kind::ListingFailed,
       {"it names a folder, not a file"}},
      {"listing redirected to another address",
       [&](HelpRig& rig) {
         Route away{302};
         away.Header("Location", "http://127.0.0.1:1/Dir.htm");
         rig.m_server.Set(listing, away);
       },
       Kind::ListingFailed,
       {"another address"}},
      {"the listing without a length, cut after 20 bytes",
       [&](HelpRig& rig) {
         rig.m_server.Set(listing,
                          Raw("HTTP/1.1 200 OK\r\n\r\n" + listingOf("index.htm").left(20)));
       },
       Kind::ListingFailed,
       {"did not say how long the file is"}},
      {"a page without a length, cut in half",
       [&](HelpRig& rig) { rig.m_server.Set(index, Unannounced(rig.Page, Fault::ShortBody)); },
       Kind::FileFailed,
       {"index.htm: The server did not say how long"}},
      {"an HTTP/1.0 page ended by closing",
       [&](HelpRig& rig) { rig.m_server.Set(index, Raw("HTTP/1.0 200 OK\r\n\r\n" + rig.Page)); },
       Kind::FileFailed,
       {"did not say how long"}},
      {"partial content",
       [&](HelpRig& rig) {
         rig.m_server.Set(index, Route{206, rig.Page.left(5)});
       },
       Kind::FileFailed,
       {"status 206 rather than with the whole file"}},
      {"no content",
       [&](HelpRig& rig) { rig.m_server.Set(index, Route{204}); },
       Kind::FileFailed,
       {"index.htm: The server answered with status 204"}},
      {"40,000 interim answers before the listing",
       [&](HelpRig& rig) {
         QByteArray flood;
         for (int i = 0; i < 40000; ++i) flood += "HTTP/1.1 100 Continue\r\n\r\n";
         const QByteArray body = listingOf("index.htm");
         rig.m_server.Set(listing, Raw(flood + "HTTP/1.1 200 OK\r\nContent-Length: " +
                                       QByteArray::number(body.size()) + "\r\n\r\n" + body));
       },
       Kind::ListingFailed,
       {"more than 5 interim answers"}},
      {"a chunk size among blanks",
       [&](HelpRig& rig) {
         rig.m_server.Set(index, Raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n 5 \r\n"
                                     "<p>x<\r\n0\r\n\r\n"));
       },
       Kind::FileFailed,
       {"not cut into parts as HTTP cuts it"}},
      {"a drip below the rate floor",
       [&](HelpRig& rig) {
         rig.m_limits.minimumBytesPerSecond = 1024;
         rig.m_limits.rateWindowMs = 300;
         rig.m_server.Set(index, Route{200, rig.Page, Fault::Drip, 50});
       },
       Kind::FileFailed,
       {"less than the 1.0 KiB a second a transfer needs"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HelpRig rig;
    const QDateTime old = QDate(2020, 1, 1).startOfDay();
    WriteFile(rig.Local(QStringLiteral("index.htm")), "old page", old);
    WriteFile(rig.Local(QStringLiteral("logo.gif")), "old picture", old);
    c.setup(rig);
    const auto before = Snapshot(rig.m_dir.path());

    const HelpResult result = rig.RunUpdate({}, c.during);
    EXPECT_EQ(result.kind, c.kind);
    for (const QString& said : c.says) {
      EXPECT_TRUE(result.text.contains(said)) << result.text.toStdString();
    }
    if (c.kind != Kind::Cancelled) {
      EXPECT_GE(result.text.count(u'\n'), 1) << "no reason line: " << result.text.toStdString();
    }
    EXPECT_EQ(Snapshot(rig.m_dir.path()), before);
  }
}

}  // namespace
}  // namespace guidefetch
