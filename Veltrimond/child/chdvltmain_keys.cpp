// The key table of the score window: which key does what in which window state.
#include <QKeyEvent>

#include "Veltrimond/child/chdvltmain_keys.h"

namespace veltrimond::KeyTable {

namespace {

constexpr int Ctrl(char letter) { return letter - 'A' + 1; }

KeyResult Swallow(KeyAction action, int arg = 0) { return {action, arg, false, true}; }

}  // namespace

KeyResult Arrow(const KeyContext& context, int qtKey) {
  if (context.ChordPanelOpen || context.LyricActive || context.PageBoxFocus ||
      context.LabelActive || context.ToolGroup != kNoteTool)
    return {};
  switch (qtKey) {
    case Qt::Key_Up: return {KeyAction::ChangeLast, 1, false, true};
    case Qt::Key_Down: return {KeyAction::ChangeLast, -1, false, true};
    case Qt::Key_Right: return {KeyAction::ChangeLast, 1, true, true};
    case Qt::Key_Left: return {KeyAction::ChangeLast, -1, true, true};
    default: return {};
  }
}

KeyResult Character(const KeyContext& context, int code, bool chordMinor) {
  if (code == 0) return {};
  if (context.ChordPanelOpen) {
    if (code == kEnter) return Swallow(KeyAction::CommitChord, chordMinor ? 1 : 0);
    if (code == kEscape) return Swallow(KeyAction::CloseChord);
    return {};
  }
  if (context.LabelActive) {
    if (code == kEnter) return Swallow(KeyAction::CommitLabel);
    if (code == kEscape) return Swallow(KeyAction::CancelLabel);
    return {};
  }
  // The lyric box and the page box take their own keys.
  if (context.LyricActive || context.PageBoxFocus) return {};
  switch (code) {
    case '1': case '2': case '3': case '4': return Swallow(KeyAction::Voice, code - '1');
    case '+': return Swallow(KeyAction::WidthIncrease);
    case '-': return Swallow(KeyAction::WidthDecrease);
    case Ctrl('D'): return Swallow(KeyAction::ToggleDot);
    // Ctrl+H is also what Backspace types, so Backspace picks the half note too.
    case Ctrl('W'): return Swallow(KeyAction::NoteValue, 1);
    case Ctrl('H'): return Swallow(KeyAction::NoteValue, 2);
    case Ctrl('Q'): return Swallow(KeyAction::NoteValue, 4);
    case Ctrl('E'): return Swallow(KeyAction::NoteValue, 8);
    case Ctrl('S'): return Swallow(KeyAction::NoteValue, 16);
    case Ctrl('T'): return Swallow(KeyAction::NoteValue, 32);
    case Ctrl('R'):
      if (context.ToolKey == QLatin1String("Point")) return Swallow(KeyAction::None);
      return Swallow(KeyAction::PointerTool);
    case kEscape:
      if (context.HasSelection) return Swallow(KeyAction::ResetSelection);
      return {};
    default: return {};
  }
}

int CharCode(const QKeyEvent& event) {
  const int key = event.key();
  if (event.modifiers() & Qt::ControlModifier) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key - Qt::Key_A + 1;
    return 0;
  }
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kEnter;
    case Qt::Key_Escape: return kEscape;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    default: break;
  }
  const QString text = event.text();
  if (text.isEmpty()) return 0;
  const QChar first = text.at(0);
  return first.isPrint() ? first.unicode() : 0;
}

}  // namespace veltrimond::KeyTable
