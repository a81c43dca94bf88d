// The progress dialog CMorvDialogProgress: every device operation but the firmware update runs
// behind it on a worker thread. The dialog shows the progress the device library posts, ends with OK
// when the worker posts completion and with Cancel when the person closes it.
//
// The worker touches only the keyboard facade. What it sends is taken from the model before it
// starts; what a read brings back is applied to the model by the dialog when the completion arrives,
// and only while the dialog is still running, so a cancelled read never changes the model.
#pragma once

#include "device_ui/DeviceDialogAreas.h"
#include "device_ui/DeviceJobs.h"
#include "device_ui/DeviceProgressBar.h"
#include "model/ProfileShelf.h"
#include "skin/Prompts.h"
#include "skin/SkinWindow.h"

#include <functional>
#include <memory>
#include <string>

class CKeyboardData;

// OperationApplyProfile reads the keyboard and writes only what differs of a profile (SetProfileToApply).
enum DeviceOperation {
    OperationWriteKeys = 1,
    OperationReadAll = 3,
    OperationWriteLight = 4,
    OperationApplyProfile = 5
};

// What the device side lost during a transfer, if anything: the virtual keyboard's state file or the
// report log could not be written. A transfer that lost something ends with a message saying so
// instead of "OK!".
// The program's check for such a loss (a StateFile or ReportLog problem), asked at the end of every
// transfer that succeeded; none (nothing lost) until the program sets one.
std::function<CProblem()>& DeviceLossCheck();
// How a transfer that succeeded ended, in the UI language: "OK!", or what the device side lost.
QString TransferEndText(UiLanguage language);
// What the device side lost in a transfer that succeeded, in the UI language; empty when nothing was
// lost. For transfers whose success has words of their own, as the firmware update's.
QString TransferLossText(UiLanguage language);

// Runs the operation behind the progress dialog and tells the person how it ended: TransferEndText
// after success, what went wrong (in the UI language) after a failure, nothing after Cancel. True only
// on success; after a successful read the model holds what the keyboard sent.
bool RunDeviceOperation(QWidget* parent, CKeyboardData& data, int operation);
// The same, leaving the success message to the caller.
bool RunDeviceOperationReportingFailure(QWidget* parent, CKeyboardData& data, int operation);

// Applies the profile to the keyboard of data behind the progress dialog, as ApplyProfile does; after a
// failure tells what went wrong. True only on success, with result saying what was written.
bool RunApplyProfile(QWidget* parent, CKeyboardData& data, const CProfileToApply& profile,
                     CApplyResult& result);

class CMorvDialogProgress : public CSkinWindow {
    Q_OBJECT

public:
    // The operation starts when the dialog is first shown.
    CMorvDialogProgress(CKeyboardData& data, const CSkinResources& resources, int operation,
                        QWidget* parent = nullptr);
    ~CMorvDialogProgress() override;

    static bool IsOperation(int operation);
    // What OperationApplyProfile applies; set before the dialog is shown.
    void SetProfileToApply(CProfileToApply profile) { Profile = std::move(profile); }
    const CApplyResult& Applied() const { return Outcome->Applied; }
    // How long the dialog stays up after the key transfers and after the backlight write.
    static void SetSettleTimes(int afterKeysMs, int afterLightMs);

    int Percent() const { return Bar.Percent(); }
    SkinRect FilledBar() const { return Bar.Filled(); }
    // The operation has ended and the keyboard did what was asked.
    bool Succeeded() const { return Ended && Outcome->Succeeded; }
    // What went wrong, for a dialog that ended with OK but not Succeeded.
    QString FailureText() const;

    void done(int result) override;

    int CloseBoxId() const override { return IdDeviceClose; }
    QString AccessibleWindowName() const override { return UiText(Language(), TextId::ProgressTitle); }

protected:
    void showEvent(QShowEvent* event) override;
    void OnAreaClicked(const SkinRegion& area) override;
    void OnPostedMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void PaintAfterAreas(QPainter& painter) override;

private:
    struct COutcome {
        bool Succeeded = false;
        CKeyRefusal Refusal;
        CProblem Problem; // why the transfer failed, as the device library tells
        CKeyboardReadBack ReadBack;
        CApplyResult Applied;
    };

    void StartWorker();

    CKeyboardData& Model;
    const int Code;
    CProfileToApply Profile;
    CDeviceProgressBar Bar;
    bool Started = false;
    bool Running = false; // the worker's completion is still awaited and will be used
    bool Ended = false;   // the completion arrived while the dialog was running
    std::shared_ptr<COutcome> Outcome;
    std::shared_ptr<CWindowMessageTarget> Target;
};
