// zelk-cli show --json: a profile as one JSON document, for scripts.
#pragma once

#include <string>

class CKeyboardData;

// The document, one key or catalogue entry per line:
//   {"format": 1,
//    "keys": [{"key": 1, "name": "Esc", "colour": {"red": R, "green": G, "blue": B},
//              "levels": [{"level": 1, "kind": "single", "mode": 1, "code": 4, "label": "F3",
//                          "items": []}, {"level": 2, ...}]}, ...],
//    "catalogues": {"combinations": [{"name": "...", "items": ["A", "B"]}, ...],
//                   "macros": [...], "emulations": [...]}}
// Levels holding a macro or an emulation, and the entries of those two catalogues, also carry their
// play settings: "cycles", "auto_interval", "delay", "play_mode". Labels follow data.UiLanguage.
std::string ProfileJson(const CKeyboardData& data);

// text as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);
