// The drawing vocabulary shared by every skin picture: the dark chassis, keycaps, buttons and
// switches in their normal, hover and active looks, and the finishing pass that gives a picture
// hard edges against its window's transparent colour.
#pragma once

#include "skin/SkinPlate.h"
#include "skin/SkinRegion.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

// Which of a window's pictures is being drawn.
enum class SkinLook { Normal, Hover, Active };

namespace SkinStyle {

inline const QColor Accent{255, 111, 0};
inline const QColor AccentBright{255, 158, 60};
inline const QColor AccentDeep{120, 48, 0};
inline const QColor Legend{200, 205, 214};
inline const QColor LegendDim{150, 156, 168};
inline const QColor Plate{11, 12, 15};
inline const QColor Line{44, 48, 58};

QColor ToQColor(SkinColour colour);
QRectF ToRectF(const SkinRect& rect);
QFont Font(double pixelSize, int weight = QFont::Normal, bool italic = false);

// A polygon of the rectangle with its top-left and bottom-right corners cut by cut pixels.
QPolygonF Chamfered(const QRectF& rect, double cut);
using SkinPlate::ChamferedAll;

// The window's body: a slab with its corners chamfered by cut pixels and a fine rim.
void DrawChassis(QPainter& painter, const QRectF& rect, double cut = 22);
using SkinPlate::DrawPlate;
void DrawKeycap(QPainter& painter, const QRectF& rect, const QString& main, const QString& shifted,
                SkinLook look);
// A command button; its caption is drawn by the program, so the face stays clear.
void DrawButton(QPainter& painter, const QRectF& rect, SkinLook look);
// A small square title-bar button carrying a glyph; danger turns its hover red.
void DrawTitleButton(QPainter& painter, const QRectF& rect, const QString& glyph, SkinLook look, bool danger);
// A vertical two-position switch: knob up when off, down and lit when on.
void DrawToggle(QPainter& painter, const QRectF& rect, SkinLook look);
// The backdrop under a text label; the active look marks the label as the lit one.
void DrawLabelPlate(QPainter& painter, const QRectF& rect, SkinLook look, const QColor& litColour);

// Where and how large a window's branded header is drawn: the ZELK wordmark (an orange Z, the rest
// in steel), an accent bar after it, and a letter-spaced caption over a subtitle beside the bar.
struct HeaderLayout {
    QPointF logoOrigin; // start of the wordmark's baseline
    double logoTop;     // where the wordmark's gradients start
    double logoSize;
    double barGap; // from the end of the wordmark to the accent bar
    double barTop;
    double barHeight;
    double textIndent; // from the accent bar to the caption and subtitle
    double captionSize;
    double captionSpacing;
    double captionBaseline;
    double subtitleSize;
    double subtitleSpacing;
    double subtitleBaseline;
};
void DrawBrandedHeader(QPainter& painter, const HeaderLayout& layout, const QString& caption,
                       const QString& subtitle);

// A row of slanted stripes in the accent colour, more opaque from left to right, drawn with the
// painter's pen: stripe i has its left foot at (left + i * step, bottom), leans 8 pixels to the right
// at top and is width pixels wide.
struct StripesLayout {
    double left;
    double top;
    double bottom;
    double step;
    double width;
    int count;
    int alphaStep;
};
void DrawSpeedStripes(QPainter& painter, const StripesLayout& layout);
// The tab behind a window's title caption: a trapezoid whose foot is slant pixels narrower on each
// side, with an accent rule along its foot, ruleInset pixels in from each top corner.
void DrawTitleTab(QPainter& painter, const QRectF& tab, double slant, double ruleInset);

// Makes every pixel either fully body or exactly the transparent colour, and keeps the transparent
// colour out of the body, so the window's shape has no fringe and no holes.
QImage FinishOnTransparentColour(const QImage& painted, SkinColour transparent);

} // namespace SkinStyle
