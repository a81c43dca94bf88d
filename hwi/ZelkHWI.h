// Public interface of the Zelk device library: the keyboard facade CMorvHWI, the message target
// through which transfers report progress, and the device providers that discovery searches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#if defined(_WIN32)
#if defined(ZELKHWI_BUILD)
#define ZELKHWI_API __declspec(dllexport)
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

// How long a read waits for the keyboard's next input report before the transfer fails.
inline constexpr int ReportReadTimeoutMs = 1000;

// Room a caller gives ReadKeyboardVersion: 62 characters of text and a terminating zero.
inline constexpr std::size_t VersionTextCapacity = 64;

// Levels, keys and slots of the key table.
inline constexpr int KeyCount = 87;
inline constexpr int SlotCount = 2 * KeyCount;
inline constexpr int LightAreaSize = 3 * KeyCount;

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
    virtual std::unique_ptr<CReportDevice> Open(const std::string& path, std::string& problem) = 0;
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
    // Why the last __createDev found the keyboard but could not open it; empty when it could.
    const std::string& AccessProblem() const;

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

private:
    std::shared_ptr<CDeviceProvider> Provider();

    CMorvUtil* Transport = nullptr;
    CMorv* Keyboard = nullptr;
    char16_t Version[VersionTextCapacity] = {};
    std::shared_ptr<CDeviceProvider> DeviceProvider;
    std::string OpenProblem;
};
