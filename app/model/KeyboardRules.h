// What the keyboard accepts of an assignment: the device codes each kind carries, the layer key, how
// much a combination, an emulation and a macro hold, and the play settings it plays. The editor, the
// device bridge, zelk-cli's JSON reader and its set all ask here.
#pragma once

#include "model/ActionList.h"
#include "zelk/Problem.h"
#include "zelk/ZelkHWI.h"

// The layer key (the Function "FN"), which works only when a key carries it on both levels.
inline constexpr int FnCode = 156;
// The double left click, which the keyboard plays as two presses of the left mouse button.
inline constexpr int DoubleLeftClickCode = 199;
inline constexpr int LeftMouseButtonCode = 130;

// The device code a key index (1..87) sends while it carries no assignment: the keys follow the device
// codes of a full keyboard, past the power codes 75..77, which no key has. 0 for any other index.
int OwnDeviceCode(int keyIndex);

// A macro's repeat count is one byte; a delay, in milliseconds, two.
inline constexpr int MaxCycles = 255;
inline constexpr int MaxDelay = 65535;

// Room the device bridge gives the device library for one definition read back; a macro's items follow
// its six head elements there.
inline constexpr int InterchangeCapacity = 65536;
inline constexpr long long MaxMacroItems = InterchangeCapacity - 6;

// The kinds whose assignment is a device code (single, multimedia, mouse, function, power), and those
// whose assignment is a list (combination, macro, emulation).
bool KindTakesCode(int mode);
bool KindTakesList(int mode);
// Whether a kind that takes a code may carry this one: a single key 1..107 but the power codes 75..77,
// multimedia 108..125, mouse 126..134 and the double left click, function 135..159, power 75..77.
bool CodeFitsKind(int mode, int code);
// The kind a single device code read back from the keyboard stands for: the one whose codes hold it,
// else a single key.
int KindOfSingleCode(int code);

// Why the keyboard cannot hold the list of an assignment of that kind (too many keys, a macro stream
// too long, a play mode it lacks: a TooLong or PlayModeUnknown code with the count, size and limit), or
// no problem.
CProblem CapacityProblem(const CActionList& list, int mode);
// The same, and what a list of that kind must be to mean what it says: a combination or emulation
// with a key (unless mayBeEmpty, as a catalogue entry may be), a macro's delays between its steps when
// it plays recorded delays and none when it plays a fixed interval (Item: the item out of place).
CProblem ListProblem(const CActionList& list, int mode, bool mayBeEmpty);
