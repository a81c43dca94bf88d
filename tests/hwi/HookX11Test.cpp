// The X11 keyboard capture on a real X server: scripts/hook-check.sh runs this under its own Xvfb.
// xdotool types the keys; a second X client with the focus shows where keys go.
#include "zelk/ZelkHWI.h"

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto Patience = std::chrono::seconds(10);

using Posts = std::vector<std::pair<std::uintptr_t, std::intptr_t>>;
constexpr std::intptr_t Ext = 0x01000000;

class CQueueTarget : public CMessageTarget {
public:
    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        std::lock_guard<std::mutex> hold(Lock);
        if (message == WM_HOOK_KEY)
            Keys.emplace_back(wParam, lParam);
        else
            Keys.emplace_back(0xDEAD, message);
        Arrived.notify_all();
    }
    // The posts so far, once count have arrived or the patience is spent.
    Posts WaitFor(std::size_t count) {
        std::unique_lock<std::mutex> hold(Lock);
        Arrived.wait_for(hold, Patience, [&] { return Keys.size() >= count; });
        return Keys;
    }
    // The posts so far, once one with this wParam has arrived or the patience is spent.
    Posts WaitForPost(std::uintptr_t wParam) {
        std::unique_lock<std::mutex> hold(Lock);
        Arrived.wait_for(hold, Patience, [&] {
            return std::find_if(Keys.begin(), Keys.end(),
                                [&](const auto& key) { return key.first == wParam; }) != Keys.end();
        });
        return Keys;
    }
    std::size_t Count() {
        std::lock_guard<std::mutex> hold(Lock);
        return Keys.size();
    }

private:
    std::mutex Lock;
    std::condition_variable Arrived;
    Posts Keys;
};

// Runs xdotool with the arguments and waits for it; stopped by its id when it takes too long.
int Xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, "xdotool", nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    const auto deadline = Clock::now() + Patience;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Another X client: a mapped window with the input focus that notes the key events it receives.
class CWitness {
public:
    CWitness() {
        Connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(Connection))
            return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(Connection)).data;
        Window = xcb_generate_id(Connection);
        const std::uint32_t events =
            XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_create_window(Connection, XCB_COPY_FROM_PARENT, Window, screen->root, 10, 10, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK, &events);
        xcb_map_window(Connection, Window);
        xcb_flush(Connection);
        Mapped = WaitForEvent(XCB_MAP_NOTIFY);
        Focus();
    }
    ~CWitness() { xcb_disconnect(Connection); }
    CWitness(const CWitness&) = delete;
    CWitness& operator=(const CWitness&) = delete;

    bool Ready() const { return !xcb_connection_has_error(Connection) && Mapped; }

    // The key codes pressed at the window so far: after a round trip, every event the server sent
    // before it has arrived.
    std::vector<int> Pressed() {
        Sync();
        Drain();
        return Presses;
    }
    // Waits until a key press arrives (or the patience is spent) and returns all presses so far.
    std::vector<int> WaitForPress() {
        const std::size_t before = Presses.size();
        const auto deadline = Clock::now() + Patience;
        while (Presses.size() == before && Clock::now() < deadline) {
            Drain();
            if (Presses.size() == before)
                Poll(deadline);
        }
        return Presses;
    }

    void Focus() {
        xcb_set_input_focus(Connection, XCB_INPUT_FOCUS_POINTER_ROOT, Window, XCB_CURRENT_TIME);
        Sync();
    }

    bool GrabKeyboard() {
        std::unique_ptr<xcb_grab_keyboard_reply_t, decltype(&std::free)> grab(
            xcb_grab_keyboard_reply(Connection,
                                    xcb_grab_keyboard(Connection, 0, Window, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr),
            &std::free);
        return grab && grab->status == XCB_GRAB_STATUS_SUCCESS;
    }
    void UngrabKeyboard() {
        xcb_ungrab_keyboard(Connection, XCB_CURRENT_TIME);
        Sync();
    }

private:
    void Sync() {
        std::free(xcb_get_input_focus_reply(Connection, xcb_get_input_focus(Connection), nullptr));
    }
    void Poll(Clock::time_point deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd wait = {xcb_get_file_descriptor(Connection), POLLIN, 0};
        poll(&wait, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
    }
    bool Note(xcb_generic_event_t* event) {
        const int type = event->response_type & 0x7f;
        if (type == XCB_KEY_PRESS)
            Presses.push_back(reinterpret_cast<xcb_key_press_event_t*>(event)->detail);
        std::free(event);
        return type != 0;
    }
    void Drain() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(Connection))
            Note(event);
    }
    bool WaitForEvent(int wanted) {
        const auto deadline = Clock::now() + Patience;
        while (Clock::now() < deadline) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(Connection)) {
                const bool found = (event->response_type & 0x7f) == wanted;
                Note(event);
                if (found)
                    return true;
            }
            Poll(deadline);
        }
        return false;
    }

    xcb_connection_t* Connection = nullptr;
    xcb_window_t Window = 0;
    bool Mapped = false;
    std::vector<int> Presses;
};

