#include "model/Profile.h"

#include "catalogue/ContentItem.h"
#include "xml/XmlCodec.h"
#include "xml/XmlDocument.h"
#include "xml/XmlElementIndex.h"
#include "xml/XmlParser.h"
#include "xml/XmlResult.h"
#include "zelk/FileReplace.h"

#include <array>
#include <map>
#include <new>
#include <system_error>

namespace {

// A list item index beyond this is ignored: no keyboard holds a longer list, and a file must not be
// able to make the reader allocate without bound.
constexpr long long MaxListItems = 65536;

// Calls store(i, value) for the first attribute named names[i] of the current element, in one pass over
// its start tag; the value is valid during the call.
template <std::size_t Count, typename Store>
void ReadNamed(const CXmlDocument& document, const std::array<std::u16string_view, Count>& names,
               Store store) {
    std::array<bool, Count> seen{};
    document.ForEachAttribute([&](std::u16string_view name, std::u16string_view value) {
        for (std::size_t i = 0; i < Count; ++i) {
            if (!seen[i] && SameText(names[i], name)) {
                seen[i] = true;
                store(i, value);
                return;
            }
        }
    });
}

// The named attributes of the current element; a missing one is empty.
template <std::size_t Count>
std::array<std::u16string, Count> Attributes(const CXmlDocument& document,
                                             const std::array<std::u16string_view, Count>& names) {
    std::array<std::u16string, Count> values;
    ReadNamed(document, names, [&](std::size_t i, std::u16string_view value) { values[i] = value; });
    return values;
}

// The named attributes as decimal numbers, read without a copy of their texts; a missing or
// malformed one reads as 0.
template <std::size_t Count>
std::array<int, Count> Numbers(const CXmlDocument& document,
                               const std::array<std::u16string_view, Count>& names) {
    std::array<int, Count> numbers{};
    ReadNamed(document, names,
              [&](std::size_t i, std::u16string_view value) { numbers[i] = LeadingNumber(value); });
    return numbers;
}

std::u16string DecimalText(int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// Adds an element whose attributes are numbers, written in decimal.
template <std::size_t Count>
void AddNumbered(CXmlDocument& document, std::u16string_view name,
                 const std::array<std::u16string_view, Count>& names, const std::array<int, Count>& values) {
    std::array<std::u16string, Count> texts;
    std::array<CXmlAttributeText, Count> attributes;
    for (std::size_t i = 0; i < Count; ++i) {
        texts[i] = DecimalText(values[i]);
        attributes[i] = {names[i], texts[i]};
    }
    document.AddElement(name, attributes);
}

constexpr std::array<std::u16string_view, 7> ListAttributes = {
    u"SizeOfView", u"ViewStartAt", u"CursorPos", u"Cycles", u"IsAutoInterval", u"Delay", u"PlayMode"};

// Lists nest three deep in every file the program writes (catalogue, entry, content); a file whose
// lists go deeper than this is damaged.

// What reading the lists of one document may still spend, and the damage that stopped it. Every item
// a file names takes at least 8 characters of its text, so a file can make the reader hold only as
// many items, empty ones between sparse IDs included, as its text could carry.
struct CListReading {
    explicit CListReading(const CXmlDocument& document)
        : ItemsLeft(static_cast<long long>(document.GetText().size() / 8) + 64) {}
    long long ItemsLeft;
    int Depth = 0;
    CProblem Damage;
};

bool ReadListWithin(CActionList& list, CXmlDocument& document, CListReading& reading) {
    list.Clear();
    if (!document.FindElement(u"List"))
        return true;
    if (reading.Depth >= MaxListDepth) {
        reading.Damage = CProblem(ProblemCode::ProfileNestedTooDeep, 0, MaxListDepth);
        return false;
    }
    const std::array<int, 7> numbers = Numbers(document, ListAttributes);
    list.SizeOfView = numbers[0];
    list.ViewStartAt = numbers[1];
    list.CursorPos = numbers[2];
    list.Cycles = numbers[3];
    list.IsAutoInterval = numbers[4] != 0;
    list.Delay = numbers[5];
    list.PlayMode = numbers[6];
    ++reading.Depth;
    document.EnterElement();
    while (document.FindElement(u"x")) {
        std::array<std::u16string, 2> item = Attributes<2>(document, {u"ID", u"t1"});
        const long long index = LeadingNumber(item[0]);
        const bool placeable = index >= 0 && index < MaxListItems;
        const long long count = static_cast<long long>(list.List.size());
        if (placeable && index >= count) {
            reading.ItemsLeft -= index + 1 - count;
            if (reading.ItemsLeft < 0) {
                reading.Damage = ProblemCode::ProfileItemGaps;
                return false;
            }
            list.List.resize(static_cast<std::size_t>(index) + 1);
            list.SubLists.resize(static_cast<std::size_t>(index) + 1);
        }
        if (placeable)
            list.List[static_cast<std::size_t>(index)] = std::move(item[1]);
        document.EnterElement();
        CActionList child;
        if (!ReadListWithin(child, document, reading))
            return false;
        if (placeable)
            list.SubLists[static_cast<std::size_t>(index)] = std::move(child);
        document.LeaveElement();
    }
    document.LeaveElement();
    --reading.Depth;
    list.ClampView();
    return true;
}

void SaveSection(CXmlDocument& document, std::u16string_view name, const CActionList& list) {
    document.AddElement(name);
    document.EnterElement();
    WriteList(list, document);
    document.LeaveElement();
}

bool LoadSection(CXmlDocument& document, std::u16string_view name, CActionList& list, CListReading& reading) {
    document.FindElement(name);
    document.EnterElement();
    if (!ReadListWithin(list, document, reading))
        return false;
    document.LeaveElement();
    return true;
}

std::size_t DecimalLength(long long value) {
    std::size_t length = value < 0 ? 2 : 1;
    for (; value <= -10 || value >= 10; value /= 10)
        ++length;
    return length;
}

// At least the characters and elements WriteList adds for the list, so that the document is sized once
// before it is built: tags and line ends, numbers and escaped item texts.
void CountList(const CActionList& list, std::size_t& characters, std::size_t& elements) {
    characters += 110;
    for (const int value :
         {list.SizeOfView, list.ViewStartAt, list.CursorPos, list.Cycles, list.Delay, list.PlayMode})
        characters += DecimalLength(value);
    ++elements;
    for (std::size_t i = 0; i < list.List.size(); ++i) {
        characters += 24 + DecimalLength(static_cast<long long>(i)) + EscapedAttributeLength(list.List[i]);
        ++elements;
        CountList(i < list.SubLists.size() ? list.SubLists[i] : CActionList(), characters, elements);
    }
}

bool IsKeyIndex(int index) {
    return index >= 1 && index < KeyIndexCount;
}

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
    AddNumbered<7>(document, u"List", ListAttributes,
                   {list.SizeOfView, list.ViewStartAt, list.CursorPos, list.Cycles,
                    list.IsAutoInterval ? 1 : 0, list.Delay, list.PlayMode});
    document.EnterElement();
    for (std::size_t i = 0; i < list.List.size(); ++i) {
        const std::u16string id = DecimalText(static_cast<int>(i));
        const CXmlAttributeText item[] = {{u"ID", id}, {u"t1", list.List[i]}};
        document.AddElement(u"x", item);
        document.EnterElement();
        WriteList(i < list.SubLists.size() ? list.SubLists[i] : CActionList(), document);
        document.LeaveElement();
    }
    document.LeaveElement();
    return true;
}

bool ReadList(CActionList& list, CXmlDocument& document) {
    CListReading reading(document);
    return ReadListWithin(list, document, reading);
}

bool SaveProfile(const CKeyboardData& data, const std::filesystem::path& file, CProblem* problem) {
    CXmlDocument document;
    document.SetText(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    std::size_t characters = 1 << 15, elements = 1 << 9; // the sections, lights and keys
    for (const CActionList* list : {&data.PredefinedCombo, &data.PredefinedMacro, &data.PredefinedEmu})
        CountList(*list, characters, elements);
    for (int key = 1; key < KeyIndexCount; ++key)
        for (const KeySetting& setting : data.CurrentSettings[key])
            CountList(setting.ComboKey, characters, elements);
    document.Reserve(characters, elements);
    document.AddElement(u"Zelk");
    document.EnterElement();
    SaveSection(document, u"PredefinedCombo", data.PredefinedCombo);
    SaveSection(document, u"PredefinedMacro", data.PredefinedMacro);
    SaveSection(document, u"PredefinedEmu", data.PredefinedEmu);

    document.AddElement(u"BackgroundLightSettings");
    document.EnterElement();
    for (int key = 1; key < KeyIndexCount; ++key) {
        const AreaLight& light = data.BackgroundLightSettings[key];
        AddNumbered<4>(document, u"AREA", {u"ID", u"Red", u"Green", u"Blue"},
                       {key, light.Red, light.Green, light.Blue});
    }
    document.LeaveElement();

    document.AddElement(u"CurrentSettings");
    document.EnterElement();
    for (int key = 1; key < KeyIndexCount; ++key) {
        for (int level = 0; level < LevelCount; ++level) {
            const KeySetting& setting = data.CurrentSettings[key][level];
            AddNumbered<4>(document, u"KEY", {u"ID", u"Level", u"Mode", u"HWCode"},
                           {key, level, setting.Mode, setting.HWCode});
            document.EnterElement();
            SaveSection(document, u"ComboKey", setting.ComboKey);
            document.LeaveElement();
        }
    }
    document.LeaveElement();
    document.LeaveElement();

    // Written as it is encoded, so the file is never held whole a second time.
    CXmlResult result;
    std::u16string encoding;
    std::size_t length = 0;
    const auto encode = [&](const FileContentsWriter& write) {
        return XmlCodec::WriteDocument(document.GetText(), write, result, encoding, length);
    };
    CProblem why;
    if (ReplaceFileContents(file, encode, ProblemCode::ProfileNotEncoded, why))
        return true;
    if (problem != nullptr)
        *problem = why;
    return false;
}

namespace {

template <typename Refuse>
bool LoadProfileWithin(CKeyboardData& data, const std::filesystem::path& file, const Refuse& refuse) {
    CXmlDocument document;
    CProblem why;
    if (!document.LoadFile(file, MaxProfileFileBytes, MaxProfileElements, why))
        return refuse(Wrapped(ProblemCode::ProfileUnreadable, {}, why));
    if (document.ReachedElementLimit())
        return refuse(CProblem(ProblemCode::ProfileTooManyElements, 0, MaxProfileElements));
    if (!document.FindElement(u"Zelk"))
        return refuse(ProblemCode::ProfileNotZelk);
    if (document.EndsInsideAnElement())
        return refuse(ProblemCode::ProfileCutShort);
    document.EnterElement();

    CListReading reading(document);
    auto content = std::make_unique<CProfileContent>();
    const auto damaged = [&] { return refuse(reading.Damage); };
    if (!LoadSection(document, u"PredefinedCombo", content->Combo, reading) ||
        !LoadSection(document, u"PredefinedMacro", content->Macro, reading) ||
        !LoadSection(document, u"PredefinedEmu", content->Emu, reading))
        return damaged();

    document.FindElement(u"BackgroundLightSettings");
    document.EnterElement();
    while (document.FindElement(u"AREA")) {
        const std::array<int, 4> area = Numbers<4>(document, {u"ID", u"Red", u"Green", u"Blue"});
        if (IsKeyIndex(area[0]))
            content->Light[area[0]] = {area[1], area[2], area[3]};
    }
    document.LeaveElement();

    document.FindElement(u"CurrentSettings");
    document.EnterElement();
    while (document.FindElement(u"KEY")) {
        const std::array<int, 4> head = Numbers<4>(document, {u"ID", u"Level", u"Mode", u"HWCode"});
        const int key = head[0];
        const int level = head[1];
        KeySetting ignored;
        const bool placeable = IsKeyIndex(key) && level >= 0 && level < LevelCount;
        KeySetting& setting = placeable ? content->Settings[key][level] : ignored;
        setting.Mode = head[2];
        setting.HWCode = head[3];
        document.EnterElement();
        if (!LoadSection(document, u"ComboKey", setting.ComboKey, reading))
            return damaged();
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

} // namespace

bool LoadProfile(CKeyboardData& data, const std::filesystem::path& file, CProblem* problem) {
    const auto refuse = [problem](const CProblem& why) {
        if (problem != nullptr)
            *problem = why;
        return false;
    };
    try {
        return LoadProfileWithin(data, file, refuse);
    } catch (const std::bad_alloc&) {
        return refuse(ProblemCode::ProfileOutOfMemory);
    }
}
