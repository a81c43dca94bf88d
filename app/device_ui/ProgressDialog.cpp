#include "device_ui/ProgressDialog.h"

#include "catalogue/KeyLegends.h"
#include "device_ui/DeviceDialogAreas.h"
#include "device_ui/DeviceUiSupport.h"
#include "device_ui/DeviceWorkers.h"
#include "model/KeyboardData.h"
#include "text/UiTexts.h"

#include "skin/Prompts.h"

#include <QPainter>

#include <algorithm>
#include <atomic>
#include <chrono>

namespace {

std::atomic<int> KeysSettleMs{2000};
std::atomic<int> LightSettleMs{1000};

QString KeyName(int key) {
    return QString::fromUtf8(KeyLegendOf(key).main);
}

// The operation whose failure an apply's failure is: a read, or the write of keys or backlight.
int CodeOfApplyFailure(CApplyFailure failure) {
    switch (failure) {
    case CApplyFailure::ReadKeys:
    case CApplyFailure::ReadLight:
        return OperationReadAll;
    case CApplyFailure::WriteLight:
        return OperationWriteLight;
    case CApplyFailure::None:
    case CApplyFailure::Refused:
    case CApplyFailure::WriteKeys:
        break;
    }
    return OperationWriteKeys;
}

} // namespace

std::function<CProblem()>& DeviceLossCheck() {
    static std::function<CProblem()> check;
    return check;
}

QString TransferEndText(UiLanguage language) {
    const QString loss = TransferLossText(language);
    return loss.isEmpty() ? QStringLiteral("OK!") : loss;
}

QString TransferLossText(UiLanguage language) {
    const CProblem loss = DeviceLossCheck() ? DeviceLossCheck()() : CProblem();
    if (!loss)
        return {};
    const TextId said =
        IsStateFileProblem(loss.Code) ? TextId::StateFileNotWritten : TextId::ReportLogIncomplete;
    return UiText(language, said).arg(ProblemUiText(loss, language));
}

bool RunDeviceOperationReportingFailure(QWidget* parent, CKeyboardData& data, int operation) {
    if (!CMorvDialogProgress::IsOperation(operation))
        return false;
    CMorvDialogProgress dialog(data, DeviceDialogResources(parent), operation, parent);
    const int result = dialog.exec();
    if (result != QDialog::Accepted)
        return false; // cancelled, or ended with the program: nothing to tell
    if (dialog.Succeeded())
        return true;
    ShowMessage(parent, dialog.FailureText());
    return false;
}

bool RunApplyProfile(QWidget* parent, CKeyboardData& data, const CProfileToApply& profile,
                     CApplyResult& result) {
    CMorvDialogProgress dialog(data, DeviceDialogResources(parent), OperationApplyProfile, parent);
    dialog.SetProfileToApply(profile);
    const int answer = dialog.exec();
    result = dialog.Applied();
    if (answer != QDialog::Accepted)
        return false;
    if (dialog.Succeeded())
        return true;
    ShowMessage(parent, dialog.FailureText());
    return false;
}

bool RunDeviceOperation(QWidget* parent, CKeyboardData& data, int operation) {
    if (!RunDeviceOperationReportingFailure(parent, data, operation))
        return false;
    ShowMessage(parent, TransferEndText(data.UiLanguage));
    return true;
}

CMorvDialogProgress::CMorvDialogProgress(CKeyboardData& data, const CSkinResources& resources, int operation,
                                         QWidget* parent)
    : CSkinWindow(resources, data.UiLanguage,
                  {ProgressBackgroundPicture, ProgressHoverPicture, ProgressActivePicture},
                  DeviceDialogTransparentColour, ProgressDialogAreaCount, parent),
      Model(data), Code(operation), Outcome(std::make_shared<COutcome>()) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(ProgramName());
    setModal(true);
    OpenSkin();
    Areas() = ProgressDialogAreas();
    Bar.SetPercent(1);
}

CMorvDialogProgress::~CMorvDialogProgress() {
    // The worker may still post through the target it holds; the model must not keep pointing at it.
    if (Target && Model.NotifyWindow == Target.get())
        Model.NotifyWindow = nullptr;
}

bool CMorvDialogProgress::IsOperation(int operation) {
    return operation == OperationWriteKeys || operation == OperationReadAll ||
           operation == OperationWriteLight || operation == OperationApplyProfile;
}

void CMorvDialogProgress::SetSettleTimes(int afterKeysMs, int afterLightMs) {
    KeysSettleMs = std::max(0, afterKeysMs);
    LightSettleMs = std::max(0, afterLightMs);
}

