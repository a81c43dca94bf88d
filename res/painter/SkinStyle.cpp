#include "SkinStyle.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace SkinStyle {

QColor ToQColor(SkinColour colour) {
    return QColor(colour.Red, colour.Green, colour.Blue);
}

QRectF ToRectF(const SkinRect& rect) {
    return QRectF(rect.left, rect.top, rect.Width(), rect.Height());
}

QFont Font(double pixelSize, int weight, bool italic) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pixelSize));
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QPolygonF Chamfered(const QRectF& r, double cut) {
    return QPolygonF({QPointF(r.left() + cut, r.top()), QPointF(r.right(), r.top()),
                      QPointF(r.right(), r.bottom() - cut), QPointF(r.right() - cut, r.bottom()),
                      QPointF(r.left(), r.bottom()), QPointF(r.left(), r.top() + cut)});
}

void DrawChassis(QPainter& painter, const QRectF& rect, double cut) {
    painter.save();
    const QPolygonF body = ChamferedAll(rect, cut);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, QColor(30, 33, 40));
    fill.setColorAt(0.12, QColor(22, 24, 29));
    fill.setColorAt(1, QColor(13, 14, 17));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPolygon(body);

    // Brushed texture: faint diagonal hatching keeps the large dark faces from looking flat.
    painter.setClipRegion(QRegion(body.toPolygon()));
    painter.setPen(QPen(QColor(255, 255, 255, 6), 1));
    for (double x = rect.left() - rect.height(); x < rect.right(); x += 6)
        painter.drawLine(QPointF(x, rect.bottom()), QPointF(x + rect.height(), rect.top()));
    painter.setClipping(false);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(58, 63, 75), 2));
    painter.drawPolygon(ChamferedAll(rect.adjusted(1, 1, -1, -1), cut - 1));
    painter.setPen(QPen(QColor(0, 0, 0, 160), 1));
    painter.drawPolygon(ChamferedAll(rect.adjusted(3, 3, -3, -3), cut - 2));

    // Accent rails on the chamfers.
    painter.setPen(QPen(Accent, 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(rect.left() + 2, rect.top() + cut + 18),
                     QPointF(rect.left() + 2, rect.top() + cut));
    painter.drawLine(QPointF(rect.left() + 2, rect.top() + cut), QPointF(rect.left() + cut, rect.top() + 2));
    painter.drawLine(QPointF(rect.left() + cut, rect.top() + 2), QPointF(rect.left() + 140, rect.top() + 2));
    painter.drawLine(QPointF(rect.right() - 2, rect.bottom() - cut - 18),
                     QPointF(rect.right() - 2, rect.bottom() - cut));
    painter.drawLine(QPointF(rect.right() - 2, rect.bottom() - cut),
                     QPointF(rect.right() - cut, rect.bottom() - 2));
    painter.drawLine(QPointF(rect.right() - cut, rect.bottom() - 2),
                     QPointF(rect.right() - 140, rect.bottom() - 2));
    painter.restore();
}

