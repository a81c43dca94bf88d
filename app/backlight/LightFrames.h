// How the backlight dialogs show a key's colour: a 2-pixel frame just outside the key.
#pragma once

#include "model/KeyboardData.h"
#include "skin/SkinRegion.h"

#include <QColor>

class QPainter;

// The colour a light record stands for: the low byte of each value, as the keyboard receives it.
QColor LightColour(const AreaLight& light);
// The same colour stepped off a window's transparent colour, so that a frame in it stays visible.
QColor LightColourShownOn(const AreaLight& light, SkinColour transparent);

void PaintKeyFrame(QPainter& painter, const SkinRect& key, const QColor& colour);
