#pragma once
// The shape editor's fretboard picture (pctBase): six strings, five fret lines and the nut,
// the fingers of the shape being edited as dots, the open and unplayed strings' marks or the
// fret label above the nut. It paints what a ShapeEditModel shows and reports clicks; it never
// changes the model itself.
//
// A click counts when the left button goes down without Shift and comes up again: the point
// where it went down is reported, in twips of the picture (ShapeEditModel's coordinates).

#include <QPoint>
#include <QWidget>

namespace harmonygrid {

class ShapeEditModel;

class FretboardPicture final : public QWidget {
  Q_OBJECT

public:
  // model is borrowed and must outlive the picture.
  FretboardPicture(const ShapeEditModel& model, QWidget* parent);

  // Twips of the picture to its pixels and back.
  int ToPixels(int twips) const;
  int ToTwips(int pixels) const;

signals:
  void Clicked(int xTwips, int yTwips);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  const ShapeEditModel& m_model;
  bool m_armed = false;
  QPoint m_pressed;  // twips
};

}  // namespace harmonygrid
