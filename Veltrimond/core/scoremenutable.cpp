#include "Veltrimond/core/scoremenutable.h"

#include <QHash>

namespace veltrimond {

namespace {

MenuItemSpec Item(const char* name, const char* caption, const char* shortcut = "",
                  unsigned flags = kMenuPlain, int depth = 0) {
  return {QString::fromLatin1(name), QString::fromLatin1(caption), QString::fromLatin1(shortcut),
          flags, depth};
}

MenuItemSpec Sub(const char* name, const char* caption, const char* shortcut = "",
                 unsigned flags = kMenuPlain) {
  return Item(name, caption, shortcut, flags, 1);
}

MenuItemSpec Bar(const char* name = "", unsigned flags = kMenuPlain, int depth = 0) {
  return Item(name, "-", "", flags, depth);
}

std::vector<MenuSpec> BuildTable() {
  std::vector<MenuSpec> menus;
  auto menu = [&](const char* name, const char* caption, std::vector<MenuItemSpec> items) {
    menus.push_back({QString::fromLatin1(name), QString::fromLatin1(caption), std::move(items)});
  };

  menu("mnuFile", "&File",
       {Item("mnuFileNew", "&New", "Ctrl+N"), Item("mnuFileOpen", "&Open...", "Ctrl+O"), Bar(),
        Item("mnuFileSave", "&Save"), Item("mnuFileSaveAs", "Save &As..."), Bar(),
        Item("mnuFilePrint", "&Print...", "Ctrl+P"), Item("mnuFilePreview", "P&rint Preview"),
        Item("mnuFileSetup", "Print Set&up..."),
        // The recent files, shown by the history refresh.
        Bar("mnuFileHist0", kMenuHidden), Item("mnuFileHist1", "&1", "", kMenuHidden),
        Item("mnuFileHist2", "&2", "", kMenuHidden), Item("mnuFileHist3", "&3", "", kMenuHidden),
        Item("mnuFileHist4", "&4", "", kMenuHidden), Item("mnuFileHist5", "&5", "", kMenuHidden),
        Bar(), Item("mnuFileExit", "E&xit")});

  menu("mnuEdit", "&Edit",
       {Item("mnuEditUndo", "&Undo", "Ctrl+Z", kMenuOff), Bar(),
        Item("mnuEditCut", "C&ut", "Ctrl+X"), Item("mnuEditCopy", "&Copy", "Ctrl+C"),
        Item("mnuEditPaste", "&Paste", "Ctrl+V")});

  menu("mnuView", "&View",
       {Item("mnuViewToolBar", "&Tool Bar", "", kMenuChecked),
        Item("mnuViewStatusBar", "&Status Bar", "", kMenuChecked), Bar(),
        Item("mnuViewHandles", "Show &Handles", "", kMenuCheckable), Bar(),
        Item("mnuViewToolbox", "Tool&box", "", kMenuChecked)});

  menu("mnuScore", "&Score",
       {Item("mnuScoreOptions", "&Defaults...", "F4"), Bar(),
        Item("mnuScorePlay", "Pl&ay", "F11"), Item("mnuScoreStop", "&Stop", "F12"), Bar(),
        Item("mnuScoreResetWidth", "Reset All &Width Adjustments"),
        Item("mnuScoreResetLine", "Reset All Line &Breaks"),
        Item("mnuScoreDelLyrics", "Delete All &Lyrics"),
        Item("mnuScoreClearTime", "Clear All &Time Changes"),
        Item("mnuScoreClearKey", "Clear All &Key Changes"), Bar(),
        Item("mnuScoreRefresh", "&Refresh", "F5"), Bar(),
        Item("mnuScoreProperties", "&Properties...", "F9")});

  menu("mnuVoice", "&Voice",
       {Item("mnuVoiceCur0", "&1", "", kMenuChecked), Item("mnuVoiceCur1", "&2", "", kMenuCheckable),
        Item("mnuVoiceCur2", "&3", "", kMenuCheckable),
        Item("mnuVoiceCur3", "&4", "", kMenuCheckable)});

  menu("mnuStaff", "S&taff",
       {Item("mnuStaffInsert", "&Insert Staff...", "Shift+Ins"),
        Item("mnuStaffDelete", "&Delete Staff...", "Shift+Del"), Bar(),
        Item("mnuStaffSpace", "&Spacing"), Sub("mnuStaffSpaceInc", "Increase"),
        Sub("mnuStaffSpaceDec", "Decrease"), Sub("mnuStaffSpaceRst", "Reset"), Bar(),
        Item("mnuStaffProperties", "&Properties...", "Shift+F9")});

  menu("mnuMeasure", "&Measure",
       {Item("mnuMeasureInsert", "&Insert Measure..."),
        Item("mnuMeasureDelete", "&Delete Measure..."), Bar(),
        Item("mnuMeasureStyle", "Insert &Style..."), Bar(), Item("mnuMeasureWidth", "&Width"),
        Sub("mnuMeasureWidthInc", "&Increase"), Sub("mnuMeasureWidthDec", "&Decrease"),
        Sub("mnuMeasureWidthRst", "&Reset"), Bar(),
        Item("mnuMeasureLine", "Set/Reset &Line Break", "Ctrl+B"),
        // Shown with the Notation submenu only while the page's pop-up offers it.
        Bar("mnuMeasureBar3", kMenuHidden), Item("mnuMeasureNotate", "&Notation", "", kMenuHidden),
        Sub("mnuMeasureNotateT0", "&ritardando"), Sub("mnuMeasureNotateT1", "ri&tenuto"),
        Sub("mnuMeasureNotateT2", "ra&llentando"), Sub("mnuMeasureNotateT3", "a&ccelerando"),
        Sub("mnuMeasureNotateT4", "&dioppio movimento"), Sub("mnuMeasureNotateT5", "&a tempo"),
        Bar(), Item("mnuMeasureDelChords", "Delete &Chord Symbols"),
        Item("mnuMeasureDelDyn", "Delete D&ynamics"), Item("mnuMeasureDelText", "Delete &Text"),
        Bar(), Item("mnuMeasureProperties", "&Properties...", "Ctrl+F9")});

  menu("mnuNote", "&Note",
       {Item("mnuNoteInsert", "&Insert Note..."),
        Item("mnuNoteDelete", "&Delete Note", "Del", kMenuOff), Bar(),
        Item("mnuNoteMakeRest", "&Make Rest", "Ctrl+M"),
        Item("mnuNoteSetValue", "Set &Pitch...", "Ctrl+K", kMenuOff),
        Item("mnuNoteTie", "&Tie Notes", "Ctrl+G", kMenuOff), Bar(),
        Item("mnuNoteSet", "&Set Duration", "", kMenuOff), Sub("mnuNoteSetW", "&Whole", "Ctrl+W"),
        Sub("mnuNoteSetH", "&Half", "Ctrl+H"), Sub("mnuNoteSetQ", "&Quarter", "Ctrl+Q"),
        Sub("mnuNoteSetE", "&Eighth", "Ctrl+E"), Sub("mnuNoteSetX", "&Sixteenth", "Ctrl+S"),
        Sub("mnuNoteSetR", "&Thirty Second", "Ctrl+T"), Bar("", kMenuPlain, 1),
        Sub("mnuNoteSetAddDot", "&Add Dot Value", "Ctrl+A"),
        Sub("mnuNoteSetRemDot", "&Remove Dot Value", "Ctrl+R"), Bar("", kMenuPlain, 1),
        Sub("mnuNoteSetTrip", "Tr&iplet", "Ctrl+I"), Sub("mnuSetNoteDup", "D&uplet", "Ctrl+J"),
        Item("mnuNoteStem", "Ste&m", "", kMenuOff), Sub("mnuNoteStemUp", "&Up", "Ctrl+U"),
        Sub("mnuNoteStemDown", "&Down", "Ctrl+D"), Sub("mnuNoteStemFlip", "&Flip", "Ctrl+F"),
        Item("mnuNoteOrn", "&Ornament", "", kMenuOff), Sub("mnuNoteOrnAct", "&Accent"),
        Sub("mnuNoteOrnStac", "&Staccato"), Sub("mnuNoteOrnUp", "Bow &Up"),
        Sub("mnuNoteOrnDown", "Bow &Down"), Sub("mnuNoteOrnTrill", "&Trill"),
        Sub("mnuNoteOrnTurn", "T&urn"), Sub("mnuNoteOrnFermata", "&Fermata")});

  menu("mnuTools", "&Tools",
       {Item("mnuToolsChordMapper", "&Chord Mapper"), Item("mnuToolsStyleEditor", "&Style Editor"),
        Bar(), Item("mnuToolsTranspose", "&Transpose Notes..."),
        Item("mnuToolsCopyMove", "Copy/&Move Notes..."), Bar(),
        Item("mnuToolsClearHist", "Clear &File History")});

  menu("mnuWindow", "&Window",
       {Item("mnuWindowTileH", "Tile &Horizontally"), Item("mnuWindowTileV", "Tile &Vertically"),
        Item("mnuWindowCascade", "&Cascade")});

  menu("mnuHelp", "&Help",
       {Item("mnuHelpTOC", "&Contents...", "F1"), Item("mnuHelpIndex", "&Index..."), Bar(),
        Item("mnuHelpAbout", "&About Veltrimond..."),
        Item("mnuHelpUpdate", "Update &Help from Internet...")});
  return menus;
}

}  // namespace

const std::vector<MenuSpec>& ScoreMenuTable() {
  static const std::vector<MenuSpec> table = BuildTable();
  return table;
}

const MenuItemSpec* FindScoreMenuItem(const QString& name) {
  if (name.isEmpty()) return nullptr;
  for (const MenuSpec& menu : ScoreMenuTable())
    for (const MenuItemSpec& item : menu.Items)
      if (item.Name == name) return &item;
  return nullptr;
}

QChar AccessKey(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != QLatin1Char('&')) continue;
    if (caption[i + 1] == QLatin1Char('&')) {
      ++i;  // a literal "&"
      continue;
    }
    return caption[i + 1].toUpper();
  }
  return {};
}

