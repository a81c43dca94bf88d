#include "Glyphs.h"

#include "SkinStyle.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace SkinStyle;

namespace {

QPen GlyphPen(const QColor& colour, double width = 1.9) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Filled(QPainter& painter, const QColor& colour, const QPolygonF& shape) {
    painter.save();
    painter.setPen(QPen(colour, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(colour);
    painter.drawPolygon(shape);
    painter.restore();
}

void Plus(QPainter& painter, const QPointF& at, double arm) {
    painter.drawLine(at - QPointF(arm, 0), at + QPointF(arm, 0));
    painter.drawLine(at - QPointF(0, arm), at + QPointF(0, arm));
}

void Minus(QPainter& painter, const QPointF& at, double arm) {
    painter.drawLine(at - QPointF(arm, 0), at + QPointF(arm, 0));
}

void GlyphText(QPainter& painter, const QRectF& rect, const QString& text, double size) {
    painter.setFont(Font(size, QFont::Black));
    painter.drawText(rect, Qt::AlignCenter, text);
}

// Multimedia.
void MediaSelectGlyph(QPainter& painter, const QColor& colour) {
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(-6, 6.5), 3.6, 2.8);
    painter.drawEllipse(QPointF(6, 4.5), 3.6, 2.8);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(-2.6, 6), QPointF(-2.6, -7));
    painter.drawLine(QPointF(9.4, 4), QPointF(9.4, -9));
    painter.setPen(GlyphPen(colour, 3));
    painter.drawLine(QPointF(-2.6, -7.5), QPointF(9.4, -9.5));
}

void PlayPauseGlyph(QPainter& painter, const QColor& colour) {
    Filled(painter, colour, QPolygonF({QPointF(-10, -7.5), QPointF(0.5, 0), QPointF(-10, 7.5)}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRect(QRectF(3.5, -7.5, 2.8, 15));
    painter.drawRect(QRectF(8.3, -7.5, 2.8, 15));
}

void StopGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(-7, -7, 14, 14), 1.5, 1.5);
}

void NextTrackGlyph(QPainter& painter, const QColor& colour) {
    Filled(painter, colour, QPolygonF({QPointF(-10.5, -7), QPointF(-2, 0), QPointF(-10.5, 7)}));
    Filled(painter, colour, QPolygonF({QPointF(-2, -7), QPointF(6.5, 0), QPointF(-2, 7)}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRect(QRectF(7.5, -7, 2.8, 14));
}

void PreviousTrackGlyph(QPainter& painter, const QColor& colour) {
    painter.scale(-1, 1);
    NextTrackGlyph(painter, colour);
}

void Speaker(QPainter& painter, const QColor& colour) {
    Filled(painter, colour,
           QPolygonF({QPointF(-11, -3.5), QPointF(-6.5, -3.5), QPointF(-0.5, -9), QPointF(-0.5, 9),
                      QPointF(-6.5, 3.5), QPointF(-11, 3.5)}));
}

void VolumeDownGlyph(QPainter& painter, const QColor& colour) {
    Speaker(painter, colour);
    Minus(painter, QPointF(7, 0), 4);
}

void VolumeUpGlyph(QPainter& painter, const QColor& colour) {
    Speaker(painter, colour);
    Plus(painter, QPointF(7, 0), 4);
}

void MuteGlyph(QPainter& painter, const QColor& colour) {
    Speaker(painter, colour);
    painter.drawLine(QPointF(3.5, -4), QPointF(10.5, 4));
    painter.drawLine(QPointF(3.5, 4), QPointF(10.5, -4));
}

// Browser.
void BackGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(GlyphPen(colour, 2.6));
    painter.drawLine(QPointF(10, 0), QPointF(-9, 0));
    painter.drawPolyline(QPolygonF({QPointF(-2, -7), QPointF(-9, 0), QPointF(-2, 7)}));
}

void ForwardGlyph(QPainter& painter, const QColor& colour) {
    painter.scale(-1, 1);
    BackGlyph(painter, colour);
}

void WebStopGlyph(QPainter& painter, const QColor& colour) {
    painter.drawEllipse(QPointF(0, 0), 9.5, 9.5);
    painter.setPen(GlyphPen(colour, 2.4));
    painter.drawLine(QPointF(-4.2, -4.2), QPointF(4.2, 4.2));
    painter.drawLine(QPointF(-4.2, 4.2), QPointF(4.2, -4.2));
}

void RefreshGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(GlyphPen(colour, 2.3));
    painter.drawArc(QRectF(-8.5, -8.5, 17, 17), 70 * 16, 290 * 16);
    Filled(painter, colour, QPolygonF({QPointF(0.5, -13), QPointF(7.5, -8.2), QPointF(0.5, -3.5)}));
}

void FavouritesGlyph(QPainter& painter, const QColor& colour) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? 10.5 : 4.4;
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        star << QPointF(radius * std::cos(angle), radius * std::sin(angle) + 0.8);
    }
    Filled(painter, colour, star);
}

void SearchGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(GlyphPen(colour, 2.2));
    painter.drawEllipse(QPointF(-2.5, -2.5), 6.5, 6.5);
    painter.setPen(GlyphPen(colour, 3.4));
    painter.drawLine(QPointF(2.6, 2.6), QPointF(9, 9));
}

void MailGlyph(QPainter& painter, const QColor&) {
    painter.drawRoundedRect(QRectF(-10.5, -7.5, 21, 15), 1.5, 1.5);
    painter.drawPolyline(QPolygonF({QPointF(-10, -7), QPointF(0, 1.5), QPointF(10, -7)}));
}

void HomeGlyph(QPainter& painter, const QColor& colour) {
    painter.drawPolyline(QPolygonF({QPointF(-11, 0.5), QPointF(0, -9.5), QPointF(11, 0.5)}));
    painter.drawPolyline(QPolygonF({QPointF(-7.5, -2), QPointF(-7.5, 9), QPointF(7.5, 9), QPointF(7.5, -2)}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRect(QRectF(-2.2, 2.5, 4.4, 6.5));
}

void ComputerGlyph(QPainter& painter, const QColor& colour) {
    painter.drawRoundedRect(QRectF(-10.5, -9.5, 21, 14), 1.5, 1.5);
    painter.drawLine(QPointF(0, 4.5), QPointF(0, 8.5));
    painter.drawLine(QPointF(-5.5, 9), QPointF(5.5, 9));
    QColor screen = colour;
    screen.setAlpha(70);
    painter.setPen(Qt::NoPen);
    painter.setBrush(screen);
    painter.drawRect(QRectF(-8, -7, 16, 9));
}

void CalculatorGlyph(QPainter& painter, const QColor& colour) {
    painter.drawRoundedRect(QRectF(-7.5, -10.5, 15, 21), 2, 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRect(QRectF(-4.5, -7.5, 9, 4));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            painter.drawRect(QRectF(-4.6 + column * 3.5, -0.8 + row * 3.4, 2.2, 2.1));
    }
}

// Keyboard functions.
void Padlock(QPainter& painter, const QColor& colour, const QPointF& at, double size) {
    painter.save();
    painter.translate(at);
    painter.scale(size, size);
    painter.setPen(GlyphPen(colour, 2.4));
    painter.drawArc(QRectF(-5, -10.5, 10, 12), 0, 180 * 16);
    painter.drawLine(QPointF(-5, -4.5), QPointF(-5, -1));
    painter.drawLine(QPointF(5, -4.5), QPointF(5, -1));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    QPainterPath body;
    body.addRoundedRect(QRectF(-8, -1.5, 16, 11.5), 2, 2);
    QPainterPath hole;
    hole.addEllipse(QPointF(0, 3.2), 1.8, 1.8);
    hole.addRect(QRectF(-0.8, 3.2, 1.6, 3.6));
    painter.drawPath(body.subtracted(hole));
    painter.restore();
}

void KeyboardLockGlyph(QPainter& painter, const QColor& colour) {
    Padlock(painter, colour, QPointF(0, 0.5), 1.0);
}

void CtrlCapsGlyph(QPainter& painter, const QColor& colour) {
    GlyphText(painter, QRectF(-12, -12.5, 24, 9), QStringLiteral("CTRL"), 7.4);
    GlyphText(painter, QRectF(-12, 4, 24, 9), QStringLiteral("CAPS"), 7.4);
    painter.setPen(GlyphPen(colour, 1.5));
    painter.drawLine(QPointF(-4.5, -2.5), QPointF(-4.5, 2.5));
    painter.drawPolyline(QPolygonF({QPointF(-6.5, -0.8), QPointF(-4.5, -2.8), QPointF(-2.5, -0.8)}));
    painter.drawLine(QPointF(4.5, -2.5), QPointF(4.5, 2.5));
    painter.drawPolyline(QPolygonF({QPointF(2.5, 0.8), QPointF(4.5, 2.8), QPointF(6.5, 0.8)}));
}

void WinLockGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column)
            painter.drawRect(QRectF(-11 + column * 7.2, -10.5 + row * 7.2, 6.2, 6.2));
    }
    Padlock(painter, colour, QPointF(6.5, 4.5), 0.62);
}

