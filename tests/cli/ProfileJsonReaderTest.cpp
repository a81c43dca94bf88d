// The JSON reading of zelk-cli import on its own: hand-written documents and what they set, and the
// one line that refuses a faulty one.
#include "ProfileJsonReader.h"

#include "catalogue/KeyCatalogue.h"
#include "model/KeyboardData.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<CKeyboardData> Catalogued() {
    auto data = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*data);
    data->Clear();
    return data;
}

// One key level a document sets, as kind, code and items ("|" between items).
struct CExpectedLevel {
    int Key;
    int Level; // 1 or 2
    int Mode;
    int Code;
    std::string Items;
};

std::string Joined(const CActionList& list) {
    std::string text;
    for (const auto& item : list.List) {
        text += text.empty() ? "" : "|";
        for (const char16_t c : item)
            text += static_cast<char>(c < 128 ? c : '?');
    }
    return text;
}

std::string Keys(const std::string& key, const std::string& levels) {
    return R"({"keys": [{"key": )" + key + R"(, "levels": [)" + levels + "]}]}";
}

TEST(ProfileJsonReader, HandWrittenDocumentsSetWhatTheySay) {
    const struct {
        std::string Json;
        std::vector<CExpectedLevel> Levels;
    } cases[] = {
        {Keys("6", R"({"kind": "multimedia", "code": 112})"), {{6, 1, 5, 112, ""}, {6, 2, 0, 6, ""}}},
        {Keys(R"("F5")", R"({"kind": "multimedia", "code": "Mute"})"), {{6, 1, 5, 112, ""}}},
        {Keys(R"("a")", R"({"kind": "single", "code": "A"}, {"kind": "single", "code": "ESC"})"),
         {{43, 1, 1, 43, ""}, {43, 2, 1, 1, ""}}},
        {Keys("9", R"({"level": 2, "kind": "mouse", "code": "Left Double Click"})"),
         {{9, 1, 0, 9, ""}, {9, 2, 6, 199, ""}}},
        {Keys("9", R"({"kind": "function", "code": "FN"})"), {{9, 1, 7, 156, ""}, {9, 2, 7, 156, ""}}},
        {Keys("10", R"({"kind": "power", "code": "Sleep"})"), {{10, 1, 8, 76, ""}}},
        {Keys(R"("~")", R"({"kind": "combo", "items": ["Left CONTROL", 43]})"),
         {{14, 1, 2, 14, "Left CONTROL|A"}}},
        {R"({"catalogues": {"combinations": [{"name": "Copy", "items": ["Left CONTROL", "C"]}]},
            "keys": [{"key": "Left Shift", "levels": [{"kind": "combo", "entry": "Copy"}]}]})",
         {{55, 1, 2, 55, "Left CONTROL|C"}}},
        {Keys("3", R"({"kind": "macro", "items": ["A Down", "<30 ms>", "A UP"], "cycles": 3})"),
         {{3, 1, 3, 3, "A Down|<30 ms>|A UP"}}},
        {Keys("5", R"({"kind": "emulation", "items": ["H", "I"], "delay": 40})"), {{5, 1, 4, 5, "H|I"}}},
        {Keys("7", R"({"kind": "none", "code": 99, "items": ["anything at all"]})"),
         {{7, 1, 0, 99, "anything at all"}}},
    };
    for (const auto& test : cases) {
        auto data = Catalogued();
        CJsonRefusal refusal;
        ASSERT_TRUE(ReadProfileJson(test.Json, *data, refusal)) << test.Json << "\n" << refusal.Line();
        for (const auto& expected : test.Levels) {
            const KeySetting& setting = data->CurrentSettings[expected.Key][expected.Level - 1];
            const std::string where = test.Json + " key " + std::to_string(expected.Key);
            EXPECT_EQ(setting.Mode, expected.Mode) << where;
            EXPECT_EQ(setting.HWCode, expected.Code) << where;
            EXPECT_EQ(Joined(setting.ComboKey), expected.Items) << where;
        }
    }
}

