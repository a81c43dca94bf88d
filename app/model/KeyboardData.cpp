#include "model/KeyboardData.h"

#include "catalogue/ContentItem.h"
#include "text/UiLanguage.h"

namespace {

void ClearCatalogue(CActionList& catalogue, int sizeOfView) {
    catalogue.Clear();
    catalogue.SizeOfView = sizeOfView;
}

} // namespace

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
