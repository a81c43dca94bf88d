// The skinned scroll bar of the key assignment editor: it keeps its own scroll state, draws itself
// from the scroll-bar strip (picture 138), tells its owner the standard scroll notifications, repeats
// arrow and track presses on its two timers and lets the thumb be dragged. Tab reaches it, and then
// the arrow keys and Page Up and Down scroll it, with the skins' orange focus mark around it.
#pragma once

#include "skin/ScrollBarGeometry.h"

#include <QBasicTimer>
#include <QPoint>
#include <QWidget>

#include <memory>

class QPainter;
class QPixmap;

// The fields of a scroll state that a ScrollInfo carries, by its mask.
enum ScrollInfoField : unsigned {
    ScrollInfoRange = 0x1,
    ScrollInfoPage = 0x2,
    ScrollInfoPosition = 0x4,
    ScrollInfoTrackPosition = 0x10,
    ScrollInfoAll = ScrollInfoRange | ScrollInfoPage | ScrollInfoPosition | ScrollInfoTrackPosition,
};

struct ScrollInfo {
    unsigned mask = ScrollInfoAll;
    int minimum = 0;
    int maximum = 0;
    int page = 0;
    int position = 0;
    int trackPosition = -1;
};

// Starts and stops the bar's repeat timers by id; when one fires, the bar's OnTimer(id) must run.
// The bar has one of its own; tests hand in theirs and fire the timers themselves.
class CScrollBarTimers {
public:
    virtual ~CScrollBarTimers() = default;
    virtual void Start(int id, int milliseconds) = 0;
    virtual void Stop(int id) = 0;
};

class CSkinScrollBar : public QWidget {
    Q_OBJECT

public:
    // The first wait of a held arrow or track, then the repeat.
    static constexpr int DelayTimer = 200;
    static constexpr int DelayMilliseconds = 500;
    static constexpr int RepeatTimer = 100;
    static constexpr int RepeatMilliseconds = 100;

    explicit CSkinScrollBar(Qt::Orientation orientation = Qt::Vertical, QWidget* parent = nullptr);
    ~CSkinScrollBar() override;

    // Borrows the strip (it must outlive the bar) and makes the bar exactly one cell thick, keeping
    // its place and length. A null strip draws nothing.
    void AttachSkin(const QPixmap* strip);
    // Adds delta to the maximum (the number of items changed) and keeps the position in range.
    void AdjustRange(int delta);
    // Copies the range, page and position named by the mask; repaints when asked. Returns 1.
    int SetScrollInfo(const ScrollInfo& info, bool redraw = true);
    // Fills the range, page, position and track position the mask names. Returns 1.
    int GetScrollInfo(ScrollInfo& info) const;
    const ScrollState& State() const { return Scroll; }

    Qt::Orientation Orientation() const { return Direction; }
    int CellSize() const { return Cell; }
    // The bar's length along its direction: its height when vertical, its width when horizontal.
    int BarLength() const { return Direction == Qt::Vertical ? height() : width(); }
    // The part under the pointer and the pressed part, as ScrollBarPart values (-1 for none).
    int HoveredPart() const { return Hovered; }
    int PressedPart() const { return Pressed; }
    bool IsDragging() const { return Dragging; }
    // The first delay of a held press has passed.
    bool IsRepeating() const { return Repeating; }

    // Hands in the timers the bar uses (null: its own). The bar does not own them.
    void SetTimers(CScrollBarTimers* timers);
    // What a fired repeat timer does: timer 200 turns into the repeating timer 100 and acts as it.
    void OnTimer(int id);

signals:
    // A ScrollNotification for the owner; position is the thumb's for ScrollThumbPosition and
    // ScrollThumbTrack, 0 for the others.
    void Scrolled(int notification, int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    // Up and Down (Left and Right when horizontal) scroll a line, Page Up and Down a page.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    class COwnTimers;

    int Along(QPoint point) const { return Direction == Qt::Vertical ? point.y() : point.x(); }
    ScrollBarLayout HitLayout() const;
    // The part's rectangle in the bar.
    QRect PartRect(const ScrollBarLayout& layout, int part) const;
    int PartAt(QPoint point) const;
    void UpdateHover(QPoint point);
    void StopRepeat();

    // Drawing from the strip: a cell stretched over a part, a cell tiled along a part, the thumb.
    QRectF CellSource(int column, int row, double along, double alongLength) const;
    void DrawStretched(QPainter& painter, const QRect& target, int column, int row) const;
    void DrawTiled(QPainter& painter, const ScrollSpan& span, int column, int row, int cellBegin,
                   int cellEnd) const;
    void DrawThumb(QPainter& painter, const ScrollSpan& span, int row) const;
    int ArrowRow(int part) const;
    int ThumbRow() const;

    Qt::Orientation Direction;
    const QPixmap* Strip = nullptr;
    int Cell = 0;
    ScrollState Scroll;

    bool Dragging = false;
    int DragStartCoordinate = 0;
    int DragStartPosition = 0;

    int Pressed = ScrollPartNone;
    bool Repeating = false;
    int Hovered = ScrollPartNone;
    bool Outside = false;
    // The pointer as last seen by a press or a move: a held track press checks it on every repeat.
    QPoint Pointer{-1, -1};

    std::unique_ptr<COwnTimers> OwnTimers;
    CScrollBarTimers* Timers = nullptr;
    QBasicTimer DelayClock;
    QBasicTimer RepeatClock;
};
