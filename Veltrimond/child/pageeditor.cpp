#include "Veltrimond/child/pageeditor.h"

#include <array>
#include <cmath>

#include "Veltrimond/child/toolpalette.h"
#include "notecraft/core/enums.h"

namespace veltrimond {

int RoundTwips(double value) {
  // Halves to even, as a Single becomes a Long.
  return static_cast<int>(std::nearbyint(value));
}

QString PageEditor::SelectionText(int count) {
  const QString number = count == 0 ? QStringLiteral("No") : QString::number(count);
  return number + QStringLiteral(" item") + (count == 1 ? QString() : QStringLiteral("s")) +
         QStringLiteral(" selected.");
}

void PageEditor::ResetSelection() {
  if (!m_hasSelection) return;
  m_host.ShowBand(std::nullopt);
  m_host.ClearSelection();
  m_hasSelection = false;
  m_host.SetNoteMenuState(NoteMenuState::NoSelection);
  m_host.SetMessage(QStringLiteral(" "));
}

void PageEditor::WindowCleared() {
  m_bandActive = false;
  m_hasSelection = false;
  m_host.ShowBand(std::nullopt);
}

void PageEditor::StopPreview() {
  if (m_soundingPitch <= 0) return;
  m_host.PlayNote(m_soundingPitch, true, 0, 0);
  m_soundingPitch = 0;
}

void PageEditor::MouseLost() { StopPreview(); }

void PageEditor::RightPress(double x, double y) {
  m_downX = RoundTwips(x);
  m_downY = RoundTwips(y);
  if (m_hasSelection) {
    m_host.ShowPopup(PagePopup::Note);
    return;
  }
  int noteTime = 0;
  int noteDur = 0;
  if (!m_host.OnNote(m_downX, m_downY, noteTime, noteDur)) {
    m_host.SetActiveByHit(m_downX, m_downY);
    m_host.ShowPopup(m_offScore ? PagePopup::Score : PagePopup::Measure);
    return;
  }
  m_clickedNoteTime = noteTime;
  m_band = QRect(QPoint(m_downX - 120, m_downY - 120), QPoint(m_downX + 120, m_downY + 120));
  m_selectionCount = m_host.SetSelection(m_downX - 120, m_downY - 120, m_downX + 120,
                                         m_downY + 120);
  if (m_selectionCount > 0) {
    m_hasSelection = true;
    m_host.ShowBand(m_band);
    m_host.SetNoteMenuState(NoteMenuState::NoteClicked);
  }
  // The selection lasts while the menu's command runs.
  m_notePopupOpen = true;
  m_host.ShowPopup(PagePopup::Note);
  m_notePopupOpen = false;
  ResetSelection();
}

void PageEditor::LeftPress(double x, double y, bool modifiers) {
  if (modifiers) return;
  m_buttonDown = true;
  m_downX = RoundTwips(x);
  m_downY = RoundTwips(y);
  ResetSelection();
  if (m_host.StartHandleDrag(m_downX, m_downY)) {
    m_handleDrag = true;
    return;
  }
  m_host.SetActiveByHit(m_downX, m_downY);
  if (m_palette.ToolGroup() != tglNote) return;
  m_host.ChooseDrum();
  m_soundingPitch = m_host.GetNoteValueByHit(m_downX, m_downY);
  if (m_soundingPitch > 0) {
    m_host.PlayNote(m_soundingPitch, false, m_previewProgram, m_previewChannel);
  } else {
    m_soundingPitch = 0;
  }
}

void PageEditor::Move(double x, double y, bool buttonHeld) {
  if (!buttonHeld || !m_buttonDown) {
    if (m_host.HitTest(static_cast<float>(x), static_cast<float>(y))) {
      m_host.ShowCursor(m_palette.CursorSlot());
      m_offScore = false;
    } else {
      m_host.ShowCursor(0);
      m_offScore = true;
    }
    return;
  }
  if (m_handleDrag) {
    m_host.DragHandle(RoundTwips(y));
    return;
  }
  const int px = RoundTwips(x);
  const int py = RoundTwips(y);
  if (m_soundingPitch > 0) {
    const int pitch = m_host.GetNoteValueByHit(px, py);
    if (pitch != m_soundingPitch && pitch >= 1) {
      m_host.PlayNote(m_soundingPitch, true, 0, 0);
      m_soundingPitch = pitch;
      m_host.PlayNote(pitch, false, m_previewProgram, m_previewChannel);
    }
  }
  if (m_palette.ToolGroup() != tglPoint) return;
  if (!m_bandActive) {
    m_bandActive = true;
    m_band.setTopLeft(QPoint(m_downX, m_downY));
    m_hasSelection = false;
    m_host.EnableCutCopy(false);
  }
  m_band.setBottomRight(QPoint(px, py));
  m_host.ShowBand(m_band);
}

void PageEditor::Release(double x, double y, bool leftButton) {
  if (m_buttonDown) {
    if (m_handleDrag) {
      m_handleDrag = false;
      m_buttonDown = false;
      m_host.DropHandle();
      return;
    }
    StopPreview();
    if (m_bandActive) {
      FinishBand(x, y);
    } else if (leftButton) {
      // Cleared first: a placement may open a modal panel or change the tool.
      m_buttonDown = false;
      PlaceAt(x, y);
    }
  }
  m_buttonDown = false;
}

void PageEditor::FinishBand(double x, double y) {
  (void)x, (void)y;
  m_bandActive = false;
  m_selectionCount =
      m_host.SetSelection(m_band.left(), m_band.top(), m_band.right(), m_band.bottom());
  if (m_selectionCount > 0) {
    m_host.SetNoteMenuState(NoteMenuState::BandSelected);
    m_host.EnableCutCopy(true);
  }
  m_hasSelection = true;
  m_host.SetMessage(SelectionText(m_selectionCount));
}

void PageEditor::PlaceAt(double x, double y) {
  using namespace notecraft;
  const int rx = RoundTwips(x);
  const int ry = RoundTwips(y);
  const int sub = m_palette.SubTool();
  switch (m_palette.ToolGroup()) {
    case tglGroup:
      if (sub == 1) m_host.SetBraceByHit(static_cast<float>(x), static_cast<float>(y), 2);
      if (sub == 2) m_host.SetBraceByHit(static_cast<float>(x), static_cast<float>(y), -1);
      break;
    case tglClef: {
      static constexpr std::array<int, 5> kClefs{clfPercussion, clfTreble, clfBass, clfAlto,
                                                 clfTenor};
      if (sub >= 0 && sub < 5) m_host.AddGlobalByHit(rx, ry, evtClefChange, kClefs[sub]);
      m_host.PointerTool();
      break;
    }
    case tglMeasure: {
      static constexpr std::array<int, 8> kSections{sctSegundo,    sctCoda, sctRepeatMeasure,
                                                    sctToCoda,     sctToSegundo, sct8va,
                                                    sct8vb,        sctEnding};
      if (sub >= 1 && sub <= 8) m_host.AddGlobalByHit(rx, ry, evtSectionDefine, kSections[sub - 1]);
      m_host.PointerTool();
      break;
    }
    case tglBar: {
      static constexpr std::array<int, 4> kBars{evtRepeatBegin, evtRepeatEnd, evtSectionEnd,
                                                evtScoreEnd};
      if (sub >= 1 && sub <= 4) m_host.AddGlobalByHit(rx, ry, kBars[sub - 1], 0);
      m_host.PointerTool();
      break;
    }
    case tglNote:
      m_host.AddNoteByHit(rx, ry, m_palette.NoteDuration(), m_palette.NoteFlags(),
                          m_palette.Snap());
      break;
    case tglDyn: {
      static constexpr std::array<int, 6> kDynamics{dynPP, dynP, dynMP, dynMF, dynF, dynFF};
      if (sub >= 2 && sub <= 7) m_host.AddGlobalByHit(rx, ry, evtDynamic, kDynamics[sub - 2]);
      m_host.PointerTool();
      break;
    }
    case tglOrn: {
      // Image 6 has no mark to place.
      static constexpr std::array<int, 11> kOrnaments{0,           ornBowDown, ornBowUp,
                                                      ornAccent2,  ornAccent,  ornTrill,
                                                      0,           ornFermata, ornMordent,
                                                      ornHalfMordent, ornTurn};
      if (sub >= 1 && sub <= 10 && kOrnaments[sub] != 0)
        m_host.AddOrnamentByHit(rx, ry, kOrnaments[sub]);
      break;
    }
    case tglChord:
      m_host.OpenChordPanel(rx, ry);
      break;
    case tglText:
      m_host.OpenTextLabel(rx, ry);
      break;
    default:
      break;
  }
}

}  // namespace veltrimond
