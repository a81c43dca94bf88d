#include "transport/SystemProvider.h"

#include <windows.h>
extern "C" {
#include <hidsdi.h>
}
#include <setupapi.h>

#include <string>
#include <vector>

namespace {

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; *text != 0; ++text)
        narrow += *text < 128 ? static_cast<char>(*text) : '?';
    return narrow;
}

class CWin32Device : public CReportDevice {
public:
    explicit CWin32Device(HANDLE handle) : Handle(handle) {}
    ~CWin32Device() override {
        if (Handle != INVALID_HANDLE_VALUE && Handle != nullptr)
            CloseHandle(Handle);
    }
    CWin32Device(const CWin32Device&) = delete;
    CWin32Device& operator=(const CWin32Device&) = delete;

    bool Write(const std::uint8_t* report, std::size_t length) override {
        DWORD written = 0;
        OVERLAPPED overlapped = {};
        overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        BOOL ok = WriteFile(Handle, report, static_cast<DWORD>(length), &written, &overlapped);
        if (!ok && GetLastError() == ERROR_IO_PENDING)
            ok = GetOverlappedResult(Handle, &overlapped, &written, TRUE);
        CloseHandle(overlapped.hEvent);
        return ok != FALSE;
    }

    int Read(std::uint8_t* report, std::size_t capacity, int timeoutMs) override {
        DWORD received = 0;
        OVERLAPPED overlapped = {};
        overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        BOOL ok = ReadFile(Handle, report, static_cast<DWORD>(capacity), &received, &overlapped);
        if (!ok && GetLastError() == ERROR_IO_PENDING) {
            if (WaitForSingleObject(overlapped.hEvent, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
                CancelIo(Handle);
                GetOverlappedResult(Handle, &overlapped, &received, TRUE);
                CloseHandle(overlapped.hEvent);
                return 0;
            }
            ok = GetOverlappedResult(Handle, &overlapped, &received, FALSE);
        }
        CloseHandle(overlapped.hEvent);
        return ok ? static_cast<int>(received) : -1;
    }

private:
    HANDLE Handle;
};

class CWin32Provider : public CDeviceProvider {
public:
    std::vector<CHidInterface> Enumerate() override {
        std::vector<CHidInterface> found;
        GUID guid;
        HidD_GetHidGuid(&guid);
        HDEVINFO set = SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        if (set == INVALID_HANDLE_VALUE)
            return found;
        SP_DEVICE_INTERFACE_DATA data = {};
        data.cbSize = sizeof data;
        for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &guid, i, &data); ++i) {
            DWORD size = 0;
            SetupDiGetDeviceInterfaceDetailW(set, &data, nullptr, 0, &size, nullptr);
            std::vector<std::uint8_t> buffer(size);
            auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
            detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
            if (!SetupDiGetDeviceInterfaceDetailW(set, &data, detail, size, nullptr, nullptr))
                break;
            found.push_back({Narrow(detail->DevicePath), 0, 0, -1});
        }
        SetupDiDestroyDeviceInfoList(set);
        return found;
    }

    std::unique_ptr<CReportDevice> Open(const std::string& path, CProblem& problem) override {
        const std::wstring wide(path.begin(), path.end());
        HANDLE handle =
            CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            problem = {ProblemCode::KeyboardHeldElsewhere};
            problem.Path = path;
            return nullptr;
        }
        return std::make_unique<CWin32Device>(handle);
    }
};

} // namespace

std::shared_ptr<CDeviceProvider> MakeSystemDeviceProvider() {
    return std::make_shared<CWin32Provider>();
}
