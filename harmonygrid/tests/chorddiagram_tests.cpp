// Chord diagrams drawn through Chord::Render on the recording surface, with the standard cell
// sizes unless a test gives its own. Positions are twips;
// text widths come from the recording surface's model: each character half an em wide, so in
// the 10-point name font every character is 100 wide and in the 7-point label font 70.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harmonygrid/core/chord.h"
#include "harmonygrid/core/clsmap.h"
#include "harmonygrid/draw/recordingsurface.h"
#include "tablefixture.h"

namespace harmonygrid {
namespace {

using testing::LoadedTable;

constexpr int kColor = 0x123456;  // printed as #563412 (red first)

// Keys sort C, Cdim high, D, Db, Dm, Wide. The Cdim shape sits up the neck (Top 6) and has an
// open string that must not show; Dm mutes strings 1 and 2; Wide spans more frets than a
// diagram shows, so its Top stays 0. There is no Em: Dm under a capo of 2 has no shape.
constexpr const char* kTable =
    "C;C;0;2,3;3,2;4,0;5,1;6,0\n"
    "D;D;1;3,0;4,2;5,3;6,2\n"
    "Db;Db;5;2,4;3,3;4,1;5,2\n"
    "Dm;Dm;2;1,-1;2,-1;3,0;4,2;5,3;6,1\n"
    "Cdim high;Cdim;3;1,0;3,10;4,8;5,7;6,8\n"
    "Wide;Wide;4;1,1;2,9\n";

class ChordDiagramTest : public ::testing::Test {
protected:
  Chord& Table() { return m_table.Table; }
  int Pos(const std::string& key) {
    for (int i = 0; i < Table().ListCount(); ++i)
      if (Table().ListItem(i) == key) return i;
    ADD_FAILURE() << "no shape " << key;
    return -1;
  }
  bool Render(const std::string& key, int x, int y, bool showMap, std::string_view bass = {},
              int capo = 0) {
    return Table().Render(m_surface, m_layout, Pos(key), x, y, showMap, kColor, bass, capo);
  }
  std::vector<SurfaceOp> Ops(SurfaceOp::Kind kind) const { return m_surface.Ops(kind); }
  // The text operations in one font.
  std::vector<SurfaceOp> Texts(const std::string& font) const {
    std::vector<SurfaceOp> out;
    for (const auto& op : m_surface.Ops(SurfaceOp::Kind::Text))
      if (op.Font.Name == font) out.push_back(op);
    return out;
  }

