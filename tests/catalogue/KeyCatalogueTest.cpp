#include "catalogue/KeyCatalogue.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class KeyCatalogue : public ::testing::Test {
protected:
    static void SetUpTestSuite() { BuildKeyCatalogue(*Data); }
    static inline auto Data = std::make_unique<CKeyboardData>();
};

// The lowest key code with this exact name, as a search in key-code order finds it.
int FirstCodeNamed(const CKeyboardData& data, const std::u16string& name) {
    for (const auto& [code, entry] : data.KeyNames) {
        if (entry == name) {
            return code;
        }
    }
    return -1;
}

TEST_F(KeyCatalogue, HoldsEveryNameAndDeviceCode) {
    EXPECT_EQ(Data->KeyNames.size(), 234u);
    int withDeviceCode = 0;
    for (int code : Data->DeviceCodeOfKey) {
        withDeviceCode += code != 0 ? 1 : 0;
    }
    EXPECT_EQ(withDeviceCode, 160);
    EXPECT_EQ(Data->UiLanguage, "zh-CN");

    // Building again gives the same catalogue.
    auto again = std::make_unique<CKeyboardData>();
    EXPECT_TRUE(BuildKeyCatalogue(*again));
    EXPECT_TRUE(BuildKeyCatalogue(*again));
    EXPECT_EQ(again->KeyNames, Data->KeyNames);
    EXPECT_EQ(again->DeviceCodeOfKey, Data->DeviceCodeOfKey);
    EXPECT_EQ(again->KeyOfDeviceCode, Data->KeyOfDeviceCode);
}

TEST_F(KeyCatalogue, TrickyNamesAreSpelledExactly) {
    const auto& names = Data->KeyNames;
    EXPECT_EQ(names.at(95), u"Sleep");
    EXPECT_EQ(names.at(332), u"Sleep");
    EXPECT_EQ(FirstCodeNamed(*Data, u"Sleep"), 95);
    EXPECT_EQ(DeviceCodeOfKey(*Data, 95), 0);
    EXPECT_EQ(DeviceCodeOfKey(*Data, 332), 76);
    EXPECT_EQ(DeviceCodeLabel(*Data, 76), u"Sleep");

    EXPECT_EQ(names.at(176), u"Next Track");
    EXPECT_EQ(names.at(364), u"Next track");
    EXPECT_EQ(FirstCodeNamed(*Data, u"Next track"), 364);
    EXPECT_EQ(names.at(12), u"CLEAR");
    EXPECT_EQ(names.at(254), u"Clear");
    EXPECT_EQ(names.at(192), std::u16string(1, u'`'));
    EXPECT_EQ(names.at(220), std::u16string(1, u'\\'));
    EXPECT_EQ(names.at(164), u"Left Alt");
    EXPECT_EQ(names.at(18), u"Left ALT");
    const std::u16string& packet = names.at(231);
    EXPECT_EQ(packet.size(), 244u);
    EXPECT_EQ(packet.substr(packet.size() - 35), u"SendInput, WM_KEYDOWN, and WM_KEYUP");
}

TEST_F(KeyCatalogue, DeviceCodesTranslateBothWays) {
    const std::pair<int, int> keys[] = {
        {27, 1},  {123, 13}, {192, 14}, {220, 41}, {65, 43}, {65 + KeyReleaseFlag, 43},
        {13, 54}, {163, 74}, {333, 77}, {44, 78},  {39, 90}, {269, 107},
        {16, 0},  {124, 0},  {174, 0},
    };
    for (const auto& [key, device] : keys) {
        EXPECT_EQ(DeviceCodeOfKey(*Data, key), device) << "key code " << key;
    }
    EXPECT_EQ(KeyOfDeviceCode(*Data, 43), 65);
    EXPECT_EQ(KeyOfDeviceCode(*Data, 77), 333);
    EXPECT_EQ(KeyOfDeviceCode(*Data, 0), 1023);
    EXPECT_EQ(KeyOfDeviceCode(*Data, 160), 0);
    EXPECT_EQ(KeyOfDeviceCode(*Data, -1), -1);
    EXPECT_EQ(KeyOfDeviceCode(*Data, 1024), -1);

    for (int device = 1; device <= 199; ++device) {
        if (device > 159 && device < 199) {
            continue;
        }
        EXPECT_EQ(DeviceCodeOfKey(*Data, KeyOfDeviceCode(*Data, device)), device) << "device code " << device;
        EXPECT_NE(DeviceCodeLabel(*Data, device), NoKeyName) << "device code " << device;
    }
    const std::pair<int, std::u16string> labels[] = {
        {75, u"Wake Up"},
        {77, u"Power"},
        {108, u"Next track"},
        {125, u"WWW Favorities"},
        {130, u"Mouse Key Left"},
        {156, u"FN"},
        {159, u"Programmable Keyboard"},
        {199, u"Left Double Click"},
        {0, NoKeyName},
        {160, NoKeyName},
        {198, NoKeyName},
        {-1, NoKeyName},
        {1024, NoKeyName},
    };
    for (const auto& [device, label] : labels) {
        EXPECT_EQ(DeviceCodeLabel(*Data, device), label) << "device code " << device;
    }
}

