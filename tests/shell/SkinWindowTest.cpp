#include "SkinWindowTest.h"

#include "ShellTestSupport.h"
#include "shell/MorvApp.h"
#include "skin/SkinWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

#include <thread>
#include <vector>

namespace {

// Three areas: a button, a label over the button's lower half, and a label on its own.
class CProbeWindow : public CSkinWindow {
public:
    explicit CProbeWindow(const UiLanguage& language, bool labelsTakeClicks = false)
        : CSkinWindow(TestSkins(), language, {MainBackgroundPicture, MainHoverPicture, MainActivePicture},
                      MainWindowTransparentColour, 4),
          LabelsTakeClicks(labelsTakeClicks) {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        OpenSkin();
        SkinRegion& button = Areas()[0];
        button.id = 10;
        button.rect = {100, 100, 200, 140};
        SkinRegion& over = Areas()[1];
        over.id = 11;
        over.rect = {100, 120, 200, 140};
        over.labelOnly = true;
        over.caption = TextId::SaveAnswer;
        SkinRegion& alone = Areas()[2];
        alone.id = 12;
        alone.rect = {300, 100, 400, 140};
        alone.labelOnly = true;
        // Areas()[3] keeps its defaults (id -1) and must never take part.
        Areas()[3].rect = {500, 100, 600, 140};
    }

    std::vector<int> Clicks;
    std::vector<unsigned> Messages;
    int Page = 0; // 0: every area is shown; else areas 100 and above only on page id / 100

    bool AreaShown(const SkinRegion& area) const override {
        return CSkinWindow::AreaShown(area) && (Page == 0 || area.id < 100 || area.id / 100 == Page);
    }

protected:
    bool TakesClick(const SkinRegion& area) const override {
        return LabelsTakeClicks ? area.id > 0 : CSkinWindow::TakesClick(area);
    }
    void OnAreaClicked(const SkinRegion& area) override { Clicks.push_back(area.id); }
    void OnPostedMessage(unsigned message, std::uintptr_t, std::intptr_t) override {
        Messages.push_back(message);
    }

private:
    bool LabelsTakeClicks;
};

} // namespace

void CSkinWindowTest::opensShapedSizedAndCentred() {
    const UiLanguage language = UiLanguage::Chinese;
    CProbeWindow window(language);
    const QSize size = TestSkins().PlainPicture(MainBackgroundPicture)->size();
    QCOMPARE(window.size(), size);
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    const QRect desk = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window.pos(), QPoint(desk.x() + (desk.width() - size.width()) / 2,
                                  desk.y() + (desk.height() - size.height()) / 2));
    QVERIFY(!window.Shape().contains(QPoint(0, 0))); // a cut-away corner
    QVERIFY(window.Shape().contains(QPoint(150, 120)));
    // The corner is see-through in the picture the window shows, not only cut out by the mask.
    const QImage shown = TestSkins().Picture(MainBackgroundPicture)->toImage();
    QCOMPARE(shown.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(shown.pixelColor(150, 120).alpha(), 255);
}

void CSkinWindowTest::transparentColourBecomesAlphaAndNothingElseDoes() {
    struct CCase {
        SkinColour key;
        QRgb in;
        int alpha;
    };
    const CCase cases[] = {
        {{0, 0, 255}, qRgb(0, 0, 255), 0},   {{0, 0, 255}, qRgb(0, 0, 254), 255},
        {{0, 0, 255}, qRgb(1, 0, 255), 255}, {{0, 0, 255}, qRgb(0, 1, 255), 255},
        {{255, 0, 0}, qRgb(255, 0, 0), 0},   {{255, 0, 0}, qRgb(254, 0, 0), 255},
        {{255, 0, 0}, qRgb(0, 0, 255), 255}, {{255, 0, 0}, qRgb(255, 111, 0), 255},
    };
    for (const CCase& one : cases) {
        QImage picture(2, 1, QImage::Format_RGB32);
        picture.setPixel(0, 0, one.in);
        picture.setPixel(1, 0, qRgb(20, 20, 20));
        const QImage keyed = KeyedOut(picture, one.key);
        QCOMPARE(qAlpha(keyed.pixel(0, 0)), one.alpha);
        if (one.alpha == 255)
            QCOMPARE(keyed.pixelColor(0, 0), QColor(one.in));
        QCOMPARE(keyed.pixelColor(1, 0), QColor(20, 20, 20));
        QCOMPARE(SkinShape(keyed, one.key).contains(QPoint(0, 0)), one.alpha == 255);
    }
}

