#pragma once
// A score page on screen: the widget the score draws its current page into. It owns the page
// buffer (a QPainterSurface), attaches it to the score as its window, repaints the parts the
// score drew on once control is back in the event loop, and follows the page's size. What
// is only laid over the page (a selection band, the staff-spacing handles) is state of the
// widget that its paint event draws, never drawn into the page.
//
// Mouse events are passed on with their point in page twips; the widget edits nothing.

#include <QColor>
#include <QPixmap>
#include <QPointF>
#include <QRect>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QMouseEvent;

namespace notecraft {

class Score;
class PageBufferSurface;

class ScorePageWidget : public QWidget {
  Q_OBJECT

public:
  explicit ScorePageWidget(QWidget* parent = nullptr);
  // Detaches the page buffer from the score first.
  ~ScorePageWidget() override;

  // Attaches this page to the score (which paginates and paints it), or detaches it (null).
  // The score is not owned and must outlive the attachment.
  void SetScore(Score* score);
  Score* GetScore() const { return m_score; }
  // The page as drawn so far; null while no score is attached.
  const QImage* PageImage() const;
  // The page's size in twips.
  QSize PageSizeTwips() const;

  // Page twips per widget pixel (15: the page buffer's logical resolution).
  double TwipsPerPixel() const { return 15.0; }
  QPointF ToTwips(const QPointF& pixels) const { return pixels * TwipsPerPixel(); }
  QPointF ToPixels(const QPointF& twips) const { return twips / TwipsPerPixel(); }

  // The dotted selection band in page twips, corners as dragged; none hides it.
  void SetBand(const std::optional<QRect>& band);
  const std::optional<QRect>& Band() const { return m_band; }
  void SetBandColor(const QColor& color);

  // Staff-spacing handle marks: the handle image at index Type (0-based) drawn at the page's
  // left edge, 105 twips above y. A mark whose image the list lacks is left out.
  struct HandleMark {
    int Y = 0;
    int Type = 0;
  };
  void SetHandleMarks(std::vector<HandleMark> marks);
  const std::vector<HandleMark>& HandleMarks() const { return m_handles; }
  void SetHandleImages(std::vector<QPixmap> images);

signals:
  void pagePressed(QMouseEvent* event, QPointF twips);
  void pageMoved(QMouseEvent* event, QPointF twips);
  void pageReleased(QMouseEvent* event, QPointF twips);
  // The page can no longer expect a release: it lost the focus or the mouse, or was hidden.
  void mouseLost();
  // The page buffer took another size (the widget has already followed).
  void pageResized();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool event(QEvent* event) override;

private:
  friend class PageBufferSurface;
  // Called by the page buffer for every drawing: the region (twips) to repaint later.
  void Drawn(const QRect& twips);
  void PageSizeChanged();
  void FlushDrawn();
  QRect BandPixels() const;

  Score* m_score = nullptr;
  std::unique_ptr<PageBufferSurface> m_surface;
  QRect m_dirty;  // pixels
  bool m_flushQueued = false;
  std::optional<QRect> m_band;
  QColor m_bandColor{40, 250, 240};
  std::vector<HandleMark> m_handles;
  std::vector<QPixmap> m_handleImages;
};

}  // namespace notecraft
