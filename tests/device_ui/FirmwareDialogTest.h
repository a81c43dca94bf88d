#pragma once

#include <QObject>

// The firmware update dialog on the virtual keyboard: its messages, the bar, the version query and
// the guard against a second transfer.
class CFirmwareDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensWithItsAreasAndTextBoxes();
    void textBoxesAreOrangeOnDarkUnderTheStyleSheet();
    void validFileIsWrittenWithProgressAndSuccessText();
    void noFileChosenCannotBeOpened();
    void corruptFileIsRefusedBeforeAnythingIsSent();
    void failedTransferIsTold();
    void messagesFollowTheUiLanguage();
    void refusalsAreToldInOneLanguage();
    void cancelledOpenKeepsTheEarlierPath();
    void versionIsShownOrItsFailureTold();
    void nothingStartsWhileAFirmwareTransferRuns();
    void updateOffersABackupFirst();
};
