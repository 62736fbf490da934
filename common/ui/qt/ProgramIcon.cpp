#include "common/ui/qt/ProgramIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace Ui {
namespace {

// A four-pointed star centred at (x, y) with arms of length `arm`.
QPainterPath Spark(double x, double y, double arm) {
  const double waist = arm * 0.28;
  QPainterPath star;
  star.moveTo(x, y - arm);
  star.lineTo(x + waist, y - waist);
  star.lineTo(x + arm, y);
  star.lineTo(x + waist, y + waist);
  star.lineTo(x, y + arm);
  star.lineTo(x - waist, y + waist);
  star.lineTo(x - arm, y);
  star.lineTo(x - waist, y - waist);
  star.closeSubpath();
  return star;
}

}  // namespace

QImage ProgramIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 64.0, size / 64.0);  // drawn on a 64 x 64 grid

  QLinearGradient tile(0, 0, 0, 64);
  tile.setColorAt(0, QColor(0x3a, 0x7b, 0xc8));
  tile.setColorAt(1, QColor(0x1f, 0x4e, 0x8c));
  painter.setPen(Qt::NoPen);
  painter.setBrush(tile);
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

  // The drum: a body with three bands, its top an ellipse.
  const QColor drum(0xf4, 0xf7, 0xfb);
  const QColor band(0xb9, 0xcc, 0xe4);
  painter.setBrush(drum);
  painter.drawRect(QRectF(12, 22, 30, 28));
  painter.drawEllipse(QRectF(12, 44, 30, 12));
  painter.setPen(QPen(band, 2));
  painter.setBrush(Qt::NoBrush);
  for (double y : {30.0, 38.0}) painter.drawArc(QRectF(12, y, 30, 12), 180 * 16, 180 * 16);
  painter.setPen(Qt::NoPen);
  painter.setBrush(band);
  painter.drawEllipse(QRectF(12, 16, 30, 12));
  painter.setBrush(drum);
  painter.drawEllipse(QRectF(14, 17, 26, 10));

  // The spark, with a smaller one beside it.
  painter.setBrush(QColor(0xff, 0xd3, 0x4d));
  painter.drawPath(Spark(47, 17, 11));
  painter.drawPath(Spark(53, 33, 5));
  return image;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
  return icon;
}

}  // namespace Ui