  LoadedTable m_table{kTable, /*refresh=*/true};
  ChordLayout m_layout = ChordLayout::Standard();
  RecordingSurface m_surface;
};

TEST_F(ChordDiagramTest, OpenChordWithItsDiagram) {
  // GIVEN the C shape: strings 2, 3 and 5 fretted at 3, 2 and 1, strings 4 and 6 open, string
  // 1 without a pair. WHEN it is drawn centred on x 1000 with its cell ending at y 2000:
  ASSERT_TRUE(Render("C", 1000, 2000, true));
  // THEN the name line starts at 1805, the diagram at 1280 (525 higher), the marks line at
  // 1145 (135 higher), and the diagram's left edge is (1000 - 187) \ 15 x 15 = 810.
  EXPECT_EQ(m_surface.Dump(),
            "text (990,1145) \"o\" Arial 6pt color=#563412\n"   // string 4, open
            "text (1140,1145) \"o\" Arial 6pt color=#563412\n"  // string 6, open
            "box (810,1280) (1170,1310) color=#563412\n"         // the nut
            "line (795,1280) (795,1805) color=#563412\n"         // strings 1..6, 75 apart
            "line (870,1280) (870,1805) color=#563412\n"
            "line (945,1280) (945,1805) color=#563412\n"
            "line (1020,1280) (1020,1805) color=#563412\n"
            "line (1095,1280) (1095,1805) color=#563412\n"
            "line (1170,1280) (1170,1805) color=#563412\n"
            "line (810,1385) (1185,1385) color=#563412\n"  // five fret lines, 75 apart
            "line (810,1460) (1185,1460) color=#563412\n"
            "line (810,1535) (1185,1535) color=#563412\n"
            "line (810,1610) (1185,1610) color=#563412\n"
            "line (810,1685) (1185,1685) color=#563412\n"
            "box (855,1520) (885,1550) color=#563412\n"     // string 2, fret 3: on fret line 3
            "box (930,1445) (960,1475) color=#563412\n"     // string 3, fret 2
            "box (1080,1370) (1110,1400) color=#563412\n"   // string 5, fret 1
            "text (950,1805) \"C\" MS Sans Serif 10pt bold color=#563412\n");
  // The device keeps the colour and font the drawing left; the caller restores its own.
  EXPECT_EQ(m_surface.ForeColor(), kColor);
  EXPECT_EQ(m_surface.Font(), (FontSpec{"MS Sans Serif", 10.0f, true}));
}

TEST_F(ChordDiagramTest, NamesWithBassAndCapo) {
  // Names only (no diagram), centred on x 1000; with a capo the transposed name moves up a
  // line and the untransposed one, in parentheses, takes the last line.
  struct Case {
    const char* name;
    const char* key;
    const char* bass;
    int capo;
    std::vector<std::string> expected;
  };
  const std::string font = " MS Sans Serif 10pt bold color=#563412";
  const Case cases[] = {
      {"plain", "C", "", 0, {"text (950,1805) \"C\"" + font}},
      {"bass", "C", "G", 0, {"text (850,1805) \"C/G\"" + font}},
      {"capo, shape found", "C", "", 2, {"text (950,1610) \"D\"" + font, "text (850,1805) \"(C)\"" + font}},
      {"capo, bass spelled sharp as written", "C", "F#", 1,
       {"text (800,1610) \"Db/G\"" + font, "text (700,1805) \"(C/F#)\"" + font}},
      {"capo, bass on a black key spelled from the chord", "C", "F", 1,
       {"text (750,1610) \"Db/Gb\"" + font, "text (750,1805) \"(C/F)\"" + font}},
      // No Em shape in the table: the Dm shape is drawn, so its name stays; the bass moves.
      {"capo, no shape", "Dm", "", 2,
       {"text (900,1610) \"Dm\"" + font, "text (800,1805) \"(Dm)\"" + font}},
      {"capo, no shape, bass", "Dm", "F", 2,
       {"text (800,1610) \"Dm/G\"" + font, "text (700,1805) \"(Dm/F)\"" + font}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_surface.ClearRecord();
    ASSERT_TRUE(Render(c.key, 1000, 2000, false, c.bass, c.capo));
    std::vector<std::string> drawn;
    for (const auto& op : m_surface.Ops()) drawn.push_back(ToString(op));
    EXPECT_EQ(drawn, c.expected);
  }
}

TEST_F(ChordDiagramTest, CapoDrawsTheTransposedShapeOneLineHigher) {
  // Capo 2 on C: the D shape's diagram exactly as D draws it without a capo one line up,
  // then "D" and "(C)".
  ASSERT_TRUE(Render("C", 1000, 2000, true, "", 2));
  std::vector<SurfaceOp> withCapo = m_surface.Ops();
  m_surface.ClearRecord();
  ASSERT_TRUE(Render("D", 1000, 2000 - 195, true));
  const std::vector<SurfaceOp> plainD = m_surface.Ops();

  ASSERT_EQ(withCapo.size(), plainD.size() + 1);
  EXPECT_EQ(std::vector<SurfaceOp>(withCapo.begin(), withCapo.end() - 1), plainD);
  EXPECT_EQ(withCapo.back().Text, "(C)");
  EXPECT_EQ(withCapo.back().Points[0].Y, 1805);
}

TEST_F(ChordDiagramTest, CapoWithoutATransposedShapeDrawsItsOwnShapeAndName) {
  // Capo 2 on Dm asks for Em, which the table lacks: Dm's own diagram and name, one line up,
  // exactly as Dm draws without a capo, then "(Dm)".
  ASSERT_TRUE(Render("Dm", 1000, 2000, true, "", 2));
  const std::vector<SurfaceOp> withCapo = m_surface.Ops();
  m_surface.ClearRecord();
  ASSERT_TRUE(Render("Dm", 1000, 2000 - 195, true));
  const std::vector<SurfaceOp> plainDm = m_surface.Ops();

  ASSERT_EQ(withCapo.size(), plainDm.size() + 1);
  EXPECT_EQ(std::vector<SurfaceOp>(withCapo.begin(), withCapo.end() - 1), plainDm);
  EXPECT_EQ(withCapo.back().Text, "(Dm)");
}

TEST_F(ChordDiagramTest, MutedStringsGetNoMark) {
  // Dm: strings 1 and 2 muted (-1), string 3 open, 4..6 fretted.
  ASSERT_TRUE(Render("Dm", 1000, 2000, true));
  const auto marks = Texts("Arial");
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].Points[0], (SurfacePoint{915, 1145}));  // 30 left of string 3 at 945
  EXPECT_EQ(Ops(SurfaceOp::Kind::Box).size(), 1u + 3u);       // the nut and three fingers
}

TEST_F(ChordDiagramTest, ShapeUpTheNeckIsLabelledWithItsFret) {
  // Cdim high: frets 10, 8, 7, 8 on strings 3..6 and string 1 open; Top is 6.
  ASSERT_TRUE(Render("Cdim high", 1000, 2000, true));
  const auto labels = Texts("Arial");
  ASSERT_EQ(labels.size(), 1u);  // the open string shows no "o" up the neck
  EXPECT_EQ(labels[0].Text, "6th fret");
  EXPECT_EQ(labels[0].Points[0], (SurfacePoint{1000 - 8 * 70 / 2, 1145}));
  EXPECT_EQ(labels[0].Font, (FontSpec{"Arial", 7.0f, true}));
  // Fingers on rows fret - 6: 4, 2, 1 and 2.
  const auto boxes = Ops(SurfaceOp::Kind::Box);
  ASSERT_EQ(boxes.size(), 5u);
  const std::vector<SurfacePoint> corners = {boxes[1].Points[0], boxes[2].Points[0],
                                             boxes[3].Points[0], boxes[4].Points[0]};
  EXPECT_EQ(corners, (std::vector<SurfacePoint>{{930, 1280 + 4 * 75 + 15},
                                                {1005, 1280 + 2 * 75 + 15},
                                                {1080, 1280 + 1 * 75 + 15},
                                                {1155, 1280 + 2 * 75 + 15}}));
}

TEST_F(ChordDiagramTest, FretLabelOrdinals) {
  // A shape fretted at top + 1 and top + 7 needs the top fret top in a six-row diagram.
  const auto shape = Table().AddChordMap("Up", "Up");
  const std::pair<int, const char*> cases[] = {
      {1, "1st fret"},   {2, "2nd fret"},   {3, "3rd fret"},   {4, "4th fret"},
      {7, "7th fret"},   {11, "11th fret"}, {12, "12th fret"}, {13, "13th fret"},
      {21, "21st fret"}, {22, "22nd fret"}, {23, "23rd fret"}, {24, "24th fret"},
  };
  for (const auto& [top, label] : cases) {
    SCOPED_TRACE(top);
    while (shape->Count() > 0) shape->Remove(0);
    shape->Add(1, top + 1);
    shape->Add(6, top + 7);
    m_surface.ClearRecord();
    ASSERT_TRUE(Render("Up", 1000, 2000, true));
    ASSERT_EQ(Texts("Arial").size(), 1u);
    EXPECT_EQ(Texts("Arial")[0].Text, label);
  }
}

TEST_F(ChordDiagramTest, LeftEdgeSnapsTowardZero) {
  // Left = (x - 187) \ 15 x 15 with truncating division: the nut starts there.
  const std::pair<int, int> cases[] = {{100, -75}, {-100, -285}, {1000, 810}, {1012, 825}};
  for (const auto& [x, left] : cases) {
    SCOPED_TRACE(x);
    m_surface.ClearRecord();
    ASSERT_TRUE(Render("D", x, 2000, true));
    EXPECT_EQ(Ops(SurfaceOp::Kind::Box).at(0).Points[0].X, left);
  }
}

TEST_F(ChordDiagramTest, NoShapeAtTheIndexDrawsNothing) {
  Chord empty;
  m_surface.SetForeColor(0x00FF00);
  EXPECT_FALSE(empty.Render(m_surface, m_layout, 0, 1000, 2000, true, kColor, "G", 2));
  for (int index : {-1, Table().ListCount(), 40000}) {
    SCOPED_TRACE(index);
    EXPECT_FALSE(Table().Render(m_surface, m_layout, index, 1000, 2000, true, kColor, "", 0));
  }
  EXPECT_TRUE(m_surface.Ops().empty());
  EXPECT_EQ(m_surface.ForeColor(), 0x00FF00);
}

TEST_F(ChordDiagramTest, DiagramStaysInsideItsBox) {
  // Fingers the diagram cannot hold are left out: a fret beyond the rows it shows (even when
  // FretCount asks for more rows than its height holds) and strings outside 1..6.
  const auto wide = Table().ChordMapItem(Pos("Wide"));  // (1, 1) and (2, 9), Top 0
  wide->Add(7, 2);
  wide->Add(0, 2);
  m_layout.FretCount = 12;
  ASSERT_TRUE(Render("Wide", 1000, 2000, true));
  const auto boxes = Ops(SurfaceOp::Kind::Box);
  ASSERT_EQ(boxes.size(), 2u);  // the nut and string 1, fret 1
  EXPECT_EQ(boxes[1].Points[0], (SurfacePoint{780, 1370}));
}

TEST_F(ChordDiagramTest, SizesBelowZeroCountAsZero) {
  struct Case {
    const char* name;
    int chordTextHeight, chordHeight, chordWidth;
    int nameY;
  };
  const Case cases[] = {
      {"no diagram height", 195, 0, 375, 1805},
      {"negative diagram height", 195, -525, 375, 1805},
      {"negative diagram width", 195, 525, -375, 1805},
      {"negative name line", -195, 525, 0, 2000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_layout = ChordLayout::Standard();
    m_layout.ChordTextHeight = c.chordTextHeight;
    m_layout.ChordHeight = c.chordHeight;
    m_layout.ChordWidth = c.chordWidth;
    m_surface.ClearRecord();
    ASSERT_TRUE(Render("C", 1000, 2000, true));
    // No room for a diagram: only the name, where its line puts it.
    ASSERT_EQ(m_surface.Ops().size(), 1u);
    EXPECT_EQ(m_surface.Ops()[0].Points[0], (SurfacePoint{950, c.nameY}));
  }
}

TEST_F(ChordDiagramTest, TableWithoutLayoutDrawsTheNameOnly) {
  // A table loaded but never refreshed has every size 0, as a mapper control's own table
  // keeps: the control draws with sizes of its own.
  LoadedTable loaded(kTable);
  ASSERT_GT(loaded.Table.ListCount(), 0);
  // Capo 2 on C finds the D shape, but there is no room to draw it.
  EXPECT_TRUE(loaded.Table.Render(m_surface, loaded.Table.Layout(), 0, 1000, 2000, true, kColor,
                                  "", 2));
  EXPECT_TRUE(Ops(SurfaceOp::Kind::Line).empty());
  EXPECT_TRUE(Ops(SurfaceOp::Kind::Box).empty());
  EXPECT_EQ(m_surface.Texts(), (std::vector<std::string>{"D", "(C)"}));
}

TEST_F(ChordDiagramTest, EachRendererDrawsWithItsOwnSizesAndLeavesTheTableAlone) {
  // GIVEN a shape fretted from 2 to 5 with two open strings, in the table as a score holds it
  // after Refresh.
  const auto shape = Table().AddChordMap("Stretch", "Stretch");
  for (const auto& [string, fret] : {std::pair{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 0}, {6, 0}})
    shape->Add(string, fret);
  const ChordLayout hostLayout = Table().Layout();
  // WHEN a renderer with three fret rows (a small mapper cell) draws it, THEN the diagram
  // starts at the first fret and holds frets 2 to 4; fret 5 is below its last row.
  ChordLayout small = ChordLayout::Standard();
  small.FretCount = 3;
  ASSERT_TRUE(Table().Render(m_surface, small, Pos("Stretch"), 1000, 2000, true, kColor));
  EXPECT_EQ(m_surface.Texts(), (std::vector<std::string>{"1st fret", "Stretch"}));
  EXPECT_EQ(Ops(SurfaceOp::Kind::Box).size(), 1u + 3u);  // the nut and three fingers
  // AND the score's six rows still show it in the open position with all four fingers.
  m_surface.ClearRecord();
  ASSERT_TRUE(Render("Stretch", 1000, 2000, true));
  EXPECT_EQ(m_surface.Texts(), (std::vector<std::string>{"o", "o", "Stretch"}));
  EXPECT_EQ(Ops(SurfaceOp::Kind::Box).size(), 1u + 4u);
  // Drawing wrote nothing into the table or the shape.
  EXPECT_EQ(Table().Layout(), hostLayout);
  EXPECT_EQ(shape->Top(), 0);
}

}  // namespace
}  // namespace harmonygrid
