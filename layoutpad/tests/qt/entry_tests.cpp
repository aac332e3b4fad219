// Note entry through the window: the type list, the note tools, clicks on the page, the
// pointer and the arrow keys.
#include <QKeyEvent>

#include "editorfixture.h"
#include "layoutpad/core/styletype.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/note.h"

namespace layoutpad::testing {
namespace {

TEST_F(StyleEditorTest, WithoutANoteToolClicksAddNothingAndThePointerStaysAnArrow) {
  Open();
  const QPoint onStaff = StaffPoint();
  QTest::mouseMove(Page(), onStaff);
  EXPECT_EQ(Page()->cursor().shape(), Qt::ArrowCursor);
  ClickPage(onStaff);
  EXPECT_EQ(NoteCount(), 0);
  EXPECT_FALSE(Button("cmdSave")->isEnabled());

  ClickTool("N08");
  EXPECT_EQ(window->CurrentTool(), 8);
  QTest::mouseMove(Page(), QPoint(onStaff.x(), Page()->height() - 2));
  QTest::mouseMove(Page(), onStaff);
  EXPECT_EQ(Page()->cursor().shape(), Qt::CrossCursor);
  QTest::mouseMove(Page(), QPoint(onStaff.x(), Page()->height() - 2));
  EXPECT_EQ(Page()->cursor().shape(), Qt::ArrowCursor) << "off the staff";
}

TEST_F(StyleEditorTest, AClickOnTheStaffEntersTheToolsNoteWithItsEnhancements) {
  Open();
  ClickTool("N04");
  ClickTool("Stac");
  ClickTool("Trip");
  ClickPage(StaffPoint());
  ASSERT_EQ(NoteCount(), 1);
  auto note = FirstNote();
  EXPECT_EQ(note->Duration(), notecraft::durQuarter);
  EXPECT_EQ(note->Flags() & (notecraft::nteStacato | notecraft::nteTriplet | notecraft::nteDot),
            notecraft::nteStacato | notecraft::nteTriplet);
  EXPECT_TRUE(window->LastNoteEntered());
  EXPECT_TRUE(Button("cmdSave")->isEnabled());
}

TEST_F(StyleEditorTest, ArrowKeysWaitForANoteThenMoveIt) {
  Open();
  ClickTool("N04");
  QTest::keyClick(window.get(), Qt::Key_Up);
  EXPECT_EQ(NoteCount(), 0);
  EXPECT_FALSE(Style().Changed()) << "no note to move yet";

  ClickPage(StaffPoint());
  ASSERT_EQ(NoteCount(), 1);
  const int pitch = FirstNote()->Value(0);
  QTest::keyClick(window.get(), Qt::Key_Up);
  EXPECT_EQ(FirstNote()->Value(0), pitch + 1);
  // The key goes to the note, not to the list that has the focus.
  Names()->setFocus();
  QTest::keyClick(Names(), Qt::Key_Down);
  EXPECT_EQ(FirstNote()->Value(0), pitch);
  EXPECT_EQ(Names()->currentIndex(), 0);
  const int time = FirstNote()->NoteTime();
  QTest::keyClick(window.get(), Qt::Key_Right);
  EXPECT_EQ(FirstNote()->NoteTime(), time + 4) << "a sixteenth later";

  // A new style forgets the note entered last.
  prompter->answers = {Answer::No};
  Choose(Names(), 0);
  EXPECT_FALSE(window->LastNoteEntered());
  EXPECT_EQ(window->CurrentTool(), 0);
}

TEST_F(StyleEditorTest, TypeChangesRebuildOnlyWhenTheClefDiffers) {
  Open();
  ClickTool("N04");
  ClickPage(StaffPoint());
  ASSERT_EQ(NoteCount(), 1);
  ChooseType(StyleType::Treble);
  EXPECT_EQ(NoteCount(), 1) << "the style is treble already";

  Style().SetChanged(false);
  ChooseType(StyleType::Bass);
  EXPECT_EQ(NoteCount(), 0);
  EXPECT_TRUE(Button("cmdSave")->isEnabled()) << "the style is not the one on disk";
  EXPECT_EQ(Style().Staff(1)->DefaultClef(), notecraft::clfBass);
  EXPECT_FALSE(window->LastNoteEntered());
  EXPECT_TRUE(Child<QToolButton>("Dot")->isVisible());

  ChooseType(StyleType::Drums);
  EXPECT_EQ(Style().Staff(1)->DefaultClef(), notecraft::clfPercussion);
  auto* drums = Child<QComboBox>("cboDrum");
  EXPECT_TRUE(drums->isVisible());
  EXPECT_EQ(drums->count(), 8);
  EXPECT_FALSE(Child<QToolButton>("Dot")->isVisible());
  EXPECT_FALSE(Child<QToolButton>("Stac")->isVisible());

  ChooseType(StyleType::Treble);
  EXPECT_FALSE(drums->isVisible());
}

TEST_F(StyleEditorTest, DrumNotesPlayTheChosenDrumAndNeverCarryDotOrStaccato) {
  Open();
  ClickTool("Dot");
  ClickTool("Stac");
  ChooseType(StyleType::Drums);
  auto* drums = Child<QComboBox>("cboDrum");
  Choose(drums, 2);  // the third slot: the snare
  ClickTool("N08");
  ClickPage(StaffPoint());
  ASSERT_EQ(NoteCount(), 1);
  auto note = FirstNote();
  EXPECT_EQ(note->Value(0), kDrumKit[2].Value);
  EXPECT_EQ(note->Flags() & (notecraft::nteDot | notecraft::nteStacato), 0);
  EXPECT_EQ(note->Duration(), notecraft::durEighth);
}

}  // namespace
}  // namespace layoutpad::testing
