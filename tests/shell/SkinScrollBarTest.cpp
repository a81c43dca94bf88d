#include "SkinScrollBarTest.h"

#include "ShellTestSupport.h"

#include "skin/SkinScrollBar.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

using Heard = std::vector<std::pair<int, int>>;

// Timers that only record what runs; the test fires them.
class CRecordedTimers : public CScrollBarTimers {
public:
    void Start(int id, int milliseconds) override { Running[id] = milliseconds; }
    void Stop(int id) override { Running.erase(id); }

    std::map<int, int> Running;
};

// A vertical bar of the editor's record list, 126 long, with an owner that moves the position as the
// editor does: by one line, by a page or to the tracked value, kept within the scrollable range.
struct CBarUnderTest {
    explicit CBarUnderTest(ScrollState state, int length = 126) : Bar(Qt::Vertical) {
        Bar.setGeometry(0, 0, 50, length);
        Bar.AttachSkin(TestSkins().Picture(ScrollBarStripPicture));
        Bar.SetTimers(&Timers);
        Bar.SetScrollInfo({ScrollInfoRange | ScrollInfoPage | ScrollInfoPosition, state.minimum,
                           state.maximum, state.page, state.position});
        QObject::connect(&Bar, &CSkinScrollBar::Scrolled, [this](int notification, int position) {
            Notifications.emplace_back(notification, position);
            ScrollInfo info;
            Bar.GetScrollInfo(info);
            const int moves[] = {-1, 1, -info.page, info.page};
            int next = info.position;
            if (notification <= ScrollPageDown)
                next += moves[notification];
            else if (notification == ScrollThumbTrack)
                next = position;
            next = std::clamp(next, info.minimum, std::max(info.minimum, info.maximum - info.page + 1));
            Bar.SetScrollInfo({ScrollInfoPosition, 0, 0, 0, next});
        });
    }

    void Send(QEvent::Type type, QPoint point, Qt::MouseButtons buttons = Qt::LeftButton) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(point), QPointF(Bar.mapToGlobal(point)), button, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&Bar, &event);
    }
    void Press(QPoint point) { Send(QEvent::MouseButtonPress, point); }
    void Drag(QPoint point) { Send(QEvent::MouseMove, point); }
    void Hover(QPoint point) { Send(QEvent::MouseMove, point, Qt::NoButton); }
    void Release(QPoint point) { Send(QEvent::MouseButtonRelease, point, Qt::NoButton); }
    void Fire(int id) {
        QVERIFY(Timers.Running.count(id) == 1);
        Bar.OnTimer(id);
    }
    int Position() const { return Bar.State().position; }

    CRecordedTimers Timers;
    CSkinScrollBar Bar;
    Heard Notifications;
};

const std::map<int, int> DelayRunning{{200, 500}};
const std::map<int, int> RepeatRunning{{100, 100}};

QImage Cell(int column, int row) {
    return TestSkins()
        .Picture(ScrollBarStripPicture)
        ->toImage()
        .convertToFormat(QImage::Format_RGB32)
        .copy(column * 15, row * 15, 15, 15);
}

QImage Shown(CSkinScrollBar& bar, const QRect& block) {
    return bar.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(block);
}

} // namespace

void CSkinScrollBarTest::attachMakesTheBarOneCellThick() {
    QWidget editor;
    CSkinScrollBar vertical(Qt::Vertical, &editor);
    vertical.setGeometry(358, 137, 50, 96);
    vertical.AttachSkin(TestSkins().Picture(ScrollBarStripPicture));
    QCOMPARE(vertical.geometry(), QRect(358, 137, 15, 96));
    QCOMPARE(vertical.BarLength(), 96);

    // A strip painted for a dense screen has the same cells.
    QPixmap dense(270, 90);
    dense.setDevicePixelRatio(2.0);
    CSkinScrollBar horizontal(Qt::Horizontal, &editor);
    horizontal.setGeometry(10, 20, 126, 50);
    horizontal.AttachSkin(&dense);
    QCOMPARE(horizontal.geometry(), QRect(10, 20, 126, 15));
    QCOMPARE(horizontal.CellSize(), 15);

    vertical.resize(15, 126);
    QCOMPARE(vertical.BarLength(), 126);
}

