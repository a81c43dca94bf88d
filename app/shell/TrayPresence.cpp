#include "shell/TrayPresence.h"

#include "skin/Prompts.h"
#include "text/UiTexts.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

CTrayPresence::CTrayPresence(QWidget& window, const UiLanguage& language)
    : QObject(&window), Window(window), Language(language) {}

void CTrayPresence::CreateIcon(const QIcon& icon) {
    Tray = new QSystemTrayIcon(icon, this);
    Tray->setToolTip(ProgramName());
    TrayMenu = new QMenu(&Window);
    QAction* exit = TrayMenu->addAction(QString());
    connect(TrayMenu, &QMenu::aboutToShow, this,
            [this, exit] { exit->setText(UiText(Language, TextId::TrayExit)); });
    connect(exit, &QAction::triggered, this, &CTrayPresence::ExitChosen);
    Tray->setContextMenu(TrayMenu);
    connect(Tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { Notify(IconId, reason); });
}

void CTrayPresence::HideWindow() {
    // Without a notification area a hidden window could never come back: minimise it instead.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        ShowIcon(true);
        Window.hide();
    } else {
        Window.showMinimized();
    }
}

int CTrayPresence::Notify(int iconId, QSystemTrayIcon::ActivationReason reason) {
    if (iconId != IconId)
        return 1;
    // Desktops that report a single click instead of a double click bring the window back too.
    if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger) {
        Window.showNormal();
        Window.raise();
        Window.activateWindow();
        ShowIcon(false);
    }
    return 0;
}

void CTrayPresence::WindowClicked() {
    if (Window.isMinimized())
        Window.setWindowState(Window.windowState() & ~Qt::WindowMinimized);
}

void CTrayPresence::RemoveIcon() {
    ShowIcon(false);
}

void CTrayPresence::ShowIcon(bool shown) {
    if (Tray != nullptr)
        Tray->setVisible(shown);
}

bool CTrayPresence::IconShown() const {
    return Tray != nullptr && Tray->isVisible();
}
