// The frame's Help and Tools commands and its Defaults and About windows: what reaches the
// companion programs, bringing a running one forward, the chord mapper window's life, and
// what the Defaults dialog leaves in the settings.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "Veltrimond/options/frmvltdefaults.h"
#include "Veltrimond/options/measureunits.h"
#include "Veltrimond/options/samplescore.h"
#include "Veltrimond/shell/frmvltabout.h"
#include "Veltrimond/shell/frmvltmapper.h"
#include "editor_fixture.h"
#include "harmonygrid/qt/chordmapper.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/dialogs/frmctxscore.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "qstring_printer.h"

namespace veltrimond {
namespace {

using platform::HasSetting;
using platform::ReadSetting;
using platform::WriteSetting;

class HelpTest : public testing::EditorFixture {
protected:
  mdiVLTMain* frame = nullptr;
  QList<CompanionCommand> started;
  bool startSucceeds = true;

  void Ready() {
    frame = StartReady();
    frame->SetCompanionLauncher([this](const CompanionCommand& c) {
      started.append(c);
      return startSucceeds;
    });
  }
  void Run(const QString& command) {
    frame->DoFunction(command);
    QCoreApplication::processEvents();
  }
  // Runs f once the next modal dialog is up, with that dialog.
  template <class Dialog, class F>
  void WhenShown(F f) {
    QTimer::singleShot(0, frame, [f] {
      auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      f(dialog);
    });
  }
};

TEST_F(HelpTest, CompanionsGetTheirValuesAsSeparateArguments) {
  AppPaths paths;
  paths.BinDir = QStringLiteral("/opt/v/bin");
  paths.DataDir = QStringLiteral("/opt/v");
  const QStringList viewer{"/opt/v/Common/Help/default.htm", "/K", "Veltrimond", "/T",
                           "Veltrimond - Help", "/I"};
  EXPECT_EQ(HelpViewerCommand(paths, "TOC").Arguments, viewer + QStringList{"TOC"});
  EXPECT_EQ(HelpViewerCommand(paths, "IX").Arguments, viewer + QStringList{"IX"});
  const CompanionCommand updater = HelpUpdaterCommand(paths);
  EXPECT_EQ(updater.Arguments,
            (QStringList{"/opt/v/Common/Help", "/P", "T482615", "/K", "Veltrimond"}));
  EXPECT_EQ(updater.WorkingFolder, "/opt/v/bin");
  EXPECT_TRUE(StyleEditorCommand(paths).Arguments.isEmpty());
  // Not in the program folder nor on the search path: nothing to start.
  EXPECT_TRUE(FindCompanion(paths.BinDir, "no-such-companion-program").isEmpty());
  EXPECT_FALSE(StartCompanion({}));
}

TEST_F(HelpTest, AStubProgramReceivesTheArgumentListWhole) {
  const QString bin = Folder() + "/bin";
  ASSERT_TRUE(QDir().mkpath(bin));
  const QString out = Folder() + "/args.txt";
  QFile stub(bin + "/guideview");
  ASSERT_TRUE(stub.open(QIODevice::WriteOnly));
  stub.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1.tmp'\n"
                            "mv '%1.tmp' '%1'\n")
                 .arg(out)
                 .toUtf8());
  stub.close();
  stub.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  Context.Paths.BinDir = bin;
  Context.Paths.DataDir = "/srv/with space";
  frame = StartReady();
  frame->HelpIndex();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(out); }, 5000));
  QFile result(out);
  ASSERT_TRUE(result.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(result.readAll()).split('\n', Qt::SkipEmptyParts),
            (QStringList{"/srv/with space/Common/Help/default.htm", "/K", "Veltrimond", "/T",
                         "Veltrimond - Help", "/I", "IX"}));
}

TEST_F(HelpTest, ARunningViewerIsShownAndNothingIsStarted) {
  Ready();
  frame->HelpContents();
  ASSERT_EQ(started.size(), 1);
  EXPECT_EQ(started[0].Arguments.last(), "TOC");

  platform::InstanceServer viewer(kHelpCaption);
  ASSERT_TRUE(viewer.listening());
  QSignalSpy shown(&viewer, &platform::InstanceServer::showRequested);
  QSignalSpy closed(&viewer, &platform::InstanceServer::closeRequested);
  frame->HelpIndex();
  EXPECT_TRUE(shown.wait(2000));
  EXPECT_EQ(started.size(), 1);

  // The style editor is started when it does not answer, and left alone at the end.
  platform::InstanceServer styleEditor(kStyleEditorCaption);
  ASSERT_TRUE(styleEditor.listening());
  QSignalSpy styleShown(&styleEditor, &platform::InstanceServer::showRequested);
  QSignalSpy styleClosed(&styleEditor, &platform::InstanceServer::closeRequested);
  frame->ToolsStyleEditor();
  EXPECT_TRUE(styleShown.wait(2000));
  EXPECT_EQ(started.size(), 1);
  ASSERT_TRUE(frame->close());
  EXPECT_TRUE(closed.wait(2000));
  QTest::qWait(50);
  EXPECT_EQ(styleClosed.count(), 0);
}

