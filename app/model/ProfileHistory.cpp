#include "model/ProfileHistory.h"

#include "model/ProfileSnapshot.h"

#include <algorithm>
#include <utility>

struct CProfileHistory::CState {
    std::shared_ptr<const CActionList> Combo;
    std::shared_ptr<const CActionList> Macro;
    std::shared_ptr<const CActionList> Emu;
    std::array<AreaLight, KeyIndexCount> Light{};
    std::array<std::array<std::shared_ptr<const KeySetting>, LevelCount>, KeyIndexCount> Settings{};
};

namespace {

using CState = CProfileHistory::CState;

void Mix(std::size_t& hash, std::size_t value) {
    hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
}

std::size_t ContentHash(const CActionList& list) {
    std::size_t hash = list.List.size();
    for (const std::u16string& item : list.List)
        Mix(hash, std::hash<std::u16string>{}(item));
    Mix(hash, static_cast<std::size_t>(list.Cycles));
    Mix(hash, static_cast<std::size_t>(list.Delay));
    Mix(hash, static_cast<std::size_t>(list.PlayMode) * 2 + (list.IsAutoInterval ? 1 : 0));
    for (std::size_t index = 0; index < list.List.size() && index < list.SubLists.size(); ++index) {
        if (!list.SubLists[index].List.empty())
            Mix(hash, index ^ ContentHash(list.SubLists[index]));
    }
    return hash;
}

// Same content and the same view at every depth: a part shared by two states gives each back exactly.
bool SameListExactly(const CActionList& a, const CActionList& b) {
    if (a.SizeOfView != b.SizeOfView || a.ViewStartAt != b.ViewStartAt || a.CursorPos != b.CursorPos ||
        a.List != b.List || a.Cycles != b.Cycles || a.IsAutoInterval != b.IsAutoInterval ||
        a.Delay != b.Delay || a.PlayMode != b.PlayMode || a.SubLists.size() != b.SubLists.size())
        return false;
    for (std::size_t index = 0; index < a.SubLists.size(); ++index) {
        if (!SameListExactly(a.SubLists[index], b.SubLists[index]))
            return false;
    }
    return true;
}

bool SameSettingExactly(const KeySetting& a, const KeySetting& b) {
    return a.Mode == b.Mode && a.HWCode == b.HWCode && SameListExactly(a.ComboKey, b.ComboKey);
}

std::size_t ContentBytes(const CActionList& list) {
    std::size_t bytes = sizeof(CActionList) + list.List.capacity() * sizeof(std::u16string) +
                        list.SubLists.capacity() * sizeof(CActionList);
    for (const std::u16string& item : list.List)
        bytes += item.capacity() > 7 ? (item.capacity() + 1) * sizeof(char16_t) : 0;
    for (const CActionList& child : list.SubLists)
        bytes += ContentBytes(child) - sizeof(CActionList);
    return bytes;
}

std::size_t ContentBytes(const KeySetting& setting) {
    return sizeof(KeySetting) - sizeof(CActionList) + ContentBytes(setting.ComboKey);
}

std::size_t ContentHash(const KeySetting& setting) {
    std::size_t hash = ContentHash(setting.ComboKey);
    Mix(hash, static_cast<std::size_t>(setting.Mode));
    Mix(hash, static_cast<std::size_t>(setting.HWCode));
    return hash;
}

} // namespace

template <typename Part, typename Same>
std::shared_ptr<const Part> CProfileHistory::Shared(const std::shared_ptr<const Part>& before,
                                                    const Part& now, Same same) {
    if (before && same(*before, now))
        return before;
    const std::size_t hash = ContentHash(now);
    const auto [first, last] = Parts.equal_range(hash);
    for (auto at = first; at != last; ++at) {
        if (const std::shared_ptr<const void> part = at->second.Held.lock()) {
            auto kept = std::static_pointer_cast<const Part>(part);
            if (same(*kept, now))
                return kept;
        }
    }
    auto made = std::make_shared<const Part>(now);
    const std::size_t bytes = ContentBytes(*made);
    Parts.emplace(hash, CPart{made, bytes});
    Bytes += bytes;
    return made;
}

