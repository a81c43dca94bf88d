// Loading and saving a large profile against pugixml doing the same work. The profile: every key on
// both layers holds a 799-item macro with recorded delays, and each catalogue holds 20 entries of 799
// items (27.6 MB). pugixml's side parses the file and walks it into a model of the same shape (item
// texts converted to UTF-16 and placed by their ID), and saves by building a document from the model
// and writing it with one element per line. Both sides replace the saved file as the program does: a
// fresh file beside it, flushed to the disk, renamed over it.
//
// Every benchmark here is a pair: each iteration runs both sides, in alternating order, so a busy
// machine slows both alike; the counters give each side's mean time and their ratio (zelk / pugixml).
// The Fresh pairs start this program again for every run, as the desktop program meets a profile, and
// also give each side's peak resident memory; the Growth pairs show how the cost grows with the file.
// Files are made before any timing starts.
#include "ChildProcess.h"
#include "model/Profile.h"
#include "xml/XmlEncoding.h"
#include "zelk/FileReplace.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int LargeMacroItems = 799;
constexpr long long MaxListItems = 65536; // as LoadProfile places items

fs::path WorkFolder;
std::string SelfPath;

fs::path ProfileFile(int items) {
    return WorkFolder / ("profile-" + std::to_string(items) + ".pro");
}

CActionList RecordedMacro(int items) {
    CActionList macro;
    macro.SizeOfView = 9;
    for (int i = 0; i < items; ++i) {
        if (i % 2 == 1)
            macro.AppendItem(u"<" + std::u16string(1, static_cast<char16_t>(u'1' + i % 9)) + u"0 ms>");
        else
            macro.AppendItem(i % 4 == 0 ? u"Left SHIFT Down" : u"Left SHIFT UP");
    }
    return macro;
}

