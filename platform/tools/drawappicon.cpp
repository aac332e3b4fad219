// Build step: draws the suite's program icon (a treble clef on a sheet of staff paper) as a
// 256-pixel PNG, for the desktop entry and the programs' windows.
//
//   drawappicon --font Common/Fonts/Veltrimond.ttf --output Common/Icons/Veltrimond.png
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

constexpr int kSize = 256;

QImage DrawIcon(const QString& musicFamily) {
  QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  // The sheet, with a shadow to lift it off dark panels.
  const QRectF sheet(40, 16, 176, 224);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 60));
  p.drawRoundedRect(sheet.translated(5, 6), 14, 14);
  p.setBrush(QColor(252, 250, 242));
  p.setPen(QPen(QColor(120, 110, 90), 3));
  p.drawRoundedRect(sheet, 14, 14);

  // A staff across the sheet, the clef standing on it in the music font.
  const qreal space = 22, bottom = 170, left = sheet.left() + 16, right = sheet.right() - 16;
  p.setPen(QPen(QColor(40, 40, 48), 3.5, Qt::SolidLine, Qt::FlatCap));
  for (int line = 0; line < 5; ++line)
    p.drawLine(QPointF(left, bottom - line * space), QPointF(right, bottom - line * space));
  QFont font(musicFamily);
  font.setPixelSize(200);
  font.setStyleStrategy(QFont::NoFontMerging);
  QPainterPath clef;
  clef.addText(0, 0, font, QString(QChar(0x26)));
  // Fit the clef to span a little more than twice the staff's height, centred on the sheet.
  const QRectF box = clef.boundingRect();
  const qreal scale = (space * 4 * 2.1) / box.height();
  QTransform t;
  t.translate(sheet.center().x() - 18, bottom - space * 2 + 4);
  t.scale(scale, scale);
  t.translate(-box.center().x(), -box.center().y());
  p.setPen(QPen(QColor(252, 250, 242), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(t.map(clef));
  p.fillPath(t.map(clef), QColor(24, 40, 110));
  // A quarter note beside it.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(24, 40, 110));
  p.save();
  p.translate(right - 22, bottom - space * 1.5);
  p.rotate(-22);
  p.drawEllipse(QPointF(0, 0), 14, 10);
  p.restore();
  p.fillRect(QRectF(right - 10.5, bottom - space * 1.5 - 78, 4.5, 76), QColor(24, 40, 110));
  p.end();
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCommandLineParser parser;
  parser.addOption({"font", "The music font file.", "file"});
  parser.addOption({"output", "The PNG file to write.", "file"});
  parser.process(app);

  const int id = QFontDatabase::addApplicationFont(parser.value("font"));
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  if (id < 0 || families.isEmpty()) {
    std::fprintf(stderr, "drawappicon: cannot load the music font %s\n",
                 qPrintable(parser.value("font")));
    return 1;
  }
  const QString output = parser.value("output");
  if (output.isEmpty() || !QDir().mkpath(QFileInfo(output).path()) ||
      !DrawIcon(families.first()).save(output)) {
    std::fprintf(stderr, "drawappicon: cannot write %s\n", qPrintable(output));
    return 1;
  }
  return 0;
}
