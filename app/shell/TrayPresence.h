// The main window's presence in the notification area: Hide puts the program's icon there and hides
// the window, and a click on the icon brings it back; the icon's menu offers Exit. Without a
// notification area a hidden window could never come back, so Hide minimises it instead.
#pragma once

#include "text/UiLanguage.h"

#include <QObject>
#include <QSystemTrayIcon>

class QIcon;
class QMenu;
class QWidget;

class CTrayPresence : public QObject {
    Q_OBJECT

public:
    static constexpr int IconId = 128;

    // language is the UI language code the menu's text is chosen by; it must outlive the presence.
    CTrayPresence(QWidget& window, const UiLanguage& language);

    // Makes the icon, not shown yet, with the program's name as its tooltip and its menu.
    void CreateIcon(const QIcon& icon);
    void HideWindow();
    // The icon's callback; answers 1 for a foreign icon id, else 0.
    int Notify(int iconId, QSystemTrayIcon::ActivationReason reason);
    // A window taken for minimised that is still clicked (no window manager minimised it) is not.
    void WindowClicked();
    void RemoveIcon();
    bool IconShown() const;

signals:
    void ExitChosen();

private:
    void ShowIcon(bool shown);

    QWidget& Window;
    const UiLanguage& Language;
    QSystemTrayIcon* Tray = nullptr;
    QMenu* TrayMenu = nullptr;
};
