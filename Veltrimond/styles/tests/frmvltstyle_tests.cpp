// The Insert Style dialog on Qt's offscreen platform, over the shipped styles of the build
// tree's install folder, with a settings file of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "Veltrimond/styles/qt/frmvltstyle.h"
#include "Veltrimond/styles/stylepattern.h"
#include "notecraft/dialogs/ctxdialog.h"
#include "notecraft/dialogs/updown.h"
#include "platform/settingsstore.h"
#include "platform/tests/xdgsandbox.h"

namespace veltrimond::styles {
namespace {

const QString kShipped = QStringLiteral(STYLES_TEST_DATA "/Styles");

class InsertStyleDialogTest : public ::testing::Test {
protected:
  InsertStyleDialogTest() {
    notecraft::dialogs::SetBeeper([this] { ++beeps; });
  }
  ~InsertStyleDialogTest() override { notecraft::dialogs::SetBeeper({}); }

  template <typename T>
  T* Find(const char* name) {
    T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void Open(const QString& folder = kShipped) {
    dialog = std::make_unique<frmVLTStyle>(folder);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  }
  QStringList Items() {
    QStringList items;
    auto* list = Find<QListWidget>("lstStyle");
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
  }
  void Select(const QString& text) {
    auto* list = Find<QListWidget>("lstStyle");
    const auto found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    list->setCurrentItem(found.front());
  }
  // On the button's circle: its label may be narrower than the grid cell.
  void Choose(const char* option) {
    auto* button = Find<QRadioButton>(option);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }
  bool TransposeEnabled() {
    return Find<QLabel>("lblRoot")->isEnabled() && Find<QComboBox>("cboRoot")->isEnabled() &&
           Find<QLabel>("lblOctave")->isEnabled() && Find<QLineEdit>("txtOctave")->isEnabled() &&
           Find<QWidget>("updOctave")->isEnabled();
  }

  platform::testing::XdgSandbox sandbox;
  std::unique_ptr<frmVLTStyle> dialog;
  int beeps = 0;
};

TEST_F(InsertStyleDialogTest, OpensWithEveryStyleListedAndNothingChosen) {
  Open();
  EXPECT_EQ(dialog->windowTitle(), "Insert Style");
  EXPECT_EQ(Items().size(), static_cast<int>(dialog->Table().entries.size()));
  EXPECT_TRUE(Items().contains("Waltz - [Treble, 3/4]"));
  EXPECT_TRUE(Items().contains("Jig - [Treble, 6/8]"));
  EXPECT_EQ(Find<QPushButton>("cmdOk")->text(), "Insert");
  EXPECT_TRUE(Find<QPushButton>("cmdOk")->isDefault());
  EXPECT_FALSE(Find<QPushButton>("cmdOk")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("cmdListen")->isEnabled());
  EXPECT_FALSE(TransposeEnabled());
  EXPECT_TRUE(Find<QRadioButton>("optQuant0")->isChecked());
  EXPECT_EQ(Find<QLineEdit>("txtQuant")->text(), "1");
  EXPECT_FALSE(Find<QLineEdit>("txtThrough")->isEnabled());
  EXPECT_FALSE(Find<QLabel>("lblSkipped")->isVisible());
}

TEST_F(InsertStyleDialogTest, FiltersChosenBeforeShowingApplyAndChangesRefill) {
  dialog = std::make_unique<frmVLTStyle>(kShipped);
  dialog->SetTypeIndex(3);
  dialog->SetBeatIndex(9);         // out of range: all
  EXPECT_TRUE(Items().isEmpty());  // filled when shown
  dialog->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  for (const QString& item : Items()) EXPECT_TRUE(item.contains("[Drums, ")) << item.toStdString();
  EXPECT_GE(Items().size(), 3);

  Select("Rock Drums - [Drums, 4/4]");
  Find<QComboBox>("cboBeat")->setCurrentIndex(2);
  EXPECT_EQ(Items(), QStringList{"Waltz Drums - [Drums, 3/4]"});
  EXPECT_FALSE(Find<QPushButton>("cmdOk")->isEnabled());  // the refill dropped the choice
  Find<QComboBox>("cboType")->setCurrentIndex(1);
  Find<QComboBox>("cboBeat")->setCurrentIndex(4);
  EXPECT_EQ(Items(), QStringList{"Jig - [Treble, 6/8]"});
}

TEST_F(InsertStyleDialogTest, ChoosingAStyleEnablesInsertListenAndForPitchedStylesRootAndOctave) {
  Open();
  Select("Rock Drums - [Drums, 4/4]");
  EXPECT_TRUE(Find<QPushButton>("cmdOk")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("cmdListen")->isEnabled());
  EXPECT_FALSE(TransposeEnabled());
  EXPECT_EQ(Find<QComboBox>("cboRoot")->currentIndex(), -1);
  EXPECT_EQ(Find<QLineEdit>("txtOctave")->text(), "");

  Select("Walking Bass - [Bass, 4/4]");
  EXPECT_TRUE(TransposeEnabled());
  EXPECT_EQ(Find<QComboBox>("cboRoot")->currentText(), "C");
  EXPECT_EQ(Find<QLineEdit>("txtOctave")->text(), "0");

  Find<QListWidget>("lstStyle")->clearSelection();
  EXPECT_FALSE(Find<QPushButton>("cmdOk")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("cmdListen")->isEnabled());
  EXPECT_FALSE(TransposeEnabled());
}

TEST_F(InsertStyleDialogTest, MeasureBoxesTakeDigitsAndTheirKeywordLetter) {
  Open();
  auto* at = Find<QLineEdit>("txtAt");
  auto* quant = Find<QLineEdit>("txtQuant");
  auto* through = Find<QLineEdit>("txtThrough");

  at->setFocus();
  at->selectAll();
  QTest::keyClicks(at, "12");
  EXPECT_EQ(at->text(), "12");
  QTest::keyClick(at, 'f');
  EXPECT_EQ(at->text(), "First");
  QTest::keyClick(at, Qt::Key_Backspace);  // emptied: refilled
  EXPECT_EQ(at->text(), "First");
  EXPECT_EQ(beeps, 0);
  QTest::keyClick(at, 'x');
  QTest::keyClick(at, '-');
  EXPECT_EQ(at->text(), "First");
  EXPECT_EQ(beeps, 2);

  QTest::keyClick(quant, 'N');
  EXPECT_EQ(quant->text(), "Null");
  quant->selectAll();
  QTest::keyClick(quant, Qt::Key_Delete);
  EXPECT_EQ(quant->text(), "Null");
  QTest::keyClick(quant, 'L');  // another box's letter
  EXPECT_EQ(quant->text(), "Null");
  EXPECT_EQ(beeps, 3);

  Choose("optQuant1");
  EXPECT_TRUE(through->isEnabled());
  EXPECT_FALSE(quant->isEnabled());
  EXPECT_EQ(through->text(), "Last");
  through->selectAll();
  QTest::keyClicks(through, "7");
  EXPECT_EQ(through->text(), "7");
  QTest::keyClick(through, 'l');
  EXPECT_EQ(through->text(), "Last");
  Choose("optQuant0");
  EXPECT_TRUE(quant->isEnabled());
  EXPECT_FALSE(through->isEnabled());
}

TEST_F(InsertStyleDialogTest, OctaveStepsStayWithinThreeOctaves) {
  Open();
  Select("Ballad - [Treble, 4/4]");
  auto* updown = Find<notecraft::dialogs::UpDown>("updOctave");
  for (int i = 0; i < 5; ++i) QTest::mouseClick(updown->UpButton(), Qt::LeftButton);
  EXPECT_EQ(Find<QLineEdit>("txtOctave")->text(), "3");
  for (int i = 0; i < 8; ++i) QTest::mouseClick(updown->DownButton(), Qt::LeftButton);
  EXPECT_EQ(Find<QLineEdit>("txtOctave")->text(), "-3");
}

TEST_F(InsertStyleDialogTest, ListenStartsThePlayerWithTheStyleFile) {
  Open();
  QString program;
  QStringList arguments;
  dialog->SetPlayer("/opt/v/bin/listenbox", [&](const QString& p, const QStringList& a) {
    program = p;
    arguments = a;
    return false;  // a player that does not start changes nothing
  });
  Select("Swing Drums - [Drums, 4/4]");
  QTest::mouseClick(Find<QPushButton>("cmdListen"), Qt::LeftButton);
  EXPECT_EQ(program, "/opt/v/bin/listenbox");
  EXPECT_EQ(arguments, (QStringList{kShipped + "/Swing Drums.sty", "/s"}));
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(InsertStyleDialogTest, InsertHidesTheDialogWithTheRequestAndKeepsTheFilters) {
  Open();
  Find<QComboBox>("cboType")->setCurrentIndex(1);
  Find<QComboBox>("cboBeat")->setCurrentIndex(2);
  Select("Waltz - [Treble, 3/4]");
  Find<QComboBox>("cboRoot")->setCurrentIndex(7);  // G
  QTest::mouseClick(Find<notecraft::dialogs::UpDown>("updOctave")->DownButton(), Qt::LeftButton);
  Find<QLineEdit>("txtAt")->setText("3");
  Choose("optQuant1");
  Find<QLineEdit>("txtThrough")->setText("5");
  QTest::mouseClick(Find<QPushButton>("cmdOk"), Qt::LeftButton);

  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog->isVisible());
  const frmVLTStyle::Request request = dialog->TheRequest();
  EXPECT_EQ(request.file, kShipped + "/Waltz.sty");
  EXPECT_EQ(request.first, 3);
  EXPECT_EQ(request.end, 6);
  EXPECT_EQ(request.shift, -5);
  EXPECT_EQ(platform::ReadSettingInt("Style", "Type", -1), 1);
  EXPECT_EQ(platform::ReadSettingInt("Style", "Beat", -1), 2);
}

TEST_F(InsertStyleDialogTest, ADrumStyleAskedForTheWholeScoreIsNotShifted) {
  Open();
  Select("Rock Drums - [Drums, 4/4]");
  Find<QLineEdit>("txtAt")->setText("First");
  Choose("optQuant1");
  QTest::mouseClick(Find<QPushButton>("cmdOk"), Qt::LeftButton);
  const frmVLTStyle::Request request = dialog->TheRequest();
  EXPECT_EQ(request.first, 1);
  EXPECT_EQ(request.end, kToScoreEnd);
  EXPECT_EQ(request.shift, 0);
}

TEST_F(InsertStyleDialogTest, CancelWritesNothing) {
  Open();
  Find<QComboBox>("cboType")->setCurrentIndex(2);
  Select("Walking Bass - [Bass, 4/4]");
  QTest::mouseClick(Find<QPushButton>("cmdCancel"), Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_FALSE(platform::HasSetting("Style", "Type"));
  EXPECT_FALSE(platform::HasSetting("Style", "Beat"));
}

TEST_F(InsertStyleDialogTest, UnusableFilesAreNamedBelowTheList) {
  QTemporaryDir folder;
  ASSERT_TRUE(QFile::copy(kShipped + "/Waltz.sty", folder.path() + "/Waltz.sty"));
  QFile broken(folder.path() + "/Broken.sty");
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("Vm00 but nothing after it");
  broken.close();
  Open(folder.path());
  EXPECT_EQ(Items(), QStringList{"Waltz - [Treble, 3/4]"});
  auto* skipped = Find<QLabel>("lblSkipped");
  EXPECT_TRUE(skipped->isVisible());
  EXPECT_TRUE(skipped->text().contains("Broken.sty")) << skipped->text().toStdString();
}

TEST_F(InsertStyleDialogTest, AFolderWithoutStylesSaysSo) {
  Open(QString());
  EXPECT_TRUE(Items().isEmpty());
  Open(sandbox.Root() + "/none");
  EXPECT_TRUE(Items().isEmpty());
  EXPECT_TRUE(Find<QLabel>("lblSkipped")->isVisible());
  EXPECT_TRUE(Find<QLabel>("lblSkipped")->text().contains(sandbox.Root() + "/none"));
}

}  // namespace
}  // namespace veltrimond::styles

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
