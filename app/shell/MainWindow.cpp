#include "shell/MainWindow.h"

#include "backlight/BkLightSettingsDialog.h"
#include "catalogue/KeyLegends.h"
#include "device_ui/FirmwareDialog.h"
#include "device_ui/ProgressDialog.h"
#include "editor/KeyMapSettingsDialog.h"
#include "model/KeyboardData.h"
#include "model/Profile.h"
#include "model/ProfileShelf.h"
#include "shell/Help.h"
#include "shell/MainWindowAreas.h"
#include "shell/MainWindowText.h"
#include "shell/ProfileShelfUi.h"
#include "shell/StatusLine.h"
#include "skin/Prompts.h"
#include "skin/SkinRectQt.h"
#include "text/UiTexts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTimer>
#include <QToolTip>

#include <filesystem>
#include <memory>

namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString Qt16(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// The info panel keeps its foot free for the status line.
class CInfoPanel : public QPlainTextEdit {
public:
    explicit CInfoPanel(QWidget* parent) : QPlainTextEdit(parent) {
        setViewportMargins(0, 0, 0, CStatusLine::Height);
    }
};

} // namespace

CMorvDlg::CMorvDlg(CKeyboardData& data, const CSkinResources& resources, QWidget* parent)
    : CSkinWindow(resources, data.UiLanguage, {MainBackgroundPicture, MainHoverPicture, MainActivePicture},
                  MainWindowTransparentColour, MainWindowAreaCount, parent),
      Model(data), Unsaved(*this, data) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    Panel = new CInfoPanel(this);
    Panel->setReadOnly(true);
    Panel->setFocusPolicy(Qt::NoFocus);
    Panel->setFrameShape(QFrame::NoFrame);
    Panel->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Panel->setTextInteractionFlags(Qt::NoTextInteraction);
    DeviceCheck = new QTimer(this);
    DeviceCheck->setInterval(DefaultDeviceCheckMs);
    connect(DeviceCheck, &QTimer::timeout, this, &CMorvDlg::CheckDevice);
    Status = new CStatusLine(Panel);
    Tray = new CTrayPresence(*this, data.UiLanguage);
    connect(Tray, &CTrayPresence::ExitChosen, this, &CMorvDlg::RequestEnd);
    auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(save, &QShortcut::activated, this, [this] { Dispatch(IdSave, 0); });
    auto* open = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
    connect(open, &QShortcut::activated, this, [this] { Dispatch(IdOpen, 0); });
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Z)}) {
        auto* undo = new QShortcut(keys, this);
        connect(undo, &QShortcut::activated, this, &CMorvDlg::Undo);
    }
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
        auto* redo = new QShortcut(keys, this);
        connect(redo, &QShortcut::activated, this, &CMorvDlg::Redo);
    }
    auto* keyTest = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
    connect(keyTest, &QShortcut::activated, this, &CMorvDlg::ToggleKeyTest);
    // However the window ends (also closed by the system), it leaves no icon behind.
    connect(this, &QDialog::finished, this, [this] {
        DeviceCheck->stop();
        Tray->RemoveIcon();
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

void CMorvDlg::SetConnection(const CConnectionShown& connection) {
    Connected = connection;
    update();
}

bool CMorvDlg::Initialise() {
    if (!Model.HWI.__createDev()) {
        ShowMessage(QStringLiteral("Keyboard is not connected!"));
        return false;
    }
    Connected.Unopened = static_cast<bool>(Model.HWI.AccessProblem());
    // Found but not opened (usually the device's permissions): every transfer would fail.
    if (Connected.Unopened)
        ShowMessage(ProblemUiText(Model.HWI.AccessProblem(), Model.UiLanguage));
    setWindowIcon(Resources().ProgramIcon());
    OpenSkin();
    Areas() = MainWindowAreas();
    Model.CurrentLevel = 0;
    Model.Clear();
    Unsaved.TakeSnapshot();
    Steps.Reset(Model);
    // The button is drawn pressed in every language but the one the program starts in.
    AreaById(IdLanguage)->active = Model.UiLanguage != StartUiLanguage;
    Tray->CreateIcon(Resources().ProgramIcon());
    Tray->ConnectShelf(Model);

    Panel->setGeometry(ToQRect(MainInfoPanelRect));
    Panel->setFont(Resources().SkinFont(DefaultSkinFont));
    StyleTextBox(Panel, Resources());
    Panel->viewport()->setCursor(Qt::ArrowCursor);
    Status->PlaceAtFoot(QSize(MainInfoPanelRect.Width(), MainInfoPanelRect.Height()), Resources());
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
    Status->ShowNotice({});
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
    Model.UiLanguage = NextUiLanguage(Model.UiLanguage);
    // The button is drawn pressed in every language but the one the program starts in.
    AreaById(IdLanguage)->active = Model.UiLanguage != StartUiLanguage;
    emit UiLanguageChanged();
    update();
    // The focus stays on the button: a screen reader hears the new language from this.
    AnnounceToAssistiveTechnology(this, UiText(Model.UiLanguage, TextId::UiLanguageName));
}

void CMorvDlg::OnHelp() {
    OpenHelp();
}

void CMorvDlg::OnHide() {
    Tray->HideWindow();
}

void CMorvDlg::OnExit() {
    RequestEnd();
}

void CMorvDlg::RequestEnd() {
    if (Unsaved.Settle())
        EndProgram();
}

void CMorvDlg::OnSave() {
    if (Unsaved.SaveAsked())
        Steps.MarkClean(true);
    update();
}

void CMorvDlg::OnOpen() {
    if (Unsaved.Settle()) {
        const QString path = AskPath(this, PathQuestion::OpenProfile);
        if (!path.isEmpty()) {
            if (LoadProfile(Model, ToPath(path))) {
                CommitStep(CommandStep(TextId::OpenStep, QFileInfo(path).fileName().toStdU16String()));
                KeepCurrent(true);
            } else {
                ShowMessage(UiText(Model.UiLanguage, TextId::ProfileNotOpened).arg(path));
            }
        }
    }
    update();
    TellAreasChanged();
}

void CMorvDlg::OnClear() {
    if (Unsaved.Settle()) {
        Model.Clear();
        CommitStep(CommandStep(TextId::ClearStep));
        // A fresh start: an empty model holds nothing to lose, and what it replaced is where it was.
        KeepCurrent(false);
    }
    update();
}

void CMorvDlg::OnWriteKeys() {
    if (RunProgress(OperationWriteKeys) == QDialog::Accepted) {
        KeepCurrent(true);
        NameHeldShelfProfile();
        ShowMessage(TransferEndText(Model.UiLanguage));
    }
    update();
}

void CMorvDlg::OnBacklight() {
    RunBacklight();
    CommitStep(CommandStep(TextId::BacklightStep));
    update();
}

void CMorvDlg::OnReadAll() {
    // What the keyboard sends replaces every key and colour, as opening a profile does.
    if (Unsaved.Settle() && RunProgress(OperationReadAll) == QDialog::Accepted) {
        CommitStep(CommandStep(TextId::ReadStep));
        KeepCurrent(true);
        NameHeldShelfProfile();
        ShowMessage(TransferEndText(Model.UiLanguage));
    }
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
    UpdateActiveStates();
    TellAreasChanged();
}

void CMorvDlg::OnKey(int keyIndex) {
    Model.CurrentKey = keyIndex;
    RunKeyEditor();
    CommitStep(KeyAssignmentStep(Model, keyIndex, Model.CurrentLevel));
    update();
    UpdateActiveStates();
}

void CMorvDlg::CommitStep(const CHistoryStep& step) {
    Steps.Commit(Model, step);
}

void CMorvDlg::NameHeldShelfProfile() {
    auto scratch = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*scratch);
    const std::string name = ShelfProfileSendingTheSame(ProfileShelfFolder(), Model, *scratch);
    if (!name.empty())
        Status->ShowShelfProfile(QString::fromStdString(name));
}

void CMorvDlg::KeepCurrent(bool onlyThis) {
    Unsaved.TakeSnapshot();
    Steps.MarkClean(onlyThis);
}

void CMorvDlg::Notify(const QString& text) {
    Status->ShowNotice(text);
    AnnounceToAssistiveTechnology(this, text);
}

void CMorvDlg::Undo() {
    ShowStepTaken(Steps.Undo(Model), TextId::UndoneStatus);
}

void CMorvDlg::Redo() {
    ShowStepTaken(Steps.Redo(Model), TextId::RedoneStatus);
}

void CMorvDlg::ShowStepTaken(const CHistoryStep* step, TextId said) {
    if (step == nullptr)
        return;
    if (Steps.CurrentClean())
        Unsaved.TakeSnapshot();
    Notify(QString::fromStdU16String(StepText(said, Model.UiLanguage, step)));
    update();
    TellAreasChanged();
}

void CMorvDlg::ToggleKeyTest() {
    if (Test.Running()) {
        Test.End();
        Notify(UiText(Model.UiLanguage, TextId::KeyTestEnded));
    } else {
        Test.Start();
        Notify(UiText(Model.UiLanguage, TextId::KeyTestStarted));
    }
    update();
    TellAreasChanged();
}

bool CMorvDlg::OfferKeyToTest(QKeyEvent& event) {
    if (!Test.Running())
        return false;
    event.accept();
    // Ctrl+T ends the test; every other key is the test's.
    const bool release = event.type() == QEvent::KeyRelease;
    if (!release && event.key() == Qt::Key_T &&
        (event.modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        ToggleKeyTest();
        return true;
    }
    if (event.isAutoRepeat())
        return true;
    constexpr quint32 NumLockState = 0x10;
    Test.Offer(Model, event.nativeScanCode(), release, (event.nativeModifiers() & NumLockState) != 0);
    if (!release) {
        update();
        TellAreasChanged();
    }
    return true;
}

QMenu* CMorvDlg::ContextMenu() {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const UiLanguage language = Model.UiLanguage;
    QAction* undo =
        menu->addAction(QString::fromStdU16String(StepText(TextId::UndoMenu, language, Steps.UndoStep())));
    undo->setEnabled(Steps.CanUndo());
    connect(undo, &QAction::triggered, this, &CMorvDlg::Undo);
    QAction* redo =
        menu->addAction(QString::fromStdU16String(StepText(TextId::RedoMenu, language, Steps.RedoStep())));
    redo->setEnabled(Steps.CanRedo());
    connect(redo, &QAction::triggered, this, &CMorvDlg::Redo);
    menu->addSeparator();
    QAction* keyTest = menu->addAction(UiText(language, TextId::KeyTestMenu));
    keyTest->setCheckable(true);
    keyTest->setChecked(Test.Running());
    connect(keyTest, &QAction::triggered, this, &CMorvDlg::ToggleKeyTest);
    menu->addSeparator();
    QAction* shelve = menu->addAction(UiText(language, TextId::SaveToShelfMenu));
    connect(shelve, &QAction::triggered, this, [this] { SaveToShelfAsking(this, Model); });
    return menu;
}

void CMorvDlg::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    // From the Menu key the menu opens over the key the focus rests on, else at the window's top left.
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const int focused = FocusedArea();
        at = mapToGlobal(focused >= 0 ? ToQRect(Areas()[static_cast<std::size_t>(focused)].rect).center()
                                      : QPoint(20, 20));
    }
    ContextMenu()->popup(at);
}

