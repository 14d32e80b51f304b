#include "app/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <cmath>

#include "app/WindowCommands.h"
#include "document/CommandIds.h"

namespace vorel {
namespace {

constexpr int kWidth = 32;
constexpr int kHeight = 18;
const QColor kInk(40, 40, 40);
const QColor kBlue(0, 0, 200);
const QColor kRed(200, 0, 0);

QPainterPath Wave(double x0, double x1, double mid, double amp, double periods) {
  QPainterPath path;
  for (int i = 0; i <= 40; ++i) {
    const double t = i / 40.0;
    const QPointF p(x0 + (x1 - x0) * t, mid - amp * std::sin(t * periods * 2 * M_PI));
    if (i == 0) {
      path.moveTo(p);
    } else {
      path.lineTo(p);
    }
  }
  return path;
}

void Arrow(QPainter& p, bool right) {
  QPolygonF shape;
  if (right) {
    shape << QPointF(9, 6) << QPointF(17, 6) << QPointF(17, 2) << QPointF(24, 9) << QPointF(17, 16)
          << QPointF(17, 12) << QPointF(9, 12);
  } else {
    shape << QPointF(23, 6) << QPointF(15, 6) << QPointF(15, 2) << QPointF(8, 9) << QPointF(15, 16)
          << QPointF(15, 12) << QPointF(23, 12);
  }
  p.setBrush(QColor(0, 128, 0));
  p.setPen(QPen(kInk, 1));
  p.drawPolygon(shape);
}

QPixmap Draw(int id) {
  QPixmap pixmap(kWidth, kHeight);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (id) {
    case kCmdOpenData:  // an open folder
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(240, 200, 80));
      p.drawPolygon(QPolygonF() << QPointF(8, 4) << QPointF(13, 4) << QPointF(15, 6)
                                << QPointF(23, 6) << QPointF(23, 15) << QPointF(8, 15));
      p.setBrush(QColor(250, 225, 120));
      p.drawPolygon(QPolygonF() << QPointF(10, 8) << QPointF(26, 8) << QPointF(23, 15)
                                << QPointF(8, 15));
      break;
    case kCmdSaveSeries:  // a disk
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(60, 90, 170));
      p.drawRect(QRectF(9.5, 2.5, 13, 13));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(11.5, 2.5, 9, 5));
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(12.5, 10.5, 7, 5));
      break;
    case kCmdPreviousStep:
      Arrow(p, false);
      break;
    case kCmdNextStep:
      Arrow(p, true);
      break;
    case kCmdCovarianceMatrix:  // a symmetric matrix
      for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
          const int shade = 80 + 40 * std::abs(r - c);
          p.fillRect(QRectF(9 + c * 3.6, 2 + r * 3.6, 3.2, 3.2), QColor(shade, shade, 230));
        }
      }
      break;
    case kCmdChoiceOfEigenvectors:  // falling bars, the first ones chosen
      for (int i = 0; i < 5; ++i) {
        const double h = 13.0 / (1 + i * 0.8);
        p.fillRect(QRectF(8 + i * 3.4, 16 - h, 2.6, h), i < 2 ? kRed : QColor(150, 150, 150));
      }
      break;
    case kCmdReconstruction:  // a series with its gap filled
      p.setPen(QPen(kBlue, 1.6));
      p.drawPath(Wave(6, 14, 9, 5, 0.4));
      p.drawPath(Wave(19, 27, 9, 5, 0.4));
      p.setPen(QPen(kRed, 1.8));
      p.drawLine(QPointF(14, 4.5), QPointF(19, 9));
      break;
    case kCmdCompare:  // two series
      p.setPen(QPen(kBlue, 1.6));
      p.drawPath(Wave(6, 26, 8, 4, 1.5));
      p.setPen(QPen(kRed, 1.6));
      p.drawPath(Wave(6, 26, 10, 4, 1.5));
      break;
    case kCmdCadzow: {  // a circle of iterations
      p.setPen(QPen(kBlue, 2));
      p.drawArc(QRectF(10, 2, 13, 13), 60 * 16, 290 * 16);
      p.setBrush(kBlue);
      p.setPen(Qt::NoPen);
      p.drawPolygon(QPolygonF() << QPointF(19, 0) << QPointF(24, 4) << QPointF(18, 6));
      break;
    }
    case kCmdToolbarSpare:  // an empty frame
      p.setPen(QPen(QColor(150, 150, 150), 1, Qt::DotLine));
      p.drawRect(QRectF(10.5, 3.5, 11, 11));
      break;
    default:
      return QPixmap();
  }
  return pixmap;
}

}  // namespace

QIcon CommandIcon(int id) {
  const QPixmap pixmap = Draw(id);
  return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 32, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 32.0;
    p.setBrush(Qt::white);
    p.setPen(QPen(kInk, 1.5 * s));
    p.drawRoundedRect(QRectF(1 * s, 1 * s, 30 * s, 30 * s), 4 * s, 4 * s);
    p.setPen(QPen(kBlue, 2.2 * s));
    p.drawPath(Wave(4 * s, 13 * s, 16 * s, 8 * s, 0.5));
    p.drawPath(Wave(20 * s, 28 * s, 16 * s, -8 * s, 0.45));
    p.setPen(QPen(kRed, 2.2 * s, Qt::DotLine));
    p.drawLine(QPointF(13 * s, 16 * s), QPointF(20 * s, 16 * s));
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace vorel