void CSkinScrollBarTest::scrollInfoFollowsTheMask() {
    CBarUnderTest fixture({0, 19, 5, 3});
    CSkinScrollBar& bar = fixture.Bar;
    QCOMPARE(bar.SetScrollInfo({ScrollInfoPage, 7, 8, 9, 10}), 1);
    ScrollInfo info{ScrollInfoRange | ScrollInfoPosition, -5, -5, -5, -5, -5};
    QCOMPARE(bar.GetScrollInfo(info), 1);
    QCOMPARE(info.minimum, 0);
    QCOMPARE(info.maximum, 19);
    QCOMPARE(info.page, -5);
    QCOMPARE(info.position, 3);
    QCOMPARE(info.trackPosition, -5);
    info = ScrollInfo{};
    bar.GetScrollInfo(info);
    QCOMPARE(info.page, 9);
    QCOMPARE(info.trackPosition, -1);

    // Two items removed from a list scrolled to its end.
    bar.SetScrollInfo({ScrollInfoAll, 0, 12, 9, 4});
    bar.AdjustRange(-2);
    QCOMPARE(bar.State().maximum, 10);
    QCOMPARE(bar.State().position, 2);
}

void CSkinScrollBarTest::heldArrowRepeatsUntilTheEndOfTheRange() {
    // Position 0 to 15 on a 126 bar: the second arrow from 111, the first up to 15.
    const struct {
        const char* name;
        QPoint at;
        int position;
        Heard expected;
        int finalPosition;
    } cases[] = {
        {"second arrow", {7, 118}, 12, {{1, 0}, {1, 0}, {1, 0}}, 15},
        {"first arrow", {7, 4}, 2, {{0, 0}, {0, 0}}, 0},
    };
    for (const auto& c : cases) {
        CBarUnderTest fixture({0, 19, 5, c.position});
        fixture.Press(c.at);
        QVERIFY2(fixture.Notifications.size() == 1, c.name);
        QVERIFY2(fixture.Timers.Running == DelayRunning, c.name);
        fixture.Fire(200);
        QVERIFY2(fixture.Notifications.size() == 2, c.name);
        QVERIFY2(fixture.Timers.Running == RepeatRunning, c.name);
        QVERIFY2(fixture.Bar.IsRepeating(), c.name);
        for (int i = 0; i < 20 && !fixture.Timers.Running.empty(); ++i)
            fixture.Fire(100);
        QVERIFY2(fixture.Timers.Running.empty(), c.name);
        QVERIFY2(fixture.Notifications == c.expected, c.name);
        QCOMPARE(fixture.Position(), c.finalPosition);
        fixture.Release(c.at);
        QVERIFY2(fixture.Notifications == c.expected, c.name);
        QCOMPARE(fixture.Bar.PressedPart(), -1);
    }
}

void CSkinScrollBarTest::movingOffTheArrowPausesTheRepeat() {
    CBarUnderTest fixture({0, 19, 5, 0});
    fixture.Press({7, 118});
    fixture.Fire(200);
    QCOMPARE(fixture.Notifications.size(), std::size_t(2));
    fixture.Drag({7, 60});
    fixture.Fire(100);
    fixture.Fire(100);
    QCOMPARE(fixture.Notifications.size(), std::size_t(2));
    QVERIFY(fixture.Timers.Running == RepeatRunning);
    // Beside the bar is off the arrow too.
    fixture.Drag({30, 118});
    fixture.Fire(100);
    QCOMPARE(fixture.Notifications.size(), std::size_t(2));
    fixture.Drag({7, 112});
    fixture.Fire(100);
    QCOMPARE(fixture.Notifications.size(), std::size_t(3));
    QCOMPARE(fixture.Position(), 3);
    fixture.Release({7, 112});
    QVERIFY(fixture.Timers.Running.empty());
}