void CMorvDlg::focusOutEvent(QFocusEvent* event) {
    Test.ForgetHeldKeys();
    CSkinWindow::focusOutEvent(event);
}

QString CMorvDlg::NoticeShownText() const {
    return Status->NoticeText();
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

bool CMorvDlg::TrayIconShown() const {
    return Tray->IconShown();
}

int CMorvDlg::TrayNotify(int iconId, QSystemTrayIcon::ActivationReason reason) {
    return Tray->Notify(iconId, reason);
}

void CMorvDlg::EndProgram() {
    if (Ending)
        return;
    Ending = true;
    DeviceCheck->stop();
    Tray->RemoveIcon();
    EndOpenDialogs();
    done(QDialog::Rejected);
}

void CMorvDlg::EndOpenDialogs() {
    // A dialog still open ends first, with neither OK nor Cancel, so its caller reports nothing.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog != nullptr && dialog != this && dialog->isVisible())
            dialog->done(-1);
    }
}

void CMorvDlg::CheckDevice() {
    if (Ending || Model.HWI.DetectDevice())
        return;
    DeviceCheck->stop();
    Ending = true; // nothing else may end the program while the person is asked
    ShowMessage(QStringLiteral("Keyboard is not connected"));
    EndOpenDialogs();
    Unsaved.OfferSaveBeforeEnding();
    Ending = false;
    EndProgram();
}

