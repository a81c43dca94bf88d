#include "skin/SkinPlate.h"

#include "skin/SkinRegion.h"

#include <QLinearGradient>
#include <QPen>

namespace SkinPlate {

QPolygonF ChamferedAll(const QRectF& r, double cut) {
    return QPolygonF({QPointF(r.left() + cut, r.top()), QPointF(r.right() - cut, r.top()),
                      QPointF(r.right(), r.top() + cut), QPointF(r.right(), r.bottom() - cut),
                      QPointF(r.right() - cut, r.bottom()), QPointF(r.left() + cut, r.bottom()),
                      QPointF(r.left(), r.bottom() - cut), QPointF(r.left(), r.top() + cut)});
}

void DrawPlate(QPainter& painter, const QRectF& rect, double cut) {
    painter.save();
    const QPolygonF plate = ChamferedAll(rect, cut);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, QColor(8, 9, 11));
    fill.setColorAt(1, QColor(14, 15, 19));
    painter.setPen(QPen(QColor(46, 50, 60), 1));
    painter.setBrush(fill);
    painter.drawPolygon(plate);
    painter.setPen(QPen(QColor(0, 0, 0, 200), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(ChamferedAll(rect.adjusted(1.5, 1.5, -1.5, -1.5), cut - 1));
    painter.restore();
}

void DrawTextField(QPainter& painter, const QRectF& rect) {
    DrawPlate(painter, rect, 3);
    painter.fillRect(rect.adjusted(2, 2, -2, -2),
                     QColor(TextBoxBackground.Red, TextBoxBackground.Green, TextBoxBackground.Blue));
}

} // namespace SkinPlate
