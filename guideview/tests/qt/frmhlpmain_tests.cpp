// The viewer window over the builder's fixture folder: tree and index, opening pages by node,
// by name and by index entry, Prev/Next/Home, Refresh, the index messages, placement in the
// settings, printing and copying; and the program's single-instance channel.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "guideview/app/frmhlpmain.h"
#include "guideview/app/helpbrowser.h"
#include "guideview/app/helpprompter.h"
#include "guideview/app/helpsettings.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "platform/tests/xdgsandbox.h"
#include "qtprint.h"

namespace guideview {
namespace {

const QString kFixture = QStringLiteral(GUIDEVIEW_TEST_DATA "/builder_data");

struct Message {
  QString title, text;
};

class RecordingPrompter : public HelpPrompter {
public:
  explicit RecordingPrompter(QList<Message>* log) : m_log(log) {}
  void Exclamation(QWidget*, const QString& title, const QString& text) override {
    m_log->append({title, text});
  }

private:
  QList<Message>* m_log;
};

class ViewerTest : public ::testing::Test {
protected:
  std::unique_ptr<frmHLPMain> Open(const QString& contents, bool index = false,
                                   const QString& product = "Veltrimond") {
    HelpViewerCommandLine line;
    line.contentsFile = contents.toStdString();
    line.product = product.toStdString();
    line.windowTitle = "Test - Help";
    line.openOnIndex = index;
    auto window =
        std::make_unique<frmHLPMain>(line, std::make_unique<RecordingPrompter>(&messages));
    window->ApplyStoredPlacement();
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
  }

  static QTreeWidget* Tree(frmHLPMain& w) { return w.findChild<QTreeWidget*>("tvwContents"); }
  static QTreeWidget* Index(frmHLPMain& w) { return w.findChild<QTreeWidget*>("lvwIndex"); }
  static QAction* Tool(frmHLPMain& w, const char* key) { return w.findChild<QAction*>(key); }
  static QString PageFile(frmHLPMain& w) { return w.Browser()->source().toLocalFile(); }
  static QString Current(frmHLPMain& w) {
    QTreeWidgetItem* item = Tree(w)->currentItem();
    return item ? item->text(0) : QString();
  }

  platform::testing::XdgSandbox sandbox;
  QList<Message> messages;
};

TEST_F(ViewerTest, BuildsTreeAndIndexAndShowsTheContentsPage) {
  auto w = Open(kFixture + "/default.htm");
  EXPECT_EQ(w->windowTitle(), "Test - Help");
  QTreeWidget* tree = Tree(*w);
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* root = tree->topLevelItem(0);
  EXPECT_EQ(root->text(0), "Fixture Help & Guide");
  ASSERT_EQ(root->childCount(), 4);
  EXPECT_EQ(root->child(0)->text(0), "Getting Started");
  EXPECT_EQ(root->child(0)->child(0)->text(0), "Entering Notes");
  EXPECT_EQ(Index(*w)->topLevelItemCount(), 19);
  EXPECT_TRUE(Index(*w)->isColumnHidden(1));
  EXPECT_TRUE(Index(*w)->isColumnHidden(2));

  EXPECT_TRUE(PageFile(*w).endsWith("builder_data/default.htm"));
  EXPECT_EQ(Current(*w), "Fixture Help & Guide");
  EXPECT_TRUE(root->isExpanded());
  EXPECT_FALSE(Tool(*w, "Home")->isEnabled());
  EXPECT_FALSE(Tool(*w, "Prev")->isEnabled());
  EXPECT_TRUE(Tool(*w, "Next")->isEnabled());
  EXPECT_FALSE(Tool(*w, "Stop")->isEnabled());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ViewerTest, OpensPagesByNodeByNameAndByIndexEntry) {
  auto w = Open(kFixture + "/default.htm");
  QTreeWidget* tree = Tree(*w);

  // A node click shows its page; the page's title finds its node again.
  QTreeWidgetItem* rests = tree->topLevelItem(0)->child(0)->child(1);
  tree->scrollToItem(rests);  // opens the book it stands in
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(rests).center());
  EXPECT_TRUE(PageFile(*w).endsWith("notes/rests.htm"));
  EXPECT_EQ(Current(*w), QString::fromUtf8("Rests \u2013 silence\u00A0too"));
  EXPECT_TRUE(Tool(*w, "Home")->isEnabled());
  EXPECT_TRUE(Tool(*w, "Back")->isEnabled());

  // By name.
  w->ShowTopic(kFixture + "/chords.htm");
  EXPECT_EQ(w->Browser()->documentTitle(), "Chords");
  EXPECT_EQ(Current(*w), "Chords");
  EXPECT_TRUE(tree->currentItem()->parent()->isExpanded());

  // By index entry: the topic under "Words\Lyrics".
  EXPECT_TRUE(w->ShowIndexEntry("Lyrics & words"));
  EXPECT_TRUE(PageFile(*w).endsWith("lyrics.htm"));
  EXPECT_EQ(Current(*w), "Lyrics & words");
  EXPECT_EQ(w->findChild<QLineEdit*>("txtIndex")->text(), "      Lyrics & words");