// The model's state, sharing every part a kept state holds; changed tells whether it differs from the
// current state.
std::shared_ptr<const CState> CProfileHistory::StateOf(const CKeyboardData& data, bool& changed) {
    auto state = std::make_shared<CState>();
    const CState empty;
    const CState& was = States.empty() ? empty : *States[Current];
    // A change of a list's view alone (scrolled, another row selected) is no step.
    const auto differs = [](const auto& before, const auto& now, auto same) {
        return !before || !same(*before, *now);
    };
    state->Combo = Shared(was.Combo, data.PredefinedCombo, SameListExactly);
    state->Macro = Shared(was.Macro, data.PredefinedMacro, SameListExactly);
    state->Emu = Shared(was.Emu, data.PredefinedEmu, SameListExactly);
    state->Light = data.BackgroundLightSettings;
    changed = differs(was.Combo, state->Combo, SameListContent) ||
              differs(was.Macro, state->Macro, SameListContent) ||
              differs(was.Emu, state->Emu, SameListContent);
    // Entry 0 of the per-key tables is never shown, sent or saved.
    for (std::size_t key = 1; key < KeyIndexCount; ++key) {
        changed = changed || !SameLight(was.Light[key], state->Light[key]);
        for (std::size_t level = 0; level < LevelCount; ++level) {
            auto& part = state->Settings[key][level];
            part = Shared(was.Settings[key][level], data.CurrentSettings[key][level], SameSettingExactly);
            changed = changed || differs(was.Settings[key][level], part, SameSetting);
        }
    }
    return state;
}

void CProfileHistory::ForgetUnused() {
    for (auto at = Parts.begin(); at != Parts.end();) {
        if (at->second.Held.expired()) {
            Bytes -= at->second.Bytes;
            at = Parts.erase(at);
        } else {
            ++at;
        }
    }
}

CProfileHistory::CProfileHistory(std::size_t stepLimit, std::size_t byteLimit)
    : StepLimit(stepLimit > 0 ? stepLimit : 1), ByteLimit(byteLimit) {}

CProfileHistory::~CProfileHistory() = default;

void CProfileHistory::Reset(const CKeyboardData& data) {
    States.clear();
    Steps.clear();
    Clean.clear();
    Parts.clear();
    Bytes = 0;
    Current = 0;
    bool changed = false;
    States.push_back(StateOf(data, changed));
    Clean.push_back(true);
}

bool CProfileHistory::Commit(const CKeyboardData& data, CHistoryStep step) {
    if (States.empty())
        Reset(data);
    bool changed = false;
    std::shared_ptr<const CState> state = StateOf(data, changed);
    if (!changed)
        return false;
    States.resize(Current + 1);
    Clean.resize(Current + 1);
    Steps.resize(Current);
    States.push_back(std::move(state));
    Clean.push_back(false);
    Steps.push_back(std::move(step));
    ++Current;
    ForgetUnused();
    // The step just made always stays, however large.
    while (Steps.size() > StepLimit || (Bytes > ByteLimit && Steps.size() > 1)) {
        States.pop_front();
        Clean.pop_front();
        Steps.pop_front();
        --Current;
        ForgetUnused();
    }
    return true;
}

void CProfileHistory::MarkClean(bool onlyThis) {
    if (Clean.empty())
        return;
    if (onlyThis)
        std::fill(Clean.begin(), Clean.end(), false);
    Clean[Current] = true;
}

bool CProfileHistory::CurrentClean() const {
    return !Clean.empty() && Clean[Current];
}

const CHistoryStep* CProfileHistory::UndoStep() const {
    return CanUndo() ? &Steps[Current - 1] : nullptr;
}

const CHistoryStep* CProfileHistory::RedoStep() const {
    return CanRedo() ? &Steps[Current] : nullptr;
}

const CHistoryStep* CProfileHistory::Undo(CKeyboardData& data) {
    if (!CanUndo())
        return nullptr;
    --Current;
    Restore(data);
    return &Steps[Current];
}

const CHistoryStep* CProfileHistory::Redo(CKeyboardData& data) {
    if (!CanRedo())
        return nullptr;
    ++Current;
    Restore(data);
    return &Steps[Current - 1];
}

void CProfileHistory::Restore(CKeyboardData& data) const {
    const CState& state = *States[Current];
    data.PredefinedCombo = *state.Combo;
    data.PredefinedMacro = *state.Macro;
    data.PredefinedEmu = *state.Emu;
    for (std::size_t key = 1; key < KeyIndexCount; ++key) {
        data.BackgroundLightSettings[key] = state.Light[key];
        for (std::size_t level = 0; level < LevelCount; ++level)
            data.CurrentSettings[key][level] = *state.Settings[key][level];
    }
}
