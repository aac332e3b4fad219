// Mouse editing on the page: the page widget's events go to the page editor, and the page
// editor's requests go to the score, the frame and the window.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/shell/iframe.h"
#include "notecraft/core/score.h"
#include "notecraft/qt/scorepagewidget.h"

namespace veltrimond {

void chdVLTMain::ConnectPage() {
  using notecraft::ScorePageWidget;
  connect(pctScore, &ScorePageWidget::pagePressed, this, [this](QMouseEvent* event, QPointF at) {
    if (event->button() == Qt::LeftButton) {
      const bool modifiers =
          event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
      m_editor.LeftPress(at.x(), at.y(), modifiers);
    } else if (event->button() == Qt::RightButton) {
      m_editor.RightPress(at.x(), at.y());
    }
  });
  connect(pctScore, &ScorePageWidget::pageMoved, this, [this](QMouseEvent* event, QPointF at) {
    m_editor.Move(at.x(), at.y(), event->buttons() & Qt::LeftButton);
  });
  connect(pctScore, &ScorePageWidget::pageReleased, this, [this](QMouseEvent* event, QPointF at) {
    m_editor.Release(at.x(), at.y(), event->button() == Qt::LeftButton);
  });
  connect(pctScore, &ScorePageWidget::mouseLost, this, [this] { m_editor.MouseLost(); });
}

// --- The score ---

void chdVLTMain::AddNoteByHit(int x, int y, int duration, int flags, int snap) {
  m_score->AddNoteByHit(x, y, duration, flags, snap);
}

void chdVLTMain::AddGlobalByHit(int x, int y, int eventType, int subType) {
  m_score->AddGlobalByHit(x, y, eventType, subType, {});
}

void chdVLTMain::AddOrnamentByHit(int x, int y, int ornament) {
  m_score->AddOrnamentByHit(x, y, ornament);
}

void chdVLTMain::SetBraceByHit(float x, float y, int staffs) { m_score->SetBraceByHit(x, y, staffs); }

int chdVLTMain::SetSelection(int left, int top, int right, int bottom) {
  return m_score->SetSelection(left, top, right, bottom);
}

void chdVLTMain::ClearSelection() { m_score->ClearSelection(); }

void chdVLTMain::SetActiveByHit(int x, int y) { m_score->SetActiveByHit(x, y); }

bool chdVLTMain::OnNote(int x, int y, int& noteTime, int& noteDur) {
  return m_score->OnNote(x, y, noteTime, noteDur);
}

int chdVLTMain::GetNoteValueByHit(int x, int y) { return m_score->GetNoteValueByHit(x, y); }

bool chdVLTMain::HitTest(float x, float y) { return m_score->HitTest(x, y); }

// --- The frame and the window ---

void chdVLTMain::PlayNote(int pitch, bool stop, int program, int channel) {
  if (m_frame) m_frame->PlayNote(pitch, stop, program, channel);
}

void chdVLTMain::ShowCursor(int slot) { ShowToolCursor(slot); }

void chdVLTMain::ShowBand(const std::optional<QRect>& band) { pctScore->SetBand(band); }

void chdVLTMain::SetMessage(const QString& text) { Panel(QStringLiteral("Msg"))->setText(text); }

void chdVLTMain::SetNoteMenuState(NoteMenuState state) {
  m_noteMenu = state;
  const bool cutCopy = state == NoteMenuState::BandSelected;
  mnuEditCut->setEnabled(cutCopy);
  mnuEditCopy->setEnabled(cutCopy);
  // The frame's buttons follow the active window only.
  if (state == NoteMenuState::NoSelection && m_frame && m_windowActive)
    m_frame->SetEnableCutCopy(false);
  if (Hooks.NoteMenuChanged) Hooks.NoteMenuChanged(state);
  emit noteMenuStateChanged(state);
}

void chdVLTMain::EnableCutCopy(bool enabled) {
  mnuEditCut->setEnabled(enabled);
  mnuEditCopy->setEnabled(enabled);
  if (m_frame) m_frame->SetEnableCutCopy(enabled);
}

void chdVLTMain::ShowPopup(PagePopup popup) {
  if (Hooks.ShowPopup) {
    Hooks.ShowPopup(popup);
    return;
  }
  QMenu* menu = popup == PagePopup::Note    ? mnuNote.data()
                : popup == PagePopup::Score ? mnuScore.data()
                                            : mnuMeasure.data();
  if (menu) menu->exec(QCursor::pos());
}

void chdVLTMain::PointerTool() {
  if (m_palette.ToolGroup() != tglPoint) SetTool(QStringLiteral("Point"));
}

bool chdVLTMain::StartHandleDrag(int x, int y) {
  return Hooks.StartHandleDrag && Hooks.StartHandleDrag(x, y);
}

void chdVLTMain::DragHandle(int y) {
  if (Hooks.DragHandle) Hooks.DragHandle(y);
}

void chdVLTMain::DropHandle() {
  if (Hooks.DropHandle) Hooks.DropHandle();
}

void chdVLTMain::ChooseDrum() {
  if (Hooks.ChooseDrum) Hooks.ChooseDrum();
}

void chdVLTMain::OpenChordPanel(int x, int y) {
  if (Hooks.OpenChordPanel) Hooks.OpenChordPanel(x, y);
}

void chdVLTMain::OpenTextLabel(int x, int y) {
  if (Hooks.OpenTextLabel) Hooks.OpenTextLabel(x, y);
}

}  // namespace veltrimond