void CSkinWindowTest::hitTestTellsAreasCaptionAndResizeStrips() {
    const UiLanguage language = UiLanguage::Chinese;
    CProbeWindow window(language);
    const int w = window.width();
    const int h = window.height();
    using Part = CSkinWindow::HitPart;
    QCOMPARE(window.HitTest({100, 100}), Part::Client); // left and top are inside
    QCOMPARE(window.HitTest({199, 139}), Part::Client);
    QCOMPARE(window.HitTest({200, 120}), Part::Caption); // right and bottom are outside
    QCOMPARE(window.HitTest({350, 120}), Part::Caption); // a label does not count
    QCOMPARE(window.HitTest({550, 120}), Part::Caption); // nor an area without an id
    QCOMPARE(window.HitTest({w - 6, 300}), Part::Caption);
    QCOMPARE(window.HitTest({w - 5, 300}), Part::RightEdge);
    QCOMPARE(window.HitTest({300, h - 6}), Part::Caption);
    QCOMPARE(window.HitTest({300, h - 5}), Part::BottomEdge);
    QCOMPARE(window.HitTest({w - 1, h - 1}), Part::BottomRightCorner);
    QCOMPARE(window.LastMousePoint(), QPoint(w - 1, h - 1));
}

void CSkinWindowTest::hoverFollowsTheMouseButSkipsLabels() {
    const UiLanguage language = UiLanguage::Chinese;
    CProbeWindow window(language);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage background = *TestSkins().PlainPicture(MainBackgroundPicture);
    const QImage hover = *TestSkins().PlainPicture(MainHoverPicture);

    QTest::mouseMove(&window, QPoint(150, 110));
    QVERIFY(window.Areas()[0].hovered);
    QVERIFY(!window.Areas()[1].hovered);
    QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(SameBlock(shown, hover, QRect(100, 100, 100, 20)));

    QTest::mouseMove(&window, QPoint(350, 110)); // over the lone label
    QVERIFY(!window.Areas()[0].hovered);
    QVERIFY(!window.Areas()[2].hovered);
    shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(SameBlock(shown, background, QRect(100, 100, 100, 20)));

    // Active wins over hover.
    window.Areas()[0].active = true;
    QTest::mouseMove(&window, QPoint(150, 110));
    shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(SameBlock(shown, *TestSkins().PlainPicture(MainActivePicture), QRect(100, 100, 100, 20)));

    // Pictures changed while the window is open: the areas show the new ones.
    window.SetPictures({MainBackgroundPicture, MainActivePicture, MainHoverPicture});
    shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(SameBlock(shown, hover, QRect(100, 100, 100, 20)));
}

void CSkinWindowTest::clickRuleAndItsVariants() {
    const UiLanguage language = UiLanguage::Chinese;
    {
        CProbeWindow window(language);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(150, 130)); // on the label over the button
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(350, 130)); // on the lone label
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(550, 130)); // on the area without id
        QTest::mouseClick(&window, Qt::RightButton, {}, QPoint(150, 110));
        QCOMPARE(window.Clicks, std::vector<int>{10});
    }
    {
        // Windows whose labels take clicks: the first area in table order still wins.
        CProbeWindow window(language, true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(150, 130));
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(350, 130));
        QCOMPARE(window.Clicks, (std::vector<int>{10, 12}));
        // Such a label still moves the window when dragged.
        const QPoint start = window.pos();
        QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(350, 130));
        QTest::mouseMove(&window, QPoint(380, 130));
        QTest::mouseMove(&window, QPoint(390, 140));
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(390, 140));
        QCOMPARE(window.Clicks, (std::vector<int>{10, 12}));
        QVERIFY(window.pos() != start);
    }
}

void CSkinWindowTest::draggingOutsideAreasMovesTheWindow() {
    const UiLanguage language = UiLanguage::Chinese;
    CProbeWindow window(language);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint start = window.pos();
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(600, 300));
    QTest::mouseMove(&window, QPoint(630, 320));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(630, 320));
    QCOMPARE(window.pos(), start + QPoint(30, 20));
    QVERIFY(window.Clicks.empty());

    // A press on an area that ends over another area is a click there, not a drag.
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(150, 110));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(160, 112));
    QCOMPARE(window.pos(), start + QPoint(30, 20));
    QCOMPARE(window.Clicks, std::vector<int>{10});
}

void CSkinWindowTest::draggingTheStripsResizesTheWindow() {
    const UiLanguage language = UiLanguage::Chinese;
    CProbeWindow window(language);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QSize start = window.size();
    const auto drag = [&window](QPoint from, QPoint by) {
        QTest::mousePress(&window, Qt::LeftButton, {}, from);
        QTest::mouseMove(&window, from + by);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, from + by);
    };
    drag(QPoint(start.width() - 2, 300), QPoint(-30, 20)); // the right strip: the width only
    QCOMPARE(window.size(), start - QSize(30, 0));
    drag(QPoint(300, start.height() - 2), QPoint(25, -40)); // the bottom strip: the height only
    QCOMPARE(window.size(), start - QSize(30, 40));
    const QPoint corner(window.width() - 1, window.height() - 1);
    drag(corner, QPoint(1, 1) - corner); // the corner: both, never smaller than a usable window
    QCOMPARE(window.size(), QSize(64, 64));
    QVERIFY(window.Clicks.empty());
}

