// Device library costs: packet encoding and decoding, and each transfer against the virtual keyboard,
// answering at once or taking 1 ms per report like a full-speed interrupt endpoint. For firmware, the
// host side (checking the Intel-HEX text, encoding and sending its records) is timed against a device
// that only takes the reports, apart from the virtual keyboard assembling its image from them.
#include "KeyDefine.h"
#include "zelk/VirtualKeyboard.h"
#include "zelk/ZelkHWI.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<int> MacroWithDelays(int steps) {
    std::vector<int> array = {2, 0, 1, 1, 0, steps};
    for (int i = 0; i < steps; ++i) {
        array.push_back(4 + i % 30);
        if (i + 1 < steps)
            array.push_back(30 + i);
    }
    return array;
}

// A table of 174 definitions: a third normal, a third continuous, a third 60-step macros with delays.
std::vector<std::vector<int>> MixedTable() {
    std::vector<std::vector<int>> table;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (slot % 3 == 0)
            table.push_back({0, 3, 17, 16, 4 + slot % 20});
        else if (slot % 3 == 1)
            table.push_back({1, 30, 5, 4, 5, 6, 7, 8});
        else
            table.push_back(MacroWithDelays(60));
    }
    return table;
}

void EncodeDecode174(benchmark::State& state) {
    const auto table = MixedTable();
    std::vector<std::unique_ptr<CKeyDefine>> defines;
    for (int slot = 0; slot < SlotCount; ++slot)
        defines.push_back(CKeyDefine::FromInterchange(slot % 87 + 1, slot / 87 + 1, table[slot].data(),
                                                      static_cast<int>(table[slot].size())));
    std::vector<std::uint8_t> buffer;
    for (auto _ : state) {
        for (const auto& define : defines) {
            int total = 0;
            define->Encode(nullptr, PacketSize, total);
            buffer.assign(static_cast<std::size_t>(total), 0);
            define->Encode(buffer.data(), PacketSize, total);
            auto decoded = CKeyDefine::Create(define->KeyNumber, define->Level, define->Kind);
            decoded->Decode(buffer.data(), PacketSize, total);
            benchmark::DoNotOptimize(decoded.get());
        }
    }
    state.SetItemsProcessed(state.iterations() * SlotCount); // items: definitions
}
BENCHMARK(EncodeDecode174);

struct CBench {
    explicit CBench(int microsecondsPerReport) : Keyboard(std::make_shared<CVirtualKeyboard>()) {
        Keyboard->SetMicrosecondsPerReport(microsecondsPerReport);
        Facade.UseDeviceProvider(MakeVirtualKeyboardProvider(Keyboard));
        Facade.__createDev();
    }
    std::shared_ptr<CVirtualKeyboard> Keyboard;
    CMorvHWI Facade;
};

void Report(benchmark::State& state, double reportsPerIteration, int microsecondsPerReport) {
    state.SetItemsProcessed(static_cast<std::int64_t>(reportsPerIteration) *
                            state.iterations()); // items: reports
    state.counters["reports"] = reportsPerIteration;
    if (microsecondsPerReport > 0)
        state.counters["floor_ms"] = reportsPerIteration * microsecondsPerReport / 1000.0;
}

void KeyWrite(benchmark::State& state) {
    const int pace = static_cast<int>(state.range(0));
    CBench bench(pace);
    for (auto _ : state) {
        bench.Facade.prepare();
        for (int key = 1; key <= KeyCount; ++key) {
            const int single[] = {0, 1, key};
            bench.Facade.setKeyConfiguration(0, key, single, 3);
        }
        if (!bench.Facade.writeKeyConfigurationToDev(nullptr))
            state.SkipWithError("write failed");
    }
    Report(state, 176, pace);
}
BENCHMARK(KeyWrite)->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(KeyWrite)->Arg(1000)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

void KeyRead(benchmark::State& state) {
    const int pace = static_cast<int>(state.range(0));
    CBench bench(0);
    for (int key = 1; key <= KeyCount; ++key) {
        const int single[] = {0, 1, key};
        bench.Facade.setKeyConfiguration(1, key, single, 3);
    }
    bench.Facade.writeKeyConfigurationToDev(nullptr);
    bench.Keyboard->SetMicrosecondsPerReport(pace);
    for (auto _ : state)
        if (!bench.Facade.readKeyDefinationFromDev(nullptr))
            state.SkipWithError("read failed");
    Report(state, 176, pace); // the request, 174 definitions, the end marker
}
BENCHMARK(KeyRead)->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(KeyRead)->Arg(1000)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

std::string FirmwareText(std::size_t bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    auto hexByte = [&](unsigned value) {
        text += digits[(value >> 4) & 0xF];
        text += digits[value & 0xF];
    };
    for (std::size_t address = 0; address < bytes; address += 16) {
        unsigned sum = 16 + (address >> 8 & 0xFF) + (address & 0xFF);
        text += ":10";
        hexByte(static_cast<unsigned>(address >> 8));
        hexByte(static_cast<unsigned>(address));
        text += "00";
        for (int i = 0; i < 16; ++i) {
            const unsigned value = (address + static_cast<std::size_t>(i) * 7) & 0xFF;
            sum += value;
            hexByte(value);
        }
        hexByte(-sum & 0xFF);
        text += "\r\n";
    }
    return text + ":00000001FF\r\n";
}