QStringList AccessKeyClashes(const MenuSpec& menu) {
  // Keys are unique per list shown at once: the menu's own items, and each submenu's.
  QStringList clashes;
  QHash<QChar, QString> seen[2];
  for (const MenuItemSpec& item : menu.Items) {
    if (item.Depth == 0) seen[1].clear();  // a new submenu starts after its parent item
    if (item.Separator()) continue;
    const QChar key = AccessKey(item.Caption);
    if (key.isNull()) continue;
    QHash<QChar, QString>& list = seen[item.Depth == 0 ? 0 : 1];
    if (list.contains(key)) {
      clashes.append(list.value(key) + QLatin1Char('/') + item.Caption);
    } else {
      list.insert(key, item.Caption);
    }
  }
  return clashes;
}

std::vector<MenuEnable> NoteMenuEnables(NoteMenuMode mode) {
  const bool band = mode == NoteMenuMode::BandSelected;
  const bool notes = band || mode == NoteMenuMode::NoteClicked;
  std::vector<MenuEnable> enables = {{QStringLiteral("mnuNoteInsert"), band || !notes},
                                     {QStringLiteral("mnuNoteTie"), band},
                                     {QStringLiteral("mnuEditCut"), band},
                                     {QStringLiteral("mnuEditCopy"), band}};
  for (const char* name : {"mnuNoteDelete", "mnuNoteMakeRest", "mnuNoteOrn", "mnuNoteSet",
                           "mnuNoteStem", "mnuNoteSetValue"})
    enables.push_back({QString::fromLatin1(name), notes});
  return enables;
}

}  // namespace veltrimond
