#include "edittools/qt/toolbox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <exception>

#include "edittools/core/copymovetool.h"
#include "edittools/core/steppedtool.h"
#include "edittools/core/transposetool.h"

namespace edittools {

// The process-wide timer of timer-driven runs: one owner at a time.
class ToolTimer {
public:
  static constexpr int kIntervalMs = 80;

  static void Start(ToolBox* host) {
    if (s_stopping) return;
    Stop();
    if (!s_timer) {
      s_timer = new QTimer(QCoreApplication::instance());
      s_timer->setTimerType(Qt::PreciseTimer);
      QObject::connect(s_timer.data(), &QTimer::timeout, [] { Tick(); });
    }
    s_owner = host;
    s_timer->start(kIntervalMs);
  }
  static void Stop() {
    s_stopping = true;
    if (s_timer) s_timer->stop();
    s_owner = nullptr;
    s_inCallback = false;
    s_stopping = false;
  }
  static bool OwnedBy(const ToolBox* host) { return host && s_owner == host; }

private:
  static void Tick() {
    // A step that lets events run must not be entered again from inside itself.
    if (s_inCallback) return;
    s_inCallback = true;
    QPointer<ToolBox> host = s_owner;
    if (host) host->TimerTick();
    s_inCallback = false;
    // A receiver of toolEnded may have started another run on the timer meanwhile.
    if (s_owner == host && (!host || !host->Busy())) Stop();
  }