bool CMorvDlg::HasUnsavedChanges() const {
    return Unsaved.HasUnsavedChanges();
}

void CMorvDlg::closeEvent(QCloseEvent* event) {
    // Closed by the system (its cancel, or the end of the session): the same end as Exit, once
    // unsaved changes are settled; refused when the person cancelled.
    if (Ending || Unsaved.Settle()) {
        EndProgram();
        event->accept();
    } else {
        event->ignore();
    }
}

void CMorvDlg::mousePressEvent(QMouseEvent* event) {
    Tray->WindowClicked();
    CSkinWindow::mousePressEvent(event);
}

bool CMorvDlg::event(QEvent* event) {
    // While the key test runs, every key is its own: no shortcut, no Tab, no menu.
    const QEvent::Type type = event->type();
    if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress || type == QEvent::KeyRelease) &&
        Test.Running()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (type == QEvent::ShortcutOverride) {
            key->accept();
            return true;
        }
        return OfferKeyToTest(*key);
    }
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = ToolTipAt(help->pos());
        const SkinRegion* area = ClickedArea(help->pos());
        if (tip.isEmpty() || area == nullptr) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this, ToQRect(area->rect));
        }
        return true;
    }
    return CSkinWindow::event(event);
}

QString CMorvDlg::ToolTipAt(QPoint clientPoint) const {
    const SkinRegion* area = ClickedArea(clientPoint);
    if (area == nullptr)
        return {};
    return Qt16(ButtonTip(Model.UiLanguage, area->id, QSystemTrayIcon::isSystemTrayAvailable()));
}

