#include "ProfileJsonReader.h"

#include "ProfileJson.h"
#include "ProfileLayout.h"
#include "ProfileText.h"

#include "catalogue/ContentItem.h"
#include "catalogue/KeyCatalogue.h"
#include "catalogue/KeyLegends.h"
#include "model/KeyboardRules.h"
#include "model/Profile.h"
#include "text/ProblemTexts.h"
#include "xml/XmlEncoding.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <initializer_list>
#include <memory>
#include <vector>

using nlohmann::json;

namespace {

// Lists nest as deep as a profile's may (MaxListDepth): each level of child lists is two levels of the
// document, below the seven a key's list starts at. A document nesting deeper is damaged.
constexpr int MaxJsonDepth = 2 * MaxListDepth + 8;

struct CRefused {
    std::string Place;
    std::string Reason;
};

[[noreturn]] void Refuse(const std::string& place, const std::string& reason) {
    throw CRefused{place, reason};
}

std::string Member(const std::string& place, const char* name) {
    return place.empty() ? name : place + "." + name;
}

std::string Index(const std::string& place, std::size_t i) {
    return place + "[" + std::to_string(i) + "]";
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::u16string Utf16(const std::string& text) {
    std::u16string out;
    XmlEncoding::AppendUtf8AsUtf16(text, out);
    return out;
}

const json& Object(const json& value, const std::string& place, std::initializer_list<const char*> members) {
    if (!value.is_object())
        Refuse(place, "must be an object");
    for (const auto& member : value.items()) {
        const std::string& name = member.key();
        if (std::none_of(members.begin(), members.end(), [&](const char* known) { return name == known; }))
            Refuse(place, "unknown field " + Quoted(name));
    }
    return value;
}

const json& Array(const json& value, const std::string& place) {
    if (!value.is_array())
        Refuse(place, "must be an array");
    return value;
}

const std::string& Text(const json& value, const std::string& place) {
    if (!value.is_string())
        Refuse(place, "must be a string");
    return value.get_ref<const std::string&>();
}

long long Number(const json& value, const std::string& place, long long low, long long high) {
    if (!value.is_number_integer())
        Refuse(place, "must be a whole number from " + std::to_string(low) + " to " + std::to_string(high));
    const bool huge = value.is_number_unsigned() && value.get<unsigned long long>() > LLONG_MAX;
    const long long number = huge ? LLONG_MAX : value.get<long long>();
    if (huge || number < low || number > high)
        Refuse(place, (huge ? value.dump() : std::to_string(number)) + " is out of range (" +
                          std::to_string(low) + " to " + std::to_string(high) + ")");
    return number;
}

int IntField(const json& object, const char* name, const std::string& place, long long low, long long high,
             int absent) {
    const auto found = object.find(name);
    return found == object.end() ? absent : static_cast<int>(Number(*found, Member(place, name), low, high));
}

const char* CodeNoun(int mode) {
    switch (mode) {
    case ModeSingle:
        return "key";
    case ModeMultimedia:
        return "multimedia function";
    case ModeMouse:
        return "mouse action";
    case ModeFunction:
        return "keyboard function";
    case ModePower:
        return "power function";
    default:
        return "code";
    }
}

// A code as a number or as the catalogue's name of a key or function of that kind.
int Code(const json& value, const std::string& place, int mode, const CKeyboardData& data) {
    if (value.is_string()) {
        const std::u16string name = Utf16(value.get_ref<const std::string&>());
        for (const auto& [keyCode, keyName] : data.KeyNames) {
            const int code = DeviceCodeOfKey(data, keyCode);
            if (keyName == name && code > 0 && CodeFitsKind(mode, code))
                return code;
        }
        Refuse(place,
               std::string("no ") + CodeNoun(mode) + " " + Quoted(value.get_ref<const std::string&>()));
    }
    if (!value.is_number_integer())
        Refuse(place, "must be a name or a whole number");
    const long long code = Number(value, place, LLONG_MIN, LLONG_MAX);
    if (code < 0 || code >= CodeTableSize || !CodeFitsKind(mode, static_cast<int>(code)))
        Refuse(place, std::string("no ") + CodeNoun(mode) + " has the code " + std::to_string(code));
    return static_cast<int>(code);
}

// What an item of a list may be.
enum class CItems {
    Keys,  // a combination's or an emulation's: key names
    Steps, // a macro's: key names with " Down" or " UP", and delay items
    Kept,  // the list of a kind that uses none: kept as it is, never sent
};

std::u16string Item(const json& value, const std::string& place, CItems rule, const CKeyboardData& data) {
    if (value.is_number_integer()) {
        const long long code = Number(value, place, LLONG_MIN, LLONG_MAX);
        const std::u16string name =
            code > 0 && code < CodeTableSize ? DeviceCodeLabel(data, static_cast<int>(code)) : NoKeyName;
        if (name == NoKeyName)
            Refuse(place, "no key has the code " + std::to_string(code));
        return name;
    }
    const std::string& text = Text(value, place);
    const std::u16string item = Utf16(text);
    if (rule == CItems::Kept || item == NoKeyName)
        return item;
    int milliseconds = 0;
    if (ReadDelayItem(item, milliseconds)) {
        if (rule != CItems::Steps)
            Refuse(place, "a delay belongs in a macro");
        if (milliseconds > MaxDelay)
            Refuse(place, "a delay is at most " + std::to_string(MaxDelay) + " ms");
        return DelayItem(milliseconds);
    }
    for (const auto& [keyCode, name] : data.KeyNames) {
        if (rule == CItems::Steps ? ItemNamesKey(item, name) : item == name)
            return item;
    }
    Refuse(place, "no key " + Quoted(text));
}

std::vector<std::u16string> Items(const json& value, const std::string& place, CItems rule,
                                  const CKeyboardData& data) {
    std::vector<std::u16string> items;
    const json& array = Array(value, place);
    items.reserve(array.size());
    for (std::size_t i = 0; i < array.size(); ++i)
        items.push_back(Item(array[i], Index(place, i), rule, data));
    return items;
}

// The play settings of a list. Those a kind sends are held to what the keyboard takes.
void ReadPlay(const json& object, const std::string& place, CActionList& list, bool sent) {
    const long long wide = sent ? 0 : INT_MIN;
    list.Cycles = IntField(object, "cycles", place, wide, sent ? MaxCycles : INT_MAX, list.Cycles);
    list.Delay = IntField(object, "delay", place, wide, sent ? MaxDelay : INT_MAX, list.Delay);
    list.PlayMode =
        IntField(object, "play_mode", place, wide, sent ? MaxMacroPlayMode : INT_MAX, list.PlayMode);
    if (const auto found = object.find("auto_interval"); found != object.end()) {
        if (!found->is_boolean())
            Refuse(Member(place, "auto_interval"), "must be true or false");
        list.IsAutoInterval = found->get<bool>();
    }
}

void ReadLayout(const json& layout, const std::string& place, CActionList& list, int depth);

CActionList Child(const json& value, const std::string& place, int depth) {
    const json& object = Object(
        value, place,
        {"rows", "top", "cursor", "cycles", "auto_interval", "delay", "play_mode", "items", "sublists"});
    CActionList child = BlankList(ChildRows);
    if (const auto found = object.find("items"); found != object.end()) {
        const std::string itemsPlace = Member(place, "items");
        const json& array = Array(*found, itemsPlace);
        std::vector<std::u16string> items;
        for (std::size_t i = 0; i < array.size(); ++i)
            items.push_back(Utf16(Text(array[i], Index(itemsPlace, i))));
        child = LaidOutList(ChildRows, items);
    }
    ReadPlay(object, place, child, false);
    ReadLayout(object, place, child, depth);
    return child;
}

// "rows", "top", "cursor" and "sublists" of a list's "list" object.
void ReadLayout(const json& layout, const std::string& place, CActionList& list, int depth) {
    list.SizeOfView = IntField(layout, "rows", place, INT_MIN, INT_MAX, list.SizeOfView);
    list.ViewStartAt = IntField(layout, "top", place, INT_MIN, INT_MAX, list.ViewStartAt);
    list.CursorPos = IntField(layout, "cursor", place, INT_MIN, INT_MAX, list.CursorPos);
    const auto found = layout.find("sublists");
    if (found == layout.end())
        return;
    const std::string sublists = Member(place, "sublists");
    if (depth + 1 >= MaxListDepth)
        Refuse(sublists, "lists nest more than " + std::to_string(MaxListDepth) + " deep");
    const json& array = Array(*found, sublists);
    if (array.size() != list.List.size())
        Refuse(sublists, "must have one entry per item (" + std::to_string(list.List.size()) + ")");
    for (std::size_t i = 0; i < array.size(); ++i)
        list.SubLists[i] = Child(array[i], Index(sublists, i), depth + 1);
}

// depth: how deep the list lies, 0 for a key's list or a catalogue, 1 for a catalogue entry's.
void ReadListField(const json& object, const std::string& place, CActionList& list, int depth) {
    if (const auto found = object.find("list"); found != object.end()) {
        const std::string where = Member(place, "list");
        ReadLayout(Object(*found, where, {"rows", "top", "cursor", "sublists"}), where, list, depth);
    }
}

// Whether an object is in its raw form ("raw": true): what show --json prints for values a profile
// holds but a hand-written document could not give (a kind, code or item the keyboard has no name
// for, a colour beyond 0..255, a list the keyboard cannot hold). They are taken as they stand.
bool IsRaw(const json& object, const std::string& place) {
    const auto found = object.find("raw");
    if (found == object.end())
        return false;
    if (!found->is_boolean() || !found->get<bool>())
        Refuse(Member(place, "raw"), "must be true (the values are then taken as they stand)");
    return true;
}

std::vector<std::u16string> RawItems(const json& object, const std::string& place) {
    std::vector<std::u16string> items;
    if (const auto found = object.find("items"); found != object.end()) {
        const std::string itemsPlace = Member(place, "items");
        const json& array = Array(*found, itemsPlace);
        items.reserve(array.size());
        for (std::size_t i = 0; i < array.size(); ++i)
            items.push_back(Utf16(Text(array[i], Index(itemsPlace, i))));
    }
    return items;
}

void ReadRawLevel(const json& level, const std::string& place, int key, KeySetting& setting) {
    Object(level, place,
           {"level", "raw", "mode", "code", "label", "items", "cycles", "auto_interval", "delay", "play_mode",
            "list"});
    KeySetting result;
    result.Mode = IntField(level, "mode", place, INT_MIN, INT_MAX, ModeNotSet);
    result.HWCode = IntField(level, "code", place, INT_MIN, INT_MAX, key);
    if (const auto label = level.find("label"); label != level.end())
        Text(*label, Member(place, "label"));
    result.ComboKey = LaidOutList(ContentRows(result.Mode), RawItems(level, place));
    ReadPlay(level, place, result.ComboKey, false);
    ReadListField(level, place, result.ComboKey, 0);
    setting = std::move(result);
}

const CActionList& CatalogueOf(const CKeyboardData& data, int mode) {
    return mode == ModeCombo   ? data.PredefinedCombo
           : mode == ModeMacro ? data.PredefinedMacro
                               : data.PredefinedEmu;
}

const char* EntryNoun(int mode) {
    return mode == ModeCombo ? "combination" : mode == ModeMacro ? "macro" : "emulation";
}

CItems ItemRule(int mode) {
    return mode == ModeMacro                            ? CItems::Steps
           : mode == ModeCombo || mode == ModeEmulation ? CItems::Keys
                                                        : CItems::Kept;
}

// What the keyboard takes of a list of that kind, in zelk-cli's words with the item's place.
void CheckSendable(const CActionList& list, int mode, const std::string& place, bool mayBeEmpty) {
    const CProblem problem = ListProblem(list, mode, mayBeEmpty);
    if (!problem)
        return;
    const bool ofItem = problem.Code == ProblemCode::MacroDelayWithFixedInterval ||
                        problem.Code == ProblemCode::MacroDelayExpected ||
                        problem.Code == ProblemCode::MacroStepExpected;
    Refuse(ofItem ? Index(place, static_cast<std::size_t>(problem.Item)) : place,
           ProblemText(problem, UiLanguage::English));
}

// Returns whether the level was in its raw form.
bool ReadLevel(const json& value, const std::string& place, const CKeyboardData& data, int key,
               KeySetting& setting) {
    if (value.is_object() && IsRaw(value, place)) {
        ReadRawLevel(value, place, key, setting);
        return true;
    }
    const json& level = Object(value, place,
                               {"level", "kind", "mode", "code", "label", "items", "entry", "cycles",
                                "auto_interval", "delay", "play_mode", "list"});
    const auto kindField = level.find("kind");
    if (kindField == level.end())
        Refuse(place, "needs a \"kind\"");
    const std::string& kindName = Text(*kindField, Member(place, "kind"));
    const int mode = KindOfName(kindName);
    if (mode < 0)
        Refuse(Member(place, "kind"), "unknown kind " + Quoted(kindName) +
                                          " (none, single, combo, macro, emulation, multimedia, mouse, "
                                          "function, power)");
    if (IntField(level, "mode", place, INT_MIN, INT_MAX, mode) != mode)
        Refuse(Member(place, "mode"), "does not match the kind " + Quoted(kindName));
    if (const auto label = level.find("label"); label != level.end())
        Text(*label, Member(place, "label"));

    const auto code = level.find("code");
    const auto items = level.find("items");
    const auto entry = level.find("entry");
    KeySetting result{mode, key, BlankList(ContentRows(mode))};
    if (KindTakesCode(mode)) {
        if (code == level.end())
            Refuse(place, "a " + kindName + " assignment needs a \"code\"");
        result.HWCode = Code(*code, Member(place, "code"), mode, data);
    } else if (code != level.end()) {
        result.HWCode = static_cast<int>(Number(*code, Member(place, "code"), 0, CodeTableSize - 1));
    }
    if (entry != level.end()) {
        if (!KindTakesList(mode))
            Refuse(Member(place, "entry"), "a " + kindName + " assignment has no catalogue entry");
        if (items != level.end())
            Refuse(Member(place, "entry"), "give \"items\" or \"entry\", not both");
        const std::string& name = Text(*entry, Member(place, "entry"));
        const CActionList& catalogue = CatalogueOf(data, mode);
        const int found = catalogue.IndexOfText(Utf16(name));
        if (found < 0)
            Refuse(Member(place, "entry"), std::string("no ") + EntryNoun(mode) + " " + Quoted(name));
        const auto index = static_cast<std::size_t>(found);
        const CActionList content =
            index < catalogue.SubLists.size() ? catalogue.SubLists[index] : CActionList{};
        result.ComboKey = LaidOutList(ContentRows(mode), content.List);
        result.ComboKey.Cycles = content.Cycles;
        result.ComboKey.IsAutoInterval = content.IsAutoInterval;
        result.ComboKey.Delay = content.Delay;
        result.ComboKey.PlayMode = content.PlayMode;
    } else if (items != level.end()) {
        result.ComboKey =
            LaidOutList(ContentRows(mode), Items(*items, Member(place, "items"), ItemRule(mode), data));
    } else if (KindTakesList(mode)) {
        Refuse(place, "a " + kindName + " assignment needs \"items\" or an \"entry\"");
    }
    ReadPlay(level, place, result.ComboKey, KindTakesList(mode));
    ReadListField(level, place, result.ComboKey, 0);
    if (KindTakesList(mode))
        CheckSendable(result.ComboKey, mode, Member(place, "items"), false);
    setting = std::move(result);
    return false;
}

void ReadColour(const json& value, const std::string& place, AreaLight& light) {
    if (value.is_string()) {
        const std::string& text = value.get_ref<const std::string&>();
        const bool hex =
            text.size() == 7 && text[0] == '#' &&
            std::all_of(text.begin() + 1, text.end(), [](unsigned char c) { return std::isxdigit(c); });
        if (!hex)
            Refuse(place, Quoted(text) + " is no colour (#rrggbb)");
        const int rgb = std::stoi(text.substr(1), nullptr, 16);
        light = {rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF};
        return;
    }
    const json& colour = Object(value, place, {"red", "green", "blue", "raw"});
    for (const char* part : {"red", "green", "blue"}) {
        if (!colour.contains(part))
            Refuse(place, std::string("needs \"") + part + "\"");
    }
    // A profile may hold any number; the keyboard takes its low 8 bits.
    const long long low = IsRaw(colour, place) ? INT_MIN : 0;
    const long long high = low == 0 ? 255 : INT_MAX;
    light = {IntField(colour, "red", place, low, high, 0), IntField(colour, "green", place, low, high, 0),
             IntField(colour, "blue", place, low, high, 0)};
}

int Key(const json& value, const std::string& place) {
    if (value.is_string()) {
        const int key = KeyOfLegend(value.get_ref<const std::string&>());
        if (key == 0)
            Refuse(place, "no key " + Quoted(value.get_ref<const std::string&>()));
        return key;
    }
    return static_cast<int>(Number(value, place, 1, KeyCount));
}

// The layer key works only when the key carries it on both levels.
void KeepFnOnBothLevels(std::array<KeySetting, LevelCount>& levels,
                        const std::array<bool, LevelCount>& listed, const std::array<bool, LevelCount>& raw,
                        const std::string& place) {
    for (int level = 0; level < LevelCount; ++level) {
        const KeySetting& fn = levels[static_cast<std::size_t>(level)];
        KeySetting& other = levels[static_cast<std::size_t>(1 - level)];
        if (fn.Mode != ModeFunction || fn.HWCode != FnCode || raw[static_cast<std::size_t>(level)] ||
            (other.Mode == ModeFunction && other.HWCode == FnCode))
            continue;
        if (listed[static_cast<std::size_t>(1 - level)])
            Refuse(place, "FN switches the levels, so the key must carry it on both levels");
        other.Mode = ModeFunction;
        other.HWCode = FnCode;
    }
}

void ReadKey(const json& value, const std::string& place, CKeyboardData& data,
             std::array<std::string, KeyIndexCount>& seen) {
    const json& entry = Object(value, place, {"key", "name", "colour", "levels"});
    const auto keyField = entry.find("key");
    const auto nameField = entry.find("name");
    if (keyField == entry.end() && nameField == entry.end())
        Refuse(place, "needs a \"key\"");
    const int key = keyField != entry.end() ? Key(*keyField, Member(place, "key"))
                                            : Key(*nameField, Member(place, "name"));
    if (nameField != entry.end() && Key(*nameField, Member(place, "name")) != key)
        Refuse(Member(place, "name"), "key " + std::to_string(key) + " is " + Quoted(KeyCaption(key)));
    std::string& first = seen[static_cast<std::size_t>(key)];
    if (!first.empty())
        Refuse(place, "key " + KeyName(key) + " is listed already, at " + first);
    first = place;
    if (const auto colour = entry.find("colour"); colour != entry.end())
        ReadColour(*colour, Member(place, "colour"),
                   data.BackgroundLightSettings[static_cast<std::size_t>(key)]);
    const auto levelsField = entry.find("levels");
    if (levelsField == entry.end())
        return;
    const std::string levelsPlace = Member(place, "levels");
    const json& levels = Array(*levelsField, levelsPlace);
    if (levels.size() > LevelCount)
        Refuse(levelsPlace, "a key has two levels");
    auto& settings = data.CurrentSettings[static_cast<std::size_t>(key)];
    std::array<bool, LevelCount> listed{};
    std::array<bool, LevelCount> raw{};
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const std::string levelPlace = Index(levelsPlace, i);
        const int level =
            levels[i].is_object()
                ? IntField(levels[i], "level", levelPlace, 1, LevelCount, static_cast<int>(i) + 1) - 1
                : 0;
        if (listed[static_cast<std::size_t>(level)])
            Refuse(levelPlace, "level " + std::to_string(level + 1) + " is listed already");
        listed[static_cast<std::size_t>(level)] = true;
        raw[static_cast<std::size_t>(level)] =
            ReadLevel(levels[i], levelPlace, data, key, settings[static_cast<std::size_t>(level)]);
    }
    KeepFnOnBothLevels(settings, listed, raw, levelsPlace);
}

void ReadEntry(const json& value, const std::string& place, const CKeyboardData& data, int mode,
               std::u16string& name, CActionList& content) {
    const json& entry = Object(
        value, place, {"name", "items", "cycles", "auto_interval", "delay", "play_mode", "list", "raw"});
    const auto nameField = entry.find("name");
    if (nameField == entry.end())
        Refuse(place, "needs a \"name\"");
    name = Utf16(Text(*nameField, Member(place, "name")));
    if (IsRaw(entry, place)) {
        content = LaidOutList(ContentRows(mode), RawItems(entry, place));
        ReadPlay(entry, place, content, false);
        ReadListField(entry, place, content, 1);
        return;
    }
    const auto items = entry.find("items");
    content = LaidOutList(ContentRows(mode),
                          items == entry.end() ? std::vector<std::u16string>{}
                                               : Items(*items, Member(place, "items"), ItemRule(mode), data));
    ReadPlay(entry, place, content, true);
    ReadListField(entry, place, content, 1);
    CheckSendable(content, mode, Member(place, "items"), true);
}

void ReadCatalogues(const json& value, const std::string& place, CKeyboardData& data) {
    const json& catalogues =
        Object(value, place,
               {"combinations", "macros", "emulations", "combination_list", "macro_list", "emulation_list"});
    const struct {
        const char* Entries;
        const char* Layout;
        int Mode;
        CActionList& Catalogue;
    } kinds[] = {{"combinations", "combination_list", ModeCombo, data.PredefinedCombo},
                 {"macros", "macro_list", ModeMacro, data.PredefinedMacro},
                 {"emulations", "emulation_list", ModeEmulation, data.PredefinedEmu}};
    for (const auto& kind : kinds) {
        if (const auto entries = catalogues.find(kind.Entries); entries != catalogues.end()) {
            const std::string entriesPlace = Member(place, kind.Entries);
            const json& array = Array(*entries, entriesPlace);
            std::vector<std::u16string> names(array.size());
            std::vector<CActionList> contents(array.size());
            for (std::size_t i = 0; i < array.size(); ++i)
                ReadEntry(array[i], Index(entriesPlace, i), data, kind.Mode, names[i], contents[i]);
            kind.Catalogue.List = std::move(names);
            kind.Catalogue.SubLists = std::move(contents);
        }
        if (const auto layout = catalogues.find(kind.Layout); layout != catalogues.end()) {
            const std::string layoutPlace = Member(place, kind.Layout);
            Object(*layout, layoutPlace,
                   {"rows", "top", "cursor", "cycles", "auto_interval", "delay", "play_mode"});
            ReadPlay(*layout, layoutPlace, kind.Catalogue, false);
            ReadLayout(*layout, layoutPlace, kind.Catalogue, MaxListDepth); // its entries are its children
        }
    }
}

// "line 3, column 5" of a byte offset.
std::string Position(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const std::size_t lineStart = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    const long lines = std::count(text.begin(), text.begin() + static_cast<long>(offset), '\n');
    const std::size_t column =
        lineStart == std::string_view::npos || offset == 0 ? offset : offset - lineStart - 1;
    return "line " + std::to_string(lines + 1) + ", column " + std::to_string(column + 1);
}

// Parses text, refusing objects that repeat a member (the later would silently win) and nesting deeper
// than any profile.
json Parse(std::string_view text) {
    std::vector<std::vector<std::string>> members;
    const auto check = [&](int depth, json::parse_event_t event, json& parsed) {
        if (depth > MaxJsonDepth)
            Refuse("", "invalid JSON: nested more than " + std::to_string(MaxJsonDepth) + " deep");
        if (event == json::parse_event_t::object_start) {
            members.emplace_back();
        } else if (event == json::parse_event_t::object_end && !members.empty()) {
            members.pop_back();
        } else if (event == json::parse_event_t::key && !members.empty()) {
            const std::string& name = parsed.get_ref<const std::string&>();
            auto& seen = members.back();
            if (std::find(seen.begin(), seen.end(), name) != seen.end())
                Refuse("", "invalid JSON: the field " + Quoted(name) + " appears twice in one object");
            seen.push_back(name);
        }
        return true;
    };
    try {
        return json::parse(text.begin(), text.end(), check);
    } catch (const json::parse_error& error) {
        std::string what = error.what();
        const std::size_t colon = what.find(": ", what.find("parse error"));
        what = colon == std::string::npos ? what : what.substr(colon + 2);
        Refuse(Position(text, error.byte == 0 ? 0 : error.byte - 1), "invalid JSON: " + what);
    }
}

bool Refused(const CRefused& refused, CJsonRefusal& refusal) {
    refusal = {refused.Place, refused.Reason};
    return false;
}

} // namespace

