#include "editor/KeyMapEdit.h"

#include "catalogue/KeyCatalogue.h"
#include "editor/EditorPages.h"
#include "model/KeyboardRules.h"
#include "model/ProfileSnapshot.h"
#include "text/UiTexts.h"

#include <string>

void CKeyMapEdit::Open(const CKeyboardData& data) {
    for (const EditorPageRow& row : EditorPages()) {
        if (!row.IsList())
            continue;
        CActionList& names = this->*row.names;
        names = data.*row.catalogue;
        if (names.SizeOfView <= 0)
            names.SizeOfView = row.rowCount;
        this->*row.record = CActionList{};
        LoadRecord(row.page);
    }
    const KeySetting& setting = data.CurrentSettings[static_cast<std::size_t>(data.CurrentKey)]
                                                    [static_cast<std::size_t>(data.CurrentLevel)];
    Single = setting.Mode != ModeCombo;
    Key = setting.Mode == ModeSingle ? KeyOfDeviceCode(data, setting.HWCode) : -1;
    Picks = NoPicks;
    EditorPage = std::max(EditorPageOfMode(setting.Mode), 1);
    const EditorPageRow& shown = EditorPageRowOf(EditorPage);
    if (shown.IsList() && setting.Mode == shown.mode) {
        NamesOfPage(EditorPage)->SelectOrAddContent(setting.ComboKey);
        LoadRecord(EditorPage);
    } else if (!shown.IsList()) {
        Picks[static_cast<std::size_t>(EditorPage)] = setting.HWCode;
    }
}

bool CKeyMapEdit::SameContent(const CKeyMapEdit& other) const {
    return Single == other.Single && Key == other.Key && Picks == other.Picks &&
           SameListContent(ComboNames, other.ComboNames) && SameListContent(ComboKeys, other.ComboKeys) &&
           SameListContent(MacroNames, other.MacroNames) && SameListContent(MacroSteps, other.MacroSteps) &&
           SameListContent(EmuNames, other.EmuNames) && SameListContent(EmuKeys, other.EmuKeys);
}

void CKeyMapEdit::ShowPage(int page) {
    if (IsEditorPage(page))
        EditorPage = page;
}

int CKeyMapEdit::Pick(int page) const {
    return IsEditorPage(page) && !EditorPageRowOf(page).IsList() ? Picks[static_cast<std::size_t>(page)] : -1;
}

void CKeyMapEdit::ClickPick(int page, int deviceCode) {
    if (IsEditorPage(page) && !EditorPageRowOf(page).IsList()) {
        int& pick = Picks[static_cast<std::size_t>(page)];
        pick = pick == deviceCode ? -1 : deviceCode;
    }
}

void CKeyMapEdit::Clear() {
    const EditorPageRow& shown = EditorPageRowOf(EditorPage);
    if (!shown.IsList()) {
        Picks[static_cast<std::size_t>(EditorPage)] = -1;
        return;
    }
    if (shown.singleKey)
        Key = -1;
    NamesOfPage(EditorPage)->Clear();
    RecordOfPage(EditorPage)->Clear();
}

void CKeyMapEdit::Ok(CKeyboardData& data) const {
    auto& levels = data.CurrentSettings[static_cast<std::size_t>(data.CurrentKey)];
    KeySetting& setting = levels[static_cast<std::size_t>(data.CurrentLevel)];
    setting.Mode = ModeNotSet;
    const EditorPageRow& shown = EditorPageRowOf(EditorPage);
    if (shown.singleKey && Single) {
        const int device = Key >= 0 ? DeviceCodeOfKey(data, Key) : 0;
        if (device > 0) {
            setting.HWCode = device;
            setting.Mode = ModeSingle;
        }
    } else if (shown.IsList()) {
        const CActionList& record = *RecordOfPage(EditorPage);
        if (record.Count() > 0) {
            setting.ComboKey.Assign(record);
            setting.Mode = shown.mode;
        }
    } else if (const int pick = Pick(EditorPage); pick > 0) {
        setting.HWCode = pick;
        setting.Mode = shown.mode;
        if (setting.Mode == ModeFunction && pick == FnCode) {
            // The layer key works only when the key carries it on both levels.
            KeySetting& other = levels[static_cast<std::size_t>(1 - data.CurrentLevel)];
            other.HWCode = FnCode;
            other.Mode = ModeFunction;
        }
    }
    // A list page stores its catalogue, also in single-key mode and with nothing picked.
    if (shown.IsList())
        (data.*shown.catalogue).Assign(*NamesOfPage(EditorPage));
}

CActionList* CKeyMapEdit::NamesOfPage(int page) {
    const EditorPageRow& row = EditorPageRowOf(page);
    return IsEditorPage(page) && row.IsList() ? &(this->*row.names) : nullptr;
}

const CActionList* CKeyMapEdit::NamesOfPage(int page) const {
    return const_cast<CKeyMapEdit*>(this)->NamesOfPage(page);
}

CActionList* CKeyMapEdit::RecordOfPage(int page) {
    const EditorPageRow& row = EditorPageRowOf(page);
    return IsEditorPage(page) && row.IsList() ? &(this->*row.record) : nullptr;
}

const CActionList* CKeyMapEdit::RecordOfPage(int page) const {
    return const_cast<CKeyMapEdit*>(this)->RecordOfPage(page);
}

bool CKeyMapEdit::ListsInUse(int page) const {
    return NamesOfPage(page) != nullptr && !(EditorPageRowOf(page).singleKey && Single);
}

void CKeyMapEdit::StoreRecord(int page) {
    CActionList* names = NamesOfPage(page);
    if (names != nullptr && names->Count() > 0)
        names->SetSubList(names->CursorPos, *RecordOfPage(page));
}

void CKeyMapEdit::LoadRecord(int page) {
    CActionList* record = RecordOfPage(page);
    const int view = record->SizeOfView > 0 ? record->SizeOfView : EditorPageRowOf(page).rowCount;
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
    CActionList* record = EditorPageRowOf(page).recordRowsShowText ? RecordOfPage(page) : nullptr;
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
    const std::u16string format = Utf16Text(EditorPageRowOf(page).newName, language);
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
    CActionList* record = EditorPageRowOf(page).recordRowsShowText ? RecordOfPage(page) : nullptr;
    if (record != nullptr && record->Count() > 0)
        record->SetCursorIndex(index);
}
