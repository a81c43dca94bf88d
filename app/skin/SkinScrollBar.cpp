#include "skin/SkinScrollBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimerEvent>

#include <algorithm>

// The bar's own timers: two basic timers whose events reach the bar's timerEvent.
class CSkinScrollBar::COwnTimers : public CScrollBarTimers {
public:
    explicit COwnTimers(CSkinScrollBar& bar) : Bar(bar) {}

    void Start(int id, int milliseconds) override {
        if (QBasicTimer* clock = Clock(id))
            clock->start(milliseconds, &Bar);
    }
    void Stop(int id) override {
        if (QBasicTimer* clock = Clock(id))
            clock->stop();
    }

private:
    QBasicTimer* Clock(int id) {
        if (id == DelayTimer)
            return &Bar.DelayClock;
        if (id == RepeatTimer)
            return &Bar.RepeatClock;
        return nullptr;
    }

    CSkinScrollBar& Bar;
};

namespace {

int NotificationOf(int part) {
    switch (part) {
    case ScrollPartFirstArrow:
        return ScrollLineUp;
    case ScrollPartSecondArrow:
        return ScrollLineDown;
    case ScrollPartTrackBefore:
        return ScrollPageUp;
    default:
        return ScrollPageDown;
    }
}

} // namespace

CSkinScrollBar::CSkinScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), Direction(orientation), OwnTimers(std::make_unique<COwnTimers>(*this)),
      Timers(OwnTimers.get()) {
    // Moves without a button pressed drive the hover looks.
    setMouseTracking(true);
    // Tab reaches it; the arrows and Page Up and Down scroll.
    setFocusPolicy(Qt::TabFocus);
}

void CSkinScrollBar::keyPressEvent(QKeyEvent* event) {
    const bool vertical = Direction == Qt::Vertical;
    int notification = -1;
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            if ((event->key() == Qt::Key_Up) == vertical)
                notification = ScrollLineUp;
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            if ((event->key() == Qt::Key_Down) == vertical)
                notification = ScrollLineDown;
            break;
        case Qt::Key_PageUp:
            notification = ScrollPageUp;
            break;
        case Qt::Key_PageDown:
            notification = ScrollPageDown;
            break;
        default:
            break;
        }
    }
    if (notification < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    emit Scrolled(notification, 0);
}

void CSkinScrollBar::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CSkinScrollBar::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

CSkinScrollBar::~CSkinScrollBar() = default;

void CSkinScrollBar::AttachSkin(const QPixmap* strip) {
    Strip = strip;
    Cell = 0;
    if (strip != nullptr && !strip->isNull())
        Cell = static_cast<int>(strip->deviceIndependentSize().width()) / ScrollBarStripColumns;
    QRect place = geometry();
    if (Direction == Qt::Vertical)
        place.setWidth(Cell);
    else
        place.setHeight(Cell);
    setGeometry(place);
    update();
}

void CSkinScrollBar::AdjustRange(int delta) {
    Scroll = AdjustScrollRange(Scroll, delta);
    update();
}

int CSkinScrollBar::SetScrollInfo(const ScrollInfo& info, bool redraw) {
    if (info.mask & ScrollInfoRange) {
        Scroll.minimum = info.minimum;
        Scroll.maximum = info.maximum;
    }
    if (info.mask & ScrollInfoPage)
        Scroll.page = info.page;
    if (info.mask & ScrollInfoPosition)
        Scroll.position = info.position;
    if (redraw)
        update();
    return 1;
}

int CSkinScrollBar::GetScrollInfo(ScrollInfo& info) const {
    if (info.mask & ScrollInfoRange) {
        info.minimum = Scroll.minimum;
        info.maximum = Scroll.maximum;
    }
    if (info.mask & ScrollInfoPage)
        info.page = Scroll.page;
    if (info.mask & ScrollInfoPosition)
        info.position = Scroll.position;
    if (info.mask & ScrollInfoTrackPosition)
        info.trackPosition = Scroll.trackPosition;
    return 1;
}

void CSkinScrollBar::SetTimers(CScrollBarTimers* timers) {
    StopRepeat();
    Timers = timers != nullptr ? timers : OwnTimers.get();
}

