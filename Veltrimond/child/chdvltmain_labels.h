#pragma once
// Text labels and chord symbols typed or picked in place. The text tool opens a box where the
// page was clicked, holding the staff's label of that measure when it has one; Enter or
// leaving the box stores a changed text once, Esc discards. The chord tool opens a panel
// beside the point: root, "Minor", a quality and an optional bass note make a chord name,
// which must name an entry of the score's chord table.
//
// The name and bass rules and the label's logic are plain (tested headless); ChordPanel is
// the panel's widget.

#include <QFrame>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "Veltrimond/child/chdvltmain_lyrics.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QTimer;

namespace notecraft {
class GlobalEvent;
class Score;
class Staff;
}  // namespace notecraft

namespace veltrimond {

// --- Chord names ---

// The name a pick stands for, as the panel tells it: root, " Min" when minor, then " " and
// the quality, "Maj" for a blank major quality.
QString ChordNameFor(const QString& root, bool minor, const QString& quality);

// The number of the first table entry that splits (SplitChordName) into root, minor and
// quality, root and quality compared without regard to letter case; nullopt when none.
std::optional<int> FindChord(const std::vector<std::pair<QString, int>>& table, const QString& root,
                             bool minor, const QString& quality);

// The bass box: one note name, "A" to "G" with an optional "#" or "b". typed is inserted at
// caret into text (lower-case letters become capitals, a "B" after the letter becomes "b");
// the new text, or nullopt when the key is refused.
std::optional<QString> BassAfterKey(const QString& text, int caret, QChar typed);
bool ValidBass(const QString& text);  // empty (no bass) or one note name

// Where a panel of size opened at point goes inside an area: moved left and up when it
// would pass the right or bottom edge, never left of or above the area's origin.
QPoint ClampPanel(QPoint point, QSize panel, QSize area);

// The page point (twips) a chord clicked at (x, y) is stored for: the point itself on a
// staff band, or, above one (in the room between systems), the top of the band below when
// it lies no more than a staff's height (four line spaces) down; nullopt far from every
// staff.
std::optional<QPoint> ChordTarget(const notecraft::Score& score, int x, int y);

// --- Text labels ---

// The staff's label of the measure [measureStart, measureStart + measureLength): the last
// text event at or before its end, unless that lies before the measure.
std::shared_ptr<notecraft::GlobalEvent> MeasureLabel(const notecraft::Staff& staff,
                                                     int measureStart, int measureLength);

// Where a label box stores what is typed into it: the staff (a position in AllStaffs) and
// the time it was opened on, and its height as half spaces above (Offset1) or below
// (Offset2) the staff's middle line, as Score::TextOffsetByPos counts them. Kept from the
// click, so that neither a page turned, scrolled or laid out again since, nor a box top
// that lies between two staves, moves the label.
struct LabelPlace {
  int Staff = 0;
  int Time = 0;
  int Offset1 = 0;
  int Offset2 = 0;
};

// What a click at (x, y) on the page shown labels: the label standing in the measure under
// the point on that staff (its place and the event), else a new one at the point's time and
// height (no event). nullopt off every staff's measures: a label there could not be stored.
struct LabelAtPoint {
  LabelPlace Place;
  std::shared_ptr<notecraft::GlobalEvent> Label;
};
std::optional<LabelAtPoint> LabelAt(notecraft::Score& score, int x, int y);

class LabelEntry {
public:
  class View {
  public:
    virtual ~View() = default;
    // Show the box at (left, top) twips, width and text; scroll it into view and focus it.
    virtual void PlaceBox(int left, int top, int width, const QString& text) = 0;
    virtual void ResizeBox(int width) = 0;
    // Hide the box, restore the status bar and the tab order, and focus the page.
    virtual void EntryEnded() = 0;
    // The score refused text: say so, for it is gone from the box.
    virtual void NotStored(const QString& text) = 0;
  };
  // What the label asks of the score, so that the logic runs without a page.
  class Target {
  public:
    virtual ~Target() = default;
    // The box's top for a box opened at (x, y) on place: the place's height on the staff
    // under the point.
    virtual int BoxTop(int x, int y, const LabelPlace& place) = 0;
    // Stores text as the label at place, replacing one that stands there; false when the
    // score took nothing.
    virtual bool Store(const LabelPlace& place, const QString& text) = 0;
  };

  LabelEntry(Target& target, View& view, TextBoxWidth width)
      : m_target(target), m_view(view), m_width(std::move(width)) {}

