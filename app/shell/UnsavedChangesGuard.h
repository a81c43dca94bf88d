// Keeps work from being lost without asking. The model is compared with a snapshot taken when it was
// last opened, saved, read from the keyboard or written to it (and when it was cleared, a fresh
// start); commands that would lose changes ask first whether to save them, and the window's title
// shows "Zelk*" while there are any.
#pragma once

#include "model/ProfileSnapshot.h"
#include "skin/Prompts.h"

class CKeyboardData;
class QWidget;

class CUnsavedChangesGuard {
public:
    // Titles the window with the program's name.
    CUnsavedChangesGuard(QWidget& window, CKeyboardData& data);

    // What the model holds now is kept (opened, saved, read, written or cleared).
    void TakeSnapshot();
    // Whether the model differs from what was last kept.
    bool HasUnsavedChanges() const;
    // Marks the window's title while there are unsaved changes; says whether there are.
    bool MarkTitle();

    // Asks whether to save unsaved changes before they are lost; false when the person cancelled, or
    // chose to save and then did not (cancelled the file dialog, or the save failed).
    bool Settle();
    // Before the program ends with no way back: asks until the changes are saved or discarded.
    void OfferSaveBeforeEnding();
    // Asks for a path and saves the profile there; false when cancelled or failed (failure told).
    bool SaveAsked();

private:
    CSaveQuestion SaveQuestion(bool ending) const;

    QWidget& Window;
    CKeyboardData& Model;
    CProfileSnapshot Snapshot;
};
