// The editor's own way back, free of Qt: every change of what is edited (a pick, New, Delete, a rename,
// a recording, a delay, the macro's settings) is a step that Undo takes back, as far as where the
// editor opened, and Redo makes again. Showing another page or scrolling changes nothing.
#pragma once

#include "editor/KeyMapEdit.h"

#include <cstddef>
#include <vector>

class CEditHistory {
public:
    // What the editor opened with; no step before it.
    void Reset(const CKeyMapEdit& opened);
    // Keeps what edit holds as a step when it differs from the last state kept; the steps that could
    // be redone are gone then.
    bool Note(const CKeyMapEdit& edit);
    // Puts the state before (after) the step into edit, on the page the step was made on; false when
    // there is none.
    bool Undo(CKeyMapEdit& edit);
    bool Redo(CKeyMapEdit& edit);
    bool CanUndo() const { return Current > 0; }
    bool CanRedo() const { return Current + 1 < States.size(); }

private:
    std::vector<CKeyMapEdit> States;
    std::size_t Current = 0;
};
