// The chord mapper control on Qt's offscreen platform: its parts, selection, New and
// Properties through the "Chord Map" dialog, scrolling, and a picture of it with the shipped
// shapes saved as chordmapper.png for a person to look at. At 96 dpi a pixel is 15 twips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "../tablefixture.h"
#include "harmonygrid/core/chord.h"
#include "harmonygrid/core/clsmap.h"
#include "harmonygrid/core/shapeeditmodel.h"
#include "harmonygrid/draw/recordingsurface.h"
#include "harmonygrid/qt/chordmapper.h"
#include "harmonygrid/qt/frmmapdetails.h"
#include "modalhelper.h"

namespace harmonygrid {
namespace {

using testing::Describe;
using testing::TempDir;
using testing::WhenModal;

constexpr int Px = 15;

// Sorted: Am, C, D, Em, G.
constexpr const char* kTable =
    "C;C;0;2,3;3,2;4,0;5,1;6,0\n"
    "D;D;1;3,0;4,2;5,3;6,2\n"
    "Em;Em;2;1,0;2,2;3,2;4,0;5,0;6,0\n"
    "G;G;3;1,3;2,2;3,0;4,0;5,0;6,3\n"
    "Am;Am;4;2,0;3,2;4,2;5,1;6,0\n";

// A host's table, as a score holds it after Refresh.
std::shared_ptr<Chord> HostTable(const TempDir& dir) {
  dir.Write("Veltrimond.cma", kTable);
  auto table = std::make_shared<Chord>();
  table->SetInitDir(dir.Path().string());
  table->Refresh();
  return table;
}

int Position(const Chord& table, const std::string& key) {
  for (int i = 0; i < table.ListCount(); ++i)
    if (table.ListItem(i) == key) return i;
  return -1;
}

template <class T = QWidget>
T* Child(const QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

class ChordMapperTest : public ::testing::Test {
protected:
  // A control whose viewport is viewportWidth x viewportHeight twips.
  void Show(int viewportWidth, int viewportHeight) {
    m_mapper.resize((viewportWidth + 255 + 555) / Px, (viewportHeight + 60) / Px);
    m_mapper.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_mapper));
  }
  QWidget* Viewport() { return Child(m_mapper, "pctEditWindow"); }
  QToolButton* Button(const char* name) { return Child<QToolButton>(m_mapper, name); }
  // A left click at a point of the viewport, in twips.
  void ClickAt(int x, int y, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(Viewport(), Qt::LeftButton, modifiers, QPoint(x / Px, y / Px));
  }

  TempDir m_dir;
  std::shared_ptr<Chord> m_host = HostTable(m_dir);
  ChordMapper m_mapper;
};

TEST_F(ChordMapperTest, ResizeClampsAndPlacesItsParts) {
  // 1000 x 1000 twips is below both minimums: the control becomes 1650 x 1275.
  m_mapper.resize(1000 / Px, 1000 / Px);
  EXPECT_EQ(m_mapper.size(), QSize(1650 / Px, 1275 / Px));
  EXPECT_EQ(m_mapper.sizeHint(), QSize(1650 / Px, 2460 / Px));
  // GIVEN a control of 3000 x 2010 twips, THEN its parts stand where the frame puts them.
  m_mapper.resize(3000 / Px, 2010 / Px);
  m_mapper.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_mapper));
  EXPECT_EQ(Child(m_mapper, "pctEditBase")->geometry(), QRect(0, 0, 2445 / Px, 2010 / Px));
  EXPECT_EQ(Viewport()->geometry(), QRect(0, 0, 2190 / Px, 1950 / Px));
  EXPECT_EQ(Child(m_mapper, "vscEditWindow")->geometry(), QRect(2190 / Px, 0, 195 / Px, 1950 / Px));
  EXPECT_EQ(Button("cmdNew")->geometry(), QRect(2565 / Px, 120 / Px, 21, 21));
  EXPECT_EQ(Button("cmdDelete")->geometry(), QRect(2565 / Px, 480 / Px, 21, 21));
  EXPECT_EQ(Button("cmdProperties")->geometry(), QRect(2565 / Px, 840 / Px, 21, 21));
  EXPECT_EQ(Button("cmdNew")->iconSize(), QSize(16, 16));
  EXPECT_FALSE(Button("cmdNew")->icon().isNull());
}

