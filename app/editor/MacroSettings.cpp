#include "editor/MacroSettings.h"

#include "catalogue/ContentItem.h"
#include "catalogue/KeyCatalogue.h"
#include "editor/Recorder.h"

#include <algorithm>

namespace MacroSettings {

namespace {

// A list with the settings of another and no items.
CActionList EmptyLike(const CActionList& list) {
    CActionList rebuilt;
    rebuilt.SizeOfView = list.SizeOfView;
    rebuilt.Cycles = list.Cycles;
    rebuilt.Delay = list.Delay;
    rebuilt.PlayMode = list.PlayMode;
    return rebuilt;
}

// The device code of the mouse action a command inserts; 0 for Delete.
int MouseCodeOf(int command) {
    if (command >= LeftPress && command <= LeftClick)
        return 130;
    if (command >= RightPress && command <= RightClick)
        return 131;
    if (command >= MiddlePress && command <= MiddleClick)
        return 132;
    if (command == WheelUp)
        return 133;
    if (command == WheelDown)
        return 134;
    return 0;
}

bool IsClick(int command) {
    return command == LeftClick || command == RightClick || command == MiddleClick;
}

} // namespace

int RepeatCount(int typed) {
    return std::clamp(typed, 1, MaxCycles);
}

int FixedInterval(int typed) {
    return std::clamp(typed, 0, MaxInterval);
}

int EmuInterval(int typed) {
    return std::min(typed, MaxEmuInterval);
}

bool UseFixedInterval(CActionList& steps) {
    if (steps.IsAutoInterval)
        return false;
    CActionList rebuilt = EmptyLike(steps);
    for (std::size_t i = 0; i < steps.List.size(); i += 2)
        rebuilt.AppendItem(steps.List[i]);
    rebuilt.IsAutoInterval = true;
    steps = std::move(rebuilt);
    return true;
}

bool UseRecordedDelays(CActionList& steps) {
    if (!steps.IsAutoInterval)
        return false;
    CActionList rebuilt = EmptyLike(steps);
    for (std::size_t i = 0; i < steps.List.size(); ++i) {
        if (i > 0)
            rebuilt.AppendItem(DelayItem(steps.Delay));
        rebuilt.AppendItem(steps.List[i]);
    }
    rebuilt.IsAutoInterval = false;
    steps = std::move(rebuilt);
    return true;
}

void SetDelay(CActionList& steps, int index, const std::u16string& typed) {
    if (index >= 0 && index < steps.Count())
        steps.SetItemText(index - steps.ViewStartAt,
                          DelayItem(std::clamp(LeadingNumber(typed), 0, MaxDelay)));
}

int ApplyMenuCommand(CActionList& steps, int row, int command, const CKeyboardData& data) {
    const int before = steps.Count();
    const bool withDelays = !steps.IsAutoInterval;
    if (command == DeleteStep) {
        steps.DeleteItem(row);
        // A step leaves together with the delay that follows it.
        if (withDelays)
            steps.DeleteItem(row);
    } else if (const int code = MouseCodeOf(command); code != 0) {
        const std::u16string action = DeviceCodeLabel(data, code);
        const std::u16string noDelay = DelayItem(0);
        const bool onDelay = IsBracketedDelayItem(steps.GetItemText(row));
        // Each insertion goes before the item at the row: the last inserted ends up first.
        const int actions = IsClick(command) ? 2 : 1;
        for (int i = 0; i < actions; ++i) {
            if (onDelay) {
                steps.InsertItem(row, action);
                if (withDelays)
                    steps.InsertItem(row, noDelay);
            } else {
                if (withDelays)
                    steps.InsertItem(row, noDelay);
                steps.InsertItem(row, action);
            }
        }
    }
    const int limit = withDelays ? CRecorder::MacroLimitWithDelays : CRecorder::MacroLimitFixedInterval;
    while (steps.Count() > limit)
        steps.DeleteItem(steps.Count() - 1 - steps.ViewStartAt);
    return steps.Count() - before;
}

} // namespace MacroSettings
