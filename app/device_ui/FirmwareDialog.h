// The firmware update dialog CMorvDialogFirmwareUpdate: reads the keyboard's firmware version, lets
// the person choose an Intel-HEX file and writes it to the keyboard on a worker thread, with a
// progress bar and a message for the result. Before an update it offers to save the keyboard's
// settings to a backup profile first. The dialog stays open after an update.
//
// While any transfer to the keyboard runs (a firmware update, also one whose dialog was closed, or a
// cancelled operation still finishing), neither an update nor a version query starts.
#pragma once

#include "device_ui/DeviceDialogAreas.h"
#include "device_ui/DeviceProgressBar.h"
#include "skin/Prompts.h"
#include "skin/SkinWindow.h"
#include "text/UiTexts.h"

#include <QString>

#include <memory>
#include <string>

class CKeyboardData;
class QLineEdit;

// Runs the firmware update dialog modally on parent.
void RunFirmwareUpdate(QWidget* parent, CKeyboardData& data);

class CMorvDialogFirmwareUpdate : public CSkinWindow {
    Q_OBJECT

public:
    CMorvDialogFirmwareUpdate(CKeyboardData& data, const CSkinResources& resources,
                              QWidget* parent = nullptr);
    ~CMorvDialogFirmwareUpdate() override;

    // A firmware transfer started by any firmware dialog is still running.
    static bool TransferRunning();

    // Runs a button's command, as a click on it does.
    void Dispatch(int id);

    int Percent() const { return Bar.Percent(); }
    SkinRect FilledBar() const { return Bar.Filled(); }
    const QString& FilePath() const { return Path; }
    QLineEdit* VersionBox() const { return Version; }
    QLineEdit* PathBox() const { return PathShown; }

    int CloseBoxId() const override { return IdDeviceClose; }
    QString AccessibleWindowName() const override { return UiText(Language(), TextId::FirmwareUpdateTitle); }

protected:
    void OnAreaClicked(const SkinRegion& area) override;
    void OnPostedMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void PaintAfterAreas(QPainter& painter) override;

private:
    void OnGetVersion();
    void ShowVersion(const QString& version);
    void OnOpen();
    void OnUpdate();
    // Asks whether to back the keyboard's settings up first: false when the person cancelled, else
    // true with the backup's file (empty for none).
    bool AskBackup(QString& file);
    void OnClose();
    // Says why the keyboard cannot be used now; false when it is free.
    bool RefuseWhileBusy();
    QString Text(TextId id) const;
    QLineEdit* AddDisplayBox(const SkinRect& rect, int id);

    CKeyboardData& Model;
    QString Path;
    CDeviceProgressBar Bar;
    QLineEdit* Version = nullptr;
    QLineEdit* PathShown = nullptr;
    std::shared_ptr<CWindowMessageTarget> Target;
    // What the worker found wrong, read once it has ended; none when it found nothing.
    CProblem ShownProblem() const;
    // Why the last file or transfer failed, written by the worker before its completion is posted.
    std::shared_ptr<CProblem> Problem;
    QString BackupFile; // of the last update; empty when it had none
};
