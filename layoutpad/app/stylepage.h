#pragma once
// The page the style is drawn on: a page buffer the score draws into, shown at its own
// size, with the mouse reported in page twips.

#include <QWidget>
#include <memory>

namespace notecraft {
class QPainterSurface;
}

namespace layoutpad {

class StylePage final : public QWidget {
  Q_OBJECT

public:
  explicit StylePage(QWidget* parent = nullptr);
  ~StylePage() override;

  // The drawing surface to attach to the score; it lives as long as this widget.
  notecraft::QPainterSurface* Surface() const { return m_surface.get(); }
  // Takes the size of the page buffer and shows what the score drew since.
  void Refresh();
  // Page twips of a point in this widget.
  QPointF ToTwips(const QPointF& point) const;
  // The pointer, set only when it changes.
  void SetPointer(Qt::CursorShape shape);

signals:
  void Pressed(QPointF twips);
  void Moved(QPointF twips, bool buttonHeld);
  void Released(QPointF twips);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  std::unique_ptr<notecraft::QPainterSurface> m_surface;
  Qt::CursorShape m_pointer = Qt::ArrowCursor;
};

}  // namespace layoutpad
