// The installer's transaction on a temporary install folder: a pack goes in whole with the
// replaced files' permission bits, and a failure at any rename, or a run killed mid-swap and
// recovered by the next run, leaves the folder byte for byte as it was.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <stdexcept>

#include "patchrunner/packinstaller.h"
#include "updatefixture.h"

namespace patchrunner {
namespace {

using testing::ModeBits;
using testing::ReadFile;
using testing::Snapshot;
using testing::WriteFile;

constexpr auto Executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

class PackInstallerTest : public ::testing::Test {
protected:
  PackInstallerTest() : m_root(QDir(m_dir.path()).canonicalPath()) {
    WriteFile(m_root + QStringLiteral("/veltrimond"), "old program", Executable);
    WriteFile(m_root + QStringLiteral("/Common/Config/Instrument.txt"), "old instruments");
    WriteFile(m_root + QStringLiteral("/UP001.txt"), "a user's file, not a backup");
    m_files = {
        File(QStringLiteral("veltrimond")), File(QStringLiteral("Common/Config/Instrument.txt")),
        File(QStringLiteral("Common/Styles/New/rock.sty")),  // in two new folders
    };
  }

  PackFile File(const QString& path) { return PackFile{path, path, m_root + u'/' + path, {}}; }

  // Downloads, as the updater does them, into staging.
  void Stage(PackInstaller& installer) {
    QString error;
    ASSERT_NE(installer.Recover().kind, PackInstaller::Recovery::Kind::Refused);
    ASSERT_TRUE(installer.PrepareStaging(&error)) << error.toStdString();
    for (int n = 0; n < m_files.size(); ++n) {
      WriteFile(installer.StagedPath(n), "new " + m_files[n].relativePath.toUtf8());
    }
  }

