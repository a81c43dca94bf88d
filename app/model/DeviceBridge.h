// The device bridge: moves the key assignments and backlight colours of a CKeyboardData to the
// keyboard and back, one key definition at a time as an interchange array of the device library.
//
// Every operation returns what the device library reports, so callers can tell the user that a
// transfer failed. Writing never changes the model. Reading changes the model only after the keyboard
// has sent its whole key table (or light area): a transfer that fails part-way leaves every key and
// colour as it was, so no key ever holds half of a definition.
#pragma once

#include "model/KeyboardData.h"

#include <span>
#include <string>
#include <vector>

// Room the bridge gives the device library for one definition read back.
inline constexpr int InterchangeCapacity = 65536;

// The assignment the keyboard could not hold (too many codes, a macro stream over 65535 bytes, a play
// mode the keyboard lacks).
struct CKeyRefusal {
    int Key = 0;   // key index 1..87; 0 when no assignment was refused
    int Level = 0; // 0 or 1
};

// Sends the assignments of both levels. Before anything is sent every assignment is handed to the
// device library; when one is refused, refusal names it, nothing is sent and the result is false.
bool WriteKeysToDevice(CKeyboardData& data, CMessageTarget* notifyWindow, CKeyRefusal* refusal = nullptr);
// Sends the colours of keys 1..87.
bool WriteLightToDevice(CKeyboardData& data);
// Reads every definition from the keyboard and rebuilds the assignments of both levels from them.
// A key whose definition the library cannot hand over keeps its assignment, and the result is false.
bool ReadKeysFromDevice(CKeyboardData& data, CMessageTarget* notifyWindow);
// Reads the light area from the keyboard into the colours of keys 1..87.
bool ReadLightFromDevice(CKeyboardData& data);

// Device code of a content item: the number of a delay item, or the device code of the first
// catalogue key (in key-code order) whose name, alone or with " UP" or " Down", is the text; 0 when
// none matches.
int ItemToCode(const CKeyboardData& data, const std::u16string& text);

// The interchange array that carries an assignment; empty when the key is sent without definition
// (not set, or a macro without steps).
std::vector<int> KeyDefinitionArray(const CKeyboardData& data, const KeySetting& setting);
// Rebuilds an assignment from an interchange array read back from the keyboard. Elements beyond the
// array's end count as absent.
void ApplyKeyDefinition(const CKeyboardData& data, std::span<const int> array, KeySetting& setting);
