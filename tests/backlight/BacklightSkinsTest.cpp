#include "BacklightSkinsTest.h"

#include "BacklightTestSupport.h"
#include "skin/SkinResources.h"

#include <QTest>

namespace {

const QImage& Picture(int id) {
    return *TestSkins().PlainPicture(id);
}

bool Overlap(const SkinRect& a, const SkinRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Whether any pixel of the rectangle has the window's transparent colour.
bool HasTransparentPixel(const QImage& picture, const SkinRect& rect, SkinColour transparent) {
    const QRgb key = qRgb(transparent.Red, transparent.Green, transparent.Blue);
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if ((picture.pixel(x, y) & 0xffffff) == (key & 0xffffff))
                return true;
        }
    }
    return false;
}

bool InsideAnyKey(int x, int y) {
    for (int key = 1; key <= KeyCount; ++key) {
        if (BacklightKeyRect(key).Contains(x, y))
            return true;
    }
    return false;
}

} // namespace

void CBacklightSkinsTest::tablesHoldTheirRecordsInOrder() {
    // Buttons, then labels (some sharing a button's id, which decides what a click on them does),
    // then the keys.
    const std::vector<SkinRegion> settings = BkLightSettingsAreas();
    const std::vector<SkinRegion> multi = BkLightMultiSelectAreas();
    QCOMPARE(settings.size(), std::size_t{101});
    QCOMPARE(multi.size(), std::size_t{91});
    const std::vector<int> settingsIds{88, 90, 91, 92, 94, 95, 97, 88, 90, 91, 92, 95, 96, 97, 100};
    for (std::size_t i = 0; i < settingsIds.size(); ++i) {
        QCOMPARE(settings[i].id, settingsIds[i]);
        QCOMPARE(settings[i].labelOnly, i >= 7 && i < 14);
    }
    QCOMPARE(settings[11].Caption(UiLanguage::English), std::string("OK"));
    const std::vector<int> multiIds{88, 97, 88, 97, 100};
    for (std::size_t i = 0; i < multiIds.size(); ++i) {
        QCOMPARE(multi[i].id, multiIds[i]);
        QCOMPARE(multi[i].labelOnly, i >= 2 && i < 4);
    }
    QCOMPARE(settings.back().keyIndex, 87);
    QCOMPARE(multi.back().id, 186);
}

void CBacklightSkinsTest::framesNeverReachAnotherKey() {
    for (int key = 1; key <= KeyCount; ++key) {
        const SkinRect rect = BacklightKeyRect(key);
        const auto parts = KeyFrameParts(rect);
        for (int other = 1; other <= KeyCount; ++other) {
            for (const SkinRect& part : parts) {
                if (Overlap(part, BacklightKeyRect(other)))
                    QFAIL(qPrintable(QStringLiteral("frame of key %1 covers key %2").arg(key).arg(other)));
            }
        }
    }
}

void CBacklightSkinsTest::everyAreaAndFrameLiesOnTheWindow() {
    QCOMPARE(Picture(BkLightSettingsPicture).size(), QSize(BkLightWindowWidth, BkLightSettingsHeight));
    QCOMPARE(Picture(BkLightMultiSelectPicture).size(), QSize(BkLightWindowWidth, BkLightMultiSelectHeight));
    QCOMPARE(Picture(BkLightMultiSelectActivePicture).size(), Picture(BkLightMultiSelectPicture).size());
    const struct {
        int picture;
        SkinColour transparent;
        std::vector<SkinRegion> areas;
    } windows[] = {
        {BkLightSettingsPicture, BkLightSettingsTransparentColour, BkLightSettingsAreas()},
        {BkLightMultiSelectPicture, BkLightMultiSelectTransparentColour, BkLightMultiSelectAreas()},
        {BkLightMultiSelectActivePicture, BkLightMultiSelectTransparentColour, BkLightMultiSelectAreas()},
    };
    for (const auto& window : windows) {
        for (const SkinRegion& area : window.areas) {
            if (area.id <= 0)
                continue;
            if (HasTransparentPixel(Picture(window.picture), area.rect, window.transparent))
                QFAIL(qPrintable(
                    QStringLiteral("picture %1: area %2 is cut away").arg(window.picture).arg(area.id)));
            if (area.keyIndex < 1)
                continue;
            for (const SkinRect& part : KeyFrameParts(area.rect)) {
                if (HasTransparentPixel(Picture(window.picture), part, window.transparent))
                    QFAIL(qPrintable(QStringLiteral("picture %1: frame of key %2 is cut away")
                                         .arg(window.picture)
                                         .arg(area.keyIndex)));
            }
        }
    }
}

void CBacklightSkinsTest::selectedLookIsPaintedExactlyOnTheKeys() {
    // The dialog copies only key rectangles from the active picture, so the two pictures must
    // differ inside every key and nowhere else.
    const QImage& plain = Picture(BkLightMultiSelectPicture);
    const QImage& selected = Picture(BkLightMultiSelectActivePicture);
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) != selected.pixel(x, y) && !InsideAnyKey(x, y))
                QFAIL(qPrintable(
                    QStringLiteral("the pictures differ outside the keys at %1, %2").arg(x).arg(y)));
        }
    }
    for (int key = 1; key <= KeyCount; ++key) {
        const QRect rect = ToQRect(BacklightKeyRect(key));
        int different = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x)
                different += plain.pixel(x, y) != selected.pixel(x, y) ? 1 : 0;
        }
        if (different < rect.width() * rect.height() / 3)
            QFAIL(qPrintable(QStringLiteral("key %1 barely changes when selected").arg(key)));
    }
}
