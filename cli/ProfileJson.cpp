#include "ProfileJson.h"

#include "ProfileText.h"

#include "catalogue/KeyCatalogue.h"
#include "model/KeyboardData.h"

#include <array>
#include <cstdio>

namespace {

// The assignment kinds by Mode, as scripts match them.
constexpr std::array<const char*, KeyModeCount> KindNames = {
    "none", "single", "combo", "macro", "emulation", "multimedia", "mouse", "function", "power",
};

const char* KindName(int mode) {
    return mode >= 0 && mode < KeyModeCount ? KindNames[static_cast<std::size_t>(mode)] : "unknown";
}

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

std::string Level(const CKeyboardData& data, int key, int level) {
    const KeySetting& setting =
        data.CurrentSettings[static_cast<std::size_t>(key)][static_cast<std::size_t>(level)];
    std::string text =
        "{\"level\": " + std::to_string(level + 1) + ", \"kind\": " + JsonString(KindName(setting.Mode)) +
        ", \"mode\": " + std::to_string(setting.Mode) + ", \"code\": " + std::to_string(setting.HWCode) +
        ", \"label\": " + JsonString(Utf8(AssignmentLabel(data, key, level))) +
        ", \"items\": " + Items(setting.ComboKey);
    if (setting.Mode == ModeMacro || setting.Mode == ModeEmulation)
        text += PlaySettings(setting.ComboKey);
    return text + "}";
}

std::string Catalogue(const CActionList& catalogue, bool played) {
    if (catalogue.List.empty())
        return "[]";
    std::string text = "[\n";
    for (std::size_t i = 0; i < catalogue.List.size(); ++i) {
        const CActionList content = i < catalogue.SubLists.size() ? catalogue.SubLists[i] : CActionList();
        text += "      {\"name\": " + JsonString(Utf8(catalogue.List[i])) + ", \"items\": " + Items(content) +
                (played ? PlaySettings(content) : "") + "}";
        text += i + 1 < catalogue.List.size() ? ",\n" : "\n";
    }
    return text + "    ]";
}

} // namespace

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
    json += "    \"combinations\": " + Catalogue(data.PredefinedCombo, false) + ",\n";
    json += "    \"macros\": " + Catalogue(data.PredefinedMacro, true) + ",\n";
    json += "    \"emulations\": " + Catalogue(data.PredefinedEmu, true) + "\n";
    return json + "  }\n}\n";
}
