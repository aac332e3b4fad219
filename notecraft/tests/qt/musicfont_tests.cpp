// The built music font against the glyph set and the metrics table the engine measures with.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QString>

#include "notecraft/core/platform.h"
#include "notecraft/qt/musicfontloader.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/musicfontmetrics.h"

namespace notecraft {
namespace {

QString FontPath() {
  return QString::fromStdString(MusicFontFile(CurrentPlatform().DataRoot()).string());
}

// At a pixel size of one em, Qt's metrics are the font's design units.
QRawFont DesignUnits() {
  return QRawFont(FontPath(), musicfont::UnitsPerEm, QFont::PreferNoHinting);
}

TEST(MusicFont, LoadsFromTheInstallFolderAsVeltrimond) {
  ASSERT_TRUE(LoadMusicFont()) << FontPath().toStdString();
  EXPECT_TRUE(LoadMusicFont());  // a second call registers nothing new
  EXPECT_EQ(QFontDatabase::families().count(QStringLiteral("Veltrimond")), 1);

  const QRawFont raw = DesignUnits();
  ASSERT_TRUE(raw.isValid());
  EXPECT_EQ(raw.familyName(), QStringLiteral("Veltrimond"));
  // What a drawing asks for by name is this font, not a fallback.
  EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Veltrimond"))).family(), QStringLiteral("Veltrimond"));
}

TEST(MusicFont, HoldsExactlyTheGlyphSet) {
  const QRawFont raw = DesignUnits();
  ASSERT_TRUE(raw.isValid());
  std::array<bool, 256> inSet{};
  for (unsigned char code : glyph::AllCodes) inSet[code] = true;
  for (int code = 1; code < 256; ++code) {
    SCOPED_TRACE(code);
    // Qt draws tab and no-break space with the space glyph whatever the font maps.
    if (code != 0x09 && code != 0xA0) {
      EXPECT_EQ(raw.supportsCharacter(QChar(code)), inSet[static_cast<std::size_t>(code)]);
    }
    // The table knows the same set: an advance for every glyph and none elsewhere.
    EXPECT_EQ(musicfont::Advance[static_cast<std::size_t>(code)] > 0, inSet[static_cast<std::size_t>(code)]);
  }
}

TEST(MusicFont, MetricsAreTheTable) {
  const QRawFont raw = DesignUnits();
  ASSERT_TRUE(raw.isValid());
  EXPECT_EQ(raw.unitsPerEm(), musicfont::UnitsPerEm);
  EXPECT_DOUBLE_EQ(raw.ascent(), musicfont::Ascent);
  EXPECT_DOUBLE_EQ(raw.descent(), musicfont::Descent);
  for (unsigned char code : glyph::AllCodes) {
    SCOPED_TRACE(code);
    const QString text(QChar(static_cast<char16_t>(code)));
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    ASSERT_EQ(glyphs.size(), 1);
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
    EXPECT_DOUBLE_EQ(advances.at(0).x(), musicfont::Advance[code]);
  }
}

}  // namespace
}  // namespace notecraft
