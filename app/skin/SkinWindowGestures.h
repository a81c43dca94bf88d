// How the mouse moves and resizes a skinned window, which has no system frame: a press outside
// every area starts the system's move, one on the 5-pixel right or bottom strips the system's
// resize; where the platform refuses them (no window manager), the window follows the pointer by
// hand while the button is held.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// What lies under a point, as a skinned window's hit test answers it.
enum class SkinHitPart { Client, Caption, RightEdge, BottomEdge, BottomRightCorner };

class CSkinWindowGestures {
public:
    explicit CSkinWindowGestures(QWidget& window) : Window(window) {}

    // What a point outside every area of a window of the size is: a resize strip or the caption.
    static SkinHitPart PartOutsideAreas(QPoint clientPoint, QSize windowSize);
    // The cursor over the part: the resize arrows over the strips, the window's own elsewhere.
    void ShowCursor(SkinHitPart part);

    // A left press on the part. On an area (Client) it is a click; on the caption where a click is
    // taken (a clickable label) it stays a click unless the mouse moves away, then it moves the window.
    void Press(SkinHitPart part, bool clickTaken, QPoint globalPoint);
    // Follows the pointer; false when no gesture takes the move, so the window hit-tests it as usual.
    bool Follow(QPoint globalPoint);
    // Ends the gesture; true when it was a click (or nothing was under way).
    bool Release();
    // Whether the window is being moved or resized.
    bool MovingOrResizing() const;

private:
    enum class Gesture { None, Click, PendingClick, SystemMove, ManualMove, SystemResize, ManualResize };

    void Start(SkinHitPart part, QPoint globalPoint);

    QWidget& Window;
    Gesture Current = Gesture::None;
    SkinHitPart ResizePart = SkinHitPart::Client;
    QPoint StartGlobal;
    QRect StartGeometry;
};
