#include "SkinPicturesTest.h"

#include "ShellTestSupport.h"

#include "editor/EditorAreas.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QImage Dense(int id) {
    QImage image(QStringLiteral(":/skin/%1@2x.png").arg(id));
    return image.convertToFormat(QImage::Format_RGB32);
}

const QImage& Plain(int id) {
    return *TestSkins().PlainPicture(id);
}

// One window's pictures, its transparent colour, the areas shown with them and every rectangle that
// must lie on the painted body.
struct SkinnedWindow {
    QString name;
    int pictures[3]; // background, hover, active
    QRgb transparent;
    std::vector<SkinRegion> areas;
    std::vector<SkinRect> body;
    bool looksStayInAreas; // the pictures agree everywhere outside the shown areas
};

std::vector<SkinRect> RectsOf(const std::vector<SkinRegion>& areas) {
    std::vector<SkinRect> rects;
    for (const SkinRegion& area : areas) {
        if (area.id > 0)
            rects.push_back(area.rect);
    }
    return rects;
}

// The main window, and the key assignment editor once per page: page p is drawn from pictures
// 107 + 3(p - 1) to 109 + 3(p - 1) and shows the areas of every page and its own.
std::vector<SkinnedWindow> Windows() {
    std::vector<SkinnedWindow> windows;
    std::vector<SkinRect> mainBody = RectsOf(MainWindowAreas());
    mainBody.push_back(MainInfoPanelRect);
    windows.push_back({QStringLiteral("main window"),
                       {MainBackgroundPicture, MainHoverPicture, MainActivePicture},
                       qRgb(0, 0, 255),
                       MainWindowAreas(),
                       mainBody,
                       false});
    // The editor's edits in both languages and its scroll bars at their skin's thickness.
    std::vector<SkinRect> editorBody = RectsOf(EditorAreas());
    for (const SkinRect& place :
         {SkinRect{470, 112, 506, 130}, SkinRect{485, 112, 521, 130}, SkinRect{470, 176, 506, 194},
          SkinRect{480, 176, 516, 194}, SkinRect{380, 138, 521, 231}, SkinRect{358, 137, 373, 233},
          SkinRect{181, 115, 196, 241}, SkinRect{357, 115, 372, 241}})
        editorBody.push_back(place);
    for (int page = 1; page <= 7; ++page) {
        std::vector<SkinRegion> shown;
        for (const SkinRegion& area : EditorAreas()) {
            if (area.id > 0 && (area.id < 100 || area.id / 100 == page))
                shown.push_back(area);
        }
        const int first = 107 + 3 * (page - 1);
        windows.push_back({QStringLiteral("editor page %1").arg(page),
                           {first, first + 1, first + 2},
                           qRgb(255, 0, 0),
                           shown,
                           editorBody,
                           true});
    }
    return windows;
}

bool IsTransparent(QRgb pixel, QRgb transparent) {
    return (pixel & 0xffffff) == (transparent & 0xffffff);
}

} // namespace

void CSkinPicturesTest::picturesOfAWindowShareOneSize() {
    const QSize size = Plain(MainBackgroundPicture).size();
    QVERIFY(size.width() > MainInfoPanelRect.right && size.height() > MainInfoPanelRect.bottom);
    QCOMPARE(Plain(107).size(), QSize(580, 372));
    for (const SkinnedWindow& window : Windows()) {
        const QSize windowSize = Plain(window.pictures[0]).size();
        for (const int id : window.pictures) {
            QVERIFY2(Plain(id).size() == windowSize, qPrintable(window.name));
            QVERIFY2(Dense(id).size() == windowSize * 2, qPrintable(window.name));
        }
    }
    // Every page of the editor has the editor's one size.
    for (int id = 107; id <= 127; ++id)
        QCOMPARE(Plain(id).size(), QSize(580, 372));
}

