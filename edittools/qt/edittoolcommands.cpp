#include "edittools/qt/edittoolcommands.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <exception>

#include "edittools/qt/frmvltcopymove.h"
#include "edittools/qt/frmvltsetnote.h"
#include "edittools/qt/frmvlttranspose.h"
#include "edittools/qt/toolbox.h"
#include "notecraft/core/score.h"

namespace edittools {

namespace {

bool StartTool(QWidget* window, IToolWindow& host, const std::shared_ptr<notecraft::Score>& score,
               const ToolRequest& request) {
  auto* box = new ToolBox(window);
  box->setObjectName(QStringLiteral("EditTool"));
  box->SetProgressParent(window);
  box->Init(score);
  box->SetRange(request.Range.UseSelection, request.Range.Staff, request.Range.FromMeasure,
                request.Range.ToMeasure);
  box->SetDest(request.Dest.Staff, request.Dest.Measure, request.Dest.Voice);
  QObject::connect(box, &ToolBox::toolEnded, window, [box, &host, window](int code) {
    if (code == kToolFailed)
      ShowMessage(window, QStringLiteral("Score"), box->LastError());
    box->deleteLater();
    host.ToolEnded(code);
  });
  bool started = false;
  try {
    started = box->UseTool(request.Tool, request.Parm1, request.Parm2, request.Parm3);
  } catch (const std::exception&) {
    return false;  // ended, told and dropped through toolEnded
  }
  if (!started) delete box;
  return started;
}

template <class Dialog>
std::optional<ToolRequest> AskRequest(QWidget* window, IToolWindow& host,
                                      const notecraft::Score& score) {
  Dialog dialog(window);
  dialog.Init(score, host.CurMeasure());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Request();
}

template <class Dialog>
bool RunToolCommand(QWidget* window, IToolWindow& host) {
  if (RunningTool(window)) return false;
  auto score = host.ToolScore();
  if (!score) return false;
  host.CancelPlay();
  const auto request = AskRequest<Dialog>(window, host, *score);
  // The dialog was modal; still, the window may have started a tool meanwhile.
  if (!request || RunningTool(window)) return false;
  return StartTool(window, host, score, *request);
}

}  // namespace

ToolBox* RunningTool(QWidget* window) {
  if (!window) return nullptr;
  for (auto* box : window->findChildren<ToolBox*>(QString(), Qt::FindDirectChildrenOnly))
    if (box->Busy()) return box;
  return nullptr;
}

void StopTools(QWidget* window) {
  if (!window) return;
  for (auto* box : window->findChildren<ToolBox*>(QString(), Qt::FindDirectChildrenOnly)) delete box;
}

bool RunTranspose(QWidget* window, IToolWindow& host) {
  return RunToolCommand<frmVLTTranspose>(window, host);
}

bool RunCopyMove(QWidget* window, IToolWindow& host) {
  return RunToolCommand<frmVLTCopyMove>(window, host);
}

std::optional<int> AskNoteValue(QWidget* parent, std::optional<QPoint> near) {
  frmVLTSetNote dialog(parent);
  if (near) {
    dialog.adjustSize();
    QPoint at = *near - QPoint(0, dialog.height());
    if (at.y() < 0) at.setY(near->y());  // no room above: just below
    if (const QScreen* screen = QGuiApplication::screenAt(*near)) {
      const QRect area = screen->availableGeometry();
      at.setX(std::min(at.x(), area.right() - dialog.width()));
    }
    dialog.move(at);
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Value();
}

bool RunSetNote(QWidget* parent, notecraft::Score& score, std::optional<QPoint> near) {
  const auto value = AskNoteValue(parent, near);
  if (!value || *value == 0) return false;
  return score.ChangeSel(0, *value) > 0;
}

}  // namespace edittools
