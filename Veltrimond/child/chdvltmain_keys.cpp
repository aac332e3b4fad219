// The key table of the score window (which key does what in which window state) and the
// filter that feeds it the window's key presses.
#include "Veltrimond/child/chdvltmain_keys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/child/chdvltmain_drumpanel.h"
#include "Veltrimond/child/chdvltmain_handles.h"
#include "Veltrimond/child/chdvltmain_labels.h"
#include "Veltrimond/child/chdvltmain_lyrics.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"

namespace veltrimond::KeyTable {

namespace {

constexpr int Ctrl(char letter) {
  return letter - 'A' + 1;
}

KeyResult Swallow(KeyAction action, int arg = 0) {
  return {action, arg, false, true};
}

}  // namespace

KeyResult Arrow(const KeyContext& context, int qtKey) {
  if (context.ChordPanelOpen || context.LyricActive || context.PageBoxFocus ||
      context.LabelActive || context.ToolGroup != kNoteTool)
    return {};
  switch (qtKey) {
    case Qt::Key_Up:
      return {KeyAction::ChangeLast, 1, false, true};
    case Qt::Key_Down:
      return {KeyAction::ChangeLast, -1, false, true};
    case Qt::Key_Right:
      return {KeyAction::ChangeLast, 1, true, true};
    case Qt::Key_Left:
      return {KeyAction::ChangeLast, -1, true, true};
    default:
      return {};
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
    case '1':
    case '2':
    case '3':
    case '4':
      return Swallow(KeyAction::Voice, code - '1');
    case '+':
      return Swallow(KeyAction::WidthIncrease);
    case '-':
      return Swallow(KeyAction::WidthDecrease);
    case Ctrl('D'):
      return Swallow(KeyAction::ToggleDot);
    // Ctrl+H is also what Backspace types, so Backspace picks the half note too.
    case Ctrl('W'):
      return Swallow(KeyAction::NoteValue, 1);
    case Ctrl('H'):
      return Swallow(KeyAction::NoteValue, 2);
    case Ctrl('Q'):
      return Swallow(KeyAction::NoteValue, 4);
    case Ctrl('E'):
      return Swallow(KeyAction::NoteValue, 8);
    case Ctrl('S'):
      return Swallow(KeyAction::NoteValue, 16);
    case Ctrl('T'):
      return Swallow(KeyAction::NoteValue, 32);
    case Ctrl('R'):
      if (context.ToolKey == QLatin1String("Point")) return Swallow(KeyAction::None);
      return Swallow(KeyAction::PointerTool);
    case kEscape:
      if (context.HasSelection) return Swallow(KeyAction::ResetSelection);
      return {};
    default:
      return {};
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
    case Qt::Key_Enter:
      return kEnter;
    case Qt::Key_Escape:
      return kEscape;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    default:
      break;
  }
  const QString text = event.text();
  if (text.isEmpty()) return 0;
  const QChar first = text.at(0);
  return first.isPrint() ? first.unicode() : 0;
}

}  // namespace veltrimond::KeyTable

// --- The window's key filter ---

namespace veltrimond {

namespace {

// The note-value, dot, stem and pointer keys: Ctrl and one of these letters.
bool TableControlKey(const QKeyEvent& key) {
  if ((key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) !=
      Qt::ControlModifier)
    return false;
  switch (key.key()) {
    case Qt::Key_W:
    case Qt::Key_H:
    case Qt::Key_Q:
    case Qt::Key_E:
    case Qt::Key_S:
    case Qt::Key_T:
    case Qt::Key_R:
    case Qt::Key_D:
      return true;
    default:
      return false;
  }
}

// The items whose shortcuts can fire: a greyed submenu keeps its items' keys to itself.
void CollectActions(const QList<QAction*>& actions, QList<QAction*>& into) {
  for (QAction* action : actions) {
    into.append(action);
    if (QMenu* menu = action->menu(); menu && action->isEnabled())
      CollectActions(menu->actions(), into);
  }
}

}  // namespace

ScoreKeys::ScoreKeys(chdVLTMain& window) : QObject(&window), m_window(window) {
  qApp->installEventFilter(this);
}

ScoreKeys::~ScoreKeys() {
  qApp->removeEventFilter(this);
}

bool ScoreKeys::InWindow(QObject* watched) const {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || (widget != &m_window && !m_window.isAncestorOf(widget))) return false;
  // A key travels up from the focused control to its parents; it is looked at once.
  QWidget* focus = QApplication::focusWidget();
  return widget == focus || (!focus && widget == &m_window);
}

bool ScoreKeys::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
  if (!InWindow(watched)) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (type == QEvent::ShortcutOverride) {
    // These keys are the window's to decide (below), ahead of any other shortcut of the
    // frame or the MDI area (Ctrl+W would close the window).
    if (TableControlKey(*key)) key->accept();
    return false;
  }
  if (TableControlKey(*key) && TriggerMenuShortcut(*key)) return true;
  switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
      return HandleArrow(key->key());  // whatever the modifiers
    default:
      break;
  }
  return HandleCharacter(KeyTable::CharCode(*key));
}