bool LooksLikeJson(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{';
}

bool ReadProfileJson(std::string_view text, CKeyboardData& data, CJsonRefusal& refusal) {
    try {
        if (text.size() > MaxProfileJsonSize)
            Refuse("", "the document is larger than " + std::to_string(MaxProfileJsonSize >> 20) +
                           " MiB, more than any profile");
        const json document = Parse(text);
        Object(document, "", {"format", "keys", "catalogues"});
        if (IntField(document, "format", "", 1, 1, 1) != 1)
            Refuse("format", "unknown format");
        auto read = std::make_unique<CKeyboardData>();
        BuildKeyCatalogue(*read);
        ClearProfile(*read);
        if (const auto catalogues = document.find("catalogues"); catalogues != document.end())
            ReadCatalogues(*catalogues, "catalogues", *read);
        if (const auto keys = document.find("keys"); keys != document.end()) {
            const json& array = Array(*keys, "keys");
            std::array<std::string, KeyIndexCount> seen{};
            for (std::size_t i = 0; i < array.size(); ++i)
                ReadKey(array[i], Index("keys", i), *read, seen);
        }
        data.PredefinedCombo = std::move(read->PredefinedCombo);
        data.PredefinedMacro = std::move(read->PredefinedMacro);
        data.PredefinedEmu = std::move(read->PredefinedEmu);
        data.BackgroundLightSettings = read->BackgroundLightSettings;
        data.CurrentSettings = std::move(read->CurrentSettings);
        return true;
    } catch (const CRefused& refused) {
        return Refused(refused, refusal);
    }
}

bool ReadLevelJson(const json& level, const CKeyboardData& data, int key, KeySetting& setting,
                   CJsonRefusal& refusal) {
    try {
        ReadLevel(level, "", data, key, setting);
        return true;
    } catch (const CRefused& refused) {
        return Refused(refused, refusal);
    }
}

bool ReadEntryJson(const json& entry, const CKeyboardData& data, int mode, std::u16string& name,
                   CActionList& content, CJsonRefusal& refusal) {
    try {
        ReadEntry(entry, "", data, mode, name, content);
        return true;
    } catch (const CRefused& refused) {
        return Refused(refused, refusal);
    }
}

bool ReadColourJson(const json& colour, AreaLight& light, CJsonRefusal& refusal) {
    try {
        ReadColour(colour, "", light);
        return true;
    } catch (const CRefused& refused) {
        return Refused(refused, refusal);
    }
}

int KeyOfLegend(std::string_view legend) {
    const auto lower = [](std::string_view text) {
        std::string folded(text);
        std::transform(folded.begin(), folded.end(), folded.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return folded;
    };
    int byCharacter = 0;
    int characterMatches = 0;
    for (int key = 1; key <= KeyCount; ++key) {
        const KeyLegend& cap = KeyLegendOf(key);
        if (lower(cap.name) == lower(legend))
            return key;
        if ((!legend.empty() && cap.main == legend) || (cap.shifted[0] != '\0' && cap.shifted == legend)) {
            byCharacter = key;
            ++characterMatches;
        }
    }
    return characterMatches == 1 ? byCharacter : 0;
}
