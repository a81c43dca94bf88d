// The firmware transfer: one record report per Intel-HEX line.
#pragma once

#include "KeyboardUtil.h"

#include <string>
#include <string_view>

// Sends a checked firmware text record by record, posting progress on a 0..150 scale. Nothing is sent
// when the text fails the checks, and only one transfer runs at a time in a process.
bool SendFirmware(CKeyboardUtil& transport, std::string_view text, CMessageTarget* target);