TEST_F(ChordMapperTest, ClicksSelectCells) {
  // 2010 wide: two columns of 1005; five shapes in three rows, the last row half empty.
  Show(2010, 4005);
  m_mapper.Init(m_host);
  ASSERT_EQ(m_mapper.Grid().Columns(), 2);
  ASSERT_EQ(m_mapper.Grid().CellWidth(), 1005);
  ASSERT_EQ(m_mapper.Grid().CellHeight(), 1005);
  EXPECT_EQ(m_mapper.SelectedIndex(), -1);
  EXPECT_FALSE(Button("cmdProperties")->isEnabled());
  EXPECT_FALSE(Button("cmdDelete")->isEnabled());

  ClickAt(1005 + 300, 1005 + 600);  // row 1, column 1
  EXPECT_EQ(m_mapper.SelectedIndex(), 3);
  EXPECT_TRUE(Button("cmdProperties")->isEnabled());
  // Shift and the right button leave the selection as it is.
  ClickAt(300, 300, Qt::ShiftModifier);
  QTest::mouseClick(Viewport(), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_EQ(m_mapper.SelectedIndex(), 3);
  // Right of the last cell of the last row there is no shape: nothing is selected.
  ClickAt(1005 + 300, 2 * 1005 + 300);
  EXPECT_EQ(m_mapper.SelectedIndex(), -1);
  EXPECT_FALSE(Button("cmdProperties")->isEnabled());
  // Delete never acts: score chord events keep their shapes.
  ClickAt(300, 300);
  EXPECT_EQ(m_mapper.SelectedIndex(), 0);
  EXPECT_FALSE(Button("cmdDelete")->isEnabled());
}

TEST_F(ChordMapperTest, NewOnASharedTableChangesTheHostsTableButNotItsLayout) {
  // GIVEN the mapper sharing a score's table.
  Show(2010, 4005);
  const ChordLayout hostLayout = m_host->Layout();
  std::vector<int> tops;
  for (int i = 0; i < m_host->ListCount(); ++i) tops.push_back(m_host->ChordMapItem(i)->Top());
  m_mapper.Init(m_host);
  EXPECT_EQ(m_mapper.Chord(), m_host);
  // WHEN New makes a shape "Bb" with one finger on string 2, fret 1.
  WhenModal<frmMAPDetails>([](frmMAPDetails& d) {
    QTest::keyClicks(Child<QLineEdit>(d, "txtKey"), "Bb");
    QTest::mouseClick(Child(d, "pctBase"), Qt::LeftButton, {},
                      QPoint(ShapeEditModel::StringX(2) / Px, ShapeEditModel::FretY(1) / Px));
    QTest::mouseClick(Child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
  });
  QTest::mouseClick(Button("cmdNew"), Qt::LeftButton);
  // THEN the host's own table has it, normalised on Ok, with the next Value.
  ASSERT_EQ(m_host->ListCount(), 6);
  const int bb = Position(*m_host, "Bb");
  ASSERT_GE(bb, 0);
  EXPECT_EQ(Describe(*m_host->ChordMapItem(bb)), "Bb/Bb/5/2,1 3,0 4,0 5,0 6,0");
  EXPECT_TRUE(m_host->Changed());
  EXPECT_TRUE(m_mapper.Changed());
  EXPECT_EQ(m_mapper.Grid().Count(), 6);
  // AND painting the cells (whose sizes differ from the score's) wrote nothing into it.
  (void)m_mapper.grab();
  EXPECT_NE(m_mapper.Grid().Layout(), hostLayout);
  EXPECT_EQ(m_host->Layout(), hostLayout);
  std::vector<int> topsAfter;
  for (int i = 0; i < m_host->ListCount(); ++i)
    if (i != bb) topsAfter.push_back(m_host->ChordMapItem(i)->Top());
  EXPECT_EQ(topsAfter, tops);
}

TEST_F(ChordMapperTest, CancelledNewChangesNothing) {
  Show(2010, 4005);
  m_mapper.Init(m_host);
  WhenModal<frmMAPDetails>([](frmMAPDetails& d) {
    QTest::keyClicks(Child<QLineEdit>(d, "txtKey"), "Bb");
    QTest::mouseClick(Child<QPushButton>(d, "cmdCancel"), Qt::LeftButton);
  });
  QTest::mouseClick(Button("cmdNew"), Qt::LeftButton);
  EXPECT_EQ(m_host->ListCount(), 5);
  EXPECT_FALSE(m_mapper.Changed());
}

TEST_F(ChordMapperTest, PropertiesWritesTheEditBackAndRefusesAnotherShapesKey) {
  Show(2010, 4005);
  m_mapper.Init(m_host);
  const int c = Position(*m_host, "C");
  ClickAt(c % 2 * 1005 + 300, c / 2 * 1005 + 300);
  ASSERT_EQ(m_mapper.SelectedIndex(), c);
  bool refused = false;
  WhenModal<frmMAPDetails>([&refused](frmMAPDetails& d) {
    // The dialog shows the copy; it is not an edit.
    auto* key = Child<QLineEdit>(d, "txtKey");
    EXPECT_EQ(key->text(), "C");
    EXPECT_FALSE(d.Changed());
    // Another shape's key in another case: Ok is refused with a message, the dialog stays.
    key->selectAll();
    QTest::keyClicks(key, "em");
    WhenModal<QMessageBox>([&refused](QMessageBox& box) {
      refused = box.text().contains("em");
      box.accept();
    });
    QTest::mouseClick(Child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Result(), ShapeEditModel::kLoaded);
    // A free key, and the finger on string 5 moved from fret 1 to fret 2.
    key->selectAll();
    QTest::keyClicks(key, "Cadd9");
    QWidget* board = Child(d, "pctBase");
    QTest::mouseClick(board, Qt::LeftButton, {},
                      QPoint(ShapeEditModel::StringX(5) / Px, ShapeEditModel::FretY(1) / Px));
    QTest::mouseClick(board, Qt::LeftButton, {},
                      QPoint(ShapeEditModel::StringX(5) / Px, ShapeEditModel::FretY(3) / Px));
    QTest::mouseClick(Child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
  });
  QTest::mouseClick(Button("cmdProperties"), Qt::LeftButton);
  EXPECT_TRUE(refused);
  // The shape keeps its Value (0) and its text, and the table is sorted again.
  const int edited = Position(*m_host, "Cadd9");
  ASSERT_GE(edited, 0);
  EXPECT_EQ(Describe(*m_host->ChordMapItem(edited)), "Cadd9/C/0/2,3 3,2 4,0 6,0 5,3");
  EXPECT_EQ(Position(*m_host, "C"), -1);
  EXPECT_TRUE(m_host->Changed());
}

TEST_F(ChordMapperTest, DoubleClickOpensTheSelectedShape) {
  Show(2010, 4005);
  m_mapper.Init(m_host);
  std::string shown;
  WhenModal<frmMAPDetails>([&shown](frmMAPDetails& d) {
    shown = Child<QLineEdit>(d, "txtKey")->text().toStdString();
    QTest::mouseClick(Child<QPushButton>(d, "cmdCancel"), Qt::LeftButton);
  });
  // A double click's first press selects the cell.
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, QPoint(1005 / Px + 20, 20));
  QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, QPoint(1005 / Px + 20, 20));
  EXPECT_EQ(shown, m_host->ListItem(1));
  EXPECT_FALSE(m_host->Changed());
}

TEST_F(ChordMapperTest, ScrollsWholeRows) {
  // A viewport just over one row high: three rows, one in view.
  Show(2010, 1215);
  m_mapper.Init(m_host);
  auto* scroll = Child<QScrollBar>(m_mapper, "vscEditWindow");
  EXPECT_TRUE(scroll->isEnabled());
  EXPECT_EQ(scroll->minimum(), 1);
  EXPECT_EQ(scroll->maximum(), 3);
  EXPECT_EQ(scroll->pageStep(), 1);
  scroll->setValue(3);
  ClickAt(300, 300);  // the top of the viewport now shows row 2
  EXPECT_EQ(m_mapper.SelectedIndex(), 4);
  // Everything in view: no scrolling.
  ChordMapper tall;
  tall.resize(2820 / Px, 4000 / Px);
  tall.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&tall));
  tall.Init(m_host);
  EXPECT_FALSE(Child<QScrollBar>(tall, "vscEditWindow")->isEnabled());
}

