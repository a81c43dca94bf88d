#include "skin/SkinWindowGestures.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// Width of the right and bottom strips that resize the window.
constexpr int ResizeStrip = 6;
constexpr int SmallestManualSize = 64;

Qt::Edges EdgesOf(SkinHitPart part) {
    switch (part) {
    case SkinHitPart::RightEdge:
        return Qt::RightEdge;
    case SkinHitPart::BottomEdge:
        return Qt::BottomEdge;
    case SkinHitPart::BottomRightCorner:
        return Qt::RightEdge | Qt::BottomEdge;
    default:
        return {};
    }
}

} // namespace

SkinHitPart CSkinWindowGestures::PartOutsideAreas(QPoint clientPoint, QSize windowSize) {
    const int x = clientPoint.x();
    const int y = clientPoint.y();
    const bool right = x > windowSize.width() - ResizeStrip;
    const bool bottom = y > windowSize.height() - ResizeStrip;
    if (right && bottom)
        return SkinHitPart::BottomRightCorner;
    if (right)
        return SkinHitPart::RightEdge;
    if (bottom)
        return SkinHitPart::BottomEdge;
    return SkinHitPart::Caption;
}

void CSkinWindowGestures::ShowCursor(SkinHitPart part) {
    switch (part) {
    case SkinHitPart::RightEdge:
        Window.setCursor(Qt::SizeHorCursor);
        break;
    case SkinHitPart::BottomEdge:
        Window.setCursor(Qt::SizeVerCursor);
        break;
    case SkinHitPart::BottomRightCorner:
        Window.setCursor(Qt::SizeFDiagCursor);
        break;
    default:
        Window.unsetCursor();
        break;
    }
}

void CSkinWindowGestures::Press(SkinHitPart part, bool clickTaken, QPoint globalPoint) {
    if (part == SkinHitPart::Client) {
        Current = Gesture::Click;
    } else if (part == SkinHitPart::Caption && clickTaken) {
        Current = Gesture::PendingClick;
        StartGlobal = globalPoint;
        StartGeometry = Window.geometry();
    } else {
        Start(part, globalPoint);
    }
}

void CSkinWindowGestures::Start(SkinHitPart part, QPoint globalPoint) {
    StartGlobal = globalPoint;
    StartGeometry = Window.geometry();
    QWindow* handle = Window.windowHandle();
    if (part == SkinHitPart::Caption) {
        // Without a window manager the system move is refused: follow the pointer by hand.
        Current = handle != nullptr && handle->startSystemMove() ? Gesture::SystemMove : Gesture::ManualMove;
        return;
    }
    ResizePart = part;
    Current = handle != nullptr && handle->startSystemResize(EdgesOf(part)) ? Gesture::SystemResize
                                                                            : Gesture::ManualResize;
}

bool CSkinWindowGestures::Follow(QPoint globalPoint) {
    if (Current == Gesture::ManualMove) {
        Window.move(StartGeometry.topLeft() + (globalPoint - StartGlobal));
        return true;
    }
    if (Current == Gesture::ManualResize) {
        const QPoint delta = globalPoint - StartGlobal;
        QSize size = StartGeometry.size();
        if (ResizePart != SkinHitPart::BottomEdge)
            size.setWidth(std::max(SmallestManualSize, size.width() + delta.x()));
        if (ResizePart != SkinHitPart::RightEdge)
            size.setHeight(std::max(SmallestManualSize, size.height() + delta.y()));
        Window.resize(size);
        return true;
    }
    if (Current == Gesture::PendingClick) {
        if ((globalPoint - StartGlobal).manhattanLength() >= QApplication::startDragDistance())
            Start(SkinHitPart::Caption, globalPoint);
        return true;
    }
    return false;
}

bool CSkinWindowGestures::Release() {
    const bool click = !MovingOrResizing();
    Current = Gesture::None;
    return click;
}

bool CSkinWindowGestures::MovingOrResizing() const {
    return Current != Gesture::None && Current != Gesture::Click && Current != Gesture::PendingClick;
}
