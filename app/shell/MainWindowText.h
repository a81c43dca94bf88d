// The texts of the main window: its info panel (the program's title, or the two assignments of the
// key under the mouse; line ends CR LF, as the panel's text is kept), the status line beneath it, the
// buttons' tooltips and its questions, in the UI language.
#pragma once

#include "model/KeyboardData.h"
#include "model/ProfileHistory.h"
#include "text/UiTexts.h"

#include <string>

std::u16string MainWindowTitle(UiLanguage language);
std::u16string KeyInfoText(const CKeyboardData& data, int keyIndex);
// The info panel during the key test: the key last pressed (0: none of the keyboard's keys), its scan
// code and its assignments.
std::u16string KeyTestText(const CKeyboardData& data, int keyIndex, unsigned scanCode);
// The two lines of a key's assignments on both levels, each after an empty line.
std::u16string AssignmentLines(const CKeyboardData& data, int keyIndex);

// The name of an undo step in every language: a key's assignment as the step left it ("F2 Multimedia
// Play/Pause"), or a command by its text, %1 filled with argument.
CHistoryStep KeyAssignmentStep(const CKeyboardData& data, int keyIndex, int level);
CHistoryStep CommandStep(TextId id, const std::u16string& argument = {});
// A text of id with the step's name for %1 ("Undone: Clear"); without a step, the text without it.
std::u16string StepText(TextId id, UiLanguage language, const CHistoryStep* step);

// What the window works with: the keyboard, or the virtual keyboard and the file that keeps its
// settings (none: they are not kept).
struct CConnectionShown {
    bool VirtualKeyboard = false;
    std::u16string StateFile;
    // The keyboard was found but could not be opened.
    bool Unopened = false;
};
std::u16string ConnectionText(UiLanguage language, const CConnectionShown& connection);
std::u16string SaveStateText(UiLanguage language, bool unsaved);

// The tooltip of a button (by area id): what it does, and its shortcut; empty for other areas.
// Without a notification area, Hide minimises the window.
std::u16string ButtonTip(UiLanguage language, int id, bool trayAvailable);

// Asked before unsaved changes would be lost; when the program is ending, there is no way back.
std::u16string SaveChangesQuestion(UiLanguage language, bool ending);
std::u16string SaveAnswer(UiLanguage language);
std::u16string DiscardAnswer(UiLanguage language);
std::u16string CancelAnswer(UiLanguage language);
