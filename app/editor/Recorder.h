// The recorder of the key assignment editor, free of Qt: turns the keyboard capture's WM_HOOK_KEY
// values, with the time each arrived, into the items of the record being made (the single key, a
// combination, a macro with its delays or an emulation), within each record's limits.
#pragma once

#include "editor/EditorPages.h"
#include "editor/KeyMapEdit.h"
#include "model/KeyboardRules.h"

#include <array>
#include <cstdint>
#include <functional>

// What handling one key event asks of the window.
struct CRecordedKey {
    bool Changed = false; // an item or the single key changed: repaint
    int BarDelta = 0;     // items added to the record list that the record bar scrolls
    // A single key without a device code: the values of the "a=%d, b=%d, c=%d" box.
    bool UnknownKey = false;
    int KeyCode = 0, DeviceCode = 0, SingleKey = 0;
};

class CRecorder {
public:
    static constexpr int ComboLimit = 6;
    static constexpr int EmuLimit = 6;
    static constexpr int MacroLimitWithDelays = 799;
    static constexpr int MacroLimitFixedInterval = 1600;

    // Whether the target can start now, and starting it: the record list is emptied (a macro keeps
    // its play settings, an emulation its interval). Returns the record bar's change.
    static bool CanStart(RecordingTarget target, const CKeyMapEdit& edit);
    int Start(RecordingTarget target, CKeyMapEdit& edit);
    // Ends the recording; a combination, macro or emulation goes into the selected entry.
    void Stop(CKeyMapEdit& edit);
    RecordingTarget Target() const { return Recording; }

    // One WM_HOOK_KEY at a steady-clock time in nanoseconds. keyState gives the state of the left
    // (160) or right (161) Shift as the system reports it (0x8000 held, 0x1 toggled by every press),
    // for events that carry the generic Shift code 16; the capture of this program never posts 16.
    CRecordedKey OnHookKey(std::uintptr_t wParam, std::intptr_t lParam, std::int64_t nowNs,
                           const CKeyboardData& data, CKeyMapEdit& edit,
                           const std::function<int(int virtualKey)>& keyState = {});

private:
    int SpecificShift(bool release, const std::function<int(int)>& keyState);

    RecordingTarget Recording = RecordingTarget::None;
    std::array<std::uint8_t, 256> KeyState{};
    int LastEventCode = -1;
    std::int64_t LastEventTime = 0;
    int LeftShiftAtRelease = 0;
    int RightShiftAtRelease = 0;
};