void CSkinPicturesTest::everyAreaLiesOnPaintedBody() {
    for (const SkinnedWindow& window : Windows()) {
        for (const int id : window.pictures) {
            const QImage& plain = Plain(id);
            const QImage dense = Dense(id);
            for (const SkinRect& rect : window.body) {
                for (int y = rect.top; y < rect.bottom; ++y) {
                    for (int x = rect.left; x < rect.right; ++x) {
                        bool cut = IsTransparent(plain.pixel(x, y), window.transparent);
                        for (const QPoint& sub : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
                            cut = cut || IsTransparent(dense.pixel(2 * x + sub.x(), 2 * y + sub.y()),
                                                       window.transparent);
                        if (cut)
                            QFAIL(qPrintable(
                                QStringLiteral("picture %1 is transparent at %2,%3").arg(id).arg(x).arg(y)));
                    }
                }
            }
        }
    }
}

void CSkinPicturesTest::hoverAndActiveLooksAreClearlyVisible() {
    const QImage& background = Plain(MainBackgroundPicture);
    const QImage& hover = Plain(MainHoverPicture);
    const QImage& active = Plain(MainActivePicture);
    for (const SkinRegion& area : MainWindowAreas()) {
        const QRect rect = ToQRect(area.rect);
        const QByteArray where = QByteArray::number(area.id);
        if (area.labelOnly) {
            // The two layer labels, on the bare panel, are never hovered but light up.
            if (area.id == IdLevel1Label || area.id == IdLevel2Label) {
                QVERIFY2(SameBlock(background, hover, rect), where);
                QVERIFY2(DifferentShare(background, active, rect) > 0.2, where);
            }
            continue;
        }
        QVERIFY2(DifferentShare(background, hover, rect) > 0.25, where);
        QVERIFY2(DifferentShare(background, active, rect) > 0.25, where);
        // Keys and the two switches can be hovered while active: the two looks must differ.
        if (area.keyIndex > 0 || area.id == IdLanguage || area.id == IdLayer)
            QVERIFY2(DifferentShare(hover, active, rect) > 0.25, where);
    }

    for (int page = 1; page <= 7; ++page) {
        const int first = 107 + 3 * (page - 1);
        const QImage& pageBackground = Plain(first);
        const QImage& pageHover = Plain(first + 1);
        const QImage& pageActive = Plain(first + 2);
        for (const SkinRegion& area : EditorAreas()) {
            if (area.id <= 0 || area.labelOnly || (area.id >= 100 && area.id / 100 != page))
                continue;
            const QRect rect = ToQRect(area.rect);
            const QByteArray where = QByteArray::number(page) + "/" + QByteArray::number(area.id);
            if (area.id == 103 || area.id == 301) {
                // The frames of the prompt and of the interval do nothing, so they never light up.
                QVERIFY2(SameBlock(pageBackground, pageHover, rect), where);
                QVERIFY2(SameBlock(pageBackground, pageActive, rect), where);
                continue;
            }
            // A selected list row is lit; the other pictures light up every picture area.
            if (!area.listRow)
                QVERIFY2(DifferentShare(pageBackground, pageHover, rect) > 0.25, where);
            QVERIFY2(DifferentShare(pageBackground, pageActive, rect) > 0.25, where);
        }
        // The page's own tab is drawn selected: it differs from that tab on the next page.
        const QRect tab(18 + 78 * (page - 1), 48, 77, 32);
        QVERIFY(DifferentShare(pageBackground, Plain(107 + 3 * (page % 7)), tab) > 0.25);
    }

    // Outside the areas the three pictures agree, so a copied rectangle never shows a seam.
    const QRect title(300, 60, 400, 20);
    QVERIFY(SameBlock(background, hover, title));
    QVERIFY(SameBlock(background, active, title));
    // In the editor no look spills past its area at all.
    for (const SkinnedWindow& window : Windows()) {
        if (!window.looksStayInAreas)
            continue;
        const QImage& plain = Plain(window.pictures[0]);
        std::vector<char> inside(static_cast<std::size_t>(plain.width() * plain.height()), 0);
        for (const SkinRegion& area : window.areas) {
            if (area.labelOnly)
                continue;
            for (int y = std::max(0, area.rect.top); y < std::min(plain.height(), area.rect.bottom); ++y) {
                for (int x = std::max(0, area.rect.left); x < std::min(plain.width(), area.rect.right); ++x)
                    inside[static_cast<std::size_t>(y * plain.width() + x)] = 1;
            }
        }
        for (const int id : {window.pictures[1], window.pictures[2]}) {
            const QImage& other = Plain(id);
            for (int y = 0; y < plain.height(); ++y) {
                for (int x = 0; x < plain.width(); ++x) {
                    if (!inside[static_cast<std::size_t>(y * plain.width() + x)] &&
                        plain.pixel(x, y) != other.pixel(x, y))
                        QFAIL(qPrintable(QStringLiteral("%1: picture %2 differs outside the areas at %3,%4")
                                             .arg(window.name)
                                             .arg(id)
                                             .arg(x)
                                             .arg(y)));
                }
            }
        }
    }
}

void CSkinPicturesTest::shapeCutsAwayExactlyTheTransparentColour() {
    for (const SkinnedWindow& window : Windows()) {
        const QImage& plain = Plain(window.pictures[0]);
        const SkinColour key{static_cast<std::uint8_t>(qRed(window.transparent)),
                             static_cast<std::uint8_t>(qGreen(window.transparent)),
                             static_cast<std::uint8_t>(qBlue(window.transparent))};
        const QRegion shape = SkinShape(plain, key);
        int transparentPixels = 0;
        QPoint aTransparentPixel(-1, -1);
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                if (IsTransparent(plain.pixel(x, y), window.transparent)) {
                    ++transparentPixels;
                    aTransparentPixel = QPoint(x, y);
                }
            }
        }
        QVERIFY2(transparentPixels > 0, qPrintable(window.name)); // the chamfered corners are cut away
        QVERIFY(!shape.contains(aTransparentPixel));
        QVERIFY(!shape.contains(QPoint(0, 0)));
        long long inside = 0;
        for (const QRect& rect : shape)
            inside += static_cast<long long>(rect.width()) * rect.height();
        QCOMPARE(inside, static_cast<long long>(plain.width()) * plain.height() - transparentPixels);
        for (const SkinRect& rect : window.body)
            QVERIFY2(shape.contains(Centre(rect)), qPrintable(window.name));
    }
}

