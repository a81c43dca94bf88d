#include "editor/Recorder.h"

#include "catalogue/KeyCatalogue.h"
#include "catalogue/KeyPressCode.h"

#include <algorithm>

namespace {

constexpr int ShiftKey = 16;
constexpr int LeftShift = 160;
constexpr int RightShift = 161;

} // namespace

bool CRecorder::CanStart(RecordingTarget target, const CKeyMapEdit& edit) {
    switch (target) {
    case RecordingTarget::SingleKey:
        return edit.SingleMode();
    case RecordingTarget::Combination:
        return !edit.SingleMode() && edit.ComboNames.Count() > 0;
    case RecordingTarget::Macro:
        return edit.MacroNames.Count() > 0;
    case RecordingTarget::Emulation:
        return edit.EmuNames.Count() > 0;
    default:
        return false;
    }
}

int CRecorder::Start(RecordingTarget target, CKeyMapEdit& edit) {
    Recording = target;
    KeyState.fill(0);
    LastEventCode = -1;
    LastEventTime = 0;
    switch (target) {
    case RecordingTarget::Combination:
        edit.ComboKeys.Clear();
        return 0;
    case RecordingTarget::Macro: {
        const CActionList kept = edit.MacroSteps;
        edit.MacroSteps.Clear();
        edit.MacroSteps.IsAutoInterval = kept.IsAutoInterval;
        edit.MacroSteps.Delay = kept.Delay;
        edit.MacroSteps.Cycles = kept.Cycles;
        edit.MacroSteps.PlayMode = kept.PlayMode;
        return -20000;
    }
    case RecordingTarget::Emulation: {
        const int delay = edit.EmuKeys.Delay;
        edit.EmuKeys.Clear();
        edit.EmuKeys.Delay = delay;
        return -20000;
    }
    default:
        return 0;
    }
}

void CRecorder::Stop(CKeyMapEdit& edit) {
    switch (Recording) {
    case RecordingTarget::Combination:
        edit.StoreRecord(1);
        break;
    case RecordingTarget::Macro:
        edit.StoreRecord(2);
        break;
    case RecordingTarget::Emulation:
        edit.StoreRecord(3);
        break;
    default:
        break;
    }
    Recording = RecordingTarget::None;
}

int CRecorder::SpecificShift(bool release, const std::function<int(int)>& keyState) {
    constexpr int Held = 0x8000;
    const int left = keyState ? keyState(LeftShift) : 0;
    const int right = keyState ? keyState(RightShift) : 0;
    if (!release)
        return (left & Held) != 0 ? LeftShift : (right & Held) != 0 ? RightShift : ShiftKey;
    const int code = left != LeftShiftAtRelease     ? LeftShift
                     : right != RightShiftAtRelease ? RightShift
                                                    : ShiftKey;
    LeftShiftAtRelease = left;
    RightShiftAtRelease = right;
    return code;
}

CRecordedKey CRecorder::OnHookKey(std::uintptr_t wParam, std::intptr_t lParam, std::int64_t nowNs,
                                  const CKeyboardData& data, CKeyMapEdit& edit,
                                  const std::function<int(int)>& keyState) {
    CRecordedKey result;
    const bool release = (wParam & HookKeyRelease) != 0;
    int vk = static_cast<int>(wParam & 0xFF);
    const bool extended = (lParam & HookKeyExtended) != 0;
    const std::int64_t elapsed =
        std::min<std::int64_t>((nowNs - LastEventTime) / 1'000'000, std::int64_t{MaxDelay});
    if (vk == ShiftKey)
        vk = SpecificShift(release, keyState);
    const int press = KeyCodeOfPress(vk, extended);
    const int code = press + (release ? KeyReleaseFlag : 0);
    auto& held = KeyState[static_cast<std::size_t>(vk & 0xFF)];

    switch (Recording) {
    case RecordingTarget::SingleKey:
        if (!release && code != LastEventCode) {
            const int device = DeviceCodeOfKey(data, code);
            const int key = device < 0 ? -1 : KeyOfDeviceCode(data, device);
            edit.SetSingleKey(key);
            result.Changed = true;
            if (key != code) {
                result.UnknownKey = true;
                result.KeyCode = code;
                result.DeviceCode = device;
                result.SingleKey = key;
            }
        }
        break;
    case RecordingTarget::Combination:
        if (!release && code != LastEventCode && edit.ComboKeys.Count() < ComboLimit) {
            edit.ComboKeys.AppendItem(KeyLabel(data, code, false));
            edit.StoreRecord(1);
            result.Changed = true;
        }
        break;
    case RecordingTarget::Macro: {
        // A press of a held key is an auto-repeat; a release of a key not pressed while recording
        // is ignored too.
        if ((held != 0) == !release)
            break;
        held = release ? 0 : 1;
        CActionList& steps = edit.MacroSteps;
        if (LastEventTime > 0 && !steps.IsAutoInterval && steps.Count() < MacroLimitWithDelays) {
            steps.AppendItem(DelayItem(static_cast<int>(elapsed)));
            ++result.BarDelta;
        }
        const int limit = steps.IsAutoInterval ? MacroLimitFixedInterval : MacroLimitWithDelays;
        if (steps.Count() < limit) {
            steps.AppendItem(KeyLabel(data, code, true));
            ++result.BarDelta;
        }
        edit.StoreRecord(2);
        result.Changed = true;
        break;
    }
    case RecordingTarget::Emulation:
        if ((held != 0) == !release)
            break;
        held = release ? 0 : 1;
        if (!release && edit.EmuKeys.Count() < EmuLimit && code != LastEventCode) {
            edit.EmuKeys.AppendItem(KeyLabel(data, code, false));
            ++result.BarDelta;
            edit.StoreRecord(3);
            result.Changed = true;
        }
        break;
    default:
        break;
    }
    LastEventTime = nowNs;
    LastEventCode = code;
    return result;
}
