// A large profile: every key on both layers holds a 799-item macro with recorded delays, and each
// catalogue holds 20 entries of 799 items. LoadProfile and SaveProfile against pugixml doing the same
// work on the same file: parsing and walking every element, and writing the document.
#include "model/Profile.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <filesystem>
#include <memory>
#include <string>

namespace {

CActionList RecordedMacro() {
    CActionList macro;
    macro.SizeOfView = 9;
    for (int i = 0; i < 799; ++i) {
        if (i % 2 == 1)
            macro.AppendItem(u"<" + std::u16string(1, static_cast<char16_t>(u'1' + i % 9)) + u"0 ms>");
        else
            macro.AppendItem(i % 4 == 0 ? u"Left SHIFT Down" : u"Left SHIFT UP");
    }
    return macro;
}

std::unique_ptr<CKeyboardData> LargeModel() {
    auto data = std::make_unique<CKeyboardData>();
    data->Clear();
    const CActionList macro = RecordedMacro();
    for (CActionList* catalogue : {&data->PredefinedCombo, &data->PredefinedMacro, &data->PredefinedEmu}) {
        for (int entry = 0; entry < 20; ++entry) {
            catalogue->AppendItem(u"Entry " + std::u16string(1, static_cast<char16_t>(u'A' + entry)));
            catalogue->SetSubList(catalogue->CursorPos, macro);
        }
    }
    for (int key = 1; key <= 87; ++key)
        for (int level = 0; level < 2; ++level)
            data->CurrentSettings[key][level] = {ModeMacro, key, macro};
    return data;
}

const std::filesystem::path& LargeFile() {
    static const std::filesystem::path path = [] {
        auto file = std::filesystem::temp_directory_path() / "zelk-large-profile.pro";
        SaveProfile(*LargeModel(), file);
        return file;
    }();
    return path;
}

void SetBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(std::filesystem::file_size(LargeFile())) * state.iterations());
}

void LoadLargeProfile(benchmark::State& state) {
    auto data = std::make_unique<CKeyboardData>();
    for (auto _ : state)
        if (!LoadProfile(*data, LargeFile()))
            state.SkipWithError("load failed");
    SetBytes(state);
}
BENCHMARK(LoadLargeProfile)->Unit(benchmark::kMillisecond);

void SaveLargeProfile(benchmark::State& state) {
    auto data = LargeModel();
    const auto out = std::filesystem::temp_directory_path() / "zelk-large-profile-saved.pro";
    for (auto _ : state)
        if (!SaveProfile(*data, out))
            state.SkipWithError("save failed");
    SetBytes(state);
}
BENCHMARK(SaveLargeProfile)->Unit(benchmark::kMillisecond);

long Walk(const pugi::xml_node& node) {
    long count = 0;
    for (const pugi::xml_node& child : node.children()) {
        for (const pugi::xml_attribute& attribute : child.attributes())
            count += attribute.as_int() + static_cast<long>(std::char_traits<char>::length(attribute.value()));
        count += 1 + Walk(child);
    }
    return count;
}

void PugixmlParseAndWalk(benchmark::State& state) {
    for (auto _ : state) {
        pugi::xml_document document;
        if (!document.load_file(LargeFile().c_str()))
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(Walk(document));
    }
    SetBytes(state);
}
BENCHMARK(PugixmlParseAndWalk)->Unit(benchmark::kMillisecond);

void PugixmlWrite(benchmark::State& state) {
    pugi::xml_document document;
    document.load_file(LargeFile().c_str());
    const auto out = std::filesystem::temp_directory_path() / "zelk-large-profile-pugixml.pro";
    for (auto _ : state)
        if (!document.save_file(out.c_str(), "", pugi::format_raw))
            state.SkipWithError("write failed");
    SetBytes(state);
}
BENCHMARK(PugixmlWrite)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
