#pragma once

#include <QObject>

// The shared mechanics of skinned windows, on a small window built on the main window's pictures.
class CSkinWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensShapedSizedAndCentred();
    void transparentColourBecomesAlphaAndNothingElseDoes();
    void hitTestTellsAreasCaptionAndResizeStrips();
    void hoverFollowsTheMouseButSkipsLabels();
    void clickRuleAndItsVariants();
    void draggingOutsideAreasMovesTheWindow();
    void draggingTheStripsResizesTheWindow();
    void captionsAreDrawnInTheUiLanguage();
    void captionsTooWideAreDrawnSmallerToFit();
    void textBoxesAreOrangeOnTheDarkBrush();
    void areasOfAnotherPageNeitherHoverClickNorPaint();
    void postedMessagesArriveAndPostsToAClosedWindowAreDropped();
};
