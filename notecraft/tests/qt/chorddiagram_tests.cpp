// Chord diagrams on pixels: a sheet of shipped chord shapes drawn through QPainterSurface, with
// and without their diagrams and with capos, saved as chordsheet.png in the test folder for a
// person to look at. The checks look where a wrong anchor, font or offset would show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>

#include "harmonygrid/core/chord.h"
#include "notecraft/core/common.h"
#include "notecraft/qt/qpaintersurface.h"

namespace notecraft {
namespace {

using harmonygrid::Chord;

constexpr int Px = 15;  // twips per pixel of the page buffer
constexpr int kColumns = 4;
constexpr int kCellWidth = 1800;
constexpr int kCellHeight = 1500;
constexpr int kMargin = 360;
constexpr int kSheetWidth = 2 * kMargin + kColumns * kCellWidth;
constexpr int kSheetHeight = 2 * kMargin + 3 * kCellHeight;
constexpr int kGuide = RGB(200, 200, 200);
constexpr int kInk = 0;
constexpr int kCapoInk = RGB(0, 0, 160);

// The install folder's chord shapes: the test environment names the folder; run by hand, the
// build tree (three levels up from this test's folder) is the install folder.
std::string ConfigDir() {
  if (const char* home = std::getenv("VELTRIMOND_HOME"); home && *home)
    return std::string(home) + "/Common/Config";
  return NOTECRAFT_QT_TEST_OUTPUT "/../../../Common/Config";
}

struct Cell {
  const char* key;
  const char* bass;
  int capo;
  bool showMap;
};

// Row by row: open chords, a barre, a shape up the neck, a closed shape at the nut, a bass,
// then capos (one without its diagram).
const std::vector<Cell>& Cells() {
  static const std::vector<Cell> cells = {
      {"C", "", 0, true},    {"G", "", 0, true},   {"Dm", "", 0, true},  {"F", "", 0, true},
      {"Cdim", "", 0, true}, {"Gm7", "", 0, true}, {"C", "G", 0, true},  {"Em", "", 0, true},
      {"C", "", 2, true},    {"Am", "", 3, true},  {"C", "F", 1, true},  {"G", "", 5, false},
  };
  return cells;
}

// The centre x and the bottom y of cell i, in twips.
int CellX(std::size_t i) { return kMargin + static_cast<int>(i % kColumns) * kCellWidth + kCellWidth / 2; }
int CellY(std::size_t i) { return kMargin + static_cast<int>(i / kColumns + 1) * kCellHeight - 150; }

// Diagram geometry of a cell drawn without a capo, with the standard cell sizes.
struct Diagram {
  int Left, DiagTop, NameY;
  explicit Diagram(std::size_t i, int capoLines = 0)
      : Left((CellX(i) - 375 / 2) / 15 * 15),
        DiagTop(CellY(i) - 195 * (1 + capoLines) - 525),
        NameY(CellY(i) - 195 * (1 + capoLines)) {}
  int StringX(int s) const { return Left + 75 * (s - 1) - 15; }
  int FretLineY(int row) const { return DiagTop + 30 + 75 * row; }
};

// Half-way to the neighbouring strings, around string s.
int MarkLeft(const Diagram& d, int s) { return d.StringX(s) - 30; }
int MarkRight(const Diagram& d, int s) { return d.StringX(s) + 30; }

int Position(const Chord& chord, const char* key) {
  for (int i = 0; i < chord.ListCount(); ++i)
    if (chord.ListItem(i) == key) return i;
  return -1;
}

void DrawSheet(QPainterSurface& s, const Chord& chord) {
  s.Clear();
  const auto& cells = Cells();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const Cell& c = cells[i];
    const int x = CellX(i), y = CellY(i);
    // Guides: the cell's bottom and its top (AreaHeight up, one more name line with a capo).
    const int top = y - chord.AreaHeight() - (c.capo > 0 ? chord.ChordTextHeight() : 0);
    s.SetForeColor(kGuide);
    s.DrawLine(x - chord.AreaWidth() / 2, y, x + chord.AreaWidth() / 2, y);
    s.DrawLine(x - chord.AreaWidth() / 2, top, x + chord.AreaWidth() / 2, top);
    chord.Render(s, chord.Layout(), Position(chord, c.key), x, y, c.showMap,
                 c.capo > 0 ? kCapoInk : kInk, c.bass, c.capo);
  }
}

// --- Pixels ---

bool Dark(const QImage& image, int xTwips, int yTwips) {
  return qGray(image.pixelColor(xTwips / Px, yTwips / Px).rgb()) < 128;
}

// The bounding box, in twips, of dark pixels inside a box given in twips.
QRect InkBox(const QImage& image, int left, int top, int right, int bottom) {
  QRect box;
  for (int py = top / Px; py <= bottom / Px; ++py)
    for (int px = left / Px; px <= right / Px; ++px)
      if (qGray(image.pixelColor(px, py).rgb()) < 128) box |= QRect(px * Px, py * Px, Px, Px);
  return box;
}

class ChordSheet : public testing::Test {
protected:
  static void SetUpTestSuite() {
    s_chord = new Chord;
    s_chord->SetInitDir(ConfigDir());
    s_chord->Refresh();
    QPainterSurface surface(kSheetWidth, kSheetHeight);
    DrawSheet(surface, *s_chord);
    s_image = new QImage(*surface.Image());
  }
  static void TearDownTestSuite() {
    delete s_image;
    delete s_chord;
  }
  static const QImage& Image() { return *s_image; }
  static const Chord& Table() { return *s_chord; }
  void SetUp() override { ASSERT_GT(Table().ListCount(), 200) << "no chord shapes in " << ConfigDir(); }

