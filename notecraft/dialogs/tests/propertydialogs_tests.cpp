// The score, staff and measure property dialogs driven through QTest, shown by ShowDialog
// through the Qt dialog service.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "dialogfixtures.h"
#include "harmonygrid/qt/chordmapper.h"
#include "notecraft/core/common.h"
#include "notecraft/core/globalevent.h"
#include "notecraft/core/score_structure.h"
#include "notecraft/core/staff.h"
#include "notecraft/dialogs/frmctxdelmes.h"
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
  std::vector<int> measures;  // ActiveMeasure, in order
  void ChangeNotify(bool isChanged) override { changed += isChanged ? 1 : 0; }
  void ActiveMeasure(int number) override { measures.push_back(number); }
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
    score->SetUOM(uomInches);  // the unit is process-wide
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

TEST_F(PropertyDialogs, TheMeasureDialogLeavesTheScoreAtTheMeasureItMovedTo) {
  const auto goTo = [](frmCTXMeasure& form, const char* number) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));  // typing needs the focus
    auto* box = Control<QLineEdit>(form, "txtNumber");
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    QTest::keyClicks(box, QString::fromLatin1(number));
  };
  // Moved to measure 7 without an edit, then Ok.
  WhenModal<frmCTXMeasure>([&goTo](frmCTXMeasure& form) {
    EXPECT_EQ(Control<QLineEdit>(form, "txtNumber")->text(), "1");
    goTo(form, "7");
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
  });
  ShowDialog(*score, dlgMeasureProperties);
  EXPECT_EQ(score->SelectedMeasure(), 7);
  EXPECT_EQ(notes.measures, std::vector<int>{7});
  EXPECT_FALSE(score->Changed());

  // The delete prompt offers that measure, and the dialog opens there again; an edit there
  // lands on measure 7.
  WhenModal<frmCTXDelMes>([](frmCTXDelMes& form) {
    EXPECT_EQ(Control<QLineEdit>(form, "txtMesNo")->text(), "7");
    QTest::mouseClick(form.CancelButton(), Qt::LeftButton);
  });
  DelMeasure(*score, std::nullopt, true);
  WhenModal<frmCTXMeasure>([this](frmCTXMeasure& form) {
    EXPECT_EQ(Control<QLineEdit>(form, "txtNumber")->text(), "7");
    Click(form, "chkBars1");
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
  });
  ShowDialog(*score, dlgMeasureProperties);
  EXPECT_NE(score->AllGlobals().Item(score->AllGlobals().MeasureTime(7), evtRepeatEnd), nullptr);

  // Moved to measure 4, then Cancel: the score stays where it was.
  WhenModal<frmCTXMeasure>([&goTo](frmCTXMeasure& form) {
    goTo(form, "4");
    QTest::mouseClick(form.CancelButton(), Qt::LeftButton);
  });
  ShowDialog(*score, dlgMeasureProperties);
  EXPECT_EQ(score->SelectedMeasure(), 7);
}