ScrollBarLayout CSkinScrollBar::HitLayout() const {
    return LayOutScrollBar(Scroll, BarLength(), Cell, false);
}

QRect CSkinScrollBar::PartRect(const ScrollBarLayout& layout, int part) const {
    const ScrollSpan span = ScrollPartSpan(layout, part);
    if (Direction == Qt::Vertical)
        return QRect(0, span.begin, Cell, span.Length());
    return QRect(span.begin, 0, span.Length(), Cell);
}

int CSkinScrollBar::PartAt(QPoint point) const {
    return ScrollHitTest(HitLayout(), Along(point));
}

void CSkinScrollBar::UpdateHover(QPoint point) {
    const int part = PartAt(point);
    if (part == Hovered)
        return;
    Hovered = part;
    update();
}

void CSkinScrollBar::StopRepeat() {
    Timers->Stop(DelayTimer);
    Timers->Stop(RepeatTimer);
}

void CSkinScrollBar::OnTimer(int id) {
    if (id == DelayTimer) {
        Timers->Stop(DelayTimer);
        Timers->Start(RepeatTimer, RepeatMilliseconds);
        Repeating = true;
        id = RepeatTimer;
    }
    if (id != RepeatTimer)
        return;
    if (Pressed == ScrollPartNone) {
        StopRepeat();
        return;
    }
    // The pointer is off the pressed part: the repeat waits for it to come back.
    if (Outside)
        return;
    switch (Pressed) {
    case ScrollPartFirstArrow:
        if (Scroll.position <= Scroll.minimum)
            StopRepeat();
        else
            emit Scrolled(ScrollLineUp, 0);
        return;
    case ScrollPartSecondArrow:
        if (Scroll.position >= ScrollLastPosition(Scroll))
            StopRepeat();
        else
            emit Scrolled(ScrollLineDown, 0);
        return;
    default:
        // The thumb has reached the held pointer (or paged past it).
        if (PartAt(Pointer) != Pressed)
            StopRepeat();
        else
            emit Scrolled(NotificationOf(Pressed), 0);
        return;
    }
}

void CSkinScrollBar::timerEvent(QTimerEvent* event) {
    if (event->timerId() == DelayClock.timerId())
        OnTimer(DelayTimer);
    else if (event->timerId() == RepeatClock.timerId())
        OnTimer(RepeatTimer);
    else
        QWidget::timerEvent(event);
}

void CSkinScrollBar::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    Pointer = point;
    if (Dragging) {
        const int offset = Along(point) - DragStartCoordinate;
        const int position = ScrollDragPosition(Scroll, DragStartPosition, offset, HitLayout().freeLength);
        if (position != Scroll.trackPosition) {
            Scroll.trackPosition = position;
            update();
            emit Scrolled(ScrollThumbTrack, position);
        }
        return;
    }
    if (Pressed == ScrollPartNone) {
        UpdateHover(point);
        return;
    }
    const bool outside = !PartRect(HitLayout(), Pressed).contains(point);
    if (outside != Outside) {
        Outside = outside;
        update();
    }
}

void CSkinScrollBar::leaveEvent(QEvent* event) {
    if (!Dragging && Pressed == ScrollPartNone)
        UpdateHover(QPoint(-1, -1));
    QWidget::leaveEvent(event);
}

void CSkinScrollBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || Dragging || Pressed != ScrollPartNone)
        return;
    const QPoint point = event->position().toPoint();
    Pointer = point;
    const int part = PartAt(point);
    if (part == ScrollPartNone)
        return;
    if (part == ScrollPartThumb) {
        Dragging = true;
        DragStartCoordinate = Along(point);
        DragStartPosition = Scroll.position;
        Scroll.trackPosition = Scroll.position;
        update();
        return;
    }
    Pressed = part;
    Repeating = false;
    Outside = false;
    Timers->Start(DelayTimer, DelayMilliseconds);
    update();
    emit Scrolled(NotificationOf(part), 0);
}

void CSkinScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    Pointer = point;
    if (Dragging) {
        Dragging = false;
        emit Scrolled(ScrollThumbPosition, Scroll.trackPosition);
        // The thumb goes where the owner put the position, lit when the pointer is on it.
        Scroll.trackPosition = -1;
        Hovered = rect().contains(point) ? PartAt(point) : ScrollPartNone;
        update();
        return;
    }
    if (Pressed == ScrollPartNone)
        return;
    StopRepeat();
    Pressed = ScrollPartNone;
    Repeating = false;
    Outside = false;
    Hovered = rect().contains(point) ? PartAt(point) : ScrollPartNone;
    update();
}

void CSkinScrollBar::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click does nothing: no notification, no repeat, no drag.
    event->accept();
}

QRectF CSkinScrollBar::CellSource(int column, int row, double along, double alongLength) const {
    const double ratio = Strip->devicePixelRatio();
    QRectF source = Direction == Qt::Vertical ? QRectF(column * Cell, row * Cell + along, Cell, alongLength)
                                              : QRectF(column * Cell + along, row * Cell, alongLength, Cell);
    return QRectF(source.topLeft() * ratio, source.size() * ratio);
}

void CSkinScrollBar::DrawStretched(QPainter& painter, const QRect& target, int column, int row) const {
    if (target.isEmpty())
        return;
    painter.drawPixmap(QRectF(target), *Strip, CellSource(column, row, 0, Cell));
}

void CSkinScrollBar::DrawTiled(QPainter& painter, const ScrollSpan& span, int column, int row, int cellBegin,
                               int cellEnd) const {
    const int tile = cellEnd - cellBegin;
    if (tile <= 0)
        return;
    for (int at = span.begin; at < span.end; at += tile) {
        const int piece = std::min(tile, span.end - at);
        const QRectF target =
            Direction == Qt::Vertical ? QRectF(0, at, Cell, piece) : QRectF(at, 0, piece, Cell);
        painter.drawPixmap(target, *Strip, CellSource(column, row, cellBegin, piece));
    }
}

void CSkinScrollBar::DrawThumb(QPainter& painter, const ScrollSpan& span, int row) const {
    if (span.Length() <= 0)
        return;
    const int column = Direction == Qt::Vertical ? StripVerticalThumb : StripHorizontalThumb;
    const int cap = std::min({ScrollThumbCap, span.Length() / 2, Cell / 2});
    DrawTiled(painter, {span.begin, span.begin + cap}, column, row, 0, cap);
    DrawTiled(painter, {span.end - cap, span.end}, column, row, Cell - cap, Cell);
    DrawTiled(painter, {span.begin + cap, span.end - cap}, column, row, cap, Cell - cap);
}

int CSkinScrollBar::ArrowRow(int part) const {
    if (Pressed == part)
        return Outside ? StripNormal : StripPressed;
    if (Hovered == part && Pressed == ScrollPartNone && !Dragging)
        return StripHover;
    return StripNormal;
}

int CSkinScrollBar::ThumbRow() const {
    if (Dragging)
        return StripPressed;
    if (Hovered == ScrollPartThumb && Pressed == ScrollPartNone)
        return StripHover;
    return StripNormal;
}

void CSkinScrollBar::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    if (Strip == nullptr || Cell <= 0)
        return;
    QPainter painter(this);
    const ScrollBarLayout layout = LayOutScrollBar(Scroll, BarLength(), Cell, true);
    const bool vertical = Direction == Qt::Vertical;
    DrawStretched(painter, PartRect(layout, ScrollPartFirstArrow), vertical ? StripUpArrow : StripLeftArrow,
                  ArrowRow(ScrollPartFirstArrow));
    DrawStretched(painter, PartRect(layout, ScrollPartSecondArrow),
                  vertical ? StripDownArrow : StripRightArrow, ArrowRow(ScrollPartSecondArrow));
    DrawThumb(painter, ScrollPartSpan(layout, ScrollPartThumb), ThumbRow());
    const int track = vertical ? StripVerticalTrack : StripHorizontalTrack;
    for (const int part : {ScrollPartTrackBefore, ScrollPartTrackAfter})
        DrawTiled(painter, ScrollPartSpan(layout, part), track, StripNormal, 0, Cell);
    if (hasFocus()) {
        // The focus mark of the skinned windows.
        painter.setPen(QPen(QColor(255, 111, 0), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}
