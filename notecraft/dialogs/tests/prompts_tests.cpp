// The insert and delete prompts driven through QTest while the score's structural edits wait
// for them, shown by the Qt dialog service.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "dialogfixtures.h"
#include "notecraft/core/common.h"
#include "notecraft/core/score_structure.h"
#include "notecraft/dialogs/frmctxdelmes.h"
#include "notecraft/dialogs/frmctxdelstaff.h"
#include "notecraft/dialogs/frmctxinsmes.h"
#include "notecraft/dialogs/frmctxinsstaff.h"
#include "notecraft/dialogs/qtdialogservice.h"
#include "notecraft/dialogs/updown.h"

namespace notecraft::dialogs {
namespace {

using testing::Control;
using testing::MakeScore;
using testing::WhenModal;

class Prompts : public ::testing::Test {
protected:
  void SetUp() override {
    SetDialogService(&service);
    SetBeeper([this] { ++beeps; });
    score = MakeScore({"Piano", "", "Violin"});
    for (int t = 0; t < 6 * 64; t += 64) score->Staff(1)->Voice(1)->Notes().Add(t, 60, 16, 0);
    score->SetChanged(false);
  }
  void TearDown() override {
    SetBeeper({});
    SetDialogService(nullptr);
  }
  std::vector<int> NoteTimes() {
    std::vector<int> times;
    for (const auto& n : score->Staff(1)->Voice(1)->Notes()) times.push_back(n->NoteTime());
    return times;
  }
  // Replaces a box's text as the user would: focus, select all, type.
  static void Type(QLineEdit* box, const char* text) {
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, QString::fromLatin1(text));
  }

