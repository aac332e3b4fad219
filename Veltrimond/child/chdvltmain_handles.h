#pragma once
// The staff-spacing handles: the score reports a handle mark per staff while it paints a page
// (with View > Show Handles on); the window shows each in a 360-twip strip at the page's left
// edge and lets the user drag a staff-space handle up or down in steps of 90 twips.
// HandleMarks is the list and the drag (plain, tested headless); the window paints the
// images and the guide line from it and turns a drop into a staff-space event.

#include <QObject>
#include <optional>
#include <vector>

namespace veltrimond {

class HandleMarks {
public:
  static constexpr int kStripWidth = 360;  // twips from the page's left edge
  static constexpr int kReach = 106;       // a press hits within Y - 106 < y < Y + 106
  static constexpr int kStepTwips = 90;
  static constexpr int kImageAbove = 105;  // the image's top is 105 twips above its Y

  struct Mark {
    int Y = 0;
    int Type = 0;  // 0 the staff-space handle; other types only show
  };

  // A mark at a listed Y replaces that entry's type; otherwise it is appended.
  void Add(int type, int y);
  void Clear();
  const std::vector<Mark>& Marks() const { return m_marks; }

  // The first entry (in list order) a press at (x, y) hits; nullopt off the strip or away
  // from every mark.
  std::optional<int> HitTest(int x, int y) const;

  // Starts dragging entry index (from HitTest).
  void BeginDrag(int index);
  bool Dragging() const { return m_dragging; }
  // The entry dragged; -1 when none.
  int DragIndex() const { return m_dragging ? m_dragIndex : -1; }
  // Where the image and the guide line are drawn now.
  int DragY() const { return m_lastY; }
  // Moves the drag to y; false when it was there already (nothing to redraw).
  bool DragTo(int y);

  // What a drop asks of the score: the staff-space steps at the entry's listed Y.
  struct Drop {
    int Y = 0;
    int Steps = 0;
  };
  // Ends the drag. Only a staff-space handle moved by at least one whole step gives a drop;
  // a move that rounds to 0 steps asks nothing, since a 0-step staff-space event would reset
  // the staff's spacing.
  std::optional<Drop> EndDrag();

  // (to - from) / 90 rounded to the nearest whole number, halves to the even one.
  static int Steps(int from, int to);

private:
  std::vector<Mark> m_marks;
  bool m_dragging = false;
  int m_dragIndex = -1;
  int m_lastY = 0;
};

class chdVLTMain;
class HandleGuide;

// The window's side: a press on a handle starts the drag, the image follows the pointer with
// a dotted guide line across the page, and a drop asks the score for the new spacing.
class ScoreHandles : public QObject {
  Q_OBJECT
public:
  explicit ScoreHandles(chdVLTMain& window);

  bool StartDrag(int x, int y);
  void Drag(int y);
  void Drop();
  const HandleMarks& Marks() const { return m_marks; }

private:
  void ShowMarks();

  chdVLTMain& m_window;
  HandleMarks m_marks;
  HandleGuide* m_guide = nullptr;
};

}  // namespace veltrimond