TEST_F(HelpTest, AProgramThatCannotStartIsReportedAndTheEditorGoesOn) {
  Ready();
  startSucceeds = false;
  frame->ToolsStyleEditor();
  EXPECT_TRUE(frame->statusBar()->currentMessage().contains("layoutpad"));
  frame->HelpUpdate();
  ASSERT_TRUE(QTest::qWaitFor([] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
        return box->windowTitle() == "Help" && box->text().contains("guidefetch");
    return false;
  }, 2000));
  EXPECT_EQ(started.size(), 2);
  EXPECT_EQ(started[1].Arguments.at(1), "/P");
}

TEST_F(HelpTest, TheChordMapperOpensOnceAndAfresh) {
  Context.Paths.DataDir = VELTRIMOND_BUILD_DATA;
  Ready();
  EXPECT_FALSE(frame->Mapper());
  frame->mnuToolsChordMapper->trigger();
  QPointer<QWidget> first = frame->MapperWindow();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->windowTitle(), "Chord Mapper");
  EXPECT_TRUE(frame->Mapper());
  // It works on the user's own copy of the chord shapes.
  auto* mapper = first->findChild<harmonygrid::ChordMapper*>("chmMain");
  ASSERT_NE(mapper, nullptr);
  EXPECT_TRUE(mapper->Initialised());
  EXPECT_EQ(mapper->InitDir(), Context.Paths.UserDataDir + "/Config");
  EXPECT_TRUE(QFile::exists(Context.Paths.UserDataDir + "/Config/Veltrimond.cma"));

  frame->ToolsChordMapper();
  EXPECT_EQ(frame->MapperWindow(), first);
  first->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(first);
  EXPECT_FALSE(frame->Mapper());
  frame->ToolsChordMapper();
  ASSERT_TRUE(frame->MapperWindow());
  EXPECT_TRUE(frame->Mapper());
  // Closing the editor closes it too.
  QPointer<QWidget> second = frame->MapperWindow();
  ASSERT_TRUE(frame->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(second);
}

TEST_F(HelpTest, DefaultsOkWithoutEditsWritesEveryOptionsKeyAsItWas) {
  Ready();
  frame->SetDeviceLister([] { return MidiDeviceLists{}; });
  const OptionSettings before = Context.State.Options;
  WhenShown<frmVLTDefaults>([](frmVLTDefaults* d) {
    EXPECT_EQ(d->windowTitle(), "Defaults");
    EXPECT_FALSE(d->cmdApply->isEnabled());
    d->cmdOk->click();
  });
  frame->ScoreDefaults();
  EXPECT_EQ(LoadOptionSettings(), before);
  for (const char* key : {"UOM", "PageSize", "StaffHeight", "StaffSpacing", "SystemSpacing",
                          "Color0", "Color4", "Margin0", "Margin3", "ReverseEvenOdd",
                          "PageNumbering", "PageNumbering1"})
    EXPECT_TRUE(HasSetting("Options", key)) << key;
  EXPECT_EQ(Context.State.PlayDeviceID, -1);
}

TEST_F(HelpTest, DefaultsApplyThenCancelReachesTheWindowsButNotSectionOptions) {
  Ready();
  Run("NEW");
  frame->SetDeviceLister([] {
    return MidiDeviceLists{{}, {{"Software Synthesizer (GM)", -1}, {"Port A", 0}}};
  });
  WhenShown<frmVLTDefaults>([](frmVLTDefaults* d) {
    d->tabPreferences->setCurrentIndex(2);
    d->txtColorGreen[3]->setFocus();
    d->txtColorGreen[3]->selectAll();
    QTest::keyClicks(d->txtColorGreen[3], "77");
    EXPECT_TRUE(d->cmdApply->isEnabled());
    d->cmdApply->click();
    EXPECT_FALSE(d->cmdApply->isEnabled());
    d->cmdCancel->click();
  });
  frame->ScoreDefaults();
  EXPECT_EQ(Context.State.Options.Color[3], PackRgb(245, 77, 80));
  EXPECT_EQ(Windows[0]->Reloads, 1);
  EXPECT_EQ(ReadSetting("Devices", "Play"), "Software Synthesizer (GM)");
  EXPECT_EQ(ReadSetting("Devices", "Record"), "(None)");
  EXPECT_FALSE(HasSetting("Options", "Color3"));
}