// A device that takes every report and answers nothing; it keeps the reports when asked to.
class CReportSink : public CReportDevice {
public:
    explicit CReportSink(std::vector<std::vector<std::uint8_t>>* kept) : Kept(kept) {}
    bool Write(const std::uint8_t* report, std::size_t length) override {
        if (Kept != nullptr)
            Kept->emplace_back(report, report + length);
        return true;
    }
    int Read(std::uint8_t*, std::size_t, int) override { return -1; }

private:
    std::vector<std::vector<std::uint8_t>>* Kept;
};

class CSinkProvider : public CDeviceProvider {
public:
    explicit CSinkProvider(std::vector<std::vector<std::uint8_t>>* kept = nullptr) : Kept(kept) {}
    std::vector<CHidInterface> Enumerate() override { return {{"sink", 0x0483, 0x5021, 1}}; }
    std::unique_ptr<CReportDevice> Open(const std::string&, std::string&) override {
        return std::make_unique<CReportSink>(Kept);
    }

private:
    std::vector<std::vector<std::uint8_t>>* Kept;
};

constexpr std::size_t FirmwareBytes = 64 * 1024;
constexpr int FirmwareReports = FirmwareBytes / 16 + 1; // 16-byte data records and the end record

// The whole transfer: the host side and the virtual keyboard's image assembly.
void Firmware64K(benchmark::State& state) {
    const int pace = static_cast<int>(state.range(0));
    CBench bench(pace);
    const std::string text = FirmwareText(FirmwareBytes);
    for (auto _ : state)
        if (!bench.Facade.WriteFirmwareToKeyboard(text.c_str(), text.size(), nullptr))
            state.SkipWithError("firmware transfer failed");
    Report(state, FirmwareReports, pace);
}
BENCHMARK(Firmware64K)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Firmware64K)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The host side alone: the text checked, every record decoded and sent to a device that only takes it.
void FirmwareHostSide64K(benchmark::State& state) {
    CMorvHWI facade;
    facade.UseDeviceProvider(std::make_shared<CSinkProvider>());
    facade.__createDev();
    const std::string text = FirmwareText(FirmwareBytes);
    for (auto _ : state)
        if (!facade.WriteFirmwareToKeyboard(text.c_str(), text.size(), nullptr))
            state.SkipWithError("firmware transfer failed");
    Report(state, FirmwareReports, 0);
}
BENCHMARK(FirmwareHostSide64K)->Unit(benchmark::kMillisecond)->UseRealTime();

// The virtual keyboard alone: the reports of one transfer (made before timing) taken in and the image
// assembled from them, then asked for as the state file and the image query ask for it.
void FirmwareImageAssembly64K(benchmark::State& state) {
    std::vector<std::vector<std::uint8_t>> reports;
    {
        CMorvHWI facade;
        facade.UseDeviceProvider(std::make_shared<CSinkProvider>(&reports));
        facade.__createDev();
        const std::string text = FirmwareText(FirmwareBytes);
        if (!facade.WriteFirmwareToKeyboard(text.c_str(), text.size(), nullptr)) {
            state.SkipWithError("firmware transfer failed");
            return;
        }
    }
    CVirtualKeyboard keyboard;
    for (auto _ : state) {
        for (const auto& report : reports)
            keyboard.Write(report.data(), report.size());
        const std::vector<std::uint8_t> image = keyboard.FirmwareImage();
        if (image.size() != FirmwareBytes)
            state.SkipWithError("the image is not whole");
        benchmark::DoNotOptimize(image.data());
    }
    Report(state, static_cast<double>(reports.size()), 0);
}
BENCHMARK(FirmwareImageAssembly64K)->Unit(benchmark::kMillisecond)->UseRealTime();

std::vector<int> LightArea() {
    std::vector<int> area(LightAreaSize);
    for (int i = 0; i < LightAreaSize; ++i)
        area[static_cast<std::size_t>(i)] = (i * 37) & 0xFF;
    return area;
}

// The start report, the five chunks of the 261-byte light area and the end report.
void LightWrite(benchmark::State& state) {
    const int pace = static_cast<int>(state.range(0));
    CBench bench(pace);
    const std::vector<int> area = LightArea();
    for (auto _ : state)
        if (!bench.Facade.setKeyboardLightArea(area.data()))
            state.SkipWithError("light write failed");
    Report(state, 7, pace);
}
BENCHMARK(LightWrite)->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(LightWrite)->Arg(1000)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

// The request, the five chunks and the end marker.
void LightRead(benchmark::State& state) {
    const int pace = static_cast<int>(state.range(0));
    CBench bench(0);
    const std::vector<int> area = LightArea();
    bench.Facade.setKeyboardLightArea(area.data());
    bench.Keyboard->SetMicrosecondsPerReport(pace);
    std::vector<int> back(LightAreaSize);
    for (auto _ : state) {
        if (!bench.Facade.readKeyLightFromDev() || !bench.Facade.getKeyboardLightArea(back.data()) ||
            back != area)
            state.SkipWithError("light read failed");
    }
    Report(state, 7, pace);
}
BENCHMARK(LightRead)->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(LightRead)->Arg(1000)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
