// The progress bar of both device dialogs: how full it is, from the progress values the device
// library posts (on a scale of 150 to a full bar), and the part of the bar drawn filled.
#pragma once

#include "device_ui/DeviceDialogAreas.h"

#include <algorithm>
#include <cstdint>

class CDeviceProgressBar {
public:
    // Progress values are on a scale of this to a full bar.
    static constexpr int Scale = 150;

    int Percent() const { return Fill; }
    void SetPercent(int percent) { Fill = percent; }
    // A progress value as posted; values past a full bar are taken as given, the drawing clips them.
    void ShowProgress(std::uintptr_t value) {
        Fill = static_cast<int>(std::min<std::uintptr_t>(value, 1000) * 100 / Scale);
    }
    // The part drawn filled: never wider than the bar, whatever the percent.
    SkinRect Filled() const {
        SkinRect bar = DeviceProgressBarRect;
        bar.right = bar.left + std::clamp(Fill, 0, 100) * DeviceProgressBarWidth / 100;
        return bar;
    }

private:
    int Fill = 0;
};