void CSkinWindowTest::captionsAreDrawnInTheUiLanguage() {
    UiLanguage language = UiLanguage::Chinese;
    CProbeWindow window(language);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage background = *TestSkins().PlainPicture(MainBackgroundPicture);
    const QRect label(100, 120, 100, 20);
    const QImage chinese = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(DifferentShare(chinese, background, label) > 0.02);
    language = UiLanguage::English;
    const QImage english = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(DifferentShare(english, chinese, label) > 0.02);
    // A label without a caption in the language draws nothing.
    QVERIFY(SameBlock(english, background, QRect(300, 100, 100, 40)));
}

void CSkinWindowTest::captionsTooWideAreDrawnSmallerToFit() {
    QFont font;
    font.setPixelSize(13);
    const QString caption = QStringLiteral("Tip: select a delay\nand double click it to edit");
    const int width = QFontMetrics(font).horizontalAdvance(QStringLiteral("and double click it to edit"));
    QCOMPARE(FittedCaptionFont(font, caption, width, 0).pixelSize(), 13);
    // The longest line decides.
    const QFont smaller = FittedCaptionFont(font, caption, width - 12, 0);
    QVERIFY(smaller.pixelSize() < 13);
    QVERIFY(QFontMetrics(smaller).horizontalAdvance(QStringLiteral("and double click it to edit")) <=
            width - 12);
    QVERIFY(FittedCaptionFont(font, caption, width - 12, Qt::TextSingleLine).pixelSize() <
            smaller.pixelSize());
    // Never below the smallest size; wrapped captions wrap instead.
    QCOMPARE(FittedCaptionFont(font, caption, 10, 0).pixelSize(), SmallestCaptionPixels);
    QCOMPARE(FittedCaptionFont(font, caption, 10, Qt::TextWordWrap).pixelSize(), 13);
}

void CSkinWindowTest::textBoxesAreOrangeOnTheDarkBrush() {
    // Drawn under the program's own style sheet, which styles message boxes only.
    const QString before = qApp->styleSheet();
    qApp->setStyleSheet(CMorvApp::StyleSheet());
    {
        const UiLanguage language = UiLanguage::Chinese;
        CProbeWindow window(language);
        QLineEdit* line = window.AddLineBox({20, 20, 140, 40}, 1001);
        line->setText(QStringLiteral("MMMMMMMM"));
        QPlainTextEdit* area = window.AddTextArea({20, 60, 140, 120}, 1005);
        area->setPlainText(QStringLiteral("MMMMMMMM"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (QWidget* box : {static_cast<QWidget*>(line), static_cast<QWidget*>(area)}) {
            const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(QColor(shown.pixel(shown.width() - 2, shown.height() - 2)), QColor(20, 20, 20));
            int orange = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    orange += QColor(shown.pixel(x, y)) == QColor(255, 111, 0) ? 1 : 0;
            QVERIFY2(orange > 10, qPrintable(box->objectName()));
        }
        QCOMPARE(line->objectName(), QStringLiteral("edit1001"));
    }
    qApp->setStyleSheet(before);
}

void CSkinWindowTest::areasOfAnotherPageNeitherHoverClickNorPaint() {
    const UiLanguage language = UiLanguage::Chinese;
    CProbeWindow window(language);
    window.Areas()[0].id = 201; // an area of page 2
    window.Areas()[0].active = true;
    window.Page = 1;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage background =
        TestSkins().Picture(MainBackgroundPicture)->toImage().convertToFormat(QImage::Format_RGB32);
    const QImage active =
        TestSkins().Picture(MainActivePicture)->toImage().convertToFormat(QImage::Format_RGB32);
    const QRect button(100, 100, 100, 20); // the part no label covers

    QCOMPARE(window.HitTest(QPoint(150, 110)), CSkinWindow::HitPart::Caption);
    QVERIFY(!window.Areas()[0].hovered);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(150, 110));
    QVERIFY(window.Clicks.empty());
    QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(SameBlock(shown, background, button));

    window.Page = 2;
    window.update();
    QCOMPARE(window.HitTest(QPoint(150, 110)), CSkinWindow::HitPart::Client);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(150, 110));
    QCOMPARE(window.Clicks, std::vector<int>{201});
    shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(SameBlock(shown, active, button));
}

void CSkinWindowTest::postedMessagesArriveAndPostsToAClosedWindowAreDropped() {
    const UiLanguage language = UiLanguage::Chinese;
    auto* window = new CProbeWindow(language);
    std::shared_ptr<CWindowMessageTarget> target = window->MessageTarget();
    std::thread worker([target] {
        for (unsigned i = 0; i < 50; ++i)
            target->Post(WM_DEVICE_PROGRESS, i, 0);
        target->Post(WM_DEVICE_DONE, 0, 0);
    });
    worker.join();
    QTRY_COMPARE(window->Messages.size(), std::size_t{51});
    QCOMPARE(window->Messages.back(), WM_DEVICE_DONE);

    // Posts queued before the window goes, and posts after it, reach nothing.
    target->Post(WM_DEVICE_PROGRESS, 1, 0);
    delete window;
    target->Post(WM_DEVICE_DONE, 0, 0);
    QCoreApplication::processEvents();
}
