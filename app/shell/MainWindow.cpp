#include "shell/MainWindow.h"

#include "backlight/BkLightSettingsDialog.h"
#include "catalogue/UiLanguage.h"
#include "device_ui/FirmwareDialog.h"
#include "device_ui/ProgressDialog.h"
#include "editor/KeyMapSettingsDialog.h"
#include "model/KeyboardData.h"
#include "model/Profile.h"
#include "shell/Help.h"
#include "shell/MainWindowAreas.h"
#include "shell/MainWindowText.h"
#include "shell/Prompts.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimer>

#include <filesystem>

namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

CMorvDlg::CMorvDlg(CKeyboardData& data, const CSkinResources& resources, QWidget* parent)
    : CSkinWindow(resources, data.UiLanguage, {MainBackgroundPicture, MainHoverPicture, MainActivePicture},
                  MainWindowTransparentColour, MainWindowAreaCount, parent),
      Model(data) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(ProgramName());
    Panel = new QPlainTextEdit(this);
    Panel->setReadOnly(true);
    Panel->setFocusPolicy(Qt::NoFocus);
    Panel->setFrameShape(QFrame::NoFrame);
    Panel->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Panel->setTextInteractionFlags(Qt::NoTextInteraction);
    DeviceCheck = new QTimer(this);
    DeviceCheck->setInterval(DefaultDeviceCheckMs);
    connect(DeviceCheck, &QTimer::timeout, this, &CMorvDlg::CheckDevice);
    // However the window ends (also closed by the system), it leaves no icon behind.
    connect(this, &QDialog::finished, this, [this] {
        DeviceCheck->stop();
        ShowTrayIcon(false);
    });
}

CMorvDlg::~CMorvDlg() = default;

void CMorvDlg::SetDeviceCheckInterval(int milliseconds) {
    if (milliseconds <= 0) {
        DeviceCheck->stop();
        return;
    }
    DeviceCheck->setInterval(milliseconds);
    if (Model.HWI.IsOpen())
        DeviceCheck->start();
}

bool CMorvDlg::Initialise() {
    if (!Model.HWI.__createDev()) {
        ShowMessage(QStringLiteral("Keyboard is not connected!"));
        return false;
    }
    if (!Model.HWI.AccessProblem().empty()) {
        // Found but not opened (usually the device's permissions): every transfer would fail.
        const QString problem = QString::fromStdString(Model.HWI.AccessProblem());
        ShowMessage(English()
                        ? QStringLiteral("The keyboard was found but cannot be opened:\n%1").arg(problem)
                        : QStringLiteral("已找到键盘，但无法打开：\n%1").arg(problem));
    }
    setWindowIcon(Resources().ProgramIcon());
    OpenSkin();
    Areas() = MainWindowAreas();
    Model.CurrentLevel = 0;
    Model.Clear();

    Tray = new QSystemTrayIcon(Resources().ProgramIcon(), this);
    Tray->setToolTip(ProgramName());
    TrayMenu = new QMenu(this);
    QAction* exit = TrayMenu->addAction(QString());
    connect(TrayMenu, &QMenu::aboutToShow, this,
            [this, exit] { exit->setText(English() ? QStringLiteral("Exit") : QStringLiteral("关闭")); });
    connect(exit, &QAction::triggered, this, &CMorvDlg::EndProgram);
    Tray->setContextMenu(TrayMenu);
    connect(Tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { TrayNotify(TrayIconId, reason); });

    Panel->setGeometry(MainInfoPanelRect.left, MainInfoPanelRect.top, MainInfoPanelRect.Width(),
                       MainInfoPanelRect.Height());
    Panel->setFont(Resources().SkinFont(DefaultSkinFont));
    StyleTextBox(Panel, Resources());
    Panel->viewport()->setCursor(Qt::ArrowCursor);
    DeviceCheck->start();
    return true;
}

bool CMorvDlg::English() const {
    return IsEnglishUi(Model.UiLanguage);
}

void CMorvDlg::ShowMessage(const QString& text) {
    ::ShowMessage(this, text);
}

void CMorvDlg::OnAreaClicked(const SkinRegion& area) {
    Dispatch(area.id, area.keyIndex);
}

void CMorvDlg::Dispatch(int id, int keyIndex) {
    switch (id) {
    case IdLanguage:
        OnLanguage();
        return;
    case IdHelp:
        OnHelp();
        return;
    case IdHide:
        OnHide();
        return;
    case IdExit:
        OnExit();
        return;
    case IdSave:
        OnSave();
        return;
    case IdOpen:
        OnOpen();
        return;
    case IdClear:
        OnClear();
        return;
    case IdWriteKeys:
        OnWriteKeys();
        return;
    case IdBacklight:
        OnBacklight();
        return;
    case IdReadAll:
        OnReadAll();
        return;
    case IdFirmware:
        OnFirmwareUpdate();
        return;
    case IdLayer:
        OnLayer();
        return;
    default:
        if (id > IdKeyBase && id <= IdKeyBase + KeyCount && keyIndex >= 1 && keyIndex <= KeyCount)
            OnKey(keyIndex);
        return;
    }
}

void CMorvDlg::OnLanguage() {
    SkinRegion* language = AreaById(IdLanguage);
    if (language->active) {
        Model.UiLanguage = "zh-CN";
        language->active = false;
    } else {
        Model.UiLanguage = "en-US";
        language->active = true;
    }
    update();
}

void CMorvDlg::OnHelp() {
    OpenHelp();
}

void CMorvDlg::OnHide() {
    // Without a notification area a hidden window could never come back: minimise it instead.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        ShowTrayIcon(true);
        hide();
    } else {
        showMinimized();
    }
}

