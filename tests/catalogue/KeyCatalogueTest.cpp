#include "catalogue/KeyCatalogue.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class KeyCatalogue : public ::testing::Test {
protected:
    static void SetUpTestSuite() { FillKeyCatalogue(*Data); }
    static inline auto Data = std::make_unique<CKeyCatalogue>();
};

// The lowest key code with this exact name, as a search in key-code order finds it.
int FirstCodeNamed(const CKeyCatalogue& data, const std::u16string& name) {
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

    // Filling again gives the same catalogue.
    auto again = std::make_unique<CKeyCatalogue>();
    FillKeyCatalogue(*again);
    FillKeyCatalogue(*again);
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
    EXPECT_EQ(ModeName(*Data, UiLanguage::Chinese, 4), u"模拟击键");
    EXPECT_EQ(ModeName(*Data, UiLanguage::English, 4), u"Emulation");

    EXPECT_EQ(ModeName(*Data, UiLanguage::Chinese, ModeMouse), u"鼠标键");
    EXPECT_EQ(ModeName(*Data, UiLanguage::English, ModeMouse), u"Mouse");
    EXPECT_EQ(ModeName(*Data, UiLanguage::English, 9), u"");
    EXPECT_EQ(ModeName(*Data, UiLanguage::English, -1), u"");
}

} // namespace
