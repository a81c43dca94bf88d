// What the key assignment editor works on, free of Qt: the page shown, the picks of the choice
// pages, the single key and the six working lists of the list pages, loaded from the model when the
// editor opens and written back only by OK.
#pragma once

#include "model/KeyboardData.h"

class CKeyMapEdit {
public:
    // Working lists and their views: names lists on the left, record lists on the right.
    static constexpr int ComboView = 6;
    static constexpr int ListView = 9;

    // Loads the catalogues and prepares by the kind of CurrentKey on CurrentLevel: the page that
    // kind is picked on, with its current content selected or picked.
    void Open(const CKeyboardData& data);
    // Writes the edited key (and for FN the same key on the other level) and the page's catalogue.
    void Ok(CKeyboardData& data) const;
    // Empties the shown page: its single key, its working catalogue or its pick.
    void Clear();

    int Page() const { return EditorPage; }
    void ShowPage(int page);

    // Page 1: single key (true) or combination (false); either switch swaps it.
    bool SingleMode() const { return Single; }
    void SwapMode() { Single = !Single; }
    int SingleKey() const { return Key; }
    void SetSingleKey(int keyCode) { Key = keyCode; }

    // The device code picked on a choice page (4 to 7); -1 for none or another page.
    int Pick(int page) const;
    // A click on the page's area of a device code: picks it, or unpicks it when it is the pick.
    void ClickPick(int page, int deviceCode);

    CActionList ComboNames, ComboKeys;
    CActionList MacroNames, MacroSteps;
    CActionList EmuNames, EmuKeys;

private:
    int* PickOf(int page);

    int EditorPage = 1;
    bool Single = true;
    int Key = -1;
    int PickedMultimedia = -1;
    int PickedMouse = -1;
    int PickedFunction = -1;
    int PickedPower = -1;
};
