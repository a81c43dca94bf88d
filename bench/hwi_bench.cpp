// Device library costs: packet encoding and decoding, and the host side of each transfer against the
// virtual keyboard, answering at once or taking 1 ms per report like a full-speed interrupt endpoint.
#include "KeyDefine.h"
#include "VirtualKeyboard.h"
#include "ZelkHWI.h"

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
    state.SetItemsProcessed(static_cast<std::int64_t>(reportsPerIteration) * state.iterations()); // items: reports
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

void Firmware64K(benchmark::State& state) {
    const int pace = static_cast<int>(state.range(0));
    CBench bench(pace);
    const std::string text = FirmwareText(64 * 1024);
    for (auto _ : state)
        if (!bench.Facade.WriteFirmwareToKeyboard(text.c_str(), text.size(), nullptr))
            state.SkipWithError("firmware transfer failed");
    Report(state, 64 * 1024 / 16 + 1, pace);
}
BENCHMARK(Firmware64K)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Firmware64K)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
