#include "backlight/LightFrames.h"

#include "backlight/BacklightAreas.h"
#include "skin/SkinRectQt.h"

#include <QPainter>

QColor LightColour(const AreaLight& light) {
    return QColor(light.Red & 0xFF, light.Green & 0xFF, light.Blue & 0xFF);
}

QColor LightColourShownOn(const AreaLight& light, SkinColour transparent) {
    const QColor colour = LightColour(light);
    if (colour != QColor(transparent.Red, transparent.Green, transparent.Blue))
        return colour;
    return QColor(colour.red(), colour.green() < 255 ? colour.green() + 1 : colour.green() - 1,
                  colour.blue());
}

void PaintKeyFrame(QPainter& painter, const SkinRect& key, const QColor& colour) {
    for (const SkinRect& part : KeyFrameParts(key))
        painter.fillRect(ToQRect(part), colour);
}
