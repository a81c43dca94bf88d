#pragma once

#include <QObject>

// The main window on the virtual keyboard: what clicks do, what is drawn, what the info panel says.
class CMainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void withoutKeyboardTheWindowDoesNotOpen();
    void opensOnLevel1InChineseWithAClearedModel();
    void clicksDispatchTheirAreasCommands();
    void deviceCommandsReportOkOnlyAfterOk();
    void aTransferThatLostTheStateFileSaysSoInsteadOfOk();
    void labelsNeverTakeClicks();
    void keysShowTheirAssignmentAndHover();
    void switchesShowTheirState();
    void infoPanelShowsTheHoveredKeysAssignments();
    void saveAndOpenRoundTrip();
    void failedOpenIsReportedAndKeepsTheModel();
    void clearEmptiesBothLayers();
    void hideAndBringBack();
    void keyboardGoneEndsTheProgramAndItsDialogs();
    void escapeDoesNotEndTheProgram();
    void trayMenuAndFileDialogsSayWhatTheyShould();
    void trayMenuListsTheShelfAndAppliesOnlyWhatDiffers();
    void infoPanelIsOrangeOnDarkUnderTheStyleSheet();
    void unsavedChangesAreShownUntilKept();
    void workIsNotLostWithoutAsking_data();
    void workIsNotLostWithoutAsking();
    void keyboardGoneOffersToSaveFirst_data();
    void keyboardGoneOffersToSaveFirst();
    void statusLineNamesTheConnection();
    void shortcutsAndTooltips();
    void hiddenWithoutNotificationAreaStaysUsable();
    void qtTextsFollowTheUiLanguage();
};
