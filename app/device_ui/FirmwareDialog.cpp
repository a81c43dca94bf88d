#include "device_ui/FirmwareDialog.h"

#include "device_ui/DeviceDialogAreas.h"
#include "device_ui/DeviceJobs.h"
#include "device_ui/DeviceUiSupport.h"
#include "device_ui/DeviceWorkers.h"
#include "device_ui/ProgressDialog.h"
#include "model/KeyboardData.h"
#include "text/UiTexts.h"

#include "skin/Prompts.h"
#include "skin/SkinRectQt.h"

#include <QDir>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <utility>

namespace {

std::atomic<bool> FirmwareTransferRunning{false};

// Message boxes show line breaks; the texts keep the CR LF they are written with.
QString Lines(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The smallest skin font the version box may shrink to so that a long version text fits.
constexpr int SmallestVersionFont = 8;

} // namespace

void RunFirmwareUpdate(QWidget* parent, CKeyboardData& data) {
    CMorvDialogFirmwareUpdate dialog(data, DeviceDialogResources(parent), parent);
    dialog.exec();
}

CMorvDialogFirmwareUpdate::CMorvDialogFirmwareUpdate(CKeyboardData& data, const CSkinResources& resources,
                                                     QWidget* parent)
    : CSkinWindow(resources, data.UiLanguage,
                  {FirmwareBackgroundPicture, FirmwareHoverPicture, FirmwareActivePicture},
                  DeviceDialogTransparentColour, FirmwareDialogAreaCount, parent),
      Model(data) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(ProgramName());
    setModal(true);
    OpenSkin();
    Areas() = FirmwareDialogAreas();
    Version = AddDisplayBox(FirmwareVersionBoxRect, FirmwareVersionBoxId);
    PathShown = AddDisplayBox(FirmwarePathBoxRect, FirmwarePathBoxId);
    Version->setAccessibleName(Text(TextId::FirmwareVersionBox));
    PathShown->setAccessibleName(Text(TextId::LoadFile));
    Target = MessageTarget();
    Model.NotifyWindow = Target.get();
}

CMorvDialogFirmwareUpdate::~CMorvDialogFirmwareUpdate() {
    if (Model.NotifyWindow == Target.get())
        Model.NotifyWindow = nullptr;
}

bool CMorvDialogFirmwareUpdate::TransferRunning() {
    return FirmwareTransferRunning;
}

QLineEdit* CMorvDialogFirmwareUpdate::AddDisplayBox(const SkinRect& rect, int id) {
    QLineEdit* box = AddLineBox(rect, id);
    box->setReadOnly(true);
    // The boxes only show text: without focus they never show a caret.
    box->setFocusPolicy(Qt::NoFocus);
    box->setTextMargins(2, 0, 2, 0);
    return box;
}

CProblem CMorvDialogFirmwareUpdate::ShownProblem() const {
    return Problem ? *Problem : CProblem();
}

QString CMorvDialogFirmwareUpdate::Text(TextId id) const {
    return UiText(Model.UiLanguage, id);
}

void CMorvDialogFirmwareUpdate::OnAreaClicked(const SkinRegion& area) {
    Dispatch(area.id);
}

void CMorvDialogFirmwareUpdate::Dispatch(int id) {
    switch (id) {
    case IdFirmwareGetVersion:
        OnGetVersion();
        return;
    case IdFirmwareOpen:
        OnOpen();
        return;
    case IdFirmwareUpdate:
        OnUpdate();
        return;
    case IdDeviceClose:
    case IdDeviceCancel:
        OnClose();
        return;
    default:
        return;
    }
}

bool CMorvDialogFirmwareUpdate::RefuseWhileBusy() {
    if (TransferRunning()) {
        ShowMessage(this, Text(TextId::FirmwareUpdateRunning));
        return true;
    }
    if (CDeviceWorkers::Instance().Busy()) {
        ShowMessage(this, Text(TextId::KeyboardBusy));
        return true;
    }
    return false;
}

void CMorvDialogFirmwareUpdate::OnGetVersion() {
    if (RefuseWhileBusy())
        return;
    char16_t text[VersionTextCapacity] = {};
    if (!Model.HWI.ReadKeyboardVersion(text)) {
        ShowMessage(this, Text(TextId::VersionNotRead));
        return;
    }
    text[VersionTextCapacity - 1] = 0;
    ShowVersion(QString::fromUtf16(text));
}

void CMorvDialogFirmwareUpdate::ShowVersion(const QString& version) {
    // The box is narrow: a version text longer than it fits is shown in a smaller skin font, so that
    // the whole text can be read.
    const int room =
        Version->contentsRect().width() - Version->textMargins().left() - Version->textMargins().right() - 4;
    int size = DefaultSkinFont;
    while (size > SmallestVersionFont &&
           QFontMetrics(Resources().SkinFont(size)).horizontalAdvance(version) > room)
        --size;
    Version->setFont(Resources().SkinFont(size));
    Version->setText(version);
    Version->setCursorPosition(0);
    Version->setToolTip(version);
}

