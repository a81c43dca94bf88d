#include "editor/KeyMapEdit.h"

#include "catalogue/KeyCatalogue.h"
#include "catalogue/UiLanguage.h"

#include <string>

namespace {

constexpr int FnCode = 156;

// A working names list of a catalogue, and the record list of its selected entry.
void LoadList(const CActionList& catalogue, int view, CActionList& names, CActionList& record) {
    names = catalogue;
    if (names.SizeOfView <= 0)
        names.SizeOfView = view;
    record = names.GetSubList(names.CursorPos);
    if (record.SizeOfView <= 0)
        record.SizeOfView = view;
}

void SelectContent(CActionList& names, const CActionList& content, CActionList& record) {
    const int view = record.SizeOfView;
    names.SelectOrAddContent(content);
    record = names.GetSubList(names.CursorPos);
    if (record.SizeOfView <= 0)
        record.SizeOfView = view;
}

} // namespace

void CKeyMapEdit::Open(const CKeyboardData& data) {
    LoadList(data.PredefinedCombo, ComboView, ComboNames, ComboKeys);
    LoadList(data.PredefinedMacro, ListView, MacroNames, MacroSteps);
    LoadList(data.PredefinedEmu, ListView, EmuNames, EmuKeys);
    const KeySetting& setting = data.CurrentSettings[static_cast<std::size_t>(data.CurrentKey)]
                                                    [static_cast<std::size_t>(data.CurrentLevel)];
    Single = true;
    Key = -1;
    PickedMultimedia = PickedMouse = PickedFunction = PickedPower = -1;
    switch (setting.Mode) {
    case ModeSingle:
        Key = KeyOfDeviceCode(data, setting.HWCode);
        EditorPage = 1;
        break;
    case ModeCombo:
        Single = false;
        SelectContent(ComboNames, setting.ComboKey, ComboKeys);
        EditorPage = 1;
        break;
    case ModeMacro:
        SelectContent(MacroNames, setting.ComboKey, MacroSteps);
        EditorPage = 2;
        break;
    case ModeEmulation:
        SelectContent(EmuNames, setting.ComboKey, EmuKeys);
        EditorPage = 3;
        break;
    case ModeMultimedia:
        PickedMultimedia = setting.HWCode;
        EditorPage = 4;
        break;
    case ModeMouse:
        PickedMouse = setting.HWCode;
        EditorPage = 5;
        break;
    case ModeFunction:
        PickedFunction = setting.HWCode;
        EditorPage = 6;
        break;
    case ModePower:
        PickedPower = setting.HWCode;
        EditorPage = 7;
        break;
    default:
        EditorPage = 1;
        break;
    }
}

void CKeyMapEdit::ShowPage(int page) {
    if (page >= 1 && page <= 7)
        EditorPage = page;
}

int* CKeyMapEdit::PickOf(int page) {
    switch (page) {
    case 4:
        return &PickedMultimedia;
    case 5:
        return &PickedMouse;
    case 6:
        return &PickedFunction;
    case 7:
        return &PickedPower;
    default:
        return nullptr;
    }
}

int CKeyMapEdit::Pick(int page) const {
    switch (page) {
    case 4:
        return PickedMultimedia;
    case 5:
        return PickedMouse;
    case 6:
        return PickedFunction;
    case 7:
        return PickedPower;
    default:
        return -1;
    }
}

void CKeyMapEdit::ClickPick(int page, int deviceCode) {
    if (int* pick = PickOf(page))
        *pick = *pick == deviceCode ? -1 : deviceCode;
}

void CKeyMapEdit::Clear() {
    switch (EditorPage) {
    case 1:
        Key = -1;
        ComboNames.Clear();
        ComboKeys.Clear();
        break;
    case 2:
        MacroNames.Clear();
        MacroSteps.Clear();
        break;
    case 3:
        EmuNames.Clear();
        EmuKeys.Clear();
        break;
    default:
        if (int* pick = PickOf(EditorPage))
            *pick = -1;
        break;
    }
}

