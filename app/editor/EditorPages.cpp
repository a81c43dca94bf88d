#include "editor/EditorPages.h"

#include "editor/KeyMapEdit.h"
#include "skin/ScrollBarGeometry.h"

namespace {

using enum EditorPageKind;

const std::array<EditorPageRow, EditorPageCount> Pages{{
    {.page = PageUniCombo,
     .kind = List,
     .mode = ModeCombo,
     .tab = 90,
     .background = 107,
     .hover = 108,
     .active = 109,
     .backdrop = EditorBackdrop::UniCombo,
     .names = &CKeyMapEdit::ComboNames,
     .record = &CKeyMapEdit::ComboKeys,
     .catalogue = &CKeyboardData::PredefinedCombo,
     .nameRows = IdComboNameRow,
     .recordRows = IdComboKeyRow,
     .rowCount = ComboViewRows,
     .recordRowsShowText = false,
     .newButton = IdComboNew,
     .deleteButton = IdComboDelete,
     .newName = TextId::NewComboName,
     .singleKey = true,
     .recordings = {{{RecordingTarget::SingleKey, IdRecordSingle, IdRecordSingleLabel, IdStopSingleLabel},
                     {RecordingTarget::Combination, IdRecordCombo, IdRecordComboLabel, IdStopComboLabel}}},
     .namesBar = {358, 137, 358 + 50, 137 + 96},
     .comboKeysBox = true},
    {.page = PageMacro,
     .kind = List,
     .mode = ModeMacro,
     .tab = 91,
     .background = 110,
     .hover = 111,
     .active = 112,
     .backdrop = EditorBackdrop::MacroList,
     .names = &CKeyMapEdit::MacroNames,
     .record = &CKeyMapEdit::MacroSteps,
     .catalogue = &CKeyboardData::PredefinedMacro,
     .nameRows = IdMacroNameRow,
     .recordRows = IdMacroStepRow,
     .rowCount = MacroViewRows,
     .newButton = IdMacroNew,
     .deleteButton = IdMacroRemove,
     .newName = TextId::NewMacroName,
     .macroSteps = true,
     .recordings = {{{RecordingTarget::Macro, IdRecordMacro, IdRecordMacroLabel, IdStopMacroLabel}}},
     .namesBar = {181, 115, 181 + 15, 115 + 126},
     .recordBar = {357, 115, 357 + 15, 115 + 126},
     .repeatEdit = EditorRepeatEdit::MacroCycles,
     .intervalEdit = true},
    {.page = PageEmulate,
     .kind = List,
     .mode = ModeEmulation,
     .tab = 92,
     .background = 113,
     .hover = 114,
     .active = 115,
     .backdrop = EditorBackdrop::EmulationList,
     .names = &CKeyMapEdit::EmuNames,
     .record = &CKeyMapEdit::EmuKeys,
     .catalogue = &CKeyboardData::PredefinedEmu,
     .nameRows = IdEmuNameRow,
     .recordRows = IdEmuKeyRow,
     .rowCount = MacroViewRows,
     .newButton = IdEmuNew,
     .deleteButton = IdEmuRemove,
     .newName = TextId::NewEmuName,
     .recordings = {{{RecordingTarget::Emulation, IdRecordEmu, IdRecordEmuLabel, IdStopEmuLabel}}},
     .namesBar = {181, 115, 181 + 50, 115 + 126},
     .recordBar = {357, 115, 357 + 50, 115 + 126},
     .repeatEdit = EditorRepeatEdit::EmulationInterval},
    {.page = PageMultimedia,
     .kind = Choice,
     .mode = ModeMultimedia,
     .tab = 93,
     .background = 116,
     .hover = 117,
     .active = 118,
     .backdrop = EditorBackdrop::MediaIcons,
     .pickFirst = IdMultimediaFirst,
     .pickLast = IdMultimediaLast,
     .pickTips = true},
    {.page = PageMouse,
     .kind = Choice,
     .mode = ModeMouse,
     .tab = 94,
     .background = 119,
     .hover = 120,
     .active = 121,
     .backdrop = EditorBackdrop::MouseRows,
     .pickFirst = IdMouseFirst,
     .pickLast = IdMouseLast},
    {.page = PageFunction,
     .kind = Choice,
     .mode = ModeFunction,
     .tab = 95,
     .background = 122,
     .hover = 123,
     .active = 124,
     .backdrop = EditorBackdrop::FunctionIcons,
     .pickFirst = IdFunctionFirst,
     .pickLast = IdFunctionLast,
     .pickTips = true},
    {.page = PagePower,
     .kind = Choice,
     .mode = ModePower,
     .tab = 96,
     .background = 125,
     .hover = 126,
     .active = 127,
     .backdrop = EditorBackdrop::PowerKeys,
     .pickFirst = IdPowerFirst,
     .pickLast = IdPowerLast,
     .pickTips = true},
}};

} // namespace

std::span<const EditorPageRow> EditorPages() {
    return Pages;
}

const EditorPageRow& EditorPageRowOf(int page) {
    return IsEditorPage(page) ? Pages[static_cast<std::size_t>(page - 1)] : Pages.front();
}

int EditorPageOfTab(int tabId) {
    for (const EditorPageRow& row : Pages) {
        if (row.tab == tabId)
            return row.page;
    }
    return 0;
}

int EditorPageOfMode(int mode) {
    if (mode == ModeSingle)
        return Pages.front().page;
    for (const EditorPageRow& row : Pages) {
        if (row.mode == mode)
            return row.page;
    }
    return 0;
}

const EditorRecordPlace* EditorRecordPlaceOf(RecordingTarget target) {
    for (const EditorPageRow& row : Pages) {
        for (const EditorRecordPlace& place : row.recordings) {
            if (place.target == target && target != RecordingTarget::None)
                return &place;
        }
    }
    return nullptr;
}

std::vector<int> EditorPictureIds() {
    std::vector<int> ids;
    for (const EditorPageRow& row : Pages)
        ids.insert(ids.end(), {row.background, row.hover, row.active});
    ids.push_back(ScrollBarStripPicture);
    return ids;
}
