// The device bridge: moves the key assignments and backlight colours of a CKeyboardData to the
// keyboard and back, one key definition at a time as an interchange array of the device library.
//
// A transfer comes in four steps, so that a program can keep the keyboard's slow traffic off its
// user-interface thread: take a snapshot of the model, send it; receive, apply what was received.
// The snapshot and the apply steps touch the model and nothing else; the send and receive steps touch
// the device facade and nothing else. The whole operations below run the steps in turn, for callers
// with one thread (zelk-cli, tests).
//
// Every step that talks to the keyboard returns what the device library reports, so callers can tell
// the user that a transfer failed. Writing never changes the model. A read is applied only when it
// succeeded as a whole: a transfer that fails part-way, or one definition the library cannot hand
// over, leaves every key and colour as it was, so no key ever holds half of a definition.
#pragma once

#include "model/KeyboardData.h"
#include "model/KeyboardRules.h"

#include <array>
#include <span>
#include <string>
#include <vector>

// The assignment the keyboard could not hold (too many codes, a macro stream over 65535 bytes, a play
// mode the keyboard lacks).
struct CKeyRefusal {
    int Key = 0;     // key index 1..87; 0 when no assignment was refused
    int Level = 0;   // 0 or 1
    CProblem Reason; // why, where the rules of what the keyboard accepts tell
};

// The first assignment, in the order they are sent, that the keyboard cannot hold; Key 0 when it can
// hold every one.
CKeyRefusal FirstUnsendableAssignment(const CKeyboardData& data);

// One assignment to hand to the device library.
struct CKeyDefinitionToSend {
    int Level = 0;
    int Key = 0;
    std::vector<int> Array;
};

// Red, Green, Blue of keys 1..87 in key order.
using CLightArea = std::array<int, LightAreaSize>;

// Everything a read brings back: one interchange array per slot (level × 87 + key − 1) and the
// light area.
struct CKeyboardReadBack {
    std::vector<std::vector<int>> Definitions;
    CLightArea Light{};
};

// Snapshot (the model's thread). The assignments of both levels, level 0 first and keys in
// ascending order; keys without one are left out and go to the keyboard without definition.
std::vector<CKeyDefinitionToSend> KeyDefinitionsToSend(const CKeyboardData& data);
CLightArea LightAreaToSend(const CKeyboardData& data);

// Send (any thread). Hands every definition to the library, then sends the whole table; when the
// library refuses one, or one would not fit the interchange array when read back, refusal names it,
// nothing is sent and the result is false.
bool SendKeyDefinitions(CMorvHWI& hwi, const std::vector<CKeyDefinitionToSend>& definitions,
                        CMessageTarget* notify, CKeyRefusal& refusal);
bool SendLightArea(CMorvHWI& hwi, const CLightArea& light);

// Receive (any thread). Reads the whole table from the keyboard into one array per slot, each as long
// as the library wrote it. False, with definitions left empty, when the transfer fails or the library
// cannot hand over one of the definitions.
bool ReceiveKeyDefinitions(CMorvHWI& hwi, CMessageTarget* notify, std::vector<std::vector<int>>& definitions);
// False, with light left as it was, when the transfer fails.
bool ReceiveLightArea(CMorvHWI& hwi, CLightArea& light);
// The library's key table as it stands, one array per slot as ReceiveKeyDefinitions gives it; false,
// with definitions empty, when the library cannot hand over one of them.
bool TableOfLibrary(CMorvHWI& hwi, std::vector<std::vector<int>>& definitions);
// Counts the transfers that may have changed what is known of the keyboard: every write begun and
// every read completed, on any facade. Whoever remembers what the keyboard holds forgets it when this
// has moved on.
unsigned long KeyboardTransfers();

// Apply (the model's thread). Rebuilds the assignments of both levels from a complete table (one array
// per slot, as ReceiveKeyDefinitions gives it); any other table changes nothing.
void ApplyKeyDefinitions(CKeyboardData& data, const std::vector<std::vector<int>>& definitions);
// Copies the area into the colours of keys 1..87.
void ApplyLightArea(CKeyboardData& data, const CLightArea& light);
// Both of the above.
void ApplyReadBack(CKeyboardData& data, const CKeyboardReadBack& readBack);

// The whole operations on one thread, on the model's own facade.
// Sends the assignments of both levels; on a refusal, refusal (when given) names the key.
bool WriteKeysToDevice(CKeyboardData& data, CMessageTarget* notifyWindow, CKeyRefusal* refusal = nullptr);
// Sends the colours of keys 1..87.
bool WriteLightToDevice(CKeyboardData& data);
// Reads every definition from the keyboard and, when all arrived, rebuilds the assignments of both
// levels from them.
bool ReadKeysFromDevice(CKeyboardData& data, CMessageTarget* notifyWindow);
// Reads the light area from the keyboard into the colours of keys 1..87.
bool ReadLightFromDevice(CKeyboardData& data);

// Device code of a content item: the number of a delay item (one that contains "ms>"), or the device
// code of the first catalogue key (in key-code order) whose name, alone or with " UP" or " Down", is
// the text; 0 when none matches.
int ItemToCode(const CKeyboardData& data, const std::u16string& text);

// The interchange array that carries an assignment; empty when the key is sent without definition
// (not set, or a macro without steps).
std::vector<int> KeyDefinitionArray(const CKeyboardData& data, const KeySetting& setting);
// Rebuilds an assignment from an interchange array read back from the keyboard. Elements beyond the
// array's end count as absent.
void ApplyKeyDefinition(const CKeyboardData& data, std::span<const int> array, KeySetting& setting);