TEST_F(HelpTest, DefaultsFormFollowsItsRules) {
  AppState state;
  state.Options.PageNumbering = false;
  int reloads = 0;
  frmVLTDefaults dialog(state, MidiDeviceLists{}, [&] { ++reloads; });
  EXPECT_EQ(dialog.cboInput->count(), 1);
  EXPECT_EQ(dialog.cboInput->itemText(0), "(None)");
  EXPECT_EQ(dialog.cboOutput->itemData(0).toInt(), -2);
  EXPECT_EQ(dialog.cboPage->itemText(0), "Letter (8.5 x 11)");
  // New scores take no paper from here: the list only shows, greyed.
  EXPECT_FALSE(dialog.cboPage->isEnabled());
  EXPECT_FALSE(dialog.txtPage[0]->isEnabled());
  EXPECT_EQ(dialog.cboUOM->itemText(0), "inches (\")");
  EXPECT_EQ(dialog.txtPage[0]->text(), "8.5\"");
  QStringList tabs;
  for (int i = 0; i < dialog.tabPreferences->count(); ++i)
    tabs << dialog.tabPreferences->tabText(i);
  EXPECT_EQ(tabs, (QStringList{"General", "Score", "Editor"}));
  EXPECT_EQ(dialog.findChild<QLabel*>("lblColor3")->text(), "Dynamics, Ties:");

  // Before the dialog is shown nothing counts as an edit.
  dialog.txtColorRed[0]->setText("12");
  EXPECT_FALSE(dialog.cmdApply->isEnabled());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_FALSE(dialog.cmdApply->isEnabled());

  EXPECT_FALSE(dialog.chkPage[1]->isEnabled());
  dialog.tabPreferences->setCurrentIndex(1);
  dialog.chkPage[0]->click();
  EXPECT_TRUE(dialog.chkPage[1]->isEnabled());
  EXPECT_TRUE(dialog.cmdApply->isEnabled());
  dialog.chkPage[0]->click();
  EXPECT_FALSE(dialog.chkPage[1]->isEnabled());

  // Switching the unit shows the lengths again; the page size follows.
  dialog.tabPreferences->setCurrentIndex(0);
  dialog.cboUOM->setCurrentIndex(1);
  emit dialog.cboUOM->activated(1);
  EXPECT_EQ(dialog.txtMargin[0]->text(), "25.4mm");
  EXPECT_EQ(dialog.txtPage[1]->text(), "279.4mm");
  dialog.cmdApply->click();
  EXPECT_EQ(state.Options.UOM, 1);
  EXPECT_EQ(reloads, 1);

  // The close box answers neither Ok nor Cancel.
  dialog.close();
  EXPECT_EQ(dialog.Result(), OptionsModel::kResultLoaded);
}

TEST_F(HelpTest, DefaultsAndScorePropertiesShowOneLengthWithTheSameFigures) {
  // One page and its lengths, held by the editor's defaults and by a score.
  notecraft::Score score;
  score.CreateDefault();
  score.SetUOM(notecraft::uomMM);
  score.SetPageSize(notecraft::pgsA4);
  AppState state;
  state.Options.UOM = kUnitMillimetres;
  state.Options.PageSize = notecraft::pgsA4;
  state.Options.Margin = {3, 0.5, 0.75, 1.3};
  for (int i = 0; i < 4; ++i) score.SetMargins(i, static_cast<float>(state.Options.Margin[i]));
  state.Options.StaffSpacing = score.StaffSpace();
  state.Options.SystemSpacing = score.SystemSpace();

  frmVLTDefaults defaults(state, MidiDeviceLists{}, {});
  notecraft::dialogs::frmCTXScore properties;
  properties.Init(score);
  score.SetUOM(notecraft::uomInches);  // the engine's unit is process-wide
  auto shown = [&properties](const char* name) {
    return properties.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
  };
  EXPECT_EQ(defaults.txtPage[0]->text(), "210mm");
  EXPECT_EQ(defaults.txtPage[1]->text(), "297mm");
  EXPECT_EQ(shown("txtPage0"), "210mm");
  EXPECT_EQ(shown("txtPage1"), "297mm");
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(defaults.txtMargin[static_cast<std::size_t>(i)]->text(),
              shown(qPrintable(QStringLiteral("txtMargin%1").arg(i))));
  }
  EXPECT_EQ(defaults.txtMargin[0]->text(), "76.2mm");
  EXPECT_EQ(defaults.txtDimension[1]->text(), shown("txtDimension1"));
  EXPECT_EQ(defaults.txtDimension[2]->text(), shown("txtDimension2"));

  // A length typed in millimetres reads the same after Apply, and again after the next.
  defaults.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&defaults));
  defaults.tabPreferences->setCurrentIndex(1);
  for (const char* typed : {"20", "13.3mm"}) {
    defaults.txtMargin[3]->setFocus();
    defaults.txtMargin[3]->selectAll();
    QTest::keyClicks(defaults.txtMargin[3], QString::fromLatin1(typed));
    defaults.cmdApply->click();
    EXPECT_EQ(defaults.txtMargin[3]->text(), QString::fromLatin1(typed).remove("mm") + "mm");
  }
  defaults.chkReverse->click();
  defaults.cmdApply->click();
  EXPECT_EQ(defaults.txtMargin[3]->text(), "13.3mm");
  EXPECT_EQ(defaults.txtMargin[0]->text(), "76.2mm");
  EXPECT_DOUBLE_EQ(state.Options.Margin[0], 3);
}