void DpiGlyph(QPainter& painter, bool up) {
    GlyphText(painter, QRectF(-12, -11, 24, 11), QStringLiteral("DPI"), 9.5);
    painter.setPen(GlyphPen(painter.pen().color(), 2.4));
    if (up)
        Plus(painter, QPointF(0, 5.5), 4.2);
    else
        Minus(painter, QPointF(0, 5.5), 4.2);
}

void DpiDownGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(colour);
    DpiGlyph(painter, false);
}

void DpiUpGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(colour);
    DpiGlyph(painter, true);
}

void FnGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(colour);
    GlyphText(painter, QRectF(-12, -9, 24, 18), QStringLiteral("FN"), 13);
}

void ProgrammableGlyph(QPainter& painter, const QColor& colour) {
    painter.drawPolyline(QPolygonF({QPointF(-4.5, -11), QPointF(-8.5, -7), QPointF(-4.5, -3)}));
    painter.drawPolyline(QPolygonF({QPointF(4.5, -11), QPointF(8.5, -7), QPointF(4.5, -3)}));
    painter.drawLine(QPointF(1.5, -11.5), QPointF(-1.5, -2.5));
    painter.setPen(GlyphPen(colour, 1.5));
    painter.drawRoundedRect(QRectF(-11, 1, 22, 10.5), 1.5, 1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (int column = 0; column < 5; ++column)
        painter.drawRect(QRectF(-8.6 + column * 3.7, 3.4, 2.2, 2));
    painter.drawRect(QRectF(-5, 7, 10, 2));
}

// Backlight functions.
void DemonstrateGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        QColor dot = colour;
        dot.setAlpha(60 + i * 27);
        painter.setBrush(dot);
        const double angle = i * std::numbers::pi / 4;
        painter.drawEllipse(QPointF(8.5 * std::cos(angle), 8.5 * std::sin(angle)), 2.1, 2.1);
    }
    Filled(painter, colour, QPolygonF({QPointF(-2.5, -3.8), QPointF(3.8, 0), QPointF(-2.5, 3.8)}));
}

void StarShowerGlyph(QPainter& painter, const QColor& colour) {
    // Three meteors falling to the lower left, each a sparkle with a fading tail.
    const struct {
        QPointF head;
        double size;
    } meteors[] = {{QPointF(-6.5, 5), 4.2}, {QPointF(3, 8.5), 3}, {QPointF(1.5, -3.5), 3.2}};
    for (const auto& meteor : meteors) {
        const QPointF tailEnd = meteor.head + QPointF(9, -9) * (meteor.size / 4.2);
        QLinearGradient tail(meteor.head, tailEnd);
        tail.setColorAt(0, colour);
        QColor faded = colour;
        faded.setAlpha(40);
        tail.setColorAt(1, faded);
        painter.setPen(QPen(QBrush(tail), 1.7, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(meteor.head, tailEnd);
        const double r = meteor.size, w = r * 0.32;
        QPolygonF sparkle;
        for (int i = 0; i < 8; ++i) {
            const double radius = i % 2 == 0 ? r : w;
            const double angle = i * std::numbers::pi / 4;
            sparkle << meteor.head + QPointF(radius * std::cos(angle), radius * std::sin(angle));
        }
        Filled(painter, colour, sparkle);
    }
}

void RippleGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(0, 0), 2.4, 2.4);
    painter.setBrush(Qt::NoBrush);
    const double radii[] = {5.8, 8.6, 11.2};
    for (int i = 0; i < 3; ++i) {
        QColor ring = colour;
        ring.setAlpha(255 - i * 70);
        painter.setPen(GlyphPen(ring, 1.6));
        painter.drawEllipse(QPointF(0, 0), radii[i], radii[i]);
    }
}

