// Pictures 128 to 130 (firmware update) and 139 to 141 (progress): background, hover and active. The
// active pictures also hold the filled progress bar, which the dialogs copy over the empty trough.
#include "SkinPictures.h"
#include "SkinStyle.h"

#include "device_ui/DeviceDialogAreas.h"

#include <QLinearGradient>
#include <QPainterPath>

using namespace SkinStyle;

namespace {

constexpr QSize DialogSize(DeviceDialogWidth, DeviceDialogHeight);
const QRectF TitleGlyph(30, 15, 30, 30);

enum class DialogKind { Progress, Firmware };

void DrawTitleRule(QPainter& painter) {
    painter.save();
    QLinearGradient rule(24, 0, DeviceDialogWidth - 24, 0);
    rule.setColorAt(0, QColor(255, 111, 0, 220));
    rule.setColorAt(0.5, QColor(255, 111, 0, 90));
    rule.setColorAt(1, QColor(255, 111, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(rule);
    painter.drawRect(QRectF(24, 54, DeviceDialogWidth - 48, 1.5));
    painter.restore();
}

// Two opposed arrows: data going to the keyboard and coming back.
void DrawTransferGlyph(QPainter& painter, const QRectF& box) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Accent, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double l = box.left() + 5, r = box.right() - 5, y1 = box.top() + 10, y2 = box.bottom() - 10;
    painter.drawLine(QPointF(l, y1), QPointF(r, y1));
    painter.drawPolyline(QPolygonF({QPointF(r - 5, y1 - 5), QPointF(r, y1), QPointF(r - 5, y1 + 5)}));
    painter.setPen(QPen(AccentBright, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(QPointF(r, y2), QPointF(l, y2));
    painter.drawPolyline(QPolygonF({QPointF(l + 5, y2 - 5), QPointF(l, y2), QPointF(l + 5, y2 + 5)}));
    painter.restore();
}

// A chip with its pins: the keyboard's controller.
void DrawChipGlyph(QPainter& painter, const QRectF& box) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body = box.adjusted(7, 7, -7, -7);
    painter.setPen(QPen(Accent, 1.6));
    for (int i = 0; i < 3; ++i) {
        const double offset = body.width() * (i + 1) / 4.0;
        painter.drawLine(QPointF(body.left() + offset, box.top() + 2),
                         QPointF(body.left() + offset, body.top()));
        painter.drawLine(QPointF(body.left() + offset, body.bottom()),
                         QPointF(body.left() + offset, box.bottom() - 2));
        painter.drawLine(QPointF(box.left() + 2, body.top() + offset),
                         QPointF(body.left(), body.top() + offset));
        painter.drawLine(QPointF(body.right(), body.top() + offset),
                         QPointF(box.right() - 2, body.top() + offset));
    }
    painter.setPen(QPen(AccentBright, 1.8));
    painter.setBrush(QColor(60, 26, 2));
    painter.drawRoundedRect(body, 2, 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(AccentBright);
    painter.drawEllipse(QPointF(body.left() + 4, body.top() + 4), 1.5, 1.5);
    painter.restore();
}

// The link between computer and keyboard, under the progress dialog's title.
void DrawLinkScene(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A monitor on the left.
    const QRectF screen(78, 68, 46, 30);
    painter.setPen(QPen(QColor(96, 104, 120), 1.6));
    painter.setBrush(QColor(26, 28, 34));
    painter.drawRoundedRect(screen, 3, 3);
    painter.drawLine(QPointF(screen.center().x(), screen.bottom()),
                     QPointF(screen.center().x(), screen.bottom() + 6));
    painter.drawLine(QPointF(screen.center().x() - 10, screen.bottom() + 6),
                     QPointF(screen.center().x() + 10, screen.bottom() + 6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 111, 0, 60));
    painter.drawRect(screen.adjusted(5, 5, -5, -5));

    // A keyboard on the right.
    const QRectF board(246, 74, 58, 26);
    painter.setPen(QPen(QColor(96, 104, 120), 1.6));
    painter.setBrush(QColor(26, 28, 34));
    painter.drawRoundedRect(board, 3, 3);
    painter.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 7; ++column) {
            painter.setBrush(row == 1 && column == 3 ? AccentBright : QColor(70, 76, 90));
            painter.drawRect(QRectF(board.left() + 5 + column * 7.2, board.top() + 4 + row * 6.5, 5, 4.5));
        }
    }

    // Chevrons between them, brighter towards the keyboard.
    for (int i = 0; i < 7; ++i) {
        QColor chevron = Accent;
        chevron.setAlpha(50 + i * 30);
        painter.setPen(QPen(chevron, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const double x = 144 + i * 12.5;
        painter.drawPolyline(QPolygonF({QPointF(x, 78), QPointF(x + 6, 85), QPointF(x, 92)}));
    }
    painter.restore();
}

// A text box sunk into the face, with a small caption above it when one is given.
void DrawTextBoxWell(QPainter& painter, const SkinRect& box) {
    const QRectF rect = ToRectF(box);
    DrawPlate(painter, rect.adjusted(-4, -4, 4, 4), 4);
    painter.fillRect(rect, QColor(20, 20, 20)); // the text boxes' own background
}

void DrawSmallCaption(QPainter& painter, const QPointF& at, const QString& text) {
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font = Font(9, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.6);
    painter.setFont(font);
    painter.setPen(LegendDim);
    painter.drawText(at, text);
    painter.restore();
}

void DrawBarTrough(QPainter& painter) {
    const QRectF bar = ToRectF(DeviceProgressBarRect);
    DrawPlate(painter, bar.adjusted(-4, -4, 4, 4), 5);
    painter.save();
    painter.fillRect(bar, QColor(14, 15, 18));
    // Segment marks: the bar reads as a row of cells.
    painter.setPen(QPen(QColor(34, 37, 45), 1));
    for (double x = bar.left() + 10; x < bar.right(); x += 10)
        painter.drawLine(QPointF(x + 0.5, bar.top() + 2), QPointF(x + 0.5, bar.bottom() - 2));
    // Scale under the bar.
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(Font(9, QFont::Bold));
    painter.setPen(LegendDim);
    const double y = bar.bottom() + 7;
    painter.drawText(QRectF(bar.left() - 10, y, 30, 12), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("0%"));
    painter.drawText(QRectF(bar.center().x() - 20, y, 40, 12), Qt::AlignCenter, QStringLiteral("50%"));
    painter.drawText(QRectF(bar.right() - 30, y, 34, 12), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("100%"));
    painter.setPen(QPen(QColor(58, 63, 75), 1));
    for (const double x : {bar.left(), bar.center().x(), bar.right() - 1})
        painter.drawLine(QPointF(x + 0.5, bar.bottom() + 4), QPointF(x + 0.5, bar.bottom() + 6));
    painter.restore();
}

// The filled bar: lit cells in the accent colour with a bright top edge.
void DrawBarFill(QPainter& painter) {
    const QRectF bar = ToRectF(DeviceProgressBarRect);
    painter.save();
    QLinearGradient fill(bar.topLeft(), bar.bottomLeft());
    fill.setColorAt(0, QColor(255, 176, 80));
    fill.setColorAt(0.45, QColor(255, 120, 10));
    fill.setColorAt(1, QColor(190, 70, 0));
    painter.fillRect(bar, fill);
    painter.setPen(QPen(QColor(120, 44, 0), 1));
    for (double x = bar.left() + 10; x < bar.right(); x += 10)
        painter.drawLine(QPointF(x + 0.5, bar.top() + 1), QPointF(x + 0.5, bar.bottom() - 1));
    painter.fillRect(QRectF(bar.left(), bar.top(), bar.width(), 2), QColor(255, 214, 160));
    painter.restore();
}

void DrawDialogArea(QPainter& painter, const SkinRegion& area, SkinLook look) {
    if (area.id <= 0 || area.labelOnly)
        return; // captions are drawn by the program
    const QRectF rect = ToRectF(area.rect);
    if (area.id == IdDeviceClose)
        DrawTitleButton(painter, rect.adjusted(0, 6, 0, -6), QStringLiteral("\u00d7"), look, true);
    else
        DrawButton(painter, rect, look);
}

void PaintDialog(QPainter& painter, DialogKind kind, SkinLook look) {
    DrawChassis(painter, QRectF(QPointF(0, 0), QSizeF(DialogSize)));
    DrawTitleRule(painter);
    const std::vector<SkinRegion> areas =
        kind == DialogKind::Progress ? ProgressDialogAreas() : FirmwareDialogAreas();
    if (kind == DialogKind::Progress) {
        DrawTransferGlyph(painter, TitleGlyph);
        DrawLinkScene(painter);
    } else {
        DrawChipGlyph(painter, TitleGlyph);
        DrawSmallCaption(painter, QPointF(FirmwareVersionBoxRect.left, 68), QStringLiteral("VERSION"));
        DrawTextBoxWell(painter, FirmwareVersionBoxRect);
        DrawTextBoxWell(painter, FirmwarePathBoxRect);
    }
    DrawBarTrough(painter);
    if (look == SkinLook::Active)
        DrawBarFill(painter);
    for (const SkinRegion& area : areas)
        DrawDialogArea(painter, area, look);
}

SkinPictureSpec Picture(int id, DialogKind kind, SkinLook look) {
    return {id, DialogSize, DeviceDialogTransparentColour,
            [kind, look](QPainter& painter) { PaintDialog(painter, kind, look); }};
}

} // namespace

std::vector<SkinPictureSpec> DeviceDialogPictures() {
    return {
        Picture(FirmwareBackgroundPicture, DialogKind::Firmware, SkinLook::Normal),
        Picture(FirmwareHoverPicture, DialogKind::Firmware, SkinLook::Hover),
        Picture(FirmwareActivePicture, DialogKind::Firmware, SkinLook::Active),
        Picture(ProgressBackgroundPicture, DialogKind::Progress, SkinLook::Normal),
        Picture(ProgressHoverPicture, DialogKind::Progress, SkinLook::Hover),
        Picture(ProgressActivePicture, DialogKind::Progress, SkinLook::Active),
    };
}
