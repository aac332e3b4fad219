#pragma once
// A help folder in a temporary folder ("<temp>/Common/Help", with files outside it in
// "<temp>/out" that no update may touch) and a loopback server publishing the listing of
// product T482615: a UTF-8 page, a picture and a page in a subfolder.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <map>

#include "guidefetch/helpupdater.h"
#include "loopbackserver.h"
#include "webupdate/serverurl.h"

namespace guidefetch::testing {

using webupdate::testing::LoopbackServer;

inline const QString Docs = QStringLiteral("Docs/T482615/");

inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A local copy, modified now or at the given time.
inline void WriteFile(const QString& path, const QByteArray& bytes,
                      const QDateTime& modified = {}) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write(bytes);
  file.flush();  // a later flush would make the time now
  if (modified.isValid()) file.setFileTime(modified, QFileDevice::FileModificationTime);
}

// Every file under root with its bytes.
inline std::map<QString, QByteArray> Snapshot(const QString& root) {
  std::map<QString, QByteArray> files;
  QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    files[QDir(root).relativeFilePath(path)] = ReadFile(path);
  }
  return files;
}

class HelpRig {
public:
  HelpRig()
      : m_help(m_dir.path() + QStringLiteral("/Common/Help")),
        m_outside(m_dir.path() + QStringLiteral("/out")) {
    QDir().mkpath(m_help);
    WriteFile(m_outside + QStringLiteral("/victim.htm"), "a file outside the help folder");
    m_server.Set(Docs + QStringLiteral("Dir.htm"), QByteArray("<html><body><pre>Name | Date\r\n"
                                                              "index.htm | 3/5/2024 2:30:00 PM\r\n"
                                                              "logo.gif | 2024-03-05\r\n"
                                                              "Styles/rock.htm | 2024-03-05\r\n"
                                                              "</pre></body></html>"));
    m_server.Set(Docs + QStringLiteral("index.htm"), Page);
    m_server.Set(Docs + QStringLiteral("logo.gif"), Picture);
    m_server.Set(Docs + QStringLiteral("Styles/rock.htm"), QByteArray("<p>rock</p>"));
  }

  HelpCommandLine Line() const {
    return HelpCommandLine{m_help, QStringLiteral("T482615"), QStringLiteral("Veltrimond")};
  }

  HelpResult RunUpdate(QUrl server = {}, const std::function<void(HelpUpdater&)>& during = {}) {
    if (server.isEmpty()) server = m_server.BaseUrl();
    HelpUpdater updater(Line(), server);
    updater.SetTransferLimits(m_limits);
    updater.SetSizeCaps(m_fileCap, m_totalCap);
    m_statuses.clear();
    QObject::connect(&updater, &HelpUpdater::Status,
                     [this](const QString& text) { m_statuses.append(text); });
    if (during) during(updater);
    QSignalSpy finished(&updater, &HelpUpdater::Finished);
    updater.Start();
    if (finished.isEmpty()) {
      EXPECT_TRUE(finished.wait(10000));
    }
    EXPECT_EQ(finished.size(), 1);
    return finished.isEmpty() ? HelpResult{} : finished.at(0).at(0).value<HelpResult>();
  }

  QString Local(const QString& name) const { return m_help + u'/' + name; }

  const QByteArray Page = "<p>Gr\xc3\xbc\xc3\x9f Gott \xe2\x99\xab</p>\r\n";
  const QByteArray Picture = QByteArray("GIF89a\0\x01\x02\xff\x00", 11);

  QTemporaryDir m_dir;
  QString m_help;
  QString m_outside;
  LoopbackServer m_server;
  QStringList m_statuses;
  // Short enough for a test, long enough for a loaded machine.
  webupdate::TransferLimits m_limits = {.idleMs = 500, .deadlineFloorMs = 3000};
  qint64 m_fileCap = HelpUpdater::DefaultFileCap;
  qint64 m_totalCap = HelpUpdater::DefaultTotalCap;
};

}  // namespace guidefetch::testing
