// The key catalogue: the English name of every key the program can record, show or send, the
// translation between key codes (virtual-key codes, or 256 plus a number) and the keyboard's device
// codes, and the assignment kinds' display names.
//
// Key names are stored in profile files and turned back into device codes by name, so every name
// here must keep its exact spelling.
#pragma once

#include "text/UiLanguage.h"

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>

// The kinds of assignment a key can have on a level.
enum KeyMode : int {
    ModeNotSet = 0,
    ModeSingle = 1,
    ModeCombo = 2,
    ModeMacro = 3,
    ModeEmulation = 4,
    ModeMultimedia = 5,
    ModeMouse = 6,
    ModeFunction = 7,
    ModePower = 8,
};
inline constexpr int KeyModeCount = 9;

// Size of the key-code and device-code tables.
inline constexpr int CodeTableSize = 1024;

// The tables of the catalogue, filled once by FillKeyCatalogue.
struct CKeyCatalogue {
    std::map<int, std::u16string> KeyNames;
    std::array<int, CodeTableSize> DeviceCodeOfKey{};
    std::array<int, CodeTableSize> KeyOfDeviceCode{};
};

// An event code carries this flag when the event is a key release.
inline constexpr int KeyReleaseFlag = 512;
// The text shown for a code without a name.
inline constexpr char16_t NoKeyName[] = u"-- --";

// Fills the key names, both code tables and the kind names.
void FillKeyCatalogue(CKeyCatalogue& catalogue);

// The key's name, followed by " UP" for a release or " Down" for a press when withDirection.
std::u16string KeyLabel(const CKeyCatalogue& catalogue, int eventCode, bool withDirection);
// The name of the key code that names deviceCode, or "-- --".
std::u16string DeviceCodeLabel(const CKeyCatalogue& catalogue, int deviceCode);
// -1 for a device code outside 0..1023.
int KeyOfDeviceCode(const CKeyCatalogue& catalogue, int deviceCode);
// 0 when the key has no device code; a release event gives the same code as the press.
int DeviceCodeOfKey(const CKeyCatalogue& catalogue, int eventCode);
// The kind's display name in the UI language; empty for a value that is no kind.
std::u16string ModeName(const CKeyCatalogue& catalogue, UiLanguage language, int mode);
