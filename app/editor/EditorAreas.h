// The key assignment editor's area table: the areas every page shares (tabs, Clear, OK, Cancel, the
// close box, the title), and those of its seven pages, in the order that decides clicks (first
// match) and painting (pictures first, then list rows, then labels). An area whose id is 100 or more
// belongs to page id / 100. The editor fills its records from here and the skin painter draws
// pictures 107 to 127 from the same table; the places of the editor's controls, which move with the
// page and the UI language, are here too.
#pragma once

#include "skin/SkinRegion.h"

#include <string>
#include <vector>

inline constexpr int EditorAreaCount = 202;
inline constexpr int EditorPageCount = 7;
inline constexpr SkinColour EditorTransparentColour{255, 0, 0};
inline constexpr SkinColour EditorLitColour{0, 255, 0};

// Size of every page picture, and so of the editor.
inline constexpr int EditorWidth = 580;
inline constexpr int EditorHeight = 372;

enum EditorPage : int {
    PageUniCombo = 1,
    PageMacro = 2,
    PageEmulate = 3,
    PageMultimedia = 4,
    PageMouse = 5,
    PageFunction = 6,
    PagePower = 7,
};

// The page an area belongs to; 0 for the areas of every page.
inline constexpr int PageOfArea(int id) {
    return id >= 100 ? id / 100 : 0;
}

// Ids of the editor's areas.
enum EditorId : int {
    IdTabLabelFirst = 30, // 30..36, one label per tab
    IdTitleLabel = 36,
    IdClearCaption = 37,
    // Shown while a recording takes only the keys typed into the editor (a desktop that cannot be
    // captured, as in a Wayland session).
    IdOwnKeysNote = 40,
    IdOkCaption = 38,
    IdCancelCaption = 39,
    IdEditorClear = 87,
    IdEditorOk = 88,
    IdEditorCancel = 89,
    IdTabFirst = 90, // 90..96 show pages 1..7
    IdTabLast = 96,
    IdEditorClose = 97,

    // Page 1: single key and combination.
    IdSingleMode = 101,
    IdComboMode = 102,
    IdPromptFrame = 103,
    IdRecordSingle = 104,
    IdComboNew = 105,
    IdComboDelete = 106,
    IdRecordCombo = 107,
    IdComboNameRow = 121, // 121..126
    IdComboKeyRow = 141,  // 141..146
    IdSingleModeLabel = 151,
    IdComboModeLabel = 152,
    IdSingleKeyBox = 158,
    IdRecordSingleLabel = 154,
    IdStopSingleLabel = 155,
    IdRecordComboLabel = 159,
    IdStopComboLabel = 160,

    // Page 2: macro.
    IdPlayTimes = 201,
    IdFixedInterval = 203,
    IdMacroNew = 205,
    IdMacroRemove = 206,
    IdRecordMacro = 207,
    IdPlayWhileHeld = 208,
    IdPlayToggle = 209,
    IdRecordedDelays = 210,
    IdMacroNameRow = 221, // 221..229
    IdMacroStepRow = 241, // 241..249
    IdRecordMacroLabel = 267,
    IdStopMacroLabel = 268,

    // Page 3: emulation.
    IdIntervalFrame = 301,
    IdRecordEmu = 302,
    IdEmuNew = 305,
    IdEmuRemove = 306,
    IdEmuNameRow = 321, // 321..329
    IdEmuKeyRow = 341,  // 341..349
    IdRecordEmuLabel = 352,
    IdStopEmuLabel = 353,

    // Pages 4 to 7: the picks.
    IdMultimediaFirst = 401,
    IdMultimediaLast = 418,
    IdMouseFirst = 502,
    IdMouseLast = 511,
    IdFunctionFirst = 601,
    IdFunctionLast = 628,
    IdPowerFirst = 701,
    IdPowerLast = 703,
};

// The 202 records, filled.
std::vector<SkinRegion> EditorAreas();

// Where the editor's controls sit: edits 1001, 1002, 1003, 1005 and scroll bars 1006, 1007.
enum EditorControl : int {
    IdRepeatEdit = 1001,
    IdIntervalEdit = 1002,
    IdNameEditor = 1003,
    IdComboKeysBox = 1005,
    IdNamesBar = 1006,
    IdRecordBar = 1007,
};
// The place of an edit; edits 1001 and 1002 move with the UI language.
SkinRect EditorEditRect(int control, UiLanguage language);
