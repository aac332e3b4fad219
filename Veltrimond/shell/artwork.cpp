#include "Veltrimond/shell/artwork.h"

#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace veltrimond {

namespace {

// A note head with its stem, on a 0..1 grid of the given box; the head sits at (x, y).
void Note(QPainter& p, double x, double y, double space, bool stemUp) {
  p.save();
  p.translate(x, y);
  p.rotate(-20);
  p.drawEllipse(QPointF(0, 0), space * 0.62, space * 0.45);
  p.restore();
  const double stemX = stemUp ? x + space * 0.55 : x - space * 0.55;
  const double stemEnd = stemUp ? y - space * 3.3 : y + space * 3.3;
  p.save();
  p.setPen(QPen(p.brush().color(), space * 0.12));
  p.drawLine(QPointF(stemX, y), QPointF(stemX, stemEnd));
  p.restore();
}

void Staff(QPainter& p, double left, double right, double top, double space) {
  for (int i = 0; i < 5; ++i)
    p.drawLine(QPointF(left, top + i * space), QPointF(right, top + i * space));
}

}  // namespace

QIcon ProgramIcon(const QString& installFolder) {
  const QString file = installFolder + QStringLiteral("/Common/Icons/Veltrimond.png");
  if (QFileInfo::exists(file)) {
    const QIcon installed(file);
    if (!installed.isNull()) return installed;
  }
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient paper(0, 0, 0, 64);
    paper.setColorAt(0, QColor(252, 250, 242));
    paper.setColorAt(1, QColor(232, 226, 206));
    p.setPen(QPen(QColor(90, 70, 40), 2));
    p.setBrush(paper);
    p.drawRoundedRect(QRectF(4, 4, 56, 56), 8, 8);
    p.setPen(QPen(QColor(60, 60, 70), 1.4));
    Staff(p, 10, 54, 18, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 20, 40));
    Note(p, 24, 39, 7, true);
    Note(p, 40, 32, 7, true);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QPixmap SplashPicture() {
  const QSize size(480, 280);
  QPixmap pixmap(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  QLinearGradient sky(0, 0, 0, size.height());
  sky.setColorAt(0, QColor(28, 40, 72));
  sky.setColorAt(1, QColor(74, 30, 58));
  p.fillRect(pixmap.rect(), sky);

  // A staff across the picture with a rising line of notes.
  const double space = 12;
  const double staffTop = 150;
  p.setPen(QPen(QColor(255, 255, 255, 90), 1.2));
  Staff(p, 24, size.width() - 24, staffTop, space);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 232, 170, 200));
  const int steps[] = {8, 7, 5, 4, 6, 3, 2, 0};
  for (int i = 0; i < 8; ++i) {
    const double y = staffTop + steps[i] * space / 2;
    Note(p, 150 + i * 38, y, space, steps[i] > 4);
  }

  QFont title(QStringLiteral("DejaVu Serif"));
  title.setPixelSize(52);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(255, 244, 220));
  p.drawText(QRect(0, 28, size.width(), 70), Qt::AlignCenter, QStringLiteral("Veltrimond"));

  QFont subtitle(QStringLiteral("DejaVu Sans"));
  subtitle.setPixelSize(14);
  p.setFont(subtitle);
  p.setPen(QColor(220, 214, 240));
  p.drawText(QRect(0, 92, size.width(), 24), Qt::AlignCenter,
             QStringLiteral("Write, print and play music"));

  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(12);
  p.setFont(small);
  p.setPen(QColor(200, 200, 220));
  p.drawText(QRect(16, size.height() - 34, size.width() - 32, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Quorvane Software Inc"));
  p.end();
  return pixmap;
}

}  // namespace veltrimond