std::unique_ptr<CKeyboardData> LargeModel(int items) {
    auto data = std::make_unique<CKeyboardData>();
    data->Clear();
    const CActionList macro = RecordedMacro(items);
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

// The profile file of that macro length, made once.
const fs::path& Profile(int items) {
    static std::map<int, fs::path> made;
    auto found = made.find(items);
    if (found == made.end()) {
        const fs::path file = ProfileFile(items);
        if (!SaveProfile(*LargeModel(items), file))
            return made.emplace(items, fs::path()).first->second;
        found = made.emplace(items, file).first;
    }
    return found->second;
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// ---- pugixml doing the same work ----------------------------------------------------------------

std::u16string Utf16(const char* text) {
    std::u16string out;
    XmlEncoding::AppendUtf8AsUtf16(text, out);
    return out;
}

void PugiReadList(const pugi::xml_node& parent, CActionList& list) {
    list.Clear();
    const pugi::xml_node node = parent.child("List");
    if (!node)
        return;
    list.SizeOfView = node.attribute("SizeOfView").as_int();
    list.ViewStartAt = node.attribute("ViewStartAt").as_int();
    list.CursorPos = node.attribute("CursorPos").as_int();
    list.Cycles = node.attribute("Cycles").as_int();
    list.IsAutoInterval = node.attribute("IsAutoInterval").as_int() != 0;
    list.Delay = node.attribute("Delay").as_int();
    list.PlayMode = node.attribute("PlayMode").as_int();
    for (pugi::xml_node x = node.child("x"); x; x = x.next_sibling("x")) {
        const long long index = x.attribute("ID").as_int();
        const bool placeable = index >= 0 && index < MaxListItems;
        if (placeable && index >= static_cast<long long>(list.List.size())) {
            list.List.resize(static_cast<std::size_t>(index) + 1);
            list.SubLists.resize(static_cast<std::size_t>(index) + 1);
        }
        CActionList child;
        PugiReadList(x, child);
        if (placeable) {
            list.List[static_cast<std::size_t>(index)] = Utf16(x.attribute("t1").value());
            list.SubLists[static_cast<std::size_t>(index)] = std::move(child);
        }
    }
}

bool PugiLoadProfile(CKeyboardData& data, const fs::path& file) {
    pugi::xml_document document;
    if (!document.load_file(file.c_str()))
        return false;
    const pugi::xml_node root = document.child("Zelk");
    if (!root)
        return false;
    auto combo = std::make_unique<CActionList>();
    auto macro = std::make_unique<CActionList>();
    auto emu = std::make_unique<CActionList>();
    PugiReadList(root.child("PredefinedCombo"), *combo);
    PugiReadList(root.child("PredefinedMacro"), *macro);
    PugiReadList(root.child("PredefinedEmu"), *emu);
    std::array<AreaLight, KeyIndexCount> light{};
    for (pugi::xml_node area : root.child("BackgroundLightSettings").children("AREA")) {
        const int id = area.attribute("ID").as_int();
        if (id >= 1 && id < KeyIndexCount)
            light[id] = {area.attribute("Red").as_int(), area.attribute("Green").as_int(),
                         area.attribute("Blue").as_int()};
    }
    auto settings = std::make_unique<std::array<std::array<KeySetting, LevelCount>, KeyIndexCount>>();
    for (int key = 0; key < KeyIndexCount; ++key)
        for (KeySetting& setting : (*settings)[key])
            setting.HWCode = key;
    for (pugi::xml_node node : root.child("CurrentSettings").children("KEY")) {
        const int key = node.attribute("ID").as_int();
        const int level = node.attribute("Level").as_int();
        KeySetting ignored;
        const bool placeable = key >= 1 && key < KeyIndexCount && level >= 0 && level < LevelCount;
        KeySetting& setting = placeable ? (*settings)[key][level] : ignored;
        setting.Mode = node.attribute("Mode").as_int();
        setting.HWCode = node.attribute("HWCode").as_int();
        PugiReadList(node.child("ComboKey"), setting.ComboKey);
    }
    data.PredefinedCombo = std::move(*combo);
    data.PredefinedMacro = std::move(*macro);
    data.PredefinedEmu = std::move(*emu);
    data.BackgroundLightSettings = light;
    data.CurrentSettings = std::move(*settings);
    return true;
}

void PugiWriteList(pugi::xml_node parent, const CActionList& list, std::string& scratch) {
    pugi::xml_node node = parent.append_child("List");
    node.append_attribute("SizeOfView") = list.SizeOfView;
    node.append_attribute("ViewStartAt") = list.ViewStartAt;
    node.append_attribute("CursorPos") = list.CursorPos;
    node.append_attribute("Cycles") = list.Cycles;
    node.append_attribute("IsAutoInterval") = list.IsAutoInterval ? 1 : 0;
    node.append_attribute("Delay") = list.Delay;
    node.append_attribute("PlayMode") = list.PlayMode;
    const CActionList empty;
    for (std::size_t i = 0; i < list.List.size(); ++i) {
        pugi::xml_node x = node.append_child("x");
        x.append_attribute("ID") = static_cast<int>(i);
        scratch.clear();
        bool loss = false;
        XmlEncoding::AppendUtf16AsUtf8(list.List[i], scratch, loss);
        x.append_attribute("t1") = scratch.c_str();
        PugiWriteList(x, i < list.SubLists.size() ? list.SubLists[i] : empty, scratch);
    }
}

// pugixml's output handed to the writer of a file replacement.
class CPugiWriter : public pugi::xml_writer {
public:
    explicit CPugiWriter(const FileContentsWriter& write) : Write(write) {}
    void write(const void* data, std::size_t size) override {
        Written = Written && Write(static_cast<const char*>(data), size);
    }
    bool Written = true;

private:
    const FileContentsWriter& Write;
};

bool PugiSaveProfile(const CKeyboardData& data, const fs::path& file) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = document.append_child("Zelk");
    std::string scratch;
    PugiWriteList(root.append_child("PredefinedCombo"), data.PredefinedCombo, scratch);
    PugiWriteList(root.append_child("PredefinedMacro"), data.PredefinedMacro, scratch);
    PugiWriteList(root.append_child("PredefinedEmu"), data.PredefinedEmu, scratch);
    pugi::xml_node lights = root.append_child("BackgroundLightSettings");
    for (int key = 1; key < KeyIndexCount; ++key) {
        const AreaLight& light = data.BackgroundLightSettings[key];
        pugi::xml_node area = lights.append_child("AREA");
        area.append_attribute("ID") = key;
        area.append_attribute("Red") = light.Red;
        area.append_attribute("Green") = light.Green;
        area.append_attribute("Blue") = light.Blue;
    }
    pugi::xml_node settings = root.append_child("CurrentSettings");
    for (int key = 1; key < KeyIndexCount; ++key) {
        for (int level = 0; level < LevelCount; ++level) {
            const KeySetting& setting = data.CurrentSettings[key][level];
            pugi::xml_node node = settings.append_child("KEY");
            node.append_attribute("ID") = key;
            node.append_attribute("Level") = level;
            node.append_attribute("Mode") = setting.Mode;
            node.append_attribute("HWCode") = setting.HWCode;
            PugiWriteList(node.append_child("ComboKey"), setting.ComboKey, scratch);
        }
    }
    // One element per line, no indentation: the layout of a profile, with LF line ends. Written as the
    // program writes a profile: to a fresh file beside the target, flushed to the disk and renamed over it.
    CProblem problem;
    return ReplaceFileContents(
        file,
        [&document](const FileContentsWriter& write) {
            CPugiWriter writer(write);
            document.save(writer, "", pugi::format_indent, pugi::encoding_utf8);
            return writer.Written;
        },
        ProblemCode::None, problem);
}

// ---- the two sides of each pair -------------------------------------------------------------------

enum class ESide { Zelk, Pugixml };
enum class EWork { Load, Save, LoadSave };

const char* SideName(ESide side) {
    return side == ESide::Zelk ? "zelk" : "pugixml";
}

bool Load(ESide side, CKeyboardData& data, const fs::path& file) {
    return side == ESide::Zelk ? LoadProfile(data, file) : PugiLoadProfile(data, file);
}

bool Save(ESide side, const CKeyboardData& data, const fs::path& file) {
    return side == ESide::Zelk ? SaveProfile(data, file) : PugiSaveProfile(data, file);
}

fs::path OutputFile(ESide side) {
    return WorkFolder / (std::string("saved-") + SideName(side) + ".pro");
}

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct SPairTotals {
    double Seconds[2] = {0, 0};
    double PeakMegabytes[2] = {0, 0};
    long Runs = 0;
};

void ReportPair(benchmark::State& state, const SPairTotals& totals, bool withPeak) {
    const double runs = static_cast<double>(std::max(totals.Runs, 1L));
    const double zelk = totals.Seconds[0] / runs * 1e3;
    const double pugixml = totals.Seconds[1] / runs * 1e3;
    state.counters["zelk_ms"] = zelk;
    state.counters["pugixml_ms"] = pugixml;
    state.counters["ratio"] = pugixml > 0 ? zelk / pugixml : 0;
    if (withPeak) {
        state.counters["zelk_peak_MB"] = totals.PeakMegabytes[0] / runs;
        state.counters["pugixml_peak_MB"] = totals.PeakMegabytes[1] / runs;
    }
}

// In one process, again and again: each side keeps its own model and output file.
bool InProcessPair(benchmark::State& state, EWork work, int items, SPairTotals& totals) {
    const fs::path& input = Profile(items);
    if (input.empty()) {
        state.SkipWithError("the profile could not be made");
        return false;
    }
    std::unique_ptr<CKeyboardData> models[2];
    for (auto& model : models)
        model = LargeModel(items);
    for (auto _ : state) {
        double iteration = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const auto side = static_cast<ESide>((turn + totals.Runs) % 2);
            CKeyboardData& model = *models[static_cast<int>(side)];
            const double start = Now();
            bool ok = true;
            if (work != EWork::Save)
                ok = Load(side, model, input);
            if (ok && work != EWork::Load)
                ok = Save(side, model, OutputFile(side));
            const double seconds = Now() - start;
            if (!ok) {
                state.SkipWithError("a load or save failed");
                return false;
            }
            totals.Seconds[static_cast<int>(side)] += seconds;
            iteration += seconds;
        }
        ++totals.Runs;
        state.SetIterationTime(iteration);
    }
    if (work == EWork::LoadSave && ReadBytes(OutputFile(ESide::Zelk)) != ReadBytes(input)) {
        state.SkipWithError("loading and saving changed the profile");
        return false;
    }
    return true;
}

