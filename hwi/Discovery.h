// Which of the enumerated HID interfaces is the keyboard's configuration interface.
#pragma once

#include "zelk/ZelkHWI.h"

#include <vector>

// A path in the system's interface notation ("...vid_0483&pid_5021&mi_01...") decides by its markers,
// matched case-sensitively; other paths (hidraw nodes, macOS service ids) by the ids and interface 1.
bool IsKeyboardInterface(const CHidInterface& candidate);

// Index of the first matching interface in enumeration order, or -1.
int FindKeyboardInterface(const std::vector<CHidInterface>& interfaces);
