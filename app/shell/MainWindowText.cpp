#include "shell/MainWindowText.h"

#include "ZelkVersion.h"
#include "catalogue/KeyCatalogue.h"

namespace {

bool IsEnglish(const std::string& language) {
    return language == "en-US";
}

const std::u16string& KindName(const CKeyboardData& data, int mode) {
    static const std::u16string none;
    if (mode < 0 || mode >= KeyModeCount)
        return none;
    const auto index = static_cast<std::size_t>(mode);
    return IsEnglish(data.UiLanguage) ? data.ModeNamesEn[index] : data.ModeNamesZh[index];
}

std::u16string LevelLine(const CKeyboardData& data, int keyIndex, int level) {
    const int mode =
        data.CurrentSettings[static_cast<std::size_t>(keyIndex)][static_cast<std::size_t>(level)].Mode;
    return KindName(data, mode) + u" " + AssignmentLabel(data, keyIndex, level);
}

} // namespace

std::u16string MainWindowTitle(const std::string& language) {
    return IsEnglish(language) ? u"Zelk Programming Software [Ver " ZELK_VERSION "]"
                               : u"Zelk 编程软件 [版本 " ZELK_VERSION "]";
}

std::u16string KeyInfoText(const CKeyboardData& data, int keyIndex) {
    if (keyIndex < 1 || keyIndex >= KeyIndexCount)
        return MainWindowTitle(data.UiLanguage);
    const bool english = IsEnglish(data.UiLanguage);
    std::u16string text = MainWindowTitle(data.UiLanguage);
    text += english ? u"\r\n\r\nKey settings L1：" : u"\r\n\r\n上档键：";
    text += LevelLine(data, keyIndex, 0);
    text += english ? u"\r\n\r\nKey settings L2：" : u"\r\n\r\n下档键：";
    text += LevelLine(data, keyIndex, 1);
    text += u"\r\n";
    return text;
}
