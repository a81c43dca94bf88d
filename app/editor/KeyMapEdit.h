// What the key assignment editor works on, free of Qt: the page shown, the picks of the choice
// pages, the single key and the six working lists of the list pages, loaded from the model when the
// editor opens and written back only by OK.
#pragma once

#include "catalogue/ContentItem.h"
#include "editor/EditorAreas.h"
#include "model/KeyboardData.h"

#include <array>

class CKeyMapEdit {
public:
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

    // The device code picked on a choice page; -1 for none or another page.
    int Pick(int page) const;
    // A click on the page's area of a device code: picks it, or unpicks it when it is the pick.
    void ClickPick(int page, int deviceCode);

    // The list pages: the names list on the left and the record list of its selected entry on the
    // right; null on other pages.
    CActionList* NamesOfPage(int page);
    const CActionList* NamesOfPage(int page) const;
    CActionList* RecordOfPage(int page);
    const CActionList* RecordOfPage(int page) const;
    // Whether the page's list commands work now (a page with a single key only in combination mode).
    bool ListsInUse(int page) const;

    // A click on row k of the names list: selects its entry and loads its record list. True when
    // the row was selected already, which asks for renaming it.
    bool ClickNameRow(int page, int row);
    // A click on row k of a record list that shows its items: selects the item; true when it was.
    bool ClickRecordRow(int page, int row);
    // Appends an entry with an empty name, selects it and loads its empty record list; returns the
    // name proposed for it: the first of the page's names with 1, 2, 3, ... that no entry has yet.
    std::u16string NewEntry(int page, UiLanguage language);
    // Deletes the selected entry and loads the record list of the entry that takes its place.
    void DeleteEntry(int page);
    // Names the entry at index of the names list, as typed; nothing when there is no such entry.
    void RenameEntry(int page, int index, const std::u16string& name);
    // The scroll bars: the selected item of the names list (the record list follows it) or of the
    // record list becomes the one at index.
    void ScrollNames(int page, int index);
    void ScrollRecord(int page, int index);
    // Copies the record list into the selected entry of its names list.
    void StoreRecord(int page);

    // Whether both hold the same picks, single key, mode and lists; the page shown, scrolling and
    // selection do not count.
    bool SameContent(const CKeyMapEdit& other) const;

    CActionList ComboNames, ComboKeys;
    CActionList MacroNames, MacroSteps;
    CActionList EmuNames, EmuKeys;

private:
    void LoadRecord(int page);

    int EditorPage = 1;
    bool Single = true;
    int Key = -1;
    // The pick of each choice page, by page number; -1 for none.
    static constexpr std::array<int, EditorPageCount + 1> NoPicks = [] {
        std::array<int, EditorPageCount + 1> none{};
        none.fill(-1);
        return none;
    }();
    std::array<int, EditorPageCount + 1> Picks = NoPicks;
};
