#pragma once
// The score window's toolbar, tbrMain: save and discard, print, the property dialogs,
// staff and measure insertion and deletion (as the Staff and Measure menus, with their
// prompts), lyric entry and the page buttons around the page box. Buttons show grey pictures that
// take their colours under the mouse.

#include <QIcon>
#include <QMap>
#include <QObject>
#include <QString>

class QAction;
class QToolButton;

namespace veltrimond {

class chdVLTMain;
class ScoreMenus;

// A toolbar picture by image key ("Save", "Delete", "Print", "Preview", "Prop", "InsStaff",
// "DltStaff", "InsMes", "DltMes", "ABC", "First", "Prev", "Next", "Last"): grey in the
// Normal mode, in colour in the Active mode (under the mouse). A null icon for other keys.
QIcon ScoreToolbarIcon(const QString& imageKey);

class ScoreToolbar : public QObject {
  Q_OBJECT

public:
  // Fills the window's tbrMain around its page box; commands shared with the menus run
  // through menus.
  ScoreToolbar(chdVLTMain& window, ScoreMenus& menus);

  // A button by key ("Save", "Cancel", ..., "Last"); null for other keys. "Prop" is the
  // drop-down's button action, its menu entries are "Prop", "PropStaff" and "PropMes".
  QAction* Button(const QString& key) const { return m_buttons.value(key); }
  QAction* PropEntry(const QString& key) const { return m_propEntries.value(key); }

  // What a button does, by key in any letter case.
  void ButtonClick(const QString& key);
  void ButtonMenuClick(const QString& key);

private:
  void Build();
  void GoToPage(const QString& key);
  void Discard();

  chdVLTMain& m_window;
  ScoreMenus& m_menus;
  QMap<QString, QAction*> m_buttons;
  QMap<QString, QAction*> m_propEntries;
};

}  // namespace veltrimond