  QtDialogService service;
  std::unique_ptr<Score> score;
  int beeps = 0;
};

TEST_F(Prompts, DeleteMeasureReadsBothBoxes) {
  WhenModal<frmCTXDelMes>([this](frmCTXDelMes& form) {
    EXPECT_EQ(Control<QLineEdit>(form, "txtMesNo")->text(), "3");  // the caller's preset
    Type(Control<QLineEdit>(form, "txtQuant"), "2");
    QTest::mouseClick(Control<QPushButton>(form, "cmdOk"), Qt::LeftButton);
  });
  DelMeasure(*score, 3, true);
  EXPECT_EQ(TheCommon().DialogResult, 1);
  EXPECT_EQ(NoteTimes(), (std::vector<int>{0, 64, 128, 192}));
}

TEST_F(Prompts, AMeasureNumberOfZeroDeletesTheFirstMeasure) {
  WhenModal<frmCTXDelMes>([](frmCTXDelMes& form) {
    Type(Control<QLineEdit>(form, "txtMesNo"), "0");
    QTest::keyClick(Control<QLineEdit>(form, "txtMesNo"), Qt::Key_Return);  // Enter presses Ok
  });
  DelMeasure(*score, 3, true);
  EXPECT_EQ(NoteTimes(), (std::vector<int>{0, 64, 128, 192, 256}));
}

TEST_F(Prompts, QuantityIsFilteredAndClamped) {
  frmCTXDelMes form;
  form.Init(*score);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  auto* quantity = Control<QLineEdit>(form, "txtQuant");
  Type(quantity, "0");
  Control<QLineEdit>(form, "txtMesNo")->setFocus(Qt::TabFocusReason);  // leaving validates
  EXPECT_EQ(quantity->text(), "1");
  Type(quantity, "99");
  Control<QLineEdit>(form, "txtMesNo")->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(quantity->text(), "24");
  beeps = 0;
  Type(quantity, "3x-");
  EXPECT_EQ(quantity->text(), "3");
  EXPECT_EQ(beeps, 2);

  // Ok validates the box that still has the focus.
  Type(quantity, "30");
  QTest::mouseClick(Control<QPushButton>(form, "cmdOk"), Qt::LeftButton);
  EXPECT_EQ(form.Answer().Quantity, 24);
}

TEST_F(Prompts, MeasureSpinStaysInsideItsRange) {
  frmCTXInsMes form;
  form.Init(*score);
  auto* spin = Control<UpDown>(form, "updMesNo");
  auto* box = Control<QLineEdit>(form, "txtMesNo");
  QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
  EXPECT_EQ(box->text(), "1");
  form.SetMeasureNumber(99999);
  QTest::mouseClick(spin->UpButton(), Qt::LeftButton);
  EXPECT_EQ(box->text(), "99999");
  QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
  EXPECT_EQ(box->text(), "99998");
}

TEST_F(Prompts, CancelAndTheCloseBoxDoNothing) {
  WhenModal<frmCTXDelMes>([](frmCTXDelMes& form) { QTest::keyClick(&form, Qt::Key_Escape); });
  DelMeasure(*score, 2, true);
  EXPECT_EQ(TheCommon().DialogResult, 2);
  WhenModal<frmCTXDelMes>([](frmCTXDelMes& form) { form.close(); });
  DelMeasure(*score, 2, true);
  EXPECT_EQ(TheCommon().DialogResult, 5);
  EXPECT_EQ(NoteTimes().size(), 6u);
  EXPECT_FALSE(score->Changed());
}

TEST_F(Prompts, DeleteStaffByItsListEntry) {
  frmCTXDelStaff form;
  form.Init(*score);
  auto* list = Control<QComboBox>(form, "cboStaff");
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  EXPECT_EQ(items, (QStringList{"First", "Last", "1: Piano", "2", "3: Violin"}));
  EXPECT_EQ(list->currentIndex(), 1);
  form.SetStaff(3);  // the staff proposed
  EXPECT_EQ(list->currentText(), "3: Violin");
  form.SetStaff(4);  // no such staff: kept
  EXPECT_EQ(list->currentText(), "3: Violin");

  WhenModal<frmCTXDelStaff>([](frmCTXDelStaff& f) {
    Control<QComboBox>(f, "cboStaff")->setCurrentIndex(3);  // the bare "2"
    QTest::mouseClick(Control<QPushButton>(f, "cmdOk"), Qt::LeftButton);
  });
  DelStaff(*score, std::nullopt, true);
  ASSERT_EQ(score->Staffs(), 2);
  EXPECT_EQ(score->Staff(2)->Description(), "Violin");

  WhenModal<frmCTXDelStaff>([](frmCTXDelStaff& f) {  // "Last", three of them
    EXPECT_EQ(Control<QComboBox>(f, "cboStaff")->currentText(), "1: Piano");  // the selected
    Control<QComboBox>(f, "cboStaff")->setCurrentIndex(1);
    Type(Control<QLineEdit>(f, "txtQuant"), "3");
    QTest::mouseClick(Control<QPushButton>(f, "cmdOk"), Qt::LeftButton);
  });
  DelStaff(*score, std::nullopt, true);
  ASSERT_EQ(score->Staffs(), 1);
  EXPECT_EQ(score->Staff(1)->Description(), "Piano");
}

TEST_F(Prompts, InsertMeasureAfterAMeasure) {
  WhenModal<frmCTXInsMes>([](frmCTXInsMes& form) {
    EXPECT_TRUE(Control<QRadioButton>(form, "optWhere0")->isChecked());
    Type(Control<QLineEdit>(form, "txtMesNo"), "4");
    QTest::mouseClick(Control<QRadioButton>(form, "optWhere1"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(form, "cmdOk"), Qt::LeftButton);
  });
  AddMeasure(*score, 2, false, true);
  EXPECT_EQ(NoteTimes(), (std::vector<int>{0, 64, 128, 192, 320, 384}));
}

TEST_F(Prompts, InsertStaffDefaultsAndQuantity) {
  frmCTXInsStaff form;
  form.Init(*score);
  EXPECT_EQ(Control<QComboBox>(form, "cboStaff")->currentText(), "Last");
  EXPECT_TRUE(Control<QRadioButton>(form, "optWhere1")->isChecked());
  EXPECT_EQ(Control<QLineEdit>(form, "txtVoices")->text(), "1");
  EXPECT_EQ(Control<QComboBox>(form, "cboClef")->currentText(), "Treble");
  EXPECT_EQ(Control<QComboBox>(form, "cboCategory")->currentText(), "Wind");
  EXPECT_EQ(Control<QComboBox>(form, "cboCategory")->count(), 9);  // no drums
  Control<QComboBox>(form, "cboCategory")->setCurrentIndex(catSolo);
  EXPECT_EQ(Control<QComboBox>(form, "cboType")->count(), InstrumentTable::kRows);

  WhenModal<frmCTXInsStaff>([](frmCTXInsStaff& f) {
    Type(Control<QLineEdit>(f, "txtQuant"), "40");
    QTest::keyClick(Control<QLineEdit>(f, "txtQuant"), Qt::Key_Return);
  });
  AddStaff(*score, std::nullopt, true);
  ASSERT_EQ(score->Staffs(), 3 + 24);
  EXPECT_EQ(score->Staff(27)->Voice(1)->Instrument()->Category(), catWind);

  WhenModal<frmCTXInsStaff>([](frmCTXInsStaff& f) { f.close(); });
  AddStaff(*score, std::nullopt, true);
  EXPECT_EQ(score->Staffs(), 27);
}

}  // namespace
}  // namespace notecraft::dialogs