void CMorvDialogFirmwareUpdate::OnOpen() {
    const QString chosen = AskPath(this, PathQuestion::OpenFirmware);
    if (!chosen.isEmpty())
        Path = chosen;
    PathShown->setText(QDir::toNativeSeparators(Path));
    // The box is narrow: it shows the end of the path, where the file's name is.
    PathShown->setCursorPosition(static_cast<int>(PathShown->text().size()));
    PathShown->setToolTip(PathShown->text());
}

bool CMorvDialogFirmwareUpdate::AskBackup(QString& file) {
    file.clear();
    const CSaveQuestion question{Text(TextId::BackupQuestion), Text(TextId::BackupSaveAnswer),
                                 Text(TextId::BackupSkipAnswer), Text(TextId::Cancel)};
    switch (AskSaveChanges(this, question)) {
    case SaveChoice::Save:
        file = AskPath(this, PathQuestion::SaveBackup);
        return !file.isEmpty();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        return false;
    }
    return false;
}

void CMorvDialogFirmwareUpdate::OnUpdate() {
    if (RefuseWhileBusy())
        return;
    QString backupFile;
    if (!AskBackup(backupFile))
        return;
    // The question may have stood while another window started a transfer.
    if (RefuseWhileBusy())
        return;
    BackupFile = backupFile;
    Model.FirmwarePath = Path.toStdU16String();
    Model.NotifyWindow = Target.get();
    FirmwareTransferRunning = true;
    Problem = std::make_shared<CProblem>();

    CMorvHWI* hwi = &Model.HWI;
    const std::shared_ptr<CWindowMessageTarget> target = Target;
    const std::shared_ptr<CProblem> problem = Problem;
    auto result = std::make_shared<FirmwareResult>(FirmwareNoBuffer);
    std::shared_ptr<CFirmwareBackup> backup;
    if (!backupFile.isEmpty())
        backup = std::make_shared<CFirmwareBackup>(
            NewFirmwareBackup(std::filesystem::path(backupFile.toStdU16String()), Model.UiLanguage));
    CDeviceWorkers::Instance().Start(
        [hwi, target, problem, result, backup, path = Model.FirmwarePath] {
            *result = SendFirmwareFile(*hwi, path, target.get(), *problem, backup.get());
        },
        [target, result] {
            FirmwareTransferRunning = false;
            target->Post(WM_DEVICE_DONE, static_cast<std::uintptr_t>(*result), 0);
        });
    Bar.SetPercent(1);
    update();
}

void CMorvDialogFirmwareUpdate::OnClose() {
    Bar.SetPercent(0);
    reject();
}

void CMorvDialogFirmwareUpdate::OnPostedMessage(unsigned message, std::uintptr_t wParam,
                                                std::intptr_t lParam) {
    Q_UNUSED(lParam);
    if (message == WM_DEVICE_PROGRESS) {
        Bar.ShowProgress(wParam);
        update(ToQRect(DeviceProgressBarRect));
        return;
    }
    if (message != WM_DEVICE_DONE)
        return;
    switch (static_cast<int>(wParam)) {
    case FirmwareWritten: {
        if (const QString loss = TransferLossText(Model.UiLanguage); !loss.isEmpty()) {
            ShowMessage(this, loss);
            return;
        }
        QString text = Lines(Text(TextId::FirmwareWritten));
        if (!BackupFile.isEmpty())
            text +=
                QStringLiteral("\n\n") + Text(TextId::BackupSaved).arg(QDir::toNativeSeparators(BackupFile));
        ShowMessage(this, text);
        return;
    }
    case FirmwareTransferFailed: {
        QString text = WithReason(Text(TextId::FirmwareNotWritten), ShownProblem(), Model.UiLanguage) +
                       QStringLiteral("\n") + Text(TextId::UpdateRetry);
        if (!BackupFile.isEmpty())
            text += QStringLiteral("\n") + Text(TextId::BackupKept).arg(QDir::toNativeSeparators(BackupFile));
        ShowMessage(this, text);
        return;
    }
    case FirmwareBackupNotRead:
        ShowMessage(this, WithReason(Text(TextId::BackupNotRead), ShownProblem(), Model.UiLanguage));
        return;
    case FirmwareBackupNotSaved: {
        const CProblem problem = ShownProblem();
        ShowMessage(this,
                    Text(TextId::BackupNotSaved)
                        .arg(QDir::toNativeSeparators(BackupFile), ProblemUiText(problem, Model.UiLanguage)));
        return;
    }
    case FirmwareFileNotOpened:
        // Without a path chosen there is no reason to give.
        ShowMessage(this, WithReason(Text(TextId::FirmwareFileNotOpened), ShownProblem(), Model.UiLanguage));
        return;
    case FirmwareFileInvalid: {
        ShowMessage(this,
                    Text(TextId::FirmwareFileInvalid).arg(ProblemUiText(ShownProblem(), Model.UiLanguage)));
        return;
    }
    default:
        return;
    }
}

void CMorvDialogFirmwareUpdate::PaintAfterAreas(QPainter& painter) {
    if (Bar.Filled().Width() > 0)
        CopyFromPicture(painter, FirmwareActivePicture, Bar.Filled());
}
