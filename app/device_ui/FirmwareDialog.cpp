#include "device_ui/FirmwareDialog.h"

#include "device_ui/DeviceDialogAreas.h"
#include "device_ui/DeviceJobs.h"
#include "device_ui/DeviceUiSupport.h"
#include "device_ui/DeviceWorkers.h"
#include "model/KeyboardData.h"
#include "text/UiTexts.h"

#include "skin/Prompts.h"

#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>
#include <utility>

namespace {

std::atomic<bool> FirmwareTransferRunning{false};

QRect ToQRect(const SkinRect& rect) {
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

// Message boxes show line breaks; the texts keep the CR LF they are written with.
QString Lines(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The smallest skin font the version box may shrink to so that a long version text fits.
constexpr int SmallestVersionFont = 8;

// Why a firmware file was refused, in Chinese: the reasons come in English ("line 5: wrong record
// length or checksum") and a Chinese message must not carry English words.
QString ChineseFirmwareProblem(const std::string& problem) {
    static const std::pair<const char*, const char*> whole[] = {
        {"the file is not an Intel-HEX file (it does not start with ':')",
         "该文件不是 Intel-HEX 文件（不以“:”开头）"},
        {"it is not a regular file (a pipe or a device)", "它不是普通文件（而是管道或设备）"},
    };
    static const std::pair<const char*, const char*> ofLine[] = {
        {"does not end with CR or CR LF", "行尾不是 CR 或 CR LF"},
        {"a record follows an empty line", "空行之后还有记录"},
        {"longer than 999 characters", "超过 999 个字符"},
        {"does not start with ':'", "不以“:”开头"},
        {"holds a character that is not a hexadecimal digit", "含有不是十六进制数字的字符"},
        {"holds an odd number of hexadecimal digits", "十六进制数字的个数是奇数"},
        {"wrong record length or checksum", "记录长度或校验和错误"},
        {"a record longer than 62 bytes", "记录长于 62 字节"},
    };
    for (const auto& [english, chinese] : whole) {
        if (problem == english)
            return QString::fromUtf8(chinese);
    }
    const QString text = QString::fromStdString(problem);
    static const QRegularExpression lineProblem(QStringLiteral("^line (\\d+): (.*)$"));
    if (const QRegularExpressionMatch match = lineProblem.match(text); match.hasMatch()) {
        for (const auto& [english, chinese] : ofLine) {
            if (match.captured(2) == QLatin1String(english))
                return QStringLiteral("第 %1 行：%2").arg(match.captured(1), QString::fromUtf8(chinese));
        }
        return QStringLiteral("第 %1 行有误").arg(match.captured(1));
    }
    static const QRegularExpression tooLarge(QStringLiteral("^it is larger than (\\d+) MB"));
    if (const QRegularExpressionMatch match = tooLarge.match(text); match.hasMatch())
        return QStringLiteral("文件大于 %1 MB，远超键盘固件的大小").arg(match.captured(1));
    return QStringLiteral("文件内容不符合固件文件的格式");
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
    setWindowTitle(ProgramName());
    setModal(true);
    OpenSkin();
    Areas() = FirmwareDialogAreas();
    Version = AddDisplayBox(FirmwareVersionBoxRect, FirmwareVersionBoxId);
    PathShown = AddDisplayBox(FirmwarePathBoxRect, FirmwarePathBoxId);
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
    case FirmwareWritten:
        ShowMessage(this, Lines(Text(TextId::FirmwareWritten)));
        return;
    case FirmwareTransferFailed:
        ShowMessage(this, Text(TextId::FirmwareNotWritten));
        return;
    case FirmwareFileNotOpened:
        ShowMessage(this, Text(TextId::FirmwareFileNotOpened));
        return;
    case FirmwareFileInvalid: {
        const std::string problem = Problem ? *Problem : std::string();
        ShowMessage(this, Text(TextId::FirmwareFileInvalid)
                              .arg(IsEnglishUi(Model.UiLanguage) ? QString::fromStdString(problem)
                                                                 : ChineseFirmwareProblem(problem)));
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
