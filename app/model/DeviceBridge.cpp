#include "model/DeviceBridge.h"

#include "catalogue/ContentItem.h"
#include "catalogue/KeyCatalogue.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <string_view>

namespace {

// Definition kinds of the interchange array (element 0).
constexpr int NormalDefinition = 0;
constexpr int ContinuousDefinition = 1;
constexpr int MacroDefinition = 2;

int SlotOf(int level, int key) {
    return level * KeyCount + key - 1;
}

std::atomic<unsigned long> Transfers{0};

// Marks the elements the library did not write: no interchange element takes this value.
constexpr int Unwritten = INT_MIN;

// A list as the editor would have built it for read-back content.
CActionList FreshList(int sizeOfView) {
    CActionList list;
    list.SizeOfView = sizeOfView;
    return list;
}

// Element access that treats everything past the array's end as 0.
class CReadBack {
public:
    explicit CReadBack(std::span<const int> array) : Array(array) {}
    int operator[](long long index) const {
        return index >= 0 && static_cast<std::size_t>(index) < Array.size()
                   ? Array[static_cast<std::size_t>(index)]
                   : 0;
    }
    // Number of items of a list of count elements starting at first, bounded by the array's end.
    long long Items(long long first, long long count) const {
        if (count <= 0 || first >= static_cast<long long>(Array.size()))
            return 0;
        return std::min<long long>(count, static_cast<long long>(Array.size()) - first);
    }

private:
    std::span<const int> Array;
};

void AppendCodeNames(const CKeyboardData& data, const CReadBack& array, long long first, int count,
                     CActionList& list) {
    const long long items = array.Items(first, count);
    for (long long i = 0; i < items; ++i)
        list.AppendItem(DeviceCodeLabel(data, array[first + i]));
}

CActionList MacroList(const CKeyboardData& data, const CReadBack& array) {
    CActionList list = FreshList(MacroViewRows);
    list.PlayMode = array[1];
    list.Cycles = array[2];
    list.IsAutoInterval = array[3] == 0;
    list.Delay = array[4];
    const int steps = array[5];
    if (list.IsAutoInterval) {
        AppendCodeNames(data, array, 6, steps, list);
        return list;
    }
    // Steps at elements 6, 8, 10, ...; the delay before step i at element 5 + 2i.
    const long long available = array.Items(6, 2LL * steps - 1);
    for (long long i = 0; i < steps && 2 * i < available; ++i) {
        if (i > 0)
            list.AppendItem(DelayItem(array[5 + 2 * i]));
        list.AppendItem(DeviceCodeLabel(data, array[6 + 2 * i]));
    }
    return list;
}

} // namespace

int ItemToCode(const CKeyboardData& data, const std::u16string& text) {
    if (ContainsDelayMark(text))
        return DelayMilliseconds(text);
    for (const auto& [keyCode, name] : data.KeyNames)
        if (ItemNamesKey(text, name))
            return DeviceCodeOfKey(data, keyCode);
    return 0;
}

std::vector<int> KeyDefinitionArray(const CKeyboardData& data, const KeySetting& setting) {
    if (setting.Mode <= ModeNotSet)
        return {};
    const CActionList& content = setting.ComboKey;
    const int n = content.Count();
    std::vector<int> array;
    switch (setting.Mode) {
    case ModeCombo:
        array = {NormalDefinition, n};
        break;
    case ModeMacro: {
        if (n == 0)
            return {}; // no packet can carry a macro without steps
        const bool autoInterval = content.IsAutoInterval;
        array = {MacroDefinition,
                 content.PlayMode,
                 content.PlayMode == 0 ? content.Cycles : 0,
                 autoInterval ? 0 : 1,
                 autoInterval ? content.Delay : 0,
                 autoInterval ? n : (n + 1) / 2};
        break;
    }
    case ModeEmulation:
        array = {ContinuousDefinition, content.Delay, n};
        break;
    default:
        if (setting.HWCode == DoubleLeftClickCode)
            return {NormalDefinition, 2, LeftMouseButtonCode, LeftMouseButtonCode};
        return {NormalDefinition, 1, setting.HWCode};
    }
    array.reserve(array.size() + content.List.size());
    for (const std::u16string& item : content.List)
        array.push_back(ItemToCode(data, item));
    return array;
}

void ApplyKeyDefinition(const CKeyboardData& data, std::span<const int> elements, KeySetting& setting) {
    const CReadBack array(elements);
    switch (array[0]) {
    case NormalDefinition: {
        const int n = array[1];
        if (n == 0) {
            setting.Mode = ModeNotSet;
        } else if (n == 1) {
            setting.HWCode = array[2];
            setting.Mode = KindOfSingleCode(setting.HWCode);
        } else if (n == 2 && array[2] == LeftMouseButtonCode && array[3] == LeftMouseButtonCode) {
            setting.HWCode = DoubleLeftClickCode;
            setting.Mode = ModeMouse;
        } else {
            CActionList list = FreshList(ComboViewRows);
            AppendCodeNames(data, array, 2, n, list);
            setting.ComboKey.Assign(list);
            setting.Mode = ModeCombo;
        }
        break;
    }
    case ContinuousDefinition: {
        const int n = array[2];
        if (n == 0) {
            setting.Mode = ModeNotSet;
            break;
        }
        CActionList list = FreshList(EmuViewRows);
        list.Delay = array[1];
        AppendCodeNames(data, array, 3, n, list);
        setting.ComboKey.Assign(list);
        setting.Mode = ModeEmulation;
        break;
    }
    case MacroDefinition:
        if (array[5] == 0) {
            setting.Mode = ModeNotSet;
            break;
        }
        setting.ComboKey.Assign(MacroList(data, array));
        setting.Mode = ModeMacro;
        break;
    default:
        setting.Mode = ModeNotSet;
        break;
    }
}

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

