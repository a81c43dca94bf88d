#pragma once

#include <QObject>

// The progress dialog and its workers on the virtual keyboard: results, failures, cancel, the bar.
class CProgressDialogTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void operationsEndWithOkAndMoveTheSettings();
    void failuresAreToldInsteadOfOk();
    void aLossOnTheDeviceSideIsToldInsteadOfOk();
    void refusedAssignmentIsNamedAndNothingIsSent();
    void cancelledReadLeavesTheModelUntouched();
    void endedByTheProgramTellsNothing();
    void progressValuesReachTheBarWithinItsWidth();
    void keyWritePostsEverySlotAndTheBarIsPainted();
};