void CKeyMapEdit::Ok(CKeyboardData& data) const {
    auto& levels = data.CurrentSettings[static_cast<std::size_t>(data.CurrentKey)];
    KeySetting& setting = levels[static_cast<std::size_t>(data.CurrentLevel)];
    setting.Mode = ModeNotSet;
    switch (EditorPage) {
    case 1:
        if (Single) {
            const int device = Key >= 0 ? DeviceCodeOfKey(data, Key) : 0;
            if (device > 0) {
                setting.HWCode = device;
                setting.Mode = ModeSingle;
            }
        } else if (ComboKeys.Count() > 0) {
            setting.ComboKey.Assign(ComboKeys);
            setting.Mode = ModeCombo;
        }
        data.PredefinedCombo.Assign(ComboNames);
        break;
    case 2:
        if (MacroSteps.Count() > 0) {
            setting.ComboKey.Assign(MacroSteps);
            setting.Mode = ModeMacro;
        }
        data.PredefinedMacro.Assign(MacroNames);
        break;
    case 3:
        if (EmuKeys.Count() > 0) {
            setting.ComboKey.Assign(EmuKeys);
            setting.Mode = ModeEmulation;
        }
        data.PredefinedEmu.Assign(EmuNames);
        break;
    default: {
        const int pick = Pick(EditorPage);
        if (pick <= 0)
            break;
        setting.HWCode = pick;
        setting.Mode = EditorPage == 4   ? ModeMultimedia
                       : EditorPage == 5 ? ModeMouse
                       : EditorPage == 6 ? ModeFunction
                                         : ModePower;
        if (setting.Mode == ModeFunction && pick == FnCode) {
            // The layer key works only when the key carries it on both levels.
            KeySetting& other = levels[static_cast<std::size_t>(1 - data.CurrentLevel)];
            other.HWCode = FnCode;
            other.Mode = ModeFunction;
        }
        break;
    }
    }
}

CActionList* CKeyMapEdit::NamesOfPage(int page) {
    return page == 1 ? &ComboNames : page == 2 ? &MacroNames : page == 3 ? &EmuNames : nullptr;
}

CActionList* CKeyMapEdit::RecordOfPage(int page) {
    return page == 1 ? &ComboKeys : page == 2 ? &MacroSteps : page == 3 ? &EmuKeys : nullptr;
}

bool CKeyMapEdit::ListsInUse(int page) const {
    return page == 2 || page == 3 || (page == 1 && !Single);
}

void CKeyMapEdit::StoreRecord(int page) {
    CActionList* names = NamesOfPage(page);
    if (names != nullptr && names->Count() > 0)
        names->SetSubList(names->CursorPos, *RecordOfPage(page));
}

void CKeyMapEdit::LoadRecord(int page) {
    CActionList* record = RecordOfPage(page);
    const int view = record->SizeOfView > 0 ? record->SizeOfView : page == 1 ? ComboView : ListView;
    *record = NamesOfPage(page)->GetSubList(NamesOfPage(page)->CursorPos);
    if (record->SizeOfView <= 0)
        record->SizeOfView = view;
}

bool CKeyMapEdit::ClickNameRow(int page, int row) {
    CActionList* names = NamesOfPage(page);
    if (names == nullptr || row < 0 || names->ViewStartAt + row >= names->Count())
        return false;
    StoreRecord(page);
    if (row == names->CursorPos)
        return true;
    names->CursorPos = row;
    LoadRecord(page);
    return false;
}

bool CKeyMapEdit::ClickRecordRow(int page, int row) {
    CActionList* record = page == 1 ? nullptr : RecordOfPage(page);
    if (record == nullptr || row < 0 || record->ViewStartAt + row >= record->Count())
        return false;
    if (row == record->CursorPos)
        return true;
    record->CursorPos = row;
    return false;
}

std::u16string CKeyMapEdit::NewEntry(int page, const std::string& language) {
    CActionList* names = NamesOfPage(page);
    if (names == nullptr)
        return {};
    StoreRecord(page);
    names->AppendItem(u"");
    LoadRecord(page);
    const std::u16string format = page == 1 ? ByLanguage<std::u16string>(language, u"组合键", u"New Combo ")
                                  : page == 2
                                      ? ByLanguage<std::u16string>(language, u"宏定义", u"New Macro ")
                                      : ByLanguage<std::u16string>(language, u"模拟击键", u"New Emu ");
    for (int n = 1;; ++n) {
        std::u16string name = format;
        for (const char digit : std::to_string(n))
            name += static_cast<char16_t>(digit);
        if (names->IndexOfText(name) < 0)
            return name;
    }
}

void CKeyMapEdit::DeleteEntry(int page) {
    CActionList* names = NamesOfPage(page);
    if (names == nullptr || names->Count() == 0)
        return;
    names->DeleteItem(names->CursorPos);
    LoadRecord(page);
}

void CKeyMapEdit::RenameEntry(int page, int row, const std::u16string& name) {
    if (CActionList* names = NamesOfPage(page))
        names->SetItemText(row, name);
}

void CKeyMapEdit::ScrollNames(int page, int index) {
    CActionList* names = NamesOfPage(page);
    if (names == nullptr || names->Count() == 0)
        return;
    // The record list goes back to the entry it came from before another entry is selected, and is
    // then loaded from that one: an entry never receives another's content.
    StoreRecord(page);
    names->SetCursorIndex(index);
    LoadRecord(page);
}

void CKeyMapEdit::ScrollRecord(int page, int index) {
    CActionList* record = page == 1 ? nullptr : RecordOfPage(page);
    if (record != nullptr && record->Count() > 0)
        record->SetCursorIndex(index);
}
