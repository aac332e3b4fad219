// The window as it opens: caption, size, list, the new style it makes, and Save following
// the changed state.
#include <QLabel>

#include "editorfixture.h"
#include "notecraft/core/enums.h"

namespace layoutpad::testing {
namespace {

TEST_F(StyleEditorTest, OpensOnANewStyleWithTheFolderListed) {
  for (const char* name : {"Waltz", "Rock"}) {
    QFile file(StyleFile(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  frmSYLMain& w = Open();
  EXPECT_EQ(w.windowTitle(), "Veltrimond Style Editor");
  EXPECT_EQ(w.minimumSize(), QSize(300, 338)) << "4500 x 5070 twips";
  EXPECT_EQ(Entries(), (QStringList{"(New Style)", "Rock", "Waltz"}));
  EXPECT_EQ(Names()->currentIndex(), 0);
  EXPECT_TRUE(w.Ready());
  EXPECT_EQ(w.CurrentStyleName(), "(New Style)");
  EXPECT_EQ(Types()->currentText(), "Treble");
  EXPECT_FALSE(Button("cmdSave")->isEnabled());
  EXPECT_FALSE(Button("cmdDelete")->isEnabled());
  EXPECT_FALSE(Child<QComboBox>("cboDrum")->isVisible());

  notecraft::Score& style = Style();
  EXPECT_EQ(style.Staffs(), 1);
  EXPECT_EQ(style.Staff(1)->Flags(), notecraft::stfPrintDynamics);
  EXPECT_EQ(style.AllGlobals().DftTimeVal(), 528);
  EXPECT_EQ(style.Title(), "");
  EXPECT_EQ(style.Composer(), "");
  EXPECT_FALSE(style.Metronome());
  EXPECT_FLOAT_EQ(style.Margins(notecraft::marTop), 0.25f);
  EXPECT_FLOAT_EQ(style.Margins(notecraft::marBottom), 0.0f);
  EXPECT_FLOAT_EQ(style.StaffHeight(), 0.28f);
  EXPECT_FLOAT_EQ(style.SystemSpace(), 0.4f);
  EXPECT_FALSE(style.Changed());

  // The page fills the edit area, less its 30-twip border.
  auto* edit = Child<QWidget>("pctEdit");
  EXPECT_EQ(style.PageWidthTwips(), edit->width() * 15 - 60);
  EXPECT_EQ(style.PageHeightTwips(), edit->height() * 15 - 60);

  style.SetChanged(true);
  EXPECT_TRUE(Button("cmdSave")->isEnabled());
  style.SetChanged(false);
  EXPECT_FALSE(Button("cmdSave")->isEnabled());
}

TEST_F(StyleEditorTest, ResizingFollowsWithThePageButChangesNothing) {
  frmSYLMain& w = Open();
  w.resize(200, 200);
  EXPECT_GE(w.width(), 300);
  EXPECT_GE(w.height(), 338);
  w.resize(900, 700);
  auto* edit = Child<QWidget>("pctEdit");
  QTRY_COMPARE(Style().PageWidthTwips(), edit->width() * 15 - 60);
  EXPECT_EQ(Style().PageHeightTwips(), edit->height() * 15 - 60);
  EXPECT_EQ(Page()->width(), (edit->width() * 15 - 60) / 15);
  EXPECT_FALSE(Style().Changed());
  EXPECT_FALSE(Button("cmdSave")->isEnabled());
}

}  // namespace
}  // namespace layoutpad::testing
