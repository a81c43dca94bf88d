#include "model/ProfileSnapshot.h"

namespace {

const CActionList& ChildOf(const CActionList& list, std::size_t index) {
    static const CActionList none;
    return index < list.SubLists.size() ? list.SubLists[index] : none;
}

} // namespace

bool SameLight(const AreaLight& a, const AreaLight& b) {
    return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
}

bool SameSetting(const KeySetting& a, const KeySetting& b) {
    return a.Mode == b.Mode && a.HWCode == b.HWCode && SameListContent(a.ComboKey, b.ComboKey);
}

bool SameListContent(const CActionList& a, const CActionList& b) {
    if (a.List != b.List || a.Cycles != b.Cycles || a.IsAutoInterval != b.IsAutoInterval ||
        a.Delay != b.Delay || a.PlayMode != b.PlayMode)
        return false;
    for (std::size_t i = 0; i < a.List.size(); ++i) {
        if (!SameListContent(ChildOf(a, i), ChildOf(b, i)))
            return false;
    }
    return true;
}

CProfileSnapshot::CProfileSnapshot() {
    for (std::size_t key = 0; key < Settings.size(); ++key) {
        for (KeySetting& setting : Settings[key])
            setting.HWCode = static_cast<int>(key);
    }
}

void CProfileSnapshot::Take(const CKeyboardData& data) {
    Combo = data.PredefinedCombo;
    Macro = data.PredefinedMacro;
    Emu = data.PredefinedEmu;
    Light = data.BackgroundLightSettings;
    Settings = data.CurrentSettings;
}

bool CProfileSnapshot::Matches(const CKeyboardData& data) const {
    if (!SameListContent(Combo, data.PredefinedCombo) || !SameListContent(Macro, data.PredefinedMacro) ||
        !SameListContent(Emu, data.PredefinedEmu))
        return false;
    // Entry 0 of the per-key tables is never saved.
    for (std::size_t key = 1; key < Settings.size(); ++key) {
        if (!SameLight(Light[key], data.BackgroundLightSettings[key]))
            return false;
        for (std::size_t level = 0; level < Settings[key].size(); ++level) {
            if (!SameSetting(Settings[key][level], data.CurrentSettings[key][level]))
                return false;
        }
    }
    return true;
}