void Sun(QPainter& painter, const QColor& colour, const QPointF& at, double radius, int rays) {
    painter.save();
    painter.setBrush(colour);
    painter.setPen(GlyphPen(colour, 1.6));
    painter.drawEllipse(at, radius, radius);
    for (int i = 0; i < rays; ++i) {
        const double angle = i * 2 * std::numbers::pi / rays;
        const QPointF direction(std::cos(angle), std::sin(angle));
        painter.drawLine(at + direction * (radius + 2.2), at + direction * (radius + 4.4));
    }
    painter.restore();
}

void BrightnessDownGlyph(QPainter& painter, const QColor& colour) {
    Sun(painter, colour, QPointF(-2.5, -2.5), 3.6, 8);
    painter.setPen(GlyphPen(colour, 2.2));
    Minus(painter, QPointF(7, 7.5), 3.6);
}

void BrightnessUpGlyph(QPainter& painter, const QColor& colour) {
    Sun(painter, colour, QPointF(-2.5, -2.5), 3.6, 8);
    painter.setPen(GlyphPen(colour, 2.2));
    Plus(painter, QPointF(7, 7.5), 3.6);
}

void BacklightSwitchGlyph(QPainter& painter, const QColor& colour) {
    painter.drawArc(QRectF(-6.5, -11, 13, 13), -30 * 16, 240 * 16);
    painter.drawLine(QPointF(-5.6, -1.3), QPointF(-3.2, 3.5));
    painter.drawLine(QPointF(5.6, -1.3), QPointF(3.2, 3.5));
    painter.drawLine(QPointF(-3.4, 6), QPointF(3.4, 6));
    painter.drawLine(QPointF(-2.4, 9), QPointF(2.4, 9));
    painter.setPen(GlyphPen(colour, 1.4));
    painter.drawLine(QPointF(-9, -11), QPointF(-10.8, -12.8));
    painter.drawLine(QPointF(9, -11), QPointF(10.8, -12.8));
    painter.drawLine(QPointF(-10, -4.5), QPointF(-12.3, -4.5));
    painter.drawLine(QPointF(10, -4.5), QPointF(12.3, -4.5));
}

QPainterPath Wave(double left, double right, double y, double amplitude, double periods) {
    QPainterPath wave;
    const int steps = 48;
    for (int i = 0; i <= steps; ++i) {
        const double x = left + (right - left) * i / steps;
        const double phase = 2 * std::numbers::pi * periods * i / steps;
        const QPointF point(x, y - amplitude * std::sin(phase));
        if (i == 0)
            wave.moveTo(point);
        else
            wave.lineTo(point);
    }
    return wave;
}

void BreatheGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(GlyphPen(colour, 2.2));
    painter.drawPath(Wave(-11, 11, 0, 7, 1));
}

void BacklightMacroGlyph(QPainter& painter, const QColor& colour) {
    const bool lit[3][3] = {{true, false, true}, {false, true, false}, {true, true, false}};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRectF cell(-10 + column * 7.3, -10 + row * 7.3, 5.8, 5.8);
            if (lit[row][column]) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(colour);
            } else {
                painter.setPen(GlyphPen(colour, 1.1));
                painter.setBrush(Qt::NoBrush);
            }
            painter.drawRect(cell);
        }
    }
}

void BreatheFasterGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(GlyphPen(colour, 1.9));
    painter.drawPath(Wave(-11, 11, -4, 4.5, 2));
    painter.setPen(GlyphPen(colour, 2.2));
    Plus(painter, QPointF(0, 7.5), 3.6);
}

void BreatheSlowerGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(GlyphPen(colour, 1.9));
    painter.drawPath(Wave(-11, 11, -4, 4.5, 2));
    painter.setPen(GlyphPen(colour, 2.2));
    Minus(painter, QPointF(0, 7.5), 3.6);
}

