// The score window's menu table, its selection rules, page navigation and the print range.
#include <gtest/gtest.h>

#include <QHash>
#include <QSet>

#include "Veltrimond/core/pagecommands.h"
#include "Veltrimond/core/scoremenutable.h"
#include "qstring_printer.h"

namespace veltrimond {
namespace {

TEST(ScoreMenuTable, ShortcutsAndNamesAreUniqueAcrossTheMenuBar) {
  QHash<QString, QString> byShortcut;
  QSet<QString> names;
  int items = 0;
  for (const MenuSpec& menu : ScoreMenuTable()) {
    for (const MenuItemSpec& item : menu.Items) {
      if (!item.Name.isEmpty()) {
        EXPECT_FALSE(names.contains(item.Name)) << item.Name.toStdString();
        names.insert(item.Name);
      }
      if (item.Separator()) continue;
      ++items;
      if (item.Shortcut.isEmpty()) continue;
      EXPECT_FALSE(byShortcut.contains(item.Shortcut))
          << item.Shortcut.toStdString() << " on " << byShortcut.value(item.Shortcut).toStdString()
          << " and " << item.Name.toStdString();
      byShortcut.insert(item.Shortcut, item.Name);
    }
  }
  EXPECT_EQ(ScoreMenuTable().size(), 11u);
  EXPECT_EQ(items, 101);
  EXPECT_EQ(byShortcut.size(), 35);
  // Shortcuts that are easy to get wrong.
  EXPECT_EQ(byShortcut.value("Ctrl+S"), "mnuNoteSetX");
  EXPECT_EQ(byShortcut.value("Ctrl+T"), "mnuNoteSetR");
  EXPECT_EQ(byShortcut.value("Ctrl+W"), "mnuNoteSetW");
  EXPECT_EQ(byShortcut.value("Ctrl+Q"), "mnuNoteSetQ");
  EXPECT_EQ(byShortcut.value("Shift+Ins"), "mnuStaffInsert");
  EXPECT_EQ(byShortcut.value("Shift+F9"), "mnuStaffProperties");
  EXPECT_EQ(byShortcut.value("Ctrl+F9"), "mnuMeasureProperties");
  EXPECT_EQ(byShortcut.value("Del"), "mnuNoteDelete");
}

TEST(ScoreMenuTable, AccessKeysClashOnlyWhereTheCaptionsAreMeantToShareOne) {
  QStringList clashes;
  for (const MenuSpec& menu : ScoreMenuTable()) clashes += AccessKeyClashes(menu);
  EXPECT_EQ(clashes, (QStringList{"&Undo/C&ut", "&Make Rest/Ste&m", "Bow &Up/T&urn"}));
  EXPECT_EQ(AccessKey("Save &As..."), QChar('A'));
  EXPECT_EQ(AccessKey("Tom && &Jerry"), QChar('J'));
  EXPECT_TRUE(AccessKey("Increase").isNull());
}

TEST(ScoreMenuTable, StatesAtLoadAndSubmenus) {
  const MenuItemSpec* turn = FindScoreMenuItem("mnuNoteOrnTurn");
  ASSERT_NE(turn, nullptr);
  EXPECT_EQ(turn->Depth, 1);
  EXPECT_EQ(FindScoreMenuItem("mnuMeasureNotateT4")->Caption, "&dioppio movimento");
  for (const char* hidden : {"mnuFileHist0", "mnuFileHist5", "mnuMeasureBar3", "mnuMeasureNotate"})
    EXPECT_EQ(FindScoreMenuItem(hidden)->Flags & kMenuHidden, kMenuHidden) << hidden;
  for (const char* off : {"mnuEditUndo", "mnuNoteDelete", "mnuNoteSetValue", "mnuNoteTie",
                          "mnuNoteSet", "mnuNoteStem", "mnuNoteOrn"})
    EXPECT_EQ(FindScoreMenuItem(off)->Flags & kMenuOff, kMenuOff) << off;
  // Make Rest is on at load although the selection turns it off with the other note items.
  EXPECT_EQ(FindScoreMenuItem("mnuNoteMakeRest")->Flags, kMenuPlain);
  for (const char* on : {"mnuViewToolBar", "mnuViewStatusBar", "mnuViewToolbox", "mnuVoiceCur0"})
    EXPECT_EQ(FindScoreMenuItem(on)->Flags, kMenuChecked) << on;
  EXPECT_EQ(FindScoreMenuItem("mnuViewHandles")->Flags, kMenuCheckable);
  EXPECT_EQ(FindScoreMenuItem("nothing"), nullptr);
  EXPECT_EQ(FindScoreMenuItem(""), nullptr);
}

TEST(ScoreMenuTable, TheSelectionSwitchesTheNoteCommandsAndCutCopy) {
  auto enabled = [](NoteMenuMode mode) {
    QStringList on, off;
    for (const MenuEnable& e : NoteMenuEnables(mode)) {
      EXPECT_NE(FindScoreMenuItem(e.Name), nullptr) << e.Name.toStdString();
      (e.Enabled ? on : off).append(e.Name);
    }
    on.sort();
    EXPECT_EQ(on.size() + off.size(), 10);
    return on;
  };
  EXPECT_EQ(enabled(NoteMenuMode::NoSelection), QStringList{"mnuNoteInsert"});
  EXPECT_EQ(enabled(NoteMenuMode::NoteClicked),
            (QStringList{"mnuNoteDelete", "mnuNoteMakeRest", "mnuNoteOrn", "mnuNoteSet",
                         "mnuNoteSetValue", "mnuNoteStem"}));
  EXPECT_EQ(enabled(NoteMenuMode::BandSelected).size(), 10);
}

TEST(PageCommands, NavigationStopsAtTheEndsAndNextAsksForOneMore) {
  struct Case {
    const char* key;
    int cur, last;
    std::optional<int> page;
  };
  const Case cases[] = {
      {"FIRST", 1, 5, std::nullopt}, {"first", 3, 5, 1},          {"PREV", 1, 5, std::nullopt},
      {"Prev", 2, 5, 1},             {"NEXT", 4, 5, 5},           {"NEXT", 5, 5, 6},
      {"NEXT", 0, 0, std::nullopt},  {"LAST", 5, 5, std::nullopt}, {"LAST", 2, 5, 5},
      {"LAST", 6, 6, std::nullopt},  {"PAGE", 2, 5, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PageForKey(c.key, c.cur, c.last), c.page) << c.key << " " << c.cur << "/" << c.last;
}

TEST(PageCommands, PrintOffersThePageShownAndAllPrintsEveryPage) {
  const PrintRangeOffer offer = OfferPrintRange(3, 7);
  EXPECT_EQ(offer.Min, 1);
  EXPECT_EQ(offer.Max, 7);
  EXPECT_EQ(offer.From, 3);
  EXPECT_EQ(offer.To, 3);
  const PageSpan all = ChosenPrintRange(offer, false, 3, 3);
  EXPECT_EQ(all.From, 1);
  EXPECT_EQ(all.To, 7);
  const PageSpan typed = ChosenPrintRange(offer, true, 6, 2);
  EXPECT_EQ(typed.From, 2);
  EXPECT_EQ(typed.To, 6);
  const PageSpan beyond = ChosenPrintRange(offer, true, 5, 40);
  EXPECT_EQ(beyond.To, 7);
  // A score not laid out yet still offers page 1.
  const PrintRangeOffer empty = OfferPrintRange(0, 0);
  EXPECT_EQ(empty.Max, 1);
  EXPECT_EQ(empty.From, 1);
}

}  // namespace
}  // namespace veltrimond
