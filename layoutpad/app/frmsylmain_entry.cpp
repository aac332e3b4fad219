// The style type and note entry: the type list rebuilds the style's staff, the note tools and
// a release on the page add a note, the arrow keys move the note entered last.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QButtonGroup>
#include <QComboBox>
#include <QMouseEvent>
#include <QToolButton>

#include "layoutpad/app/frmsylmain.h"
#include "notecraft/core/score.h"
#include "notecraft/qt/scorepagewidget.h"

namespace layoutpad {

void frmSYLMain::ChooseType(int index) {
  if (!m_ready || index < 0) return;
  ShowTypeTools();
  lcStyle->SetRedraw(false);
  if (ApplyStyleType(*lcStyle, static_cast<StyleType>(index))) {
    FillDrumList();
    // The note entered last went with the rest.
    m_lastNote = false;
  }
  lcStyle->PaintWindow();
  lcStyle->SetRedraw(true);
}

// Dotted and staccato notes are not drums.
void frmSYLMain::ShowTypeTools() {
  const bool melodic = CurrentType() != StyleType::Drums;
  m_dot->setVisible(melodic);
  m_stac->setVisible(melodic);
}

void frmSYLMain::FillDrumList() {
  const auto drums = DrumList(*lcStyle);
  if (!drums) {
    cboDrum->hide();
    return;
  }
  cboDrum->clear();
  for (const DrumEntry& drum : *drums)
    cboDrum->addItem(QString::fromStdString(drum.Name), drum.Slot);
  if (cboDrum->count() > 0) {
    cboDrum->setCurrentIndex(0);
    ChooseDrum(0);
  }
  // The list is as narrow as the tool column; its drop-down shows the names whole.
  cboDrum->view()->setMinimumWidth(cboDrum->view()->sizeHintForColumn(0) + 24);
  cboDrum->show();
}

// Notes on a drum staff play the drum of the chosen kit slot; the entry keeps its slot,
// since the list leaves out repeated drums.
void frmSYLMain::ChooseDrum(int index) {
  cboDrum->setToolTip(cboDrum->itemText(index));
  const QVariant slot = cboDrum->itemData(index);
  if (slot.isValid()) lcStyle->SetDrumIX(slot.toInt());
}

void frmSYLMain::ChooseTool(int id) {
  QAbstractButton* button = m_toolGroup->button(id);
  m_tool = button ? ToolFromImageKey(button->property("imageKey").toString().toStdString()) : 0;
}

void frmSYLMain::ReleaseTools() {
  m_toolGroup->setExclusive(false);
  for (QAbstractButton* button : m_toolGroup->buttons()) button->setChecked(false);
  m_toolGroup->setExclusive(true);
  m_tool = 0;
  m_lastNote = false;
  SetPagePointer(Qt::ArrowCursor);
}

Enhancements frmSYLMain::EnhanceState() const {
  Enhancements enhance;
  enhance.Align = m_align->isChecked();
  enhance.AlignImage = m_align->property("imageKey").toString().toStdString();
  enhance.Dot = m_dot->isChecked();
  enhance.Staccato = m_stac->isChecked();
  enhance.Triplet = m_trip->isChecked();
  return enhance;
}

void frmSYLMain::SetPagePointer(Qt::CursorShape shape) {
  if (shape == m_pointer) return;
  m_pointer = shape;
  pctPage->setCursor(shape);
}

void frmSYLMain::PageMoved(QMouseEvent* event, QPointF twips) {
  if (m_mouseDown || event->buttons() != Qt::NoButton) return;
  const bool onStaff =
      m_tool != 0 && lcStyle->HitTest(static_cast<float>(twips.x()), static_cast<float>(twips.y()));
  SetPagePointer(onStaff ? Qt::CrossCursor : Qt::ArrowCursor);
}

void frmSYLMain::PageReleased(QMouseEvent* event, QPointF twips) {
  m_mouseDown = false;
  if (event->button() != Qt::LeftButton || m_tool == 0 ||
      !lcStyle->HitTest(static_cast<float>(twips.x()), static_cast<float>(twips.y())))
    return;
  const NoteEntry entry =
      ComposeNoteEntry(twips.x(), twips.y(), m_tool, CurrentType(), EnhanceState());
  lcStyle->AddNoteByHit(entry.X, entry.Y, entry.Duration, entry.Flags, entry.Snap);
  m_lastNote = true;
}

bool frmSYLMain::ArrowKeyPressed(int key) {
  if (!m_lastNote) return false;
  ArrowKey arrow;
  switch (key) {
    case Qt::Key_Left:
      arrow = ArrowKey::Left;
      break;
    case Qt::Key_Right:
      arrow = ArrowKey::Right;
      break;
    case Qt::Key_Up:
      arrow = ArrowKey::Up;
      break;
    case Qt::Key_Down:
      arrow = ArrowKey::Down;
      break;
    default:
      return false;
  }
  const LastNoteChange change = ChangeForArrow(arrow);
  lcStyle->ChangeLast(change.Value, change.Alignment);
  return true;
}

}  // namespace layoutpad
