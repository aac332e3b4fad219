#pragma once
// One help update, without widgets: fetches the product's listing ("Docs/<code>/Dir.htm"),
// checks every listed name against the help folder before anything is written, then fetches,
// in listed order, each file that is missing or older than its listed date. Every file,
// picture or page, is written exactly as received (an empty body makes an empty file), and
// only from a complete 2xx body (QSaveFile through HttpFetch), so a failed file keeps its old
// copy. The first failure ends the walk; a cancel ends it after the current file.
//
// Event-driven: Start() returns at once; Status() gives the status bar's texts ("" clears it),
// Finished() the one result.

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

#include "guidefetch/helpcommandline.h"
#include "guidefetch/helplisting.h"

class QNetworkAccessManager;

namespace webupdate {
class HttpFetch;
struct FetchOutcome;
}  // namespace webupdate

namespace guidefetch {

struct HelpResult {
  enum class Kind { ListingFailed, FileFailed, Cancelled, Completed };
  Kind kind = Kind::ListingFailed;
  QString text;    // the message shown to the user
  QString detail;  // what failed, for the log
};

class HelpUpdater final : public QObject {
  Q_OBJECT

public:
  HelpUpdater(HelpCommandLine line, QUrl server, QNetworkAccessManager& manager,
              QObject* parent = nullptr);
  ~HelpUpdater() override;

  void SetTransferTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
  void Start();
  // Ends the walk after the file being fetched.
  void RequestCancel() { m_cancelRequested = true; }
  bool Busy() const noexcept { return m_busy; }

signals:
  void Status(const QString& text);
  void Finished(const guidefetch::HelpResult& result);

private:
  struct Target {
    HelpEntry entry;
    QString relativePath;
    QString localPath;
  };
  void OnListing(const webupdate::FetchOutcome& outcome);
  void ProcessNext();
  void OnFile(const webupdate::FetchOutcome& outcome);
  void Finish(HelpResult::Kind kind, const QString& detail = {});

  HelpCommandLine m_line;
  QUrl m_server;
  QNetworkAccessManager& m_manager;
  std::unique_ptr<webupdate::HttpFetch> m_fetch;
  QList<Target> m_targets;
  qsizetype m_next = 0;
  int m_timeoutMs = 30000;
  bool m_busy = false;
  bool m_cancelRequested = false;
};

}  // namespace guidefetch

Q_DECLARE_METATYPE(guidefetch::HelpResult)
