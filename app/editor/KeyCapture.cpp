#include "editor/KeyCapture.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>

void CKeyCapture::Start(QWidget& window, const std::shared_ptr<CMessageTarget>& target) {
    Stop();
    Window = &window;
    Hooked =
        QGuiApplication::platformName() != QLatin1String("wayland") && InstallHook(target) == HookInstalled;
    OwnKeys = !Hooked;
    if (OwnKeys) {
        Translator = CHookKeyTranslator();
        window.setFocus();
        window.grabKeyboard();
    }
}

bool CKeyCapture::WaylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           QGuiApplication::platformName() == QLatin1String("wayland");
}

void CKeyCapture::Stop() {
    if (Hooked)
        UninstallHook();
    if (OwnKeys && Window != nullptr)
        Window->releaseKeyboard();
    Hooked = OwnKeys = false;
}

bool CKeyCapture::OfferKey(QKeyEvent& event, bool release, const KeyReceiver& receive) {
    if (!OwnKeys)
        return false;
    event.accept();
    // Qt repeats a held key as release and press pairs; the capture reports presses only.
    if (release && event.isAutoRepeat())
        return true;
    constexpr quint32 NumLockState = 0x10;
    CHookKey key;
    if (Translator.Translate(event.nativeScanCode(), release, (event.nativeModifiers() & NumLockState) != 0,
                             key))
        receive(key.WParam, key.LParam);
    return true;
}
