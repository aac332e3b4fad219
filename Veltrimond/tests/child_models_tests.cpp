// The score window's widget-free parts: viewport arithmetic, the page box, the tool palette,
// the sub-tool strip's geometry and mouse editing against a recording host.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>

#include "Veltrimond/child/chordnames.h"
#include "Veltrimond/child/pageeditor.h"
#include "Veltrimond/child/scoreviewport.h"
#include "Veltrimond/child/toolpalette.h"
#include "notecraft/core/score.h"
#include "qstring_printer.h"

namespace veltrimond {
namespace {

// --- Viewport ---

TEST(ViewportLayoutTest, BarsFollowTheSpaceThePageNeeds) {
  struct Case {
    const char* name;
    int mainW, mainH, pageW, pageH;
    bool h, v;
  };
  // Needed: page + 180; available: main - 60, less 210 per bar.
  const Case cases[] = {
      {"small page", 12000, 9000, 6000, 4000, false, false},
      {"too wide", 6000, 20000, 9000, 4000, true, false},
      {"too tall", 20000, 6000, 9000, 9000, false, true},
      // Fits across with 100 twips to spare; the vertical bar's 210 then need the other.
      {"tall, nearly too wide", 9000 + 180 + 60 + 100, 6000, 9000, 9000, true, true},
      {"both", 3000, 3000, 9000, 9000, true, true},
  };
  for (const Case& c : cases) {
    const ViewportLayout layout = LayOutViewport(c.mainW, c.mainH, c.pageW, c.pageH, 5, 5);
    EXPECT_EQ(layout.Horizontal.Visible, c.h) << c.name;
    EXPECT_EQ(layout.Vertical.Visible, c.v) << c.name;
    if (!c.h) {
      EXPECT_EQ(layout.Horizontal.Value, 0) << c.name;
    }
    if (!c.v) {
      EXPECT_EQ(layout.Vertical.Value, 0) << c.name;
    }
    EXPECT_GE(layout.Horizontal.PageStep, 1) << c.name;
    EXPECT_GE(layout.Vertical.PageStep, 1) << c.name;
  }
}

TEST(ViewportLayoutTest, RangesAndClampedValues) {
  // Available height 6000 - 60 = 5940; needed 9000 + 180 = 9180: (9180 - 5940) / 15 = 216.
  ViewportLayout layout = LayOutViewport(20000, 6000, 9000, 9000, 0, 500);
  EXPECT_EQ(layout.BaseHeight, 5940);
  EXPECT_EQ(layout.BaseWidth, 20000 - 60 - 210);
  EXPECT_EQ(layout.Vertical.Max, 216);
  EXPECT_EQ(layout.Vertical.Value, 216);  // above the new Max
  EXPECT_EQ(layout.Vertical.PageStep, 216);  // 5940 / 15 = 396, limited to Max
  // A page 10 twips too tall: Max 0, and the page step still 1.
  layout = LayOutViewport(20000, 9000 + 180 + 60 - 10, 9000, 9000, 0, 0);
  EXPECT_TRUE(layout.Vertical.Visible);
  EXPECT_EQ(layout.Vertical.Max, 0);
  EXPECT_EQ(layout.Vertical.PageStep, 1);
}

TEST(ViewportLayoutTest, ScrollingBringsARectangleIntoView) {
  // Visible 0..6000 (page offset 0); max 500.
  EXPECT_EQ(ScrollValueToShow(1000, 500, 0, 6000, 7, 500, 300), 7);  // already visible
  // Right of the view: (X + W + 900 - base) \ 15.
  EXPECT_EQ(ScrollValueToShow(7000, 300, 0, 6000, 0, 500, 300), (7000 + 300 + 900 - 6000) / 15);
  // Left of the view: (X - 300) \ 15 across, Y \ 15 down.
  EXPECT_EQ(ScrollValueToShow(1500, 100, 3000, 6000, 200, 500, 300), (1500 - 300) / 15);
  EXPECT_EQ(ScrollValueToShow(1500, 100, 3000, 6000, 200, 500, 0), 100);
  // Clamped to the bar's range.
  EXPECT_EQ(ScrollValueToShow(100, 10, 3000, 6000, 200, 500, 300), 0);
  EXPECT_EQ(ScrollValueToShow(30000, 10, 0, 6000, 0, 500, 300), 500);
}

TEST(PageBoxTest, CommitTable) {
  struct Case {
    const char* text;
    int cur, last;
    int shown, go;
  };
  const Case cases[] = {
      {"7", 1, 5, 5, 5},   {"3", 3, 5, 3, 0},  {"0", 2, 5, 1, 1},   {"", 2, 5, 1, 1},
      {"abc", 1, 5, 1, 0}, {"2x", 1, 5, 2, 2}, {"-4", 3, 5, 1, 1},  {"4", 0, 5, 1, 0},
      {"4", 2, 0, 1, 0},   {"99999999999", 1, 3, 3, 3},
  };
  for (const Case& c : cases) {
    const PageBoxCommit commit = CommitPageBox(QString::fromLatin1(c.text), c.cur, c.last);
    EXPECT_EQ(commit.Shown, c.shown) << c.text;
    EXPECT_EQ(commit.GoTo, c.go) << c.text;
  }
  EXPECT_TRUE(PageBoxAccepts(QLatin1Char('7')));
  EXPECT_TRUE(PageBoxAccepts(QChar(8)));
  EXPECT_FALSE(PageBoxAccepts(QLatin1Char('a')));
  EXPECT_FALSE(PageBoxAccepts(QLatin1Char('-')));
}

TEST(BodyWidthsTest, ViewportTakesFromThePaneDownToTheMinimum) {
  EXPECT_EQ(DivideBody(9000, 1500, true).Viewport, 9000 - 1620);
  EXPECT_EQ(DivideBody(9000, 1500, true).Pane, 1500);
  // 2500 - 1620 < 1200: the pane gives way to 2500 - 1320.
  const BodyWidths narrow = DivideBody(2500, 1500, true);
  EXPECT_EQ(narrow.Viewport, 1200);
  EXPECT_EQ(narrow.Pane, 1180);
  // Below 1920 the window is too narrow.
  EXPECT_TRUE(DivideBody(1800, 1500, true).TooNarrow);
  EXPECT_FALSE(DivideBody(1800, 1500, false).TooNarrow);
}

// --- Tool palette ---

TEST(ToolPaletteTest, SetToolTable) {
  struct Case {
    const char* key;
    int group, sub, slot;
  };
  const Case cases[] = {
      {"Point", 1, 0, 1},  {"Group", 2, 1, 11},   {"Clef", 3, 1, 14}, {"Measure", 4, 1, 4},
      {"Bar", 5, 1, 5},    {"Note", 6, 4, 6},     {"Dyn", 7, 2, 7},   {"Orn", 8, 1, 8},
      {"Chord", 9, 0, 9},  {"Text", 10, 0, 10},
  };
  for (const Case& c : cases) {
    ToolPalette palette;
    ASSERT_TRUE(palette.SetTool(QString::fromLatin1(c.key))) << c.key;
    EXPECT_EQ(palette.ToolGroup(), c.group) << c.key;
    EXPECT_EQ(palette.SubTool(), c.sub) << c.key;
    EXPECT_EQ(palette.ToolKey(), QString::fromLatin1(c.key));
    EXPECT_EQ(palette.CursorSlot(), c.slot) << c.key;
  }
  ToolPalette palette;
  EXPECT_FALSE(palette.SetTool(QStringLiteral("Eraser")));
  EXPECT_EQ(palette.ToolGroup(), tglPoint);
}

TEST(ToolPaletteTest, SubToolOfAnotherToolMakesItCurrent) {
  ToolPalette palette;
  palette.SetTool(QStringLiteral("Note"));
  palette.SetToolKey(QStringLiteral("Clef"));  // a strip opened on the clef button
  ASSERT_TRUE(palette.SetSubTool(2));
  EXPECT_EQ(palette.ToolGroup(), tglClef);
  EXPECT_EQ(palette.ToolImage(tglClef), QStringLiteral("C02"));
  EXPECT_EQ(palette.SubTool(), 2);
  EXPECT_EQ(palette.CursorSlot(), 15);
  // The note tool kept its own sub-tool.
  EXPECT_EQ(palette.ToolImage(tglNote), QStringLiteral("N04"));
}

TEST(ToolPaletteTest, UnknownImagesChangeNothing) {
  ToolPalette palette;
  palette.SetTool(QStringLiteral("Dyn"));
  EXPECT_FALSE(palette.SetSubTool(9));  // no D09
  EXPECT_EQ(palette.SubTool(), 2);
  EXPECT_EQ(palette.ToolImage(tglDyn), QStringLiteral("D02"));
  EXPECT_FALSE(palette.SetOption(QStringLiteral("Snap"), 3));
  EXPECT_FALSE(palette.OptionPressed(QStringLiteral("Snap")));
  EXPECT_FALSE(palette.SetOption(QStringLiteral("Tempo"), 8));
}

TEST(ToolPaletteTest, TenorClefKeepsTheLastClefCursor) {
  ToolPalette palette;
  palette.SetTool(QStringLiteral("Clef"));
  palette.SetSubTool(2);
  EXPECT_EQ(palette.CursorSlot(), 15);
  palette.SetSubTool(4);  // no cursor file of its own
  EXPECT_EQ(palette.SubTool(), 4);
  EXPECT_EQ(palette.CursorSlot(), 15);
  palette.SetTool(QStringLiteral("Group"));
  palette.SetSubTool(2);
  EXPECT_EQ(palette.CursorSlot(), 12);
}

TEST(ToolPaletteTest, NoteDurationFlagsAndSnap) {
  ToolPalette palette;
  palette.SetTool(QStringLiteral("Note"));
  const std::pair<int, int> durations[] = {{1, 64}, {2, 32}, {4, 16}, {8, 8}, {16, 4}, {32, 2}};
  for (const auto& [number, duration] : durations) {
    palette.SetSubTool(number);
    EXPECT_EQ(palette.NoteDuration(), duration) << number;
  }
  EXPECT_EQ(DurationOfNoteValue(3), 16);
  EXPECT_EQ(palette.NoteFlags(), 0);
  EXPECT_EQ(palette.Snap(), 0);  // Snap not pressed
  palette.SetOptionPressed(QStringLiteral("Snap"), true);
  EXPECT_EQ(palette.Snap(), 4);  // N16
  ASSERT_TRUE(palette.SetOption(QStringLiteral("Snap"), 8));
  EXPECT_EQ(palette.OptionImage(QStringLiteral("Snap")), QStringLiteral("N08"));
  EXPECT_EQ(palette.Snap(), 8);
  palette.SetOptionPressed(QStringLiteral("Dot"), true);
  palette.SetOptionPressed(QStringLiteral("Stac"), true);
  palette.SetOptionPressed(QStringLiteral("Triplet"), true);
  EXPECT_EQ(palette.NoteFlags(), 1 + 4 + 256);
}

// --- Strip ---

TEST(StripLayoutTest, GeometryTable) {
  struct Case {
    int n, columns, rows, width, height;
  };
  const Case cases[] = {{2, 2, 1, 630, 360},  {4, 2, 2, 630, 630},  {5, 3, 2, 900, 630},
                        {6, 3, 2, 900, 630},  {8, 4, 2, 1170, 630}, {10, 5, 2, 1440, 630}};
  for (const Case& c : cases) {
    const StripLayout strip = LayOutStrip(c.n);
    EXPECT_EQ(strip.Columns, c.columns) << c.n;
    EXPECT_EQ(strip.Rows, c.rows) << c.n;
    EXPECT_EQ(strip.Width, c.width) << c.n;
    EXPECT_EQ(strip.Height, c.height) << c.n;
  }
  const StripLayout five = LayOutStrip(5);
  EXPECT_EQ(five.ImageX(2), 600);
  EXPECT_EQ(five.ImageY(2), 60);
  EXPECT_EQ(five.ImageX(3), 60);
  EXPECT_EQ(five.ImageY(3), 330);
}

TEST(StripLayoutTest, HitTestKeepsToTheCells) {
  const StripLayout strip = LayOutStrip(5);  // 3 columns, 2 rows, 4th and 5th below
  struct Case {
    int x, y, index;
  };
  const Case cases[] = {
      {50, 50, 0},    {314, 50, 0},  {315, 50, 1},   {600, 300, 5 - 3},  // row 0, col 2
      {60, 330, 3},   {600, 330, -1},  // sixth cell does not exist
      {30, 50, -1},   {50, 30, -1},    // left and top margins
      {860, 50, -1},  // right margin of row 0 is not the first cell of row 1
  };
  for (const Case& c : cases) EXPECT_EQ(strip.HitTest(c.x, c.y), c.index) << c.x << "," << c.y;
  EXPECT_EQ(StripKeysOf(QStringLiteral("Orn")).join(QLatin1Char(';')),
            QStringLiteral("X01;X02;X03;X04;X07;X06;X05;X10;X08;X09"));
  EXPECT_EQ(StripKeysOf(QStringLiteral("Measure")).last(), QStringLiteral("M03"));
  EXPECT_TRUE(StripKeysOf(QStringLiteral("Point")).isEmpty());
  EXPECT_EQ(StripKeysOf(QStringLiteral("snap")).size(), 6);
}

// --- Mouse editing ---

class RecordingHost final : public PageEditHost {
public:
  void AddNoteByHit(int x, int y, int d, int f, int s) override {
    Log << QStringLiteral("Note %1 %2 %3 %4 %5").arg(x).arg(y).arg(d).arg(f).arg(s);
  }
  void AddGlobalByHit(int x, int y, int type, int sub) override {
    Log << QStringLiteral("Global %1 %2 %3 %4").arg(x).arg(y).arg(type).arg(sub);
  }
  void AddOrnamentByHit(int x, int y, int o) override {
    Log << QStringLiteral("Ornament %1 %2 %3").arg(x).arg(y).arg(o);
  }
  void SetBraceByHit(float x, float y, int staffs) override {
    Log << QStringLiteral("Brace %1 %2 %3").arg(x).arg(y).arg(staffs);
  }
  int SetSelection(int l, int t, int r, int b) override {
    Log << QStringLiteral("Select %1 %2 %3 %4").arg(l).arg(t).arg(r).arg(b);
    return Selected;
  }
  void ClearSelection() override { Log << QStringLiteral("ClearSelection"); }
  void SetActiveByHit(int x, int y) override { Log << QStringLiteral("Active %1 %2").arg(x).arg(y); }
  bool OnNote(int, int, int& time, int& dur) override {
    time = 128;
    dur = 16;
    return NoteHere;
  }
  int GetNoteValueByHit(int x, int y) override {
    (void)x;
    return Pitch ? Pitch(y) : 0;
  }
  bool HitTest(float, float) override { return OverScore; }
  void PlayNote(int pitch, bool stop, int program, int channel) override {
    Log << QStringLiteral("Play %1 %2 %3 %4").arg(pitch).arg(stop ? 1 : 0).arg(program).arg(channel);
  }
  void ShowCursor(int slot) override { Cursor = slot; }
  void ShowBand(const std::optional<QRect>& band) override { Band = band; }
  void SetMessage(const QString& text) override { Message = text; }
  void SetNoteMenuState(NoteMenuState state) override { Menu = state; }
  void EnableCutCopy(bool enabled) override { CutCopy = enabled; }
  void ShowPopup(PagePopup popup) override {
    Log << QStringLiteral("Popup %1").arg(static_cast<int>(popup));
  }
  void PointerTool() override { Log << QStringLiteral("PointerTool"); }

