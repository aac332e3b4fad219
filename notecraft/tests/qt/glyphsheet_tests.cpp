// The glyph sheet: every glyph of the music font drawn through QPainterSurface at the anchor
// its drawer uses, on five-line staves, saved as glyphsheet.png in the test folder for a
// person to look at. The checks below look at pixels where a wrong origin, scale or advance
// would show.
#include <gtest/gtest.h>

#include <string>

#include <QColor>
#include <QImage>

#include "notecraft/core/common.h"
#include "notecraft/qt/qpaintersurface.h"
#include "notecraft/view/glyphs.h"

namespace notecraft {
namespace {

// Staff geometry at the default staff height of 0.4 inch.
constexpr int L = 576;            // staff height
constexpr int S = L / 4;          // line spacing
constexpr int Baseline = 225;     // glyph baseline offset: round(0.39 L), whole pixels
constexpr int Px = 15;            // twips per pixel of the page buffer
constexpr int kStaffColour = RGB(150, 170, 255);
constexpr int kInk = 0;

FontSpec Music(double points = L / 20.0) { return FontSpec{std::string(MusicFontName), static_cast<float>(points)}; }

struct Staff {
  int Left, Right, Top;
  int Y() const { return Top - Baseline; }       // the reference y: anchor of step 0
  int Line(int k) const { return Top + 4 * S + k * S; }  // k = 0 bottom .. -4 top
};

void DrawStaff(Surface& s, const Staff& staff) {
  s.SetForeColor(kStaffColour);
  for (int k = 0; k >= -4; --k) s.DrawLine(staff.Left, staff.Line(k), staff.Right, staff.Line(k));
  s.SetForeColor(kInk);
}

void Glyph(Surface& s, int x, int y, std::string_view text) { s.DrawText(x, y, text); }

// Positions the checks look at, in twips.
struct Sheet {
  Staff Clefs{720, 11520, 1440};
  Staff Notes{720, 11520, 3400};
  Staff Rests{720, 11520, 5400};
  Staff Marks{720, 11520, 7600};
  Staff GroupTop{1500, 5500, 10200};
  Staff GroupBottom{1500, 5500, 11200};
  Staff BracedTop{7000, 11000, 10200};
  Staff BracedBottom{7000, 11000, 11200};
  int TrebleX = 900;
  int DigitX = 5000;
  int RepeatEndX = 10300;
  int QuarterX = 900;      // filled head on the bottom line, stem up
  int LedgerX = 6600;      // head at step -6 on two ledger lines
  int BeamX1 = 8600, BeamX2 = 9200;
  int MissingX = 10700;
};

void DrawSheet(Surface& s, const Sheet& sh) {
  s.Clear();
  for (const Staff* staff : {&sh.Clefs, &sh.Notes, &sh.Rests, &sh.Marks, &sh.GroupTop,
                             &sh.GroupBottom, &sh.BracedTop, &sh.BracedBottom})
    DrawStaff(s, *staff);
  s.SetFont(Music());

  // Clefs, time signatures, key signatures, bar glyphs.
  const Staff& c = sh.Clefs;
  Glyph(s, sh.TrebleX, c.Y(), "&");
  Glyph(s, 1600, c.Y(), "?");
  Glyph(s, 2300, c.Y(), "B");
  Glyph(s, 3000, c.Y() - S, "B");  // tenor: one space higher
  Glyph(s, 3700, c.Y(), "\xD6");
  Glyph(s, 4200, c.Y(), "c");
  Glyph(s, 4600, c.Y(), "C");
  Glyph(s, sh.DigitX, c.Y() - S, "4");
  Glyph(s, sh.DigitX, c.Y() - 3 * S, "3");
  Glyph(s, 5400, c.Y() - S, "8");
  Glyph(s, 5400, c.Y() - 3 * S, "6");
  // Treble keys: sharps F C G D A E B, flats B E A D G C F, heights in half spaces.
  int x = 5900;
  for (int h2 : {8, 5, 9, 6, 3, 7, 4}) { Glyph(s, x, c.Y() - h2 * S / 2, "#"); x += S; }
  x += S;
  for (int h2 : {4, 7, 3, 6, 2, 5, 1}) { Glyph(s, x, c.Y() - h2 * S / 2, "b"); x += S; }
  // Section end, repeat end and begin, score end: right-aligned at their bar positions
  // except the repeat begin, left-aligned.
  Glyph(s, 8400 - s.TextWidth("["), c.Y(), "[");
  Glyph(s, sh.RepeatEndX - s.TextWidth(glyph::RepeatEndBar), c.Y(), glyph::RepeatEndBar);
  Glyph(s, sh.RepeatEndX, c.Y(), glyph::RepeatBeginBar);
  Glyph(s, 11520 - s.TextWidth("\xD3"), c.Y(), "\xD3");
  s.DrawLine(8400 + 900, c.Line(-4), 8400 + 900, c.Line(0));  // a plain bar line to compare

  // Notes: heads, stems, flags, dots, accidentals, ledger lines, a beam each way.
  const Staff& n = sh.Notes;
  auto up = [&](int x0, int step2, std::string_view head, std::string_view flag = {}) {
    const int y = n.Y() + step2 * S / 2;
    Glyph(s, x0, y, head);
    Glyph(s, x0, y, "\\");
    if (!flag.empty()) Glyph(s, x0, y, flag);
  };
  auto down = [&](int x0, int step2, std::string_view head, std::string_view flag = {}) {
    const int y = n.Y() + step2 * S / 2;
    Glyph(s, x0, y, head);
    Glyph(s, x0, y, "|");
    if (!flag.empty()) Glyph(s, x0, y, flag);
  };
  up(sh.QuarterX, 0, "\xCF");
  up(1300, -1, "\xCF", "j");
  up(1700, -2, "\xCF", "k");
  up(2100, -3, "\xCF", "r");
  down(2500, -8, "\xCF", "J");
  down(2900, -7, "\xCF", "K");
  down(3300, -6, "\xCF", "R");
  up(3700, -1, "\xFA");
  Glyph(s, 4100, n.Y() - 3 * S / 2, "w");
  Glyph(s, 4600, n.Y() - 2 * S, "\xCF .");  // dotted, head on the middle line
  auto accidental = [&](int x0, int step2, std::string_view acc) {
    const int y = n.Y() + step2 * S / 2;
    Glyph(s, x0 - s.TextWidth(acc) - 15, y, acc);
    Glyph(s, x0, y, "\xCF");
  };
  accidental(5300, -3, "#");
  accidental(5700, -4, "b");
  accidental(6100, -5, "n");
  accidental(6500 + 200, -2, "\xDC");
  accidental(7300, -1, "bb");
  // Step -6: ledger lines at k = -6 and -5, as the note drawer draws them.
  Glyph(s, sh.LedgerX - 300, n.Y() - 6 * S, "\xC0");  // the percussion head, in the staff's left part
  for (int k : {-6, -5})
    s.DrawLine(sh.LedgerX + 600 - 60, n.Y() + L + Baseline + k * S, sh.LedgerX + 600 + S + 60,
               n.Y() + L + Baseline + k * S);
  Glyph(s, sh.LedgerX + 600, n.Y() - 6 * S, "\xCF");
  // Two eighths beamed up (second line and middle line): stems from the beam line, which
  // starts at the higher note's anchor, down to each head every three spaces.
  const int yHigh = n.Y() - 2 * S, yLow = n.Y() - S;
  Glyph(s, sh.BeamX1, yLow, "\xCF");
  Glyph(s, sh.BeamX2, yHigh, "\xCF");
  for (int y = yHigh; y <= yLow; y += 3 * S) Glyph(s, sh.BeamX1, y, "\\");
  Glyph(s, sh.BeamX1, yLow, "\\");
  Glyph(s, sh.BeamX2, yHigh, "\\");
  const int shift = SnapX(S + 23);  // round(s + 1.5 px)
  for (int i = 0; i <= 4; ++i)
    s.DrawLine(sh.BeamX1 + shift, yHigh + 2 * S + i * Px, sh.BeamX2 + shift, yHigh + 2 * S + i * Px);
  // Two eighths beamed down (top line and fourth line).
  const int d1 = 10000, d2 = 10600, yTop = n.Y() - 4 * S, yFourth = n.Y() - 3 * S;
  Glyph(s, d1, yTop, "\xCF");
  Glyph(s, d2, yFourth, "\xCF");
  Glyph(s, d1, yTop, "|");
  Glyph(s, d1, yFourth, "|");
  Glyph(s, d2, yFourth, "|");
  for (int i = 0; i <= 4; ++i)
    s.DrawLine(d1, yFourth + 1310 - i * Px, d2, yFourth + 1310 - i * Px);

  // Rests, the repeat-measure sign, articulations and ornaments.
  const Staff& r = sh.Rests;
  x = 900;
  for (std::string_view rest : {"\xB7", "\xEE", "\xCE", "\xE4", "\xC5", "\xA8"}) {
    Glyph(s, x, r.Y(), rest);
    x += 500;
  }
  Glyph(s, 4150 - s.TextWidth("\xD4") / 2, r.Y() - S, "\xD4");
  // Up-stem notes on the second line: articulation below; down-stem notes on the middle
  // line: articulation above and an ornament over the staff.
  x = 4800;
  for (std::string_view art : {".", "-", ">"}) {
    const int y = r.Y() - S;
    Glyph(s, x, y, "\xCF");
    Glyph(s, x, y, "\\");
    Glyph(s, art == "." ? x + S / 2 : x, art == ">" ? y + 2 * S : y + S, art);
    x += 400;
  }
  for (std::string_view art : {".", "-", ">"}) {
    const int y = r.Y() - 2 * S;
    Glyph(s, x, y, "\xCF");
    Glyph(s, x, y, "|");
    Glyph(s, art == "." ? x + S / 2 : x, y - S, art);
    x += 400;
  }
  for (std::string_view orn : {"\xB3", "v", "`", "M", "m", "T", "U"}) {
    const int y = r.Y() - 2 * S;
    Glyph(s, x, y, "\xCF");
    Glyph(s, x, y, "|");
    const bool half = orn == "M" || orn == "m" || orn == "T" || orn == "U";
    Glyph(s, half ? x - S / 2 : x, r.Y() - 5 * S, orn);
    x += 550;
  }
  {  // Fermata below an up-stem note on the bottom line.
    Glyph(s, x, r.Y(), "\xCF");
    Glyph(s, x, r.Y(), "\\");
    Glyph(s, x - S / 2, r.Y() + S, "u");
  }

  // Section marks, an octave line, dynamics, the tempo line, a missing glyph.
  const Staff& m = sh.Marks;
  Glyph(s, 900, m.Y() - 7 * S, "\xDE");
  Glyph(s, 1600, m.Y() - 7 * S, "%");
  s.DrawLine(2700, m.Line(-4), 2700, m.Line(0));
  Glyph(s, 2700 - 2 * S, m.Y() - 7 * S, "D");
  s.DrawLine(3400, m.Line(-4), 3400, m.Line(0));
  Glyph(s, 3400 - 2 * S, m.Y() - 7 * S, "d");
  for (auto [left, sign] : {std::pair{3700, "\xC3"}, std::pair{5200, "\xD7"}}) {
    const int h = m.Y() - SnapY(static_cast<int>(2.2 * S + 0.5));
    s.SetDrawStyle(DrawStyle::Dot);
    s.DrawLine(left, h, left, h + 2 * S);
    s.DrawLine(left, h, left + 1300, h);
    s.SetDrawStyle(DrawStyle::Solid);
    s.SetFont(Music(14));
    Glyph(s, left + S, h - s.TextHeight() / 4, sign);
    s.SetFont(Music());
  }
  x = 5300;
  for (std::string_view dyn : {"\xB8", "\xB9", "p", "P", "F", "f", "\xC4", "\xEC"}) {
    Glyph(s, x - S, m.Y() + 3 * S + S / 2, dyn);
    s.DrawLine(x, m.Line(0) + 30, x, m.Line(0) + 90);  // the note position it belongs to
    x += 800;
  }
  // The tempo line: text, then each note sign at 1.5 times the text size, lifted by 0.3 of
  // its cell height, as the heading's tempo line draws it.
  {
    const FontSpec text{"Arial", 10.0f};
    const int y = m.Line(0) + 1500;
    int tx = 900;
    for (std::string_view note : {"s", "e", "q", "h", "w"}) {
      s.SetFont(text);
      Glyph(s, tx, y, "(");
      tx += s.TextWidth("(");
      s.SetFont(Music(15));
      Glyph(s, tx, y - static_cast<int>(0.3 * s.TextHeight() + 0.5), note);
      tx += s.TextWidth(note);
      s.SetFont(text);
      Glyph(s, tx, y, " = 120) ");
      tx += s.TextWidth(" = 120) ");
    }
    s.SetFont(Music());
  }
  Glyph(s, sh.MissingX, m.Y(), "\x05");

  // A bracket over two staves and a brace over two staves.
  const Staff& g1 = sh.GroupTop;
  const Staff& g2 = sh.GroupBottom;
  const int bx = g1.Left - SnapX(S / 2 / 2 + S);
  Glyph(s, bx, g1.Top - (S / 2 + S), "\xC2");
  s.FillBox(bx, g1.Top, bx + static_cast<int>(S * 0.45 + 0.5), g2.Top - (S / 2 + S) + (S / 2 + 5 * S));
  Glyph(s, bx, g2.Top - (S / 2 + S), "L");
  const Staff& b1 = sh.BracedTop;
  const Staff& b2 = sh.BracedBottom;
  {
    const int half = (b2.Line(0) - b1.Top) / 2;
    s.SetFont(Music(half / 40.0));
    const int dd = static_cast<int>(0.17 * half + 0.5);
    const int bxx = b1.Left - s.TextWidth("\xA7");
    Glyph(s, bxx, b1.Top - dd, "\xA7");
    Glyph(s, bxx, b1.Top - dd + half, "\xEA");
    s.SetFont(Music());
  }
  for (const Staff* st : {&g1, &g2, &b1, &b2}) s.DrawLine(st->Left, st->Line(-4), st->Left, st->Line(0));
  s.DrawLine(b1.Left, b1.Line(0), b1.Left, b2.Line(-4));
}

// --- Pixels ---

bool Dark(const QImage& image, int xTwips, int yTwips) {
  const QColor c = image.pixelColor(xTwips / Px, yTwips / Px);
  return qGray(c.rgb()) < 100;
}

// The bounding box, in twips, of dark pixels inside a box given in twips.
QRect InkBox(const QImage& image, int left, int top, int right, int bottom) {
  QRect box;
  for (int py = top / Px; py <= bottom / Px; ++py)
    for (int px = left / Px; px <= right / Px; ++px)
      if (qGray(image.pixelColor(px, py).rgb()) < 100) box |= QRect(px * Px, py * Px, Px, Px);
  return box;
}

class GlyphSheet : public testing::Test {
protected:
  static void SetUpTestSuite() {
    QPainterSurface surface(kSheetWidth, kSheetHeight);
    DrawSheet(surface, Sheet{});
    s_image = new QImage(*surface.Image());
  }
  static void TearDownTestSuite() { delete s_image; }
  static const QImage& Image() { return *s_image; }
  static constexpr int kSheetWidth = 12240;
  static constexpr int kSheetHeight = 12600;
  Sheet sh;
  static QImage* s_image;
};
QImage* GlyphSheet::s_image = nullptr;

TEST_F(GlyphSheet, SavedForPeopleToLookAt) {
  // glyphsheet.png as the screen shows it, glyphsheet-4x.png for a closer look.
  EXPECT_TRUE(Image().save(QStringLiteral(NOTECRAFT_QT_TEST_OUTPUT "/glyphsheet.png")));
  QPainterSurface large(kSheetWidth, kSheetHeight, 4.0);
  DrawSheet(large, Sheet{});
  ASSERT_EQ(large.Image()->width(), 4 * Image().width());
  EXPECT_TRUE(large.Image()->save(QStringLiteral(NOTECRAFT_QT_TEST_OUTPUT "/glyphsheet-4x.png")));
}

TEST_F(GlyphSheet, HeadSitsOnItsLine) {
  // The filled head anchored at the reference y: centred on the bottom line, one space tall,
  // a little more than a space wide.
  // (Left of the stem, which stands at the head's right edge.)
  const QRect ink = InkBox(Image(), sh.QuarterX - 60, sh.Notes.Line(0) - S, sh.QuarterX + S - 30,
                           sh.Notes.Line(0) + S);
  EXPECT_NEAR(ink.left(), sh.QuarterX, Px);
  EXPECT_NEAR(ink.center().y(), sh.Notes.Line(0), Px);
  EXPECT_NEAR(ink.height(), S, 2 * Px);
  EXPECT_FALSE(Dark(Image(), sh.QuarterX + S / 2, sh.Notes.Line(0) - S));
}

TEST_F(GlyphSheet, StemReachesTheBeamLine) {
  // An up stem's end is two spaces below its anchor, where the beam drawer starts a beam; it
  // stands at the head's right edge, which the beam's start x (one space and 1.5 px) meets.
  const int stemEnd = sh.Notes.Y() + 2 * S;
  const QRect ink = InkBox(Image(), sh.QuarterX + S - 30, sh.Notes.Y(), sh.QuarterX + S + 40,
                           sh.Notes.Line(0) - S);
  EXPECT_NEAR(ink.top(), stemEnd, Px);
  // The stem's last dark pixel column is the one before the beam's first.
  EXPECT_TRUE(Dark(Image(), sh.QuarterX + SnapX(S + 23) - Px, sh.Notes.Line(0) - 2 * S));
  // The beamed pair: the lower note's stem runs unbroken from its head to the beam.
  for (int y = sh.Notes.Line(-1) - 3 * Px; y > sh.Notes.Y() - 2 * S + 2 * S; y -= Px)
    ASSERT_TRUE(InkBox(Image(), sh.BeamX1 + S - 40, y, sh.BeamX1 + S + 30, y).isValid()) << y;
}

TEST_F(GlyphSheet, ClefsAndDigitsFillTheStaffAsDesigned) {
  // G clef: about 1.5 spaces below the bottom line to 1.8 spaces above the top line.
  const Staff& c = sh.Clefs;
  const QRect clef = InkBox(Image(), sh.TrebleX - 100, c.Top - 3 * S, sh.TrebleX + 500, c.Line(0) + 3 * S);
  EXPECT_NEAR(clef.top(), c.Line(-4) - 1.78 * S, 0.25 * S);
  EXPECT_NEAR(clef.bottom(), c.Line(0) + 1.54 * S, 0.25 * S);
  EXPECT_NEAR(clef.left(), sh.TrebleX, Px);
  // The beat unit fills the lower half of the staff, the numerator the upper half.
  const QRect unit = InkBox(Image(), sh.DigitX, c.Line(-2) + 2 * Px, sh.DigitX + 250, c.Line(0) + S);
  EXPECT_NEAR(unit.top(), c.Line(-2), 2 * Px);
  EXPECT_NEAR(unit.bottom(), c.Line(0), 2 * Px);
  const QRect numerator = InkBox(Image(), sh.DigitX, c.Line(-4) - S, sh.DigitX + 250, c.Line(-2) - 2 * Px);
  EXPECT_NEAR(numerator.top(), c.Line(-4), 2 * Px);
}

TEST_F(GlyphSheet, RightAlignedBarEndsAtTheBarAndSpansTheStaff) {
  const Staff& c = sh.Clefs;
  const int x = sh.RepeatEndX;
  // The repeat end "{\xD3", right-aligned at x: its thick line ends at x and runs from the
  // top line to the bottom line. (The repeat begin starts at x, so look left of it only.)
  const QRect ink = InkBox(Image(), x - 600, c.Top - S, x - Px, c.Line(0) + S);
  EXPECT_NEAR(ink.right(), x - Px, Px);
  EXPECT_NEAR(ink.top(), c.Line(-4), Px);
  EXPECT_NEAR(ink.bottom(), c.Line(0), Px);
}

TEST_F(GlyphSheet, LedgerLinesMeetTheHead) {
  // The head at step -6 is centred on the upper ledger line, which shows either side of it.
  const int x = sh.LedgerX + 600;
  const int ledger = sh.Notes.Y() + L + Baseline - 6 * S;
  EXPECT_TRUE(Dark(Image(), x + S / 2, ledger));
  EXPECT_TRUE(Dark(Image(), x - 45, ledger));
  const QRect head = InkBox(Image(), x, ledger - S, x + S + 30, ledger + S / 2 + 10);
  EXPECT_NEAR(head.center().y(), ledger, Px);
}

TEST_F(GlyphSheet, MissingGlyphShowsAsABox) {
  // A byte without a glyph draws the font's empty box, not another font's character.
  const QRect ink = InkBox(Image(), sh.MissingX, sh.Marks.Top - S, sh.MissingX + 500, sh.Marks.Line(0) + 10);
  ASSERT_TRUE(ink.isValid());
  EXPECT_NEAR(ink.bottom(), sh.Marks.Line(0), Px);
  EXPECT_NEAR(ink.height(), 0.7 * L, 2 * Px);
}

}  // namespace
}  // namespace notecraft