bool ScoreKeys::TriggerMenuShortcut(const QKeyEvent& key) {
  const QKeySequence pressed(key.keyCombination());
  QList<QAction*> tops = m_window.actions();
  for (QMenu* menu : m_window.Menus()) tops.append(menu->menuAction());
  QList<QAction*> actions;
  CollectActions(tops, actions);
  for (QAction* action : actions) {
    if (!action->isEnabled() || action->menu()) continue;
    for (const QKeySequence& shortcut : action->shortcuts()) {
      if (shortcut.matches(pressed) != QKeySequence::ExactMatch) continue;
      action->trigger();
      return true;
    }
  }
  return false;
}

KeyContext ScoreKeys::Context() const {
  KeyContext c;
  c.ChordPanelOpen = m_window.Labels().ChordPanelOpen();
  c.LabelActive = m_window.Labels().LabelActive();
  c.LyricActive = m_window.Lyrics().Active();
  c.PageBoxFocus = m_window.txtPage && m_window.txtPage->hasFocus();
  c.HasSelection = m_window.HasSelection();
  c.ToolGroup = m_window.Palette().ToolGroup();
  c.ToolKey = m_window.Palette().ToolKey();
  return c;
}

bool ScoreKeys::HandleArrow(int qtKey) {
  const KeyResult result = KeyTable::Arrow(Context(), qtKey);
  Apply(result);
  return result.Swallowed;
}

bool ScoreKeys::HandleCharacter(int code) {
  const KeyResult result =
      KeyTable::Character(Context(), code, m_window.Labels().pctChords->Minor());
  Apply(result);
  return result.Swallowed;
}

void ScoreKeys::Apply(const KeyResult& result) {
  notecraft::Score& score = m_window.Score();
  switch (result.Action) {
    case KeyAction::None:
      break;
    case KeyAction::ChangeLast:
      score.ChangeLast(result.Arg, result.Alignment);
      break;
    case KeyAction::CommitChord:
      m_window.Labels().CommitChord(result.Arg);
      break;
    case KeyAction::CloseChord:
      m_window.Labels().CloseChord();
      break;
    case KeyAction::CommitLabel:
      m_window.Labels().CommitLabel();
      break;
    case KeyAction::CancelLabel:
      m_window.Labels().CancelLabel();
      break;
    case KeyAction::Voice:
      // As the Voice menu's item: checked, the score's voice, and the status panel.
      m_window.mnuVoice[static_cast<std::size_t>(result.Arg)]->trigger();
      m_window.Panel(QStringLiteral("Voice"))->setText(QString::number(result.Arg + 1));
      break;
    case KeyAction::WidthIncrease:
    case KeyAction::WidthDecrease:
      score.AddGlobalByHit(m_window.Editor().DownX(), m_window.Editor().DownY(),
                           notecraft::evtMeasureSize,
                           result.Action == KeyAction::WidthIncrease ? 1 : -1);
      break;
    case KeyAction::ToggleDot:
      if (auto* dot = m_window.tbrOptions->findChild<QToolButton*>(QStringLiteral("Dot")))
        dot->toggle();
      break;
    case KeyAction::NoteValue:
      // Naming the note tool first makes the sub-tool a note value (and the tool current).
      m_window.NameTool(QStringLiteral("Note"));
      m_window.SetSubTool(result.Arg);
      break;
    case KeyAction::PointerTool:
      m_window.SetTool(QStringLiteral("Point"));
      break;
    case KeyAction::ResetSelection:
      m_window.ResetSelection();
      break;
  }
}

// --- Where the window's keys, handles, drum panel, lyrics and labels plug in ---

void chdVLTMain::AttachEditingParts() {
  m_handles = new ScoreHandles(*this);
  m_drums = new ScoreDrumPanel(*this);
  m_lyrics = new ScoreLyricEditor(*this);
  m_labels = new ScoreLabelEditor(*this);
  m_keys = new ScoreKeys(*this);
  Hooks.StartHandleDrag = [this](int x, int y) { return m_handles->StartDrag(x, y); };
  Hooks.DragHandle = [this](int y) { m_handles->Drag(y); };
  Hooks.DropHandle = [this] { m_handles->Drop(); };
  Hooks.RefreshDrumPanel = [this] { m_drums->Refresh(); };
  Hooks.ChooseDrum = [this] { m_drums->ChooseDrum(); };
  Hooks.OpenChordPanel = [this](int x, int y) { m_labels->OpenChordPanel(x, y); };
  Hooks.OpenTextLabel = [this](int x, int y) { m_labels->OpenTextLabel(x, y); };
  Hooks.LyricActive = [this] { return m_lyrics->Active(); };
  Hooks.StartLyricEntry = [this] { m_lyrics->Start(); };
}

}  // namespace veltrimond
