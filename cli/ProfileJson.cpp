#include "ProfileJson.h"

#include "ProfileLayout.h"
#include "ProfileText.h"

#include "catalogue/KeyCatalogue.h"
#include "model/AssignmentLabel.h"
#include "model/KeyboardData.h"

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

std::string Level(const CKeyboardData& data, int key, int level) {
    const KeySetting& setting =
        data.CurrentSettings[static_cast<std::size_t>(key)][static_cast<std::size_t>(level)];
    std::string text =
        "{\"level\": " + std::to_string(level + 1) + ", \"kind\": " + JsonString(KindName(setting.Mode)) +
        ", \"mode\": " + std::to_string(setting.Mode) + ", \"code\": " + std::to_string(setting.HWCode) +
        ", \"label\": " + JsonString(Utf8(AssignmentLabel(data, key, level))) +
        ", \"items\": " + Items(setting.ComboKey);
    if (Played(setting.Mode) || !HasDefaultPlay(setting.ComboKey))
        text += PlaySettings(setting.ComboKey);
    return text + LayoutField(setting.ComboKey, ContentRows(setting.Mode)) + "}";
}

std::string Catalogue(const CActionList& catalogue, int mode) {
    if (catalogue.List.empty())
        return "[]";
    std::string text = "[\n";
    for (std::size_t i = 0; i < catalogue.List.size(); ++i) {
        const CActionList content =
            i < catalogue.SubLists.size() ? catalogue.SubLists[i] : BlankList(catalogue.SizeOfView);
        text += "      {\"name\": " + JsonString(Utf8(catalogue.List[i])) + ", \"items\": " + Items(content) +
                (Played(mode) || !HasDefaultPlay(content) ? PlaySettings(content) : "") +
                LayoutField(content, ContentRows(mode)) + "}";
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
                ", \"colour\": {\"red\": " + std::to_string(light.Red) +
                ", \"green\": " + std::to_string(light.Green) + ", \"blue\": " + std::to_string(light.Blue) +
                "}, \"levels\": [" + Level(data, key, 0) + ", " + Level(data, key, 1) + "]}";
        json += key < KeyCount ? ",\n" : "\n";
    }
    json += "  ],\n  \"catalogues\": {\n";
    json += "    \"combinations\": " + Catalogue(data.PredefinedCombo, ModeCombo) + ",\n";
    json += "    \"macros\": " + Catalogue(data.PredefinedMacro, ModeMacro) + ",\n";
    json += "    \"emulations\": " + Catalogue(data.PredefinedEmu, ModeEmulation);
    json += CatalogueLayout("combination_list", data.PredefinedCombo, ModeCombo);
    json += CatalogueLayout("macro_list", data.PredefinedMacro, ModeMacro);
    json += CatalogueLayout("emulation_list", data.PredefinedEmu, ModeEmulation);
    return json + "\n  }\n}\n";
}
