#include "editor/KeyMapEdit.h"

#include "catalogue/KeyCatalogue.h"

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
