#pragma once
// One help update, without widgets: fetches the product's listing ("Docs/<code>/Dir.htm"),
// checks every listed name against the help folder before anything is written, then fetches,
// in listed order, each file that is missing or older than its listed date. Every file,
// picture or page, is written exactly as received (an empty body makes an empty file), and
// only from a complete 200 body (QSaveFile through HttpFetch), so a failed file keeps its old
// copy. A help page is kilobytes: a file announced or grown beyond the per-file cap, or beyond
// what is left of the cap for the whole update, fails. The first failure ends the walk; a
// cancel ends the current transfer at once, that file keeping its old copy.
//
// Event-driven: Start() returns at once; Status() gives the status bar's texts ("" clears it),
// Finished() the one result, whose text says why on its second line when it failed.

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

#include "guidefetch/helpcommandline.h"
#include "guidefetch/helplisting.h"
#include "webupdate/httpfetch.h"

namespace guidefetch {

struct HelpResult {
  enum class Kind { ListingFailed, FileFailed, Cancelled, Completed };
  Kind kind = Kind::ListingFailed;
  QString text;    // the message shown to the user: the outcome, and why on a second line
  QString detail;  // what failed, in full, for the log
};

class HelpUpdater final : public QObject {
  Q_OBJECT

public:
  static constexpr qint64 DefaultFileCap = 8 << 20;
  static constexpr qint64 DefaultTotalCap = 64 << 20;

  HelpUpdater(HelpCommandLine line, QUrl server, QObject* parent = nullptr);
  ~HelpUpdater() override;

  // How long each transfer may be silent, take and crawl; tests shorten them.
  void SetTransferLimits(const webupdate::TransferLimits& limits) { m_limits = limits; }
  void SetSizeCaps(qint64 perFile, qint64 total) {
    m_fileCap = perFile;
    m_totalCap = total;
  }
  void Start();
  // Ends the walk now: the file being fetched keeps its old copy.
  void RequestCancel();
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
  // The cap of the file being fetched: the per-file cap, or what is left of the whole update's.
  qint64 Allowance() const;

  HelpCommandLine m_line;
  QUrl m_server;
  std::unique_ptr<webupdate::HttpFetch> m_fetch;
  QList<Target> m_targets;
  qsizetype m_next = 0;
  qint64 m_fileCap = DefaultFileCap;
  qint64 m_totalCap = DefaultTotalCap;
  qint64 m_written = 0;
  webupdate::TransferLimits m_limits;
  bool m_busy = false;
  bool m_cancelRequested = false;
};

}  // namespace guidefetch

Q_DECLARE_METATYPE(guidefetch::HelpResult)
