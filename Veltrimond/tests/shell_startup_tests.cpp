// The editor's start-up and close on the offscreen platform: the frame's rectangle, the
// splash, the first activation, the command line, the sound output, and what closing saves.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSet>
#include <QTest>

#include "Veltrimond/core/framegeometry.h"
#include "Veltrimond/shell/frmvltsplash.h"
#include "editor_fixture.h"
#include "platform/settingsstore.h"
#include "qstring_printer.h"

namespace veltrimond {
namespace {

using platform::ReadSetting;
using platform::WriteSetting;

class StartupTest : public testing::EditorFixture {
protected:
  static QRect Screen() { return QGuiApplication::primaryScreen()->geometry(); }
  static QRect DefaultRect() {
    const QRect s = Screen();
    const TwipsPerPixel tpp;  // the offscreen screen has 96 dots per inch
    return ToPixels(DefaultFrameRect(s.width() * tpp.X, s.height() * tpp.Y, {}, tpp), tpp)
        .translated(s.topLeft());
  }
  void StoreRect(const QRect& pixels) {
    const TwipsRect t = ToTwips(pixels, TwipsPerPixel{});
    WriteSetting("Main", "Left", t.Left);
    WriteSetting("Main", "Top", t.Top);
    WriteSetting("Main", "Width", t.Width);
    WriteSetting("Main", "Height", t.Height);
  }
};

TEST_F(StartupTest, FirstRunOpensTheFrameAtTheDefaultRectangleUnderTheSplash) {
  mdiVLTMain* frame = Start();
  EXPECT_EQ(frame->windowTitle(), "Veltrimond");
  EXPECT_DOUBLE_EQ(Context.State.Tpp.X, 15.0);
  EXPECT_EQ(frame->geometry(), DefaultRect());
  ASSERT_NE(TheStartup().Splash(), nullptr);
  EXPECT_TRUE(TheStartup().Splash()->isVisible());
  EXPECT_EQ(TheStartup().Splash()->VersionText(), QCoreApplication::applicationVersion());
  EXPECT_EQ(ReadSetting("Main", "ID"), "T482615");
  EXPECT_EQ(ReadSetting("Main", "Styles"), Folder() + "/user/Styles");

  // While the splash waits, the frame is up but nothing can be started.
  auto* file = frame->findChild<QMenu*>("mnuFile");
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(file->menuAction()->isEnabled());
  EXPECT_FALSE(frame->ToolbarButton("New")->isEnabled());

  ExpireSplash();
  EXPECT_TRUE(TheStartup().FirstActivationDone());
  EXPECT_TRUE(file->menuAction()->isEnabled());
  for (const char* key : {"New", "Open", "Exit", "Help"})
    EXPECT_TRUE(frame->ToolbarButton(key)->isEnabled()) << key;
  for (const char* key : {"Undo", "Redo", "Cut", "Copy", "Paste", "TileH", "TileV", "Cascade"})
    EXPECT_FALSE(frame->ToolbarButton(key)->isEnabled()) << key;
  EXPECT_TRUE(QTest::qWaitFor([&] { return TheStartup().Splash() == nullptr; }, 1000));
}

TEST_F(StartupTest, TheToolCursorsAreLoadedIntoTheirSlots) {
  // The build tree's install folder holds the drawn cursors.
  Context.Paths.DataDir = QString::fromLocal8Bit(qgetenv("VELTRIMOND_HOME"));
  Start();
  const auto& ids = Context.State.CursorIDs;
  EXPECT_EQ(Context.Cursors.Count(), 15);
  EXPECT_EQ(ids[2], 0);  // working slots of the score window
  EXPECT_EQ(ids[3], 0);
  QSet<int> distinct;
  for (std::size_t slot = 0; slot < ids.size(); ++slot)
    if (slot != 2 && slot != 3) distinct.insert(ids[slot]);
  EXPECT_EQ(distinct.size(), 15);
  EXPECT_FALSE(distinct.contains(0));
}

TEST_F(StartupTest, MissingCursorFilesLeaveEmptySlotsAndTheStartGoesOn) {
  StartReady();  // the test's own data folder has no cursors
  EXPECT_EQ(Context.State.CursorIDs, (std::array<int, kCursorSlots>{}));
  EXPECT_TRUE(Frame()->ToolbarButton("Open")->isEnabled());
}

TEST_F(StartupTest, AFirstStartRegistersTheScoreFileTypeForTheUser) {
  RegisterFileType = true;
  Start();
  EXPECT_TRUE(QFileInfo::exists(Folder() + "/data/mime/packages/veltrimond-score.xml"));
  EXPECT_TRUE(QFileInfo::exists(Folder() + "/data/applications/veltrimond.desktop"));
}

TEST_F(StartupTest, TheEnginesPlatformAnswersFromTheEditor) {
  StartReady();
  QtPlatform& desktop = Desktop();
  EXPECT_EQ(desktop.TwipsPerPixelX(), 15);
  Context.State.Tpp = {1440.0 / 120, 1440.0 / 144};  // a scaled screen
  EXPECT_EQ(desktop.TwipsPerPixelX(), 12);
  EXPECT_EQ(desktop.TwipsPerPixelY(), 10);
  EXPECT_EQ(QString::fromStdString(desktop.DataRoot().string()), Folder());
  // An opened file reaches the desktop's recently-used list.
  desktop.AddToRecentDocs("/m/Song.sco");
  QFile xbel(Folder() + "/data/recently-used.xbel");
  ASSERT_TRUE(xbel.open(QIODevice::ReadOnly));
  EXPECT_TRUE(xbel.readAll().contains("file:///m/Song.sco"));
  // Copied notes go to the desktop's clipboard, where other windows and programs see them.
  desktop.SetClipboardText("S1:1@0#0#16#0#60");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "S1:1@0#0#16#0#60");
  QGuiApplication::clipboard()->setText("S2:1@96#0#8#0#64");
  EXPECT_EQ(desktop.ClipboardText(), "S2:1@96#0#8#0#64");
}

TEST_F(StartupTest, TheSplashShowsTheServicePack) {
  WriteSetting("Main", "Update", QStringLiteral("SP2"));
  Start();
  EXPECT_EQ(TheStartup().Splash()->VersionText(),
            QCoreApplication::applicationVersion() + " (SP2)");
}

TEST_F(StartupTest, ClosingSavesTheRectangleInTwipsAndItComesBack) {
  mdiVLTMain* frame = StartReady();
  const QRect placed(Screen().x() + 40, Screen().y() + 30, 700, 500);
  frame->setGeometry(placed);
  frame->mnuViewToolBar->trigger();  // hide the toolbar
  ASSERT_TRUE(frame->close());
  EXPECT_TRUE(frame->Closed());
  EXPECT_EQ(platform::ReadSettingDouble("Main", "Width", 0), 700 * 15.0);
  EXPECT_EQ(platform::ReadSettingDouble("Main", "Height", 0), 500 * 15.0);
  EXPECT_EQ(platform::ReadSettingDouble("Main", "Left", 0), placed.x() * 15.0);
  EXPECT_EQ(ReadSetting("Main", "Maximized"), "False");
  EXPECT_EQ(ReadSetting("Main", "ToolBar"), "False");
  EXPECT_EQ(ReadSetting("Main", "StatusBar"), "True");
  EXPECT_EQ(ReadSetting("Children", "Maximized"), "False");

  StopEditor();
  mdiVLTMain* again = Start();
  EXPECT_EQ(again->geometry(), placed);
  EXPECT_FALSE(again->findChild<QWidget*>("tbrMain")->isVisible());
}

TEST_F(StartupTest, ARectangleOffEveryScreenFallsBackToTheDefault) {
  StoreRect(QRect(Screen().right() + 2000, 100, 800, 600));
  EXPECT_EQ(Start()->geometry(), DefaultRect());
}

TEST_F(StartupTest, StoredValuesPastTheScreenAreCutToItOrFallBackToTheDefault) {
  // A width of 1e12 twips: no screen holds it, and in pixels it would not fit an int.
  WriteSetting("Main", "Left", 600.0);
  WriteSetting("Main", "Top", 450.0);
  WriteSetting("Main", "Width", 1e12);
  WriteSetting("Main", "Height", 7500.0);
  EXPECT_EQ(Start()->geometry(), DefaultRect());
  StopEditor();
  WriteSetting("Main", "Width", QStringLiteral("wide"));
  EXPECT_EQ(Start()->geometry(), DefaultRect());
  StopEditor();

  // Larger than the screen but of this world: cut to the available area, all of it showing.
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  StoreRect(QRect(area.x() + 40, area.y() + 30, area.width() * 3, area.height() + 100));
  EXPECT_EQ(Start()->geometry().size(), area.size());
  EXPECT_EQ(ToPixels(Context.State.Frame, TwipsPerPixel{}), area);
}

TEST_F(StartupTest, ARectangleBelowTheMinimumSizeFallsBackToTheDefault) {
  StoreRect(QRect(10, 10, 300, 200));  // 4500 x 3000 twips
  EXPECT_EQ(Start()->geometry(), DefaultRect());
}

TEST_F(StartupTest, ClosingWhileMinimisedKeepsTheNormalRectangle) {
  mdiVLTMain* frame = StartReady();
  const QRect placed(Screen().x() + 60, Screen().y() + 50, 720, 480);
  frame->setGeometry(placed);
  QCoreApplication::processEvents();
  frame->showMinimized();
  QCoreApplication::processEvents();
  ASSERT_TRUE(frame->close());
  EXPECT_EQ(platform::ReadSettingDouble("Main", "Width", 0), 720 * 15.0);
  EXPECT_EQ(platform::ReadSettingDouble("Main", "Height", 0), 480 * 15.0);
  EXPECT_EQ(ReadSetting("Main", "Maximized"), "False");
}

TEST_F(StartupTest, TheCommandLineScoreOpensAfterTheSplash) {
  Start({"Veltrimond", "-x", "/music/My Song.sco"});
  EXPECT_TRUE(Windows.isEmpty());
  ExpireSplash();
  ASSERT_EQ(Windows.size(), 1);
  EXPECT_EQ(Windows[0]->Calls, QStringList{"Open /music/My Song.sco"});
  EXPECT_EQ(ReadSetting("Files", "Path"), "/music/");
  EXPECT_EQ(ReadSetting("Files", "Type"), "1");
}

TEST_F(StartupTest, ClosingDuringTheSplashOpensNoCommandLineScore) {
  mdiVLTMain* frame = Start({"Veltrimond", "/music/a.mid"});
  ASSERT_TRUE(frame->close());
  ExpireSplash();
  EXPECT_TRUE(TheStartup().FirstActivationDone());
  EXPECT_TRUE(Windows.isEmpty());
  EXPECT_FALSE(frame->findChild<QMenu*>("mnuFile")->menuAction()->isEnabled());
}

TEST_F(StartupTest, AnAudioOutputThatCannotOpenIsToldButDoesNotStopTheStart) {
  // The file driver into a folder that does not exist fails on every machine.
  const QByteArray old = qgetenv("TONEGEN_AUDIO_DRIVER");
  qputenv("TONEGEN_AUDIO_DRIVER", "file:/nonexistent-folder/sound.raw");
  mdiVLTMain* frame = Start();
  qputenv("TONEGEN_AUDIO_DRIVER", old);
  EXPECT_TRUE(frame->isVisible());
  auto boxes = [] {
    QList<QMessageBox*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) found << box;
    return found;
  };
  // Held back while the splash is up, then shown without blocking anything.
  EXPECT_TRUE(boxes().isEmpty());
  ExpireSplash();
  EXPECT_TRUE(frame->ToolbarButton("New")->isEnabled());
  const QList<QMessageBox*> shown = boxes();
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0]->windowTitle(), "MIDI Sound");
  EXPECT_TRUE(shown[0]->text().contains("audio")) << shown[0]->text().toStdString();
}

}  // namespace
}  // namespace veltrimond
