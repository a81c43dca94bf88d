#include "shell/MainWindowText.h"

#include "catalogue/KeyCatalogue.h"
#include "catalogue/KeyLegends.h"
#include "model/AssignmentLabel.h"
#include "shell/MainWindowAreas.h"
#include "text/UiTexts.h"

#include <QString>

#include <cstdio>

namespace {

std::u16string Utf16(const char* text) {
    return QString::fromUtf8(text).toStdU16String();
}

std::u16string Replaced(std::u16string text, std::u16string_view marker, const std::u16string& by) {
    if (const std::size_t at = text.find(marker); at != std::u16string::npos)
        text.replace(at, marker.size(), by);
    return text;
}

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
    return MainWindowTitle(data.UiLanguage) + AssignmentLines(data, keyIndex);
}

std::u16string KeyTestText(const CKeyboardData& data, int keyIndex, unsigned scanCode) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%02X", scanCode);
    const std::u16string name =
        keyIndex >= 1 && keyIndex <= KeyCount ? Utf16(KeyLegendOf(keyIndex).name) : NoKeyName;
    return Replaced(Replaced(Utf16Text(TextId::KeyTestInfo, data.UiLanguage), u"%1", name), u"%2",
                    Utf16(hex)) +
           AssignmentLines(data, keyIndex);
}

CHistoryStep KeyAssignmentStep(const CKeyboardData& data, int keyIndex, int level) {
    CHistoryStep step;
    const int mode =
        data.CurrentSettings[static_cast<std::size_t>(keyIndex)][static_cast<std::size_t>(level)].Mode;
    for (std::size_t index = 0; index < UiLanguageCount; ++index) {
        const auto language = static_cast<UiLanguage>(index);
        step.Name[index] = Utf16(KeyLegendOf(keyIndex).name) + u" " + ModeName(data, language, mode);
        if (const std::u16string label = AssignmentLabel(data, keyIndex, level); !label.empty())
            step.Name[index] += u" " + label;
    }
    return step;
}

CHistoryStep CommandStep(TextId id, const std::u16string& argument) {
    CHistoryStep step;
    for (std::size_t index = 0; index < UiLanguageCount; ++index)
        step.Name[index] = Replaced(Utf16Text(id, static_cast<UiLanguage>(index)), u"%1", argument);
    return step;
}

std::u16string StepText(TextId id, UiLanguage language, const CHistoryStep* step) {
    // Without a step the menu says only what it would do: "Undo (Ctrl+Z)".
    if (step == nullptr)
        return Replaced(Replaced(Utf16Text(id, language), u" %1", {}), u"%1", {});
    return Replaced(Utf16Text(id, language), u"%1", step->In(language));
}

std::u16string AssignmentLines(const CKeyboardData& data, int keyIndex) {
    if (keyIndex < 1 || keyIndex >= KeyIndexCount)
        return {};
    std::u16string text = u"\r\n\r\n" + Utf16Text(TextId::LevelOneHeading, data.UiLanguage);
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
    return Replaced(text, u"%1", connection.StateFile);
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
