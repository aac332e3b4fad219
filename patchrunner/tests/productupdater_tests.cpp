// Whole update runs against the loopback server: a clean update, every fault mode (the product
// unchanged afterwards, byte for byte, and Main/Update unchanged), a hostile file list, an
// unknown install folder, and a failed run followed by a good one.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "patchrunner/packinstaller.h"
#include "updaterig.h"
#include "webupdate/httpfetch.h"

namespace patchrunner {
namespace {

using patchrunner::testing::Executable;
using patchrunner::testing::Folder;
using patchrunner::testing::ModeBits;
using patchrunner::testing::Pack;
using patchrunner::testing::ReadFile;
using patchrunner::testing::Rig;
using patchrunner::testing::Snapshot;
using patchrunner::testing::WriteFile;
using webupdate::testing::Announcing;
using webupdate::testing::Fault;
using webupdate::testing::Raw;
using webupdate::testing::Route;
using webupdate::testing::Unannounced;
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
                           "was unsuccessful and incomplete.\nThe server answered with status "
                           "500. The product was not changed."));

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
  // The second file cannot be moved aside: the first one is already in place and goes back,
  // and the message says why the second could not move.
  const struct {
    std::errc cause;
    const char* text;
  } cases[] = {
      {std::errc::device_or_resource_busy,
       "Could not install service pack because file Common\\Config\\Instrument.txt is in use.\n"
       "Device or resource busy. The product was not changed."},
      {std::errc::permission_denied,
       "Could not install service pack because file Common\\Config\\Instrument.txt cannot be "
       "replaced.\nIts folder is read-only or belongs to another user (Permission denied). The "
       "product was not changed."},
      {std::errc::read_only_file_system,
       "Could not install service pack because file Common\\Config\\Instrument.txt cannot be "
       "replaced.\nThe product is on a read-only file system. The product was not changed."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    m_rename = [&c](const QString& from, const QString& to) {
      if (from.endsWith(QStringLiteral("/Instrument.txt"))) return std::make_error_code(c.cause);
      return PackInstaller::RenameReplacing(from, to);
    };
    const auto before = Snapshot(m_root);
    const UpdateResult result = RunUpdate();
    EXPECT_EQ(result.kind, Kind::InUse);
    EXPECT_EQ(result.text, QString::fromUtf8(c.text));
    EXPECT_EQ(result.icon, MessageIcon::Exclamation);
    EXPECT_EQ(Snapshot(m_root), before);
    EXPECT_EQ(Update(), QStringLiteral("SP2"));
  }
}

