// Build step: draws the editor's tool cursors and writes them as cursor files
// (CT000.cur, ...) into the install folder's Common/Cursors, with their hotspots.
//
//   drawcursors --font Common/Fonts/Veltrimond.ttf --output Common/Cursors [--sheet sheet.png]
//
// The contact sheet shows every cursor enlarged on a light and a dark background, with its
// hotspot marked, for a person to look at.
#include <QCommandLineParser>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>
#include <cstdio>

#include "cursorpictures.h"
#include "pointerset/curfile.h"

namespace {

bool WriteSheet(const std::vector<pointerset::ToolCursorPicture>& cursors, const QString& path) {
  constexpr int kZoom = 4, kCell = 32 * kZoom, kGap = 12, kLabel = 18;
  const int rowHeight = kCell + kLabel + kGap;
  QImage sheet(kGap + 2 * (kCell + kGap) * 5, kGap + rowHeight * 3, QImage::Format_RGB32);
  sheet.fill(QColor(230, 230, 230));
  QPainter p(&sheet);
  for (std::size_t i = 0; i < cursors.size(); ++i) {
    const int col = int(i) % 5, row = int(i) / 5;
    const int x = kGap + col * 2 * (kCell + kGap), y = kGap + row * rowHeight;
    for (int dark = 0; dark < 2; ++dark) {
      const QRect cell(x + dark * (kCell + kGap / 2), y, kCell, kCell);
      p.fillRect(cell, dark ? QColor(60, 60, 70) : Qt::white);
      p.drawImage(cell, cursors[i].image);  // scaled without smoothing: the real pixels
      const QPoint hot = cell.topLeft() + cursors[i].hotspot * kZoom + QPoint(kZoom / 2, kZoom / 2);
      p.setPen(QPen(Qt::red, 1));
      p.drawEllipse(hot, 3, 3);
    }
    p.setPen(Qt::black);
    p.drawText(QRect(x, y + kCell, 2 * kCell + kGap, kLabel), Qt::AlignCenter,
               cursors[i].fileName + "  " + cursors[i].caption);
  }
  p.end();
  return sheet.save(path);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCommandLineParser parser;
  parser.addOption({"font", "The music font file.", "file"});
  parser.addOption({"output", "The folder for the cursor files.", "folder"});
  parser.addOption({"sheet", "Also write a contact sheet (PNG).", "file"});
  parser.process(app);

  const int id = QFontDatabase::addApplicationFont(parser.value("font"));
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  if (id < 0 || families.isEmpty()) {
    std::fprintf(stderr, "drawcursors: cannot load the music font %s\n",
                 qPrintable(parser.value("font")));
    return 1;
  }
  const auto cursors = pointerset::DrawToolCursors(families.first());

  const QString folder = parser.value("output");
  if (folder.isEmpty() || !QDir().mkpath(folder)) {
    std::fprintf(stderr, "drawcursors: cannot create the folder %s\n", qPrintable(folder));
    return 1;
  }
  for (const auto& cursor : cursors) {
    const QByteArray bytes = pointerset::WriteCursor(cursor.image, cursor.hotspot);
    QSaveFile file(folder + '/' + cursor.fileName);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
        !file.commit()) {
      std::fprintf(stderr, "drawcursors: cannot write %s\n", qPrintable(file.fileName()));
      return 1;
    }
  }
  if (parser.isSet("sheet") && !WriteSheet(cursors, parser.value("sheet"))) {
    std::fprintf(stderr, "drawcursors: cannot write %s\n", qPrintable(parser.value("sheet")));
    return 1;
  }
  return 0;
}
