#include "model/Profile.h"

#include "xml/XmlDocument.h"

#include <climits>
#include <map>
#include <system_error>

namespace {

// A list item index beyond this is ignored: no keyboard holds a longer list, and a file must not be
// able to make the reader allocate without bound.
constexpr long long MaxListItems = 65536;

// Reads a decimal integer the way a missing or malformed attribute gives 0: optional leading blanks
// and sign, then digits; values beyond the int range saturate.
int Decimal(const std::u16string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\r' || text[i] == u'\n'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min<long long>(value * 10 + (text[i] - u'0'), static_cast<long long>(INT_MAX) + 1);
    value = negative ? -value : std::min<long long>(value, INT_MAX);
    return static_cast<int>(value);
}

int Attribute(const CXmlDocument& document, std::u16string_view name) {
    return Decimal(document.GetAttribute(name));
}

void SaveSection(CXmlDocument& document, std::u16string_view name, const CActionList& list) {
    document.AddElement(name);
    document.EnterElement();
    WriteList(list, document);
    document.LeaveElement();
}

void LoadSection(CXmlDocument& document, std::u16string_view name, CActionList& list) {
    document.FindElement(name);
    document.EnterElement();
    ReadList(list, document);
    document.LeaveElement();
}

bool IsKeyIndex(int index) { return index >= 1 && index < KeyIndexCount; }

// The user-owned part of the model as a profile sets it; records the file does not set stay cleared.
struct CProfileContent {
    CProfileContent() {
        for (int key = 0; key < KeyIndexCount; ++key)
            for (auto& setting : Settings[key])
                setting.HWCode = key;
    }
    CActionList Combo;
    CActionList Macro;
    CActionList Emu;
    std::array<AreaLight, KeyIndexCount> Light{};
    std::array<std::array<KeySetting, LevelCount>, KeyIndexCount> Settings{};
};

} // namespace

bool WriteList(const CActionList& list, CXmlDocument& document) {
    document.AddElement(u"List");
    document.SetAttribute(u"SizeOfView", list.SizeOfView);
    document.SetAttribute(u"ViewStartAt", list.ViewStartAt);
    document.SetAttribute(u"CursorPos", list.CursorPos);
    document.SetAttribute(u"Cycles", list.Cycles);
    document.SetAttribute(u"IsAutoInterval", list.IsAutoInterval ? 1 : 0);
    document.SetAttribute(u"Delay", list.Delay);
    document.SetAttribute(u"PlayMode", list.PlayMode);
    document.EnterElement();
    for (std::size_t i = 0; i < list.List.size(); ++i) {
        document.AddElement(u"x");
        document.SetAttribute(u"ID", static_cast<int>(i));
        document.SetAttribute(u"t1", list.List[i]);
        document.EnterElement();
        WriteList(i < list.SubLists.size() ? list.SubLists[i] : CActionList(), document);
        document.LeaveElement();
    }
    document.LeaveElement();
    return true;
}

bool ReadList(CActionList& list, CXmlDocument& document) {
    list.Clear();
    if (!document.FindElement(u"List"))
        return true;
    list.SizeOfView = Attribute(document, u"SizeOfView");
    list.ViewStartAt = Attribute(document, u"ViewStartAt");
    list.CursorPos = Attribute(document, u"CursorPos");
    list.Cycles = Attribute(document, u"Cycles");
    list.IsAutoInterval = Attribute(document, u"IsAutoInterval") != 0;
    list.Delay = Attribute(document, u"Delay");
    list.PlayMode = Attribute(document, u"PlayMode");
    document.EnterElement();
    while (document.FindElement(u"x")) {
        const long long index = Attribute(document, u"ID");
        const bool placeable = index >= 0 && index < MaxListItems;
        if (placeable && index >= static_cast<long long>(list.List.size())) {
            list.List.resize(static_cast<std::size_t>(index) + 1);
            list.SubLists.resize(static_cast<std::size_t>(index) + 1);
        }
        if (placeable)
            list.List[static_cast<std::size_t>(index)] = document.GetAttribute(u"t1");
        document.EnterElement();
        CActionList child;
        ReadList(child, document);
        if (placeable)
            list.SubLists[static_cast<std::size_t>(index)] = std::move(child);
        document.LeaveElement();
    }
    document.LeaveElement();
    return true;
}

