// The key assignment editor's pages as one table, free of Qt: what each page is, where its pictures,
// lists, picks, recordings and controls are, and which working lists it edits. The editing state,
// the dialog, the area table and the skin painter all read it; a new page is a new row here (and its
// areas in the area table).
#pragma once

#include "editor/EditorAreas.h"
#include "model/KeyboardData.h"
#include "text/UiTexts.h"

#include <array>
#include <span>
#include <vector>

class CKeyMapEdit;

enum class RecordingTarget { None, SingleKey, Combination, Macro, Emulation };

enum class EditorPageKind {
    List,   // named entries on the left, the selected one's content on the right
    Choice, // one device code picked among the page's areas
};

// What the skin painter draws behind a page's areas.
enum class EditorBackdrop {
    UniCombo,
    MacroList,
    EmulationList,
    MediaIcons,
    MouseRows,
    FunctionIcons,
    PowerKeys
};

// What edit 1001 holds on a page.
enum class EditorRepeatEdit { None, MacroCycles, EmulationInterval };

// A Record button, its caption and the caption that takes the caption's place while recording.
struct EditorRecordPlace {
    RecordingTarget target = RecordingTarget::None;
    int button = 0;
    int recordLabel = 0;
    int stopLabel = 0;
};

struct EditorPageRow {
    int page;
    EditorPageKind kind;
    int mode;                      // the kind of assignment the page gives a key at OK
    int tab;                       // the tab area that shows the page
    int background, hover, active; // its pictures
    EditorBackdrop backdrop;

    // List pages: the working lists, the model's catalogue they come from, their rows and commands.
    CActionList CKeyMapEdit::*names = nullptr;
    CActionList CKeyMapEdit::*record = nullptr;
    CActionList CKeyboardData::*catalogue = nullptr;
    int nameRows = 0;               // id of the first row of the names list
    int recordRows = 0;             // id of the first row of the record list
    int rowCount = 0;               // rows of each list, and the lists' SizeOfView
    bool recordRowsShowText = true; // otherwise the record list shows in edit 1005 over its rows
    int newButton = 0;
    int deleteButton = 0;
    // A new entry's name before its number.
    TextId newName = TextId::NewComboName;
    // The page's single key and its lists take turns: the lists work only in combination mode.
    bool singleKey = false;
    // The record list holds a macro's steps: a selected delay is edited in place, and a right click
    // on a step opens the mouse-action menu.
    bool macroSteps = false;

    // Choice pages: the areas that pick a device code, first and last id, and whether an area that is
    // not the pick tells its name when pointed at.
    int pickFirst = 0;
    int pickLast = -1;
    bool pickTips = false;

    std::array<EditorRecordPlace, 2> recordings{};
    // The scroll bars' places before they take their skin's thickness; empty when hidden.
    SkinRect namesBar{};
    SkinRect recordBar{};
    // Which of the editor's edits the page shows: 1001 with the macro's repeat count or the
    // emulation's interval, 1002 with the macro's fixed interval, 1005 with the combination's keys.
    EditorRepeatEdit repeatEdit = EditorRepeatEdit::None;
    bool intervalEdit = false;
    bool comboKeysBox = false;

    bool IsList() const { return kind == EditorPageKind::List; }
    bool Picks(int id) const { return id >= pickFirst && id <= pickLast; }
    bool IsNameRow(int id) const { return rowCount > 0 && id >= nameRows && id < nameRows + rowCount; }
    bool IsRecordRow(int id) const { return rowCount > 0 && id >= recordRows && id < recordRows + rowCount; }
};

inline constexpr bool IsEditorPage(int page) {
    return page >= 1 && page <= EditorPageCount;
}
// Every page, in page order (pages are numbered from 1).
std::span<const EditorPageRow> EditorPages();
// The row of a page; the first page's for a number that is no page.
const EditorPageRow& EditorPageRowOf(int page);
// The page a tab shows, the page a kind of assignment is picked on (single keys: the first page);
// 0 when there is none.
int EditorPageOfTab(int tabId);
int EditorPageOfMode(int mode);
// Every picture the editor is drawn from: each page's three and the scroll bars' strip.
std::vector<int> EditorPictureIds();
// The page and place of a recording.
const EditorRecordPlace* EditorRecordPlaceOf(RecordingTarget target);
