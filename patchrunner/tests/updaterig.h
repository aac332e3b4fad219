#pragma once
// A product in a temporary install folder ("<temp>/Programs/Veltrimond", with files outside it
// in "<temp>/out1" that no run may touch), its settings in memory, and a loopback server
// publishing service pack SP3 for its version (code T482615, version 1.2.3, installed SP2).

#include <QSignalSpy>
#include <QTemporaryDir>

#include "loopbackserver.h"
#include "patchrunner/packinstaller.h"
#include "patchrunner/productupdater.h"
#include "updatefixture.h"
#include "webupdate/serverurl.h"

namespace patchrunner::testing {

using webupdate::testing::LoopbackServer;

inline const QString Folder = QStringLiteral("Common/Updates/T482615/V010203/");
inline const QString Pack = Folder + QStringLiteral("SP3/");

constexpr auto Executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

// A product, its settings and a server publishing SP3 of its version; one per case.
class Rig {
public:
  Rig()
      : m_root(QDir(m_dir.path()).canonicalPath() + QStringLiteral("/Programs/Veltrimond")),
        m_outside(QDir(m_dir.path()).canonicalPath() + QStringLiteral("/out1")) {
    WriteFile(m_outside + QStringLiteral("/victim.txt"), "a file outside the product");
    WriteFile(m_outside + QStringLiteral("/victim2.txt"), "another file outside the product");
    WriteFile(m_root + QStringLiteral("/veltrimond"), "old program", Executable);
    WriteFile(m_root + QStringLiteral("/Common/Config/Instrument.txt"), "old instruments");
    m_settings.Write(QStringLiteral("Main"), QStringLiteral("ID"), QStringLiteral("T482615"));
    m_settings.Write(QStringLiteral("Main"), QStringLiteral("Version"), QStringLiteral("1.2.3"));
    m_settings.Write(QStringLiteral("Main"), QStringLiteral("Update"), QStringLiteral("SP2"));
    m_settings.Write(QStringLiteral("Main"), QStringLiteral("Path"), m_root);

    m_server.Set(Folder + QStringLiteral("Updates.txt"),
                 QByteArray("Service packs\r\nSP1\r\nSP3\r\nSP3A\r\n"));
    // LF-only, Windows-style and nested names, one with its checksum.
    m_server.Set(Pack + QStringLiteral("Files.txt"),
                 "Files\nveltrimond " + Sha256(NewProgram) +
                     "\nCommon\\Config\\Instrument.txt\nCommon/Styles/rock.sty\n");
    m_server.Set(Pack + QStringLiteral("veltrimond"), NewProgram);
    m_server.Set(Pack + QStringLiteral("Common/Config/Instrument.txt"), NewInstruments);
    m_server.Set(Pack + QStringLiteral("Common/Styles/rock.sty"), QByteArray());
  }

  ProductInfo Product() const { return ReadProductInfo(QStringLiteral("Veltrimond"), m_settings); }

  UpdateResult RunUpdate(QUrl server = {}) {
    if (server.isEmpty()) server = m_server.BaseUrl();
    ProductUpdater updater(Product(), server, m_settings);
    updater.SetTransferLimits(m_limits);
    if (m_rename) updater.SetRename(m_rename);
    m_statuses.clear();
    QObject::connect(&updater, &ProductUpdater::Status,
                     [this](const QString& text) { m_statuses.append(text); });
    QSignalSpy finished(&updater, &ProductUpdater::Finished);
    updater.Run();
    if (finished.isEmpty()) {
      EXPECT_TRUE(finished.wait(10000));
    }
    EXPECT_EQ(finished.size(), 1);
    return finished.isEmpty() ? UpdateResult{} : finished.at(0).at(0).value<UpdateResult>();
  }

  QString Update() const {
    return m_settings.Read(QStringLiteral("Main"), QStringLiteral("Update"));
  }

  const QByteArray NewProgram = QByteArray(
      "\x7f"
      "ELF new program\0\x01\x02",
      19);
  const QByteArray NewInstruments = "new instruments \xc3\xa9\r\n";

  QTemporaryDir m_dir;
  QString m_root;
  QString m_outside;
  MemorySettings m_settings;
  LoopbackServer m_server;
  QStringList m_statuses;
  PackInstaller::RenameFunction m_rename;
  // Short enough for a test, long enough for a loaded machine.
  webupdate::TransferLimits m_limits = {.idleMs = 500, .deadlineFloorMs = 3000};
};

}  // namespace patchrunner::testing