void InProcessPair(benchmark::State& state, EWork work) {
    SPairTotals totals;
    if (InProcessPair(state, work, LargeMacroItems, totals))
        ReportPair(state, totals, false);
}

void LoadPair(benchmark::State& state) {
    InProcessPair(state, EWork::Load);
}
void SavePair(benchmark::State& state) {
    InProcessPair(state, EWork::Save);
}
void LoadSavePair(benchmark::State& state) {
    InProcessPair(state, EWork::LoadSave);
}
BENCHMARK(LoadPair)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(SavePair)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(LoadSavePair)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Load and save of profiles whose macros hold 100 to 1600 items (3.5 to 55 MB): with a cost linear in
// the file, each side's time per byte stays flat as the file grows (and so does the ratio).
void GrowthPair(benchmark::State& state) {
    const int items = static_cast<int>(state.range(0));
    SPairTotals totals;
    if (!InProcessPair(state, EWork::LoadSave, items, totals))
        return;
    ReportPair(state, totals, false);
    const double bytes = static_cast<double>(fs::file_size(Profile(items)));
    const double runs = static_cast<double>(std::max(totals.Runs, 1L));
    state.counters["MB"] = bytes / 1e6;
    state.counters["zelk_ns_per_byte"] = totals.Seconds[0] / runs / bytes * 1e9;
    state.counters["pugixml_ns_per_byte"] = totals.Seconds[1] / runs / bytes * 1e9;
}
BENCHMARK(GrowthPair)
    ->Arg(100)
    ->Arg(200)
    ->Arg(400)
    ->Arg(800)
    ->Arg(1600)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);

