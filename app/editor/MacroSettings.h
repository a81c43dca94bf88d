// The settings that shape a macro or an emulation, free of Qt: the limits of the repeat count and
// the intervals, the two rebuilds between a macro with recorded delays and one with a fixed
// interval, the editing of one delay, and the mouse actions the step list's menu inserts.
#pragma once

#include "model/KeyboardData.h"
#include "model/KeyboardRules.h"

#include <string>

namespace MacroSettings {

// The editor's own bounds of the intervals it offers; the repeat count and a delay are held to what
// the keyboard takes (MaxCycles, MaxDelay).
inline constexpr int MaxInterval = 60000;
inline constexpr int MaxEmuInterval = 6000;

// A typed value held to what the setting allows.
int RepeatCount(int typed);
int FixedInterval(int typed);
int EmuInterval(int typed);

// Switches a macro to a fixed interval (its steps without the delays between them) or to recorded
// delays (the current Delay between each two steps). A macro already of that kind stays as it is.
// True when the list changed.
bool UseFixedInterval(CActionList& steps);
bool UseRecordedDelays(CActionList& steps);

// The item at index becomes the delay of the typed number of milliseconds; nothing when there is no
// such item.
void SetDelay(CActionList& steps, int index, const std::u16string& typed);

// The commands of the step list's menu.
enum MenuCommand : int {
    LeftPress = 1135,
    LeftRelease = 1136,
    LeftClick = 1137,
    RightPress = 1138,
    RightRelease = 1139,
    RightClick = 1140,
    MiddlePress = 1141,
    MiddleRelease = 1142,
    MiddleClick = 1143,
    WheelUp = 1144,
    WheelDown = 1145,
    DeleteStep = 1147,
};
// Runs a menu command on row r of the steps (relative to the view); returns the change of the item
// count, by which the record bar is adjusted. The macro is kept within its limit.
int ApplyMenuCommand(CActionList& steps, int row, int command, const CKeyboardData& data);

} // namespace MacroSettings
