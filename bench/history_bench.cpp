// The memory of the undo history on the largest profile the reader takes: every key on both levels
// holds a macro of 1600 steps with recorded delays and each catalogue 20 such entries (about 55 MB as
// a file). Four histories of 100 steps: one key changed per step (an editor's OK), the backlight
// changed, two such profiles opened in turn, and a hundred different ones opened. The counters give
// the heap the model holds, the heap the history holds beside it (what its end gives back), the
// content it counts itself (shared with the model included), in MB, and a step's mean time.
#include "model/ProfileHistory.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <malloc.h>
#include <memory>
#include <string>

namespace {

constexpr int MacroSteps = 1600;
constexpr int CatalogueEntries = 20;
constexpr int Steps = 100;

// In use from the heap and from the blocks malloc maps on its own (large lists, until its threshold
// has grown past them).
double HeapMB() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// A macro of its own for every seed: its first delay is the seed, the others follow from it.
CActionList Macro(int seed) {
    CActionList macro;
    macro.SizeOfView = 9;
    for (int step = 0; step < MacroSteps; ++step) {
        if (step > 0) {
            const std::string delay = std::to_string(step == 1 ? seed : (seed * 31 + step) % 997 + 1);
            macro.AppendItem(u"<" + std::u16string(delay.begin(), delay.end()) + u" ms>");
        }
        macro.AppendItem(step % 2 == 0 ? u"Left SHIFT Down" : u"Left SHIFT UP");
    }
    return macro;
}

// Every macro of the profile differs from every other, and from those of another variant.
void FillLargest(CKeyboardData& data, int variant) {
    int seed = variant * 240;
    for (CActionList* catalogue : {&data.PredefinedCombo, &data.PredefinedMacro, &data.PredefinedEmu}) {
        catalogue->Clear();
        for (int entry = 0; entry < CatalogueEntries; ++entry) {
            catalogue->AppendItem(u"entry " + std::u16string(1, static_cast<char16_t>(u'A' + entry)));
            catalogue->SetSubList(catalogue->CursorPos, Macro(++seed));
        }
    }
    for (std::size_t key = 1; key < KeyIndexCount; ++key) {
        data.BackgroundLightSettings[key] = {variant & 0xFF, 0, 0};
        for (KeySetting& setting : data.CurrentSettings[key]) {
            setting.Mode = ModeMacro;
            setting.HWCode = 0;
            setting.ComboKey = Macro(++seed);
        }
    }
}

enum class Kind { KeyEdits, Backlight, TwoProfilesInTurn, DistinctProfiles };

void Run(benchmark::State& state, Kind kind) {
    for (auto _ : state) {
        auto data = std::make_unique<CKeyboardData>();
        BuildKeyCatalogue(*data);
        FillLargest(*data, 0);
        const double model = HeapMB();
        auto history = std::make_unique<CProfileHistory>();
        history->Reset(*data);
        std::chrono::nanoseconds spent{};
        for (int step = 1; step <= Steps; ++step) {
            switch (kind) {
            case Kind::KeyEdits: {
                KeySetting& setting = data->CurrentSettings[static_cast<std::size_t>(1 + step % KeyCount)][0];
                setting.Mode = ModeSingle;
                setting.HWCode = step;
                setting.ComboKey.Clear();
                break;
            }
            case Kind::Backlight:
                for (AreaLight& light : data->BackgroundLightSettings)
                    light.Green = step;
                break;
            case Kind::TwoProfilesInTurn:
                FillLargest(*data, step % 2);
                break;
            case Kind::DistinctProfiles:
                FillLargest(*data, step);
                break;
            }
            const auto before = std::chrono::steady_clock::now();
            history->Commit(*data, CHistoryStep{});
            spent += std::chrono::steady_clock::now() - before;
        }
        state.counters["model_MB"] = model;
        state.counters["steps"] = static_cast<double>(history->StepCount());
        state.counters["held_MB"] = static_cast<double>(history->HeldBytes()) / (1024.0 * 1024.0);
        // What the history holds that the model does not: the heap its end gives back.
        const double withHistory = HeapMB();
        history.reset();
        state.counters["history_MB"] = withHistory - HeapMB();
        state.counters["ms_per_step"] = std::chrono::duration<double, std::milli>(spent).count() / Steps;
    }
}

} // namespace

BENCHMARK_CAPTURE(Run, KeyEdits, Kind::KeyEdits)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, Backlight, Kind::Backlight)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, TwoProfilesInTurn, Kind::TwoProfilesInTurn)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, DistinctProfiles, Kind::DistinctProfiles)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