TEST_F(PropertyDialogs, TheMeasureDialogShowsAndAppliesTheStaffsClefAndKeyAtALaterMeasure) {
  score->Staff(1)->SetDefaultClef(clfTreble);
  const int t9 = score->AllGlobals().MeasureTime(9);
  const auto choose = [](QComboBox* list, const char* text) {
    const int i = list->findText(QString::fromLatin1(text));
    ASSERT_GE(i, 0) << text;
    list->setCurrentIndex(i);
    emit list->activated(i);
  };
  const auto showAt = [this](int measure, std::function<void(frmCTXMeasure&)> action) {
    score->SetSelectedMeasure(Internal{}, measure);
    WhenModal<frmCTXMeasure>(std::move(action));
    ShowDialog(*score, dlgMeasureProperties);
  };
  // G major entered at measure 9.
  showAt(9, [&choose](frmCTXMeasure& form) {
    EXPECT_EQ(Control<QComboBox>(form, "cboClef")->currentText(), "Treble");
    EXPECT_EQ(Control<QComboBox>(form, "cboMajor")->currentText(), "C");
    EXPECT_TRUE(Control<QCheckBox>(form, "chkMajMin")->isChecked());
    choose(Control<QComboBox>(form, "cboMajor"), "G - 1 sharp");
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
  });
  ASSERT_NE(score->Staff(1)->GlobalEvents().Item(t9, evtKeyChange), nullptr);

  // Opened there again it shows the treble clef and G major; Ok puts the bass clef there.
  showAt(9, [&choose](frmCTXMeasure& form) {
    EXPECT_EQ(Control<QComboBox>(form, "cboClef")->currentText(), "Treble");
    EXPECT_EQ(Control<QComboBox>(form, "cboMajor")->currentText(), "G - 1 sharp");
    EXPECT_TRUE(Control<QCheckBox>(form, "chkMajMin")->isChecked());
    EXPECT_TRUE(Control<QPushButton>(form, "cmdClear")->isEnabled());
    EXPECT_FALSE(Control<QLineEdit>(form, "txtClef")->isEnabled());  // not kept by the score
    choose(Control<QComboBox>(form, "cboClef"), "Bass");
    EXPECT_TRUE(form.ApplyButton()->isEnabled());
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
  });
  const auto clef = score->Staff(1)->GlobalEvents().Item(t9, evtClefChange);
  ASSERT_NE(clef, nullptr);
  EXPECT_EQ(clef->Value1(), clfBass);
  EXPECT_TRUE(score->Changed());

  // Measure 10 is in both; unticking Major offers the relative minor of the same signature.
  showAt(10, [this](frmCTXMeasure& form) {
    EXPECT_EQ(Control<QComboBox>(form, "cboClef")->currentText(), "Bass");
    EXPECT_EQ(Control<QComboBox>(form, "cboMajor")->currentText(), "G - 1 sharp");
    EXPECT_FALSE(Control<QPushButton>(form, "cmdClear")->isEnabled());  // no change of its own
    Click(form, "chkMajMin");
    EXPECT_FALSE(Control<QCheckBox>(form, "chkMajMin")->isChecked());
    EXPECT_TRUE(Control<QComboBox>(form, "cboMinor")->isEnabled());
    EXPECT_EQ(Control<QComboBox>(form, "cboMinor")->currentText(), "E - 1 sharp");
    QTest::mouseClick(form.CancelButton(), Qt::LeftButton);
  });
}

TEST_F(PropertyDialogs, MillimetresShowPapersExactlyAndKeepWhatWasTyped) {
  score->SetUOM(uomMM);
  const auto type = [](QLineEdit* box, const char* text) {
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    QTest::keyClicks(box, QString::fromLatin1(text));
  };
  {
    frmCTXScore form;
    form.Init(*score);
    auto* paper = Control<QComboBox>(form, "cboPage");
    EXPECT_EQ(paper->itemText(pgsLeter), QStringLiteral("Letter (8.5 x 11)"));
    const struct {
      int size;
      const char *width, *height;
    } papers[] = {
        {pgsA4, "210mm", "297mm"}, {pgsA5, "148mm", "210mm"}, {pgsLeter, "215.9mm", "279.4mm"}};
    for (const auto& p : papers) {
      paper->setCurrentIndex(p.size);
      emit paper->activated(p.size);
      EXPECT_EQ(Control<QLineEdit>(form, "txtPage0")->text(), p.width);
      EXPECT_EQ(Control<QLineEdit>(form, "txtPage1")->text(), p.height);
    }
    type(Control<QLineEdit>(form, "txtMargin0"), "20");  // a bare number is in millimetres
    type(Control<QLineEdit>(form, "txtMargin2"), "12.7mm");
    type(Control<QLineEdit>(form, "txtMargin3"), "1.5cm");
    type(Control<QLineEdit>(form, "txtDimension1"), "13.3mm");
    Click(form, "cmdApply");
  }
  // Each time the dialog is opened and applied again, the lengths typed read the same.
  for (int round = 0; round < 3; ++round) {
    frmCTXScore form;
    form.Init(*score);
    EXPECT_EQ(Control<QLineEdit>(form, "txtMargin0")->text(), "20mm");
    EXPECT_EQ(Control<QLineEdit>(form, "txtMargin2")->text(), "12.7mm");
    EXPECT_EQ(Control<QLineEdit>(form, "txtMargin3")->text(), "15mm");
    EXPECT_EQ(Control<QLineEdit>(form, "txtDimension1")->text(), "13.3mm");
    QTest::keyClicks(Control<QLineEdit>(form, "txtTitle0"), QStringLiteral("!"));
    Click(form, "cmdApply");
  }
  EXPECT_FLOAT_EQ(score->Margins(marLeft), 0.5f);
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
