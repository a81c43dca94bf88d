#pragma once

#include <QObject>

// The backlight settings dialog: the working copy and what each command does with it and the model,
// the multi-key dialog it runs, the write to the keyboard and the main window's button.
class CBkLightSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void oneKeyTakesTheChosenColourAndShowsIt();
    void sameColourAgainChangesNothing();
    void cancelledColourDialogChangesNothing();
    void setAllColoursEveryRecordIncludingRecordZero();
    void defaultThenOkStoresBlack();
    void cancelCloseAndTitleDropTheChanges_data();
    void cancelCloseAndTitleDropTheChanges();
    void multiKeyWithNoKeySelectedChangesNothing();
    void multiKeyColoursTheSelectedKeys();
    void multiKeyClosedChangesNothing();
    void writeSendsTheColoursToTheKeyboard();
    void failedWriteIsReportedAndKeepsTheColours();
    void mainWindowBacklightButtonOpensTheDialog();
};
