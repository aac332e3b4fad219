// Whole help updates against the loopback server: every file byte for byte, only what is
// missing or older, and each failure leaving the help folder as the messages say.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "helprig.h"

namespace guidefetch {
namespace {

using testing::Docs;
using testing::HelpRig;
using testing::ReadFile;
using testing::Snapshot;
using testing::WriteFile;
using webupdate::testing::Fault;
using webupdate::testing::Route;
using Kind = HelpResult::Kind;

class HelpUpdaterTest : public ::testing::Test, public HelpRig {};

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
    EXPECT_EQ(result.text, QStringLiteral("Update failed.  Current help files are unchanged."));
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
    EXPECT_EQ(result.text, QStringLiteral("Update failed.  Not all files were updated."));
    EXPECT_EQ(ReadFile(Local(QStringLiteral("index.htm"))), Page);
    EXPECT_EQ(ReadFile(Local(QStringLiteral("logo.gif"))), "old picture");
    EXPECT_FALSE(m_server.Requested().contains(Docs + QStringLiteral("Styles/rock.htm")));
    EXPECT_EQ(QDir(m_help).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"index.htm", "logo.gif"}));
  }
}

TEST_F(HelpUpdaterTest, CancelStopsAfterTheCurrentFile) {
  m_server.Set(Docs + QStringLiteral("index.htm"), Route{200, Page, Fault::SlowBody, 300});
  const HelpResult result = RunUpdate({}, [](HelpUpdater& updater) {
    QObject::connect(&updater, &HelpUpdater::Status, &updater, [&updater](const QString& text) {
      if (text == QStringLiteral("Downloading index.htm...")) updater.RequestCancel();
    });
  });
  EXPECT_EQ(result.kind, Kind::Cancelled);
  EXPECT_EQ(result.text, QStringLiteral("Update cancelled."));
  EXPECT_EQ(ReadFile(Local(QStringLiteral("index.htm"))), Page);
  EXPECT_FALSE(QFileInfo::exists(Local(QStringLiteral("logo.gif"))));
  EXPECT_EQ(m_server.Requested(), (QStringList{Docs + "Dir.htm", Docs + "index.htm"}));
}

TEST_F(HelpUpdaterTest, AListingWithoutAListUpdatesNothing) {
  m_server.Set(Docs + QStringLiteral("Dir.htm"), QByteArray("<html>index.htm | 1/1/2030</html>"));
  EXPECT_EQ(RunUpdate().kind, Kind::Completed);
  EXPECT_TRUE(Snapshot(m_dir.path()).empty());
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
    EXPECT_TRUE(Snapshot(m_dir.path()).empty());
  }
}

}  // namespace
}  // namespace guidefetch
