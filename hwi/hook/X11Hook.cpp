// Keyboard capture on X11 (XWayland included): an active keyboard grab on the library's own display
// connection, served by its own thread, which translates every key event and posts it as WM_HOOK_KEY.
// xcb rather than Xlib: Xlib's error handlers are process-wide and end the process when the server
// goes away, which must not happen to the program because a capture was running.
#include "zelk/ZelkHWI.h"

#include <xcb/xcb.h>
// xkb.h names a structure member "explicit", which C++ reserves.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wkeyword-macro"
#endif
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// A grab another client holds (a menu closing, a key binding) is often released within moments.
constexpr int GrabAttempts = 10;
constexpr auto GrabRetryPause = std::chrono::milliseconds(20);

constexpr xcb_keysym_t NumLockKeysym = 0xff7f;

template <typename T> struct CFree {
    void operator()(T* reply) const { std::free(reply); }
};
template <typename T> using CReply = std::unique_ptr<T, CFree<T>>;

class CX11Capture {
public:
    CX11Capture(xcb_connection_t* connection, std::shared_ptr<CMessageTarget> target, unsigned numLockMask,
                int wakeRead, int wakeWrite)
        : Connection(connection), Target(std::move(target)), NumLockMask(numLockMask), WakeRead(wakeRead),
          WakeWrite(wakeWrite) {
        Thread = std::thread([this] { Run(); });
    }
    CX11Capture(const CX11Capture&) = delete;
    CX11Capture& operator=(const CX11Capture&) = delete;

    // Wakes the thread, which releases the keyboard; returns once the server has done so.
    ~CX11Capture() {
        const char stop = 1;
        while (write(WakeWrite, &stop, 1) < 0 && errno == EINTR) {
        }
        Thread.join();
        xcb_disconnect(Connection);
        close(WakeRead);
        close(WakeWrite);
    }

private:
    void Run() {
        pollfd waits[2] = {{xcb_get_file_descriptor(Connection), POLLIN, 0}, {WakeRead, POLLIN, 0}};
        while (!xcb_connection_has_error(Connection)) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(Connection)) {
                Handle(*event);
                std::free(event);
            }
            if (xcb_connection_has_error(Connection))
                break;
            if (poll(waits, 2, -1) < 0 && errno != EINTR)
                break;
            if (waits[1].revents != 0)
                break;
        }
        if (xcb_connection_has_error(Connection))
            return; // the server is gone, and with it the grab
        xcb_ungrab_keyboard(Connection, XCB_CURRENT_TIME);
        // A round trip, so that the keyboard is free before UninstallHook returns.
        std::free(xcb_get_input_focus_reply(Connection, xcb_get_input_focus(Connection), nullptr));
    }

    void Handle(const xcb_generic_event_t& event) {
        const std::uint8_t type = event.response_type & 0x7f;
        if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
            return;
        // Press and release share one layout.
        const auto& keyEvent = reinterpret_cast<const xcb_key_press_event_t&>(event);
        CHookKey key;
        if (Translator.Translate(keyEvent.detail, type == XCB_KEY_RELEASE,
                                 (keyEvent.state & NumLockMask) != 0, key))
            Target->Post(WM_HOOK_KEY, key.WParam, key.LParam);
    }

    xcb_connection_t* Connection;
    std::shared_ptr<CMessageTarget> Target;
    unsigned NumLockMask;
    int WakeRead;
    int WakeWrite;
    CHookKeyTranslator Translator;
    std::thread Thread;
};

// The modifier bit Num Lock sets in an event's state, 0 when no key carries Num Lock.
unsigned FindNumLockMask(xcb_connection_t* connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    CReply<xcb_get_keyboard_mapping_reply_t> keys(xcb_get_keyboard_mapping_reply(
        connection,
        xcb_get_keyboard_mapping(connection, setup->min_keycode, static_cast<std::uint8_t>(count)), nullptr));
    CReply<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!keys || !modifiers || keys->keysyms_per_keycode == 0)
        return 0;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(keys.get());
    const int keysymCount = xcb_get_keyboard_mapping_keysyms_length(keys.get());
    const xcb_keycode_t* modifierKeys = xcb_get_modifier_mapping_keycodes(modifiers.get());
    const int perModifier = modifiers->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const int keycode = modifierKeys[modifier * perModifier + i];
            if (keycode < setup->min_keycode)
                continue;
            const int first = (keycode - setup->min_keycode) * keys->keysyms_per_keycode;
            for (int level = 0; level < keys->keysyms_per_keycode && first + level < keysymCount; ++level)
                if (keysyms[first + level] == NumLockKeysym)
                    return 1u << modifier;
        }
    }
    return 0;
}

// Auto-repeat then arrives as repeated presses, as on Windows, instead of release and press pairs.
void AskForDetectableAutoRepeat(xcb_connection_t* connection) {
    CReply<xcb_xkb_use_extension_reply_t> xkb(xcb_xkb_use_extension_reply(
        connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
        nullptr));
    if (!xkb || !xkb->supported)
        return;
    const std::uint32_t flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    std::free(xcb_xkb_per_client_flags_reply(
        connection, xcb_xkb_per_client_flags(connection, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0),
        nullptr));
}

bool GrabKeyboard(xcb_connection_t* connection, xcb_window_t root) {
    for (int attempt = 0; attempt < GrabAttempts; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(GrabRetryPause);
        CReply<xcb_grab_keyboard_reply_t> grab(
            xcb_grab_keyboard_reply(connection,
                                    xcb_grab_keyboard(connection, 0, root, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr));
        if (!grab)
            return false; // the connection failed
        if (grab->status == XCB_GRAB_STATUS_SUCCESS)
            return true;
    }
    return false;
}

std::mutex CaptureLock;
std::unique_ptr<CX11Capture> Capture;

// Whatever way the program ends or the library is unloaded, the keyboard is given back.
struct CReleaseAtExit {
    ~CReleaseAtExit() { UninstallHook(); }
} ReleaseAtExit;

} // namespace

HookResult InstallHook(std::shared_ptr<CMessageTarget> window) {
    std::lock_guard<std::mutex> hold(CaptureLock);
    if (Capture)
        return HookAlreadyInstalled;
    if (!window)
        return HookRefused;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == 0)
        return HookNoDisplay;
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(display, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return HookNoDisplay;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    int wake[2] = {-1, -1};
    if (screens.rem == 0 || pipe(wake) != 0) {
        xcb_disconnect(connection);
        return HookRefused;
    }
    fcntl(wake[0], F_SETFD, FD_CLOEXEC);
    fcntl(wake[1], F_SETFD, FD_CLOEXEC);
    AskForDetectableAutoRepeat(connection);
    const unsigned numLockMask = FindNumLockMask(connection);
    if (!GrabKeyboard(connection, screens.data->root)) {
        xcb_disconnect(connection);
        close(wake[0]);
        close(wake[1]);
        return HookRefused;
    }
    Capture = std::make_unique<CX11Capture>(connection, std::move(window), numLockMask, wake[0], wake[1]);
    return HookInstalled;
}

void UninstallHook() {
    // The capture's thread never takes the lock, so it may be held while the thread is joined.
    std::lock_guard<std::mutex> hold(CaptureLock);
    Capture.reset();
}
