// Public interface of the Zelk device library: the keyboard facade CMorvHWI, the message target
// through which transfers report progress, the device providers that discovery searches, and the
// keyboard capture for recording.
#pragma once

#include "zelk/Problem.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#if defined(_WIN32)
#if defined(ZELKHWI_BUILD)
#define ZELKHWI_API __declspec(dllexport)
#elif defined(ZELKHWI_STATIC)
#define ZELKHWI_API // linked statically (ZelkHWIInternals): nothing to import
#else
#define ZELKHWI_API __declspec(dllimport)
#endif
#else
#define ZELKHWI_API __attribute__((visibility("default")))
#endif

// Posted message ids, shared by the library and the program.
inline constexpr unsigned WM_TRAYICON_NOTIFY = 1125;
inline constexpr unsigned WM_HOOK_KEY = 1126;
inline constexpr unsigned WM_DEVICE_PROGRESS = 1127;
inline constexpr unsigned WM_DEVICE_DONE = 1128;

// The flags of a WM_HOOK_KEY message: wParam carries the virtual-key code in its low bits and these
// two flags above it; lParam carries the extended-key flag alone.
inline constexpr std::uintptr_t HookKeyRelease = std::uintptr_t{1} << 31;
inline constexpr std::uintptr_t HookKeySystem = std::uintptr_t{1} << 30;
inline constexpr std::intptr_t HookKeyExtended = std::intptr_t{1} << 24;

// How long a read waits for the keyboard's next input report before the transfer fails.
inline constexpr int ReportReadTimeoutMs = 1000;

// Room a caller gives ReadKeyboardVersion: 62 characters of text and a terminating zero.
inline constexpr std::size_t VersionTextCapacity = 64;

// Levels, keys and slots of the key table.
inline constexpr int KeyCount = 87;
inline constexpr int SlotCount = 2 * KeyCount;
inline constexpr int LightAreaSize = 3 * KeyCount;

// What one key definition carries at most: the codes of a normal definition (a single key or a
// combination) and of a continuous one (an emulation), whatever a packet holds beside its head, and the
// bytes of a macro's stream, whose length is a 16-bit number.
inline constexpr int MaxNormalCodes = 58;
inline constexpr int MaxContinuousCodes = 56;
inline constexpr int MaxMacroStream = 0xFFFF;
// A macro plays once, while its key is held, or until its key is pressed again.
inline constexpr int MaxMacroPlayMode = 2;

// The bytes of a macro's stream: a byte per step and, when it plays recorded delays, a marker and two
// delay bytes between two steps.
inline constexpr long long MacroStreamLength(long long steps, bool recordedDelays) {
    return recordedDelays ? 4 * steps - 3 : steps;
}

// Receives posted messages (progress, completion). Implementations must accept posts from any thread
// and must never call back into the poster.
class ZELKHWI_API CMessageTarget {
public:
    virtual ~CMessageTarget();
    virtual void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

// One HID interface as an enumeration reports it.
struct CHidInterface {
    std::string Path;
    unsigned short VendorId = 0;
    unsigned short ProductId = 0;
    int InterfaceNumber = -1;
};

// An opened HID interface moving whole 65-byte reports (byte 0 is the report ID).
class ZELKHWI_API CReportDevice {
public:
    virtual ~CReportDevice();
    virtual bool Write(const std::uint8_t* report, std::size_t length) = 0;
    // Fills up to capacity bytes of one input report, report ID first. Returns the number of bytes
    // received, 0 when nothing arrived within timeoutMs, or -1 when the read failed.
    virtual int Read(std::uint8_t* report, std::size_t capacity, int timeoutMs) = 0;
};

// Where discovery looks for the keyboard: the system's HID devices or the virtual keyboard.
class ZELKHWI_API CDeviceProvider {
public:
    virtual ~CDeviceProvider();
    virtual std::vector<CHidInterface> Enumerate() = 0;
    // Opens a path found by Enumerate; on failure returns null and says why in problem.
    virtual std::unique_ptr<CReportDevice> Open(const std::string& path, CProblem& problem) = 0;
};

class CMorvUtil;
class CMorv;

// The program's only connection to the keyboard. Open it with __createDev before any transfer.
class ZELKHWI_API CMorvHWI {
public:
    CMorvHWI();
    ~CMorvHWI();
    CMorvHWI(const CMorvHWI&) = delete;
    CMorvHWI& operator=(const CMorvHWI&) = delete;