void CSkinPicturesTest::skinFontHeightIsItsIndex() {
    const CSkinResources& skins = TestSkins();
    QCOMPARE(skins.SkinFont(0).pixelSize(), QFont().pixelSize());
    for (int i = 1; i < SkinFontCount; ++i)
        QCOMPARE(skins.SkinFont(i).pixelSize(), i);
    QCOMPARE(skins.SkinFont(-1).pixelSize(), DefaultSkinFont);
    QCOMPARE(skins.SkinFont(SkinFontCount).pixelSize(), DefaultSkinFont);
    QCOMPARE(skins.DarkBrush().color(), QColor(20, 20, 20));
    QVERIFY(!skins.ProgramIcon().isNull());
}

void CSkinPicturesTest::missingResourceFileOrPictureIsReported() {
    QTemporaryDir folder;
    CSkinResources skins;
    QString problem;
    const QString missing = folder.filePath(QStringLiteral("ZelkRES.rcc"));
    QVERIFY(!skins.Load(missing, {MainBackgroundPicture}, problem));
    QVERIFY(problem.contains(QStringLiteral("ZelkRES.rcc")));
    QVERIFY(skins.Picture(MainBackgroundPicture) == nullptr);

    // A file that is there but lacks a picture the program needs.
    problem.clear();
    QVERIFY(!skins.Load(CSkinResources::DefaultResourceFile(), {MainBackgroundPicture, 999}, problem));
    QVERIFY(problem.contains(QStringLiteral("999")));
    QVERIFY(skins.Picture(MainBackgroundPicture) == nullptr);
    // The shared skins are still registered and readable.
    QVERIFY(!QImage(QStringLiteral(":/skin/101.png")).isNull());
}