bool SaveProfile(const CKeyboardData& data, const std::filesystem::path& file) {
    CXmlDocument document;
    document.SetText(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    document.AddElement(u"Zelk");
    document.EnterElement();
    SaveSection(document, u"PredefinedCombo", data.PredefinedCombo);
    SaveSection(document, u"PredefinedMacro", data.PredefinedMacro);
    SaveSection(document, u"PredefinedEmu", data.PredefinedEmu);

    document.AddElement(u"BackgroundLightSettings");
    document.EnterElement();
    for (int key = 1; key < KeyIndexCount; ++key) {
        const AreaLight& light = data.BackgroundLightSettings[key];
        document.AddElement(u"AREA");
        document.SetAttribute(u"ID", key);
        document.SetAttribute(u"Red", light.Red);
        document.SetAttribute(u"Green", light.Green);
        document.SetAttribute(u"Blue", light.Blue);
    }
    document.LeaveElement();

    document.AddElement(u"CurrentSettings");
    document.EnterElement();
    for (int key = 1; key < KeyIndexCount; ++key) {
        for (int level = 0; level < LevelCount; ++level) {
            const KeySetting& setting = data.CurrentSettings[key][level];
            document.AddElement(u"KEY");
            document.SetAttribute(u"ID", key);
            document.SetAttribute(u"Level", level);
            document.SetAttribute(u"Mode", setting.Mode);
            document.SetAttribute(u"HWCode", setting.HWCode);
            document.EnterElement();
            SaveSection(document, u"ComboKey", setting.ComboKey);
            document.LeaveElement();
        }
    }
    document.LeaveElement();
    document.LeaveElement();

    std::filesystem::path temporary = file;
    temporary += ".saving";
    if (!document.SaveFile(temporary)) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

bool LoadProfile(CKeyboardData& data, const std::filesystem::path& file) {
    CXmlDocument document;
    if (!document.LoadFile(file))
        return false;
    if (!document.FindElement(u"Zelk"))
        return false;
    document.EnterElement();

    auto content = std::make_unique<CProfileContent>();
    LoadSection(document, u"PredefinedCombo", content->Combo);
    LoadSection(document, u"PredefinedMacro", content->Macro);
    LoadSection(document, u"PredefinedEmu", content->Emu);

    document.FindElement(u"BackgroundLightSettings");
    document.EnterElement();
    while (document.FindElement(u"AREA")) {
        const int key = Attribute(document, u"ID");
        if (IsKeyIndex(key))
            content->Light[key] = {Attribute(document, u"Red"), Attribute(document, u"Green"),
                                   Attribute(document, u"Blue")};
    }
    document.LeaveElement();

    document.FindElement(u"CurrentSettings");
    document.EnterElement();
    while (document.FindElement(u"KEY")) {
        const int key = Attribute(document, u"ID");
        const int level = Attribute(document, u"Level");
        KeySetting ignored;
        const bool placeable = IsKeyIndex(key) && level >= 0 && level < LevelCount;
        KeySetting& setting = placeable ? content->Settings[key][level] : ignored;
        setting.Mode = Attribute(document, u"Mode");
        setting.HWCode = Attribute(document, u"HWCode");
        document.EnterElement();
        LoadSection(document, u"ComboKey", setting.ComboKey);
        document.LeaveElement();
    }
    document.LeaveElement();
    document.LeaveElement();

    data.PredefinedCombo = std::move(content->Combo);
    data.PredefinedMacro = std::move(content->Macro);
    data.PredefinedEmu = std::move(content->Emu);
    data.BackgroundLightSettings = content->Light;
    data.CurrentSettings = std::move(content->Settings);
    return true;
}
