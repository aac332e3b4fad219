// The score window's toolbar, saving (Save, Save As native and MIDI, failures) and printing
// (the print range on a PDF file, checked with pdfinfo), on the offscreen platform.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "Veltrimond/core/pagecommands.h"
#include "child_commands_fixture.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/note.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/score_structure.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/scorepagewidget.h"
#include "platform/settingsstore.h"
#include "qstring_printer.h"

namespace veltrimond::testing {
namespace {

QByteArray Head(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.read(4);
}

// The page count pdfinfo reads from a PDF file; -1 when it cannot.
int PdfPages(const QString& path) {
  QProcess pdfinfo;
  pdfinfo.start(QStringLiteral("pdfinfo"), {path});
  if (!pdfinfo.waitForFinished(30000) || pdfinfo.exitCode() != 0) return -1;
  const QString out = QString::fromUtf8(pdfinfo.readAllStandardOutput());
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

class ToolbarTest : public CommandsFixture {
protected:
  // Save As answers: the choice to give and the filters the dialog started on.
  void AnswerSaveAs(chdVLTMain& window) {
    Menus(window).Saving().SetSaveAsPrompt([this](const SaveAsOffer& offer) {
      StartFilters << offer.Filter;
      Folders << offer.Folder;
      Names << offer.Name;
      return Choice;
    });
  }
  std::optional<SaveAsChoice> Choice;
  QList<int> StartFilters;
  QStringList Folders;
  QStringList Names;
  QTemporaryDir Dir;
};

TEST_F(ToolbarTest, ButtonsInOrderWithTipsAndPicturesThatColourUnderTheMouse) {
  auto window = ShownWindow();
  QStringList keys;
  for (QAction* action : window->tbrMain->actions()) {
    if (action->isSeparator()) {
      keys << QStringLiteral("-");
    } else if (action->objectName() == QLatin1String("Page")) {
      keys << QStringLiteral("Page");
    } else {
      keys << action->data().toString() + QLatin1Char('=') + action->toolTip();
    }
  }
  EXPECT_EQ(keys, (QStringList{"Save=Save Changes", "Cancel=Discard Changes", "-", "Print=Print",
                               "Preview=Preview", "-", "Prop=Properties", "-",
                               "InsStaff=Insert Staff", "RemStaff=Delete Staff",
                               "InsMes=Insert Measure", "RemMes=Delete Measure", "-",
                               "Lyrics=Lyrics", "-", "First=First Page", "Prev=Previous Page",
                               "Page", "Next=Next Page", "Last=Last Page"}));
  for (const char* key : {"Save", "Cancel", "Print", "Prop", "RemStaff", "Lyrics", "Last"}) {
    const QIcon icon = Button(*window, key)->icon();
    const QImage normal = icon.pixmap(16, QIcon::Normal).toImage();
    const QImage active = icon.pixmap(16, QIcon::Active).toImage();
    EXPECT_FALSE(normal.isNull()) << key;
    EXPECT_NE(normal, active) << key << ": grey until the mouse is over it";
    EXPECT_TRUE(normal.isGrayscale()) << key;
  }
  auto* prop = qobject_cast<QToolButton*>(
      window->tbrMain->widgetForAction(Button(*window, "Prop")));
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(prop->popupMode(), QToolButton::MenuButtonPopup);
  QStringList entries;
  ASSERT_NE(Button(*window, "Prop")->menu(), nullptr);
  for (QAction* entry : Button(*window, "Prop")->menu()->actions()) entries << entry->text();
  EXPECT_EQ(entries, (QStringList{"Score Properties...", "Staff Properties...",
                                  "Measure Properties..."}));

  // Discard is on exactly while there is something to discard.
  EXPECT_FALSE(Button(*window, "Cancel")->isEnabled());
  window->Score().SetTitle("Changed");
  EXPECT_TRUE(Button(*window, "Cancel")->isEnabled());
}

TEST_F(ToolbarTest, SaveWritesAnOpenedFileWithoutAskingAndANewWindowAsksForAName) {
  const QString path = Dir.filePath(QStringLiteral("Tune.sco"));
  {
    auto writer = ShownWindow();
    ASSERT_TRUE(writer->Score().SaveFile(path.toStdString()));
  }
  auto opened = OpenedWindow(path);
  ASSERT_TRUE(opened);
  AnswerSaveAs(*opened);
  opened->Score().SetTitle("Retitled");
  EXPECT_EQ(opened->windowTitle(), QStringLiteral("Tune *"));
  Button(*opened, "Save")->trigger();
  EXPECT_TRUE(StartFilters.isEmpty()) << "no dialog for a file that has a name";
  EXPECT_FALSE(opened->Score().Changed());
  EXPECT_EQ(opened->windowTitle(), QStringLiteral("Tune"));
  EXPECT_FALSE(Button(*opened, "Cancel")->isEnabled());
  notecraft::Score reread;
  ASSERT_TRUE(reread.OpenFile(path.toStdString()));
  EXPECT_EQ(reread.Title(), "Retitled");

  auto fresh = ShownWindow();
  AnswerSaveAs(*fresh);
  Choice = SaveAsChoice{Dir.filePath(QStringLiteral("Fresh.sco")), 1};
  fresh->Score().SetTitle("Fresh");
  Item(*fresh, "mnuFileSave")->trigger();
  ASSERT_EQ(StartFilters.size(), 1) << "Save on a new window is Save As";
  EXPECT_FALSE(fresh->Untitled());
  EXPECT_EQ(fresh->windowTitle(), QStringLiteral("Fresh"));
  EXPECT_EQ(Context.History.Path(1), Choice->Path);
  EXPECT_EQ(Item(*fresh, "mnuFileHist1")->text(), QStringLiteral("&1 Fresh.sco"));
  EXPECT_TRUE(Item(*fresh, "mnuFileHist1")->isVisible());
  EXPECT_EQ(Head(Choice->Path), QByteArray("Vm00"));
  // Titled now: the next Save writes there without asking.
  fresh->Score().SetTitle("Fresh again");
  Item(*fresh, "mnuFileSave")->trigger();
  EXPECT_EQ(StartFilters.size(), 1);
  EXPECT_FALSE(fresh->Score().Changed());
  EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
}

TEST_F(ToolbarTest, SaveAsMidiWritesAStandardMidiFileAndTheNextSaveAsStartsThere) {
  auto window = ShownWindow();
  AnswerSaveAs(*window);
  window->Score().Staff(1)->Voice(1)->Notes().Add(0, 60, 16, 0);
  window->Score().SetChanged(true);

  Choice = SaveAsChoice{Dir.filePath(QStringLiteral("Song.mid")), 2};
  Item(*window, "mnuFileSaveAs")->trigger();
  EXPECT_EQ(Head(Choice->Path), QByteArray("MThd"));
  EXPECT_EQ(platform::ReadSettingInt(QStringLiteral("Files"), QStringLiteral("Type"), 0), 2);
  EXPECT_FALSE(window->Score().Changed());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Song"));

  // "All Files" saves the native format whatever the name says.
  Choice = SaveAsChoice{Dir.filePath(QStringLiteral("Song.txt")), 3};
  Item(*window, "mnuFileSaveAs")->trigger();
  EXPECT_EQ(Head(Choice->Path), QByteArray("Vm00"));
  EXPECT_EQ(platform::ReadSettingInt(QStringLiteral("Files"), QStringLiteral("Type"), 0), 3);

  ASSERT_EQ(StartFilters.size(), 2);
  EXPECT_EQ(StartFilters[1], 2) << "started on the filter chosen last";
  EXPECT_EQ(Folders[1], QFileInfo(Dir.path()).absoluteFilePath()) << "beside the score's file";
  EXPECT_EQ(Context.History.Path(1), Choice->Path);
  EXPECT_EQ(Context.History.Path(2), Dir.filePath(QStringLiteral("Song.mid")));

  // Cancelled: nothing changes and nothing is said.
  Choice.reset();
  window->Score().SetTitle("Again");
  Item(*window, "mnuFileSaveAs")->trigger();
  EXPECT_TRUE(window->Score().Changed());
  EXPECT_EQ(Context.History.Path(1), Dir.filePath(QStringLiteral("Song.txt")));
  EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(ToolbarTest, AFailedSaveKeepsTheChangeMarkTheNameAndTheRecentList) {
  // A folder nobody may write in; root ignores permissions, but not those of /proc.
  QString readOnly = QStringLiteral("/proc");
  if (geteuid() != 0) {
    readOnly = Dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(readOnly));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
  }
  auto window = ShownWindow();
  AnswerSaveAs(*window);
  window->Score().SetTitle("Precious");
  Context.History.Add(Dir.filePath(QStringLiteral("Earlier.sco")));

  Choice = SaveAsChoice{readOnly + QStringLiteral("/Precious.sco"), 1};
  Button(*window, "Save")->trigger();
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Save: Could not save Precious.sco.")))
      << Messages[0].toStdString();
  EXPECT_TRUE(window->Score().Changed());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("New Score *"));
  EXPECT_TRUE(Button(*window, "Cancel")->isEnabled());
  EXPECT_TRUE(window->Untitled());
  EXPECT_EQ(Context.History.Count(), 1);
  EXPECT_EQ(Context.History.Path(1), Dir.filePath(QStringLiteral("Earlier.sco")));
  // Still untitled: the next Save asks again instead of writing nowhere.
  Choice = SaveAsChoice{Dir.filePath(QStringLiteral("Precious.sco")), 1};
  Button(*window, "Save")->trigger();
  EXPECT_EQ(StartFilters.size(), 2);
  EXPECT_FALSE(window->Score().Changed());
  EXPECT_EQ(Messages.size(), 1);

  // A titled score whose folder has gone: told, and still marked changed.
  ASSERT_TRUE(QDir().mkpath(Dir.filePath(QStringLiteral("gone"))));
  const QString inGone = Dir.filePath(QStringLiteral("gone/Tune.sco"));
  ASSERT_TRUE(window->Score().SaveFile(inGone.toStdString()));
  auto opened = OpenedWindow(inGone);
  ASSERT_TRUE(opened);
  ASSERT_TRUE(QDir(Dir.filePath(QStringLiteral("gone"))).removeRecursively());
  opened->Score().SetTitle("Lost?");
  EXPECT_FALSE(Menus(*opened).FileSave());
  ASSERT_EQ(Messages.size(), 2);
  EXPECT_TRUE(Messages[1].startsWith(QStringLiteral("Save: Could not save Tune.sco.")));
  EXPECT_EQ(opened->windowTitle(), QStringLiteral("Tune *"));
}

TEST_F(ToolbarTest, SaveAsOffersTheScoresNameInItsFolder) {
  Context.Paths.Documents = Dir.filePath(QStringLiteral("Documents"));
  auto window = ShownWindow();
  AnswerSaveAs(*window);
  const std::vector<std::pair<std::string, QString>> titles = {
      {"Blues in G", "Blues in G"},
      {"  AC/DC: \"Live\"  ", "AC-DC- -Live-"},
      {"", "Untitled"},
      {"..", "Untitled"}};
  for (const auto& [title, name] : titles) {
    window->Score().SetTitle(title);
    Item(*window, "mnuFileSaveAs")->trigger();
    EXPECT_EQ(Names.back(), name) << title;
    EXPECT_EQ(Folders.back(), Context.Paths.Documents) << "a new score: the documents folder";
  }
  // A score with a file: its own name, beside it.
  Choice = SaveAsChoice{Dir.filePath(QStringLiteral("Kept Name.sco")), 1};
  Item(*window, "mnuFileSaveAs")->trigger();
  window->Score().SetTitle("Another Title");
  Item(*window, "mnuFileSaveAs")->trigger();
  EXPECT_EQ(Names.back(), QStringLiteral("Kept Name"));
  EXPECT_EQ(Folders.back(), QFileInfo(Dir.path()).absoluteFilePath());

  // The dialog itself shows that name, also when the folder is not there (whose name it
  // would otherwise take for the file's).
  for (const QString& folder : {Dir.path(), Context.Paths.Documents}) {
    QString shown;
    QTimer::singleShot(50, [&shown] {
      if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
        if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
          shown = edit->text();
        dialog->reject();
      }
    });
    EXPECT_FALSE(RunSaveAsDialog(window.get(), SaveAsOffer{folder, QStringLiteral("Blues"), 1}));
    EXPECT_EQ(shown, QStringLiteral("Blues")) << folder.toStdString();
  }
}

TEST_F(ToolbarTest, TheExtensionTypedDecidesTheFormatAndANameWithoutOneTakesTheFilters) {
  auto window = ShownWindow();
  AnswerSaveAs(*window);
  window->Score().Staff(1)->Voice(1)->Notes().Add(0, 60, 16, 0);
  struct Case {
    const char* Typed;
    int Filter;
    const char* Written;
    const char* Magic;
    int Type;  // Files/Type afterwards
  };
  const Case cases[] = {
      {"A.sco", 2, "A.sco", "Vm00", 1},   {"B.mid", 1, "B.mid", "MThd", 2},
      {"C.MIDI", 3, "C.MIDI", "MThd", 2}, {"D.sty", 2, "D.sty", "Vm00", 1},
      {"E", 1, "E.sco", "Vm00", 1},       {"F", 2, "F.mid", "MThd", 2},
      {"G.txt", 3, "G.txt", "Vm00", 3},   {"Op. 9", 2, "Op. 9", "MThd", 2},
  };
  for (const Case& c : cases) {
    Choice = SaveAsChoice{Dir.filePath(QString::fromLatin1(c.Typed)), c.Filter};
    Item(*window, "mnuFileSaveAs")->trigger();
    const QString written = Dir.filePath(QString::fromLatin1(c.Written));
    EXPECT_EQ(Head(written), QByteArray(c.Magic)) << c.Typed;
    EXPECT_EQ(Context.History.Path(1), written) << c.Typed;
    EXPECT_EQ(platform::ReadSettingInt(QStringLiteral("Files"), QStringLiteral("Type"), 0), c.Type)
        << c.Typed;
  }
  EXPECT_FALSE(QFile::exists(Dir.filePath(QStringLiteral("E"))));
  EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
}

class PrintTest : public ToolbarTest {
protected:
  // A score of `measures` quarter-note measures whose layout has not finished yet.
  std::unique_ptr<chdVLTMain> LongWindow(int measures) {
    auto window = ShownWindow();
    FillQuarters(*window, measures);
    QPrinter& printer = Menus(*window).Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    return window;
  }
};

TEST_F(PrintTest, ThePrintDialogOffersEveryPageAndTheRangeChosenPrints) {
  auto window = LongWindow(200);
  notecraft::Score& score = window->Score();
  ASSERT_TRUE(score.Paginating()) << "the layout should still be running";
  const int laidOut = score.LastPage();
  QPrinter& printer = Menus(*window).Printer();
  std::optional<PrintRangeOffer> offered;
  std::optional<PrintChoice> answer = PrintChoice{true, 2, 4};
  Menus(*window).Printing().SetPrintPrompt([&](QPrinter&, const PrintRangeOffer& offer) {
    offered = offer;
    return answer;
  });

  const QString range = Dir.filePath(QStringLiteral("range.pdf"));
  printer.setOutputFileName(range);
  ASSERT_TRUE(Item(*window, "mnuFilePrint")->isEnabled());
  Item(*window, "mnuFilePrint")->trigger();
  ASSERT_TRUE(offered.has_value());
  const int pages = score.LastPage();
  EXPECT_GT(pages, laidOut) << "the layout was finished before the dialog";
  EXPECT_GE(pages, 5);
  EXPECT_EQ(offered->Min, 1);
  EXPECT_EQ(offered->Max, pages);
  EXPECT_EQ(offered->From, 1);
  EXPECT_EQ(offered->To, 1);
  EXPECT_EQ(PdfPages(range), 3);

  // "All" on page 3: every page.
  score.SetCurPage(3);
  answer = PrintChoice{false, 0, 0};
  const QString all = Dir.filePath(QStringLiteral("all.pdf"));
  printer.setOutputFileName(all);
  Item(*window, "mnuFilePrint")->trigger();
  EXPECT_EQ(offered->From, 3);
  EXPECT_EQ(PdfPages(all), pages);
  EXPECT_EQ(score.CurPage(), 3) << "the page shown stays";

  // Cancelled: nothing is printed.
  answer.reset();
  const QString none = Dir.filePath(QStringLiteral("none.pdf"));
  printer.setOutputFileName(none);
  Item(*window, "mnuFilePrint")->trigger();
  EXPECT_FALSE(QFile::exists(none));
  EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
}

TEST_F(PrintTest, ThePrintButtonPrintsTheWholeScoreWithoutADialog) {
  auto window = LongWindow(150);
  bool asked = false;
  Menus(*window).Printing().SetPrintPrompt([&](QPrinter&, const PrintRangeOffer&) {
    asked = true;
    return std::optional<PrintChoice>();
  });
  const QString path = Dir.filePath(QStringLiteral("button.pdf"));
  Menus(*window).Printer().setOutputFileName(path);
  Button(*window, "Print")->trigger();
  EXPECT_FALSE(asked);
  EXPECT_EQ(PdfPages(path), window->Score().LastPage());
  EXPECT_GE(window->Score().LastPage(), 4);

  // A file that cannot be written is told, not passed over.
  Menus(*window).Printer().setOutputFileName(QStringLiteral("/proc/no/such/folder/x.pdf"));
  Button(*window, "Print")->trigger();
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Print: "))) << Messages[0].toStdString();
}

TEST_F(ToolbarTest, PageButtonsStopAtTheEndsAndNextLaysOutTheFollowingPage) {
  auto window = ShownWindow();
  FillQuarters(*window, 200);
  notecraft::Score& score = window->Score();
  ASSERT_EQ(score.CurPage(), 1);
  Button(*window, "First")->trigger();
  Button(*window, "Prev")->trigger();
  EXPECT_EQ(score.CurPage(), 1);
  // Next on the last page laid out so far goes on; the box shows where the score went.
  while (score.CurPage() < 3) Button(*window, "Next")->trigger();
  EXPECT_EQ(window->txtPage->text(), QStringLiteral("3"));
  Button(*window, "Prev")->trigger();
  EXPECT_EQ(score.CurPage(), 2);
  score.FinishPagination();
  Button(*window, "Last")->trigger();
  EXPECT_EQ(score.CurPage(), score.LastPage());
  EXPECT_EQ(window->txtPage->text(), QString::number(score.LastPage()));
  Button(*window, "Last")->trigger();
  EXPECT_EQ(score.CurPage(), score.LastPage());
  Button(*window, "First")->trigger();
  EXPECT_EQ(score.CurPage(), 1);
  EXPECT_EQ(window->txtPage->text(), QStringLiteral("1"));
}

TEST_F(ToolbarTest, DiscardAsksAndReloadsWithoutAProgressDisplay) {
  const QString path = Dir.filePath(QStringLiteral("Kept.sco"));
  {
    auto writer = ShownWindow();
    writer->Score().SetTitle("Kept");
    ASSERT_TRUE(writer->Score().SaveFile(path.toStdString()));
  }
  auto window = OpenedWindow(path);
  ASSERT_TRUE(window);
  window->Score().SetTitle("Edited");
  for (int answer : {7, 2}) {
    Answer = answer;
    Button(*window, "Cancel")->trigger();
    EXPECT_EQ(window->Score().Title(), "Edited");
    EXPECT_TRUE(window->Score().Changed());
  }
  EXPECT_EQ(Asked, QStringList(2, "Reload: Are you sure you want to discard your changes to this "
                                  "score?"));
  Answer = 6;
  Frame.Calls.clear();
  Button(*window, "Cancel")->trigger();
  EXPECT_EQ(window->Score().Title(), "Kept");
  EXPECT_FALSE(window->Score().Changed());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Kept"));
  EXPECT_FALSE(Button(*window, "Cancel")->isEnabled());
  EXPECT_FALSE(Frame.Calls.contains(QStringLiteral("InitStatus")));
  EXPECT_EQ(window->txtPage->text(), QStringLiteral("1"));
}

// A pixel of the page on staff `staff` that reads a pitch, about x twips in; (-1, -1) when
// the page shows none.
QPoint StaffPixel(chdVLTMain& window, int staff, int x = 3000) {
  notecraft::Score& score = window.Score();
  for (int py = 0; py < score.PageHeightTwips() / 15; ++py) {
    const auto band = score.InRegion(x, py * 15);
    if (band && band->Staff() == staff && score.GetNoteValueByHit(x, py * 15) > 0)
      return {x / 15, py};
  }
  return {-1, -1};
}

TEST_F(ToolbarTest, StaffAndMeasureButtonsAskAsTheirMenusAndCancelKeepsEverything) {
  auto window = ShownWindow();
  notecraft::Score& score = window->Score();
  FillQuarters(*window, 8);
  // A second staff with a note of its own; a click on it makes it the staff worked on.
  notecraft::AddStaff(score);
  score.Staff(2)->Voice(1)->Notes().Add(0, 60, 64, 0);
  score.RestartPagination(1);
  score.PaintWindow();
  window->SetTool(QStringLiteral("Point"));
  const QPoint onSecond = StaffPixel(*window, 2);
  ASSERT_GE(onSecond.y(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, onSecond);
  ASSERT_EQ(window->ActiveStaffNumber(), 2);
  score.SetChanged(false);
  const int end = score.EndTime();

  // Every structural button asks first, as its menu item does; Cancel changes nothing.
  Dialogs.Cancel = true;
  for (const char* key : {"RemStaff", "InsStaff", "RemMes", "InsMes"})
    Button(*window, key)->trigger();
  EXPECT_EQ(Dialogs.Calls, (QStringList{"AskDeleteStaff 2", "AskInsertStaff", "AskDeleteMeasure 1",
                                        "AskInsertMeasure 1"}));
  EXPECT_EQ(score.Staffs(), 2);
  EXPECT_EQ(score.Staff(1)->Voice(1)->Notes().Count(), 32);
  EXPECT_EQ(score.Staff(2)->Voice(1)->Notes().Count(), 1);
  EXPECT_EQ(score.EndTime(), end);
  EXPECT_FALSE(score.Changed());

  // Delete Staff answered as proposed takes the staff worked on, not the first.
  Dialogs.Cancel = false;
  Button(*window, "RemStaff")->trigger();
  ASSERT_EQ(score.Staffs(), 1);
  EXPECT_EQ(score.Staff(1)->Voice(1)->Notes().Count(), 32);
  // Insert and delete measure at the measure worked on.
  Button(*window, "InsMes")->trigger();
  EXPECT_EQ(score.EndTime(), end + 64);
  Button(*window, "RemMes")->trigger();
  EXPECT_EQ(score.EndTime(), end);

  // The property dialogs: the button itself, and its menu's three entries.
  Dialogs.Calls.clear();
  Button(*window, "Prop")->trigger();
  for (const char* key : {"Prop", "PropStaff", "PropMes"})
    window->Toolbar()->PropEntry(QString::fromLatin1(key))->trigger();
  EXPECT_EQ(Dialogs.Calls, (QStringList{"ShowProperties 0", "ShowProperties 0",
                                        "ShowProperties 1", "ShowProperties 3"}));
  int lyrics = 0;
  window->Hooks.StartLyricEntry = [&] { ++lyrics; };
  Button(*window, "Lyrics")->trigger();
  EXPECT_EQ(lyrics, 1);
  Button(*window, "Preview")->trigger();  // offered, does nothing
}

// The page shown after measures go: one the score still has, drawn from its new start, and
// the page box says which.
TEST_F(ToolbarTest, DeletingMeasuresBringsThePageShownBackIntoTheScore) {
  auto window = ShownWindow();
  notecraft::Score& score = window->Score();
  FillQuarters(*window, 320);
  score.FinishPagination();
  ASSERT_GE(score.LastPage(), 6);

  // Most of the score goes while page 5 is shown.
  score.SetCurPage(5);
  Dialogs.DeleteMeasure = notecraft::DeleteMeasureAnswer{300, 1};
  Button(*window, "RemMes")->trigger();
  score.FinishPagination();
  const int last = score.LastPage();
  EXPECT_LT(last, 5);
  EXPECT_EQ(score.CurPage(), last);
  EXPECT_EQ(window->txtPage->text(), QString::number(last));
  EXPECT_LT(score.CurTime(), score.EndTime()) << "the page shown holds music";
  EXPECT_EQ(score.CurTime(), score.PageTimes()[static_cast<std::size_t>(last - 1)].Low());
  Button(*window, "First")->trigger();
  Button(*window, "Last")->trigger();
  EXPECT_EQ(score.CurPage(), last);

  // Wide measures before the page shown go: the page keeps its number and starts where that
  // page starts now, so no measure falls between it and the page before.
  FillQuarters(*window, 320);
  auto voice = score.Staff(1)->Voice(1);
  for (int t = 0; t < 40 * 64; t += 4) voice->Notes().Add(t, 72, 4, 0);
  score.RestartPagination(1);
  score.FinishPagination();
  score.SetCurPage(3);
  const int third = score.CurTime();
  Dialogs.DeleteMeasure = notecraft::DeleteMeasureAnswer{40, 1};
  Item(*window, "mnuMeasureDelete")->trigger();
  EXPECT_EQ(score.CurPage(), 3);
  EXPECT_NE(score.CurTime(), third);
  EXPECT_EQ(score.CurTime(), score.PageTimes()[1].High());
  EXPECT_EQ(window->txtPage->text(), QStringLiteral("3"));
}

// Going to a page that background pagination has not reached yet lays the score out first.
TEST_F(ToolbarTest, LastAndThePageBoxReachTheEndWhileTheLayoutStillRuns) {
  auto window = ShownWindow();
  notecraft::Score& score = window->Score();
  FillQuarters(*window, 900);  // some 25 pages
  ASSERT_TRUE(score.Paginating());
  ASSERT_LT(score.LastPage(), 20);
  window->txtPage->setFocus();
  window->txtPage->setText(QStringLiteral("20"));
  QTest::keyClick(window->txtPage, Qt::Key_Return);
  EXPECT_EQ(score.CurPage(), 20);
  EXPECT_EQ(window->txtPage->text(), QStringLiteral("20"));

  Button(*window, "First")->trigger();
  FillQuarters(*window, 900);  // laid out again from page 1
  ASSERT_TRUE(score.Paginating());
  const int laidOut = score.LastPage();
  Button(*window, "Last")->trigger();
  EXPECT_FALSE(score.Paginating());
  EXPECT_GT(score.LastPage(), 20);
  EXPECT_GT(score.LastPage(), laidOut + 1);
  EXPECT_EQ(score.CurPage(), score.LastPage());
  EXPECT_EQ(window->txtPage->text(), QString::number(score.LastPage()));
}

}  // namespace
}  // namespace veltrimond::testing