TEST_F(KeyCatalogue, KeyLabelsCarryDirectionWhenAsked) {
    EXPECT_EQ(KeyLabel(*Data, 13, true), u"ENTER Down");
    EXPECT_EQ(KeyLabel(*Data, 269, true), u"(Enter) Down");
    EXPECT_EQ(KeyLabel(*Data, 13 + KeyReleaseFlag, true), u"ENTER UP");
    EXPECT_EQ(KeyLabel(*Data, 65, true), u"A Down");
    EXPECT_EQ(KeyLabel(*Data, 65 + KeyReleaseFlag, true), u"A UP");
    EXPECT_EQ(KeyLabel(*Data, 65, false), u"A");
    EXPECT_EQ(KeyLabel(*Data, 65 + KeyReleaseFlag, false), u"A");
    for (int code : {7, 14, 511, 7 + KeyReleaseFlag, 1023}) {
        EXPECT_EQ(KeyLabel(*Data, code, true), NoKeyName) << "code " << code;
        EXPECT_EQ(KeyLabel(*Data, code, false), NoKeyName) << "code " << code;
    }
}

TEST_F(KeyCatalogue, KindNamesInBothLanguages) {
    EXPECT_EQ(Data->ModeNamesZh[4], u"模拟击键");
    EXPECT_EQ(Data->ModeNamesEn[4], u"Emulation");

    auto data = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*data);
    EXPECT_EQ(ModeName(*data, ModeMouse), u"鼠标键");
    data->UiLanguage = "en-US";
    EXPECT_EQ(ModeName(*data, ModeMouse), u"Mouse");
    EXPECT_EQ(ModeName(*data, 9), u"");
    EXPECT_EQ(ModeName(*data, -1), u"");
}

class AssignmentLabels : public ::testing::Test {
protected:
    void SetUp() override {
        BuildKeyCatalogue(Data);
        Data.Clear();
    }

    KeySetting& Key(int mode, std::initializer_list<std::u16string> items) {
        KeySetting& setting = Data.CurrentSettings[5][1];
        setting.Mode = mode;
        setting.ComboKey.SizeOfView = 9;
        for (const std::u16string& item : items) {
            setting.ComboKey.AppendItem(item);
        }
        return setting;
    }
    std::u16string Label() const { return AssignmentLabel(Data, 5, 1); }

    CKeyboardData Data;
};

TEST_F(AssignmentLabels, SingleCodesShowTheirName) {
    EXPECT_EQ(Label(), u"");
    Key(ModeSingle, {}).HWCode = 43;
    EXPECT_EQ(Label(), u"A");
    Key(ModeMouse, {}).HWCode = 199;
    EXPECT_EQ(Label(), u"Left Double Click");
    Key(ModePower, {}).HWCode = 500;
    EXPECT_EQ(Label(), NoKeyName);
    // An unknown kind shows nothing, and so does a key or level with no record.
    Key(9, {}).HWCode = 43;
    EXPECT_EQ(Label(), u"");
    EXPECT_EQ(AssignmentLabel(Data, 88, 0), u"");
    EXPECT_EQ(AssignmentLabel(Data, 5, 2), u"");
    EXPECT_EQ(AssignmentLabel(Data, -1, 0), u"");
}

TEST_F(AssignmentLabels, CombinationsAndEmulationsJoinTheirItems) {
    Key(ModeCombo, {});
    EXPECT_EQ(Label(), u"");
    Key(ModeCombo, {u"Left CONTROL", u"C"});
    EXPECT_EQ(Label(), u"Left CONTROL | C");
    Key(ModeEmulation, {u"A Down"});
    EXPECT_EQ(Label(), u"Left CONTROL | C | A Down");
}

TEST_F(AssignmentLabels, MacrosShortenTheirSteps) {
    Key(ModeMacro, {u"A Down", u"<30 ms>", u"A UP"});
    EXPECT_EQ(Label(), u"A,30,A");

    Data.CurrentSettings[5][1].ComboKey.Clear();
    Key(ModeMacro, {u"Volume Down Down", u"PAGE DOWN Down", u"PAGE UP UP", u"UP ARROW UP", u"<>", u"<7 ms>x",
                    u"<1 ms> UP", u" UP", u" Down"});
    EXPECT_EQ(Label(), u"Volume Down Down,PAGE DOWN,PAGE UP UP,UP ARROW,<>,<7 ms>x,<1 ms>, UP, Down");
}

TEST_F(AssignmentLabels, LongMacrosStopPast120Characters) {
    // 120 characters exactly is still whole.
    Key(ModeMacro, {std::u16string(118, u'x'), u"A Down"});
    EXPECT_EQ(Label(), std::u16string(118, u'x') + u",A");

    Data.CurrentSettings[5][1].ComboKey.Clear();
    Key(ModeMacro, {std::u16string(119, u'x'), u"A Down", u"B Down"});
    EXPECT_EQ(Label(), std::u16string(119, u'x') + u",A ... ...");

    // "SPACEBAR" and "," take 9 characters a step: the 14th step passes 120.
    Data.CurrentSettings[5][1].ComboKey.Clear();
    KeySetting& setting = Key(ModeMacro, {});
    for (int i = 0; i < 30; ++i) {
        setting.ComboKey.AppendItem(i % 2 == 0 ? u"SPACEBAR Down" : u"SPACEBAR UP");
    }
    std::u16string expected;
    for (int i = 0; i < 14; ++i) {
        expected += (i > 0 ? u",SPACEBAR" : u"SPACEBAR");
    }
    EXPECT_EQ(Label(), expected + u" ... ...");
}

} // namespace
