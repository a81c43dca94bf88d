// Everything the program knows about the keyboard: both layers of key assignments, the backlight
// colours, the catalogues of named combinations, macros and emulations, the key catalogue and the
// device facade. The program has one instance, theKeyboardData; every operation takes the object it
// works on, so tests build their own.
#pragma once

#include "catalogue/KeyCatalogue.h"
#include "model/ActionList.h"
#include "zelk/ZelkHWI.h"

#include <array>
#include <cstdint>
#include <string>

// Key indexes run 1..87; entry 0 of every per-key table exists but is never shown, sent or saved.
inline constexpr int KeyIndexCount = KeyCount + 1;
inline constexpr int LevelCount = 2;

struct AreaLight {
    int Red = 0;
    int Green = 0;
    int Blue = 0;
};

struct KeySetting {
    int Mode = ModeNotSet;
    int HWCode = 0;
    CActionList ComboKey;
};

// The key catalogue is part of the data object, filled once by BuildKeyCatalogue.
class CKeyboardData : public CKeyCatalogue {
public:
    CKeyboardData() = default;
    CKeyboardData(const CKeyboardData&) = delete;
    CKeyboardData& operator=(const CKeyboardData&) = delete;

    ::UiLanguage UiLanguage = StartUiLanguage;

    int CurrentKey = 0;
    int CurrentLevel = 0;

    CActionList PredefinedMacro;
    CActionList PredefinedCombo;
    CActionList PredefinedEmu;

    std::array<AreaLight, KeyIndexCount> BackgroundLightSettings{};
    std::array<std::array<KeySetting, LevelCount>, KeyIndexCount> CurrentSettings{};

    // Exchanged between the backlight dialog and its multi-key selection dialog.
    std::array<std::uint8_t, KeyIndexCount> LightSelection{};
    std::array<AreaLight, KeyIndexCount> LightSnapshot{};
    AreaLight ChosenColour;

    CMorvHWI HWI;
    CMessageTarget* NotifyWindow = nullptr;
    std::u16string FirmwarePath;

    // Resets the user-owned state: the three catalogues, every colour and every assignment.
    void Clear();
};

// Fills data's key catalogue and sets UiLanguage to the one every run starts in (zh-CN).
bool BuildKeyCatalogue(CKeyboardData& data);

extern CKeyboardData theKeyboardData;
