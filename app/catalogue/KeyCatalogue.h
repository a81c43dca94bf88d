// The key catalogue: the English name of every key the program can record, show or send, the
// translation between key codes (virtual-key codes, or 256 plus a number) and the keyboard's device
// codes, the assignment kinds' display names and the one-line label of a key's assignment.
//
// Key names are stored in profile files and turned back into device codes by name, so every name
// here must keep its exact spelling.
#pragma once

#include "model/KeyboardData.h"

#include <cstddef>
#include <string>

// An event code carries this flag when the event is a key release.
inline constexpr int KeyReleaseFlag = 512;
// The text shown for a code without a name.
inline constexpr char16_t NoKeyName[] = u"-- --";
// A macro label stops once it is longer than this many characters.
inline constexpr std::size_t MacroLabelLimit = 120;

// Fills the key names, both code tables and the kind names, and sets UiLanguage to "zh-CN".
bool BuildKeyCatalogue(CKeyboardData& data);

// The key's name, followed by " UP" for a release or " Down" for a press when withDirection.
std::u16string KeyLabel(const CKeyboardData& data, int eventCode, bool withDirection);
// The name of the key code that names deviceCode, or "-- --".
std::u16string DeviceCodeLabel(const CKeyboardData& data, int deviceCode);
// -1 for a device code outside 0..1023.
int KeyOfDeviceCode(const CKeyboardData& data, int deviceCode);
// 0 when the key has no device code; a release event gives the same code as the press.
int DeviceCodeOfKey(const CKeyboardData& data, int eventCode);
// One-line text of the assignment of a key index on a level; empty for an unassigned key.
std::u16string AssignmentLabel(const CKeyboardData& data, int key, int level);
// The kind's display name in the UI language ("en-US" English, otherwise Chinese); empty for a
// value that is no kind.
std::u16string ModeName(const CKeyboardData& data, int mode);
