// Picture 138: the strip the key assignment editor's scroll bars are drawn from. Each cell is drawn
// for a vertical bar; the horizontal bar's cells are the same drawings mirrored across the diagonal.
// The bar tiles the track cell and the thumb's middle along the bar, so both are uniform along it.
#include "SkinPictures.h"
#include "SkinStyle.h"

#include "skin/ScrollBarGeometry.h"

#include <QLinearGradient>
#include <QPainterPath>

using namespace SkinStyle;

namespace {

constexpr double Cell = ScrollBarStripCell;

enum class CellKind { FirstArrow, SecondArrow, Thumb, Track };

SkinLook LookOfRow(int row) {
    return row == StripHover ? SkinLook::Hover : row == StripPressed ? SkinLook::Active : SkinLook::Normal;
}

// The groove the thumb runs in: dark, with a recessed channel and a faint accent line down its middle.
void DrawTrack(QPainter& painter, SkinLook look) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(look == SkinLook::Normal  ? QColor(14, 15, 19)
                     : look == SkinLook::Hover ? QColor(20, 22, 27)
                                               : QColor(30, 18, 10));
    painter.drawRect(QRectF(0, 0, Cell, Cell));
    painter.setBrush(QColor(30, 33, 40));
    painter.drawRect(QRectF(0, 0, 1, Cell));
    painter.setBrush(QColor(6, 7, 9));
    painter.drawRect(QRectF(Cell - 1, 0, 1, Cell));
    painter.drawRect(QRectF(5, 0, 5, Cell));
    QColor line = Accent;
    line.setAlpha(look == SkinLook::Active ? 150 : 70);
    painter.setBrush(line);
    painter.drawRect(QRectF(7, 0, 1, Cell));
}

void DrawArrow(QPainter& painter, SkinLook look, bool pointsUp) {
    DrawTrack(painter, SkinLook::Normal);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor faceTop(46, 50, 60), faceBottom(30, 33, 40), border(66, 72, 88), glyph = LegendDim;
    if (look == SkinLook::Hover) {
        faceTop = QColor(78, 86, 102);
        faceBottom = QColor(50, 55, 66);
        border = AccentBright;
        glyph = QColor(255, 255, 255);
    } else if (look == SkinLook::Active) {
        faceTop = QColor(124, 52, 6);
        faceBottom = QColor(70, 28, 2);
        border = Accent;
        glyph = QColor(255, 214, 160);
    }
    const QRectF body(1, 1, Cell - 2, Cell - 2);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, faceTop);
    fill.setColorAt(1, faceBottom);
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawPolygon(ChamferedAll(body.adjusted(0.5, 0.5, -0.5, -0.5), 2.5));

    const double tip = pointsUp ? 5.2 : Cell - 5.2;
    const double base = pointsUp ? 9.4 : Cell - 9.4;
    painter.setPen(QPen(glyph, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({QPointF(4.2, base), QPointF(Cell / 2, tip), QPointF(Cell - 4.2, base)}));
}

// A raised bar whose rounded ends lie inside the caps the bar copies whole; its sides and the grip
// line between the caps do not change along the bar, so its middle tiles without a seam.
void DrawThumb(QPainter& painter, SkinLook look) {
    DrawTrack(painter, SkinLook::Normal);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor faceLeft(70, 76, 92), faceRight(40, 44, 54), border(96, 104, 122), grip(255, 111, 0, 150);
    if (look == SkinLook::Hover) {
        faceLeft = QColor(112, 122, 142);
        faceRight = QColor(68, 74, 88);
        border = AccentBright;
        grip = AccentBright;
    } else if (look == SkinLook::Active) {
        faceLeft = AccentBright;
        faceRight = QColor(170, 64, 0);
        border = QColor(255, 200, 140);
        grip = QColor(90, 30, 0);
    }
    const QRectF body(2.5, 0.5, Cell - 5, Cell - 1);
    QLinearGradient fill(body.topLeft(), body.topRight());
    fill.setColorAt(0, faceLeft);
    fill.setColorAt(1, faceRight);
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(body, 2.4, 2.4);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(grip);
    painter.drawRect(QRectF(7, ScrollThumbCap, 1, Cell - 2 * ScrollThumbCap));
}

void PaintCell(QPainter& painter, int column, int row, CellKind kind, bool horizontal) {
    painter.save();
    const QRectF cell(column * Cell, row * Cell, Cell, Cell);
    painter.setClipRect(cell);
    painter.translate(cell.topLeft());
    // Mirroring across the diagonal turns the up arrow into the left one and runs the rest along x.
    if (horizontal)
        painter.setTransform(QTransform(0, 1, 1, 0, 0, 0), true);
    const SkinLook look = LookOfRow(row);
    switch (kind) {
    case CellKind::FirstArrow:
        DrawArrow(painter, look, true);
        break;
    case CellKind::SecondArrow:
        DrawArrow(painter, look, false);
        break;
    case CellKind::Thumb:
        DrawThumb(painter, look);
        break;
    case CellKind::Track:
        DrawTrack(painter, look);
        break;
    }
    painter.restore();
}

void PaintStrip(QPainter& painter) {
    // Opaque everywhere, the unused column included, so the strip never shows the transparent colour.
    painter.fillRect(QRectF(0, 0, ScrollBarStripColumns * Cell, ScrollBarStripRows * Cell),
                     QColor(14, 15, 19));
    const struct {
        int column;
        CellKind kind;
        bool horizontal;
    } cells[] = {
        {StripUpArrow, CellKind::FirstArrow, false},   {StripDownArrow, CellKind::SecondArrow, false},
        {StripVerticalThumb, CellKind::Thumb, false},  {StripVerticalTrack, CellKind::Track, false},
        {StripLeftArrow, CellKind::FirstArrow, true},  {StripRightArrow, CellKind::SecondArrow, true},
        {StripHorizontalThumb, CellKind::Thumb, true}, {StripHorizontalTrack, CellKind::Track, true},
    };
    for (int row = 0; row < ScrollBarStripRows; ++row) {
        for (const auto& cell : cells)
            PaintCell(painter, cell.column, row, cell.kind, cell.horizontal);
    }
}

} // namespace

std::vector<SkinPictureSpec> ScrollBarPictures() {
    return {
        {ScrollBarStripPicture,
         QSize(ScrollBarStripColumns * ScrollBarStripCell, ScrollBarStripRows * ScrollBarStripCell),
         ScrollBarStripTransparentColour, PaintStrip},
    };
}
