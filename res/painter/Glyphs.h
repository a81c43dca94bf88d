// The small drawings on the key assignment editor's multimedia, mouse, function and power pages: one
// for each icon key, mouse row and power button, drawn in a square of 24 units centred on the origin.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

using Glyph = void (*)(QPainter&, const QColor&);

// The glyph of an editor area, nullptr when the area carries none.
Glyph GlyphOf(int areaId);
// Draws a glyph scaled into the middle of the box.
void DrawGlyph(QPainter& painter, const QRectF& box, Glyph glyph, const QColor& colour);
