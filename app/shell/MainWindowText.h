// The texts of the main window's info panel: the program's title, or the two assignments of the
// key under the mouse, in the UI language. Line ends are CR LF, as the panel's text is kept.
#pragma once

#include "model/KeyboardData.h"

#include <string>

std::u16string MainWindowTitle(const std::string& language);
std::u16string KeyInfoText(const CKeyboardData& data, int keyIndex);
