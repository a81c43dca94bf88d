#include "model/DeviceBridge.h"

#include "catalogue/KeyCatalogue.h"

#include <algorithm>
#include <array>
#include <climits>
#include <string_view>

namespace {

// The keyboard has no double click of its own: it plays two presses of the left mouse button.
constexpr int DoubleLeftClickCode = 199;
constexpr int LeftMouseButtonCode = 130;

// Definition kinds of the interchange array (element 0).
constexpr int NormalDefinition = 0;
constexpr int ContinuousDefinition = 1;
constexpr int MacroDefinition = 2;

// Rows the editor shows for each kind of list.
constexpr int ComboViewRows = 6;
constexpr int MacroViewRows = 9;
constexpr int EmuViewRows = 9;

bool IsBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Reads a decimal number as the C library's atoi does: leading blanks, one sign, then digits up to the
// first other character; no digits give 0. Out-of-range values saturate instead of overflowing.
int LeadingNumber(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

bool NamesKey(std::u16string_view text, const std::u16string& name) {
    if (text.size() < name.size() || text.substr(0, name.size()) != name)
        return false;
    const std::u16string_view rest = text.substr(name.size());
    return rest.empty() || rest == u" UP" || rest == u" Down";
}

std::u16string DelayItem(int milliseconds) {
    const std::string digits = "<" + std::to_string(milliseconds) + " ms>";
    return std::u16string(digits.begin(), digits.end());
}

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
    if (text.find(u"ms>") != std::u16string::npos) {
        // A delay item "<%d ms>": the number between "<" and " ms>".
        const long long length = static_cast<long long>(text.size()) - 5;
        if (length < 0)
            return 0;
        return LeadingNumber(std::u16string_view(text).substr(1, static_cast<std::size_t>(length)));
    }
    for (const auto& [keyCode, name] : data.KeyNames)
        if (NamesKey(text, name))
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
            setting.Mode = KeyModeOfSingleCode(setting.HWCode);
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

bool WriteKeysToDevice(CKeyboardData& data, CMessageTarget* notifyWindow, CKeyRefusal* refusal) {
    if (refusal != nullptr)
        *refusal = {};
    if (!data.HWI.prepare())
        return false;
    for (int level = 0; level < LevelCount; ++level) {
        for (int key = 1; key <= KeyCount; ++key) {
            const std::vector<int> array = KeyDefinitionArray(data, data.CurrentSettings[key][level]);
            if (array.empty())
                continue;
            if (!data.HWI.setKeyConfiguration(level, key, array.data(), static_cast<int>(array.size()))) {
                if (refusal != nullptr)
                    *refusal = {key, level};
                // Leave no half-built table behind for a later transfer.
                data.HWI.prepare();
                return false;
            }
        }
    }
    return data.HWI.writeKeyConfigurationToDev(notifyWindow);
}

bool WriteLightToDevice(CKeyboardData& data) {
    std::array<int, LightAreaSize> area{};
    for (int key = 1; key <= KeyCount; ++key) {
        const AreaLight& light = data.BackgroundLightSettings[key];
        area[3 * (key - 1)] = light.Red;
        area[3 * (key - 1) + 1] = light.Green;
        area[3 * (key - 1) + 2] = light.Blue;
    }
    return data.HWI.setKeyboardLightArea(area.data());
}

bool ReadKeysFromDevice(CKeyboardData& data, CMessageTarget* notifyWindow) {
    // A failed transfer leaves the library's table part old, part new, with no telling which: the
    // model is left alone.
    if (!data.HWI.readKeyDefinationFromDev(notifyWindow))
        return false;
    std::vector<int> array(InterchangeCapacity);
    bool complete = true;
    for (int level = 0; level < LevelCount; ++level) {
        for (int key = 1; key <= KeyCount; ++key) {
            if (!data.HWI.getKeyConfiguration(level, key, array.data(), InterchangeCapacity)) {
                complete = false;
                continue;
            }
            ApplyKeyDefinition(data, array, data.CurrentSettings[key][level]);
        }
    }
    return complete;
}

bool ReadLightFromDevice(CKeyboardData& data) {
    if (!data.HWI.readKeyLightFromDev())
        return false;
    std::array<int, LightAreaSize> area{};
    if (!data.HWI.getKeyboardLightArea(area.data()))
        return false;
    for (int key = 1; key <= KeyCount; ++key)
        data.BackgroundLightSettings[key] = {area[3 * (key - 1)], area[3 * (key - 1) + 1],
                                             area[3 * (key - 1) + 2]};
    return true;
}