  QTemporaryDir m_dir;
  QString m_root;
  QList<PackFile> m_files;
};

TEST_F(PackInstallerTest, PutsEveryFileInPlaceKeepingPermissionBits) {
  PackInstaller installer(m_root);
  Stage(installer);
  ASSERT_TRUE(installer.Install(m_files).ok);
  installer.Commit();

  EXPECT_EQ(ReadFile(m_root + QStringLiteral("/veltrimond")), "new veltrimond");
  EXPECT_EQ(ModeBits(m_root + QStringLiteral("/veltrimond")), ModeBits(Executable));
  EXPECT_EQ(ReadFile(m_root + QStringLiteral("/Common/Styles/New/rock.sty")),
            "new Common/Styles/New/rock.sty");
  EXPECT_EQ(ModeBits(m_root + QStringLiteral("/Common/Styles/New/rock.sty")),
            ModeBits(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
  EXPECT_EQ(ReadFile(m_root + QStringLiteral("/UP001.txt")), "a user's file, not a backup");
  EXPECT_FALSE(QFileInfo::exists(installer.StagingFolder()));
}

TEST_F(PackInstallerTest, AFailedRenameAnywhereRestoresEverything) {
  const auto before = Snapshot(m_root);
  // Three files, two of them replacing installed files: five renames in all.
  for (int failing = 1; failing <= 5; ++failing) {
    SCOPED_TRACE(failing);
    PackInstaller installer(m_root);
    int calls = 0;
    installer.SetRename([&calls, failing](const QString& from, const QString& to) {
      if (++calls == failing) return std::make_error_code(std::errc::device_or_resource_busy);
      return PackInstaller::RenameReplacing(from, to);
    });
    Stage(installer);
    const PackInstaller::Outcome outcome = installer.Install(m_files);
    EXPECT_FALSE(outcome.ok);
    EXPECT_FALSE(outcome.failedName.isEmpty());
    EXPECT_TRUE(outcome.error.isEmpty());  // the rollback itself succeeded
    EXPECT_EQ(Snapshot(m_root), before);
  }
}

TEST_F(PackInstallerTest, ATargetThatIsAFolderFailsAndRollsBack) {
  const auto before = Snapshot(m_root);
  m_files.append(File(QStringLiteral("Common/Config")));
  PackInstaller installer(m_root);
  Stage(installer);
  const PackInstaller::Outcome outcome = installer.Install(m_files);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.failedName, QStringLiteral("Common/Config"));
  EXPECT_EQ(Snapshot(m_root), before);
}

TEST_F(PackInstallerTest, TheNextRunPutsBackWhatAKilledRunSwapped) {
  const auto before = Snapshot(m_root);
  for (int killedAt = 1; killedAt <= 5; ++killedAt) {
    SCOPED_TRACE(killedAt);
    {
      PackInstaller killed(m_root);
      int calls = 0;
      // The exception leaves Install() as a killed process would: no rollback.
      killed.SetRename([&calls, killedAt](const QString& from, const QString& to) {
        if (++calls == killedAt) throw std::runtime_error("killed");
        return PackInstaller::RenameReplacing(from, to);
      });
      Stage(killed);
      EXPECT_THROW(killed.Install(m_files), std::runtime_error);
    }
    EXPECT_NE(Snapshot(m_root), before);
    PackInstaller next(m_root);
    const PackInstaller::Recovery recovery = next.Recover();
    ASSERT_EQ(recovery.kind, PackInstaller::Recovery::Kind::RolledBack)
        << recovery.detail.toStdString();
    EXPECT_TRUE(recovery.kept.isEmpty());
    // The folders the pack created for its new file go too.
    EXPECT_EQ(Snapshot(m_root), before);
  }
}

// A journal is read as untrusted: a folder it names goes only when empty, and a new file only
// when it is the very file recorded; anything else is left, and said to be left.
TEST_F(PackInstallerTest, RecoveryRemovesOnlyWhatThePackPlaced) {
  const QByteArray oldSha = testing::Sha256(QByteArray("old program"));
  const struct {
    const char* name;
    QByteArray journal;
    QStringList kept;
    QStringList removed;
  } cases[] = {
      {"a new file as older updaters recorded it", "0 new veltrimond\n", {"veltrimond"}, {}},
      {"a new file of another checksum",
       "0 new 11 " + testing::Sha256(QByteArray("new program")) + " veltrimond\n",
       {"veltrimond"},
       {}},
      {"a new file of another size", "0 new 12 " + oldSha + " veltrimond\n", {"veltrimond"}, {}},
      {"the very file recorded", "0 new 11 " + oldSha + " veltrimond\n", {}, {"veltrimond"}},
      {"folders, one holding files",
       "folder Common\nfolder Empty\nfolder Empty/Inner\n",
       {},
       {"Empty/", "Empty/Inner/"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QDir().mkpath(m_root + QStringLiteral("/Empty/Inner"));
    auto expected = Snapshot(m_root);
    for (const QString& removed : c.removed) expected.erase(removed);
    PackInstaller installer(m_root);
    WriteFile(installer.StagingFolder() + QStringLiteral("/journal"), c.journal);
    const PackInstaller::Recovery recovery = installer.Recover();
    EXPECT_EQ(recovery.kind, PackInstaller::Recovery::Kind::RolledBack)
        << recovery.detail.toStdString();
    EXPECT_EQ(recovery.kept, c.kept);
    EXPECT_EQ(Snapshot(m_root), expected);
    WriteFile(m_root + QStringLiteral("/veltrimond"), "old program", Executable);
  }
}

TEST_F(PackInstallerTest, AJournalNamingForeignFoldersIsRefused) {
  QTemporaryDir outside;
  QFile::link(outside.path(), m_root + QStringLiteral("/link"));
  const auto before = Snapshot(m_root);
  for (const QByteArray& line :
       {QByteArray("folder ../out"), QByteArray("folder /tmp"), QByteArray("folder link"),
        QByteArray("folder veltrimond"), QByteArray("folder .patchrunner-staging"),
        QByteArray("0 new 5 abc veltrimond")}) {
    SCOPED_TRACE(line.toStdString());
    PackInstaller installer(m_root);
    WriteFile(installer.StagingFolder() + QStringLiteral("/journal"), line + "\n");
    EXPECT_EQ(installer.Recover().kind, PackInstaller::Recovery::Kind::Refused);
    auto after = Snapshot(m_root);
    after.erase(PackInstaller::StagingName() + u'/');
    after.erase(PackInstaller::StagingName() + QStringLiteral("/journal"));
    EXPECT_EQ(after, before);
    QDir(installer.StagingFolder()).removeRecursively();
  }
}

}  // namespace
}  // namespace patchrunner