TEST(ProfileJsonReader, PlaySettingsAndColoursAreRead) {
    auto data = Catalogued();
    CJsonRefusal refusal;
    ASSERT_TRUE(
        ReadProfileJson(R"({"keys": [{"key": 1, "colour": "#0a0B0c"}, {"key": 2, "colour": {"red": 255,
        "green": 0, "blue": 7}, "levels": [{"kind": "macro", "items": ["A", "B"], "cycles": 0, "auto_interval": true,
        "delay": 65535, "play_mode": 2}]}]})",
                        *data, refusal))
        << refusal.Line();
    const AreaLight& first = data->BackgroundLightSettings[1];
    EXPECT_EQ((std::vector<int>{first.Red, first.Green, first.Blue}), (std::vector<int>{10, 11, 12}));
    const AreaLight& second = data->BackgroundLightSettings[2];
    EXPECT_EQ((std::vector<int>{second.Red, second.Green, second.Blue}), (std::vector<int>{255, 0, 7}));
    const CActionList& macro = data->CurrentSettings[2][0].ComboKey;
    EXPECT_EQ(
        (std::vector<int>{macro.Cycles, macro.IsAutoInterval, macro.Delay, macro.PlayMode, macro.SizeOfView}),
        (std::vector<int>{0, 1, 65535, 2, 9}));
    EXPECT_EQ(data->BackgroundLightSettings[3].Red, 0) << "keys not listed are not set";
}

std::string RecordedMacro(int steps) {
    std::string items;
    for (int i = 0; i < steps; ++i)
        items += std::string(i == 0 ? "" : R"(, "<1 ms>", )") + R"("A")";
    return Keys("1", R"({"kind": "macro", "items": [)" + items + "]}");
}

