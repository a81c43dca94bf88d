#include "zelk/HookKey.h"

#include <cstdint>

namespace {

enum : unsigned { WmKeyUp = 0x101, WmSysKeyDown = 0x104, WmSysKeyUp = 0x105, LowLevelExtended = 1 };

constexpr unsigned XKeyCodeOffset = 8; // X key code = Linux input key code + 8

enum : unsigned {
    VkCancel = 3,
    VkPause = 19,
    VkSnapshot = 44,
    VkF10 = 121,
    VkLeftShift = 160,
    VkRightShift = 161,
    VkLeftControl = 162,
    VkRightControl = 163,
    VkLeftAlt = 164,
    VkRightAlt = 165,
};

constexpr std::uint8_t Extended = 1;

// One key by its Linux input code: the virtual-key code a Windows keyboard reports for the key in the
// same place, whether Windows marks it extended, and for the keypad the key it is while Num Lock is off.
struct CScanKey {
    std::uint8_t Code;
    std::uint8_t VirtualKey;
    std::uint8_t Flags;
    std::uint8_t NavigationKey;
};

constexpr CScanKey ScanKeys[] = {
    {1, 27, 0, 0},   // Esc
    {2, 49, 0, 0},   // 1
    {3, 50, 0, 0},   // 2
    {4, 51, 0, 0},   // 3
    {5, 52, 0, 0},   // 4
    {6, 53, 0, 0},   // 5
    {7, 54, 0, 0},   // 6
    {8, 55, 0, 0},   // 7
    {9, 56, 0, 0},   // 8
    {10, 57, 0, 0},  // 9
    {11, 48, 0, 0},  // 0
    {12, 189, 0, 0}, // -
    {13, 187, 0, 0}, // =
    {14, 8, 0, 0},   // Backspace
    {15, 9, 0, 0},   // Tab
    {16, 'Q', 0, 0},
    {17, 'W', 0, 0},
    {18, 'E', 0, 0},
    {19, 'R', 0, 0},
    {20, 'T', 0, 0},
    {21, 'Y', 0, 0},
    {22, 'U', 0, 0},
    {23, 'I', 0, 0},
    {24, 'O', 0, 0},
    {25, 'P', 0, 0},
    {26, 219, 0, 0}, // [
    {27, 221, 0, 0}, // ]
    {28, 13, 0, 0},  // Enter
    {29, VkLeftControl, 0, 0},
    {30, 'A', 0, 0},
    {31, 'S', 0, 0},
    {32, 'D', 0, 0},
    {33, 'F', 0, 0},
    {34, 'G', 0, 0},
    {35, 'H', 0, 0},
    {36, 'J', 0, 0},
    {37, 'K', 0, 0},
    {38, 'L', 0, 0},
    {39, 186, 0, 0}, // ;
    {40, 222, 0, 0}, // '
    {41, 192, 0, 0}, // `
    {42, VkLeftShift, 0, 0},
    {43, 220, 0, 0}, // backslash
    {44, 'Z', 0, 0},
    {45, 'X', 0, 0},
    {46, 'C', 0, 0},
    {47, 'V', 0, 0},
    {48, 'B', 0, 0},
    {49, 'N', 0, 0},
    {50, 'M', 0, 0},
    {51, 188, 0, 0}, // ,
    {52, 190, 0, 0}, // .
    {53, 191, 0, 0}, // /
    {54, VkRightShift, 0, 0},
    {55, 106, 0, 0}, // keypad *
    {56, VkLeftAlt, 0, 0},
    {57, 32, 0, 0},  // Space
    {58, 20, 0, 0},  // Caps Lock
    {59, 112, 0, 0}, // F1
    {60, 113, 0, 0},
    {61, 114, 0, 0},
    {62, 115, 0, 0},
    {63, 116, 0, 0},
    {64, 117, 0, 0},
    {65, 118, 0, 0},
    {66, 119, 0, 0},
    {67, 120, 0, 0},
    {68, VkF10, 0, 0},      // F10
    {69, 144, Extended, 0}, // Num Lock
    {70, 145, 0, 0},        // Scroll Lock
    {71, 103, 0, 36},       // keypad 7 / Home
    {72, 104, 0, 38},       // keypad 8 / Up
    {73, 105, 0, 33},       // keypad 9 / Page Up
    {74, 109, 0, 0},        // keypad -
    {75, 100, 0, 37},       // keypad 4 / Left
    {76, 101, 0, 12},       // keypad 5 / Clear
    {77, 102, 0, 39},       // keypad 6 / Right
    {78, 107, 0, 0},        // keypad +
    {79, 97, 0, 35},        // keypad 1 / End
    {80, 98, 0, 40},        // keypad 2 / Down
    {81, 99, 0, 34},        // keypad 3 / Page Down
    {82, 96, 0, 45},        // keypad 0 / Insert
    {83, 110, 0, 46},       // keypad . / Delete
    {86, 226, 0, 0},        // the extra key beside left Shift of 102-key keyboards
    {87, 122, 0, 0},        // F11
    {88, 123, 0, 0},        // F12
    {92, 28, 0, 0},         // Henkan (IME convert)
    {94, 29, 0, 0},         // Muhenkan (IME nonconvert)
    {96, 13, Extended, 0},  // keypad Enter
    {97, VkRightControl, Extended, 0},
    {98, 111, Extended, 0}, // keypad /
    {99, VkSnapshot, Extended, 0},
    {100, VkRightAlt, Extended, 0},
    {102, 36, Extended, 0},  // Home
    {103, 38, Extended, 0},  // Up
    {104, 33, Extended, 0},  // Page Up
    {105, 37, Extended, 0},  // Left
    {106, 39, Extended, 0},  // Right
    {107, 35, Extended, 0},  // End
    {108, 40, Extended, 0},  // Down
    {109, 34, Extended, 0},  // Page Down
    {110, 45, Extended, 0},  // Insert
    {111, 46, Extended, 0},  // Delete
    {113, 173, Extended, 0}, // Volume Mute
    {114, 174, Extended, 0}, // Volume Down
    {115, 175, Extended, 0}, // Volume Up
    {119, VkPause, 0, 0},
    {122, 21, 0, 0},         // Hangul
    {123, 25, 0, 0},         // Hanja
    {125, 91, Extended, 0},  // left Windows
    {126, 92, Extended, 0},  // right Windows
    {127, 93, Extended, 0},  // Applications
    {128, 169, Extended, 0}, // Browser Stop
    {140, 183, Extended, 0}, // Calculator (Start Application 2)
    {142, 95, Extended, 0},  // Sleep
    {144, 182, Extended, 0}, // file browser (Start Application 1)
    {155, 180, Extended, 0}, // Mail
    {156, 171, Extended, 0}, // Browser Favorites
    {157, 182, Extended, 0}, // My Computer (Start Application 1)
    {158, 166, Extended, 0}, // Browser Back
    {159, 167, Extended, 0}, // Browser Forward
    {163, 176, Extended, 0}, // Next Track
    {164, 179, Extended, 0}, // Play/Pause
    {165, 177, Extended, 0}, // Previous Track
    {166, 178, Extended, 0}, // Stop Media
    {171, 181, Extended, 0}, // media selection
    {172, 172, Extended, 0}, // Browser Home
    {173, 168, Extended, 0}, // Browser Refresh
    {183, 124, 0, 0},        // F13
    {184, 125, 0, 0},
    {185, 126, 0, 0},
    {186, 127, 0, 0},
    {187, 128, 0, 0},
    {188, 129, 0, 0},
    {189, 130, 0, 0},
    {190, 131, 0, 0},
    {191, 132, 0, 0},
    {192, 133, 0, 0},
    {193, 134, 0, 0},
    {194, 135, 0, 0},        // F24
    {217, 170, Extended, 0}, // Browser Search
    {226, 181, Extended, 0}, // Select Media
};

const CScanKey* FindScanKey(unsigned code) {
    for (const CScanKey& key : ScanKeys)
        if (key.Code == code)
            return &key;
    return nullptr;
}

enum : unsigned {
    HeldShift = 3u << (VkLeftShift - VkLeftShift),
    HeldControl = 3u << (VkLeftControl - VkLeftShift),
    HeldAlt = 3u << (VkLeftAlt - VkLeftShift),
};

unsigned ModifierBit(unsigned virtualKey) {
    return virtualKey >= VkLeftShift && virtualKey <= VkRightAlt ? 1u << (virtualKey - VkLeftShift) : 0;
}

} // namespace

