// The main window CMorvDlg: the keyboard picture with its buttons and switches, the info panel
// below it with a status line (what the window works with, and whether there are unsaved changes),
// the commands behind every area, the notification-area icon and the periodic check that the
// keyboard is still there.
//
// Exit (also the tray's and the system's close), Open, Clear and Read ask first whether to save
// unsaved changes; when the keyboard goes away, the program offers to save them before it ends.
// Every change of the profile is a step Ctrl+Z undoes and Ctrl+Shift+Z redoes; Ctrl+T runs the key
// test. Both are also in the window's context menu.
#pragma once

#include "model/ProfileHistory.h"
#include "shell/KeyTest.h"
#include "shell/MainWindowText.h"
#include "shell/TrayPresence.h"
#include "shell/UnsavedChangesGuard.h"
#include "skin/Prompts.h"
#include "skin/SkinWindow.h"

#include <QSystemTrayIcon>

#include <functional>
#include <string>

class CKeyboardData;
class CStatusLine;
class QMenu;
class QPlainTextEdit;
class QTimer;

class CMorvDlg : public CSkinWindow {
    Q_OBJECT

public:
    static constexpr int TrayIconId = CTrayPresence::IconId;
    static constexpr int DefaultDeviceCheckMs = 2000;

    CMorvDlg(CKeyboardData& data, const CSkinResources& resources, QWidget* parent = nullptr);
    ~CMorvDlg() override;

    // 0 stops the periodic device check.
    void SetDeviceCheckInterval(int milliseconds);

    // What the window works with; the keyboard unless said otherwise. Set before Initialise.
    void SetConnection(const CConnectionShown& connection);
    const CConnectionShown& Connection() const { return Connected; }

    // Opens the keyboard and sets the window up. False when there is no keyboard: the message has
    // been shown and the window must not be run.
    bool Initialise();

    // Whether the model differs from what was last opened, saved, read or written.
    bool HasUnsavedChanges() const;
    // What the status line under the info panel shows now.
    QString ConnectionShownText() const;
    QString SaveStateShownText() const;
    // The tooltip of the area under a point; empty where there is none.
    QString ToolTipAt(QPoint clientPoint) const;

    // Runs the command of an area, as a click on it does.
    void Dispatch(int id, int keyIndex);
    // The notification-area icon's callback; answers 1 for a foreign icon id, else 0.
    int TrayNotify(int iconId, QSystemTrayIcon::ActivationReason reason);
    bool TrayIconShown() const;

    CKeyboardData& Data() { return Model; }
    QPlainTextEdit* InfoPanel() const { return Panel; }
    // The text the info panel shows for the key under the last mouse point, else for the key the
    // keyboard focus rests on.
    std::u16string InfoText() const;
    // The way back from the changes of the profile, and the key test.
    void Undo();
    void Redo();
    const CProfileHistory& History() const { return Steps; }
    void ToggleKeyTest();
    const CKeyTest& KeyTest() const { return Test; }
    // The context menu's entries, built afresh each time it opens (shown at a global point).
    QMenu* ContextMenu();
    QString NoticeShownText() const;

    // Shows a message box captioned with the program's name.
    void ShowMessage(const QString& text);
    // Ends the program's run: removes the icon, ends any dialog still open, then this window.
    void EndProgram();

signals:
    // The language switch has changed UiLanguage.
    void UiLanguageChanged();

public slots:
    // The device-change check: ends the program when the keyboard is gone, offering to save first.
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
    // The 87 keys are one Tab stop, within which the arrows move.
    int AreaFocusGroup(const SkinRegion& area) const override;
    // Keys are named by their legend and described by their assignments on both layers; the icons
    // by their tooltips; the layer switch is a check box, checked on the second layer.
    SkinAreaSpeech AreaSpeech(const SkinRegion& area) const override;
    QString AccessibleWindowName() const override;
    std::uint32_t CaptionFormat(const SkinRegion& area) const override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool English() const;
    // Exit and the tray's Exit: ends the program once unsaved changes are settled.
    void RequestEnd();
    void EndOpenDialogs();
    void UpdateActiveStates();
    void ShowInPanel(const std::u16string& text);
    // The model holds the outcome of a command: a step to undo, when it changed anything.
    void CommitStep(const CHistoryStep& step);
    // After a write or read the keyboard holds what the model does: the status line names the shelf
    // profile that holds the same, when one does.
    void NameHeldShelfProfile();
    // What the model holds is kept (saved, opened, read, written, or cleared: onlyThis false).
    void KeepCurrent(bool onlyThis);
    // After Undo or Redo (a null step when there was none): the window shows the state and says so.
    void ShowStepTaken(const CHistoryStep* step, TextId said);
    // Shows what was done on the status line and tells assistive technology.
    void Notify(const QString& text);
    // The key test's part of a key event; true when the test took it.
    bool OfferKeyToTest(QKeyEvent& event);

    CKeyboardData& Model;
    CUnsavedChangesGuard Unsaved;
    CConnectionShown Connected;
    QPlainTextEdit* Panel = nullptr;
    CStatusLine* Status = nullptr;
    CTrayPresence* Tray = nullptr;
    CProfileHistory Steps;
    CKeyTest Test;
    QTimer* DeviceCheck = nullptr;
    bool Ending = false;
};