class HookX11 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run by scripts/hook-check.sh";
        ASSERT_TRUE(Witness.Ready());
        // Keys reach the witness before any capture.
        ASSERT_EQ(Xdotool({"key", "z"}), 0);
        ASSERT_EQ(Witness.WaitForPress(), (std::vector<int>{52}));
    }
    void TearDown() override { UninstallHook(); }

    CWitness Witness;
};

TEST_F(HookX11, KeysArriveInOrderAndReachNoOtherClient) {
    auto target = std::make_shared<CQueueTarget>();
    ASSERT_EQ(InstallHook(target), HookInstalled);
    EXPECT_EQ(InstallHook(std::make_shared<CQueueTarget>()), HookAlreadyInstalled);

    // Right-hand modifiers by key code: by name, xdotool presses the left one with them.
    ASSERT_EQ(Xdotool({"key", "--delay", "20", "Shift_L", "Alt_L", "105", "108", "a", "alt+b", "KP_Enter",
                       "Right", "F10"}),
              0);
    const Posts expected = {
        {0x000000A0, 0},   {0x800000A0, 0},   // Left Shift
        {0x400000A4, 0},   {0xC00000A4, 0},   // Left Alt alone
        {0x000000A3, Ext}, {0x800000A3, Ext}, // Right Ctrl
        {0x400000A5, Ext}, {0xC00000A5, Ext}, // Right Alt alone
        {0x00000041, 0},   {0x80000041, 0},   // A
        {0x400000A4, 0},   {0x40000042, 0},   // Alt and B, released in the order pressed
        {0xC00000A4, 0},   {0x80000042, 0},   //
        {0x0000000D, Ext}, {0x8000000D, Ext}, // keypad Enter
        {0x00000027, Ext}, {0x80000027, Ext}, // Right
        {0x40000079, 0},   {0xC0000079, 0},   // F10
    };
    EXPECT_EQ(target->WaitFor(expected.size()), expected);
    EXPECT_EQ(Witness.Pressed(), (std::vector<int>{52})) << "the focused client received keys while hooked";

    UninstallHook();
    ASSERT_EQ(Xdotool({"key", "c"}), 0);
    EXPECT_EQ(Witness.WaitForPress(), (std::vector<int>{52, 54}));
    EXPECT_EQ(target->Count(), expected.size()) << "posted after UninstallHook";
}

TEST_F(HookX11, KeypadFollowsNumLock) {
    auto target = std::make_shared<CQueueTarget>();
    ASSERT_EQ(InstallHook(target), HookInstalled);
    ASSERT_EQ(Xdotool({"key", "--delay", "20", "Num_Lock", "KP_Home", "Num_Lock", "KP_Home"}), 0);
    const Posts expected = {
        {0x00000090, Ext}, {0x80000090, Ext}, {0x00000067, 0}, {0x80000067, 0},
        {0x00000090, Ext}, {0x80000090, Ext}, {0x00000024, 0}, {0x80000024, 0},
    };
    EXPECT_EQ(target->WaitFor(expected.size()), expected);
}

TEST_F(HookX11, HeldKeyRepeatsAsPressesOnly) {
    auto target = std::make_shared<CQueueTarget>();
    ASSERT_EQ(InstallHook(target), HookInstalled);
    // Held well past the server's repeat delay.
    ASSERT_EQ(Xdotool({"keydown", "a", "sleep", "1.5", "keyup", "a"}), 0);
    Posts posts = target->WaitForPost(0x80000041);
    ASSERT_GE(posts.size(), 3u) << "the server did not repeat the key";
    EXPECT_EQ(posts.back(), (std::pair<std::uintptr_t, std::intptr_t>{0x80000041, 0}));
    posts.pop_back();
    for (const auto& post : posts)
        EXPECT_EQ(post.first, 0x41u) << "a repeat arrived as something else than a press";
}

TEST_F(HookX11, RefusedWhileAnotherClientHoldsTheKeyboard) {
    ASSERT_TRUE(Witness.GrabKeyboard());
    EXPECT_EQ(InstallHook(std::make_shared<CQueueTarget>()), HookRefused);
    Witness.UngrabKeyboard();
    // Nothing of the refused attempt holds the keyboard.
    ASSERT_EQ(Xdotool({"key", "d"}), 0);
    EXPECT_EQ(Witness.WaitForPress(), (std::vector<int>{52, 40}));
    EXPECT_EQ(InstallHook(std::make_shared<CQueueTarget>()), HookInstalled);
}

TEST_F(HookX11, ProcessEndingWithTheHookInstalledGivesTheKeyboardBack) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (InstallHook(std::make_shared<CQueueTarget>()) == HookInstalled)
                std::exit(3);
        },
        ::testing::ExitedWithCode(3), "");
    Witness.Focus(); // the test's second run took the focus for a witness of its own
    ASSERT_EQ(Xdotool({"key", "d"}), 0);
    EXPECT_EQ(Witness.WaitForPress(), (std::vector<int>{52, 40}));
}

} // namespace
