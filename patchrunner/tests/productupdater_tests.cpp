// Whole update runs against the loopback server: a clean update, every fault mode (the product
// unchanged afterwards, byte for byte, and Main/Update unchanged), a hostile file list, an
// unknown install folder, and a failed run followed by a good one.
#include <gtest/gtest.h>

#include <filesystem>

#include "patchrunner/packinstaller.h"
#include "updaterig.h"

namespace patchrunner {
namespace {

using patchrunner::testing::Executable;
using patchrunner::testing::Folder;
using patchrunner::testing::ModeBits;
using patchrunner::testing::Pack;
using patchrunner::testing::ReadFile;
using patchrunner::testing::Rig;
using patchrunner::testing::Snapshot;
using webupdate::testing::Fault;
using webupdate::testing::Route;
using Kind = UpdateResult::Kind;

class ProductUpdaterTest : public ::testing::Test, public Rig {};

TEST_F(ProductUpdaterTest, InstallsTheHighestNewerPackWhole) {
  const UpdateResult result = RunUpdate();
  EXPECT_EQ(result.kind, Kind::Installed);
  EXPECT_EQ(result.text, QStringLiteral("Service pack SP3 installed."));
  EXPECT_EQ(result.icon, MessageIcon::Information);
  EXPECT_EQ(m_statuses, (QStringList{"Please wait...", "Installing service pack SP3..."}));

  EXPECT_EQ(ReadFile(m_root + QStringLiteral("/veltrimond")), NewProgram);
  EXPECT_EQ(ModeBits(m_root + QStringLiteral("/veltrimond")), ModeBits(Executable));
  EXPECT_EQ(ReadFile(m_root + QStringLiteral("/Common/Config/Instrument.txt")), NewInstruments);
  EXPECT_EQ(ReadFile(m_root + QStringLiteral("/Common/Styles/rock.sty")), QByteArray());
  EXPECT_EQ(Update(), QStringLiteral("SP3"));
  EXPECT_FALSE(QFileInfo::exists(m_root + u'/' + PackInstaller::StagingName()));
  EXPECT_EQ(m_server.Requested(),
            (QStringList{Folder + "Updates.txt", Pack + "Files.txt", Pack + "veltrimond",
                         Pack + "Common/Config/Instrument.txt", Pack + "Common/Styles/rock.sty"}));
}

TEST_F(ProductUpdaterTest, SameOrOlderPackIsTheHighestLevel) {
  for (const char* installed : {"SP3", "SP4"}) {
    SCOPED_TRACE(installed);
    m_settings.Write(QStringLiteral("Main"), QStringLiteral("Update"),
                     QString::fromLatin1(installed));
    m_server.ClearRequested();
    const UpdateResult result = RunUpdate();
    EXPECT_EQ(result.kind, Kind::AtHighest);
    EXPECT_EQ(result.text,
              QStringLiteral("This product is currently at the highest service pack level."));
    EXPECT_EQ(m_server.Requested(), QStringList{Folder + "Updates.txt"});
    EXPECT_EQ(Update(), QString::fromLatin1(installed));
  }
}

TEST_F(ProductUpdaterTest, EveryFaultLeavesTheProductAsItWas) {
  const QByteArray big(64 * 1024, 'b');
  const struct {
    const char* name;
    QString path;
    Route route;
    Kind kind;
  } cases[] = {
      {"pack list missing", Folder + "Updates.txt", Route{404, "<html>gone</html>"},
       Kind::ListFailed},
      {"pack list dropped", Folder + "Updates.txt", Route{200, "x", Fault::Drop}, Kind::ListFailed},
      {"file list missing", Pack + "Files.txt", Route{404, "<html>gone</html>"}, Kind::FilesFailed},
      {"file list cut short", Pack + "Files.txt",
       Route{200, "Files\nveltrimond\n", Fault::ShortBody}, Kind::FilesFailed},
      {"second file error page", Pack + "Common/Config/Instrument.txt", Route{500, "oops"},
       Kind::DownloadFailed},
      {"second file cut short", Pack + "Common/Config/Instrument.txt",
       Route{200, big, Fault::ShortBody}, Kind::DownloadFailed},
      {"second file dropped", Pack + "Common/Config/Instrument.txt", Route{200, big, Fault::Drop},
       Kind::DownloadFailed},
      {"second file stalls", Pack + "Common/Config/Instrument.txt",
       Route{200, big, Fault::SlowBody, 3000}, Kind::DownloadFailed},
      {"checksum differs", Pack + "veltrimond", Route{200, "tampered program"},
       Kind::DownloadFailed},
  };
  const auto before = Snapshot(m_root);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig fresh;
    fresh.m_server.Set(c.path, c.route);
    const auto freshBefore = Snapshot(fresh.m_root);
    const UpdateResult result = fresh.RunUpdate();
    EXPECT_EQ(result.kind, c.kind);
    EXPECT_NE(result.icon, MessageIcon::Information);
    EXPECT_EQ(Snapshot(fresh.m_root), freshBefore);
    EXPECT_EQ(fresh.Update(), QStringLiteral("SP2"));
  }
  EXPECT_EQ(Snapshot(m_root), before);
}

TEST_F(ProductUpdaterTest, FailuresAreNamedNotReportedAsSuccess) {
  m_server.Set(Pack + QStringLiteral("Common/Config/Instrument.txt"), Route{500, "oops"});
  EXPECT_EQ(RunUpdate().text,
            QStringLiteral("Error downloading Common\\Config\\Instrument.txt.  Update "
                           "was unsuccessful and incomplete."));

  QUrl closed = m_server.BaseUrl();
  closed.setPort(1);  // nothing listens there
  const UpdateResult refused = RunUpdate(closed);
  EXPECT_EQ(refused.kind, Kind::ListFailed);
  EXPECT_TRUE(refused.text.startsWith(QStringLiteral("Could not read the list of service packs")));

  m_server.Set(Pack + QStringLiteral("Files.txt"), Route{404, "<html>404</html>"});
  const UpdateResult noFiles = RunUpdate();
  EXPECT_TRUE(
      noFiles.text.startsWith(QStringLiteral("Could not read the file list of service "
                                             "pack SP3")));
  EXPECT_EQ(noFiles.icon, MessageIcon::Critical);
}

TEST_F(ProductUpdaterTest, AHostileFileListIsRefusedBeforeAnyDownload) {
  QTemporaryDir outside;
  for (const QByteArray& name : {QByteArray("../escaped.txt"), QByteArray("/tmp/escaped.txt"),
                                 QByteArray("C:\\escaped.txt")}) {
    SCOPED_TRACE(name.toStdString());
    m_server.Set(Pack + QStringLiteral("Files.txt"), "Files\nveltrimond\n" + name + "\n");
    m_server.ClearRequested();
    const auto before = Snapshot(m_root);
    const UpdateResult result = RunUpdate();
    EXPECT_EQ(result.kind, Kind::HostileList);
    EXPECT_TRUE(result.text.contains(QString::fromUtf8(name)));
    EXPECT_EQ(m_server.Requested(), (QStringList{Folder + "Updates.txt", Pack + "Files.txt"}));
    EXPECT_EQ(Snapshot(m_root), before);
    EXPECT_EQ(Update(), QStringLiteral("SP2"));
  }
  EXPECT_FALSE(QFileInfo::exists(QDir(m_root).filePath(QStringLiteral("../escaped.txt"))));
}

TEST_F(ProductUpdaterTest, RefusesWithoutAnInstallFolderOrProductCode) {
  const struct {
    const char* name;
    const char* key;
    QString value;
  } cases[] = {
      {"no install folder", "Path", QString()},
      {"install folder missing", "Path", m_root + QStringLiteral("/gone")},
      {"relative install folder", "Path", QStringLiteral("install")},
      {"no product code", "ID", QString()},
      {"product code with a folder step", "ID", QStringLiteral("../T1")},
      {"version with a folder step", "Version", QStringLiteral("1.2/..")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig fresh;
    fresh.m_settings.Write(QStringLiteral("Main"), QString::fromLatin1(c.key), c.value);
    const UpdateResult result = fresh.RunUpdate();
    EXPECT_EQ(result.kind, Kind::Refused);
    EXPECT_TRUE(fresh.m_server.Requested().isEmpty());
    EXPECT_EQ(fresh.Update(), QStringLiteral("SP2"));
  }
}

TEST_F(ProductUpdaterTest, AHeaderOnlyFileListRecordsThePack) {
  m_server.Set(Pack + QStringLiteral("Files.txt"), QByteArray("Files\r\n"));
  const auto before = Snapshot(m_root);
  EXPECT_EQ(RunUpdate().kind, Kind::Installed);
  EXPECT_EQ(Update(), QStringLiteral("SP3"));
  EXPECT_EQ(Snapshot(m_root), before);
}

TEST_F(ProductUpdaterTest, AFileThatCannotBeReplacedRollsEverythingBack) {
  // The second file cannot be moved aside (a file in use, a read-only folder): the first one
  // is already in place and goes back.
  m_rename = [](const QString& from, const QString& to) {
    if (from.endsWith(QStringLiteral("/Instrument.txt"))) return false;
    std::error_code error;
    std::filesystem::rename(from.toStdString(), to.toStdString(), error);
    return !error;
  };
  const auto before = Snapshot(m_root);
  const UpdateResult result = RunUpdate();
  EXPECT_EQ(result.kind, Kind::InUse);
  EXPECT_EQ(result.text, QStringLiteral("Could not install service pack because file "
                                        "Common\\Config\\Instrument.txt is in use."));
  EXPECT_EQ(result.icon, MessageIcon::Exclamation);
  EXPECT_EQ(Snapshot(m_root), before);
  EXPECT_EQ(Update(), QStringLiteral("SP2"));
}

TEST_F(ProductUpdaterTest, SaysSoWhenThePackCannotBeRecorded) {
  m_settings.DropWrites();
  const UpdateResult result = RunUpdate();
  EXPECT_EQ(result.kind, Kind::Installed);
  EXPECT_EQ(result.text, QStringLiteral("Service pack SP3 installed. It could not be recorded in "
                                        "the settings file."));
  EXPECT_EQ(ReadFile(m_root + QStringLiteral("/veltrimond")), NewProgram);
}

TEST_F(ProductUpdaterTest, ASecondRunCompletesAnUpdateThatWasCutOff) {
  m_server.Set(Pack + QStringLiteral("Common/Config/Instrument.txt"),
               Route{200, NewInstruments, Fault::ShortBody});
  EXPECT_EQ(RunUpdate().kind, Kind::DownloadFailed);
  EXPECT_EQ(ReadFile(m_root + QStringLiteral("/veltrimond")), "old program");

  m_server.Set(Pack + QStringLiteral("Common/Config/Instrument.txt"), NewInstruments);
  EXPECT_EQ(RunUpdate().kind, Kind::Installed);
  EXPECT_EQ(ReadFile(m_root + QStringLiteral("/veltrimond")), NewProgram);
  EXPECT_EQ(ReadFile(m_root + QStringLiteral("/Common/Config/Instrument.txt")), NewInstruments);
  EXPECT_EQ(Update(), QStringLiteral("SP3"));
}

}  // namespace
}  // namespace patchrunner
