// The main window's presence in the notification area: Hide puts the program's icon there and hides
// the window, and a click on the icon brings it back; the icon's menu lists the profile shelf (choosing
// a profile applies it to the keyboard) and offers Exit. Without a notification area a hidden window
// could never come back, so Hide minimises it instead.
#pragma once

#include "text/UiLanguage.h"

#include <QObject>
#include <QSystemTrayIcon>

class CKeyboardData;
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
    // The menu lists the shelf's profiles from now on, applying the one chosen to data's keyboard.
    void ConnectShelf(CKeyboardData& data);
    // Fills the menu as it is about to be shown: the shelf's profiles (a damaged one greyed, the one the
    // keyboard holds checked), then Exit.
    void FillMenu();
    QMenu* Menu() const { return TrayMenu; }
    void HideWindow();
    // The icon's callback; answers 1 for a foreign icon id, else 0.
    int Notify(int iconId, QSystemTrayIcon::ActivationReason reason);
    // A window taken for minimised that is still clicked (no window manager minimised it) is not.
    void WindowClicked();
    void RemoveIcon();
    bool IconShown() const;

signals:
    void ExitChosen();
    // A profile of the shelf was chosen, after it was applied (or not: it then said why).
    void ShelfProfileChosen(const QString& name);

private:
    void ShowIcon(bool shown);

    QWidget& Window;
    const UiLanguage& Language;
    QSystemTrayIcon* Tray = nullptr;
    QMenu* TrayMenu = nullptr;
    CKeyboardData* Shelved = nullptr;
    bool Applying = false;
};
