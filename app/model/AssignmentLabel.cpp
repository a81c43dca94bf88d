#include "model/AssignmentLabel.h"

#include "catalogue/ContentItem.h"

namespace {

const KeySetting* FindSetting(const CKeyboardData& data, int key, int level) {
    if (key < 0 || key >= KeyIndexCount || level < 0 || level >= LevelCount) {
        return nullptr;
    }
    return &data.CurrentSettings[static_cast<std::size_t>(key)][static_cast<std::size_t>(level)];
}

// A macro step as the label shows it: a delay as its number, a press or release as the key name.
std::u16string ShortMacroItem(const std::u16string& item) {
    if (item.size() > 4 && IsBracketedDelayItem(item)) {
        return std::u16string(DelayNumberText(item));
    }
    return std::u16string(WithoutDirection(item));
}

std::u16string MacroLabel(const CActionList& steps) {
    std::u16string label;
    for (std::size_t i = 0; i < steps.List.size(); ++i) {
        if (i > 0) {
            label += u",";
        }
        label += ShortMacroItem(steps.List[i]);
        if (label.size() > MacroLabelLimit) {
            label += u" ... ...";
            break;
        }
    }
    return label;
}

std::u16string JoinedItems(const CActionList& items) {
    std::u16string label;
    for (std::size_t i = 0; i < items.List.size(); ++i) {
        if (i > 0) {
            label += u" | ";
        }
        label += items.List[i];
    }
    return label;
}

} // namespace

std::u16string AssignmentLabel(const CKeyboardData& data, int key, int level) {
    const KeySetting* setting = FindSetting(data, key, level);
    if (setting == nullptr) {
        return {};
    }
    switch (setting->Mode) {
    case ModeSingle:
    case ModeMultimedia:
    case ModeMouse:
    case ModeFunction:
    case ModePower:
        return DeviceCodeLabel(data, setting->HWCode);
    case ModeCombo:
    case ModeEmulation:
        return JoinedItems(setting->ComboKey);
    case ModeMacro:
        return MacroLabel(setting->ComboKey);
    default:
        return {};
    }
}