  // A page the tree does not know keeps the selection and disables Prev and Next.
  w->ShowTopic(kFixture + "/other/entering.htm");
  EXPECT_EQ(Current(*w), "Lyrics & words");
  EXPECT_FALSE(Tool(*w, "Prev")->isEnabled());
  EXPECT_FALSE(Tool(*w, "Next")->isEnabled());
  EXPECT_TRUE(messages.isEmpty());

  // Pages outside the folder are refused with a message.
  w->ShowTopic(kFixture + "/../builder_outside.htm");
  EXPECT_TRUE(PageFile(*w).endsWith("other/entering.htm"));
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(messages[0].title, "Error");
}

TEST_F(ViewerTest, NextAndPrevWalkTheTreeInInsertionOrder) {
  auto w = Open(kFixture + "/default.htm");
  QStringList seen{Current(*w)};
  while (Tool(*w, "Next")->isEnabled()) {
    Tool(*w, "Next")->trigger();
    seen.append(Current(*w));
    ASSERT_LT(seen.size(), 20) << seen.join(" / ").toStdString();
  }
  EXPECT_EQ(seen, (QStringList{"Fixture Help & Guide", "Getting Started", "Entering Notes",
                               QString::fromUtf8("Rests \u2013 silence\u00A0too"), "Lyrics & words",
                               "Broken", "Chords", "Playback"}));
  EXPECT_TRUE(PageFile(*w).endsWith("playback.htm"));
  Tool(*w, "Prev")->trigger();
  EXPECT_EQ(Current(*w), "Chords");
  Tool(*w, "Home")->trigger();
  EXPECT_TRUE(PageFile(*w).endsWith("default.htm"));
  EXPECT_FALSE(Tool(*w, "Home")->isEnabled());
  Tool(*w, "Back")->trigger();
  EXPECT_EQ(Current(*w), "Chords");
  EXPECT_TRUE(Tool(*w, "Fwd")->isEnabled());
}

TEST_F(ViewerTest, RefreshRebuildsAndKeepsThePage) {
  QTemporaryDir dir;
  const QString contents = dir.path() + "/default.htm";
  auto write = [](const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
  };
  write(contents, "<TITLE>Top</TITLE>\n<A HREF=\"a.htm\">A</A>\n");
  write(dir.path() + "/a.htm", "<TITLE>Page A</TITLE>\n");
  write(dir.path() + "/b.htm", "<TITLE>Page B</TITLE>\n<IDX GROUP=\"New\">\n");
  auto w = Open(contents);
  w->ShowTopic(dir.path() + "/a.htm");
  ASSERT_EQ(Tree(*w)->topLevelItem(0)->childCount(), 1);

  write(contents, "<TITLE>Top</TITLE>\n<A HREF=\"b.htm\">B</A>\n<A HREF=\"a.htm\">A</A>\n");
  w->findChild<QAction*>("mnuViewRefresh")->trigger();
  EXPECT_EQ(Tree(*w)->topLevelItem(0)->childCount(), 2);
  EXPECT_EQ(Index(*w)->topLevelItemCount(), 4);  // New, "   Page B", Page A, Top
  EXPECT_TRUE(PageFile(*w).endsWith("/a.htm"));
  EXPECT_EQ(Current(*w), "Page A");
  EXPECT_TRUE(Tool(*w, "Prev")->isEnabled());
  EXPECT_FALSE(Tool(*w, "Next")->isEnabled());
}

TEST_F(ViewerTest, IndexSearchAndItsMessages) {
  auto w = Open(kFixture + "/default.htm", true);
  EXPECT_EQ(w->findChild<QTabWidget*>("tabMain")->currentIndex(), 1);
  QLineEdit* box = w->findChild<QLineEdit*>("txtIndex");
  QTreeWidget* index = Index(*w);

  QTest::keyClicks(box, "wo");
  ASSERT_TRUE(index->currentItem());
  EXPECT_EQ(index->currentItem()->text(0), "Words");
  QTest::keyClick(box, Qt::Key_Return);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(messages[0].title, "Help");
  EXPECT_EQ(messages[0].text,
            "To locate information about this keyword, please select one of "
            "the subentries in the list.");

  // Clicking an item copies its text without searching.
  QTreeWidgetItem* topic = index->topLevelItem(18);
  QTest::mouseClick(index->viewport(), Qt::LeftButton, {}, index->visualItemRect(topic).center());
  EXPECT_EQ(box->text(), "      Lyrics & words");
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_TRUE(PageFile(*w).endsWith("lyrics.htm"));
  EXPECT_EQ(messages.size(), 1);

  index->clearSelection();
  QTest::keyClick(box, Qt::Key_Return);
  ASSERT_EQ(messages.size(), 2);
  EXPECT_EQ(messages[1].text, "Please select a topic you wish to locate help for.");
  EXPECT_FALSE(w->ShowIndexEntry("No such entry"));
}

TEST_F(ViewerTest, MissingContentsFileOpensAnEmptyWindowQuietly) {
  auto w = Open(kFixture + "/nothing-here.htm");
  EXPECT_EQ(Tree(*w)->topLevelItemCount(), 0);
  EXPECT_EQ(Index(*w)->topLevelItemCount(), 0);
  EXPECT_TRUE(w->Browser()->source().isEmpty());
  EXPECT_TRUE(w->ContentsFile().isEmpty());
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_FALSE(w->LoadFailed());
}

TEST_F(ViewerTest, PlacementIsWrittenOnCloseAndReadBack) {
  {
    auto w = Open(kFixture + "/default.htm");
    const double tpp = w->TwipsPerPixel();
    // Nothing stored: 9000 x 6000 twips.
    EXPECT_EQ(w->width(), std::lround(9000 / tpp));
    EXPECT_EQ(w->height(), std::lround(6000 / tpp));
    QSplitter* split = w->findChild<QSplitter*>("pctSplit");
    EXPECT_EQ(split->sizes().first(), std::lround(2175 / tpp));
    // Dragged to the far left, the pane stops at 1920 twips.
    split->setSizes({0, split->width()});
    EXPECT_EQ(w->findChild<QWidget*>("pctTab")->width(), std::lround(1920 / tpp));
    w->move(100, 80);
    w->resize(700, 500);
    QApplication::processEvents();
    w->close();
  }
  const QString section = HelpSettingsSection("Veltrimond");
  EXPECT_EQ(section, "Help");
  EXPECT_EQ(platform::ReadSetting(section, "Width"), "10500");
  EXPECT_EQ(platform::ReadSetting(section, "Height"), "7500");
  EXPECT_EQ(platform::ReadSetting(section, "Maximized"), "False");
  EXPECT_TRUE(platform::HasSetting(section, "Left"));
  EXPECT_TRUE(platform::HasSetting(section, "Split"));

  auto again = Open(kFixture + "/default.htm");
  EXPECT_EQ(again->size(), QSize(700, 500));
}

TEST_F(ViewerTest, OffScreenOrTooSmallPlacementFallsBackAndOtherProductsKeepTheirOwnGroup) {
  const QString section = HelpSettingsSection("Other Product");
  EXPECT_EQ(section, "Other Product/Help");
  platform::WriteSetting(section, "Left", 500000);
  platform::WriteSetting(section, "Top", 500000);
  platform::WriteSetting(section, "Width", 8000);
  platform::WriteSetting(section, "Height", 5000);
  auto w = Open(kFixture + "/default.htm", false, "Other Product");
  const double tpp = w->TwipsPerPixel();
  EXPECT_EQ(w->width(), std::lround(9000 / tpp));
  EXPECT_LT(w->x(), 5000);
  w->close();
  EXPECT_FALSE(platform::HasSetting("Help", "Width"));
  EXPECT_EQ(platform::ReadSetting(section, "Width"), "9000");

  // A product that is no plain name cannot steer the settings anywhere: the viewer's own group.
  auto evil = Open(kFixture + "/default.htm", false, "../../evil\\x");
  evil->close();
  EXPECT_TRUE(platform::HasSetting("guideview/Help", "Width"));
  const QStringList files =
      QDir(sandbox.ConfigHome()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
  EXPECT_EQ(files, QStringList{"Quorvane Software Inc"});
  EXPECT_EQ(QDir(sandbox.ConfigHome() + "/Quorvane Software Inc").entryList(QDir::Files),
            QStringList{"Veltrimond.ini"});
}

TEST_F(ViewerTest, PrintsAndCopiesThePage) {
  auto w = Open(kFixture + "/default.htm");
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.path() + "/page.pdf");
  w->PrintPage(&printer);
  QFile pdf(dir.path() + "/page.pdf");
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5) == "%PDF-");

  w->Browser()->selectAll();
  w->findChild<QAction*>("mnuEditCopy")->trigger();
  EXPECT_TRUE(QApplication::clipboard()->text().contains("Introduction (link text)"));
}

// The program itself: a second start with the same caption asks the first to show itself and
// ends; "close" ends the first.
TEST(ProgramTest, SecondStartShowsTheFirstAndCloseEndsIt) {
  platform::testing::XdgSandbox sandbox;
  const QString caption =
      QString("Instance Test - Help %1").arg(QCoreApplication::applicationPid());
  const QStringList args{kFixture + "/default.htm", "/K", "Veltrimond", "/T", caption};
  QProcess first;
  first.start(GUIDEVIEW_PROGRAM, args);
  ASSERT_TRUE(first.waitForStarted());
  bool answering = false;
  for (int i = 0; i < 100 && !answering; ++i) {
    QTest::qWait(50);
    answering = QFile::exists(platform::InstanceSocketName(caption));
  }
  ASSERT_TRUE(answering);

  QProcess second;
  second.start(GUIDEVIEW_PROGRAM, args);
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);

  EXPECT_TRUE(platform::SendInstanceCommand(caption, "close"));
  EXPECT_TRUE(first.waitForFinished(10000));
  EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
  // It wrote its placement on the way out.
  EXPECT_TRUE(platform::HasSetting("Help", "Width"));
}

}  // namespace
}  // namespace guideview
