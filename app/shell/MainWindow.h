// The main window CMorvDlg: the keyboard picture with its buttons and switches, the info panel
// below it, the commands behind every area, the notification-area icon and the periodic check
// that the keyboard is still there.
#pragma once

#include "shell/SkinWindow.h"

#include <QSystemTrayIcon>

#include <functional>

class CKeyboardData;
class CMorvDlg;
class QMenu;
class QPlainTextEdit;
class QTimer;

// Commands that other parts of the program supply. A part sets its entry from a static initialiser
// in one of its own sources compiled into the program; an unset entry leaves its button inert.
struct CMainWindowCommands {
    // Runs the progress dialog for a device operation (1 write the key settings, 3 read all) and
    // returns its result (QDialog::Accepted for OK).
    std::function<int(CMorvDlg& owner, int operation)> RunProgress;
    std::function<void(CMorvDlg& owner)> RunBacklight;
    std::function<void(CMorvDlg& owner)> RunFirmwareUpdate;
    // Edits theKeyboardData's CurrentKey on CurrentLevel; both are set before it runs.
    std::function<void(CMorvDlg& owner)> RunKeyEditor;
    std::function<void(CMorvDlg& owner)> OpenHelp;
};

// What the main window asks of the person in front of it. Tests answer these themselves.
struct CMainWindowPrompts {
    // The chosen path, or empty when cancelled.
    std::function<QString(QWidget* owner)> AskSavePath;
    std::function<QString(QWidget* owner)> AskOpenPath;
    std::function<void(QWidget* owner, const QString& text)> ShowMessage;
};

class CMorvDlg : public CSkinWindow {
    Q_OBJECT

public:
    static constexpr int TrayIconId = 128;
    static constexpr int DefaultDeviceCheckMs = 2000;

    CMorvDlg(CKeyboardData& data, const CSkinResources& resources, QWidget* parent = nullptr);
    ~CMorvDlg() override;

    static CMainWindowCommands& SuppliedCommands();
    // The system's file dialogs and message boxes.
    static CMainWindowPrompts SystemPrompts();

    void SetPrompts(CMainWindowPrompts prompts);
    // 0 stops the periodic device check.
    void SetDeviceCheckInterval(int milliseconds);

    // Opens the keyboard and sets the window up. False when there is no keyboard: the message has
    // been shown and the window must not be run.
    bool Initialise();

    // Runs the command of an area, as a click on it does.
    void Dispatch(int id, int keyIndex);
    // The notification-area icon's callback; answers 1 for a foreign icon id, else 0.
    int TrayNotify(int iconId, QSystemTrayIcon::ActivationReason reason);
    bool TrayIconShown() const;

    CKeyboardData& Data() { return Model; }
    QPlainTextEdit* InfoPanel() const { return Panel; }
    // The text the info panel shows for the last mouse point.
    std::u16string InfoText() const;
    // Shows a message box (or the test's answer) captioned with the program's name.
    void ShowMessage(const QString& text);
    // Ends the program's run: removes the icon, ends any dialog still open, then this window.
    void EndProgram();

public slots:
    // The device-change check: ends the program when the keyboard is gone.
    void CheckDevice();

protected:
    // The commands, one per area id; the device and dialog commands run SuppliedCommands().
    virtual void OnLanguage();
    virtual void OnHelp();
    virtual void OnHide();
    virtual void OnExit();
    virtual void OnSave();
    virtual void OnOpen();
    virtual void OnClear();
    virtual void OnWriteKeys();
    virtual void OnBacklight();
    virtual void OnReadAll();
    virtual void OnFirmwareUpdate();
    virtual void OnLayer();
    virtual void OnKey(int keyIndex);

    void OnAreaClicked(const SkinRegion& area) override;
    std::uint32_t CaptionFormat(const SkinRegion& area) const override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool English() const;
    void UpdateActiveStates();
    void ShowInPanel(const std::u16string& text);
    void ShowTrayIcon(bool shown);

    CKeyboardData& Model;
    QPlainTextEdit* Panel = nullptr;
    QSystemTrayIcon* Tray = nullptr;
    QMenu* TrayMenu = nullptr;
    QTimer* DeviceCheck = nullptr;
    CMainWindowPrompts Prompts;
    bool Ending = false;
};
