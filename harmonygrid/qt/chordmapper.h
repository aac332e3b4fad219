#pragma once
// The chord mapper control: every shape of a Chord table as a grid of cells (a blue band with
// the shape's key in yellow, then its diagram and name), scrolled a row at a time, with a
// click selecting a cell. New adds a shape through the "Chord Map" editor; Properties (or a
// double-click) edits the selected shape there and writes the edit back, keeping the shape's
// Value. Delete stays disabled: score chord events store shape Values, and removing a shape
// would make them draw with another.
//
// The control either shares its host's Chord (Init with the table: edits change the host's
// table) or loads one of its own from InitDir (Init without one). Its cell sizes are its own
// (CellGrid): drawing the cells never writes layout values or shape positions into the table,
// so a score whose table is shown here paginates as before. It paints only the rows in view.
//
// Before Init the control shows an empty grid and does nothing. It raises no signals.

#include <memory>
#include <string_view>

#include <QString>
#include <QWidget>

#include "harmonygrid/core/mappergrid.h"

class QScrollBar;
class QToolButton;

namespace harmonygrid {

class Chord;
class Surface;

class ChordMapper final : public QWidget {
  Q_OBJECT
  // The folder of a table the control loads itself; hosts set it before Init.
  Q_PROPERTY(QString initDir READ InitDir WRITE SetInitDir)

public:
  explicit ChordMapper(QWidget* parent = nullptr);
  ~ChordMapper() override;

  // Compared ignoring case; a different folder is stored trimmed of spaces and of one trailing
  // '/' or '\', and once initialised the table is loaded from it.
  QString InitDir() const { return m_initDir; }
  void SetInitDir(const QString& dir);

  // Shares chord with the host, or, without one, loads a table of the control's own from
  // InitDir; then lays out and shows the cells.
  void Init(std::shared_ptr<harmonygrid::Chord> chord = nullptr);
  bool Initialised() const noexcept { return m_initialised && m_chord; }

  // The table shown. Setting it only replaces the reference; nothing is laid out.
  const std::shared_ptr<harmonygrid::Chord>& Chord() const noexcept { return m_chord; }
  void SetChord(std::shared_ptr<harmonygrid::Chord> chord) noexcept { m_chord = std::move(chord); }

  // Once initialised: the table was edited and an edit confirmed.
  bool Changed() const noexcept;
  // Once initialised: reloads the table (Chord::Refresh) and lays the cells out again.
  void Refresh();
  // Once initialised: draws a shape of the table on device as the cells draw it.
  bool Render(Surface& device, int index, int x, int y, bool showMap = false, int color = 0,
              std::string_view bass = {}, int capo = 0) const;

  // The cells as laid out now, and the selected one (-1 for none).
  const CellGrid& Grid() const noexcept { return m_grid; }
  int SelectedIndex() const noexcept { return m_selected; }

  QSize sizeHint() const override;

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  class Viewport;

  void CreateParts();
  // Sizes the cells for the viewport and the table, resets the scroll bar, clears the
  // selection and repaints.
  void LayoutChordMaps();
  void Select(int index);
  void PaintCells(QPainter& painter) const;
  void OnPress(QPoint pixel);
  void OnNew();
  void OnProperties();

  double TwipsPerPixel() const;
  int ToPixels(int twips) const;
  QRect ToPixels(const TwipRect& r) const;

  std::shared_ptr<harmonygrid::Chord> m_chord;
  QString m_initDir;
  bool m_initialised = false;
  CellGrid m_grid;
  int m_selected = -1;

  QWidget* pctEditBase = nullptr;
  Viewport* pctEditWindow = nullptr;
  QScrollBar* vscEditWindow = nullptr;
  QToolButton* cmdNew = nullptr;
  QToolButton* cmdDelete = nullptr;
  QToolButton* cmdProperties = nullptr;
};

}  // namespace harmonygrid