  // Only the score calls that place something.
  QStringList Placed() const {
    QStringList placed;
    for (const QString& line : Log)
      if (line.startsWith(QLatin1String("Note")) || line.startsWith(QLatin1String("Global")) ||
          line.startsWith(QLatin1String("Ornament")) || line.startsWith(QLatin1String("Brace")))
        placed << line;
    return placed;
  }

  QStringList Log;
  int Selected = 0;
  bool NoteHere = false;
  bool OverScore = true;
  std::function<int(int)> Pitch;
  int Cursor = -1;
  std::optional<QRect> Band;
  QString Message;
  NoteMenuState Menu = NoteMenuState::NoSelection;
  bool CutCopy = false;
};

TEST(PageEditorTest, ReleasePlacesByToolAndSubTool) {
  struct Case {
    const char* tool;
    int sub;  // -1: the tool's own
    const char* placed;  // "" for nothing
    bool pointer;
  };
  const Case cases[] = {
      {"Group", 1, "Brace 1000.5 2000.25 2", false},
      {"Group", 2, "Brace 1000.5 2000.25 -1", false},
      {"Clef", 0, "Global 1000 2000 7 0", true},
      {"Clef", 3, "Global 1000 2000 7 4", true},
      {"Clef", 4, "Global 1000 2000 7 5", true},
      {"Measure", 1, "Global 1000 2000 5 8", true},
      {"Measure", 3, "Global 1000 2000 5 64", true},
      {"Measure", 8, "Global 1000 2000 5 3", true},
      {"Bar", 1, "Global 1000 2000 3 0", true},
      {"Bar", 4, "Global 1000 2000 9 0", true},
      {"Note", 8, "Note 1000 2000 8 0 0", false},
      {"Dyn", 2, "Global 1000 2000 15 185", true},
      {"Dyn", 7, "Global 1000 2000 15 196", true},
      {"Orn", 1, "Ornament 1000 2000 2", false},
      {"Orn", 3, "Ornament 1000 2000 64", false},
      {"Orn", 6, "", false},  // offered, places nothing
      {"Orn", 10, "Ornament 1000 2000 128", false},
      {"Point", -1, "", false},
  };
  for (const Case& c : cases) {
    RecordingHost host;
    ToolPalette palette;
    palette.SetTool(QString::fromLatin1(c.tool));
    if (c.sub >= 0) {
      ASSERT_TRUE(palette.SetSubTool(c.sub)) << c.tool << c.sub;
    }
    PageEditor editor(host, palette);
    editor.LeftPress(1000.5, 2000.25, false);
    editor.Release(1000.5, 2000.25, true);
    const QStringList placed = host.Placed();
    if (*c.placed) {
      ASSERT_EQ(placed.size(), 1) << c.tool << c.sub;
      EXPECT_EQ(placed.first(), QString::fromLatin1(c.placed));
    } else {
      EXPECT_TRUE(placed.isEmpty()) << c.tool << c.sub;
    }
    EXPECT_EQ(host.Log.contains(QStringLiteral("PointerTool")), c.pointer) << c.tool << c.sub;
  }
}

TEST(PageEditorTest, NotesCarryFlagsAndSnapAndRoundHalvesToEven) {
  RecordingHost host;
  ToolPalette palette;
  palette.SetTool(QStringLiteral("Note"));
  palette.SetOption(QStringLiteral("Snap"), 8);
  palette.SetOptionPressed(QStringLiteral("Dot"), true);
  PageEditor editor(host, palette);
  editor.LeftPress(1000.5, 2001.5, false);
  editor.Release(1000.5, 2001.5, true);
  EXPECT_EQ(host.Placed(), QStringList{QStringLiteral("Note 1000 2002 16 1 8")});
}

TEST(PageEditorTest, PitchSoundsWhileTheNoteIsPlaced) {
  RecordingHost host;
  host.Pitch = [](int y) { return y < 0 ? 0 : 60 + y / 100; };
  ToolPalette palette;
  palette.SetTool(QStringLiteral("Note"));
  PageEditor editor(host, palette);
  editor.SetPreview(41, 3);
  editor.LeftPress(1000, 700, false);
  editor.Move(1000, 720, true);   // same pitch
  editor.Move(1000, 900, true);   // another
  editor.Move(1000, -50, true);   // off the staves: keeps sounding
  editor.Release(1200, 950, true);
  QStringList plays;
  for (const QString& line : host.Log)
    if (line.startsWith(QLatin1String("Play"))) plays << line;
  EXPECT_EQ(plays, (QStringList{QStringLiteral("Play 67 0 41 3"), QStringLiteral("Play 67 1 0 0"),
                                QStringLiteral("Play 69 0 41 3"), QStringLiteral("Play 69 1 0 0")}));
  // Placed where the button came up.
  EXPECT_EQ(host.Placed(), QStringList{QStringLiteral("Note 1200 950 16 0 0")});
}

TEST(PageEditorTest, PreviewStopsWhenTheMouseIsLost) {
  RecordingHost host;
  host.Pitch = [](int) { return 64; };
  ToolPalette palette;
  palette.SetTool(QStringLiteral("Note"));
  PageEditor editor(host, palette);
  editor.LeftPress(1000, 700, false);
  editor.MouseLost();
  EXPECT_EQ(host.Log.last(), QStringLiteral("Play 64 1 0 0"));
  EXPECT_EQ(editor.SoundingPitch(), 0);
}

TEST(PageEditorTest, ModifiedPressDoesNothing) {
  RecordingHost host;
  host.Pitch = [](int) { return 64; };
  ToolPalette palette;
  palette.SetTool(QStringLiteral("Note"));
  PageEditor editor(host, palette);
  editor.LeftPress(1000, 700, true);
  editor.Release(1000, 700, true);
  EXPECT_TRUE(host.Log.isEmpty());
  // A right-button release places nothing either.
  editor.LeftPress(1000, 700, false);
  editor.Release(1000, 700, false);
  EXPECT_TRUE(host.Placed().isEmpty());
}

TEST(PageEditorTest, BandSelectsAsDraggedAndReportsTheCount) {
  for (const int count : {0, 1, 2}) {
    RecordingHost host;
    host.Selected = count;
    ToolPalette palette;
    PageEditor editor(host, palette);
    editor.LeftPress(5000, 4000, false);
    editor.Move(3000, 2500, true);
    editor.Move(2000, 1000, true);
    editor.Release(2000, 1000, true);
    EXPECT_TRUE(host.Log.contains(QStringLiteral("Select 5000 4000 2000 1000"))) << count;
    EXPECT_EQ(host.Message, PageEditor::SelectionText(count));
    EXPECT_TRUE(editor.HasSelection());
    ASSERT_TRUE(host.Band.has_value()) << "the band stays, even around nothing";
    EXPECT_EQ(host.CutCopy, count > 0);
    EXPECT_EQ(host.Menu, count > 0 ? NoteMenuState::BandSelected : NoteMenuState::NoSelection);
    EXPECT_TRUE(host.Placed().isEmpty());
    // The next press takes the band away.
    editor.LeftPress(100, 100, false);
    EXPECT_FALSE(host.Band.has_value());
    EXPECT_TRUE(host.Log.contains(QStringLiteral("ClearSelection")));
  }
  EXPECT_EQ(PageEditor::SelectionText(0), QStringLiteral("No items selected."));
  EXPECT_EQ(PageEditor::SelectionText(1), QStringLiteral("1 item selected."));
  EXPECT_EQ(PageEditor::SelectionText(2), QStringLiteral("2 items selected."));
}

TEST(PageEditorTest, RightClickChoosesTheMenu) {
  {
    RecordingHost host;
    ToolPalette palette;
    PageEditor editor(host, palette);
    editor.SetOffScore(true);
    editor.RightPress(100, 100);
    EXPECT_EQ(host.Log, (QStringList{QStringLiteral("Active 100 100"), QStringLiteral("Popup 1")}));
  }
  {
    RecordingHost host;
    ToolPalette palette;
    PageEditor editor(host, palette);
    editor.RightPress(100, 100);
    EXPECT_EQ(host.Log.last(), QStringLiteral("Popup 2"));  // the Measure menu over a staff
  }
  {
    RecordingHost host;
    host.NoteHere = true;
    host.Selected = 1;
    ToolPalette palette;
    PageEditor editor(host, palette);
    editor.RightPress(1000, 2000);
    // The selection lives while the menu is up and goes after.
    EXPECT_EQ(host.Log, (QStringList{QStringLiteral("Select 880 1880 1120 2120"),
                                     QStringLiteral("Popup 0"), QStringLiteral("ClearSelection")}));
    EXPECT_EQ(editor.ClickedNoteTime(), 128);
    EXPECT_FALSE(editor.HasSelection());
  }
}

TEST(PageEditorTest, MovingSetsTheToolOrOffScoreCursor) {
  RecordingHost host;
  ToolPalette palette;
  palette.SetTool(QStringLiteral("Dyn"));
  PageEditor editor(host, palette);
  editor.Move(10, 10, false);
  EXPECT_EQ(host.Cursor, 7);
  EXPECT_FALSE(editor.OffScore());
  host.OverScore = false;
  editor.Move(10, 10, false);
  EXPECT_EQ(host.Cursor, 0);
  EXPECT_TRUE(editor.OffScore());
}

}  // namespace
}  // namespace veltrimond

