#include "model/KeyboardRules.h"

#include "catalogue/ContentItem.h"
#include "catalogue/KeyCatalogue.h"

namespace {

struct CCodeRange {
    int Mode;
    int First;
    int Last;
};

constexpr int FirstPowerCode = 75;
constexpr int LastPowerCode = 77;

// The device codes of the kinds that take one. The power codes lie inside the keys' numbering.
constexpr CCodeRange CodeRanges[] = {
    {ModePower, FirstPowerCode, LastPowerCode},
    {ModeSingle, 1, 107},
    {ModeMultimedia, 108, 125},
    {ModeMouse, 126, 134},
    {ModeMouse, DoubleLeftClickCode, DoubleLeftClickCode},
    {ModeFunction, 135, 159},
};

// The kind whose codes hold code, or ModeNotSet; the first range that holds it decides.
int KindOfCode(int code) {
    for (const CCodeRange& range : CodeRanges)
        if (code >= range.First && code <= range.Last)
            return range.Mode;
    return ModeNotSet;
}

CProblem ListItemProblem(ProblemCode code, std::size_t item) {
    CProblem problem(code);
    problem.Item = static_cast<long long>(item);
    return problem;
}

} // namespace

bool KindTakesCode(int mode) {
    return mode == ModeSingle || (mode >= ModeMultimedia && mode <= ModePower);
}

bool KindTakesList(int mode) {
    return mode == ModeCombo || mode == ModeMacro || mode == ModeEmulation;
}

bool CodeFitsKind(int mode, int code) {
    return KindTakesCode(mode) && KindOfCode(code) == mode;
}

int OwnDeviceCode(int keyIndex) {
    if (keyIndex < 1 || keyIndex > KeyCount)
        return 0;
    return keyIndex < FirstPowerCode ? keyIndex : keyIndex + (LastPowerCode - FirstPowerCode + 1);
}

int KindOfSingleCode(int code) {
    const int mode = KindOfCode(code);
    return mode == ModeNotSet ? ModeSingle : mode;
}

CProblem CapacityProblem(const CActionList& list, int mode) {
    const auto count = static_cast<long long>(list.List.size());
    const auto tooMany = [count](ProblemCode code, int limit) {
        CProblem problem(code, 0, static_cast<std::uintmax_t>(limit));
        problem.Count = count;
        return problem;
    };
    switch (mode) {
    case ModeCombo:
        return count > MaxNormalCodes ? tooMany(ProblemCode::CombinationTooLong, MaxNormalCodes) : CProblem();
    case ModeEmulation:
        return count > MaxContinuousCodes ? tooMany(ProblemCode::EmulationTooLong, MaxContinuousCodes)
                                          : CProblem();
    case ModeMacro:
        break;
    default:
        return {};
    }
    if (list.PlayMode < 0 || list.PlayMode > MaxMacroPlayMode)
        return CProblem(ProblemCode::PlayModeUnknown, 0, MaxMacroPlayMode);
    const long long steps = list.IsAutoInterval ? count : (count + 1) / 2;
    const long long bytes = MacroStreamLength(steps, !list.IsAutoInterval);
    if (bytes > MaxMacroStream || count > MaxMacroItems) {
        CProblem problem = tooMany(ProblemCode::MacroTooLong, MaxMacroStream);
        problem.Size = bytes;
        return problem;
    }
    return {};
}

CProblem ListProblem(const CActionList& list, int mode, bool mayBeEmpty) {
    const std::size_t count = list.List.size();
    if ((mode == ModeCombo || mode == ModeEmulation) && count == 0 && !mayBeEmpty)
        return mode == ModeCombo ? ProblemCode::CombinationEmpty : ProblemCode::EmulationEmpty;
    if (mode == ModeMacro) {
        for (std::size_t i = 0; i < count; ++i) {
            const bool delay = IsBracketedDelayItem(list.List[i]);
            if (list.IsAutoInterval && delay)
                return ListItemProblem(ProblemCode::MacroDelayWithFixedInterval, i);
            if (!list.IsAutoInterval && delay != (i % 2 == 1))
                return ListItemProblem(
                    i % 2 == 1 ? ProblemCode::MacroDelayExpected : ProblemCode::MacroStepExpected, i);
        }
        if (!list.IsAutoInterval && count % 2 == 0 && count > 0)
            return ProblemCode::MacroEndsWithDelay;
    }
    return CapacityProblem(list, mode);
}