void SunsetGlyph(QPainter& painter, const QColor& colour) {
    QPainterPath half;
    half.moveTo(-6, 3);
    half.arcTo(QRectF(-6, -3, 12, 12), 180, -180);
    half.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(half);
    painter.setPen(GlyphPen(colour, 1.6));
    for (int i = 0; i < 5; ++i) {
        const double angle = std::numbers::pi * (1 + i / 4.0);
        const QPointF direction(std::cos(angle), std::sin(angle));
        painter.drawLine(QPointF(0, 3) + direction * 8.2, QPointF(0, 3) + direction * 10.8);
    }
    painter.setPen(GlyphPen(colour, 1.8));
    painter.drawLine(QPointF(-11.5, 4.8), QPointF(11.5, 4.8));
    painter.setPen(GlyphPen(colour, 1.3));
    painter.drawLine(QPointF(-6, 8), QPointF(6, 8));
    painter.drawLine(QPointF(-3, 10.8), QPointF(3, 10.8));
}

void ColourWheelGlyph(QPainter& painter, const QColor& colour) {
    QConicalGradient hues(QPointF(0, 0), 90);
    const QColor stops[] = {QColor(255, 60, 60),  QColor(255, 200, 40), QColor(60, 210, 90),
                            QColor(40, 200, 255), QColor(80, 90, 255),  QColor(230, 60, 230),
                            QColor(255, 60, 60)};
    for (int i = 0; i < 7; ++i)
        hues.setColorAt(i / 6.0, stops[i]);
    painter.setPen(QPen(QBrush(hues), 4.6));
    painter.drawEllipse(QPointF(0, 0), 8.6, 8.6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(0, 0), 2.6, 2.6);
}

// Power.
void PowerGlyph(QPainter& painter, const QColor& colour) {
    painter.setPen(GlyphPen(colour, 2.5));
    painter.drawArc(QRectF(-8.5, -7.5, 17, 17), 125 * 16, 290 * 16);
    painter.drawLine(QPointF(0, -10.5), QPointF(0, -0.5));
}

