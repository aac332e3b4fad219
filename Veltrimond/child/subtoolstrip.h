#pragma once
// The pop-up strip of sub-tool pictures that a right-click on a tool or option button opens.
// A cell is picked by pressing on it and releasing (wherever the pointer went meanwhile);
// Enter, Esc or a click elsewhere closes the strip without a pick.

#include <QStringList>
#include <QWidget>
#include <vector>

#include "Veltrimond/child/toolpalette.h"

namespace veltrimond {

class SubToolStrip final : public QWidget {
  Q_OBJECT

public:
  explicit SubToolStrip(QWidget* parent = nullptr);

  // Opens the strip with its top left at a global point.
  void Open(const QStringList& imageKeys, const QPoint& globalPos);
  const StripLayout& Layout() const { return m_layout; }
  // The cell highlighted (-1: none) and the picture numbers, in strip order.
  int Hot() const { return m_hot; }
  const std::vector<int>& Items() const { return m_items; }
  // A cell's centre in the strip's pixels, for tests.
  QPoint CellCentre(int index) const;

signals:
  void picked(int number);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  int HitAt(const QPointF& pixels) const;

  QStringList m_keys;
  std::vector<int> m_items;
  StripLayout m_layout;
  int m_hot = -1;
  bool m_pressed = false;
  bool m_hotSunken = false;
};

}  // namespace veltrimond
