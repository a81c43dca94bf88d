// Shared helpers of the shell tests: the painted skins, loaded once, and pixel comparisons.
#pragma once

#include "SkinTestSupport.h"

#include "shell/MainWindowAreas.h"
#include "skin/SkinResources.h"

#include <QImage>
#include <QRect>

// Share of pixels inside the rectangle that differ between two images of the same size.
inline double DifferentShare(const QImage& a, const QImage& b, const QRect& rect) {
    int different = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if ((a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff))
                ++different;
        }
    }
    return static_cast<double>(different) / (rect.width() * rect.height());
}

inline bool SameBlock(const QImage& a, const QImage& b, const QRect& rect) {
    return DifferentShare(a, b, rect) == 0.0;
}