QString CMorvDlg::ConnectionShownText() const {
    return Status->ConnectionText();
}

QString CMorvDlg::SaveStateShownText() const {
    return Status->SaveStateText();
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
            // During the key test the keys lit are the ones that worked.
            area.active = Test.Running()
                              ? Test.Tested(area.keyIndex)
                              : Model.CurrentSettings[key][static_cast<std::size_t>(level)].Mode > 0;
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
    if (Test.Running())
        return Test.AnyPress() ? KeyTestText(Model, Test.LastKey(), Test.LastScanCode())
                               : Utf16Text(TextId::KeyTestStarted, Model.UiLanguage);
    const QPoint point = LastMousePoint();
    for (const SkinRegion& area : Areas()) {
        if (area.id >= 100 && !area.labelOnly && area.rect.Contains(point.x(), point.y()))
            return KeyInfoText(Model, area.keyIndex);
    }
    // Else the key the keyboard focus rests on, while the window has the focus.
    if (hasFocus() && FocusedArea() >= 0) {
        const SkinRegion& focused = Areas()[static_cast<std::size_t>(FocusedArea())];
        if (AreaFocusGroup(focused) != 0)
            return KeyInfoText(Model, focused.keyIndex);
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
    // Painted also while taken for minimised: without a window manager such a window stays on the
    // screen and must not freeze.
    UpdateActiveStates();
    QPainter painter(this);
    PaintSkin(painter);
    ShowInPanel(InfoText());
    Status->Show(Model.UiLanguage, Connected, Unsaved.MarkTitle());
}

void CMorvDlg::keyPressEvent(QKeyEvent* event) {
    // Escape would end the main window as a dialog's cancel; the program ends only on purpose.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    // Page Up shows the first layer, Page Down the second.
    if ((event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        if ((Model.CurrentLevel == 1) != (event->key() == Qt::Key_PageDown))
            OnLayer();
        return;
    }
    CSkinWindow::keyPressEvent(event);
}

int CMorvDlg::AreaFocusGroup(const SkinRegion& area) const {
    return area.keyIndex >= 1 && area.keyIndex <= KeyCount && area.id > IdKeyBase ? 1 : 0;
}

SkinAreaSpeech CMorvDlg::AreaSpeech(const SkinRegion& area) const {
    SkinAreaSpeech speech = CSkinWindow::AreaSpeech(area);
    const QString tip = Qt16(ButtonTip(Model.UiLanguage, area.id, QSystemTrayIcon::isSystemTrayAvailable()));
    if (AreaFocusGroup(area) != 0) {
        speech.name = QString::fromUtf8(KeyLegendOf(area.keyIndex).main);
        // The info panel's text for the key, less the program's title.
        QString info = Qt16(KeyInfoText(Model, area.keyIndex));
        info.remove(0, static_cast<qsizetype>(MainWindowTitle(Model.UiLanguage).size()));
        info.replace(QStringLiteral("\r\n\r\n"), QStringLiteral("\n"));
        speech.description = info.trimmed();
        // During the key test a key is a check box, checked once it worked.
        if (Test.Running()) {
            speech.role = SkinAreaSpeech::Role::CheckBox;
            speech.checked = Test.Tested(area.keyIndex);
        }
        return speech;
    }
    if (speech.name.isEmpty())
        speech.name = tip;
    else
        speech.description = tip;
    if (area.id == IdLayer) {
        speech.role = SkinAreaSpeech::Role::CheckBox;
        speech.checked = area.active;
    }
    return speech;
}

QString CMorvDlg::AccessibleWindowName() const {
    return Qt16(MainWindowTitle(Model.UiLanguage));
}