QString CMorvDialogProgress::FailureText() const {
    const UiLanguage language = Model.UiLanguage;
    const auto because = [language](const QString& text, const CProblem& problem) {
        return WithReason(text, problem, language);
    };
    const bool applying = Code == OperationApplyProfile;
    const CKeyRefusal& refusal = applying ? Outcome->Applied.Refusal : Outcome->Refusal;
    switch (applying ? CodeOfApplyFailure(Outcome->Applied.Failure) : Code) {
    case OperationWriteKeys:
        if (refusal.Key > 0) {
            const QString level =
                refusal.Level == 0 ? UiText(language, TextId::LevelOne) : UiText(language, TextId::LevelTwo);
            // The library refuses a definition without saying why; the keyboard's rules tell.
            const KeySetting& setting = Model.CurrentSettings[refusal.Key][refusal.Level];
            const CProblem reason =
                refusal.Reason || applying ? refusal.Reason : CapacityProblem(setting.ComboKey, setting.Mode);
            return because(UiText(language, TextId::KeySettingRefused).arg(KeyName(refusal.Key), level),
                           reason);
        }
        return because(UiText(language, TextId::WriteKeysFailed), Outcome->Problem);
    case OperationReadAll:
        return because(UiText(language, TextId::ReadAllFailed), Outcome->Problem);
    case OperationWriteLight:
        return because(UiText(language, TextId::WriteBacklightFailed), Outcome->Problem);
    default:
        return {};
    }
}

void CMorvDialogProgress::showEvent(QShowEvent* event) {
    CSkinWindow::showEvent(event);
    if (Started)
        return;
    Started = true;
    Bar.SetPercent(1);
    StartWorker();
}

void CMorvDialogProgress::StartWorker() {
    Target = MessageTarget();
    Model.NotifyWindow = Target.get();
    Running = true;

    CMorvHWI* hwi = &Model.HWI;
    CDeviceWorkers* workers = &CDeviceWorkers::Instance();
    const std::shared_ptr<COutcome> outcome = Outcome;
    const std::shared_ptr<CWindowMessageTarget> target = Target;
    const std::chrono::milliseconds afterKeys(KeysSettleMs.load());
    const std::chrono::milliseconds afterLight(LightSettleMs.load());
    std::function<void()> work;
    switch (Code) {
    case OperationWriteKeys:
        work = [hwi, outcome, target, afterKeys, workers, definitions = KeyDefinitionsToSend(Model)] {
            outcome->Succeeded = SendKeyDefinitions(*hwi, definitions, target.get(), outcome->Refusal);
            if (outcome->Succeeded)
                workers->Pause(afterKeys);
        };
        break;
    case OperationReadAll:
        work = [hwi, outcome, target, afterKeys, workers] {
            CKeyboardReadBack& readBack = outcome->ReadBack;
            if (!ReceiveKeyDefinitions(*hwi, target.get(), readBack.Definitions))
                return;
            workers->Pause(afterKeys);
            outcome->Succeeded = ReceiveLightArea(*hwi, readBack.Light);
        };
        break;
    case OperationWriteLight:
        work = [hwi, outcome, target, afterLight, workers, light = LightAreaToSend(Model)] {
            outcome->Succeeded = SendLightArea(*hwi, light);
            if (!outcome->Succeeded)
                return;
            target->Post(WM_DEVICE_PROGRESS, CDeviceProgressBar::Scale, 0);
            workers->Pause(afterLight);
        };
        break;
    case OperationApplyProfile:
        // Nothing written, nothing for the keyboard to settle.
        work = [hwi, outcome, target, afterKeys, afterLight, workers, profile = Profile] {
            outcome->Applied = ApplyProfile(*hwi, profile, target.get());
            outcome->Succeeded = outcome->Applied.Succeeded();
            if (outcome->Applied.KeysWritten)
                workers->Pause(afterKeys);
            else if (outcome->Applied.LightWritten)
                workers->Pause(afterLight);
        };
        break;
    default:
        work = [] {};
        break;
    }
    workers->Start(
        [work = std::move(work), hwi, outcome] {
            work();
            if (!outcome->Succeeded)
                outcome->Problem = hwi->TransferProblem();
        },
        [target] { target->Post(WM_DEVICE_DONE, 0, 0); });
}

void CMorvDialogProgress::OnAreaClicked(const SkinRegion& area) {
    if (area.id == IdDeviceClose || area.id == IdDeviceCancel) {
        Bar.SetPercent(0);
        reject();
    }
}

void CMorvDialogProgress::OnPostedMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    Q_UNUSED(lParam);
    if (message == WM_DEVICE_PROGRESS) {
        Bar.ShowProgress(wParam);
        update();
    } else if (message == WM_DEVICE_DONE && Running) {
        Running = false;
        Ended = true;
        if (Code == OperationReadAll && Outcome->Succeeded)
            ApplyReadBack(Model, Outcome->ReadBack);
        accept();
    }
}

void CMorvDialogProgress::done(int result) {
    // However the dialog ends, a completion arriving later is not used.
    Running = false;
    CSkinWindow::done(result);
}

void CMorvDialogProgress::PaintAfterAreas(QPainter& painter) {
    if (Bar.Filled().Width() > 0)
        CopyFromPicture(painter, ProgressActivePicture, Bar.Filled());
}
