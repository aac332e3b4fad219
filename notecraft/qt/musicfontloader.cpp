#include "notecraft/qt/musicfontloader.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QString>
#include <QStringList>

#include "notecraft/core/platform.h"
#include "notecraft/view/glyphs.h"

namespace notecraft {

namespace {

bool MusicFamilyKnown() {
  return QFontDatabase::families().contains(QString::fromUtf8(MusicFontName.data(),
                                                              static_cast<qsizetype>(MusicFontName.size())));
}

// fontconfig maps "Arial" to the metric-compatible Liberation Sans and "Verdana" to DejaVu
// Sans (no free font has Verdana's metrics; DejaVu, Vera's descendant, is the closest). It
// knows no stand-in for the chord names' "MS Sans Serif" and would hand out its default
// sans; Liberation Sans is the closer fit (an Arial-like face).
void SubstituteTextFonts() {
  static bool done = false;
  if (done) return;
  done = true;
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
}

}  // namespace

std::filesystem::path MusicFontFile(const std::filesystem::path& dataRoot) {
  return dataRoot / "Common" / "Fonts" / "Veltrimond.ttf";
}

bool LoadMusicFont() noexcept {
  try {
    return LoadMusicFont(MusicFontFile(CurrentPlatform().DataRoot()));
  } catch (...) {
    return false;  // the install folder could not be found
  }
}

bool LoadMusicFont(const std::filesystem::path& fontFile) noexcept {
  if (!QGuiApplication::instance()) return false;
  SubstituteTextFonts();
  // Registering a file twice would add a second copy of the family.
  if (MusicFamilyKnown()) return true;
  const int id = QFontDatabase::addApplicationFont(QString::fromStdString(fontFile.string()));
  return id >= 0 && MusicFamilyKnown();
}

}  // namespace notecraft