  static QImage* s_image;
  static Chord* s_chord;
};
QImage* ChordSheet::s_image = nullptr;
Chord* ChordSheet::s_chord = nullptr;

TEST_F(ChordSheet, SavedForPeopleToLookAt) {
  // chordsheet.png as the screen shows it, chordsheet-4x.png for a closer look.
  EXPECT_TRUE(Image().save(QStringLiteral(NOTECRAFT_QT_TEST_OUTPUT "/chordsheet.png")));
  QPainterSurface large(kSheetWidth, kSheetHeight, 4.0);
  DrawSheet(large, Table());
  EXPECT_TRUE(large.Image()->save(QStringLiteral(NOTECRAFT_QT_TEST_OUTPUT "/chordsheet-4x.png")));
}

TEST_F(ChordSheet, NutAndFretLinesMeetEveryString) {
  // C (cell 0): the nut and the first fret line run unbroken from string 1 to string 6, and
  // the strings run from the nut down to the name line.
  const Diagram d(0);
  for (int x = d.StringX(1); x <= d.StringX(6); x += Px) {
    ASSERT_TRUE(Dark(Image(), x, d.DiagTop + 15)) << "nut at " << x;
    ASSERT_TRUE(Dark(Image(), x, d.FretLineY(1))) << "fret line at " << x;
  }
  for (int s = 1; s <= 6; ++s) {
    // Between the open-string marks and the name's ink.
    const QRect string = InkBox(Image(), d.StringX(s), d.DiagTop - 2 * Px, d.StringX(s), d.NameY + Px);
    EXPECT_EQ(string.top(), d.DiagTop) << s;
    EXPECT_EQ(string.height(), d.NameY - d.DiagTop) << s;
  }
}

TEST_F(ChordSheet, FingersSitOnTheirStringAndFretLine) {
  // A finger is a square around a crossing, so the pixels diagonally next to the crossing
  // are dark; at a crossing without a finger they are not.
  auto fingered = [](const Diagram& d, int string, int row) {
    const int x = d.StringX(string), y = d.FretLineY(row);
    return Dark(Image(), x - Px, y - Px) && Dark(Image(), x + Px, y + Px) &&
           Dark(Image(), x + Px, y - Px) && Dark(Image(), x - Px, y + Px);
  };
  const Diagram c(0);  // C: (2,3) (3,2) (5,1)
  EXPECT_TRUE(fingered(c, 2, 3));
  EXPECT_TRUE(fingered(c, 3, 2));
  EXPECT_TRUE(fingered(c, 5, 1));
  EXPECT_FALSE(fingered(c, 1, 1));
  EXPECT_FALSE(fingered(c, 5, 2));
  const Diagram cdim(4);  // Cdim up the neck, Top 6: (3,10) (4,8) (5,7) (6,8) on rows 4 2 1 2
  EXPECT_TRUE(fingered(cdim, 3, 4));
  EXPECT_TRUE(fingered(cdim, 5, 1));
  EXPECT_FALSE(fingered(cdim, 3, 1));
  const Diagram capo(8, 1);  // C with capo 2 draws D, one line up: (4,2) (5,3) (6,2)
  EXPECT_TRUE(fingered(capo, 5, 3));
  EXPECT_TRUE(fingered(capo, 6, 2));
  EXPECT_FALSE(fingered(capo, 2, 3));  // C's own finger is not there
}

TEST_F(ChordSheet, MarksAndLabelsStandAboveTheNut) {
  // C's open strings 4 and 6: an "o" centred over each, clear of the nut.
  const Diagram c(0);
  for (int s : {4, 6}) {
    const QRect o = InkBox(Image(), MarkLeft(c, s), c.DiagTop - 135, MarkRight(c, s), c.DiagTop - Px);
    ASSERT_TRUE(o.isValid()) << s;
    EXPECT_NEAR(o.center().x(), c.StringX(s), Px) << s;
    EXPECT_LT(o.bottom(), c.DiagTop) << s;
  }
  EXPECT_FALSE(InkBox(Image(), MarkLeft(c, 5), c.DiagTop - 135, MarkRight(c, 5), c.DiagTop - Px).isValid());
  // Cdim's label, centred on the cell and clear of the nut.
  const Diagram cdim(4);
  const QRect label = InkBox(Image(), CellX(4) - 600, cdim.DiagTop - 200, CellX(4) + 600, cdim.DiagTop - Px);
  ASSERT_TRUE(label.isValid());
  EXPECT_NEAR(label.center().x(), CellX(4), 2 * Px);
  EXPECT_LT(label.bottom(), cdim.DiagTop);
}

TEST_F(ChordSheet, NamesAreCentredOnTheirLines) {
  struct Case {
    std::size_t cell;
    int lines;  // name lines of the cell: 2 with a capo
  };
  for (const Case c : {Case{0, 1}, Case{6, 1}, Case{8, 2}, Case{10, 2}, Case{11, 2}}) {
    SCOPED_TRACE(c.cell);
    const int x = CellX(c.cell), y = CellY(c.cell);
    for (int line = 0; line < c.lines; ++line) {
      // Line 0 is the last; its cap height sits inside the 195-twip line.
      const int bottom = y - 195 * line;
      const QRect ink = InkBox(Image(), x - 800, bottom - 195 + Px, x + 800, bottom - 3 * Px);
      ASSERT_TRUE(ink.isValid()) << "line " << line;
      EXPECT_NEAR(ink.center().x(), x, 2 * Px) << "line " << line;
      EXPECT_GT(ink.height(), 6 * Px) << "line " << line;
    }
  }
}

TEST_F(ChordSheet, CapoCellsDrawInTheirColourAndWithoutMapOnlyNames) {
  const Diagram capo(8, 1);
  EXPECT_EQ(Image().pixelColor(capo.StringX(3) / Px, (capo.DiagTop + 15) / Px), QColor(0, 0, 160));
  // Cell 11 asks for no diagram: nothing between the cell's top and its name lines.
  const Diagram none(11, 1);
  EXPECT_FALSE(InkBox(Image(), none.Left - 60, none.DiagTop - 135 + Px, none.Left + 400, none.NameY - Px).isValid());
}

}  // namespace
}  // namespace notecraft