CHookKey MakeHookKey(unsigned virtualKey, bool release, bool systemKey, bool extended) {
    CHookKey key;
    key.WParam = virtualKey | (release ? HookKeyRelease : 0) | (systemKey ? HookKeySystem : 0);
    key.LParam = extended ? HookKeyExtended : 0;
    return key;
}

CHookKey HookKeyOfMessage(unsigned message, unsigned virtualKey, unsigned flags) {
    const bool release = message == WmKeyUp || message == WmSysKeyUp;
    const bool systemKey = message == WmSysKeyDown || message == WmSysKeyUp;
    return MakeHookKey(virtualKey, release, systemKey, (flags & LowLevelExtended) != 0);
}

bool CHookKeyTranslator::Translate(unsigned scanCode, bool release, bool numLock, CHookKey& key) {
    if (scanCode < XKeyCodeOffset)
        return false;
    const CScanKey* scan = FindScanKey(scanCode - XKeyCodeOffset);
    if (scan == nullptr)
        return false;
    unsigned virtualKey = scan->VirtualKey;
    bool extended = (scan->Flags & Extended) != 0;
    // Windows gives the keypad's navigation keys while Num Lock is off or Shift is held.
    if (scan->NavigationKey != 0 && (!numLock || (HeldModifiers & HeldShift) != 0))
        virtualKey = scan->NavigationKey;
    // The keyboard reports Pause as Break under Ctrl, and Print Screen as SysRq (not extended) under Alt.
    if (virtualKey == VkPause && (HeldModifiers & HeldControl) != 0) {
        virtualKey = VkCancel;
        extended = true;
    } else if (virtualKey == VkSnapshot && (HeldModifiers & HeldAlt) != 0) {
        extended = false;
    }
    // The key itself counts as held while it goes down and while it comes up, so Alt alone is a
    // system key both ways. With Ctrl held too (AltGr among them) keys are ordinary.
    const unsigned bit = ModifierBit(virtualKey);
    const unsigned held = HeldModifiers | bit;
    const bool systemKey = virtualKey == VkF10 || ((held & HeldAlt) != 0 && (held & HeldControl) == 0);
    HeldModifiers = release ? HeldModifiers & ~bit : held;
    key = MakeHookKey(virtualKey, release, systemKey, extended);
    return true;
}
