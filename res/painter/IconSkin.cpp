// The program's icon: a lit keycap carrying the Z of the logo.
#include "SkinPictures.h"
#include "SkinStyle.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

using namespace SkinStyle;

void DrawProgramIcon(QPainter& painter, const QRectF& square) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(square.topLeft());
    painter.scale(square.width() / 256.0, square.height() / 256.0);

    // Glow under the cap.
    QRadialGradient halo(QPointF(128, 140), 128);
    halo.setColorAt(0.6, QColor(255, 111, 0, 150));
    halo.setColorAt(1, QColor(255, 111, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawRoundedRect(QRectF(4, 10, 248, 244), 60, 60);

    QPainterPath skirt;
    skirt.addRoundedRect(QRectF(18, 18, 220, 222), 44, 44);
    QLinearGradient skirtFill(0, 18, 0, 240);
    skirtFill.setColorAt(0, QColor(64, 70, 84));
    skirtFill.setColorAt(1, QColor(18, 20, 25));
    painter.setPen(QPen(Accent, 8));
    painter.setBrush(skirtFill);
    painter.drawPath(skirt);

    QPainterPath face;
    face.addRoundedRect(QRectF(42, 34, 172, 164), 30, 30);
    QLinearGradient faceFill(0, 34, 0, 198);
    faceFill.setColorAt(0, QColor(52, 56, 68));
    faceFill.setColorAt(1, QColor(30, 33, 40));
    painter.setPen(QPen(QColor(255, 255, 255, 30), 3));
    painter.setBrush(faceFill);
    painter.drawPath(face);

    // The Z, slanted like the logo.
    QPolygonF z({QPointF(78, 62), QPointF(190, 62), QPointF(186, 86), QPointF(112, 150), QPointF(172, 150),
                 QPointF(166, 176), QPointF(62, 176), QPointF(66, 152), QPointF(140, 88), QPointF(74, 88)});
    QLinearGradient zFill(0, 62, 0, 176);
    zFill.setColorAt(0, QColor(255, 196, 120));
    zFill.setColorAt(0.5, AccentBright);
    zFill.setColorAt(1, Accent);
    painter.setPen(QPen(QColor(90, 30, 0), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(zFill);
    painter.drawPolygon(z);

    // Light bar along the front edge of the cap.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 150, 40));
    painter.drawRoundedRect(QRectF(70, 212, 116, 10), 5, 5);
    painter.restore();
}

QImage PaintProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    DrawProgramIcon(painter, QRectF(0, 0, size, size));
    painter.end();
    return image;
}