TEST_F(ProductUpdaterTest, SaysSoWhenThePackCannotBeRecorded) {
  m_settings.DropWrites();
  const UpdateResult result = RunUpdate();
  EXPECT_EQ(result.kind, Kind::Installed);
  EXPECT_EQ(result.text, QStringLiteral("Service pack SP3 installed.\nIt could not be recorded in "
                                        "the settings file, so the next check offers it again."));
  EXPECT_EQ(result.icon, MessageIcon::Exclamation);
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

TEST_F(ProductUpdaterTest, AFileWithoutALengthIsInstalledOnlyWhenItsChecksumIsListed) {
  // The program is listed with its SHA-256, the instrument table without.
  m_server.Set(Pack + QStringLiteral("veltrimond"), Unannounced(NewProgram));
  EXPECT_EQ(RunUpdate().kind, Kind::Installed);
  EXPECT_EQ(ReadFile(m_root + QStringLiteral("/veltrimond")), NewProgram);

  m_settings.Write(QStringLiteral("Main"), QStringLiteral("Update"), QStringLiteral("SP2"));
  m_server.Set(Pack + QStringLiteral("Common/Config/Instrument.txt"),
               Unannounced(QByteArray("other instruments")));
  const auto before = Snapshot(m_root);
  const UpdateResult refused = RunUpdate();
  EXPECT_EQ(refused.kind, Kind::DownloadFailed);
  EXPECT_EQ(Snapshot(m_root), before);
}

// A journal line is no proof that the pack placed a file: a new file is removed only when it is
// the very file recorded, and the message says which were left.
TEST_F(ProductUpdaterTest, AJournalLineCannotDeleteAProductFile) {
  const QString staging = m_root + u'/' + PackInstaller::StagingName();
  const struct {
    const char* name;
    QByteArray journal;
  } cases[] = {
      {"as older updaters wrote it", "0 new veltrimond\n"},
      {"with another file's size and checksum",
       "0 new 19 " + testing::Sha256(NewProgram) + " veltrimond\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto before = Snapshot(m_root);
    WriteFile(staging + QStringLiteral("/journal"), c.journal);
    ProductUpdater updater(Product(), m_server.BaseUrl(), m_settings);
    EXPECT_EQ(updater.RecoverInterrupted(),
              QStringLiteral("An earlier update was cut off; its files have been put back as "
                             "they were before it, except veltrimond: it cannot be shown to be "
                             "the file that update added, so it was left as it is."));
    EXPECT_EQ(Snapshot(m_root), before);
    EXPECT_TRUE(m_server.Requested().isEmpty());
  }
}

// Leaves the product as a run killed during its swap does: the program already new, the
// instrument table moved aside, the rest not yet handled.
void KillDuringSwap(Rig& rig) {
  PackInstaller killed(rig.m_root);
  int renames = 0;
  killed.SetRename([&renames](const QString& from, const QString& to) {
    if (++renames == 4) throw std::runtime_error("killed");
    return PackInstaller::RenameReplacing(from, to);
  });
  QString error;
  ASSERT_TRUE(killed.PrepareStaging(&error)) << error.toStdString();
  QList<PackFile> files;
  for (const QString& name :
       {QStringLiteral("veltrimond"), QStringLiteral("Common/Config/Instrument.txt"),
        QStringLiteral("Common/Styles/rock.sty")}) {
    WriteFile(killed.StagedPath(files.size()), "new " + name.toUtf8());
    files.append(PackFile{name, name, rig.m_root + u'/' + name, {}});
  }
  EXPECT_THROW(killed.Install(files), std::runtime_error);
  ASSERT_EQ(ReadFile(rig.m_root + QStringLiteral("/veltrimond")), "new veltrimond");
  ASSERT_FALSE(QFileInfo::exists(rig.m_root + QStringLiteral("/Common/Config/Instrument.txt")));
}

void PlantJournal(Rig& rig, const QByteArray& journal) {
  WriteFile(rig.m_root + u'/' + PackInstaller::StagingName() + QStringLiteral("/journal"), journal);
}

TEST(ProductUpdaterHostile, NoHostileServerOrPlantedFileChangesAnythingItShouldNot) {
  const QString instruments = Pack + QStringLiteral("Common/Config/Instrument.txt");
  const struct {
    const char* name;
    std::function<void(Rig&)> setup;
    Kind kind;
    QStringList says;
    // The product afterwards: as it was before the setup (a killed run is undone), or as the
    // setup left it (a planted journal is not acted on).
    bool asBeforeSetup = false;
    QString notSays = QStringLiteral("\n\n");
  } cases[] = {
      {"planted journal climbing out",
       [](Rig& rig) {
         PlantJournal(rig, "0 new ../../out1/victim.txt\n1 replace ../../out1/victim2.txt\n");
         WriteFile(rig.m_root + u'/' + PackInstaller::StagingName() + "/UP001.txt", "planted");
       },
       Kind::NotRecovered,
       {"cannot be trusted", "../../out1/victim.txt", "nothing was put back"}},
      {"planted journal through a link",
       [](Rig& rig) {
         QFile::link(rig.m_outside, rig.m_root + QStringLiteral("/link"));
         PlantJournal(rig, "0 new link/victim.txt\n");
       },
       Kind::NotRecovered,
       {"link/victim.txt", "leads outside the folder"}},
      {"staging folder linked out",
       [](Rig& rig) {
         WriteFile(rig.m_outside + QStringLiteral("/journal"), "0 new victim.txt\n");
         QFile::link(rig.m_outside, rig.m_root + u'/' + PackInstaller::StagingName());
       },
       Kind::NotRecovered,
       {"is not the updater's own folder"}},
      {"killed during the swap, then the list unreachable",
       [](Rig& rig) {
         KillDuringSwap(rig);
         rig.m_server.Set(Folder + QStringLiteral("Updates.txt"), Route{200, "x", Fault::Drop});
       },
       Kind::ListFailed,
       {"Could not read the list", "closed the connection", "have been put back"},
       true,
       QStringLiteral("not changed")},
      {"list dripping past the deadline",
       [](Rig& rig) {
         rig.m_limits.deadlineFloorMs = 600;
         rig.m_server.Set(Folder + QStringLiteral("Updates.txt"),
                          Route{200, "Service packs\r\nSP3\r\n", Fault::Drip, 100});
       },
       Kind::ListFailed,
       {"took longer than the 0.6 seconds allowed"}},
      {"file dripping past the deadline",
       [](Rig& rig) {
         rig.m_limits.deadlineFloorMs = 600;
         rig.m_server.Set(Pack + QStringLiteral("veltrimond"),
                          Route{200, rig.NewProgram, Fault::Drip, 100});
       },
       Kind::DownloadFailed,
       {"Error downloading veltrimond.", "took longer"}},
      {"Content-Length shorter than the body",
       [&](Rig& rig) { rig.m_server.Set(instruments, Announcing(5, rig.NewInstruments)); },
       Kind::DownloadFailed,
       {"Error downloading Common\\Config\\Instrument.txt.", "more than the 5 bytes"}},
      {"Content-Length longer than the body",
       [&](Rig& rig) { rig.m_server.Set(instruments, Announcing(100, rig.NewInstruments)); },
       Kind::DownloadFailed,
       {"ended after 20 of the 100 bytes announced"}},
      {"announced size over the cap",
       [&](Rig& rig) {
         rig.m_server.Set(instruments, Announcing(webupdate::HttpFetch::FileSizeCap * 11 / 10,
                                                  rig.NewInstruments));
       },
       Kind::DownloadFailed,
       {"announced 1.1 GiB, more than the 1.0 GiB allowed"}},
      {"redirect to another address",
       [](Rig& rig) {
         Route away{302};
         away.Header("Location", "http://127.0.0.1:1/Files.txt");
         rig.m_server.Set(Pack + QStringLiteral("Files.txt"), away);
       },
       Kind::FilesFailed,
       {"http://127.0.0.1:1/Files.txt, another address"}},
      {"a name too long for the file system",
       [](Rig& rig) {
         rig.m_server.Set(Pack + QStringLiteral("Files.txt"),
                          "Files\nveltrimond\n" + QByteArray(300, 'n') + ".txt\n");
       },
       Kind::HostileList,
       {"too long for the file system", QStringLiteral("nnn\u2026nnn")}},
      {"a folder named as a file",
       [](Rig& rig) {
         rig.m_server.Set(Pack + QStringLiteral("Files.txt"), "Files\nCommon/Config\n");
       },
       Kind::HostileList,
       {"\"Common/Config\", which is refused: it names a folder, not a file"}},
      {"checksum mismatch",
       [](Rig& rig) { rig.m_server.Set(Pack + QStringLiteral("veltrimond"), "tampered"); },
       Kind::DownloadFailed,
       {"checksum does not match"}},
      {"a file without a length, cut in half",
       [&](Rig& rig) {
         rig.m_server.Set(instruments, Unannounced(rig.NewInstruments, Fault::ShortBody));
       },
       Kind::DownloadFailed,
       {"Error downloading Common\\Config\\Instrument.txt.", "did not say how long the file is"}},
      {"the file list without a length, cut after 20 bytes",
       [](Rig& rig) {
         rig.m_server.Set(Pack + QStringLiteral("Files.txt"),
                          Raw("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nFiles\nveltrimond\nCo"));
       },
       Kind::FilesFailed,
       {"Could not read the file list of service pack SP3", "did not say how long"}},
      {"the program without a length, cut, its checksum listed",
       [](Rig& rig) {
         rig.m_server.Set(Pack + QStringLiteral("veltrimond"),
                          Unannounced(rig.NewProgram, Fault::ShortBody));
       },
       Kind::DownloadFailed,
       {"Error downloading veltrimond.", "checksum does not match"}},
      {"partial content",
       [&](Rig& rig) {
         rig.m_server.Set(instruments, Route{206, rig.NewInstruments.left(10)});
       },
       Kind::DownloadFailed,
       {"status 206 rather than with the whole file"}},
      {"no content",
       [&](Rig& rig) { rig.m_server.Set(instruments, Route{204}); },
       Kind::DownloadFailed,
       {"status 204"}},
      {"40,000 interim answers",
       [](Rig& rig) {
         QByteArray flood;
         for (int i = 0; i < 40000; ++i) flood += "HTTP/1.1 100 Continue\r\n\r\n";
         rig.m_server.Set(Folder + QStringLiteral("Updates.txt"),
                          Raw(flood + "HTTP/1.1 200 OK\r\nContent-Length: 18\r\n\r\n"
                                      "Service packs\r\nSP3\r\n"));
       },
       Kind::ListFailed,
       {"more than 5 interim answers"}},
      {"a head of 20,000 lines",
       [](Rig& rig) {
         QByteArray head = "HTTP/1.1 200 OK\r\n";
         for (int i = 0; i < 20000; ++i) head += "X-Line: 0123456789abcdef0123456789\r\n";
         rig.m_server.Set(Pack + QStringLiteral("Files.txt"),
                          Raw(head + "Content-Length: 17\r\n\r\nFiles\nveltrimond\n"));
       },
       Kind::FilesFailed,
       {"more than 100 lines"}},
      {"a chunk size in C",
       [&](Rig& rig) {
         rig.m_server.Set(instruments, Raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                           "0x14\r\n" +
                                           rig.NewInstruments + "\r\n0\r\n\r\n"));
       },
       Kind::DownloadFailed,
       {"not cut into parts as HTTP cuts it"}},
      {"a drip below the rate floor",
       [](Rig& rig) {
         rig.m_limits.minimumBytesPerSecond = 1024;
         rig.m_limits.rateWindowMs = 300;
         rig.m_server.Set(Pack + QStringLiteral("veltrimond"),
                          Route{200, rig.NewProgram, Fault::Drip, 50});
       },
       Kind::DownloadFailed,
       {"Error downloading veltrimond.", "less than the 1.0 KiB a second a transfer needs"}},
      {"a drip announcing 512 MiB, held to the deadline's cap",
       [&](Rig& rig) {
         rig.m_limits.deadlineCapMs = 600;
         Route drip = Announcing(qint64(512) << 20, rig.NewInstruments);
         drip.fault = Fault::Drip;
         drip.delayMs = 100;
         rig.m_server.Set(instruments, drip);
       },
       Kind::DownloadFailed,
       {"took longer than the 0.6 seconds allowed"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    const auto beforeSetup = Snapshot(rig.m_root);
    c.setup(rig);
    const auto afterSetup = Snapshot(rig.m_root);
    const auto outside = Snapshot(rig.m_outside);

    const UpdateResult result = rig.RunUpdate();
    EXPECT_EQ(result.kind, c.kind);
    EXPECT_NE(result.icon, MessageIcon::Information);
    EXPECT_GE(result.text.count(u'\n'), 1) << "no reason line: " << result.text.toStdString();
    for (const QString& said : c.says) {
      EXPECT_TRUE(result.text.contains(said)) << result.text.toStdString();
    }
    EXPECT_FALSE(result.text.contains(c.notSays)) << result.text.toStdString();
    EXPECT_EQ(Snapshot(rig.m_root), c.asBeforeSetup ? beforeSetup : afterSetup);
    EXPECT_EQ(Snapshot(rig.m_outside), outside);
    EXPECT_EQ(rig.Update(), QStringLiteral("SP2"));
    if (c.kind == Kind::NotRecovered) {
      EXPECT_TRUE(rig.m_server.Requested().isEmpty());
    }
  }
}

}  // namespace
}  // namespace patchrunner
