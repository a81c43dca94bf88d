#include "catalogue/KeyCatalogue.h"

#include "catalogue/ContentItem.h"
#include "text/UiTexts.h"

#include <cstddef>
#include <iterator>
#include <string_view>

namespace {

struct CKeyName {
    int Code;
    const char16_t* Name;
};

// Key code and English name, in ascending key code. Several names repeat ("Reserved", "Sleep"); a
// search by name meets the lowest code first.
constexpr CKeyName KeyNameTable[] = {
    {1, u"Left mouse button"},
    {2, u"Right mouse button"},
    {3, u"Control-break processing"},
    {4, u"Middle mouse button"},
    {5, u"X1 mouse button"},
    {6, u"X2 mouse button"},
    {8, u"BACKSPACE"},
    {9, u"TAB"},
    {10, u"Reserved"},
    {11, u"Reserved"},
    {12, u"CLEAR"},
    {13, u"ENTER"},
    {16, u"SHIFT"},
    {17, u"Left CTRL"},
    {18, u"Left ALT"},
    {19, u"PAUSE"},
    {20, u"CAPS LOCK"},
    {21, u"IME Hangul mode"},
    {23, u"IME Junja mode"},
    {24, u"IME final mode"},
    {25, u"IME Kanji mode"},
    {27, u"ESC"},
    {28, u"IME convert"},
    {29, u"IME nonconvert"},
    {30, u"IME accept"},
    {31, u"IME mode change request"},
    {32, u"SPACEBAR"},
    {33, u"PAGE UP"},
    {34, u"PAGE DOWN"},
    {35, u"END"},
    {36, u"HOME"},
    {37, u"LEFT ARROW"},
    {38, u"UP ARROW"},
    {39, u"RIGHT ARROW"},
    {40, u"DOWN ARROW"},
    {41, u"SELECT"},
    {42, u"PRINT"},
    {43, u"EXECUTE"},
    {44, u"PRINT SCREEN"},
    {45, u"INS"},
    {46, u"DEL"},
    {47, u"HELP"},
    {48, u"0"},
    {49, u"1"},
    {50, u"2"},
    {51, u"3"},
    {52, u"4"},
    {53, u"5"},
    {54, u"6"},
    {55, u"7"},
    {56, u"8"},
    {57, u"9"},
    {65, u"A"},
    {66, u"B"},
    {67, u"C"},
    {68, u"D"},
    {69, u"E"},
    {70, u"F"},
    {71, u"G"},
    {72, u"H"},
    {73, u"I"},
    {74, u"J"},
    {75, u"K"},
    {76, u"L"},
    {77, u"M"},
    {78, u"N"},
    {79, u"O"},
    {80, u"P"},
    {81, u"Q"},
    {82, u"R"},
    {83, u"S"},
    {84, u"T"},
    {85, u"U"},
    {86, u"V"},
    {87, u"W"},
    {88, u"X"},
    {89, u"Y"},
    {90, u"Z"},
    {91, u"Left Windows"},
    {92, u"Right Windows"},
    {93, u"Applications"},
    {94, u"Reserved"},
    {95, u"Sleep"},
    {96, u"(0)"},
    {97, u"(1)"},
    {98, u"(2)"},
    {99, u"(3)"},
    {100, u"(4)"},
    {101, u"(5)"},
    {102, u"(6)"},
    {103, u"(7)"},
    {104, u"(8)"},
    {105, u"(9)"},
    {106, u"(*)"},
    {107, u"(+)"},
    {108, u"Separator"},
    {109, u"(-)"},
    {110, u"(.)"},
    {111, u"(/)"},
    {112, u"F1"},
    {113, u"F2"},
    {114, u"F3"},
    {115, u"F4"},
    {116, u"F5"},
    {117, u"F6"},
    {118, u"F7"},
    {119, u"F8"},
    {120, u"F9"},
    {121, u"F10"},
    {122, u"F11"},
    {123, u"F12"},
    {124, u"F13"},
    {125, u"F14"},
    {126, u"F15"},
    {127, u"F16"},
    {128, u"F17"},
    {129, u"F18"},
    {130, u"F19"},
    {131, u"F20"},
    {132, u"F21"},
    {133, u"F22"},
    {134, u"F23"},
    {135, u"F24"},
    {144, u"NUM LOCK"},
    {145, u"SCROLL LOCK"},
    {160, u"Left SHIFT"},
    {161, u"Right SHIFT"},
    {162, u"Left CONTROL"},
    {163, u"Right CONTROL"},
    {164, u"Left Alt"},
    {165, u"Right Alt"},
    {166, u"Browser Back"},
    {167, u"Browser Forward"},
    {168, u"Browser Refresh"},
    {169, u"Browser Stop"},
    {170, u"Browser Search"},
    {171, u"Browser Favorites"},
    {172, u"Browser Start and Home"},
    {173, u"Volume Mute"},
    {174, u"Volume Down"},
    {175, u"Volume Up"},
    {176, u"Next Track"},
    {177, u"Previous Track"},
    {178, u"Stop Media"},
    {179, u"Play/Pause Media"},
    {180, u"Start Mail"},
    {181, u"Select Media"},
    {182, u"Start Application 1"},
    {183, u"Start Application 2"},
    {186, u";"},
    {187, u"+"},
    {188, u","},
    {189, u"-"},
    {190, u"."},
    {191, u"/"},
    {192, u"`"},
    {219, u"["},
    {220, u"\\"},
    {221, u"]"},
    {222, u"'"},
    {223, u"Used for miscellaneous characters; it can vary by keyboard."},
    {224, u"Reserved"},
    {225, u"OEM specific"},
    {226, u"Either the angle bracket key or the backslash key on the RT 102-key keyboard"},
    {229, u"IME PROCESS"},
    {230, u"OEM specific"},
    {231, u"Used to pass Unicode characters as if they were keystrokes. The VK_PACKET key is the low word of "
          u"a 32-bit Virtual Key value used for non-keyboard input methods. For more information, see Remark "
          u"in KEYBDINPUT, SendInput, WM_KEYDOWN, and WM_KEYUP"},
    {232, u"Unassigned"},
    {246, u"Attn"},
    {247, u"CrSel"},
    {248, u"ExSel"},
    {249, u"Erase EOF"},
    {250, u"Play"},
    {251, u"Zoom"},
    {252, u"Reserved"},
    {253, u"PA1"},
    {254, u"Clear"},
    {269, u"(Enter)"},
    {331, u"Wake Up"},
    {332, u"Sleep"},
    {333, u"Power"},
    {364, u"Next track"},
    {365, u"Previous track"},
    {366, u"Stop"},
    {367, u"Play/Pause"},
    {368, u"Mute"},
    {369, u"VolumeUp"},
    {370, u"VolumeDn"},
    {371, u"Media Select"},
    {372, u"E-mail"},
    {373, u"Calculator"},
    {374, u"My computer"},
    {375, u"WWW Search"},
    {376, u"WWW Home"},
    {377, u"WWW Back"},
    {378, u"WWW Forward"},
    {379, u"WWW Stop"},
    {380, u"WWW Refresh"},
    {381, u"WWW Favorities"},
    {382, u"Mouse Left"},
    {383, u"Mouse Right"},
    {384, u"Mouse Up"},
    {385, u"Mouse Down"},
    {386, u"Mouse Key Left"},
    {387, u"Mouse Key Right"},
    {388, u"Mouse Key Middle"},
    {389, u"Mouse Wheel Up"},
    {390, u"Mouse Wheel Dn"},
    {391, u"Backlight Switch"},
    {392, u"Backlight Macro"},
    {393, u"Demonstrate"},
    {394, u"Star shower"},
    {395, u"Riffle"},
    {396, u"Backlight Area 4 Color Regulate"},
    {397, u"Backlight Breathe"},
    {398, u"Breathe Frequence-"},
    {399, u"Breathe Frequence+"},
    {400, u"Backlight Lightness+"},
    {401, u"Backlight Lightness-"},
    {402, u"Sunset or Relax Mode"},
    {403, u"Color Breathe"},
    {404, u"Backlight All Color Regulate"},
    {405, u"6 or N key convert"},
    {406, u"Keyboard Lock"},
    {407, u"Key Response Regulate"},
    {408, u"Ctrl to Caps convert"},
    {409, u"WinLock"},
    {410, u"ScanDelay"},
    {411, u"ReportRate"},
    {412, u"FN"},
    {413, u"DPI+"},
    {414, u"DPI-"},
    {415, u"Programmable Keyboard"},
    {455, u"Left Double Click"},
};

// Key codes of device codes 1..107, in device-code order: the keys of a full keyboard in physical
// order, with the three power functions at 75..77.
constexpr int KeyCodesOfKeyboardKeys[] = {
    27,                                                                   // ESC
    112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123,           // F1..F12
    192, 49,  50,  51,  52,  53,  54,  55,  56,  57,  48,  189, 187, 8,   // ` 1..9 0 - + BACKSPACE
    9,   81,  87,  69,  82,  84,  89,  85,  73,  79,  80,  219, 221, 220, // TAB Q..P [ ] backslash
    20,  65,  83,  68,  70,  71,  72,  74,  75,  76,  186, 222, 13,       // CAPS LOCK A..L ; ' ENTER
    160, 90,  88,  67,  86,  66,  78,  77,  188, 190, 191, 161,           // Left SHIFT Z..M , . / Right SHIFT
    162, 91,  164, 32,  165, 92,  93,  163,                               // bottom row
    331, 332, 333,                                                        // Wake Up, Sleep, Power
    44,  145, 19,  45,  36,  33,  46,  35,  34,                           // PRINT SCREEN .. PAGE DOWN
    38,  37,  40,  39,                                                    // arrows
    144, 111, 106, 103, 104, 105, 100, 101, 102, 97,  98,  99,  96,  110, 109, 107, 269, // keypad
};
static_assert(std::size(KeyCodesOfKeyboardKeys) == 107);

// Keyboard functions 108..159 are key codes 364..415, and the double left click 199 is 455: for
// these the key code is 256 plus the device code.
constexpr int FirstFunctionDeviceCode = 108;
constexpr int LastFunctionDeviceCode = 159;
constexpr int DoubleClickDeviceCode = 199;
constexpr int NoVirtualKeyBase = 256;

constexpr TextId ModeNames[KeyModeCount] = {
    TextId::KindNotSet, TextId::KindSingle,    TextId::KindCombo,
    TextId::KindMacro,  TextId::KindEmulation, TextId::KindMultimedia,
    TextId::KindMouse,  TextId::KindFunction,  TextId::KindPower,
};

constexpr int NameCodeMask = 511;

bool InCodeTable(int code) {
    return code >= 0 && code < CodeTableSize;
}

} // namespace

