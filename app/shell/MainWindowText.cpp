#include "shell/MainWindowText.h"

#include "catalogue/KeyCatalogue.h"
#include "model/AssignmentLabel.h"
#include "shell/MainWindowAreas.h"
#include "text/UiTexts.h"

namespace {

std::u16string LevelLine(const CKeyboardData& data, int keyIndex, int level) {
    const int mode =
        data.CurrentSettings[static_cast<std::size_t>(keyIndex)][static_cast<std::size_t>(level)].Mode;
    return ModeName(data, data.UiLanguage, mode) + u" " + AssignmentLabel(data, keyIndex, level);
}

TextId ButtonTipId(int id, bool trayAvailable) {
    switch (id) {
    case IdLanguage:
        return TextId::LanguageTip;
    case IdHelp:
        return TextId::HelpTip;
    case IdHide:
        return trayAvailable ? TextId::HideTip : TextId::MinimiseTip;
    case IdExit:
        return TextId::ExitTip;
    case IdSave:
        return TextId::SaveTip;
    case IdOpen:
        return TextId::OpenTip;
    case IdClear:
        return TextId::ClearTip;
    case IdWriteKeys:
        return TextId::WriteKeysTip;
    case IdBacklight:
        return TextId::BacklightTip;
    case IdReadAll:
        return TextId::ReadAllTip;
    case IdFirmware:
        return TextId::FirmwareTip;
    case IdLayer:
        return TextId::LayerTip;
    default:
        return TextId::None;
    }
}

} // namespace

std::u16string MainWindowTitle(UiLanguage language) {
    return Utf16Text(TextId::MainWindowTitle, language);
}

std::u16string KeyInfoText(const CKeyboardData& data, int keyIndex) {
    if (keyIndex < 1 || keyIndex >= KeyIndexCount)
        return MainWindowTitle(data.UiLanguage);
    std::u16string text = MainWindowTitle(data.UiLanguage);
    text += u"\r\n\r\n" + Utf16Text(TextId::LevelOneHeading, data.UiLanguage);
    text += LevelLine(data, keyIndex, 0);
    text += u"\r\n\r\n" + Utf16Text(TextId::LevelTwoHeading, data.UiLanguage);
    text += LevelLine(data, keyIndex, 1);
    text += u"\r\n";
    return text;
}

std::u16string ConnectionText(UiLanguage language, const CConnectionShown& connection) {
    if (!connection.VirtualKeyboard)
        return Utf16Text(connection.Unopened ? TextId::KeyboardUnopenedStatus : TextId::ConnectedStatus,
                         language);
    if (connection.StateFile.empty())
        return Utf16Text(TextId::VirtualKeyboardStatus, language);
    std::u16string text = Utf16Text(TextId::VirtualKeyboardFileStatus, language);
    if (const std::size_t at = text.find(u"%1"); at != std::u16string::npos)
        text.replace(at, 2, connection.StateFile);
    return text;
}

std::u16string SaveStateText(UiLanguage language, bool unsaved) {
    return Utf16Text(unsaved ? TextId::UnsavedChanges : TextId::NoUnsavedChanges, language);
}

std::u16string ButtonTip(UiLanguage language, int id, bool trayAvailable) {
    return Utf16Text(ButtonTipId(id, trayAvailable), language);
}

std::u16string SaveChangesQuestion(UiLanguage language, bool ending) {
    return Utf16Text(ending ? TextId::SaveBeforeEnding : TextId::SaveBeforeLosing, language);
}

std::u16string SaveAnswer(UiLanguage language) {
    return Utf16Text(TextId::SaveAnswer, language);
}

std::u16string DiscardAnswer(UiLanguage language) {
    return Utf16Text(TextId::DiscardAnswer, language);
}

std::u16string CancelAnswer(UiLanguage language) {
    return Utf16Text(TextId::Cancel, language);
}