bool SendKeyDefinitions(CMorvHWI& hwi, const std::vector<CKeyDefinitionToSend>& definitions,
                        CMessageTarget* notify, CKeyRefusal& refusal) {
    refusal = {};
    if (!hwi.prepare())
        return false;
    // What the library takes must also come back through a read: a definition too long for the
    // interchange array would make every later read of the keyboard fail.
    std::vector<int> readBack(definitions.empty() ? 0 : InterchangeCapacity);
    for (const CKeyDefinitionToSend& definition : definitions) {
        const bool held =
            hwi.setKeyConfiguration(definition.Level, definition.Key, definition.Array.data(),
                                    static_cast<int>(definition.Array.size())) &&
            hwi.getKeyConfiguration(definition.Level, definition.Key, readBack.data(), InterchangeCapacity);
        if (!held) {
            refusal = {definition.Key, definition.Level, {}};
            // Leave no half-built table behind for a later transfer.
            hwi.prepare();
            return false;
        }
    }
    ++Transfers;
    return hwi.writeKeyConfigurationToDev(notify);
}

bool SendLightArea(CMorvHWI& hwi, const CLightArea& light) {
    ++Transfers; // even a failed write may have changed part of the keyboard
    return hwi.setKeyboardLightArea(light.data());
}

unsigned long KeyboardTransfers() {
    return Transfers;
}

bool ReceiveKeyDefinitions(CMorvHWI& hwi, CMessageTarget* notify,
                           std::vector<std::vector<int>>& definitions) {
    definitions.clear();
    // A failed transfer leaves the library's table part old, part new, with no telling which.
    if (!hwi.readKeyDefinationFromDev(notify) || !TableOfLibrary(hwi, definitions))
        return false;
    ++Transfers;
    return true;
}

bool TableOfLibrary(CMorvHWI& hwi, std::vector<std::vector<int>>& definitions) {
    definitions.clear();
    // The library says nothing about a definition's length: it writes the definition from the first
    // element on, so the first element that still holds the mark ends it. Only the part written before
    // needs marking again.
    std::vector<int> scratch(InterchangeCapacity, Unwritten);
    std::size_t used = 0;
    std::vector<std::vector<int>> received(SlotCount);
    for (int level = 0; level < LevelCount; ++level) {
        for (int key = 1; key <= KeyCount; ++key) {
            std::fill_n(scratch.begin(), used, Unwritten);
            if (!hwi.getKeyConfiguration(level, key, scratch.data(), InterchangeCapacity))
                return false;
            used = static_cast<std::size_t>(std::find(scratch.begin(), scratch.end(), Unwritten) -
                                            scratch.begin());
            received[SlotOf(level, key)].assign(scratch.begin(), scratch.begin() + static_cast<long>(used));
        }
    }
    definitions = std::move(received);
    return true;
}

bool ReceiveLightArea(CMorvHWI& hwi, CLightArea& light) {
    CLightArea received{};
    if (!hwi.readKeyLightFromDev() || !hwi.getKeyboardLightArea(received.data()))
        return false;
    light = received;
    ++Transfers;
    return true;
}

void ApplyKeyDefinitions(CKeyboardData& data, const std::vector<std::vector<int>>& definitions) {
    if (definitions.size() != static_cast<std::size_t>(SlotCount))
        return;
    for (int level = 0; level < LevelCount; ++level)
        for (int key = 1; key <= KeyCount; ++key)
            ApplyKeyDefinition(data, definitions[SlotOf(level, key)], data.CurrentSettings[key][level]);
}

void ApplyLightArea(CKeyboardData& data, const CLightArea& light) {
    for (int key = 1; key <= KeyCount; ++key)
        data.BackgroundLightSettings[key] = {light[3 * (key - 1)], light[3 * (key - 1) + 1],
                                             light[3 * (key - 1) + 2]};
}

void ApplyReadBack(CKeyboardData& data, const CKeyboardReadBack& readBack) {
    ApplyKeyDefinitions(data, readBack.Definitions);
    ApplyLightArea(data, readBack.Light);
}

bool WriteKeysToDevice(CKeyboardData& data, CMessageTarget* notifyWindow, CKeyRefusal* refusal) {
    CKeyRefusal refused;
    const bool sent = SendKeyDefinitions(data.HWI, KeyDefinitionsToSend(data), notifyWindow, refused);
    if (refused.Key != 0) {
        const KeySetting& setting = data.CurrentSettings[refused.Key][refused.Level];
        refused.Reason = CapacityProblem(setting.ComboKey, setting.Mode);
    }
    if (refusal != nullptr)
        *refusal = refused;
    return sent;
}

CKeyRefusal FirstUnsendableAssignment(const CKeyboardData& data) {
    for (int level = 0; level < LevelCount; ++level) {
        for (int key = 1; key <= KeyCount; ++key) {
            const KeySetting& setting = data.CurrentSettings[key][level];
            if (CProblem problem = CapacityProblem(setting.ComboKey, setting.Mode); problem)
                return {key, level, std::move(problem)};
        }
    }
    return {};
}

bool WriteLightToDevice(CKeyboardData& data) {
    return SendLightArea(data.HWI, LightAreaToSend(data));
}

bool ReadKeysFromDevice(CKeyboardData& data, CMessageTarget* notifyWindow) {
    std::vector<std::vector<int>> definitions;
    if (!ReceiveKeyDefinitions(data.HWI, notifyWindow, definitions))
        return false;
    ApplyKeyDefinitions(data, definitions);
    return true;
}

bool ReadLightFromDevice(CKeyboardData& data) {
    CLightArea light{};
    if (!ReceiveLightArea(data.HWI, light))
        return false;
    ApplyLightArea(data, light);
    return true;
}