namespace {

void DrawCentredText(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
                     const QColor& colour, int flags = Qt::AlignCenter) {
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(rect, flags, text);
}

// Soft light around a shape, drawn as widening translucent strokes.
void Glow(QPainter& painter, const QPainterPath& path, const QColor& colour, int radius) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (int i = radius; i > 0; --i) {
        QColor c = colour;
        c.setAlpha(std::max(4, 70 / i));
        painter.setPen(QPen(c, i * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(path);
    }
    painter.restore();
}

} // namespace

void DrawKeycap(QPainter& painter, const QRectF& rect, const QString& main, const QString& shifted,
                SkinLook look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF cap = rect.adjusted(1.5, 1.5, -1.5, -1.5);
    const QRectF face = rect.adjusted(5, 3.5, -5, -8);
    QPainterPath capPath;
    capPath.addRoundedRect(cap, 5, 5);
    QPainterPath facePath;
    facePath.addRoundedRect(face, 4, 4);

    QColor skirtTop(44, 48, 58), skirtBottom(24, 26, 32), faceTop(58, 63, 76), faceBottom(43, 47, 57);
    QColor rim(4, 5, 6), legend = Legend, shiftedColour = LegendDim;
    if (look == SkinLook::Hover) {
        skirtTop = QColor(78, 86, 102);
        skirtBottom = QColor(44, 48, 58);
        faceTop = QColor(112, 122, 142);
        faceBottom = QColor(84, 92, 110);
        rim = QColor(236, 240, 248);
        legend = QColor(255, 255, 255);
        shiftedColour = QColor(210, 214, 222);
    } else if (look == SkinLook::Active) {
        skirtTop = QColor(92, 40, 4);
        skirtBottom = QColor(40, 16, 2);
        faceTop = QColor(70, 34, 10);
        faceBottom = QColor(46, 22, 6);
        rim = Accent;
        legend = QColor(255, 190, 110);
        shiftedColour = QColor(255, 150, 70);
    }

    QLinearGradient skirt(cap.topLeft(), cap.bottomLeft());
    skirt.setColorAt(0, skirtTop);
    skirt.setColorAt(1, skirtBottom);
    painter.setPen(QPen(rim, look == SkinLook::Normal ? 1 : 1.5));
    painter.setBrush(skirt);
    painter.drawPath(capPath);

    QLinearGradient top(face.topLeft(), face.bottomLeft());
    top.setColorAt(0, faceTop);
    top.setColorAt(1, faceBottom);
    painter.setPen(QPen(look == SkinLook::Active ? QColor(255, 111, 0, 120) : QColor(255, 255, 255, 22), 1));
    painter.setBrush(top);
    painter.drawPath(facePath);

    if (look == SkinLook::Active) {
        // Underglow: the key is lit from below, as an assigned key on the real board.
        QLinearGradient glow(cap.left(), cap.bottom() - 6, cap.left(), cap.bottom());
        glow.setColorAt(0, QColor(255, 111, 0, 0));
        glow.setColorAt(1, QColor(255, 140, 20, 230));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawRoundedRect(QRectF(cap.left() + 2, cap.bottom() - 6, cap.width() - 4, 5), 2, 2);
        painter.setBrush(AccentBright);
        painter.drawEllipse(QPointF(face.right() - 4, face.top() + 4), 1.8, 1.8);
    }

    const bool symbol = main.size() <= 2;
    if (!shifted.isEmpty()) {
        const QRectF upper(face.left(), face.top() + 1, face.width(), face.height() / 2);
        const QRectF lower(face.left(), face.top() + face.height() / 2 - 2, face.width(), face.height() / 2);
        DrawCentredText(painter, upper, shifted, Font(12, QFont::Bold), shiftedColour);
        DrawCentredText(painter, lower, main, Font(14, QFont::Bold), legend);
    } else if (symbol) {
        if (look == SkinLook::Active) {
            QPainterPath text;
            text.addText(0, 0, Font(15, QFont::Bold), main);
            const QRectF bounds = text.boundingRect();
            text.translate(face.center() - bounds.center());
            Glow(painter, text, QColor(255, 111, 0), 3);
        }
        DrawCentredText(painter, face, main, Font(15, QFont::Bold), legend);
    } else if (!main.isEmpty()) {
        const double size = main.size() > 6 ? 10 : 11;
        DrawCentredText(painter, face, main, Font(size, QFont::DemiBold), legend);
    }
    painter.restore();
}

void DrawButton(QPainter& painter, const QRectF& rect, SkinLook look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    // A raised plate: the face sits on a darker lip, which also lifts the face's centre to where the
    // program's caption runs.
    const QRectF face = body.adjusted(0, 0, 0, -5);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    QColor border(66, 72, 88), lip(12, 13, 16);
    if (look == SkinLook::Normal) {
        fill.setColorAt(0, QColor(46, 50, 60));
        fill.setColorAt(1, QColor(30, 33, 40));
    } else if (look == SkinLook::Hover) {
        fill.setColorAt(0, QColor(78, 86, 102));
        fill.setColorAt(1, QColor(50, 55, 66));
        border = AccentBright;
        lip = QColor(120, 50, 4);
    } else {
        fill.setColorAt(0, QColor(124, 52, 6));
        fill.setColorAt(1, QColor(70, 28, 2));
        border = Accent;
        lip = QColor(255, 111, 0);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(lip);
    painter.drawPolygon(Chamfered(body, 7));
    painter.setPen(QPen(border, look == SkinLook::Normal ? 1 : 1.5));
    painter.setBrush(fill);
    painter.drawPolygon(Chamfered(face, 7));
    // Accent tick on the leading edge, lit in the hover and active looks.
    painter.setPen(Qt::NoPen);
    painter.setBrush(look == SkinLook::Normal ? QColor(255, 111, 0, 150) : AccentBright);
    painter.drawRect(QRectF(face.left() + 1, face.top() + 9, 2.5, face.height() - 12));
    painter.restore();
}

void DrawTitleButton(QPainter& painter, const QRectF& rect, const QString& glyph, SkinLook look,
                     bool danger) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill(36, 39, 47), border(62, 68, 82), text(170, 176, 188);
    if (look != SkinLook::Normal) {
        fill = danger ? QColor(196, 32, 32) : QColor(255, 111, 0);
        border = danger ? QColor(255, 90, 90) : AccentBright;
        text = QColor(255, 255, 255);
    }
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    DrawCentredText(painter, rect, glyph, Font(15, QFont::Bold), text);
    painter.restore();
}

void DrawToggle(QPainter& painter, const QRectF& rect, SkinLook look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track(rect.center().x() - 14, rect.top() + 3, 28, rect.height() - 6);
    const bool on = look == SkinLook::Active;
    QLinearGradient fill(track.topLeft(), track.bottomLeft());
    if (on) {
        fill.setColorAt(0, QColor(70, 28, 2));
        fill.setColorAt(1, QColor(200, 82, 0));
    } else if (look == SkinLook::Hover) {
        fill.setColorAt(0, QColor(70, 76, 92));
        fill.setColorAt(1, QColor(46, 50, 60));
    } else {
        fill.setColorAt(0, QColor(34, 37, 45));
        fill.setColorAt(1, QColor(22, 24, 29));
    }
    painter.setPen(QPen(look == SkinLook::Normal ? QColor(66, 72, 86) : AccentBright, 1.5));
    painter.setBrush(fill);
    painter.drawRoundedRect(track, 14, 14);

    const QPointF knob(track.center().x(), on ? track.bottom() - 14 : track.top() + 14);
    QRadialGradient knobFill(knob - QPointF(3, 3), 14);
    if (on) {
        knobFill.setColorAt(0, QColor(255, 214, 160));
        knobFill.setColorAt(1, QColor(255, 128, 20));
    } else if (look == SkinLook::Hover) {
        knobFill.setColorAt(0, QColor(235, 238, 244));
        knobFill.setColorAt(1, QColor(140, 146, 160));
    } else {
        knobFill.setColorAt(0, QColor(180, 186, 198));
        knobFill.setColorAt(1, QColor(92, 98, 112));
    }
    painter.setPen(QPen(QColor(0, 0, 0, 180), 1));
    painter.setBrush(knobFill);
    painter.drawEllipse(knob, 11, 11);
    DrawCentredText(painter, QRectF(knob.x() - 11, knob.y() - 11, 22, 22),
                    on ? QStringLiteral("2") : QStringLiteral("1"), Font(12, QFont::Bold),
                    on ? QColor(60, 20, 0) : QColor(30, 32, 38));
    painter.restore();
}

void DrawLabelPlate(QPainter& painter, const QRectF& rect, SkinLook look, const QColor& litColour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (look == SkinLook::Active) {
        QColor tint = litColour;
        tint.setAlpha(34);
        QColor edge = litColour;
        edge.setAlpha(110);
        painter.setPen(QPen(edge, 1));
        painter.setBrush(tint);
        painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
    painter.restore();
}

void DrawBrandedHeader(QPainter& painter, const HeaderLayout& layout, const QString& caption,
                       const QString& subtitle) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const QFont logoFont = Font(layout.logoSize, QFont::Black, true);
    const double baseline = layout.logoOrigin.y();
    QPainterPath z;
    z.addText(layout.logoOrigin, logoFont, QStringLiteral("Z"));
    QPainterPath rest;
    rest.addText(
        QPointF(layout.logoOrigin.x() + QFontMetricsF(logoFont).horizontalAdvance(QStringLiteral("Z")) - 1,
                baseline),
        logoFont, QStringLiteral("ELK"));
    painter.setPen(Qt::NoPen);
    QLinearGradient accent(0, layout.logoTop, 0, baseline);
    accent.setColorAt(0, AccentBright);
    accent.setColorAt(1, Accent);
    painter.setBrush(accent);
    painter.drawPath(z);
    QLinearGradient steel(0, layout.logoTop, 0, baseline);
    steel.setColorAt(0, QColor(240, 242, 246));
    steel.setColorAt(1, QColor(150, 156, 168));
    painter.setBrush(steel);
    painter.drawPath(rest);

    const double barLeft =
        layout.logoOrigin.x() + z.boundingRect().width() + rest.boundingRect().width() + layout.barGap;
    painter.setBrush(Accent);
    painter.drawRect(QRectF(barLeft, layout.barTop, 3, layout.barHeight));
    QFont captionFont = Font(layout.captionSize, QFont::Bold);
    captionFont.setLetterSpacing(QFont::AbsoluteSpacing, layout.captionSpacing);
    painter.setFont(captionFont);
    painter.setPen(QColor(214, 218, 226));
    painter.drawText(QPointF(barLeft + layout.textIndent, layout.captionBaseline), caption);
    QFont subtitleFont = Font(layout.subtitleSize, QFont::DemiBold);
    subtitleFont.setLetterSpacing(QFont::AbsoluteSpacing, layout.subtitleSpacing);
    painter.setFont(subtitleFont);
    painter.setPen(LegendDim);
    painter.drawText(QPointF(barLeft + layout.textIndent, layout.subtitleBaseline), subtitle);
    painter.restore();
}

void DrawSpeedStripes(QPainter& painter, const StripesLayout& layout) {
    for (int i = 0; i < layout.count; ++i) {
        QColor stripe = Accent;
        stripe.setAlpha(40 + i * layout.alphaStep);
        painter.setBrush(stripe);
        const double x = layout.left + i * layout.step;
        painter.drawPolygon(QPolygonF({QPointF(x + 8, layout.top), QPointF(x + 8 + layout.width, layout.top),
                                       QPointF(x + layout.width, layout.bottom), QPointF(x, layout.bottom)}));
    }
}

void DrawTitleTab(QPainter& painter, const QRectF& tab, double slant, double ruleInset) {
    const QPolygonF outline({tab.topLeft(), tab.topRight(), QPointF(tab.right() - slant, tab.bottom()),
                             QPointF(tab.left() + slant, tab.bottom())});
    QLinearGradient fill(tab.topLeft(), tab.bottomLeft());
    fill.setColorAt(0, QColor(40, 44, 54));
    fill.setColorAt(1, QColor(22, 24, 30));
    painter.setPen(QPen(QColor(66, 72, 88), 1));
    painter.setBrush(fill);
    painter.drawPolygon(outline);
    painter.setPen(QPen(Accent, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(tab.left() + ruleInset, tab.bottom() - 1),
                     QPointF(tab.right() - ruleInset, tab.bottom() - 1));
}

QImage FinishOnTransparentColour(const QImage& painted, SkinColour transparent) {
    QImage image = painted.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(transparent.Red, transparent.Green, transparent.Blue);
    // The body's nearest colour to the key: one step off in blue or red.
    const QRgb stepped = qRgb(transparent.Red, transparent.Green,
                              transparent.Blue > 0 ? transparent.Blue - 1 : transparent.Blue + 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) < 128) {
                line[x] = key;
                continue;
            }
            const QRgb opaque = qRgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
            line[x] = opaque == key ? stepped : opaque;
        }
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace SkinStyle
