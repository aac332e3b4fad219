#pragma once
// The score window's menu bar as data: every menu and item in order, with its name, caption
// ("&" before the access key), shortcut and state at load. The window builds its QMenus from
// it, and tests compare the built menus against it, so a caption or shortcut lives in one place.
//
// Which items a selection, the undo history and a running tool switch on and off is decided
// here too (NoteMenuEnables), so that the rules are tested without a window.

#include <QString>
#include <QStringList>
#include <vector>

namespace veltrimond {

// States at load; any other item is visible, enabled and unchecked.
enum MenuItemFlag : unsigned {
  kMenuPlain = 0,
  kMenuHidden = 1,
  kMenuOff = 2,        // disabled
  kMenuCheckable = 4,  // carries a check mark
  kMenuChecked = 8 | kMenuCheckable,
};

struct MenuItemSpec {
  QString Name;  // the action's object name; a separator's too ("mnuFileHist0", or empty)
  QString Caption;  // "-" for a separator
  QString Shortcut;  // portable QKeySequence text: "Ctrl+N", "Shift+Ins", "F9"; empty for none
  unsigned Flags = kMenuPlain;
  // 0 for an item of the menu itself, 1 for an item of the submenu opened by the closest
  // item of depth 0 above it.
  int Depth = 0;

  bool Separator() const { return Caption == QLatin1String("-"); }
};

struct MenuSpec {
  QString Name;  // "mnuFile"
  QString Caption;  // "&File"
  std::vector<MenuItemSpec> Items;
};

// The eleven menus, File .. Help, in menu-bar order.
const std::vector<MenuSpec>& ScoreMenuTable();

// The item (at any depth) with that name; null when no item has it.
const MenuItemSpec* FindScoreMenuItem(const QString& name);

// The letter after the single "&" of a caption, upper case ("Save &As..." gives 'A'); a null
// character without one. "&&" is a literal ampersand, not an access key.
QChar AccessKey(const QString& caption);

// The items of one menu (and of its submenus) whose access keys are used more than once,
// as "caption/caption" pairs; empty when every key of the menu is unique.
QStringList AccessKeyClashes(const MenuSpec& menu);

// The Note menu and Edit > Cut and Copy follow the selection: without one only Insert Note is
// on (the window's EnableNoteMenu); a right-clicked note offers the commands on one note (not
// Insert, Tie, Cut or Copy); a band of selected notes turns every note command on. The
// items switched, each with its state.
enum class NoteMenuMode { NoSelection, NoteClicked, BandSelected };
struct MenuEnable {
  QString Name;
  bool Enabled;
};
std::vector<MenuEnable> NoteMenuEnables(NoteMenuMode mode);

}  // namespace veltrimond
