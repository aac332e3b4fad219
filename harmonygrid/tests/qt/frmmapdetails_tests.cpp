// The "Chord Map" dialog on Qt's offscreen platform: its controls by name, how it closes, the
// fretboard and position controls, and pictures of it saved as chordmap-open.png and
// chordmap-fret.png for a person to look at. At 96 dpi a pixel is 15 twips.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "../tablefixture.h"
#include "harmonygrid/core/clsmap.h"
#include "harmonygrid/qt/frmmapdetails.h"

namespace harmonygrid {
namespace {

using testing::Describe;

constexpr int Px = 15;

clsMap Shape(const char* key, std::vector<std::pair<int, int>> pairs, int top = 0) {
  clsMap m;
  m.SetKey(key);
  m.SetText(key);
  for (const auto& [s, f] : pairs) m.Add(s, f);
  m.SetTop(top);
  return m;
}

template <class T = QWidget>
T* Child(const QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

class ChordMapDialog : public ::testing::Test {
protected:
  void Show(const clsMap& shape) {
    m_dialog.SetMap(shape);
    Show();
  }
  void Show() {
    m_dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
  }
  void ClickFret(int string, int row) {
    const QPoint at(ShapeEditModel::StringX(string) / Px, ShapeEditModel::FretY(row) / Px);
    QTest::mouseClick(Child(m_dialog, "pctBase"), Qt::LeftButton, {}, at);
  }
  QLineEdit* Box(const char* name) { return Child<QLineEdit>(m_dialog, name); }

  frmMAPDetails m_dialog;
};

TEST_F(ChordMapDialog, HowItCloses) {
  EXPECT_EQ(m_dialog.windowTitle(), "Chord Map");
  EXPECT_EQ(m_dialog.Result(), 5);
  Show();
  QTest::mouseClick(Child<QPushButton>(m_dialog, "cmdOk"), Qt::LeftButton);
  EXPECT_EQ(m_dialog.Result(), 1);
  EXPECT_FALSE(m_dialog.isVisible());

  frmMAPDetails cancelled;
  cancelled.show();
  QTest::mouseClick(Child<QPushButton>(cancelled, "cmdCancel"), Qt::LeftButton);
  EXPECT_EQ(cancelled.Result(), 2);
  frmMAPDetails escaped;
  escaped.show();
  QTest::keyClick(&escaped, Qt::Key_Escape);
  EXPECT_EQ(escaped.Result(), 2);
  // Closed by the window's close box: the caller does nothing.
  frmMAPDetails closed;
  closed.show();
  closed.close();
  EXPECT_EQ(closed.Result(), 5);
}

TEST_F(ChordMapDialog, FretboardClicksAndTextBoxesEditTheShape) {
  Show(Shape("D", {{4, 0}, {5, 2}}));
  EXPECT_FALSE(m_dialog.Changed());
  ClickFret(4, 2);  // string 4 open -> fretted at 2
  ClickFret(5, 2);  // string 5's finger taken away
  QTest::mouseClick(Child(m_dialog, "pctBase"), Qt::LeftButton, {}, QPoint(5, 5));  // off the lines
  EXPECT_EQ(Describe(m_dialog.Map()), "D/D/0/4,2");
  Box("txtText")->selectAll();
  QTest::keyClicks(Box("txtText"), "D/F#");
  EXPECT_EQ(m_dialog.Map().Text(), "D/F#");
  EXPECT_TRUE(m_dialog.Changed());
}

TEST_F(ChordMapDialog, PositionControlsStartFromTheShape) {
  // A shape up the neck opens with "Fret:" chosen and its fret in the box.
  Show(Shape("Up", {{2, 9}, {3, 8}}, 7));
  EXPECT_TRUE(Child<QRadioButton>(m_dialog, "optPosition1")->isChecked());
  EXPECT_EQ(Box("txtPosition")->text(), "7");
  EXPECT_TRUE(Box("txtPosition")->isEnabled());
  EXPECT_TRUE(Child(m_dialog, "updPosition")->isEnabled());
  // The arrows move it; a row click is counted from it.
  QTest::mouseClick(Child<QToolButton>(m_dialog, "updPositionUp"), Qt::LeftButton);
  EXPECT_EQ(Box("txtPosition")->text(), "8");
  EXPECT_EQ(Describe(m_dialog.Map()), "Up/Up/0/2,9");  // fret 8 and below are gone
  ClickFret(6, 1);
  EXPECT_EQ(Describe(m_dialog.Map()), "Up/Up/0/2,9 6,9");
  // "Open" (clicked on its button) empties and locks the box.
  auto* open = Child<QRadioButton>(m_dialog, "optPosition0");
  QTest::mouseClick(open, Qt::LeftButton, {}, QPoint(6, open->height() / 2));
  EXPECT_EQ(Box("txtPosition")->text(), "");
  EXPECT_FALSE(Box("txtPosition")->isEnabled());
  EXPECT_EQ(m_dialog.Map().Top(), 0);
}

TEST_F(ChordMapDialog, PositionBoxTakesDigitsOnly) {
  Show();
  QTest::mouseClick(Child<QRadioButton>(m_dialog, "optPosition1"), Qt::LeftButton);
  QLineEdit* box = Box("txtPosition");
  EXPECT_EQ(box->text(), "1");
  box->setFocus();
  box->end(false);
  QTest::keyClicks(box, "x2.");
  EXPECT_EQ(box->text(), "12");
  EXPECT_EQ(m_dialog.Map().Top(), 12);
  QTest::keyClicks(box, "0");  // 120 is shown as the highest position
  EXPECT_EQ(box->text(), "27");
  EXPECT_EQ(m_dialog.Map().Top(), 27);
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(box->text(), "2");
}

TEST_F(ChordMapDialog, ReturnInThePositionBoxDoesNotCloseTheDialog) {
  Show(Shape("Up", {{2, 9}}, 7));
  m_dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dialog));
  auto* ok = Child<QPushButton>(m_dialog, "cmdOk");
  QLineEdit* box = Box("txtPosition");
  box->setFocus(Qt::TabFocusReason);
  EXPECT_FALSE(ok->isDefault());
  EXPECT_EQ(box->selectedText(), "7");  // reached by keyboard: the whole number is selected
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_TRUE(m_dialog.isVisible());
  EXPECT_EQ(m_dialog.Result(), 5);
  Box("txtKey")->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(ok->isDefault());
  QTest::keyClick(Box("txtKey"), Qt::Key_Return);
  EXPECT_EQ(m_dialog.Result(), 1);
}

TEST_F(ChordMapDialog, ShowingAShapeNeverChangesIt) {
  // Top -1 with an open and a muted string: shown as 1st fret, kept as it came.
  const clsMap odd = Shape("Odd", {{1, -1}, {2, 0}, {4, 3}}, -1);
  Show(odd);
  (void)m_dialog.grab();
  Child(m_dialog, "pctBase")->repaint();
  EXPECT_EQ(Describe(m_dialog.Map()), Describe(odd));
  EXPECT_EQ(m_dialog.Map().Top(), -1);
  EXPECT_EQ(Box("txtPosition")->text(), "1");
  EXPECT_FALSE(m_dialog.Changed());
  // Ok without an edit hands the shape back untouched.
  QTest::mouseClick(Child<QPushButton>(m_dialog, "cmdOk"), Qt::LeftButton);
  EXPECT_EQ(Describe(m_dialog.Map()), Describe(odd));
}

TEST_F(ChordMapDialog, SavedForPeopleToLookAt) {
  // An open chord (C with the low string unplayed), and a barre up the neck.
  Show(Shape("C", {{2, 3}, {3, 2}, {4, 0}, {5, 1}, {6, 0}}));
  EXPECT_TRUE(
      m_dialog.grab().save(QStringLiteral(HARMONYGRID_QT_TEST_OUTPUT "/chordmap-open.png")));
  frmMAPDetails up;
  up.SetMap(Shape("Bm7 V", {{1, 7}, {2, 9}, {3, 7}, {4, 9}, {5, 7}, {6, 7}}, 6));
  up.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&up));
  const QImage image = up.grab().toImage();
  EXPECT_TRUE(image.save(QStringLiteral(HARMONYGRID_QT_TEST_OUTPUT "/chordmap-fret.png")));
  // Fingers are dark dots centred on their string and fret line: string 2 on row 3.
  const QPoint board = Child(up, "pctBase")->mapTo(&up, QPoint(0, 0));
  const QPoint dot = board + QPoint(ShapeEditModel::StringX(2) / Px, ShapeEditModel::FretY(3) / Px);
  EXPECT_LT(qGray(image.pixel(dot + QPoint(2, 2))), 64);
  EXPECT_GT(qGray(image.pixel(board + QPoint(ShapeEditModel::StringX(2) / Px + 3,
                                             ShapeEditModel::FretY(2) / Px + 3))), 192);
}

}  // namespace
}  // namespace harmonygrid