namespace veltrimond {
namespace {

TEST(ChordNamesTest, RootsAndQualitiesOnceEach) {
  const ChordNameLists lists = SplitChordNames({{"C Min 7", 1},
                                                {"C", 2},
                                                {"C maj", 3},
                                                {"D Min", 4},
                                                {"D 7", 5},
                                                {"G 7", 6},
                                                {"E  MIN  7 ", 7}});
  EXPECT_EQ(lists.Roots, (QStringList{QStringLiteral("C"), QStringLiteral("D"),
                                      QStringLiteral("G"), QStringLiteral("E")}));
  // "E  MIN  7": the minor "7" is there already.
  EXPECT_EQ(lists.Major, (QStringList{QStringLiteral(" "), QStringLiteral("7")}));
  EXPECT_EQ(lists.Minor, (QStringList{QStringLiteral("7"), QStringLiteral(" ")}));
}

TEST(ChordNamesTest, CompactNamesSplitAfterTheirRoot) {
  struct Case {
    const char* Name;
    const char* Root;
    bool Minor;
    const char* Quality;
  };
  const Case cases[] = {
      {"A#6", "A#", false, "6"},      {"G7", "G", false, "7"},       {"Bb", "Bb", false, " "},
      {"Bbm7b5", "Bb", true, "7b5"},  {"C#m", "C#", true, " "},      {"Cmaj7", "C", false, "maj7"},
      {"Ebmin9", "Eb", true, "9"},    {"Fsus4", "F", false, "sus4"}, {"Bdim7", "B", false, "dim7"},
      {"Cmaj", "C", false, " "},      {"N.C.", "N.C.", false, " "},  // no note letter: all root
      {"E  MIN  7 ", "E", true, "7"},                                // with blanks: split there
  };
  for (const Case& c : cases) {
    const ChordNameParts parts = SplitChordName(QString::fromLatin1(c.Name));
    EXPECT_EQ(parts.Root, QLatin1String(c.Root)) << c.Name;
    EXPECT_EQ(parts.Minor, c.Minor) << c.Name;
    EXPECT_EQ(parts.Quality, QLatin1String(c.Quality)) << c.Name;
  }
}

// The table that ships: twelve roots and their sharps and flats in the root list, no root
// among the qualities.
TEST(ChordNamesTest, TheShippedTableFillsEveryList) {
  notecraft::Score score;
  score.CreateDefault();
  const ChordNameLists lists = SplitChordNames(score.LoadChordList());
  ASSERT_FALSE(lists.Roots.isEmpty());
  for (const QString& root : lists.Roots)
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-G][#b]?$")).match(root).hasMatch())
        << root.toStdString();
  EXPECT_GE(lists.Roots.size(), 12);
  EXPECT_TRUE(lists.Major.contains(QStringLiteral(" ")));
  EXPECT_TRUE(lists.Major.contains(QStringLiteral("7")));
  EXPECT_TRUE(lists.Major.contains(QStringLiteral("maj7")));
  EXPECT_TRUE(lists.Minor.contains(QStringLiteral(" ")));
  EXPECT_TRUE(lists.Minor.contains(QStringLiteral("7")));
  for (const QString& quality : lists.Major + lists.Minor)
    EXPECT_FALSE(lists.Roots.contains(quality.trimmed())) << quality.toStdString();
}

}  // namespace
}  // namespace veltrimond