void CSkinScrollBarTest::heldTrackPagesUntilTheThumbReachesThePointer() {
    // Page 5 of 20 on a 126 bar: the thumb is 24 long and moves 24 per page.
    const struct {
        const char* name;
        QPoint at;
        int position;
        int pressedPart;
        Heard expected;
        int finalPosition;
    } cases[] = {
        {"below the thumb", {7, 100}, 0, 3, {{3, 0}, {3, 0}, {3, 0}}, 15},
        {"above the thumb", {7, 20}, 15, 2, {{2, 0}, {2, 0}, {2, 0}}, 0},
        {"just below the thumb", {7, 40}, 0, 3, {{3, 0}}, 5},
    };
    for (const auto& c : cases) {
        CBarUnderTest fixture({0, 19, 5, c.position});
        fixture.Press(c.at);
        fixture.Fire(200);
        for (int i = 0; i < 20 && !fixture.Timers.Running.empty(); ++i)
            fixture.Fire(100);
        QVERIFY2(fixture.Timers.Running.empty(), c.name);
        QVERIFY2(fixture.Notifications == c.expected, c.name);
        QCOMPARE(fixture.Position(), c.finalPosition);
        QCOMPARE(fixture.Bar.PressedPart(), c.pressedPart);
        fixture.Release(c.at);
        QVERIFY2(fixture.Notifications == c.expected, c.name);
    }
}

void CSkinScrollBarTest::dragSendsThumbTrackThenThumbPosition() {
    // The thumb over [15, 39); range 15 over a free length of 72.
    CBarUnderTest fixture({0, 19, 5, 0});
    fixture.Press({7, 20});
    QVERIFY(fixture.Bar.IsDragging());
    QVERIFY(fixture.Notifications.empty());
    QVERIFY(fixture.Timers.Running.empty());
    fixture.Drag({7, 44}); // 24 pixels: 15 * 24 / 72 = 5
    fixture.Drag({7, 45}); // still 5
    QCOMPARE(fixture.Bar.State().trackPosition, 5);
    fixture.Drag({40, 1000}); // far past the end, beside the bar
    fixture.Drag({7, 10});    // above where the drag started: the minimum
    fixture.Release({7, 10});
    const Heard expected{{5, 5}, {5, 15}, {5, 0}, {4, 0}};
    QVERIFY(fixture.Notifications == expected);
    QCOMPARE(fixture.Bar.State().trackPosition, -1);
    QVERIFY(!fixture.Bar.IsDragging());

    // An owner that takes the tracked value on the thumb position keeps the thumb where it was dropped.
    CBarUnderTest second({0, 19, 5, 0});
    second.Press({7, 20});
    second.Drag({7, 44});
    second.Release({7, 44});
    QCOMPARE(second.Position(), 5);
    QCOMPARE(second.Bar.HoveredPart(), 5);
}

void CSkinScrollBarTest::doubleClickSendsNothing() {
    CBarUnderTest fixture({0, 19, 5, 0});
    fixture.Press({7, 118});
    fixture.Release({7, 118});
    QCOMPARE(fixture.Notifications.size(), std::size_t(1));
    for (const QPoint at : {QPoint(7, 118), QPoint(7, 60), QPoint(7, 20)}) {
        fixture.Send(QEvent::MouseButtonDblClick, at);
        fixture.Release(at);
        QCOMPARE(fixture.Notifications.size(), std::size_t(1));
        QVERIFY(fixture.Timers.Running.empty());
        QVERIFY(!fixture.Bar.IsDragging());
    }
}

