#pragma once

#include <QObject>

// The skinned scroll bar driven by the mouse and by its repeat timers, which the tests fire
// themselves, with an owner that scrolls as the key assignment editor does.
class CSkinScrollBarTest : public QObject {
    Q_OBJECT

private slots:
    void stripHasNineByThreeCellsAndNoTransparentColour();
    void attachMakesTheBarOneCellThick();
    void scrollInfoFollowsTheMask();
    void heldArrowRepeatsUntilTheEndOfTheRange();
    void movingOffTheArrowPausesTheRepeat();
    void heldTrackPagesUntilTheThumbReachesThePointer();
    void dragSendsThumbTrackThenThumbPosition();
    void doubleClickSendsNothing();
    void drawsTheStripCellsOfEachState();
    void thumbCapsAndTrackTilesFollowTheCell();
};
