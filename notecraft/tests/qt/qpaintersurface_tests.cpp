// QPainterSurface: measuring as the recording surface does, text fonts, shapes on pixels, and
// a PDF page with the music font embedded.
#include <gtest/gtest.h>

#include <string>

#include <QByteArray>
#include <QFile>
#include <QFontInfo>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>

#include "notecraft/core/common.h"
#include "notecraft/qt/qpaintersurface.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/recordingsurface.h"

namespace notecraft {
namespace {

constexpr int Px = 15;

FontSpec Music(float points) { return FontSpec{std::string(MusicFontName), points}; }

bool Dark(const QImage& image, int xTwips, int yTwips) {
  return qGray(image.pixelColor(xTwips / Px, yTwips / Px).rgb()) < 100;
}

TEST(QPainterSurface, MeasuresMusicTextAsTheRecordingSurface) {
  // The drawing code lays symbols out with widths from the recording surface in its tests
  // and from this surface on screen: they must be the same numbers, but for the rounding of
  // an advance that falls on half a twip (Qt keeps advances in 1/64 pixel).
  QPainterSurface screen(2000, 2000);
  RecordingSurface recording;
  for (float points : {28.8f, 14.4f, 14.0f, 7.25f}) {
    SCOPED_TRACE(points);
    screen.SetFont(Music(points));
    recording.SetFont(Music(points));
    EXPECT_EQ(screen.TextHeight(), recording.TextHeight());
    for (unsigned char code : glyph::AllCodes) {
      const std::string text(1, static_cast<char>(code));
      ASSERT_NEAR(screen.TextWidth(text), recording.TextWidth(text), 1) << "code " << int(code);
    }
    for (std::string_view text : {glyph::DoubleFlat, glyph::RepeatBeginBar, glyph::RepeatEndBar,
                                  std::string_view("\xCF ."), std::string_view("\x05")})
      EXPECT_NEAR(screen.TextWidth(text), recording.TextWidth(text), 1);
    // Glyph by glyph: a double flat is exactly two flats on screen too.
    EXPECT_EQ(screen.TextWidth(glyph::DoubleFlat), 2 * screen.TextWidth("b"));
  }
}

TEST(QPainterSurface, TextFontsResolveToMetricCompatibleFaces) {
  struct Case {
    const char* asked;
    const char* resolved;
  };
  for (const Case& c : {Case{"Arial", "Liberation Sans"}, Case{"Verdana", "DejaVu Sans"},
                        Case{"MS Sans Serif", "Liberation Sans"}}) {
    SCOPED_TRACE(c.asked);
    const QFont font = QPainterSurface::ToQFont(FontSpec{c.asked, 10.0f});
    EXPECT_EQ(QFontInfo(font).family().toStdString(), c.resolved);
  }
}

TEST(QPainterSurface, PageBufferIsTheScreenAtFifteenTwipsAPixel) {
  QPainterSurface s(12240, 15840);
  ASSERT_NE(s.Image(), nullptr);
  EXPECT_EQ(s.Image()->width(), 816);
  EXPECT_EQ(s.Image()->height(), 1056);
  EXPECT_EQ(s.TwipsPerPixelX(), 15.0);
  EXPECT_EQ(s.ScaleWidth(), s.PageWidth());
  s.SetPageSize(1500, 750);
  EXPECT_EQ(s.Image()->width(), 100);
  EXPECT_EQ(s.Image()->height(), 50);
  EXPECT_TRUE(s.IsActive());
}

TEST(QPainterSurface, ShapesLandOnTheirPixels) {
  QPainterSurface s(3000, 3000);
  s.SetBackColor(RGB(255, 255, 255));
  s.Clear();
  s.SetForeColor(RGB(0, 0, 0));

  // A box includes both of its corners' pixels, and no more.
  s.FillBox(300, 300, 600, 450);
  EXPECT_TRUE(Dark(*s.Image(), 300, 300));
  EXPECT_TRUE(Dark(*s.Image(), 600, 450));
  EXPECT_FALSE(Dark(*s.Image(), 300 - Px, 300));
  EXPECT_FALSE(Dark(*s.Image(), 600 + Px, 450 + Px));

  // A one-pixel line on its row; a dotted one has gaps.
  s.DrawLine(300, 900, 1800, 900);
  s.SetDrawStyle(DrawStyle::Dot);
  s.DrawLine(300, 1200, 1800, 1200);
  s.SetDrawStyle(DrawStyle::Solid);
  int solid = 0, dotted = 0;
  for (int x = 300; x < 1800; x += Px) {
    solid += Dark(*s.Image(), x, 900);
    dotted += Dark(*s.Image(), x, 1200);
  }
  EXPECT_EQ(solid, 100);
  EXPECT_GT(dotted, 20);
  EXPECT_LT(dotted, 80);

  // Drawing the same box twice in XOR mode gives the page back.
  const QImage before = *s.Image();
  s.SetDrawMode(DrawMode::XorPen);
  s.SetForeColor(RGB(255, 255, 255));
  s.FillBox(1500, 1500, 2400, 2400);
  EXPECT_NE(*s.Image(), before);
  s.FillBox(1500, 1500, 2400, 2400);
  EXPECT_EQ(*s.Image(), before);
  s.SetDrawMode(DrawMode::CopyPen);

  // A Bezier run and a full arc stroke their outlines, not their insides.
  s.SetForeColor(RGB(200, 0, 0));
  // (Both antialiased: "red" is any clearly reddish pixel.)
  auto red = [&](int x, int y) {
    const QColor c = s.Image()->pixelColor(x / Px, y / Px);
    return c.red() > 150 && c.green() < 150;
  };
  s.DrawPolyBezier({{300, 2700}, {600, 2100}, {1200, 2100}, {1500, 2700}});
  EXPECT_TRUE(red(900, 2250) || red(900, 2265));  // the curve's top: y = 2250
  EXPECT_EQ(s.Image()->pixelColor(900 / Px, 2600 / Px), QColor(Qt::white));
  s.DrawArc(1800, 300, 2700, 1200, 0, 360);
  EXPECT_EQ(s.Image()->pixelColor(2250 / Px, 750 / Px), QColor(Qt::white));
  EXPECT_TRUE(red(2700 - Px, 750) || red(2700, 750));
}

TEST(QPainterSurface, TextIsAnchoredAtItsCellTop) {
  QPainterSurface s(3000, 3000);
  s.Clear();
  s.SetFont(FontSpec{"Arial", 20.0f});
  s.DrawText(600, 600, "H");
  // Liberation Sans: ascent 0.905 em, cap height 0.729 em (em = 400 twips here).
  int top = -1, bottom = -1;
  for (int y = 0; y < 3000; y += Px) {
    if (!Dark(*s.Image(), 600 + 40, y)) continue;
    if (top < 0) top = y;
    bottom = y + Px;  // the pixel row's lower edge
  }
  EXPECT_NEAR(bottom, 600 + 0.905 * 400, Px);
  EXPECT_NEAR(top, 600 + (0.905 - 0.729) * 400, 2 * Px);
}

// Music glyphs on the page buffer wait in a run until something else is drawn; what shows
// must not depend on that.
TEST(QPainterSurface, MusicGlyphsDrawAsIfEachWereDrawnAtOnce) {
  const std::string heads = {glyph::FilledHead, glyph::HalfHead, glyph::Sharp, glyph::FilledHead};
  auto draw = [&](QPainterSurface& s, bool separately) {
    s.SetBackColor(RGB(255, 255, 255));
    s.Clear();
    for (int i = 0; i < 12; ++i) {
      s.SetForeColor(i % 4 == 3 ? RGB(200, 0, 0) : RGB(0, 0, 0));
      // Overlapping glyphs, one or several to a text.
      s.DrawText(300 + 70 * i, 300 + 40 * (i % 3), i % 2 ? heads.substr(i % 4, 1) : heads);
      // Anything drawn (here off the page) draws the queued glyphs first.
      if (separately) s.FillBox(-300, -300, -200, -200);
    }
  };
  // 14 points: small enough to be queued on screen; at four device pixels a pixel too
  // large (drawn as one path per run, so never queued).
  for (qreal ratio : {1.0, 4.0}) {
    SCOPED_TRACE(ratio);
    QPainterSurface queued(2400, 1200, ratio), separate(2400, 1200, ratio);
    queued.SetFont(Music(14.0f));
    separate.SetFont(Music(14.0f));
    draw(queued, false);
    draw(separate, true);
    EXPECT_EQ(*queued.Image(), *separate.Image());
  }
}

TEST(QPainterSurface, QueuedGlyphsGoUnderWhatIsDrawnLater) {
  const auto darkIn = [](const QImage& image, int left, int top, int size) {
    int dark = 0;
    for (int y = top; y < top + size; y += Px)
      for (int x = left; x < left + size; x += Px) dark += Dark(image, x, y);
    return dark;
  };
  // The page buffer (queued glyphs) and a host's image (drawn at once, as the host reads
  // its image without asking the surface).
  QImage hostImage(200, 200, QImage::Format_ARGB32_Premultiplied);
  hostImage.fill(Qt::white);
  QPainterSurface page(3000, 3000), host(&hostImage);
  for (QPainterSurface* s : {&page, &host}) {
    SCOPED_TRACE(s == &page ? "page" : "host");
    const QImage& image = s == &page ? *page.Image() : hostImage;
    s->SetBackColor(RGB(255, 255, 255));
    s->Clear();
    s->SetFont(Music(28.8f));
    s->SetForeColor(RGB(0, 0, 0));
    s->DrawText(600, 600, std::string(1, glyph::FilledHead));
    s->DrawText(1800, 600, std::string(1, glyph::FilledHead));
    if (s == &page) page.Image();  // the host's image is read as it stands
    EXPECT_GT(darkIn(image, 600, 600, 900), 10);
    // A box in the back colour over the first head hides it.
    s->SetForeColor(RGB(255, 255, 255));
    s->FillBox(450, 450, 1650, 1650);
    if (s == &page) page.Image();
    EXPECT_EQ(darkIn(image, 600, 600, 900), 0);
    EXPECT_GT(darkIn(image, 1800, 600, 900), 10);
  }
}

TEST(QPainterSurface, PdfPageEmbedsTheMusicFont) {
  const QString path = QStringLiteral(NOTECRAFT_QT_TEST_OUTPUT "/surface.pdf");
  QFile::remove(path);
  {
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainterSurface s(&writer);
    ASSERT_TRUE(s.IsActive());
    EXPECT_DOUBLE_EQ(s.TwipsPerPixelX(), 1.2);
    EXPECT_NEAR(s.PageWidth(), 11906, 20);  // 210 mm; Qt keeps A4 as 595 x 842 points
    EXPECT_LE(s.ScaleWidth(), s.PageWidth());
    s.SetFont(Music(28.8f));
    s.DrawText(1440, 1440, "&\xCF w");
    s.SetFont(FontSpec{"Arial", 12.0f});
    s.DrawText(1440, 3000, "Page 1");
    s.NewPage();
    s.DrawText(1440, 1440, "Page 2");
    s.EndDoc();
  }
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray pdf = file.readAll();
  EXPECT_GT(pdf.size(), 2000);
  EXPECT_TRUE(pdf.contains("Veltrimond"));
  // With poppler's pdffonts at hand, the font is listed as embedded.
  const QString pdffonts = QStandardPaths::findExecutable(QStringLiteral("pdffonts"));
  if (!pdffonts.isEmpty()) {
    QProcess p;
    p.start(pdffonts, {path});
    ASSERT_TRUE(p.waitForFinished(10000));
    const QString listing = QString::fromUtf8(p.readAllStandardOutput());
    bool embedded = false;
    for (const QString& line : listing.split('\n'))
      if (line.contains(QStringLiteral("Veltrimond")))
        embedded = line.split(' ', Qt::SkipEmptyParts).contains(QStringLiteral("yes"));
    EXPECT_TRUE(embedded) << listing.toStdString();
  }
}

}  // namespace
}  // namespace notecraft
