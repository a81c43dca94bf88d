#include "model/KeyboardData.h"
#include "model/KeyboardRules.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(KeyboardData, ClearResetsUserStateOnBothLevelsAndKeepsTheRest) {
    auto data = std::make_unique<CKeyboardData>();
    data->UiLanguage = UiLanguage::English;
    data->CurrentKey = 12;
    data->CurrentLevel = 1;
    data->LightSelection[5] = 1;
    data->ChosenColour = {4, 5, 6};
    data->FirmwarePath = u"fw.hex";
    for (CActionList* catalogue : {&data->PredefinedMacro, &data->PredefinedCombo, &data->PredefinedEmu}) {
        catalogue->SizeOfView = 3;
        catalogue->AppendItem(u"entry");
        catalogue->AppendItem(u"entry");
        catalogue->Delay = 99;
        catalogue->PlayMode = 2;
    }
    for (int key = 0; key < KeyIndexCount; ++key) {
        data->BackgroundLightSettings[key] = {255, 128, 1};
        for (KeySetting& setting : data->CurrentSettings[key]) {
            setting = KeySetting{ModeMacro, 500, {}};
            setting.ComboKey.SizeOfView = 9;
            setting.ComboKey.AppendItem(u"A Down");
            setting.ComboKey.Cycles = 7;
        }
    }

    data->Clear();

    const CActionList* catalogues[] = {&data->PredefinedMacro, &data->PredefinedCombo, &data->PredefinedEmu};
    const int viewSizes[] = {9, 6, 9};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(catalogues[i]->SizeOfView, viewSizes[i]);
        EXPECT_TRUE(catalogues[i]->SubLists.empty());
        EXPECT_EQ(catalogues[i]->ViewStartAt + catalogues[i]->CursorPos, 0);
        EXPECT_TRUE(catalogues[i]->ContentEquals(CActionList{}));
    }
    for (int key = 0; key < KeyIndexCount; ++key) {
        const AreaLight& light = data->BackgroundLightSettings[key];
        EXPECT_EQ(light.Red | light.Green | light.Blue, 0);
        for (const KeySetting& setting : data->CurrentSettings[key]) {
            EXPECT_EQ(setting.Mode, ModeNotSet);
            EXPECT_EQ(setting.HWCode, key);
            EXPECT_TRUE(setting.ComboKey.ContentEquals(CActionList{}));
            EXPECT_TRUE(setting.ComboKey.SubLists.empty());
            EXPECT_EQ(setting.ComboKey.ViewStartAt + setting.ComboKey.CursorPos, 0);
            EXPECT_EQ(setting.ComboKey.SizeOfView, 9);
        }
    }
    EXPECT_EQ(data->UiLanguage, UiLanguage::English);
    EXPECT_EQ(data->CurrentKey, 12);
    EXPECT_EQ(data->CurrentLevel, 1);
    EXPECT_EQ(data->LightSelection[5], 1);
    EXPECT_EQ(data->ChosenColour.Green, 5);
    EXPECT_EQ(data->FirmwarePath, u"fw.hex");
}

TEST(KeyboardData, SingleCodesReadBackAsTheirKind) {
    const std::pair<int, int> expected[] = {
        {20, ModeSingle},  {74, ModeSingle},      {75, ModePower},       {77, ModePower},   {78, ModeSingle},
        {107, ModeSingle}, {108, ModeMultimedia}, {125, ModeMultimedia}, {126, ModeMouse},  {130, ModeMouse},
        {134, ModeMouse},  {135, ModeFunction},   {159, ModeFunction},   {160, ModeSingle}, {199, ModeMouse},
    };
    for (const auto& [code, mode] : expected) {
        EXPECT_EQ(KindOfSingleCode(code), mode) << "device code " << code;
    }
}

} // namespace
