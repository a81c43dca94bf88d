#include "device_ui/FirmwareDialog.h"

#include "device_ui/DeviceDialogAreas.h"
#include "device_ui/DeviceJobs.h"
#include "device_ui/DeviceUiSupport.h"
#include "device_ui/DeviceWorkers.h"
#include "model/KeyboardData.h"

#include <QDir>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>
#include <atomic>

namespace {

constexpr int ProgressScale = 150;

std::atomic<bool> FirmwareTransferRunning{false};

QRect ToQRect(const SkinRect& rect) {
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

QLineEdit* MakeTextBox(QWidget* parent, const SkinRect& rect, const CSkinResources& resources, int id) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QStringLiteral("edit%1").arg(id));
    box->setReadOnly(true);
    // The boxes only show text: without focus they never show a caret.
    box->setFocusPolicy(Qt::NoFocus);
    box->setFrame(false);
    box->setGeometry(ToQRect(rect));
    box->setFont(resources.SkinFont(DefaultSkinFont));
    box->setTextMargins(2, 0, 2, 0);
    CSkinWindow::StyleTextBox(box, resources);
    return box;
}

// Message boxes show line breaks; the texts keep the CR LF they are written with.
QString Lines(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

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
    setWindowTitle(QStringLiteral("Zelk"));
    setModal(true);
    OpenSkin();
    Areas() = FirmwareDialogAreas();
    Version = MakeTextBox(this, FirmwareVersionBoxRect, resources, FirmwareVersionBoxId);
    PathShown = MakeTextBox(this, FirmwarePathBoxRect, resources, FirmwarePathBoxId);
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

SkinRect CMorvDialogFirmwareUpdate::FilledBar() const {
    SkinRect bar = DeviceProgressBarRect;
    bar.right = bar.left + std::clamp(Fill, 0, 100) * DeviceProgressBarWidth / 100;
    return bar;
}

QString CMorvDialogFirmwareUpdate::Text(const char* chinese, const char* english) const {
    return ByLanguage(Model.UiLanguage, chinese, english);
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
        ShowDeviceMessage(this, Text("固件正在更新，请等待更新完成。",
                                     "A firmware update is running. Please wait until it has finished."));
        return true;
    }
    if (CDeviceWorkers::Instance().Busy()) {
        ShowDeviceMessage(this,
                          Text("键盘正忙，请稍后再试。",
                               "The keyboard is busy with another transfer. Please try again in a moment."));
        return true;
    }
    return false;
}

void CMorvDialogFirmwareUpdate::OnGetVersion() {
    if (RefuseWhileBusy())
        return;
    char16_t text[VersionTextCapacity] = {};
    if (!Model.HWI.ReadKeyboardVersion(text)) {
        ShowDeviceMessage(this, Text("读取键盘版本失败", "Failed on reading keyboard version infomation"));
        return;
    }
    text[VersionTextCapacity - 1] = 0;
    Version->setText(QString::fromUtf16(text));
    Version->setCursorPosition(0);
    Version->setToolTip(Version->text());
}

void CMorvDialogFirmwareUpdate::OnOpen() {
    const QString chosen =
        DeviceUiPrompts().AskFirmwarePath ? DeviceUiPrompts().AskFirmwarePath(this) : QString();
    if (!chosen.isEmpty())
        Path = chosen;
    PathShown->setText(QDir::toNativeSeparators(Path));
    // The box is narrow: it shows the end of the path, where the file's name is.
    PathShown->setCursorPosition(static_cast<int>(PathShown->text().size()));
    PathShown->setToolTip(PathShown->text());
}

void CMorvDialogFirmwareUpdate::OnUpdate() {
    if (RefuseWhileBusy())
        return;
    Model.FirmwarePath = Path.toStdU16String();
    Model.NotifyWindow = Target.get();
    FirmwareTransferRunning = true;
    Problem = std::make_shared<std::string>();

    CMorvHWI* hwi = &Model.HWI;
    const std::shared_ptr<CWindowMessageTarget> target = Target;
    const std::shared_ptr<std::string> problem = Problem;
    auto result = std::make_shared<FirmwareResult>(FirmwareNoBuffer);
    CDeviceWorkers::Instance().Start(
        [hwi, target, problem, result, path = Model.FirmwarePath] {
            *result = SendFirmwareFile(*hwi, path, target.get(), *problem);
        },
        [target, result] {
            FirmwareTransferRunning = false;
            target->Post(WM_DEVICE_DONE, static_cast<std::uintptr_t>(*result), 0);
        });
    Fill = 1;
    update();
}

void CMorvDialogFirmwareUpdate::OnClose() {
    Fill = 0;
    reject();
}

void CMorvDialogFirmwareUpdate::OnPostedMessage(unsigned message, std::uintptr_t wParam,
                                                std::intptr_t lParam) {
    Q_UNUSED(lParam);
    if (message == WM_DEVICE_PROGRESS) {
        Fill = static_cast<int>(std::min<std::uintptr_t>(wParam, 1000) * 100 / ProgressScale);
        update(ToQRect(DeviceProgressBarRect));
        return;
    }
    if (message != WM_DEVICE_DONE)
        return;
    switch (static_cast<int>(wParam)) {
    case FirmwareWritten:
        ShowDeviceMessage(this,
                          Lines(Text("固件下载完成。\r\n请勿插拔USB直至三个状态指示灯同时闪烁则固件更新完成，"
                                     "请拔下USB重新上电。",
                                     "The Firmware is downloaded successfully.\r\nPlease keep the USB plug "
                                     "in until three indicator lights flash simultaneously.\r\nThen firmware "
                                     "updated completely,pleased unplug the USB and plug in.")));
        return;
    case FirmwareTransferFailed:
        ShowDeviceMessage(this, Text("固件下载失败!", "Firmware download failed."));
        return;
    case FirmwareFileNotOpened:
        ShowDeviceMessage(this, Text("打开固件文件失败", "Can't open firmware file"));
        return;
    case FirmwareFileInvalid:
        ShowDeviceMessage(this,
                          Text("固件文件无效，未向键盘写入任何内容：\n%1",
                               "This is not a valid firmware file; nothing was written to the keyboard:\n%1")
                              .arg(QString::fromStdString(Problem ? *Problem : std::string())));
        return;
    default:
        return;
    }
}

void CMorvDialogFirmwareUpdate::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    PaintSkin(painter);
    const SkinRect bar = FilledBar();
    if (bar.Width() > 0)
        CopyFromPicture(painter, FirmwareActivePicture, bar);
}
