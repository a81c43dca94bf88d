#include "zelk/HookKey.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::uintptr_t Up = 0x80000000u;
constexpr std::uintptr_t Sys = 0x40000000u;
constexpr std::intptr_t Ext = 0x01000000;

// X key code (Linux input code + 8), then the WM_HOOK_KEY values of its press.
struct CKeyRow {
    unsigned Code;
    std::uintptr_t WParam;
    std::intptr_t LParam;
};

// The 87 keys of the keyboard, in its own key order.
const std::vector<CKeyRow> LayoutKeys = {
    {9, 27, 0},     {67, 112, 0},          {68, 113, 0},
    {69, 114, 0},   {70, 115, 0},          {71, 116, 0},
    {72, 117, 0},   {73, 118, 0},          {74, 119, 0},
    {75, 120, 0},   {76, 121 | Sys, 0},    {95, 122, 0},
    {96, 123, 0},   {49, 192, 0},          {10, 49, 0},
    {11, 50, 0},    {12, 51, 0},           {13, 52, 0},
    {14, 53, 0},    {15, 54, 0},           {16, 55, 0},
    {17, 56, 0},    {18, 57, 0},           {19, 48, 0},
    {20, 189, 0},   {21, 187, 0},          {22, 8, 0},
    {23, 9, 0},     {24, 81, 0},           {25, 87, 0},
    {26, 69, 0},    {27, 82, 0},           {28, 84, 0},
    {29, 89, 0},    {30, 85, 0},           {31, 73, 0},
    {32, 79, 0},    {33, 80, 0},           {34, 219, 0},
    {35, 221, 0},   {51, 220, 0},          {66, 20, 0},
    {38, 65, 0},    {39, 83, 0},           {40, 68, 0},
    {41, 70, 0},    {42, 71, 0},           {43, 72, 0},
    {44, 74, 0},    {45, 75, 0},           {46, 76, 0},
    {47, 186, 0},   {48, 222, 0},          {36, 13, 0},
    {50, 160, 0},   {52, 90, 0},           {53, 88, 0},
    {54, 67, 0},    {55, 86, 0},           {56, 66, 0},
    {57, 78, 0},    {58, 77, 0},           {59, 188, 0},
    {60, 190, 0},   {61, 191, 0},          {62, 161, 0},
    {37, 162, 0},   {133, 91, Ext},        {64, 164 | Sys, 0},
    {65, 32, 0},    {108, 165 | Sys, Ext}, {134, 92, Ext},
    {135, 93, Ext}, {105, 163, Ext},       {107, 44, Ext},
    {78, 145, 0},   {127, 19, 0},          {118, 45, Ext},
    {110, 36, Ext}, {112, 33, Ext},        {119, 46, Ext},
    {115, 35, Ext}, {117, 34, Ext},        {111, 38, Ext},
    {113, 37, Ext}, {116, 40, Ext},        {114, 39, Ext},
};

// Further keys whose virtual-key codes the key catalogue names, with Num Lock on.
const std::vector<CKeyRow> CatalogueKeys = {
    {77, 144, Ext},  {106, 111, Ext}, {63, 106, 0},    {82, 109, 0},    {86, 107, 0},    {104, 13, Ext},
    {79, 103, 0},    {80, 104, 0},    {81, 105, 0},    {83, 100, 0},    {84, 101, 0},    {85, 102, 0},
    {87, 97, 0},     {88, 98, 0},     {89, 99, 0},     {90, 96, 0},     {91, 110, 0},    {94, 226, 0},
    {191, 124, 0},   {192, 125, 0},   {193, 126, 0},   {194, 127, 0},   {195, 128, 0},   {196, 129, 0},
    {197, 130, 0},   {198, 131, 0},   {199, 132, 0},   {200, 133, 0},   {201, 134, 0},   {202, 135, 0},
    {100, 28, 0},    {102, 29, 0},    {130, 21, 0},    {131, 25, 0},    {150, 95, Ext},  {166, 166, Ext},
    {167, 167, Ext}, {181, 168, Ext}, {136, 169, Ext}, {225, 170, Ext}, {164, 171, Ext}, {180, 172, Ext},
    {121, 173, Ext}, {122, 174, Ext}, {123, 175, Ext}, {171, 176, Ext}, {173, 177, Ext}, {174, 178, Ext},
    {172, 179, Ext}, {163, 180, Ext}, {179, 181, Ext}, {234, 181, Ext}, {165, 182, Ext}, {152, 182, Ext},
    {148, 183, Ext},
};

// The keypad's digit keys with Num Lock off: navigation keys, never extended.
const std::vector<CKeyRow> KeypadWithoutNumLock = {
    {79, 36, 0}, {80, 38, 0}, {81, 33, 0}, {83, 37, 0}, {84, 12, 0}, {85, 39, 0},
    {87, 35, 0}, {88, 40, 0}, {89, 34, 0}, {90, 45, 0}, {91, 46, 0}, {106, 111, Ext},
};

