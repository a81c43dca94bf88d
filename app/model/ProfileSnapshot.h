// A copy of the user's work in a model, to tell later whether the model still holds the same: the
// three catalogues, the backlight colours and the assignments of both layers, as a profile keeps
// them. The program takes one whenever the model was opened, saved, read from the keyboard or written
// to it, and compares the model against it to know whether there are unsaved changes.
#pragma once

#include "model/KeyboardData.h"

#include <array>

// Same items, same child lists (a missing child counts as an empty one) and same play settings, at
// every depth. The view state (rows shown, scroll position, selection) is no work of the user's and
// does not count.
bool SameListContent(const CActionList& a, const CActionList& b);
bool SameSetting(const KeySetting& a, const KeySetting& b);
bool SameLight(const AreaLight& a, const AreaLight& b);

class CProfileSnapshot {
public:
    // The snapshot of a cleared model.
    CProfileSnapshot();

    void Take(const CKeyboardData& data);
    // Whether the model holds what was taken: every key and colour of keys 1..87 and the catalogues.
    bool Matches(const CKeyboardData& data) const;

private:
    CActionList Combo;
    CActionList Macro;
    CActionList Emu;
    std::array<AreaLight, KeyIndexCount> Light{};
    std::array<std::array<KeySetting, LevelCount>, KeyIndexCount> Settings{};
};
