#include "ProfileJson.h"

#include "ProfileJsonReader.h"
#include "ProfileLayout.h"
#include "ProfileText.h"

#include "catalogue/KeyCatalogue.h"
#include "model/AssignmentLabel.h"
#include "model/KeyboardData.h"
#include "model/KeyboardRules.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

// The assignment kinds by Mode, as scripts match them.
constexpr std::array<const char*, KeyModeCount> KindNames = {
    "none", "single", "combo", "macro", "emulation", "multimedia", "mouse", "function", "power",
};

std::string Items(const CActionList& list) {
    std::string text = "[";
    for (std::size_t i = 0; i < list.List.size(); ++i)
        text += (i == 0 ? "" : ", ") + JsonString(Utf8(list.List[i]));
    return text + "]";
}

std::string PlaySettings(const CActionList& list) {
    return ", \"cycles\": " + std::to_string(list.Cycles) +
           ", \"auto_interval\": " + (list.IsAutoInterval ? "true" : "false") +
           ", \"delay\": " + std::to_string(list.Delay) + ", \"play_mode\": " + std::to_string(list.PlayMode);
}

std::string Layout(const CActionList& list, int rows);

// A child list of an item as an object of what differs from a blank one.
std::string Child(const CActionList& child) {
    std::string fields = Layout(child, ChildRows);
    if (!HasDefaultPlay(child))
        fields += PlaySettings(child);
    if (!child.List.empty())
        fields += ", \"items\": " + Items(child);
    return "{" + (fields.empty() ? fields : fields.substr(2)) + "}";
}

bool IsBlank(const CActionList& child) {
    return Child(child) == "{}";
}

// The fields of a list's layout that differ from the one import gives it: rows shown, view position,
// and the child lists of its items.
std::string Layout(const CActionList& list, int rows) {
    std::string fields;
    if (list.SizeOfView != rows)
        fields += ", \"rows\": " + std::to_string(list.SizeOfView);
    if (list.ViewStartAt != 0)
        fields += ", \"top\": " + std::to_string(list.ViewStartAt);
    if (list.CursorPos != 0)
        fields += ", \"cursor\": " + std::to_string(list.CursorPos);
    const std::size_t children = std::min(list.List.size(), list.SubLists.size());
    bool blank = true;
    for (std::size_t i = 0; i < children && blank; ++i)
        blank = IsBlank(list.SubLists[i]);
    if (!blank) {
        fields += ", \"sublists\": [";
        for (std::size_t i = 0; i < list.List.size(); ++i)
            fields += (i == 0 ? "" : ", ") + (i < children ? Child(list.SubLists[i]) : std::string("{}"));
        fields += "]";
    }
    return fields;
}

// ", "list": {...}" when the layout differs from the one import gives the list.
std::string LayoutField(const CActionList& list, int rows) {
    const std::string fields = Layout(list, rows);
    return fields.empty() ? "" : ", \"list\": {" + fields.substr(2) + "}";
}

bool Played(int mode) {
    return mode == ModeMacro || mode == ModeEmulation;
}

// The same list to the last field: items, child lists, play settings and view.
bool SameList(const CActionList& a, const CActionList& b) {
    if (a.SizeOfView != b.SizeOfView || a.ViewStartAt != b.ViewStartAt || a.CursorPos != b.CursorPos ||
        a.Cycles != b.Cycles || a.IsAutoInterval != b.IsAutoInterval || a.Delay != b.Delay ||
        a.PlayMode != b.PlayMode || a.List != b.List || a.SubLists.size() != b.SubLists.size())
        return false;
    for (std::size_t i = 0; i < a.SubLists.size(); ++i)
        if (!SameList(a.SubLists[i], b.SubLists[i]))
            return false;
    return true;
}

// The level as a hand-written document gives it, or as the profile holds it ("raw": true).
std::string LevelText(const CKeyboardData& data, int key, int level, bool raw) {
    const KeySetting& setting =
        data.CurrentSettings[static_cast<std::size_t>(key)][static_cast<std::size_t>(level)];
    std::string text = "{\"level\": " + std::to_string(level + 1) +
                       (raw ? ", \"raw\": true" : ", \"kind\": " + JsonString(KindName(setting.Mode))) +
                       ", \"mode\": " + std::to_string(setting.Mode) +
                       ", \"code\": " + std::to_string(setting.HWCode) +
                       ", \"label\": " + JsonString(Utf8(AssignmentLabel(data, key, level))) +
                       ", \"items\": " + Items(setting.ComboKey);
    if (raw || Played(setting.Mode) || !HasDefaultPlay(setting.ComboKey))
        text += PlaySettings(setting.ComboKey);
    return text + LayoutField(setting.ComboKey, ContentRows(setting.Mode)) + "}";
}

// Whether import of the level's text gives back what the profile holds.
bool ImportGivesBack(const CKeyboardData& data, int key, int level, const std::string& text) {
    const KeySetting& setting =
        data.CurrentSettings[static_cast<std::size_t>(key)][static_cast<std::size_t>(level)];
    KeySetting read;
    CJsonRefusal refusal;
    return ReadLevelJson(nlohmann::json::parse(text), data, key, read, refusal) &&
           read.Mode == setting.Mode && read.HWCode == setting.HWCode &&
           SameList(read.ComboKey, setting.ComboKey);
}