  // Opens the box at (x, y) for the label at place: label is the event standing there
  // (null for a new label).
  void Open(int x, int y, const LabelPlace& place, const notecraft::GlobalEvent* label);
  void OnTextChanged(const QString& text);
  // Enter, leaving the box, or the window closing: a changed text is stored once at the
  // place the box was opened on; a new label left empty is not stored. A text the score
  // refuses is reported (NotStored), never dropped unsaid.
  void Commit(const QString& text);
  // Esc: nothing is stored.
  void Cancel();

  bool Active() const { return m_active; }
  int Left() const { return m_left; }
  int Top() const { return m_top; }
  int Width() const { return m_boxWidth; }
  const QString& Tag() const { return m_tag; }
  const LabelPlace& Place() const { return m_place; }

private:
  Target& m_target;
  View& m_view;
  TextBoxWidth m_width;
  bool m_active = false;
  bool m_existing = false;  // a label stands at the place: emptying the box stores ""
  LabelPlace m_place;
  QString m_tag;
  int m_left = 0;
  int m_top = 0;
  int m_boxWidth = TextBoxWidth::kMinimum;
};

// The chord-symbol panel: root combo, "Minor" box, the two quality lists (one shown), the
// bass box. It closes about 100 ms after the focus leaves it for good.
class ChordPanel : public QFrame {
  Q_OBJECT
public:
  explicit ChordPanel(QWidget* parent = nullptr);

  // The chord table: (name, number), as Score::LoadChordList gives it.
  void SetChordTable(std::vector<std::pair<QString, int>> table);
  // Shows the panel at pos (parent pixels), remembering the page point (twips) it stands for.
  void Open(QPoint pos, QPoint pagePoint);
  // Builds the name from quality list index (0 major, 1 minor) and commits it: emits
  // Commit with the chord's number, or refuses a name the table does not hold (beep and a
  // message; the panel stays open).
  void CommitFrom(int list);
  void Close();
  bool IsOpen() const { return m_open; }
  bool Minor() const;

  QComboBox* cboChord = nullptr;
  QCheckBox* chkChord = nullptr;
  QListWidget* lstQual[2] = {nullptr, nullptr};
  InPlaceBox* txtBass = nullptr;

signals:
  // The chord number, the bass note ("" for none) and the page point (twips).
  void Commit(int chordNumber, const QString& bass, QPoint pagePoint);
  // A built name was refused: the text explains why.
  void Refused(const QString& message);
  void Closed();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void ArmFocusTimer(bool gotFocus);
  void FocusTimerFired();

  std::vector<std::pair<QString, int>> m_table;
  QTimer* m_focusTimer = nullptr;
  QPoint m_pagePoint;
  bool m_open = false;
  bool m_focusSeen = false;
};

class chdVLTMain;

// The window's side of labels and chord symbols: the label box on the page and the chord
// panel over the page area.
class ScoreLabelEditor : public QObject, private LabelEntry::View, private LabelEntry::Target {
  Q_OBJECT
public:
  explicit ScoreLabelEditor(chdVLTMain& window);

  // A click with the text tool: opens the box on the label the point names; off every
  // staff's measures nothing opens (a beep).
  void OpenTextLabel(int x, int y);
  void OpenChordPanel(int x, int y);
  // Enter and Esc of the window's keys.
  void CommitLabel();
  void CancelLabel();
  void CommitChord(int list);
  void CloseChord();
  // The box closes with lyric entry too, storing what it holds.
  void HideBox();
  // Stores what the label box holds, as leaving it does, and closes the chord panel (a
  // chord is stored only once picked): the window closes, saves or turns the page.
  void EndEntry();
  // Closes the label box (nothing stored) and the chord panel: the window is going.
  void CloseAll();

  bool LabelActive() const { return m_entry.Active(); }
  bool ChordPanelOpen() const { return pctChords->IsOpen(); }
  const LabelEntry& Entry() const { return m_entry; }
  InPlaceBox* txtLabel = nullptr;
  ChordPanel* pctChords = nullptr;

private:
  void PlaceBox(int left, int top, int width, const QString& text) override;
  void ResizeBox(int width) override;
  void EntryEnded() override;
  void NotStored(const QString& text) override;
  int BoxTop(int x, int y, const LabelPlace& place) override;
  bool Store(const LabelPlace& place, const QString& text) override;
  void ChordChosen(int number, const QString& bass, QPoint pagePoint);

  chdVLTMain& m_window;
  LabelEntry m_entry;
  bool m_chordTableLoaded = false;
};

}  // namespace veltrimond