// The peak resident memory of this process. (The kernel's account of a child, from wait4, would also
// count the parent's memory that the child shared between fork and exec.)
long PeakResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Child mode: one load (and save) in a fresh process; prints the seconds it took and its peak memory.
int RunChild(ESide side, EWork work, const fs::path& input, const fs::path& output) {
    auto data = std::make_unique<CKeyboardData>();
    if (work == EWork::Save)
        data = LargeModel(LargeMacroItems);
    const double start = Now();
    bool ok = true;
    if (work != EWork::Save)
        ok = Load(side, *data, input);
    if (ok && work != EWork::Load)
        ok = Save(side, *data, output);
    const double seconds = Now() - start;
    if (!ok)
        return 1;
    std::printf("%.9f %ld\n", seconds, PeakResidentKilobytes());
    return 0;
}

// Runs the child; false when it failed.
bool RunFresh(ESide side, EWork work, const fs::path& input, double& seconds, double& peakMegabytes) {
    static const char* const Works[] = {"load", "save", "loadsave"};
    std::string reply;
    long peak = 0;
    if (!RunForOutput(SelfPath,
                      {"--child", SideName(side), Works[static_cast<int>(work)], input.string(),
                       OutputFile(side).string()},
                      reply) ||
        std::sscanf(reply.c_str(), "%lf %ld", &seconds, &peak) != 2)
        return false;
    peakMegabytes = static_cast<double>(peak) / 1024.0;
    return true;
}

void FreshPair(benchmark::State& state, EWork work) {
    const fs::path& input = Profile(LargeMacroItems);
    if (input.empty()) {
        state.SkipWithError("the profile could not be made");
        return;
    }
    SPairTotals totals;
    for (auto _ : state) {
        double iteration = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const auto side = static_cast<ESide>((turn + totals.Runs) % 2);
            double seconds = 0, peak = 0;
            if (!RunFresh(side, work, input, seconds, peak)) {
                state.SkipWithError("a fresh process failed");
                return;
            }
            totals.Seconds[static_cast<int>(side)] += seconds;
            totals.PeakMegabytes[static_cast<int>(side)] += peak;
            iteration += seconds;
        }
        ++totals.Runs;
        state.SetIterationTime(iteration);
    }
    ReportPair(state, totals, true);
}

void FreshLoadPair(benchmark::State& state) {
    FreshPair(state, EWork::Load);
}
void FreshSavePair(benchmark::State& state) {
    FreshPair(state, EWork::Save);
}
void FreshLoadSavePair(benchmark::State& state) {
    FreshPair(state, EWork::LoadSave);
}
BENCHMARK(FreshLoadPair)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(FreshSavePair)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(FreshLoadSavePair)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

} // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "--child") == 0) {
        const ESide side = std::strcmp(argv[2], "zelk") == 0 ? ESide::Zelk : ESide::Pugixml;
        const EWork work = std::strcmp(argv[3], "load") == 0   ? EWork::Load
                           : std::strcmp(argv[3], "save") == 0 ? EWork::Save
                                                               : EWork::LoadSave;
        return RunChild(side, work, argv[4], argv[5]);
    }
    SelfPath = RunningProgramPath(argv[0]);
    WorkFolder = fs::temp_directory_path() / ("zelk-profile-bench-" + std::to_string(getpid()));
    fs::create_directories(WorkFolder);

    benchmark::Initialize(&argc, argv);
    // The large profile is made before the first benchmark starts (the growth benchmark makes each of
    // its files before its timed loop).
    if (Profile(LargeMacroItems).empty())
        std::fprintf(stderr, "profile_bench: could not make the profile\n");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(WorkFolder, ignored);
    return 0;
}
