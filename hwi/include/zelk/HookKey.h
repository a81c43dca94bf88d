// The translation of one key event into WM_HOOK_KEY values, shared by every platform's capture.
#pragma once

#include "zelk/ZelkHWI.h"

// A Windows low-level hook event: message WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP (any other
// value counts as a press), the record's virtual-key code and flags (bit 0, LLKHF_EXTENDED).
CHookKey HookKeyOfMessage(unsigned message, unsigned virtualKey, unsigned flags);
