// Keyboard capture on Windows: a low-level keyboard hook installed by the library's own thread. That
// thread only pumps messages, so the desktop's input never waits on the program's user-interface thread.
#include "zelk/HookKey.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <type_traits>

static_assert(std::is_same_v<std::uintptr_t, WPARAM> && std::is_same_v<std::intptr_t, LPARAM> &&
                  std::is_same_v<std::intptr_t, LRESULT>,
              "KeyBoardProc is declared with the types of HOOKPROC");

namespace {

std::mutex CaptureLock;
// Set before the hook's thread starts and cleared after it has ended; read by KeyBoardProc, which the
// system calls on that thread only.
std::shared_ptr<CMessageTarget> HookWindow;
HANDLE HookThread = nullptr;
DWORD HookThreadId = 0;

struct CHookStart {
    HANDLE Ready = nullptr;
    bool Installed = false;
};

DWORD WINAPI RunHook(void* parameter) {
    CHookStart& start = *static_cast<CHookStart*>(parameter);
    // Keeps the library loaded while this thread runs; FreeLibraryAndExitThread gives it back.
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&CaptureLock),
                            &module)) {
        SetEvent(start.Ready);
        return 0;
    }
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // creates the thread's message queue
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyBoardProc, module, 0);
    start.Installed = hook != nullptr;
    SetEvent(start.Ready); // start is gone from here on
    if (hook != nullptr) {
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
        UnhookWindowsHookEx(hook);
    }
    FreeLibraryAndExitThread(module, 0);
}

void EndCapture(DWORD wait) {
    std::lock_guard<std::mutex> hold(CaptureLock);
    if (HookThread == nullptr)
        return;
    PostThreadMessageW(HookThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(HookThread, wait);
    CloseHandle(HookThread);
    HookThread = nullptr;
    HookThreadId = 0;
    HookWindow.reset();
}

// At process end the system has already stopped the hook's thread, and with it the hook; the wait is
// bounded all the same, because this runs while the loader holds its lock.
struct CReleaseAtExit {
    ~CReleaseAtExit() { EndCapture(1000); }
} ReleaseAtExit;

} // namespace

HookResult InstallHook(std::shared_ptr<CMessageTarget> window) {
    std::lock_guard<std::mutex> hold(CaptureLock);
    if (HookThread != nullptr)
        return HookAlreadyInstalled;
    if (!window)
        return HookRefused;
    HookWindow = std::move(window);
    CHookStart start;
    start.Ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD threadId = 0;
    HANDLE thread =
        start.Ready != nullptr ? CreateThread(nullptr, 0, RunHook, &start, 0, &threadId) : nullptr;
    if (thread != nullptr)
        WaitForSingleObject(start.Ready, INFINITE);
    if (start.Ready != nullptr)
        CloseHandle(start.Ready);
    if (thread == nullptr || !start.Installed) {
        if (thread != nullptr) {
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
        }
        HookWindow.reset();
        return HookRefused;
    }
    HookThread = thread;
    HookThreadId = threadId;
    return HookInstalled;
}

void UninstallHook() {
    EndCapture(INFINITE);
}

std::intptr_t __stdcall KeyBoardProc(int code, std::uintptr_t message, std::intptr_t record) {
    if (code < 0)
        return CallNextHookEx(nullptr, code, message, record);
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(record);
    const CHookKey key = HookKeyOfMessage(static_cast<unsigned>(message), event->vkCode, event->flags);
    if (HookWindow)
        HookWindow->Post(WM_HOOK_KEY, key.WParam, key.LParam);
    return 1; // swallowed: no program receives the key
}
