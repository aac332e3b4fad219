// What Score > Defaults gives a new score: File > New in the editor's frame lays the new
// score out with the defaults held now, and after a restart with those read back from the
// settings file; scores already open keep their own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cmath>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/child/chdvltmain_menus.h"
#include "Veltrimond/child/chdvltmain_toolbar.h"
#include "Veltrimond/child/newscoredefaults.h"
#include "Veltrimond/options/frmvltdefaults.h"
#include "Veltrimond/options/measureunits.h"
#include "editor_fixture.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/qt/musicfontloader.h"
#include "qstring_printer.h"

namespace veltrimond::testing {
namespace {

double Millimetres(float inches) {
  return std::round(inches * 25.4 * 10) / 10;
}

class NewScoreDefaultsTest : public EditorFixture {
protected:
  mdiVLTMain* StartWithScoreWindows() {
    static const bool fontLoaded = notecraft::LoadMusicFont();
    (void)fontLoaded;
    mdiVLTMain* frame = StartReady();
    frame->SetDeviceLister([] { return MidiDeviceLists{}; });
    Context.NewScoreWindow = [this](AppContext& context, IFrame& parent) -> IScoreWindow* {
      auto* window = new chdVLTMain(context, parent);
      window->Prompts.AskSaveChanges = [](const QString&, const QString&) {
        return int(QMessageBox::No);
      };
      ScoreWindows.append(window);
      return window;
    };
    return frame;
  }

  // File > New; the new window's score.
  notecraft::Score& NewScore(mdiVLTMain* frame) {
    frame->DoFunction(QStringLiteral("NEW"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(ScoreWindows.isEmpty());
    EXPECT_TRUE(ScoreWindows.last()->Untitled());
    return ScoreWindows.last()->Score();
  }

  // Score > Defaults: the dialog edited as the user would, then Ok.
  void SetDefaults(mdiVLTMain* frame) {
    QTimer::singleShot(0, frame, [] {
      auto* dialog = qobject_cast<frmVLTDefaults*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      OptionsModel& model = dialog->Model();
      model.SetUnit(kUnitMillimetres);
      model.SetDimensionText(0, QStringLiteral("7.1mm"));
      model.SetDimensionText(2, QStringLiteral("30mm"));
      model.SetMarginText(2, QStringLiteral("12mm"));
      model.SetPageNumbering(true);
      model.SetPageNumbering1(false);
      model.SetReverseEvenOdd(false);
      dialog->cmdOk->click();
    });
    frame->ScoreDefaults();
  }

  void ExpectTheDefaults(const notecraft::Score& score) {
    EXPECT_EQ(Millimetres(score.StaffHeight()), 7.1);
    EXPECT_EQ(Millimetres(score.SystemSpace()), 30.0);
    EXPECT_EQ(Millimetres(score.Margins(notecraft::marLeft)), 12.0);
    EXPECT_EQ(score.PageNums(), notecraft::pgnAllPages);
    EXPECT_FALSE(score.ReverseEvenOdd());
    EXPECT_FALSE(score.Changed()) << "a new score has nothing to save";
  }

  QList<QPointer<chdVLTMain>> ScoreWindows;
};

TEST_F(NewScoreDefaultsTest, FileNewTakesTheDefaultsAlsoAfterARestart) {
  mdiVLTMain* frame = StartWithScoreWindows();
  notecraft::Score& before = NewScore(frame);
  EXPECT_EQ(Millimetres(before.StaffHeight()), 7.1) << "the defaults' own staff height";
  before.SetStaffHeight(0.4f);  // an open score of its own

  SetDefaults(frame);
  {
    SCOPED_TRACE("after the dialog");
    ExpectTheDefaults(NewScore(frame));
  }
  EXPECT_EQ(ScoreWindows[0]->Score().StaffHeight(), 0.4f) << "open scores keep their own";

  // Discarding a new score's changes makes it a new score again, with the defaults.
  chdVLTMain& window = *ScoreWindows.last();
  window.Score().SetStaffHeight(0.5f);
  window.Score().SetPageNums(notecraft::pgnNoPageNumbers);
  window.MenuCommands()->Prompts.YesNoCancel = [](const QString&, const QString&) {
    return 6;  // Yes
  };
  window.Toolbar()->Button(QStringLiteral("Cancel"))->trigger();
  {
    SCOPED_TRACE("after Discard Changes");
    ExpectTheDefaults(window.Score());
  }

  // Restarted with nothing in memory: the settings file gives them back.
  StopEditor();
  ScoreWindows.clear();
  Context.State = AppState{};
  frame = StartWithScoreWindows();
  SCOPED_TRACE("after a restart");
  ExpectTheDefaults(NewScore(frame));
}

TEST_F(NewScoreDefaultsTest, TheSwitchesGiveTheirPageNumbersAndAnEmptyStaffHeightIsNotTaken) {
  struct Case {
    bool numbering, exceptFirst;
    int pageNums;
  } cases[] = {{false, false, notecraft::pgnNoPageNumbers},
               {false, true, notecraft::pgnNoPageNumbers},
               {true, false, notecraft::pgnAllPages},
               {true, true, notecraft::pgnNoPageOne}};
  for (const Case& c : cases) {
    OptionSettings options;
    options.PageNumbering = c.numbering;
    options.PageNumbering1 = c.exceptFirst;
    EXPECT_EQ(PageNumsOf(options), c.pageNums) << c.numbering << c.exceptFirst;
  }
  OptionSettings empty;
  empty.StaffHeight = 0;
  notecraft::Score score;
  ApplyNewScoreDefaults(score, empty);
  score.CreateDefault();
  EXPECT_EQ(score.StaffHeight(), 0.4f);
  EXPECT_FALSE(score.Changed());
}

}  // namespace
}  // namespace veltrimond::testing