TEST_F(HelpTest, TheSampleDrawsInTheFiveColours) {
  AppState state;
  state.Options.Color = {PackRgb(200, 0, 0), PackRgb(0, 200, 0), PackRgb(0, 0, 200),
                         PackRgb(200, 200, 0), PackRgb(0, 200, 200)};
  frmVLTDefaults dialog(state, MidiDeviceLists{}, {});
  dialog.tabPreferences->setCurrentIndex(2);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const QImage image = dialog.pctSample->grab().toImage();
  // Staff lines at 855 + 90k twips, the bar line at 150 twips: 15 twips a pixel here.
  const double px = dialog.pctSample->logicalDpiX() / 1440.0;
  auto pixel = [&](double x, double y) {
    return image.pixelColor(static_cast<int>(x * px), static_cast<int>(y * px));
  };
  EXPECT_EQ(pixel(1450, 855 + 90 * 2), QColor(200, 0, 0));
  EXPECT_EQ(pixel(150, 1170), QColor(0, 200, 0));
  EXPECT_EQ(pixel(10, 10), QColor(Qt::white));
  // A colour typed in shows at once.
  dialog.txtColorRed[0]->setText("0");
  dialog.txtColorBlue[0]->setText("255");
  QCoreApplication::processEvents();
  const QImage after = dialog.pctSample->grab().toImage();
  EXPECT_EQ(after.pixelColor(static_cast<int>(1450 * px), static_cast<int>(1035 * px)),
            QColor(0, 0, 255));
}

TEST_F(HelpTest, AboutShowsVersionBuildAndPlacesSystemInformationOnScreen) {
  EXPECT_EQ(AboutVersionText("0.1.0", ""), "0.1.0");
  EXPECT_EQ(AboutVersionText("0.1.0", "SP1"), "0.1.0 (SP1)");
  const QRect screen(0, 0, 1024, 768);
  EXPECT_EQ(PlaceInside(QRect(100, 100, 300, 200), {60, 80}, {200, 150}, screen),
            QPoint(160, 180));
  // Near the lower right corner: moved back inside.
  EXPECT_EQ(PlaceInside(QRect(900, 700, 300, 200), {60, 80}, {200, 150}, screen),
            QPoint(824, 618));
  // Larger than the screen: its top left stays visible.
  EXPECT_EQ(PlaceInside(QRect(0, 0, 10, 10), {60, 80}, {2000, 1000}, screen), QPoint(0, 0));

  WriteSetting("Main", "Update", QStringLiteral("SP2"));
  frmVLTAbout about(TwipsPerPixel{}, Folder());
  EXPECT_EQ(about.windowTitle(), "About Veltrimond");
  EXPECT_TRUE(about.lblVersion->text().endsWith(" (SP2)"));
  EXPECT_EQ(about.lblBuild->text(), "Build: 1101");
  frmVLTSystem system(TwipsPerPixel{}, &about);
  EXPECT_EQ(system.windowTitle(), "System Information");
  EXPECT_NE(system.lblOSPlatform->text(), "");
  EXPECT_NE(system.lblWidth->text(), "###");
  EXPECT_TRUE(system.txtDevices->toPlainText().contains("MIDI output devices:"));
}

}  // namespace
}  // namespace veltrimond