void ExpectPressAndRelease(const std::vector<CKeyRow>& rows, bool numLock) {
    for (const CKeyRow& row : rows) {
        SCOPED_TRACE("X key code " + std::to_string(row.Code));
        CHookKeyTranslator translator;
        CHookKey press;
        CHookKey release;
        ASSERT_TRUE(translator.Translate(row.Code, false, numLock, press));
        ASSERT_TRUE(translator.Translate(row.Code, true, numLock, release));
        EXPECT_EQ(press.WParam, row.WParam);
        EXPECT_EQ(press.LParam, row.LParam);
        EXPECT_EQ(release.WParam, row.WParam | Up);
        EXPECT_EQ(release.LParam, row.LParam);
    }
}

// Feeds (X key code, release) events to one translator; returns the posted (wParam, lParam) pairs.
std::vector<std::pair<std::uintptr_t, std::intptr_t>>
Feed(const std::vector<std::pair<unsigned, bool>>& events, bool numLock = true) {
    CHookKeyTranslator translator;
    std::vector<std::pair<std::uintptr_t, std::intptr_t>> posted;
    for (auto [code, release] : events) {
        CHookKey key;
        if (translator.Translate(code, release, numLock, key))
            posted.emplace_back(key.WParam, key.LParam);
    }
    return posted;
}

using Posts = std::vector<std::pair<std::uintptr_t, std::intptr_t>>;
constexpr bool Press = false;
constexpr bool Release = true;

TEST(HookKeyTable, EveryKeyOfTheLayout) {
    ASSERT_EQ(LayoutKeys.size(), 87u);
    ExpectPressAndRelease(LayoutKeys, true);
}

TEST(HookKeyTable, EveryFurtherKeyTheCatalogueNames) {
    ExpectPressAndRelease(CatalogueKeys, true);
}

TEST(HookKeyTable, KeypadFollowsNumLock) {
    ExpectPressAndRelease(KeypadWithoutNumLock, false);
    // Shift turns them into navigation keys while Num Lock is on.
    EXPECT_EQ(Feed({{50, Press}, {79, Press}, {79, Release}, {50, Release}}),
              (Posts{{160, 0}, {36, 0}, {36 | Up, 0}, {160 | Up, 0}}));
}

TEST(HookKeyTable, KeysWithoutVirtualKeyPostNothing) {
    for (unsigned code : {0u, 7u, 93u, 97u, 124u, 151u, 255u, 300u}) {
        CHookKeyTranslator translator;
        CHookKey key{7, 9};
        EXPECT_FALSE(translator.Translate(code, false, true, key)) << code;
        EXPECT_EQ(key.WParam, 7u);
        EXPECT_EQ(key.LParam, 9);
    }
}

TEST(HookKeyEvents, ShiftPressAndRelease) {
    EXPECT_EQ(Feed({{50, Press}, {50, Release}}), (Posts{{0xA0, 0}, {0x800000A0, 0}}));
}

TEST(HookKeyEvents, AltAloneIsASystemKeyBothWays) {
    EXPECT_EQ(Feed({{64, Press}, {64, Release}}), (Posts{{0x400000A4, 0}, {0xC00000A4, 0}}));
    EXPECT_EQ(Feed({{108, Press}, {108, Release}}), (Posts{{0x400000A5, Ext}, {0xC00000A5, Ext}}));
}

TEST(HookKeyEvents, RightCtrlIsExtended) {
    EXPECT_EQ(Feed({{105, Press}, {105, Release}}), (Posts{{0xA3, 0x01000000}, {0x800000A3, 0x01000000}}));
}

TEST(HookKeyEvents, KeysWhileAltIsHeldAreSystemKeys) {
    EXPECT_EQ(Feed({{64, Press}, {38, Press}, {38, Release}, {64, Release}, {38, Press}}),
              (Posts{{0x400000A4, 0}, {0x40000041, 0}, {0xC0000041, 0}, {0xC00000A4, 0}, {0x41, 0}}));
    // Either Alt counts; releasing one of two keeps the other held.
    EXPECT_EQ(Feed({{64, Press}, {108, Press}, {64, Release}, {24, Press}, {108, Release}, {24, Release}}),
              (Posts{{0x400000A4, 0},
                     {0x400000A5, Ext},
                     {0xC00000A4, 0},
                     {0x40000051, 0},
                     {0xC00000A5, Ext},
                     {0x80000051, 0}}));
}

TEST(HookKeyEvents, CtrlWithAltMakesOrdinaryKeys) {
    EXPECT_EQ(
        Feed({{37, Press}, {64, Press}, {119, Press}, {119, Release}, {37, Release}, {64, Release}}),
        (Posts{{0xA2, 0}, {0xA4, 0}, {0x2E, Ext}, {0x8000002E, Ext}, {0x800000A2, 0}, {0xC00000A4, 0}}));
}

