// zelk-cli show --json: a profile as one JSON document, for scripts.
#pragma once

#include <string>
#include <string_view>

class CKeyboardData;

// The document, one key or catalogue entry per line:
//   {"format": 1,
//    "keys": [{"key": 1, "name": "Esc", "colour": {"red": R, "green": G, "blue": B},
//              "levels": [{"level": 1, "kind": "single", "mode": 1, "code": 4, "label": "F3",
//                          "items": []}, {"level": 2, ...}]}, ...],
//    "catalogues": {"combinations": [{"name": "...", "items": ["A", "B"]}, ...],
//                   "macros": [...], "emulations": [...]}}
// Levels holding a macro or an emulation, and the entries of those two catalogues, also carry their
// play settings: "cycles", "auto_interval", "delay", "play_mode"; other levels and entries carry them
// only when they are not a fresh list's. Labels follow data.UiLanguage.
// What import cannot derive is printed only where a profile holds it: a list's "list" object gives the
// rows, view position ("top", "cursor") and child lists ("sublists") that differ from the layout of
// ProfileLayout.h, and "combination_list", "macro_list", "emulation_list" in "catalogues" do the same
// for the catalogues' own lists. With them, import of this document gives back the same file.
std::string ProfileJson(const CKeyboardData& data);

// The assignment kind's name by Mode ("none", "single", "combo", ...), "unknown" for no kind.
const char* KindName(int mode);
// The Mode of a kind's name; -1 for no kind.
int KindOfName(std::string_view name);

// text as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);