void CSkinScrollBarTest::drawsTheStripCellsOfEachState() {
    CBarUnderTest fixture({0, 19, 5, 0});
    CSkinScrollBar& bar = fixture.Bar;
    const QRect firstArrow(0, 0, 15, 15);
    QCOMPARE(Shown(bar, firstArrow), Cell(0, 0));
    QCOMPARE(Shown(bar, QRect(0, 111, 15, 15)), Cell(1, 0));
    QCOMPARE(Shown(bar, QRect(0, 15, 15, 3)), Cell(2, 0).copy(0, 0, 15, 3));
    QCOMPARE(Shown(bar, QRect(0, 39, 15, 15)), Cell(3, 0));

    fixture.Hover({7, 4});
    QCOMPARE(Shown(bar, firstArrow), Cell(0, 1));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&bar, &leave);
    QCOMPARE(Shown(bar, firstArrow), Cell(0, 0));
    fixture.Hover({7, 30});
    QCOMPARE(Shown(bar, QRect(0, 15, 15, 3)), Cell(2, 1).copy(0, 0, 15, 3));

    fixture.Press({7, 4});
    QCOMPARE(Shown(bar, firstArrow), Cell(0, 2));
    fixture.Drag({7, 60});
    QCOMPARE(Shown(bar, firstArrow), Cell(0, 0));
    fixture.Release({7, 60});

    // Nothing to scroll: no thumb, the track runs through.
    bar.SetScrollInfo({ScrollInfoAll, 0, 4, 5, 0});
    QCOMPARE(Shown(bar, QRect(0, 15, 15, 15)), Cell(3, 0));
    QCOMPARE(Shown(bar, QRect(0, 63, 15, 15)), Cell(3, 0));
}

void CSkinScrollBarTest::thumbCapsAndTrackTilesFollowTheCell() {
    // Every pixel of this strip tells where it lies: red its row in the cell, green the cell's
    // column, blue the strip row.
    QImage coded(135, 45, QImage::Format_RGB32);
    for (int y = 0; y < 45; ++y) {
        for (int x = 0; x < 135; ++x)
            coded.setPixel(x, y, qRgb((y % 15) * 16, (x / 15) * 25, (y / 15) * 100));
    }
    const QPixmap strip = QPixmap::fromImage(coded);
    CBarUnderTest fixture({0, 19, 5, 0});
    fixture.Bar.AttachSkin(&strip);

    // Spans along the bar: the cell column, the cell row at the span's start and how often it repeats.
    const struct {
        int from, to, column, firstRow, period;
    } spans[] = {
        {0, 15, 0, 0, 15},    // first arrow
        {15, 18, 2, 0, 3},    // thumb cap
        {18, 36, 2, 3, 9},    // thumb middle, tiled
        {36, 39, 2, 12, 3},   // thumb cap
        {39, 111, 3, 0, 15},  // track, tiled, the last tile cut
        {111, 126, 1, 0, 15}, // second arrow
    };
    const QImage shown = fixture.Bar.grab().toImage();
    for (const auto& span : spans) {
        for (int y = span.from; y < span.to; ++y) {
            const QRgb pixel = shown.pixel(7, y);
            const int row = span.firstRow + (y - span.from) % span.period;
            QVERIFY2(qRed(pixel) == row * 16 && qGreen(pixel) == span.column * 25 && qBlue(pixel) == 0,
                     qPrintable(QStringLiteral("at %1").arg(y)));
        }
    }
    // A dragged thumb is drawn from the pressed row; the arrows stay normal.
    fixture.Press({7, 20});
    const QImage dragged = fixture.Bar.grab().toImage();
    QCOMPARE(qBlue(dragged.pixel(7, 25)), 200);
    QCOMPARE(qBlue(dragged.pixel(7, 5)), 0);
}

void CSkinScrollBarTest::stripHasNineByThreeCellsAndNoTransparentColour() {
    for (const QString& name : {QStringLiteral(":/skin/138.png"), QStringLiteral(":/skin/138@2x.png")}) {
        const QImage strip = QImage(name).convertToFormat(QImage::Format_RGB32);
        const int scale = name.contains(QLatin1Char('@')) ? 2 : 1;
        QCOMPARE(strip.size(), QSize(135, 45) * scale);
        for (int y = 0; y < strip.height(); ++y) {
            for (int x = 0; x < strip.width(); ++x) {
                if ((strip.pixel(x, y) & 0xffffff) == 0xff0000)
                    QFAIL(qPrintable(QStringLiteral("%1 is transparent at %2,%3").arg(name).arg(x).arg(y)));
            }
        }
    }
}
