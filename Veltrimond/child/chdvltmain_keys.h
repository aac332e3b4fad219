#pragma once
// The score window's own keys, seen before the focused control: the arrows nudge the note
// entered last, character keys pick voices, measure width, the Dot option, note values and the
// pointer tool, and Enter/Esc close the open chord panel or label box. KeyTable is the plain
// mapping (tested headless); ScoreKeys is the filter that feeds it from Qt's key events.

#include <QObject>
#include <QString>

class QKeyEvent;

namespace veltrimond {

class chdVLTMain;

// What the key table reads of the window.
struct KeyContext {
  bool ChordPanelOpen = false;
  bool LabelActive = false;
  bool LyricActive = false;
  bool PageBoxFocus = false;
  bool HasSelection = false;
  int ToolGroup = 1;
  QString ToolKey = QStringLiteral("Point");
};

enum class KeyAction {
  None,
  ChangeLast,   // Arg: +1/-1; Alignment: position (true) or pitch (false)
  CommitChord,  // Arg: the quality list (0 major, 1 minor)
  CloseChord,
  CommitLabel,
  CancelLabel,
  Voice,  // Arg: 0..3
  WidthIncrease,
  WidthDecrease,
  ToggleDot,
  NoteValue,  // Arg: the note tool's sub-tool 1, 2, 4, 8, 16, 32
  PointerTool,
  ResetSelection,
};

struct KeyResult {
  KeyAction Action = KeyAction::None;
  int Arg = 0;
  bool Alignment = false;
  bool Swallowed = false;
  bool operator==(const KeyResult&) const = default;
};

namespace KeyTable {
inline constexpr int kNoteTool = 6;
inline constexpr int kEnter = 13;
inline constexpr int kEscape = 27;

// An arrow key (Qt::Key_Up and the rest); any other key gives None, not swallowed.
KeyResult Arrow(const KeyContext& context, int qtKey);
// A character code as the window's key handler sees it (see CharCode); 0 does nothing.
// chordMinor is the chord panel's "Minor" box, which picks the list Enter commits from.
KeyResult Character(const KeyContext& context, int code, bool chordMinor = false);
// The character code of a key press: Ctrl+letter is the letter's position in the alphabet
// (Ctrl+W 23), Enter 13, Esc 27, Backspace 8, Tab 9, else the first character typed; 0 for
// keys that type nothing.
int CharCode(const QKeyEvent& event);
}  // namespace KeyTable

// Filters key events for everything inside one score window. Installed on the application,
// it looks only at events whose receiver lies in the window. A note-value key that an
// enabled menu item of the window also carries (Set Duration with a selection) goes to that
// item; otherwise the key table decides, ahead of any other shortcut of the frame.
class ScoreKeys : public QObject {
  Q_OBJECT
public:
  explicit ScoreKeys(chdVLTMain& window);
  ~ScoreKeys() override;

  // Runs the character handler as if code was typed (the mouse placements ask for Ctrl+R).
  bool HandleCharacter(int code);
  bool HandleArrow(int qtKey);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

  KeyContext Context() const;

private:
  bool InWindow(QObject* watched) const;
  bool TriggerMenuShortcut(const QKeyEvent& key);
  void Apply(const KeyResult& result);

  chdVLTMain& m_window;
};

}  // namespace veltrimond
