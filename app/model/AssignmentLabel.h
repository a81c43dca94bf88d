// The one-line text of a key's assignment on a level, as the main window's info panel and zelk-cli
// show it: a code's key name, a combination's or emulation's items, or a macro's steps in short.
#pragma once

#include "model/KeyboardData.h"

#include <cstddef>
#include <string>

// A macro label stops once it is longer than this many characters.
inline constexpr std::size_t MacroLabelLimit = 120;

// One-line text of the assignment of a key index on a level; empty for an unassigned key.
std::u16string AssignmentLabel(const CKeyboardData& data, int key, int level);
