// The main window CMorvDlg: the keyboard picture with its buttons and switches, the info panel
// below it, the commands behind every area, the notification-area icon and the periodic check
// that the keyboard is still there.
#pragma once

#include "shell/SkinWindow.h"

#include <QSystemTrayIcon>

class CKeyboardData;
class QMenu;
class QPlainTextEdit;
class QTimer;

class CMorvDlg : public CSkinWindow {
    Q_OBJECT

public:
    static constexpr int TrayIconId = 128;
    static constexpr int DefaultDeviceCheckMs = 2000;

    CMorvDlg(CKeyboardData& data, const CSkinResources& resources, QWidget* parent = nullptr);
    ~CMorvDlg() override;

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
    // Shows a message box captioned with the program's name.
    void ShowMessage(const QString& text);
    // Ends the program's run: removes the icon, ends any dialog still open, then this window.
    void EndProgram();

public slots:
    // The device-change check: ends the program when the keyboard is gone.
    void CheckDevice();

protected:
    // The commands, one per area id.
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

    // The dialogs the commands open, each run modally over this window.
    // Returns the progress dialog's result (QDialog::Accepted for OK) for operation 1 (write the key
    // settings) or 3 (read all); failures have been told.
    virtual int RunProgress(int operation);
    virtual void RunBacklight();
    virtual void RunFirmwareUpdate();
    // Edits CurrentKey on CurrentLevel of the model; both are set before it runs.
    virtual void RunKeyEditor();
    virtual void OpenHelp();

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
    bool Ending = false;
};
