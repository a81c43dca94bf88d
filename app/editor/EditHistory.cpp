#include "editor/EditHistory.h"

void CEditHistory::Reset(const CKeyMapEdit& opened) {
    States.assign(1, opened);
    Current = 0;
}

bool CEditHistory::Note(const CKeyMapEdit& edit) {
    if (States.empty()) {
        Reset(edit);
        return false;
    }
    if (States[Current].SameContent(edit))
        return false;
    States.resize(Current + 1);
    States.push_back(edit);
    ++Current;
    return true;
}

bool CEditHistory::Undo(CKeyMapEdit& edit) {
    if (!CanUndo())
        return false;
    // The page the change was made on shows, so that what was undone is seen.
    const int page = States[Current].Page();
    edit = States[--Current];
    edit.ShowPage(page);
    return true;
}

bool CEditHistory::Redo(CKeyMapEdit& edit) {
    if (!CanRedo())
        return false;
    edit = States[++Current];
    return true;
}