void FillKeyCatalogue(CKeyCatalogue& catalogue) {
    catalogue.KeyNames.clear();
    for (const CKeyName& entry : KeyNameTable) {
        catalogue.KeyNames.emplace(entry.Code, entry.Name);
    }

    catalogue.DeviceCodeOfKey.fill(0);
    for (std::size_t i = 0; i < std::size(KeyCodesOfKeyboardKeys); ++i) {
        catalogue.DeviceCodeOfKey[static_cast<std::size_t>(KeyCodesOfKeyboardKeys[i])] =
            static_cast<int>(i) + 1;
    }
    for (int device = FirstFunctionDeviceCode; device <= LastFunctionDeviceCode; ++device) {
        catalogue.DeviceCodeOfKey[static_cast<std::size_t>(NoVirtualKeyBase + device)] = device;
    }
    catalogue.DeviceCodeOfKey[NoVirtualKeyBase + DoubleClickDeviceCode] = DoubleClickDeviceCode;

    // Later key codes overwrite earlier ones: each device code is named by its highest key code,
    // and device code 0 by 1023, which names nothing.
    catalogue.KeyOfDeviceCode.fill(0);
    for (int key = 0; key < CodeTableSize; ++key) {
        const int device = catalogue.DeviceCodeOfKey[static_cast<std::size_t>(key)];
        if (InCodeTable(device)) {
            catalogue.KeyOfDeviceCode[static_cast<std::size_t>(device)] = key;
        }
    }
}