    // Chooses where discovery looks; the system's HID devices unless set. Takes effect at the next
    // DetectDevice or __createDev.
    void UseDeviceProvider(std::shared_ptr<CDeviceProvider> provider);

    bool DetectDevice();
    bool __createDev();
    bool __closeDev();
    bool IsOpen() const;
    // Why the last __createDev found the keyboard but could not open it; no problem when it could.
    const CProblem& AccessProblem() const;

    const char16_t* getHardwareVersion();
    bool ReadKeyboardVersion(char16_t* destination);

    bool setKeyConfiguration(int level, int keyNumber, const int* array, int length);
    bool getKeyConfiguration(int level, int keyNumber, int* array, int capacity);

    bool prepare();
    bool writeKeyConfigurationToDev(CMessageTarget* target);
    bool readKeyDefinationFromDev(CMessageTarget* target);

    bool setKeyboardLightArea(const int* area);
    bool getKeyboardLightArea(int* area);
    bool readKeyLightFromDev();

    bool WriteFirmwareToKeyboard(const char* text, std::size_t length, CMessageTarget* target);

    // Why the last transfer with the keyboard (a read or write of the key table, the light area, the
    // version or the firmware) failed; no problem when it did not. Ask after the transfer has ended.
    CProblem TransferProblem() const;

private:
    // A transfer begins: the problem of the one before is forgotten.
    void Begin();
    std::shared_ptr<CDeviceProvider> Provider();

    CMorvUtil* Transport = nullptr;
    CMorv* Keyboard = nullptr;
    char16_t Version[VersionTextCapacity] = {};
    std::shared_ptr<CDeviceProvider> DeviceProvider;
    CProblem OpenProblem;
};

// Keyboard capture for recording. While it is installed every key press and release of the desktop is
// posted to the window as WM_HOOK_KEY and reaches no other program, the caller included.
//   wParam: virtual-key code, bit 31 for a release, bit 30 for a system key (Alt held, or F10)
//   lParam: bit 24 for an extended key (right Ctrl and Alt, the grey navigation keys, keypad / and Enter)

// What InstallHook achieved. Only HookInstalled captures; otherwise keys flow normally and the caller
// captures what is typed into its own window, translated by CHookKeyTranslator.
enum HookResult : int {
    HookInstalled = 0,
    HookAlreadyInstalled = 1, // a capture is running; it is left as it is (UninstallHook first)
    HookNoDisplay = 2,        // no X display to capture on: DISPLAY unset or unreachable (native Wayland)
    HookRefused = 3,          // refused: another program holds the keyboard, or no window was given
    HookUnsupported = 4,      // this build has no capture for its platform
};

// Starts capturing for window, which is kept until UninstallHook; once the window is gone the target
// drops the posts. Posts come from the library's own thread.
ZELKHWI_API HookResult InstallHook(std::shared_ptr<CMessageTarget> window);
// Ends the capture and releases the keyboard before it returns; harmless when none runs. Also done
// when the library is unloaded or the process ends.
ZELKHWI_API void UninstallHook();

#if defined(_WIN32)
// The low-level keyboard hook procedure: posts WM_HOOK_KEY for the event and swallows it.
// (Same types as HOOKPROC on 64-bit Windows: int, WPARAM, LPARAM -> LRESULT.)
ZELKHWI_API std::intptr_t __stdcall KeyBoardProc(int code, std::uintptr_t message, std::intptr_t record);
#endif

// The two values of one WM_HOOK_KEY message.
struct CHookKey {
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
};

ZELKHWI_API CHookKey MakeHookKey(unsigned virtualKey, bool release, bool systemKey, bool extended);

// Turns key events, named by their native scan code, into the WM_HOOK_KEY values a Windows low-level
// hook posts for the same key. The scan code is the X key code, which is the Linux input key code + 8
// (what QKeyEvent::nativeScanCode reports on X11 and Wayland). Keys are named by their place on a US
// keyboard. It keeps which Shift, Ctrl and Alt keys are held from the events it is given, so one
// translator is fed every event of a recording in order.
class ZELKHWI_API CHookKeyTranslator {
public:
    // numLock: whether Num Lock is on, which decides between the keypad's digits and its navigation
    // keys. False (and key unchanged) for a key without a virtual-key code; nothing is posted for it.
    bool Translate(unsigned scanCode, bool release, bool numLock, CHookKey& key);

private:
    unsigned HeldModifiers = 0;
};
