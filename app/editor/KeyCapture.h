// Where a recording's keys come from. In an X11 session: the desktop's whole keyboard, through the
// device library's capture (an X11 grab). In a Wayland session, native or through Xwayland, no
// program may capture the desktop's keyboard (an X grab there misses every native Wayland window):
// the keys typed into the recording window itself, translated to the values the capture posts. The
// same when the grab fails (no X server, a grab held by another program).
#pragma once

#include "zelk/HookKey.h"
#include "zelk/ZelkHWI.h"

#include <functional>
#include <memory>

class QKeyEvent;
class QWidget;

class CKeyCapture {
public:
    // Receives one captured key as the capture posts it: WM_HOOK_KEY's wParam and lParam.
    using KeyReceiver = std::function<void(std::uintptr_t wParam, std::intptr_t lParam)>;

    // Starts capturing for window; the desktop's keys arrive as WM_HOOK_KEY at target, the window's
    // own keys through OfferKey.
    void Start(QWidget& window, const std::shared_ptr<CMessageTarget>& target);
    void Stop();
    bool Running() const { return Hooked || OwnKeys; }
    // Only the keys typed into the window are recorded.
    bool OwnKeysOnly() const { return OwnKeys; }

    // Whether the desktop runs a Wayland session: WAYLAND_DISPLAY is set, or Qt runs on Wayland.
    static bool WaylandSession();

    // A key event of the window; true when it belonged to the capture (it then went to receive).
    bool OfferKey(QKeyEvent& event, bool release, const KeyReceiver& receive);

private:
    QWidget* Window = nullptr;
    bool Hooked = false;
    bool OwnKeys = false;
    CHookKeyTranslator Translator;
};
