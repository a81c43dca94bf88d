// What every windowed test suite shares: the painted skins its main() loads, and area geometry in
// Qt's terms.
#pragma once

#include "shell/SkinRegion.h"
#include "shell/SkinResources.h"

#include <QPoint>
#include <QRect>

// Loaded by main() from the resource file beside the test program.
extern CSkinResources* TheTestSkins;
inline const CSkinResources& TestSkins() {
    return *TheTestSkins;
}

inline QRect ToQRect(const SkinRect& rect) {
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

inline QPoint Centre(const SkinRect& rect) {
    return QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}
