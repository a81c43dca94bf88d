#include "editor/KeyMapEdit.h"

#include "catalogue/KeyCatalogue.h"
#include "text/UiTexts.h"

#include <string>

namespace {

constexpr int FnCode = 156;
constexpr int FirstChoicePage = 4;
constexpr int LastPage = 7;

// The kind of assignment each page gives a key at OK (page 1 in combination mode), by page number.
constexpr int ModeOfPage[LastPage + 1] = {ModeNotSet,     ModeCombo, ModeMacro,    ModeEmulation,
                                          ModeMultimedia, ModeMouse, ModeFunction, ModePower};

int PageOfMode(int mode) {
    if (mode == ModeSingle)
        return 1;
    for (int page = 1; page <= LastPage; ++page) {
        if (ModeOfPage[page] == mode)
            return page;
    }
    return 1;
}

// The model's catalogue that list page 1, 2 or 3 works on.
template <typename Data> auto& CatalogueOfPage(Data& data, int page) {
    return page == 1 ? data.PredefinedCombo : page == 2 ? data.PredefinedMacro : data.PredefinedEmu;
}

} // namespace

void CKeyMapEdit::Open(const CKeyboardData& data) {
    for (int page = 1; page <= 3; ++page) {
        CActionList& names = *NamesOfPage(page);
        names = CatalogueOfPage(data, page);
        if (names.SizeOfView <= 0)
            names.SizeOfView = page == 1 ? ComboView : ListView;
        *RecordOfPage(page) = CActionList{};
        LoadRecord(page);
    }
    const KeySetting& setting = data.CurrentSettings[static_cast<std::size_t>(data.CurrentKey)]
                                                    [static_cast<std::size_t>(data.CurrentLevel)];
    Single = setting.Mode != ModeCombo;
    Key = setting.Mode == ModeSingle ? KeyOfDeviceCode(data, setting.HWCode) : -1;
    Picks.fill(-1);
    EditorPage = PageOfMode(setting.Mode);
    if (setting.Mode == ModeCombo || setting.Mode == ModeMacro || setting.Mode == ModeEmulation) {
        NamesOfPage(EditorPage)->SelectOrAddContent(setting.ComboKey);
        LoadRecord(EditorPage);
    } else if (EditorPage >= FirstChoicePage) {
        Picks[static_cast<std::size_t>(EditorPage - FirstChoicePage)] = setting.HWCode;
    }
}

void CKeyMapEdit::ShowPage(int page) {
    if (page >= 1 && page <= LastPage)
        EditorPage = page;
}

int CKeyMapEdit::Pick(int page) const {
    return page >= FirstChoicePage && page <= LastPage
               ? Picks[static_cast<std::size_t>(page - FirstChoicePage)]
               : -1;
}

void CKeyMapEdit::ClickPick(int page, int deviceCode) {
    if (page >= FirstChoicePage && page <= LastPage) {
        int& pick = Picks[static_cast<std::size_t>(page - FirstChoicePage)];
        pick = pick == deviceCode ? -1 : deviceCode;
    }
}

void CKeyMapEdit::Clear() {
    if (EditorPage >= FirstChoicePage) {
        Picks[static_cast<std::size_t>(EditorPage - FirstChoicePage)] = -1;
        return;
    }
    if (EditorPage == 1)
        Key = -1;
    NamesOfPage(EditorPage)->Clear();
    RecordOfPage(EditorPage)->Clear();
}

void CKeyMapEdit::Ok(CKeyboardData& data) const {
    auto& levels = data.CurrentSettings[static_cast<std::size_t>(data.CurrentKey)];
    KeySetting& setting = levels[static_cast<std::size_t>(data.CurrentLevel)];
    setting.Mode = ModeNotSet;
    if (EditorPage == 1 && Single) {
        const int device = Key >= 0 ? DeviceCodeOfKey(data, Key) : 0;
        if (device > 0) {
            setting.HWCode = device;
            setting.Mode = ModeSingle;
        }
    } else if (EditorPage < FirstChoicePage) {
        const CActionList& record = *RecordOfPage(EditorPage);
        if (record.Count() > 0) {
            setting.ComboKey.Assign(record);
            setting.Mode = ModeOfPage[EditorPage];
        }
    } else if (const int pick = Pick(EditorPage); pick > 0) {
        setting.HWCode = pick;
        setting.Mode = ModeOfPage[EditorPage];
        if (setting.Mode == ModeFunction && pick == FnCode) {
            // The layer key works only when the key carries it on both levels.
            KeySetting& other = levels[static_cast<std::size_t>(1 - data.CurrentLevel)];
            other.HWCode = FnCode;
            other.Mode = ModeFunction;
        }
    }
    // A list page stores its catalogue, also in single-key mode and with nothing picked.
    if (EditorPage < FirstChoicePage)
        CatalogueOfPage(data, EditorPage).Assign(*NamesOfPage(EditorPage));
}

CActionList* CKeyMapEdit::NamesOfPage(int page) {
    return page == 1 ? &ComboNames : page == 2 ? &MacroNames : page == 3 ? &EmuNames : nullptr;
}

const CActionList* CKeyMapEdit::NamesOfPage(int page) const {
    return const_cast<CKeyMapEdit*>(this)->NamesOfPage(page);
}

CActionList* CKeyMapEdit::RecordOfPage(int page) {
    return page == 1 ? &ComboKeys : page == 2 ? &MacroSteps : page == 3 ? &EmuKeys : nullptr;
}

const CActionList* CKeyMapEdit::RecordOfPage(int page) const {
    return const_cast<CKeyMapEdit*>(this)->RecordOfPage(page);
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

std::u16string CKeyMapEdit::NewEntry(int page, UiLanguage language) {
    CActionList* names = NamesOfPage(page);
    if (names == nullptr)
        return {};
    StoreRecord(page);
    names->AppendItem(u"");
    LoadRecord(page);
    const std::u16string format = Utf16Text(page == 1   ? TextId::NewComboName
                                            : page == 2 ? TextId::NewMacroName
                                                        : TextId::NewEmuName,
                                            language);
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

void CKeyMapEdit::RenameEntry(int page, int index, const std::u16string& name) {
    CActionList* names = NamesOfPage(page);
    if (names != nullptr && index >= 0 && index < names->Count())
        names->SetItemText(index - names->ViewStartAt, name);
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
