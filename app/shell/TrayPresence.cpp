#include "shell/TrayPresence.h"

#include "model/ProfileShelf.h"
#include "shell/ProfileShelfUi.h"
#include "shell/StatusLine.h"
#include "skin/Prompts.h"
#include "text/UiTexts.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

CTrayPresence::CTrayPresence(QWidget& window, const UiLanguage& language)
    : QObject(&window), Window(window), Language(language) {}

void CTrayPresence::CreateIcon(const QIcon& icon) {
    Tray = new QSystemTrayIcon(icon, this);
    Tray->setToolTip(ProgramName());
    TrayMenu = new QMenu(&Window);
    connect(TrayMenu, &QMenu::aboutToShow, this, &CTrayPresence::FillMenu);
    FillMenu();
    Tray->setContextMenu(TrayMenu);
    connect(Tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { Notify(IconId, reason); });
}

void CTrayPresence::ConnectShelf(CKeyboardData& data) {
    Shelved = &data;
}

void CTrayPresence::FillMenu() {
    if (TrayMenu == nullptr)
        return;
    TrayMenu->clear();
    if (Shelved != nullptr) {
        std::vector<CShelfProfile> profiles;
        CProblem problem;
        auto scratch = std::make_unique<CKeyboardData>();
        BuildKeyCatalogue(*scratch);
        const bool listed = ListProfileShelf(ProfileShelfFolder(), *scratch, profiles, problem);
        const CStatusLine* status = Window.findChild<CStatusLine*>();
        const QString held = status != nullptr ? status->ShelfProfile() : QString();
        for (const CShelfProfile& profile : profiles) {
            const QString name = QString::fromStdString(profile.Name);
            QAction* entry = TrayMenu->addAction(
                profile.Damage ? UiText(Language, TextId::TrayShelfDamaged).arg(name) : name);
            if (profile.Damage) {
                entry->setEnabled(false);
                continue;
            }
            entry->setCheckable(true);
            entry->setChecked(name == held);
            // Applied once the menu's own handling has ended: refilling the menu deletes its entries.
            connect(entry, &QAction::triggered, this, [this, name, file = profile.Name] {
                QTimer::singleShot(0, this, [this, name, file] {
                    if (Applying)
                        return; // one switch at a time
                    Applying = true;
                    ApplyShelfProfile(&Window, *Shelved, file);
                    Applying = false;
                    emit ShelfProfileChosen(name);
                });
            });
        }
        if (profiles.empty()) {
            const bool unreadable = !listed && problem.Code != ProblemCode::ShelfMissing;
            QAction* none = TrayMenu->addAction(
                UiText(Language, unreadable ? TextId::TrayShelfUnreadable : TextId::TrayShelfEmpty));
            none->setEnabled(false);
            if (unreadable)
                none->setToolTip(ProblemUiText(problem, Language));
        }
        TrayMenu->addSeparator();
    }
    QAction* exit = TrayMenu->addAction(UiText(Language, TextId::TrayExit));
    connect(exit, &QAction::triggered, this, &CTrayPresence::ExitChosen);
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
