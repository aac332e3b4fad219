// The score, staff and measure property dialogs driven through QTest, shown by ShowDialog
// through the Qt dialog service.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include "dialogfixtures.h"
#include "harmonygrid/qt/chordmapper.h"
#include "notecraft/core/common.h"
#include "notecraft/core/score_structure.h"
#include "notecraft/dialogs/frmctxmeasure.h"
#include "notecraft/dialogs/frmctxscore.h"
#include "notecraft/dialogs/frmctxstaff.h"
#include "notecraft/dialogs/qtdialogservice.h"
#include "notecraft/dialogs/updown.h"

namespace notecraft::dialogs {
namespace {

using testing::Control;
using testing::MakeScore;
using testing::WhenModal;

class ChangeCount : public ScoreEvents {
public:
  int changed = 0;
  void ChangeNotify(bool isChanged) override { changed += isChanged ? 1 : 0; }
};

class PropertyDialogs : public ::testing::Test {
protected:
  void SetUp() override {
    SetDialogService(&service);
    score = MakeScore({"Piano", "Bass"});
    score->AddListener(&notes);
  }
  void TearDown() override {
    score->RemoveListener(&notes);
    SetFontPicker({});
    SetDialogService(nullptr);
  }
  // Clicks near the left edge, where a check box has its indicator.
  static void Click(QWidget& form, const char* name) {
    QWidget* w = Control<QWidget>(form, name);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
  }

