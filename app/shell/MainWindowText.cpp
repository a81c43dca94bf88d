#include "shell/MainWindowText.h"

#include "ZelkVersion.h"
#include "catalogue/KeyCatalogue.h"
#include "catalogue/UiLanguage.h"
#include "model/AssignmentLabel.h"
#include "shell/MainWindowAreas.h"

namespace {

bool IsEnglish(const std::string& language) {
    return IsEnglishUi(language);
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

std::u16string ConnectionText(const std::string& language, const CConnectionShown& connection) {
    const bool english = IsEnglish(language);
    if (!connection.VirtualKeyboard) {
        if (connection.Unopened)
            return english ? u"Keyboard found but not opened" : u"已找到键盘，但无法打开";
        return english ? u"Connected to the keyboard" : u"已连接键盘";
    }
    if (connection.StateFile.empty())
        return english ? u"Virtual keyboard (its settings are not kept)" : u"虚拟键盘（设置不会保留）";
    return (english ? u"Virtual keyboard (settings kept in " : u"虚拟键盘（设置保存在 ") +
           connection.StateFile + (english ? u")" : u"）");
}

std::u16string SaveStateText(const std::string& language, bool unsaved) {
    if (unsaved)
        return IsEnglish(language) ? u"Unsaved changes" : u"有未保存的更改";
    return IsEnglish(language) ? u"No unsaved changes" : u"没有未保存的更改";
}

std::u16string ButtonTip(const std::string& language, int id, bool trayAvailable) {
    const bool english = IsEnglish(language);
    switch (id) {
    case IdLanguage:
        return english ? u"Switch the program to Chinese" : u"切换为英文界面";
    case IdHelp:
        return english ? u"Open the manual" : u"打开使用手册";
    case IdHide:
        if (!trayAvailable)
            return english ? u"Minimise the window" : u"最小化窗口";
        return english ? u"Hide the window to the notification area" : u"隐藏到通知区域";
    case IdExit:
        return english ? u"Exit the program" : u"退出程序";
    case IdSave:
        return english ? u"Save the profile to a file (Ctrl+S)" : u"将配置保存到文件（Ctrl+S）";
    case IdOpen:
        return english ? u"Open a profile from a file (Ctrl+O)" : u"从文件打开配置（Ctrl+O）";
    case IdClear:
        return english ? u"Clear every key assignment, backlight colour and list"
                       : u"清空所有按键设置、背光颜色和列表";
    case IdWriteKeys:
        return english ? u"Write the key assignments to the keyboard" : u"将按键设置写入键盘";
    case IdBacklight:
        return english ? u"Set the backlight colour of every key" : u"设置每个按键的背光颜色";
    case IdReadAll:
        return english ? u"Read the key assignments and backlight colours from the keyboard"
                       : u"从键盘读取按键设置和背光颜色";
    case IdFirmware:
        return english ? u"Read the firmware version and update the keyboard's firmware"
                       : u"读取固件版本并升级键盘固件";
    case IdLayer:
        return english ? u"Show the other layer (Level 1 or Level 2)" : u"切换显示的按键层（上档键或下档键）";
    default:
        return {};
    }
}

std::u16string SaveChangesQuestion(const std::string& language, bool ending) {
    if (ending) {
        return IsEnglish(language)
                   ? u"The program is ending. The profile has unsaved changes: save them first?"
                   : u"程序即将退出。当前配置有未保存的更改，是否先保存？";
    }
    return IsEnglish(language) ? u"The profile has unsaved changes. Save them first?"
                               : u"当前配置有未保存的更改，是否先保存？";
}

std::u16string SaveAnswer(const std::string& language) {
    return IsEnglish(language) ? u"Save" : u"保存";
}

std::u16string DiscardAnswer(const std::string& language) {
    return IsEnglish(language) ? u"Don't Save" : u"不保存";
}

std::u16string CancelAnswer(const std::string& language) {
    return IsEnglish(language) ? u"Cancel" : u"取消";
}
