// Where a recording's keys come from: the desktop's whole keyboard through the device library's
// capture (an X11 grab), or, where the desktop cannot be captured (no X server, native Wayland, a
// grab held by another program), the keys typed into the recording window itself, translated to
// the values the capture posts.
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

    // A key event of the window; true when it belonged to the capture (it then went to receive).
    bool OfferKey(QKeyEvent& event, bool release, const KeyReceiver& receive);

private:
    QWidget* Window = nullptr;
    bool Hooked = false;
    bool OwnKeys = false;
    CHookKeyTranslator Translator;
};
