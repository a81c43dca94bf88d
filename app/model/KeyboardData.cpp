#include "model/KeyboardData.h"

#include "catalogue/ContentItem.h"
#include "text/UiLanguage.h"

namespace {

void ClearCatalogue(CActionList& catalogue, int sizeOfView) {
    catalogue.Clear();
    catalogue.SizeOfView = sizeOfView;
}

} // namespace

int KeyModeOfSingleCode(int deviceCode) {
    if (deviceCode >= 108 && deviceCode <= 125) {
        return ModeMultimedia;
    }
    if (deviceCode >= 126 && deviceCode <= 134) {
        return ModeMouse;
    }
    if (deviceCode >= 135 && deviceCode <= 159) {
        return ModeFunction;
    }
    if (deviceCode >= 75 && deviceCode <= 77) {
        return ModePower;
    }
    return ModeSingle;
}

void CKeyboardData::Clear() {
    ClearCatalogue(PredefinedMacro, MacroViewRows);
    ClearCatalogue(PredefinedCombo, ComboViewRows);
    ClearCatalogue(PredefinedEmu, EmuViewRows);

    BackgroundLightSettings.fill(AreaLight{});

    for (int key = 0; key < KeyIndexCount; ++key) {
        for (KeySetting& setting : CurrentSettings[static_cast<std::size_t>(key)]) {
            setting.Mode = ModeNotSet;
            setting.HWCode = key;
            setting.ComboKey.Clear();
        }
    }
}

bool BuildKeyCatalogue(CKeyboardData& data) {
    FillKeyCatalogue(data);
    data.UiLanguage = StartUiLanguage;
    return true;
}