void SleepGlyph(QPainter& painter, const QColor& colour) {
    QPainterPath moon;
    moon.addEllipse(QPointF(-1, 1), 9.5, 9.5);
    QPainterPath bite;
    bite.addEllipse(QPointF(4.5, -3.5), 8, 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(moon.subtracted(bite));
    painter.drawEllipse(QPointF(8, 6), 1.4, 1.4);
    painter.drawEllipse(QPointF(10.5, -8.5), 1.1, 1.1);
}

void WakeGlyph(QPainter& painter, const QColor& colour) {
    Sun(painter, colour, QPointF(0, 0), 5, 8);
}

// Mouse actions, drawn small at the front of their rows.
void ArrowGlyph(QPainter& painter, const QColor& colour, double degrees) {
    painter.rotate(degrees);
    painter.setPen(GlyphPen(colour, 3.2));
    painter.drawLine(QPointF(-9, 0), QPointF(8, 0));
    Filled(painter, colour, QPolygonF({QPointF(11, 0), QPointF(2, -7.5), QPointF(2, 7.5)}));
}

void MoveLeftGlyph(QPainter& painter, const QColor& colour) {
    ArrowGlyph(painter, colour, 180);
}
void MoveRightGlyph(QPainter& painter, const QColor& colour) {
    ArrowGlyph(painter, colour, 0);
}
void MoveUpGlyph(QPainter& painter, const QColor& colour) {
    ArrowGlyph(painter, colour, -90);
}
void MoveDownGlyph(QPainter& painter, const QColor& colour) {
    ArrowGlyph(painter, colour, 90);
}

enum class MousePart { Left, Right, Wheel };

void Mouse(QPainter& painter, const QColor& colour, MousePart lit, double x = 0) {
    painter.save();
    painter.translate(x, 0);
    painter.setPen(GlyphPen(colour, 1.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(-8, -11, 16, 22), 8, 8);
    painter.drawLine(QPointF(-8, -2), QPointF(8, -2));
    painter.drawLine(QPointF(0, -11), QPointF(0, -2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const QRectF top(-8, -11, 16, 16);
    if (lit == MousePart::Wheel) {
        painter.drawRoundedRect(QRectF(-2.6, -9.5, 5.2, 7.5), 2.6, 2.6);
    } else {
        const bool left = lit == MousePart::Left;
        QPainterPath button;
        button.moveTo(0, -2);
        button.lineTo(left ? -8 : 8, -2);
        button.lineTo(left ? -8 : 8, -3);
        button.arcTo(top, left ? 180 : 0, left ? -90 : 90);
        button.closeSubpath();
        painter.drawPath(button);
    }
    painter.restore();
}

void LeftClickGlyph(QPainter& painter, const QColor& colour) {
    Mouse(painter, colour, MousePart::Left);
}
void RightClickGlyph(QPainter& painter, const QColor& colour) {
    Mouse(painter, colour, MousePart::Right);
}
void MiddleClickGlyph(QPainter& painter, const QColor& colour) {
    Mouse(painter, colour, MousePart::Wheel);
}

void WheelGlyph(QPainter& painter, const QColor& colour, bool up) {
    Mouse(painter, colour, MousePart::Wheel, -3.5);
    const double tip = up ? -10 : 10;
    painter.setPen(GlyphPen(colour, 2.2));
    painter.drawLine(QPointF(9, -tip * 0.8), QPointF(9, tip * 0.6));
    Filled(painter, colour,
           QPolygonF({QPointF(9, tip), QPointF(5.5, tip * 0.45), QPointF(12.5, tip * 0.45)}));
}

void WheelUpGlyph(QPainter& painter, const QColor& colour) {
    WheelGlyph(painter, colour, true);
}
void WheelDownGlyph(QPainter& painter, const QColor& colour) {
    WheelGlyph(painter, colour, false);
}

void DoubleClickGlyph(QPainter& painter, const QColor& colour) {
    Mouse(painter, colour, MousePart::Left, 3);
    painter.setPen(GlyphPen(colour, 1.8));
    painter.drawArc(QRectF(-12, -12, 10, 10), 100 * 16, 80 * 16);
    painter.drawArc(QRectF(-9, -9, 6, 6), 100 * 16, 80 * 16);
}

// The glyph of every icon and mouse row, by area id.
const struct {
    int id;
    Glyph glyph;
} Glyphs[] = {
    {401, MediaSelectGlyph},
    {402, PlayPauseGlyph},
    {403, StopGlyph},
    {404, NextTrackGlyph},
    {405, PreviousTrackGlyph},
    {406, VolumeDownGlyph},
    {407, VolumeUpGlyph},
    {408, MuteGlyph},
    {409, BackGlyph},
    {410, ForwardGlyph},
    {411, WebStopGlyph},
    {412, RefreshGlyph},
    {413, FavouritesGlyph},
    {414, SearchGlyph},
    {415, MailGlyph},
    {416, HomeGlyph},
    {417, ComputerGlyph},
    {418, CalculatorGlyph},
    {502, MoveLeftGlyph},
    {503, MoveRightGlyph},
    {504, MoveUpGlyph},
    {505, MoveDownGlyph},
    {506, LeftClickGlyph},
    {507, RightClickGlyph},
    {508, MiddleClickGlyph},
    {509, WheelUpGlyph},
    {510, WheelDownGlyph},
    {511, DoubleClickGlyph},
    {602, KeyboardLockGlyph},
    {604, CtrlCapsGlyph},
    {608, WinLockGlyph},
    {611, DpiDownGlyph},
    {612, DpiUpGlyph},
    {613, FnGlyph},
    {614, ProgrammableGlyph},
    {615, DemonstrateGlyph},
    {616, StarShowerGlyph},
    {617, RippleGlyph},
    {618, BrightnessDownGlyph},
    {619, BrightnessUpGlyph},
    {622, BacklightSwitchGlyph},
    {623, BreatheGlyph},
    {624, BacklightMacroGlyph},
    {625, BreatheFasterGlyph},
    {626, BreatheSlowerGlyph},
    {627, SunsetGlyph},
    {628, ColourWheelGlyph},
    {701, WakeGlyph},
    {702, SleepGlyph},
    {703, PowerGlyph},
};

} // namespace

void DrawGlyph(QPainter& painter, const QRectF& box, Glyph glyph, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(box.center());
    const double scale = std::min(box.width(), box.height()) / 24.0;
    painter.scale(scale, scale);
    painter.setPen(GlyphPen(colour));
    painter.setBrush(Qt::NoBrush);
    glyph(painter, colour);
    painter.restore();
}

Glyph GlyphOf(int areaId) {
    for (const auto& entry : Glyphs) {
        if (entry.id == areaId)
            return entry.glyph;
    }
    return nullptr;
}