bool IsLayerKey(const KeySetting& setting) {
    return setting.Mode == ModeFunction && setting.HWCode == FnCode;
}

// Both levels of a key, each in the form that import gives back: the raw form where a hand-written
// level would be refused or read otherwise, and for the layer key on one level only (import puts it on
// both levels).
std::string Levels(const CKeyboardData& data, int key) {
    const auto& settings = data.CurrentSettings[static_cast<std::size_t>(key)];
    std::string text;
    for (int level = 0; level < LevelCount; ++level) {
        const std::string strict = LevelText(data, key, level, false);
        const bool raw = !ImportGivesBack(data, key, level, strict) ||
                         (IsLayerKey(settings[static_cast<std::size_t>(level)]) &&
                          !IsLayerKey(settings[static_cast<std::size_t>(1 - level)]));
        text += (level == 0 ? "" : ", ") + (raw ? LevelText(data, key, level, true) : strict);
    }
    return text;
}

std::string Colour(const AreaLight& light) {
    const auto outside = [](int part) { return part < 0 || part > 255; };
    const bool raw = outside(light.Red) || outside(light.Green) || outside(light.Blue);
    return std::string("{") + (raw ? "\"raw\": true, " : "") + "\"red\": " + std::to_string(light.Red) +
           ", \"green\": " + std::to_string(light.Green) + ", \"blue\": " + std::to_string(light.Blue) + "}";
}

std::string EntryText(const std::u16string& name, const CActionList& content, int mode, bool raw) {
    return std::string("{") + (raw ? "\"raw\": true, " : "") + "\"name\": " + JsonString(Utf8(name)) +
           ", \"items\": " + Items(content) +
           (raw || Played(mode) || !HasDefaultPlay(content) ? PlaySettings(content) : "") +
           LayoutField(content, ContentRows(mode)) + "}";
}

std::string Entry(const CKeyboardData& data, const std::u16string& name, const CActionList& content,
                  int mode) {
    const std::string strict = EntryText(name, content, mode, false);
    std::u16string readName;
    CActionList read;
    CJsonRefusal refusal;
    const bool givesBack =
        ReadEntryJson(nlohmann::json::parse(strict), data, mode, readName, read, refusal) &&
        readName == name && SameList(read, content);
    return givesBack ? strict : EntryText(name, content, mode, true);
}

std::string Catalogue(const CKeyboardData& data, const CActionList& catalogue, int mode) {
    if (catalogue.List.empty())
        return "[]";
    std::string text = "[\n";
    for (std::size_t i = 0; i < catalogue.List.size(); ++i) {
        const CActionList content =
            i < catalogue.SubLists.size() ? catalogue.SubLists[i] : BlankList(catalogue.SizeOfView);
        text += "      " + Entry(data, catalogue.List[i], content, mode);
        text += i + 1 < catalogue.List.size() ? ",\n" : "\n";
    }
    return text + "    ]";
}

// ",\n    "combination_list": {...}" when the catalogue's own list departs from the empty profile's.
std::string CatalogueLayout(const char* name, const CActionList& catalogue, int mode) {
    std::string fields;
    if (catalogue.SizeOfView != ContentRows(mode))
        fields += ", \"rows\": " + std::to_string(catalogue.SizeOfView);
    if (catalogue.ViewStartAt != 0)
        fields += ", \"top\": " + std::to_string(catalogue.ViewStartAt);
    if (catalogue.CursorPos != 0)
        fields += ", \"cursor\": " + std::to_string(catalogue.CursorPos);
    if (!HasDefaultPlay(catalogue))
        fields += PlaySettings(catalogue);
    return fields.empty() ? "" : std::string(",\n    \"") + name + "\": {" + fields.substr(2) + "}";
}

} // namespace

const char* KindName(int mode) {
    return mode >= 0 && mode < KeyModeCount ? KindNames[static_cast<std::size_t>(mode)] : "unknown";
}

int KindOfName(std::string_view name) {
    for (int mode = 0; mode < KeyModeCount; ++mode) {
        if (name == KindNames[static_cast<std::size_t>(mode)])
            return mode;
    }
    return -1;
}

std::string JsonString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
}

std::string ProfileJson(const CKeyboardData& data) {
    std::string json = "{\n  \"format\": 1,\n  \"keys\": [\n";
    for (int key = 1; key <= KeyCount; ++key) {
        const AreaLight& light = data.BackgroundLightSettings[static_cast<std::size_t>(key)];
        json += "    {\"key\": " + std::to_string(key) + ", \"name\": " + JsonString(KeyCaption(key)) +
                ", \"colour\": " + Colour(light) + ", \"levels\": [" + Levels(data, key) + "]}";
        json += key < KeyCount ? ",\n" : "\n";
    }
    json += "  ],\n  \"catalogues\": {\n";
    json += "    \"combinations\": " + Catalogue(data, data.PredefinedCombo, ModeCombo) + ",\n";
    json += "    \"macros\": " + Catalogue(data, data.PredefinedMacro, ModeMacro) + ",\n";
    json += "    \"emulations\": " + Catalogue(data, data.PredefinedEmu, ModeEmulation);
    json += CatalogueLayout("combination_list", data.PredefinedCombo, ModeCombo);
    json += CatalogueLayout("macro_list", data.PredefinedMacro, ModeMacro);
    json += CatalogueLayout("emulation_list", data.PredefinedEmu, ModeEmulation);
    return json + "\n  }\n}\n";
}
