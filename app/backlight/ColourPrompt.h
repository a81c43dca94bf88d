// The system colour dialog as the backlight dialogs ask it: opened fully with a colour preselected,
// answering the chosen colour, or nothing when the user cancels. Tests answer it themselves.
#pragma once

#include "model/KeyboardData.h"

#include <functional>
#include <optional>

class QWidget;

using CColourPrompt = std::function<std::optional<AreaLight>(QWidget* owner, const AreaLight& initial)>;

CColourPrompt SystemColourPrompt();
