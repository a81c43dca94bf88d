#include "shell/KeyTest.h"

#include "catalogue/KeyPressCode.h"
#include "model/KeyboardRules.h"

#include <iterator>

namespace {

constexpr unsigned XKeyCodeOffset = 8;

struct CMediaKey {
    unsigned VirtualKey;
    int DeviceCode;
};

// The media keys a computer reports, and the multimedia functions of the keyboard that send them.
constexpr CMediaKey MediaKeys[] = {
    {176, 108}, // Next track
    {177, 109}, // Previous track
    {178, 110}, // Stop
    {179, 111}, // Play/Pause
    {173, 112}, // Mute
    {175, 113}, // Volume up
    {174, 114}, // Volume down
    {181, 115}, // Media select
    {180, 116}, // E-mail
    {183, 117}, // Calculator
    {182, 118}, // My computer
    {170, 119}, // WWW search
    {172, 120}, // WWW home
    {166, 121}, // WWW back
    {167, 122}, // WWW forward
    {169, 123}, // WWW stop
    {168, 124}, // WWW refresh
    {171, 125}, // WWW favourites
};

bool Sends(const KeySetting& setting, int keyIndex, int deviceCode) {
    if (setting.Mode == ModeNotSet)
        return OwnDeviceCode(keyIndex) == deviceCode;
    return KindTakesCode(setting.Mode) && setting.HWCode == deviceCode;
}

} // namespace

int DeviceCodeOfEvent(const CKeyboardData& data, unsigned virtualKey, bool extended) {
    if (const int device = DeviceCodeOfKey(data, KeyCodeOfPress(static_cast<int>(virtualKey), extended));
        device != 0)
        return device;
    for (const CMediaKey& media : MediaKeys)
        if (media.VirtualKey == virtualKey)
            return media.DeviceCode;
    return 0;
}

int KeyIndexSending(const CKeyboardData& data, int deviceCode) {
    if (deviceCode <= 0)
        return 0;
    int found = 0;
    int senders = 0;
    for (int key = 1; key <= KeyCount; ++key) {
        const auto& levels = data.CurrentSettings[static_cast<std::size_t>(key)];
        if (!Sends(levels[0], key, deviceCode) && !Sends(levels[1], key, deviceCode))
            continue;
        ++senders;
        found = key;
    }
    if (senders == 1)
        return found;
    // Several keys send it: the key whose own code it is, when it is one of them.
    for (int key = 1; key <= KeyCount; ++key) {
        const auto& levels = data.CurrentSettings[static_cast<std::size_t>(key)];
        if (OwnDeviceCode(key) == deviceCode &&
            (Sends(levels[0], key, deviceCode) || Sends(levels[1], key, deviceCode)))
            return key;
    }
    return 0;
}

void CKeyTest::Start() {
    *this = {};
    On = true;
}

void CKeyTest::End() {
    *this = {};
}

int CKeyTest::Offer(const CKeyboardData& data, unsigned nativeScanCode, bool release, bool numLock) {
    if (!On)
        return 0;
    CHookKey hook;
    const bool translated = Translator.Translate(nativeScanCode, release, numLock, hook);
    if (release)
        return 0;
    Pressed = true;
    LastScan = nativeScanCode >= XKeyCodeOffset ? nativeScanCode - XKeyCodeOffset : 0;
    Last = 0;
    if (!translated)
        return 0;
    const auto virtualKey = static_cast<unsigned>(hook.WParam & 0xFF);
    const bool extended = (hook.LParam & HookKeyExtended) != 0;
    Last = KeyIndexSending(data, DeviceCodeOfEvent(data, virtualKey, extended));
    if (Last != 0)
        Marks[static_cast<std::size_t>(Last)] = true;
    return Last;
}

bool CKeyTest::Tested(int keyIndex) const {
    return keyIndex >= 1 && keyIndex <= KeyCount && Marks[static_cast<std::size_t>(keyIndex)];
}
