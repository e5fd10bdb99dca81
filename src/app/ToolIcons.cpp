// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vb420 {

namespace {

const QColor kInk(60, 60, 60);
const QColor kNavy(24, 40, 68);

template <class Draw>
QIcon Drawn(Draw draw) {
  QPixmap pm(24, 24);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  p.end();
  return QIcon(pm);
}

void Page(QPainter& p) {
  QPainterPath page;
  page.moveTo(5, 2.5);
  page.lineTo(14.5, 2.5);
  page.lineTo(19.5, 7.5);
  page.lineTo(19.5, 21.5);
  page.lineTo(5, 21.5);
  page.closeSubpath();
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(Qt::white);
  p.drawPath(page);
  p.setBrush(QColor(220, 224, 230));
  p.drawPolygon(QPolygonF() << QPointF(14.5, 2.5) << QPointF(14.5, 7.5) << QPointF(19.5, 7.5));
}

void Radio(QPainter& p, qreal x) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 30, 30));
  p.drawRect(QRectF(x + 2, 1, 2.5, 8));
  p.setBrush(kNavy);
  p.drawRoundedRect(QRectF(x, 7, 9, 15), 2, 2);
  p.setBrush(QColor(150, 200, 160));
  p.drawRect(QRectF(x + 1.5, 9, 6, 3.5));
}

void Arrow(QPainter& p, bool toRadio) {
  const QColor arrow = toRadio ? QColor(200, 90, 20) : QColor(30, 130, 60);
  p.setPen(QPen(arrow, 2.4, Qt::SolidLine, Qt::RoundCap));
  if (toRadio) {
    p.drawLine(QPointF(22, 14), QPointF(15.5, 14));
    p.drawLine(QPointF(15.5, 14), QPointF(18.5, 11));
    p.drawLine(QPointF(15.5, 14), QPointF(18.5, 17));
  } else {
    p.drawLine(QPointF(14, 14), QPointF(21.5, 14));
    p.drawLine(QPointF(21.5, 14), QPointF(18.5, 11));
    p.drawLine(QPointF(21.5, 14), QPointF(18.5, 17));
  }
}

}  // namespace

QIcon ToolIcon(ToolPicture picture) {
  switch (picture) {
    case ToolPicture::NewFile:
      return Drawn([](QPainter& p) { Page(p); });
    case ToolPicture::OpenFile:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(QColor(150, 110, 30), 1.2));
        p.setBrush(QColor(232, 190, 90));
        p.drawPolygon(QPolygonF() << QPointF(2.5, 5) << QPointF(9, 5) << QPointF(11, 7.5) << QPointF(19.5, 7.5)
                                  << QPointF(19.5, 20) << QPointF(2.5, 20));
        p.setBrush(QColor(248, 214, 120));
        p.drawPolygon(QPolygonF() << QPointF(6, 11) << QPointF(22.5, 11) << QPointF(19.5, 20) << QPointF(2.5, 20));
      });
    case ToolPicture::SaveFile:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(kNavy, 1.2));
        p.setBrush(QColor(60, 90, 140));
        p.drawPolygon(QPolygonF() << QPointF(3, 3) << QPointF(18, 3) << QPointF(21, 6) << QPointF(21, 21)
                                  << QPointF(3, 21));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 214, 220));
        p.drawRect(QRectF(7, 3.6, 9, 6));
        p.setBrush(kNavy);
        p.drawRect(QRectF(12.5, 4.5, 2, 4));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 13, 12, 7.4));
      });
    case ToolPicture::Print:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 10, 7));
        p.setBrush(QColor(120, 130, 145));
        p.drawRoundedRect(QRectF(3, 9, 18, 9), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 15, 10, 6));
        p.setPen(kInk);
        p.drawLine(QPointF(9, 17.5), QPointF(15, 17.5));
      });
    case ToolPicture::ReadRadio:
    case ToolPicture::WriteRadio:
      return Drawn([picture](QPainter& p) {
        Radio(p, 3);
        Arrow(p, picture == ToolPicture::WriteRadio);
      });
    case ToolPicture::About:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(QColor(20, 70, 150), 1.2));
        p.setBrush(QColor(50, 110, 200));
        p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(10.6, 5.5, 2.8, 2.8));
        p.drawRoundedRect(QRectF(10.7, 10, 2.6, 8.5), 1, 1);
      });
    case ToolPicture::Radio:
      return Drawn([](QPainter& p) { Radio(p, 7.5); });
    case ToolPicture::Window:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 4.5, 19, 15));
        p.setPen(Qt::NoPen);
        p.setBrush(kNavy);
        p.drawRect(QRectF(3.1, 5.1, 17.8, 3.4));
        p.setBrush(QColor(170, 178, 190));
        for (int row = 0; row < 3; ++row) p.drawRect(QRectF(5, 10.5 + row * 2.8, 14, 1.2));
      });
  }
  return QIcon();
}

}  // namespace vb420