std::u16string KeyLabel(const CKeyCatalogue& catalogue, int eventCode, bool withDirection) {
    const auto found = catalogue.KeyNames.find(eventCode & NameCodeMask);
    if (found == catalogue.KeyNames.end()) {
        return NoKeyName;
    }
    if (!withDirection) {
        return found->second;
    }
    const bool release = (eventCode >> 9) != 0;
    return WithDirection(found->second, release);
}

int KeyOfDeviceCode(const CKeyCatalogue& catalogue, int deviceCode) {
    if (!InCodeTable(deviceCode)) {
        return -1;
    }
    return catalogue.KeyOfDeviceCode[static_cast<std::size_t>(deviceCode)];
}

int DeviceCodeOfKey(const CKeyCatalogue& catalogue, int eventCode) {
    return catalogue.DeviceCodeOfKey[static_cast<std::size_t>(eventCode & NameCodeMask)];
}

std::u16string DeviceCodeLabel(const CKeyCatalogue& catalogue, int deviceCode) {
    return KeyLabel(catalogue, KeyOfDeviceCode(catalogue, deviceCode), false);
}

std::u16string ModeName(const CKeyCatalogue&, UiLanguage language, int mode) {
    if (mode < 0 || mode >= KeyModeCount) {
        return {};
    }
    return Utf16Text(ModeNames[mode], language);
}
