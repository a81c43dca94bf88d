#pragma once

#include <QObject>

// Undo and redo of the main window's steps, and the key test.
class CHistoryTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void eachStepUndoesAndRedoesToTheSameBytes_data();
    void eachStepUndoesAndRedoesToTheSameBytes();
    void randomStepsAndUndosKeepTheHistoryTrue();
    void contextMenuNamesTheSteps();
    void keyTestMarksTheKeysTypedAndNothingElse();
};
