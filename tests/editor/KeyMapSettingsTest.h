#pragma once

#include <QObject>

// The key assignment editor as the user meets it: opened on a key, clicked at its areas' places,
// closed by OK or Cancel, and what the model holds afterwards.
class CKeyMapSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensOnThePageOfTheKeysKindWithItsContentPicked();
    void choicePagePicksOneAndTheActiveOneAgainPicksNothing();
    void fnOnTheFunctionPageSetsBothLevels();
    void onlyThePageShownAtOkCounts();
    void cancelAfterClearChangesNothing();
    void singleKeyWithoutKeyCodeShowsNoKeyAndOkLeavesItNotSet();
    void comboKeyMatchingNoEntryOpensAsDefault();
    void englishCaptionsAndTooltips();
    void areasOfOtherPagesTakeNoClick();
    void newEntriesTakeTheFirstFreeNameAndRenamingKeepsWhatIsTyped();
    void selectingDeletingAndRowsPastTheEnd();
    void scrollingTheNamesNeverMovesContentToAnotherEntry();
    void recordingRunsUntilTheNextClickWhichGoesOnOnlyForKeysAndCombinations();
    void macroSettingsAndTheStepMenu();
    void undoAndRedoTakeTheEditorsOwnChangesBackToWhereItOpened();
    void listSequencesKeepEveryItemInPlace();
    void numberEditsShowEveryAllowedValueWhole();
    void everyControlAScreenReaderFindsHasAName();
    void everyWindowIsNamedByItsTitle();
};