void CMorvDlg::OnExit() {
    EndProgram();
}

void CMorvDlg::OnSave() {
    const QString path = AskPath(this, PathQuestion::SaveProfile);
    if (!path.isEmpty() && !SaveProfile(Model, ToPath(path))) {
        ShowMessage(English() ? QStringLiteral("The profile could not be saved to %1.").arg(path)
                              : QStringLiteral("无法保存配置文件 %1。").arg(path));
    }
    update();
}

void CMorvDlg::OnOpen() {
    const QString path = AskPath(this, PathQuestion::OpenProfile);
    if (!path.isEmpty() && !LoadProfile(Model, ToPath(path))) {
        ShowMessage(English() ? QStringLiteral("The profile %1 could not be opened.").arg(path)
                              : QStringLiteral("无法打开配置文件 %1。").arg(path));
    }
    update();
}

void CMorvDlg::OnClear() {
    Model.Clear();
    update();
}

void CMorvDlg::OnWriteKeys() {
    if (RunProgress(OperationWriteKeys) == QDialog::Accepted)
        ShowMessage(QStringLiteral("OK!"));
}

void CMorvDlg::OnBacklight() {
    RunBacklight();
    update();
}

void CMorvDlg::OnReadAll() {
    if (RunProgress(OperationReadAll) == QDialog::Accepted)
        ShowMessage(QStringLiteral("OK!"));
    update();
}

void CMorvDlg::OnFirmwareUpdate() {
    RunFirmwareUpdate();
}

void CMorvDlg::OnLayer() {
    Model.CurrentLevel = 1 - Model.CurrentLevel;
    SkinRegion* layer = AreaById(IdLayer);
    layer->active = !layer->active;
    update();
}

void CMorvDlg::OnKey(int keyIndex) {
    Model.CurrentKey = keyIndex;
    RunKeyEditor();
    update();
}

int CMorvDlg::RunProgress(int operation) {
    return RunDeviceOperationReportingFailure(this, Model, operation) ? int(QDialog::Accepted)
                                                                      : int(QDialog::Rejected);
}

void CMorvDlg::RunBacklight() {
    RunBacklightSettings(this, Model, Resources());
}

void CMorvDlg::RunFirmwareUpdate() {
    ::RunFirmwareUpdate(this, Model);
}

void CMorvDlg::RunKeyEditor() {
    RunKeyMapSettings(this, Model, Resources());
}

void CMorvDlg::OpenHelp() {
    ::OpenHelp(this, Model.UiLanguage);
}

void CMorvDlg::ShowTrayIcon(bool shown) {
    if (Tray != nullptr)
        Tray->setVisible(shown);
}

bool CMorvDlg::TrayIconShown() const {
    return Tray != nullptr && Tray->isVisible();
}

int CMorvDlg::TrayNotify(int iconId, QSystemTrayIcon::ActivationReason reason) {
    if (iconId != TrayIconId)
        return 1;
    // Desktops that report a single click instead of a double click bring the window back too.
    if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger) {
        showNormal();
        raise();
        activateWindow();
        ShowTrayIcon(false);
    }
    return 0;
}

void CMorvDlg::EndProgram() {
    if (Ending)
        return;
    Ending = true;
    DeviceCheck->stop();
    ShowTrayIcon(false);
    // A dialog still open ends first, with neither OK nor Cancel, so its caller reports nothing.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog != nullptr && dialog != this && dialog->isVisible())
            dialog->done(-1);
    }
    done(QDialog::Rejected);
}

void CMorvDlg::CheckDevice() {
    if (Ending || Model.HWI.DetectDevice())
        return;
    DeviceCheck->stop();
    ShowMessage(QStringLiteral("Keyboard is not connected"));
    EndProgram();
}

std::uint32_t CMorvDlg::CaptionFormat(const SkinRegion& area) const {
    Q_UNUSED(area);
    return TextCentre;
}

void CMorvDlg::UpdateActiveStates() {
    const int level = Model.CurrentLevel == 1 ? 1 : 0;
    for (SkinRegion& area : Areas()) {
        if (area.keyIndex >= 1 && area.keyIndex <= KeyCount && area.id > IdKeyBase) {
            const auto key = static_cast<std::size_t>(area.keyIndex);
            area.active = Model.CurrentSettings[key][static_cast<std::size_t>(level)].Mode > 0;
        }
    }
    const SkinRegion* layer = AreaById(IdLayer);
    if (layer == nullptr)
        return;
    const bool second = layer->active;
    if (SkinRegion* level1 = AreaById(IdLevel1Label))
        level1->active = !second;
    if (SkinRegion* level2 = AreaById(IdLevel2Label))
        level2->active = second;
}

std::u16string CMorvDlg::InfoText() const {
    const QPoint point = LastMousePoint();
    for (const SkinRegion& area : Areas()) {
        if (area.id >= 100 && !area.labelOnly && area.rect.Contains(point.x(), point.y()))
            return KeyInfoText(Model, area.keyIndex);
    }
    return MainWindowTitle(Model.UiLanguage);
}

void CMorvDlg::ShowInPanel(const std::u16string& text) {
    QString shown = QString::fromStdU16String(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (Panel->toPlainText() != shown)
        Panel->setPlainText(shown);
}

void CMorvDlg::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    if (isMinimized())
        return;
    UpdateActiveStates();
    QPainter painter(this);
    PaintSkin(painter);
    ShowInPanel(InfoText());
}

void CMorvDlg::keyPressEvent(QKeyEvent* event) {
    // Escape would end the main window as a dialog's cancel; the program ends only on purpose.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    CSkinWindow::keyPressEvent(event);
}