  static inline QPointer<QTimer> s_timer;
  static inline QPointer<ToolBox> s_owner;
  static inline bool s_inCallback = false;
  static inline bool s_stopping = false;
};

ToolBox::ToolBox(QObject* parent) : QObject(parent) {}

ToolBox::~ToolBox() {
  m_initialised = false;
  if (ToolTimer::OwnedBy(this)) ToolTimer::Stop();
  if (m_tool) {
    // Released mid-run: the work done so far is kept and marked, without a repaint, as the
    // window that shows the score may be going too.
    try {
      m_tool->Abandon(false);
    } catch (...) {
    }
    m_returnCode = kToolCancelled;
    EndTool();
  }
  delete m_progress;
}

QProgressDialog* ToolBox::ProgressWindow() const { return m_progress; }

void ToolBox::Init(std::shared_ptr<notecraft::Score> score) {
  m_score = std::move(score);
  m_initialised = m_score != nullptr;
}

void ToolBox::SetRange(bool useSelection, int staff, int fromMeasure, int toMeasure) {
  if (!m_initialised) return;
  m_range.UseSelection = useSelection;
  if (useSelection) return;
  m_range.Staff = staff;
  m_range.FromMeasure = fromMeasure;
  m_range.ToMeasure = toMeasure;
}

void ToolBox::SetDest(int staff, int measure, int voice) { m_dest = {staff, measure, voice}; }

QString ToolBox::ToolEnum(int index) {
  switch (index) {
    case toolTranspose:
      return QStringLiteral("&Transpose Notes...");
    case toolCopyMove:
      return QStringLiteral("Copy/&Move Notes...");
    default:
      return {};
  }
}

std::unique_ptr<SteppedTool> ToolBox::CreateTool(int tool, const QVariant& parm1,
                                                 const QVariant& parm2, const QVariant& parm3) {
  switch (tool) {
    case toolTranspose:
      return std::make_unique<TransposeTool>(m_score, m_range, m_dest,
                                             parm1.isValid() ? parm1.toBool() : true);
    case toolCopyMove:
      return std::make_unique<CopyMoveTool>(m_score, m_range, m_dest, parm1.toBool(), parm2.toInt(),
                                            NoteFilterOf(parm3.toInt()));
    default:
      return nullptr;
  }
}

bool ToolBox::UseTool(int tool, const QVariant& parm1, const QVariant& parm2, const QVariant& parm3,
                      const QVariant&) {
  if (Busy() || !m_initialised) return false;
  m_tool = CreateTool(tool, parm1, parm2, parm3);
  if (!m_tool) return false;
  m_returnCode = kToolFinished;
  m_cancelRequested = false;
  m_lastError.clear();
  try {
    m_tool->Setup();
  } catch (const std::exception& e) {
    Fail(QString::fromStdString(e.what()));
    throw;
  } catch (...) {
    Fail(QStringLiteral("The tool could not start."));
    throw;
  }
  if (m_runMode == runAsynchronous) {
    ToolTimer::Start(this);
  } else {
    ShowProgress();
    if (!m_syncTimer) {
      m_syncTimer = new QTimer(this);
      m_syncTimer->setInterval(0);
      connect(m_syncTimer, &QTimer::timeout, this, &ToolBox::SyncTick);
    }
    m_syncTimer->start();
  }
  return true;
}

void ToolBox::Cancel() {
  if (Busy()) m_cancelRequested = true;
}

bool ToolBox::Advance() {
  try {
    if (m_cancelRequested) {
      m_tool->Abandon(true);
      m_returnCode = kToolCancelled;
      EndTool();
      return false;
    }
    if (m_tool->Step()) return true;
    m_tool->Finish();
    EndTool();
  } catch (const std::exception& e) {
    Fail(QString::fromStdString(e.what()));
  } catch (...) {
    Fail(QStringLiteral("The tool stopped with an error."));
  }
  return false;
}

void ToolBox::SyncTick() {
  if (m_inTick || !m_tool) return;
  m_inTick = true;
  // A receiver of toolEnded may delete this host: nothing here touches it after the end.
  // Steps for a slice of time, then the events (Cancel, painting) get their turn.
  QElapsedTimer slice;
  slice.start();
  bool running = true;
  while (running && slice.elapsed() < 20) running = Advance();
  if (!running) return;
  UpdateProgress();
  m_inTick = false;
}

void ToolBox::TimerTick() {
  if (m_inTick || !m_tool) return;
  m_inTick = true;
  if (Advance()) m_inTick = false;  // ended: this host may be gone
}

void ToolBox::Fail(const QString& why) {
  m_lastError = why;
  if (m_tool) {
    try {
      m_tool->Abandon(true);
    } catch (...) {
    }
  }
  m_returnCode = kToolFailed;
  EndTool();
}

void ToolBox::EndTool() {
  if (ToolTimer::OwnedBy(this)) ToolTimer::Stop();
  if (m_syncTimer) m_syncTimer->stop();
  if (m_progress) {
    m_progress->hide();
    m_progress->deleteLater();
    m_progress = nullptr;
  }
  const int code = m_returnCode;
  m_returnCode = kToolFinished;
  m_cancelRequested = false;
  m_inTick = false;
  // Dropped before the signal, so that its receivers may start the next tool.
  std::unique_ptr<SteppedTool> ended = std::move(m_tool);
  emit toolEnded(code);
}

void ToolBox::ShowProgress() {
  auto* progress = new QProgressDialog(m_progressParent);
  progress->setObjectName(QStringLiteral("frmTBXMessage"));
  progress->setWindowTitle(QCoreApplication::applicationName());
  progress->setLabelText(QString::fromStdString(m_tool->Label()));
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), progress);
  cancel->setObjectName(QStringLiteral("cmdCancel"));
  progress->setCancelButton(cancel);
  progress->setAutoClose(false);
  progress->setAutoReset(false);
  progress->setMinimumDuration(0);
  progress->setRange(0, 1000);
  progress->setMinimumWidth(320);
  progress->setWindowModality(Qt::WindowModal);
  connect(progress, &QProgressDialog::canceled, this, &ToolBox::Cancel);
  connect(progress, &QDialog::rejected, this, &ToolBox::Cancel);  // Escape
  m_progress = progress;
  progress->setValue(0);
  progress->show();
}

void ToolBox::UpdateProgress() {
  if (!m_progress || !m_tool) return;
  const auto total = m_tool->WorkTotal();
  if (total <= 0) return;
  // setValue of a modal progress window lets events run; the tick guard keeps them out of
  // the tool.
  m_progress->setValue(static_cast<int>(m_tool->WorkDone() * 1000 / total));
}

}  // namespace edittools