TEST(HookKeyEvents, F10IsASystemKeyAlone) {
    EXPECT_EQ(Feed({{76, Press}, {76, Release}}), (Posts{{0x40000079, 0}, {0xC0000079, 0}}));
}

TEST(HookKeyEvents, BreakUnderCtrlAndSysRqUnderAlt) {
    EXPECT_EQ(Feed({{37, Press}, {127, Press}, {127, Release}, {37, Release}, {127, Press}}),
              (Posts{{0xA2, 0}, {0x03, Ext}, {0x80000003, Ext}, {0x800000A2, 0}, {0x13, 0}}));
    EXPECT_EQ(Feed({{64, Press}, {107, Press}, {107, Release}, {64, Release}, {107, Press}}),
              (Posts{{0x400000A4, 0}, {0x4000002C, 0}, {0xC000002C, 0}, {0xC00000A4, 0}, {0x2C, Ext}}));
}

TEST(HookKeyMessages, WindowsMessagesGiveTheBits) {
    struct CRow {
        unsigned Message, VirtualKey, Flags;
        std::uintptr_t WParam;
        std::intptr_t LParam;
    };
    const std::vector<CRow> rows = {
        {0x100, 0xA0, 0x00, 0x000000A0, 0},   // WM_KEYDOWN, Left Shift
        {0x101, 0xA0, 0x80, 0x800000A0, 0},   // WM_KEYUP (LLKHF_UP is not the extended flag)
        {0x104, 0xA4, 0x20, 0x400000A4, 0},   // WM_SYSKEYDOWN, Left Alt
        {0x105, 0xA4, 0xA0, 0xC00000A4, 0},   // WM_SYSKEYUP
        {0x100, 0xA3, 0x01, 0x000000A3, Ext}, // right Ctrl, LLKHF_EXTENDED
        {0x101, 0x0D, 0x81, 0x8000000D, Ext}, // keypad Enter released
        {0x0FF, 0x41, 0x10, 0x00000041, 0},   // any other message: the code alone
    };
    for (const CRow& row : rows) {
        const CHookKey key = HookKeyOfMessage(row.Message, row.VirtualKey, row.Flags);
        EXPECT_EQ(key.WParam, row.WParam) << row.Message << " " << row.VirtualKey;
        EXPECT_EQ(key.LParam, row.LParam) << row.Message << " " << row.VirtualKey;
    }
}

class CNoTarget : public CMessageTarget {
public:
    void Post(unsigned, std::uintptr_t, std::intptr_t) override { ++Posts; }
    int Posts = 0;
};

#if defined(_WIN32)
// The low-level hook of Windows: one capture at a time, holding the window only while it runs.
TEST(Win32Hook, CapturesOnceAndGivesTheWindowBack) {
    auto target = std::make_shared<CNoTarget>();
    EXPECT_EQ(InstallHook(nullptr), HookRefused);
    ASSERT_EQ(InstallHook(target), HookInstalled);
    EXPECT_EQ(InstallHook(std::make_shared<CNoTarget>()), HookAlreadyInstalled);
    EXPECT_EQ(target.use_count(), 2) << "the capture keeps the window while it runs";
    UninstallHook();
    EXPECT_EQ(target.use_count(), 1);
    ASSERT_EQ(InstallHook(target), HookInstalled) << "a capture may start again";
    UninstallHook();
    UninstallHook(); // nothing to end
    EXPECT_EQ(target.use_count(), 1);
}
#else
// Restores DISPLAY when the test ends.
class HookWithoutDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        Saved = display != nullptr ? std::make_unique<std::string>(display) : nullptr;
    }
    void TearDown() override {
        UninstallHook();
        if (Saved)
            setenv("DISPLAY", Saved->c_str(), 1);
        else
            unsetenv("DISPLAY");
    }
    std::unique_ptr<std::string> Saved;
};

#if defined(ZELK_HOOK_X11)
constexpr HookResult Unavailable = HookNoDisplay;
#else
constexpr HookResult Unavailable = HookUnsupported;
#endif

TEST_F(HookWithoutDisplay, SaysSoAndMayBeTriedAgain) {
    auto target = std::make_shared<CNoTarget>();
    unsetenv("DISPLAY");
    EXPECT_EQ(InstallHook(target), Unavailable);
    setenv("DISPLAY", "", 1);
    EXPECT_EQ(InstallHook(target), Unavailable);
    setenv("DISPLAY", ":32767", 1); // no server there
    EXPECT_EQ(InstallHook(target), Unavailable);
    UninstallHook(); // nothing to end
    EXPECT_EQ(target->Posts, 0);
    EXPECT_EQ(target.use_count(), 1) << "a failed capture keeps the window";
}

#endif

} // namespace
