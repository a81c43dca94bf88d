// An area's rectangle in Qt's terms.
#pragma once

#include "skin/SkinRegion.h"

#include <QRect>

inline QRect ToQRect(const SkinRect& rect) {
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}