TEST(ProfileJsonReader, FaultsAreRefusedWholeWithTheirPlace) {
    const std::string fiftyNine = R"("A", )" + [] {
        std::string keys;
        for (int i = 0; i < 57; ++i)
            keys += R"("B", )";
        return keys;
    }() + R"("C")";
    const struct {
        std::string Json;
        std::string Line;
    } cases[] = {
        {"{",
         "line 1, column 2: invalid JSON: syntax error while parsing object key - unexpected end of input; "
         "expected string literal"},
        {R"({"keys": [], "keys": []})", "invalid JSON: the field \"keys\" appears twice in one object"},
        {std::string(80, '[') + std::string(80, ']'), "invalid JSON: nested more than 72 deep"},
        {std::string(8u << 20, ' ') + "{}", "the document is larger than 8 MiB, more than any profile"},
        {R"({"format": 2})", "format: 2 is out of range (1 to 1)"},
        {R"({"keys": [{"key": 88}]})", "keys[0].key: 88 is out of range (1 to 87)"},
        {R"({"keys": [{"key": "Foo"}]})", "keys[0].key: no key \"Foo\""},
        {R"({"keys": [{"key": 5}, {"key": "F4"}]})", "keys[1]: key 5 (F4) is listed already, at keys[0]"},
        {R"({"keys": [{"key": 1, "levls": []}]})", "keys[0]: unknown field \"levls\""},
        {Keys("1", R"({"kind": "macor"})"),
         "keys[0].levels[0].kind: unknown kind \"macor\" (none, single, combo, macro, emulation, multimedia, "
         "mouse, function, power)"},
        {R"({"keys": [{"key": 1}, {"key": 2}, {"key": 3}, {"key": 4}, {"key": 6, "levels": [{"kind": "multimedia",
            "code": "Mutte"}]}]})",
         "keys[4].levels[0].code: no multimedia function \"Mutte\""},
        {Keys("1", R"({"kind": "multimedia", "code": 3})"),
         "keys[0].levels[0].code: no multimedia function has the code 3"},
        {Keys("1", R"({"kind": "single", "code": "Power"})"), "keys[0].levels[0].code: no key \"Power\""},
        {Keys("1", R"({"kind": "single", "code": 4.5})"),
         "keys[0].levels[0].code: must be a name or a whole number"},
        {Keys("1", R"({"kind": "mouse"})"), "keys[0].levels[0]: a mouse assignment needs a \"code\""},
        {Keys("1", R"({"level": 3, "kind": "none"})"), "keys[0].levels[0].level: 3 is out of range (1 to 2)"},
        {Keys("1", R"({"kind": "none"}, {"level": 1, "kind": "none"})"),
         "keys[0].levels[1]: level 1 is listed already"},
        {Keys("1", R"({"kind": "combo", "items": ["Left CONTROL", "Ctrl"]})"),
         "keys[0].levels[0].items[1]: no key \"Ctrl\""},
        {Keys("1", R"({"kind": "combo", "items": ["A", "<30 ms>"]})"),
         "keys[0].levels[0].items[1]: a delay belongs in a macro"},
        {Keys("1", R"({"kind": "combo", "items": []})"),
         "keys[0].levels[0].items: a combination needs at least one key"},
        {Keys("1", R"({"kind": "combo", "items": [)" + fiftyNine + "]}"),
         "keys[0].levels[0].items: 59 keys are more than a combination takes (58)"},
        {Keys("1", R"({"kind": "combo", "entry": "Paste"})"),
         "keys[0].levels[0].entry: no combination \"Paste\""},
        {Keys("1", R"({"kind": "macro", "items": ["A"], "cycles": 256})"),
         "keys[0].levels[0].cycles: 256 is out of range (0 to 255)"},
        {Keys("1", R"({"kind": "macro", "items": ["A Down", "B UP"]})"),
         "keys[0].levels[0].items[1]: a macro with recorded delays alternates steps and delays; expected a "
         "delay"},
        {Keys("1", R"({"kind": "macro", "items": ["A", "<70000 ms>", "A"]})"),
         "keys[0].levels[0].items[1]: a delay is at most 65535 ms"},
        {RecordedMacro(16385),
         "keys[0].levels[0].items: the macro is longer than the keyboard takes (32769 items "
         "make 65537 bytes; at most 65535)"},
        {Keys("9", R"({"kind": "function", "code": "FN"}, {"kind": "single", "code": "A"})"),
         "keys[0].levels: FN switches the levels, so the key must carry it on both levels"},
        {R"({"keys": [{"key": 1, "colour": "#ff00"}]})", "keys[0].colour: \"#ff00\" is no colour (#rrggbb)"},
        {R"({"keys": [{"key": 1, "colour": {"red": 300, "green": 0, "blue": 0}}]})",
         "keys[0].colour.red: 300 is out of range (0 to 255)"},
        {R"({"catalogues": {"macros": [{"name": "M", "items": ["A"], "play_mode": 3}]}})",
         "catalogues.macros[0].play_mode: 3 is out of range (0 to 2)"},
    };
    for (const auto& test : cases) {
        auto data = Catalogued();
        data->BackgroundLightSettings[1] = {1, 2, 3};
        CJsonRefusal refusal;
        EXPECT_FALSE(ReadProfileJson(test.Json, *data, refusal)) << test.Line;
        EXPECT_EQ(refusal.Line(), test.Line);
        EXPECT_EQ(data->BackgroundLightSettings[1].Red, 1) << "nothing read: " << test.Line;
    }
    auto data = Catalogued();
    CJsonRefusal refusal;
    EXPECT_TRUE(ReadProfileJson(RecordedMacro(16384), *data, refusal)) << refusal.Line();
}

TEST(ProfileJsonReader, KeysAreFoundByTheirLegends) {
    const struct {
        std::string Legend;
        int Key;
    } cases[] = {{"Esc", 1},         {"esc", 1},   {"F12", 13},   {"` ~", 14},
                 {"~", 14},          {"1", 15},    {"!", 15},     {"A", 43},
                 {"Left Shift", 55}, {"Shift", 0}, {"Space", 70}, {"Right Ctrl", 74},
                 {"Right", 87},      {"", 0},      {"F13", 0}};
    for (const auto& test : cases)
        EXPECT_EQ(KeyOfLegend(test.Legend), test.Key) << test.Legend;
}

} // namespace
