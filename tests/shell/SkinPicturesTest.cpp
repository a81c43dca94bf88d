#include "SkinPicturesTest.h"

#include "ShellTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const int MainPictures[] = {MainBackgroundPicture, MainHoverPicture, MainActivePicture};

QImage Dense(int id) {
    QImage image(QStringLiteral(":/skin/%1@2x.png").arg(id));
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

void CSkinPicturesTest::picturesOfAWindowShareOneSize() {
    const QSize size = TestSkins().PlainPicture(MainBackgroundPicture)->size();
    QVERIFY(size.width() > MainInfoPanelRect.right && size.height() > MainInfoPanelRect.bottom);
    for (const int id : MainPictures) {
        QCOMPARE(TestSkins().PlainPicture(id)->size(), size);
        QCOMPARE(Dense(id).size(), size * 2);
    }
}

void CSkinPicturesTest::everyAreaLiesOnPaintedBody() {
    const QRgb transparent = qRgb(0, 0, 255);
    std::vector<SkinRect> rects;
    for (const SkinRegion& area : MainWindowAreas())
        rects.push_back(area.rect);
    rects.push_back(MainInfoPanelRect);
    for (const int id : MainPictures) {
        const QImage plain = *TestSkins().PlainPicture(id);
        const QImage dense = Dense(id);
        for (const SkinRect& rect : rects) {
            for (int y = rect.top; y < rect.bottom; ++y) {
                for (int x = rect.left; x < rect.right; ++x) {
                    if ((plain.pixel(x, y) & 0xffffff) == (transparent & 0xffffff))
                        QFAIL(qPrintable(
                            QStringLiteral("picture %1 is transparent at %2,%3").arg(id).arg(x).arg(y)));
                    for (const QPoint& sub : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
                        if ((dense.pixel(2 * x + sub.x(), 2 * y + sub.y()) & 0xffffff) ==
                            (transparent & 0xffffff))
                            QFAIL(qPrintable(QStringLiteral("picture %1@2x is transparent at %2,%3")
                                                 .arg(id)
                                                 .arg(x)
                                                 .arg(y)));
                    }
                }
            }
        }
    }
}

void CSkinPicturesTest::hoverAndActiveLooksAreClearlyVisible() {
    const QImage background = *TestSkins().PlainPicture(MainBackgroundPicture);
    const QImage hover = *TestSkins().PlainPicture(MainHoverPicture);
    const QImage active = *TestSkins().PlainPicture(MainActivePicture);
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
    // Outside the areas the three pictures agree, so a copied rectangle never shows a seam.
    const QRect title(300, 60, 400, 20);
    QVERIFY(SameBlock(background, hover, title));
    QVERIFY(SameBlock(background, active, title));
}

void CSkinPicturesTest::shapeCutsAwayExactlyTheTransparentColour() {
    const QImage plain = *TestSkins().PlainPicture(MainBackgroundPicture);
    const QRegion shape = SkinShape(plain, MainWindowTransparentColour);
    int transparentPixels = 0;
    QPoint aTransparentPixel(-1, -1);
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if ((plain.pixel(x, y) & 0xffffff) == 0x0000ff) {
                ++transparentPixels;
                aTransparentPixel = QPoint(x, y);
            }
        }
    }
    QVERIFY(transparentPixels > 0); // the chamfered corners are cut away
    QVERIFY(!shape.contains(aTransparentPixel));
    QVERIFY(!shape.contains(QPoint(0, 0)));
    long long inside = 0;
    for (const QRect& rect : shape)
        inside += static_cast<long long>(rect.width()) * rect.height();
    QCOMPARE(inside, static_cast<long long>(plain.width()) * plain.height() - transparentPixels);
    for (const SkinRegion& area : MainWindowAreas())
        QVERIFY(shape.contains(Centre(area.rect)));
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
