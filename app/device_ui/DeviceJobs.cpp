#include "device_ui/DeviceJobs.h"

#include "IntelHex.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

namespace {

int SlotOf(int level, int key) {
    return level * KeyCount + key - 1;
}

// Marks the elements the library did not write: no interchange element takes this value.
constexpr int Unwritten = INT_MIN;

} // namespace

std::vector<CKeyDefinitionToSend> KeyDefinitionsToSend(const CKeyboardData& data) {
    std::vector<CKeyDefinitionToSend> definitions;
    for (int level = 0; level < LevelCount; ++level) {
        for (int key = 1; key <= KeyCount; ++key) {
            std::vector<int> array = KeyDefinitionArray(data, data.CurrentSettings[key][level]);
            if (!array.empty())
                definitions.push_back({level, key, std::move(array)});
        }
    }
    return definitions;
}

CLightArea LightAreaToSend(const CKeyboardData& data) {
    CLightArea area{};
    for (int key = 1; key <= KeyCount; ++key) {
        const AreaLight& light = data.BackgroundLightSettings[key];
        area[3 * (key - 1)] = light.Red;
        area[3 * (key - 1) + 1] = light.Green;
        area[3 * (key - 1) + 2] = light.Blue;
    }
    return area;
}

void ApplyReadBack(CKeyboardData& data, const CKeyboardReadBack& readBack) {
    if (readBack.Definitions.size() == static_cast<std::size_t>(SlotCount)) {
        for (int level = 0; level < LevelCount; ++level) {
            for (int key = 1; key <= KeyCount; ++key)
                ApplyKeyDefinition(data, readBack.Definitions[SlotOf(level, key)],
                                   data.CurrentSettings[key][level]);
        }
    }
    for (int key = 1; key <= KeyCount; ++key)
        data.BackgroundLightSettings[key] = {readBack.Light[3 * (key - 1)], readBack.Light[3 * (key - 1) + 1],
                                             readBack.Light[3 * (key - 1) + 2]};
}

bool SendKeyDefinitions(CMorvHWI& hwi, const std::vector<CKeyDefinitionToSend>& definitions,
                        CMessageTarget* notify, CKeyRefusal& refusal) {
    refusal = {};
    if (!hwi.prepare())
        return false;
    for (const CKeyDefinitionToSend& definition : definitions) {
        if (!hwi.setKeyConfiguration(definition.Level, definition.Key, definition.Array.data(),
                                     static_cast<int>(definition.Array.size()))) {
            refusal = {definition.Key, definition.Level};
            // Leave no half-built table behind for a later transfer.
            hwi.prepare();
            return false;
        }
    }
    return hwi.writeKeyConfigurationToDev(notify);
}

bool ReceiveKeyDefinitions(CMorvHWI& hwi, CMessageTarget* notify,
                           std::vector<std::vector<int>>& definitions) {
    definitions.clear();
    if (!hwi.readKeyDefinationFromDev(notify))
        return false;
    // The library says nothing about a definition's length: the elements it wrote are the ones that
    // no longer hold the mark. Only the part written before needs marking again.
    std::vector<int> scratch(InterchangeCapacity, Unwritten);
    std::size_t used = 0;
    std::vector<std::vector<int>> received(SlotCount);
    for (int level = 0; level < LevelCount; ++level) {
        for (int key = 1; key <= KeyCount; ++key) {
            std::fill_n(scratch.begin(), used, Unwritten);
            if (!hwi.getKeyConfiguration(level, key, scratch.data(), InterchangeCapacity))
                return false;
            const auto last =
                std::find_if(scratch.rbegin(), scratch.rend(), [](int e) { return e != Unwritten; });
            used = static_cast<std::size_t>(std::distance(last, scratch.rend()));
            received[SlotOf(level, key)].assign(scratch.begin(), scratch.begin() + static_cast<long>(used));
        }
    }
    definitions = std::move(received);
    return true;
}

bool SendLightArea(CMorvHWI& hwi, const CLightArea& light) {
    return hwi.setKeyboardLightArea(light.data());
}

bool ReceiveLightArea(CMorvHWI& hwi, CLightArea& light) {
    CLightArea received{};
    if (!hwi.readKeyLightFromDev() || !hwi.getKeyboardLightArea(received.data()))
        return false;
    light = received;
    return true;
}

FirmwareResult SendFirmwareFile(CMorvHWI& hwi, const std::u16string& path, CMessageTarget* notify,
                                std::string& problem) {
    problem.clear();
    if (path.empty())
        return FirmwareFileNotOpened;
    const std::filesystem::path where(path);
    std::error_code error;
    if (std::filesystem::is_directory(where, error))
        return FirmwareFileNotOpened;
    std::ifstream file(where, std::ios::binary);
    if (!file)
        return FirmwareFileNotOpened;
    std::string text;
    try {
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::bad_alloc&) {
        return FirmwareNoBuffer;
    }
    if (file.bad())
        return FirmwareFileNotOpened;
    if (!CheckFirmwareText(text, problem))
        return FirmwareFileInvalid;
    return hwi.WriteFirmwareToKeyboard(text.c_str(), text.size(), notify) ? FirmwareWritten
                                                                          : FirmwareTransferFailed;
}
