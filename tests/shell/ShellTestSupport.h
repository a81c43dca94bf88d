// Shared helpers of the shell tests: the painted skins, loaded once, pixel comparisons, and the main
// window on the virtual keyboard.
#pragma once

#include "SkinTestSupport.h"

#include "model/KeyboardData.h"
#include "shell/MainWindow.h"
#include "shell/MainWindowAreas.h"
#include "skin/SkinResources.h"
#include "zelk/DeviceOptions.h"
#include "zelk/VirtualKeyboard.h"

#include <QImage>
#include <QRect>
#include <QTest>

#include <memory>

// Gives data its key catalogue and the virtual keyboard, as the program without the keyboard has them.
inline std::shared_ptr<CVirtualKeyboard> UseVirtualKeyboard(CKeyboardData& data) {
    BuildKeyCatalogue(data);
    CDeviceOptions options;
    options.VirtualKeyboard = true;
    CProblem refused;
    std::shared_ptr<CVirtualKeyboard> keyboard;
    data.HWI.UseDeviceProvider(MakeDeviceProvider(options, refused, &keyboard));
    return keyboard;
}

// Opens the main window as the program does, without the periodic device check, and waits for it.
inline bool OpenMainWindow(CMorvDlg& window) {
    if (!window.Initialise())
        return false;
    window.SetDeviceCheckInterval(0);
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

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
