// The recessed plates of the skin, drawn the same way by the skin painter into the pictures and by a
// window at run time where a plate's place depends on the UI language (the editor's number edits).
#pragma once

#include <QPainter>
#include <QPolygonF>
#include <QRectF>

namespace SkinPlate {

// A polygon of the rectangle with all four corners cut by cut pixels.
QPolygonF ChamferedAll(const QRectF& rect, double cut);
// A recessed plate (key bed, side panel, info panel frame).
void DrawPlate(QPainter& painter, const QRectF& rect, double cut);
// The plate a text box sits in: its inside (2 pixels in from the edge) in the boxes' background.
void DrawTextField(QPainter& painter, const QRectF& rect);

} // namespace SkinPlate