  QtDialogService service;
  std::unique_ptr<Score> score;
  ChangeCount notes;
};

TEST_F(PropertyDialogs, OkWithoutEditsChangesNothing) {
  for (int dialog : {dlgScoreProperties, dlgStaffProperties, dlgMeasureProperties}) {
    SCOPED_TRACE(dialog);
    WhenModal<CtxDialog>([](CtxDialog& form) {
      EXPECT_FALSE(form.ApplyButton()->isEnabled());  // filling the form is not an edit
      QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    });
    ShowDialog(*score, dialog);
    EXPECT_EQ(TheCommon().DialogResult, 1);
    EXPECT_FALSE(score->Changed());
    EXPECT_EQ(notes.changed, 0);
  }
}

TEST_F(PropertyDialogs, ApplyWritesOnceAndOkNotifiesAfterwards) {
  WhenModal<frmCTXScore>([this](frmCTXScore& form) {
    auto* title = Control<QLineEdit>(form, "txtTitle0");
    QTest::keyClicks(title, QStringLiteral("!"));
    EXPECT_TRUE(form.ApplyButton()->isEnabled());
    QTest::mouseClick(form.ApplyButton(), Qt::LeftButton);
    EXPECT_FALSE(form.ApplyButton()->isEnabled());
    EXPECT_EQ(score->Title(), "New Score!");
    const int before = notes.changed;
    QTest::mouseClick(form.ApplyButton(), Qt::LeftButton);  // disabled: nothing
    EXPECT_EQ(notes.changed, before);
    QTest::mouseClick(form.CancelButton(), Qt::LeftButton);  // applied changes stay
  });
  ShowDialog(*score, dlgScoreProperties);
  EXPECT_EQ(TheCommon().DialogResult, 2);
  EXPECT_EQ(score->Title(), "New Score!");
  EXPECT_GE(notes.changed, 2);  // during Apply, and once more after the dialog
}

TEST_F(PropertyDialogs, TheFontPicker) {
  SetFontPicker([](const QFont&, QWidget*) { return std::optional<QFont>(); });  // cancelled
  frmCTXScore form;
  form.Init(*score);
  Click(form, "cmdFont0");
  EXPECT_FALSE(form.ApplyButton()->isEnabled());

  SetFontPicker([](const QFont& initial, QWidget*) {
    QFont chosen = initial;
    chosen.setItalic(true);
    chosen.setPointSize(18);
    return std::optional<QFont>(chosen);
  });
  Click(form, "cmdFont0");
  EXPECT_TRUE(form.ApplyButton()->isEnabled());
  Click(form, "cmdApply");
  EXPECT_TRUE(score->Fonts(fntTitle)->Italic);
  EXPECT_FLOAT_EQ(score->Fonts(fntTitle)->Size, 18.0f);
}

TEST_F(PropertyDialogs, TheChordMapperEditsTheScoresTable) {
  WhenModal<frmCTXScore>([this](frmCTXScore& form) {
    auto* mapper = Control<harmonygrid::ChordMapper>(form, "chmChord");
    EXPECT_EQ(mapper->Chord().get(), score->Chord());
    form.close();
  });
  ShowDialog(*score, dlgScoreProperties);
  EXPECT_EQ(TheCommon().DialogResult, 5);
}

TEST_F(PropertyDialogs, SelectAllOnKeyboardFocusOnly) {
  frmCTXScore form;
  form.Init(*score);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  auto* title = Control<QLineEdit>(form, "txtTitle0");
  auto* composer = Control<QLineEdit>(form, "txtComposer0");
  title->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(title->selectedText(), title->text());
  composer->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  EXPECT_TRUE(composer->selectedText().isEmpty());
}

TEST_F(PropertyDialogs, StaffHeightIsClampedOnApply) {
  score->Staff(2)->SetSelected(true);
  WhenModal<frmCTXStaff>([](frmCTXStaff& form) {
    auto* height = Control<QLineEdit>(form, "txtHeight");
    height->setFocus(Qt::TabFocusReason);
    height->selectAll();
    QTest::keyClicks(height, QStringLiteral("10"));
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
  });
  ShowDialog(*score, dlgStaffProperties);
  EXPECT_EQ(score->Staff(2)->ScalePct(), 25);
  EXPECT_EQ(score->Staff(1)->ScalePct(), 100);
}

TEST_F(PropertyDialogs, MeasureDialogControls) {
  frmCTXMeasure form;
  form.Init(*score);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  Click(form, "chkBars3");
  EXPECT_FALSE(Control<QCheckBox>(form, "chkBars1")->isEnabled());
  EXPECT_FALSE(Control<QCheckBox>(form, "chkBars2")->isEnabled());
  EXPECT_TRUE(Control<QCheckBox>(form, "chkBars0")->isEnabled());
  EXPECT_TRUE(form.ApplyButton()->isEnabled());

  // Time change at measure 1 (common time): choosing 3/4 offers Restore, Restore goes back.
  auto* clearRestore = Control<QPushButton>(form, "cmdClearRest");
  EXPECT_EQ(clearRestore->text(), "Clear");
  Click(form, "optTime4");
  EXPECT_EQ(clearRestore->text(), "Restore");
  Click(form, "cmdClearRest");
  EXPECT_EQ(clearRestore->text(), "Clear");

  // The spin moves to measure 2, applying measure 1 first.
  QTest::mouseClick(Control<UpDown>(form, "updNumber")->UpButton(), Qt::LeftButton);
  EXPECT_EQ(Control<QLineEdit>(form, "txtNumber")->text(), "2");
  EXPECT_NE(score->AllGlobals().Item(0, evtScoreEnd), nullptr);
  EXPECT_FALSE(Control<QCheckBox>(form, "chkBars3")->isChecked());
}

TEST_F(PropertyDialogs, PlacedAtTheGivenTwipsOrCentred) {
  frmCTXStaff form;
  form.Init(*score);
  form.PlaceAt(1500, 3000);  // 15 twips a pixel
  EXPECT_EQ(form.pos(), QPoint(100, 200));
  form.PlaceAt(std::nullopt, std::nullopt);
  const QRect screen = form.screen()->geometry();
  const QSize size = form.frameGeometry().size().expandedTo(form.sizeHint());
  EXPECT_NEAR(form.x(), screen.x() + (screen.width() - size.width()) / 2, 1);
  EXPECT_NEAR(form.y(), screen.y() + (screen.height() - size.height()) * 0.42, 1);
}

}  // namespace
}  // namespace notecraft::dialogs