TEST_F(ChordMapperTest, NarrowOrMissingViewportDoesNotFail) {
  // A viewport narrower than one cell: one column, and painting and clicking work.
  Show(2010, 4005);
  Viewport()->setGeometry(0, 0, 20, 20);
  m_mapper.Init(m_host);
  EXPECT_EQ(m_mapper.Grid().Columns(), 1);
  EXPECT_FALSE(Viewport()->grab().isNull());
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, QPoint(19, 5));
  EXPECT_EQ(m_mapper.SelectedIndex(), 0);
  // A host that takes the table away: the control does nothing.
  m_mapper.SetChord(nullptr);
  EXPECT_FALSE(m_mapper.Initialised());
  m_mapper.Refresh();
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(Viewport()->grab().isNull());
  EXPECT_FALSE(m_mapper.Changed());
}

TEST_F(ChordMapperTest, OwnTableFromInitDir) {
  // Without a table the control loads its own from InitDir, given with a trailing slash.
  m_mapper.setProperty("initDir", QString::fromStdString(" " + m_dir.Path().string() + "/ "));
  EXPECT_EQ(m_mapper.InitDir().toStdString(), m_dir.Path().string());
  Show(2010, 4005);
  m_mapper.Init();
  ASSERT_NE(m_mapper.Chord(), nullptr);
  EXPECT_NE(m_mapper.Chord(), m_host);
  EXPECT_EQ(m_mapper.Chord()->ListCount(), 5);
  EXPECT_EQ(m_mapper.Grid().Count(), 5);
  // The control's Render draws as its cells do, on any surface.
  RecordingSurface surface;
  EXPECT_TRUE(m_mapper.Render(surface, 0, 1000, 2000, true));
  EXPECT_FALSE(surface.Texts().empty());
}

