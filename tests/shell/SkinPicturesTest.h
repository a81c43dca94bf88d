#pragma once

#include <QObject>

// The painted pictures against the area tables they were drawn from, and the shared resources.
class CSkinPicturesTest : public QObject {
    Q_OBJECT

private slots:
    void picturesOfAWindowShareOneSize();
    void everyAreaLiesOnPaintedBody();
    void hoverAndActiveLooksAreClearlyVisible();
    void shapeCutsAwayExactlyTheTransparentColour();
    void skinFontHeightIsItsIndex();
    void missingResourceFileOrPictureIsReported();
};