// --- A picture for people ---

std::string ShippedShapes() {
  if (const char* home = std::getenv("VELTRIMOND_HOME"); home && *home)
    return std::string(home) + "/Common/Config";
  return HARMONYGRID_QT_TEST_OUTPUT "/../../../Common/Config";
}

TEST(ChordMapperPicture, SavedForPeopleToLookAt) {
  // The shipped shapes in a control the size of a dialog's tab, scrolled to its second row,
  // with a cell selected.
  ChordMapper mapper;
  mapper.setProperty("initDir", QString::fromStdString(ShippedShapes()));
  mapper.resize(480, 360);
  mapper.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&mapper));
  mapper.Init();
  ASSERT_GT(mapper.Chord()->ListCount(), 200) << ShippedShapes();
  auto* scroll = mapper.findChild<QScrollBar*>("vscEditWindow");
  scroll->setValue(2);
  QWidget* viewport = mapper.findChild<QWidget*>("pctEditWindow");
  const int w = mapper.Grid().CellWidth() / Px;
  const int h = mapper.Grid().CellHeight() / Px;
  QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(w + w / 2, h / 2));
  const int selected = mapper.SelectedIndex();
  EXPECT_EQ(selected, mapper.Grid().Columns() + 1);
  const QImage image = mapper.grab().toImage();
  EXPECT_TRUE(image.save(QStringLiteral(HARMONYGRID_QT_TEST_OUTPUT "/chordmapper.png")));
  // The same at three times the resolution, for a closer look.
  QImage large(mapper.size() * 3, QImage::Format_ARGB32_Premultiplied);
  large.setDevicePixelRatio(3);
  mapper.render(&large);
  EXPECT_TRUE(large.save(QStringLiteral(HARMONYGRID_QT_TEST_OUTPUT "/chordmapper-3x.png")));
  // The band is blue right of the key; the selected cell has red outlines on its left.
  EXPECT_EQ(image.pixelColor(w - 2, 1), QColor(51, 51, 224));
  int red = 0;
  for (int x = w; x < w + 5; ++x) red += image.pixelColor(x, h / 2) == QColor(255, 0, 0);
  EXPECT_EQ(red, 2);
}

}  // namespace
}  // namespace harmonygrid
