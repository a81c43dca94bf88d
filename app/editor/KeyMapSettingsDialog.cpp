#include "editor/KeyMapSettingsDialog.h"

#include "catalogue/ContentItem.h"
#include "catalogue/KeyCatalogue.h"
#include "editor/EditorAreas.h"
#include "editor/MacroSettings.h"
#include "skin/Prompts.h"
#include "skin/ScrollBarGeometry.h"
#include "skin/SkinPlate.h"
#include "skin/SkinScrollBar.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

constexpr int TipDelayMs = 100;

QRect ToQRect(const SkinRect& rect) {
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

SkinPictures PicturesOfPage(int page) {
    return {EditorBackgroundPicture(page), EditorHoverPicture(page), EditorActivePicture(page)};
}

bool HasTip(int id) {
    return (id >= IdMultimediaFirst && id <= IdMultimediaLast) ||
           (id >= IdFunctionFirst && id <= IdFunctionLast) || (id >= IdPowerFirst && id <= IdPowerLast);
}

// The first row id of the names list and of the record list of a list page, and their row counts.
struct CListRows {
    int names;
    int record;
    int count;
};
CListRows RowsOfPage(int page) {
    switch (page) {
    case PageUniCombo:
        return {IdComboNameRow, IdComboKeyRow, 6};
    case PageMacro:
        return {IdMacroNameRow, IdMacroStepRow, 9};
    case PageEmulate:
        return {IdEmuNameRow, IdEmuKeyRow, 9};
    default:
        return {0, 0, 0};
    }
}

// The Record button of each recording and its two captions.
struct CRecordPlace {
    RecordingTarget target;
    int button;
    int recordLabel;
    int stopLabel;
};
constexpr CRecordPlace RecordPlaces[] = {
    {RecordingTarget::SingleKey, IdRecordSingle, IdRecordSingleLabel, IdStopSingleLabel},
    {RecordingTarget::Combination, IdRecordCombo, IdRecordComboLabel, IdStopComboLabel},
    {RecordingTarget::Macro, IdRecordMacro, IdRecordMacroLabel, IdStopMacroLabel},
    {RecordingTarget::Emulation, IdRecordEmu, IdRecordEmuLabel, IdStopEmuLabel},
};

std::int64_t SteadyNowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString Number(int value) {
    return QString::number(value);
}

QString Joined(const CActionList& keys) {
    QStringList items;
    for (const std::u16string& item : keys.List)
        items << QString::fromStdU16String(item);
    return items.join(QStringLiteral(" + "));
}

} // namespace

CMorvDialogKeyMapSettings::CMorvDialogKeyMapSettings(CKeyboardData& data, const CSkinResources& resources,
                                                     QWidget* parent)
    : CSkinWindow(resources, data.UiLanguage, PicturesOfPage(PageUniCombo), EditorTransparentColour,
                  EditorAreaCount, parent),
      Model(data) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(ProgramName());
    setModal(true);
    OpenSkin();
    Areas() = EditorAreas();

    const auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    RepeatEdit = AddLineBox(EditorEditRect(IdRepeatEdit, Language()), IdRepeatEdit);
    IntervalEdit = AddLineBox(EditorEditRect(IdIntervalEdit, Language()), IdIntervalEdit);
    for (QLineEdit* edit : {RepeatEdit, IntervalEdit}) {
        edit->setValidator(digits);
        // The number edits are narrow: a value too wide for one is drawn smaller until it shows
        // whole (inside a line edit's own margins of 2 pixels a side and its cursor).
        connect(edit, &QLineEdit::textChanged, this, [this, edit](const QString& text) {
            edit->setFont(FittedCaptionFont(Resources().SkinFont(DefaultSkinFont), text, edit->width() - 5,
                                            Qt::TextSingleLine));
        });
    }
    connect(RepeatEdit, &QLineEdit::textEdited, this, &CMorvDialogKeyMapSettings::OnRepeatEdited);
    connect(IntervalEdit, &QLineEdit::textEdited, this, &CMorvDialogKeyMapSettings::OnIntervalEdited);
    NameEditor = AddLineBox({}, IdNameEditor);
    NameEditor->setAlignment(Qt::AlignCenter);
    NameEditor->hide();
    // Enter and the loss of focus commit it.
    connect(NameEditor, &QLineEdit::editingFinished, this, [this] { CommitNameEditor(); });
    for (QLineEdit* edit : {RepeatEdit, IntervalEdit, NameEditor})
        edit->installEventFilter(this);
    ComboKeysBox = AddTextArea(EditorEditRect(IdComboKeysBox, Language()), IdComboKeysBox);
    ComboKeysBox->setReadOnly(true);
    // The box only shows the keys: it never takes the focus, so it never shows a caret.
    ComboKeysBox->setFocusPolicy(Qt::NoFocus);
    ComboKeysBox->setTextInteractionFlags(Qt::NoTextInteraction);
    ComboKeysBox->viewport()->setCursor(Qt::ArrowCursor);

    for (CSkinScrollBar** bar : {&NamesBar, &RecordBar}) {
        *bar = new CSkinScrollBar(Qt::Vertical, this);
        (*bar)->setObjectName(QStringLiteral("scrollbar%1").arg(bar == &NamesBar ? IdNamesBar : IdRecordBar));
        (*bar)->hide();
        CSkinScrollBar* shown = *bar;
        connect(shown, &CSkinScrollBar::Scrolled, this,
                [this, shown](int notification, int position) { OnScroll(shown, notification, position); });
    }

    Tip = new QLabel(this, Qt::ToolTip);
    Tip->setStyleSheet(QStringLiteral("QLabel { color: rgb(0, 0, 255); background-color: rgb(255, 255, 0); "
                                      "border: 1px solid rgb(0, 0, 0); padding: 1px 3px; }"));
    Tip->hide();
    TipDelay = new QTimer(this);
    TipDelay->setSingleShot(true);
    TipDelay->setInterval(TipDelayMs);
    connect(TipDelay, &QTimer::timeout, this, [this] {
        if (Tip->text().isEmpty())
            return;
        Tip->adjustSize();
        Tip->move(QCursor::pos() + QPoint(12, 18));
        Tip->show();
    });

    Editing.Open(Model);
    ShowPage(Editing.Page());
}

CMorvDialogKeyMapSettings::~CMorvDialogKeyMapSettings() {
    // However the editor goes, the keyboard is never left captured.
    StopRecording();
    // The controls go after this object: what they signal while they go reaches nothing.
    for (QObject* control : children())
        disconnect(control, nullptr, this, nullptr);
}

bool CMorvDialogKeyMapSettings::AreaShown(const SkinRegion& area) const {
    return area.id > 0 && (PageOfArea(area.id) == 0 || PageOfArea(area.id) == Editing.Page());
}

QString CMorvDialogKeyMapSettings::ShownTip() const {
    return Tip->isVisible() || TipDelay->isActive() ? Tip->text() : QString();
}

void CMorvDialogKeyMapSettings::SetScrollRange(CSkinScrollBar* bar, const CActionList& list, bool toStart) {
    ScrollInfo info;
    bar->GetScrollInfo(info);
    info.mask = ScrollInfoRange | ScrollInfoPage | ScrollInfoPosition;
    info.minimum = 0;
    info.page = list.SizeOfView;
    info.maximum = list.Count() + list.SizeOfView - 1;
    info.position = toStart ? 0 : std::clamp(info.position, 0, std::max(0, info.maximum - info.page + 1));
    bar->SetScrollInfo(info);
}

void CMorvDialogKeyMapSettings::ShowPage(int page) {
    CommitNameEditor();
    Editing.ShowPage(page);
    SetPictures(PicturesOfPage(Editing.Page()));
    HideTip();
    const int shown = Editing.Page();
    RepeatEdit->setVisible(shown == PageMacro || shown == PageEmulate);
    RepeatEdit->setEnabled(shown == PageMacro || shown == PageEmulate);
    IntervalEdit->setVisible(shown == PageMacro);
    IntervalEdit->setEnabled(false);
    NameEditor->hide();
    ComboKeysBox->setVisible(shown == PageUniCombo);
    ComboKeysBox->setEnabled(shown == PageUniCombo);
    const CActionList* names = Editing.NamesOfPage(shown);
    const CActionList* record = Editing.RecordOfPage(shown);
    const QPixmap* strip = Resources().Picture(ScrollBarStripPicture);
    for (const auto& [bar, id, list] :
         {std::tuple{NamesBar, int(IdNamesBar), names}, std::tuple{RecordBar, int(IdRecordBar), record}}) {
        const SkinRect place = EditorScrollBarRect(id, shown);
        if (list == nullptr || place.Width() <= 0) {
            bar->hide();
            continue;
        }
        bar->setGeometry(ToQRect(place));
        bar->AttachSkin(strip);
        SetScrollRange(bar, *list, true);
        bar->show();
    }
    update();
}

bool CMorvDialogKeyMapSettings::FinishInProgress(int clickedId) {
    const bool okOrCancel = clickedId == IdEditorOk || clickedId == IdEditorCancel;
    if (CommitNameEditor())
        return okOrCancel;
    const RecordingTarget stopped = Recorder.Target();
    if (stopped == RecordingTarget::None)
        return true;
    StopRecording();
    return (stopped == RecordingTarget::SingleKey || stopped == RecordingTarget::Combination) && okOrCancel;
}

void CMorvDialogKeyMapSettings::StartRecording(RecordingTarget target) {
    if (!CRecorder::CanStart(target, Editing))
        return;
    HideTip();
    const int delta = Recorder.Start(target, Editing);
    if (delta != 0)
        RecordBar->AdjustRange(delta);
    for (const CRecordPlace& place : RecordPlaces) {
        if (place.target != target)
            continue;
        AreaById(place.button)->active = true;
        AreaById(place.recordLabel)->showText = false;
        AreaById(place.stopLabel)->showText = true;
    }
    // Where the desktop's keyboard cannot be captured (no X server, native Wayland, a grab held by
    // another program), the keys typed into this window are recorded instead.
    Hooked = QGuiApplication::platformName() != QLatin1String("wayland") &&
             InstallHook(MessageTarget()) == HookInstalled;
    OwnKeys = !Hooked;
    if (OwnKeys) {
        OwnKeyTranslator = CHookKeyTranslator();
        setFocus();
        grabKeyboard();
    }
    update();
}

void CMorvDialogKeyMapSettings::StopRecording() {
    const RecordingTarget target = Recorder.Target();
    if (target == RecordingTarget::None)
        return;
    if (Hooked)
        UninstallHook();
    if (OwnKeys)
        releaseKeyboard();
    Hooked = OwnKeys = false;
    Recorder.Stop(Editing);
    for (const CRecordPlace& place : RecordPlaces) {
        if (place.target != target)
            continue;
        AreaById(place.button)->active = false;
        AreaById(place.recordLabel)->showText = true;
        AreaById(place.stopLabel)->showText = false;
    }
    update();
}

void CMorvDialogKeyMapSettings::OnHookKey(std::uintptr_t wParam, std::intptr_t lParam) {
    if (Recorder.Target() == RecordingTarget::None)
        return;
    const CRecordedKey recorded = Recorder.OnHookKey(wParam, lParam, SteadyNowNs(), Model, Editing);
    if (recorded.BarDelta != 0)
        RecordBar->AdjustRange(recorded.BarDelta);
    if (recorded.Changed)
        update();
    if (recorded.UnknownKey)
        ShowMessage(this, QStringLiteral("a=%1, b=%2, c=%3")
                              .arg(recorded.KeyCode)
                              .arg(recorded.DeviceCode)
                              .arg(recorded.SingleKey));
}

void CMorvDialogKeyMapSettings::OnPostedMessage(unsigned message, std::uintptr_t wParam,
                                                std::intptr_t lParam) {
    if (message == WM_HOOK_KEY)
        OnHookKey(wParam, lParam);
}

bool CMorvDialogKeyMapSettings::CaptureOwnKey(QKeyEvent* event, bool release) {
    if (!OwnKeys)
        return false;
    event->accept();
    // Qt repeats a held key as release and press pairs; the capture reports presses only.
    if (release && event->isAutoRepeat())
        return true;
    constexpr quint32 NumLockState = 0x10;
    CHookKey key;
    if (OwnKeyTranslator.Translate(event->nativeScanCode(), release,
                                   (event->nativeModifiers() & NumLockState) != 0, key))
        OnHookKey(key.WParam, key.LParam);
    return true;
}

void CMorvDialogKeyMapSettings::OnPlayMode(int id) {
    CActionList& steps = Editing.MacroSteps;
    steps.PlayMode = id == IdPlayTimes ? 0 : id == IdPlayWhileHeld ? 1 : 2;
    RepeatEdit->setEnabled(steps.PlayMode == 0);
    if (steps.PlayMode == 0)
        RepeatEdit->setFocus();
    Editing.StoreRecord(PageMacro);
    update();
}

void CMorvDialogKeyMapSettings::OnIntervalKind(bool fixed) {
    CActionList& steps = Editing.MacroSteps;
    if (fixed) {
        OnIntervalEdited(IntervalEdit->text());
        MacroSettings::UseFixedInterval(steps);
        IntervalEdit->setEnabled(true);
        IntervalEdit->setFocus();
    } else {
        MacroSettings::UseRecordedDelays(steps);
        IntervalEdit->setEnabled(false);
    }
    Editing.StoreRecord(PageMacro);
    UpdateScrollRanges();
    update();
}

void CMorvDialogKeyMapSettings::OnRepeatEdited(const QString& text) {
    const int typed = LeadingNumber(text.toStdU16String());
    if (Editing.Page() == PageMacro) {
        const int cycles = MacroSettings::RepeatCount(typed);
        if (cycles != typed || text.isEmpty())
            RepeatEdit->setText(Number(cycles));
        Editing.MacroSteps.Cycles = cycles;
        Editing.StoreRecord(PageMacro);
    } else if (Editing.Page() == PageEmulate) {
        const int interval = MacroSettings::EmuInterval(typed);
        if (interval != typed)
            RepeatEdit->setText(Number(interval));
        Editing.EmuKeys.Delay = interval;
        Editing.StoreRecord(PageEmulate);
    }
}

void CMorvDialogKeyMapSettings::OnIntervalEdited(const QString& text) {
    const int typed = LeadingNumber(text.toStdU16String());
    const int interval = MacroSettings::FixedInterval(typed);
    if (interval != typed)
        IntervalEdit->setText(Number(interval));
    Editing.MacroSteps.Delay = interval;
    Editing.StoreRecord(PageMacro);
}

void CMorvDialogKeyMapSettings::ShowMacroSettings() {
    const auto show = [](QLineEdit* edit, int value) {
        if (edit->text() != Number(value))
            edit->setText(Number(value));
    };
    if (Editing.Page() == PageMacro) {
        const CActionList& steps = Editing.MacroSteps;
        show(RepeatEdit, steps.Cycles);
        show(IntervalEdit, steps.Delay);
        AreaById(IdPlayTimes)->active = steps.PlayMode == 0;
        AreaById(IdPlayWhileHeld)->active = steps.PlayMode == 1;
        AreaById(IdPlayToggle)->active = steps.PlayMode == 2;
        AreaById(IdFixedInterval)->active = steps.IsAutoInterval;
        AreaById(IdRecordedDelays)->active = !steps.IsAutoInterval;
        if (steps.IsAutoInterval)
            IntervalEdit->setEnabled(true);
    } else if (Editing.Page() == PageEmulate) {
        show(RepeatEdit, Editing.EmuKeys.Delay);
    }
}

void CMorvDialogKeyMapSettings::OnStepMenu(int row, QPoint at) {
    const UiLanguage language = Language();
    const auto text = [language](TextId id) { return UiText(language, id); };
    const auto button = [&](TextId id, int first) {
        return CMenuEntry{text(id),
                          0,
                          {{text(TextId::StepPress), first, {}},
                           {text(TextId::StepRelease), first + 1, {}},
                           {text(TextId::StepClick), first + 2, {}}}};
    };
    const std::vector<CMenuEntry> menu{
        button(TextId::StepLeftButton, MacroSettings::LeftPress),
        button(TextId::StepRightButton, MacroSettings::RightPress),
        button(TextId::StepMiddleButton, MacroSettings::MiddlePress),
        {text(TextId::StepWheel),
         0,
         {{text(TextId::StepWheelUp), MacroSettings::WheelUp, {}},
          {text(TextId::StepWheelDown), MacroSettings::WheelDown, {}}}},
        {text(TextId::StepDelete), MacroSettings::DeleteStep, {}},
    };
    const int command = Prompts().ChooseFromMenu ? Prompts().ChooseFromMenu(this, menu, at) : 0;
    if (command == 0)
        return;
    const int delta = MacroSettings::ApplyMenuCommand(Editing.MacroSteps, row, command, Model);
    if (delta != 0)
        RecordBar->AdjustRange(delta);
    Editing.StoreRecord(PageMacro);
    update();
}

void CMorvDialogKeyMapSettings::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && Editing.Page() == PageMacro) {
        const QPoint point = event->position().toPoint();
        for (int row = 0; row < 9; ++row) {
            const SkinRegion* area = AreaById(IdMacroStepRow + row);
            const CActionList& steps = Editing.MacroSteps;
            if (area->rect.Contains(point.x(), point.y()) && steps.ViewStartAt + row < steps.Count()) {
                CommitNameEditor();
                OnStepMenu(row, event->globalPosition().toPoint());
                event->accept();
                return;
            }
        }
    }
    CSkinWindow::mouseReleaseEvent(event);
}

void CMorvDialogKeyMapSettings::UpdateScrollRanges() {
    const int page = Editing.Page();
    if (CActionList* names = Editing.NamesOfPage(page); names != nullptr && NamesBar->isVisible())
        SetScrollRange(NamesBar, *names, false);
    if (CActionList* record = Editing.RecordOfPage(page); record != nullptr && RecordBar->isVisible())
        SetScrollRange(RecordBar, *record, false);
}

void CMorvDialogKeyMapSettings::OnScroll(CSkinScrollBar* bar, int notification, int position) {
    // Scrolling moves the selection under NameEditor: what it holds goes to its own item first.
    CommitNameEditor();
    ScrollInfo info;
    bar->GetScrollInfo(info);
    int moved = info.position;
    switch (notification) {
    case ScrollLineUp:
        moved -= 1;
        break;
    case ScrollLineDown:
        moved += 1;
        break;
    case ScrollPageUp:
        moved -= info.page;
        break;
    case ScrollPageDown:
        moved += info.page;
        break;
    case ScrollThumbTrack:
        moved = position;
        break;
    default:
        return;
    }
    moved = std::clamp(moved, info.minimum, std::max(info.minimum, info.maximum - info.page + 1));
    ScrollInfo store;
    store.mask = ScrollInfoPosition;
    store.position = moved;
    bar->SetScrollInfo(store);
    const int page = Editing.Page();
    if (bar == NamesBar) {
        Editing.ScrollNames(page, moved);
        // The record list is now another entry's.
        UpdateScrollRanges();
    } else {
        Editing.ScrollRecord(page, moved);
    }
    update();
}

void CMorvDialogKeyMapSettings::OnNameRow(int row) {
    const int page = Editing.Page();
    if (Editing.ClickNameRow(page, row)) {
        const CActionList& names = *Editing.NamesOfPage(page);
        OpenNameEditor(RowsOfPage(page).names + row, NameEdit::Rename, names.GetItemText(row));
        return;
    }
    UpdateScrollRanges();
    update();
}

void CMorvDialogKeyMapSettings::OnRecordRow(int row) {
    const int page = Editing.Page();
    const bool selected = Editing.ClickRecordRow(page, row);
    update();
    // A second click on a selected delay of a macro edits it in place.
    if (selected && page == PageMacro) {
        const std::u16string item = Editing.MacroSteps.GetItemText(row);
        if (IsBracketedDelayItem(item))
            OpenNameEditor(IdMacroStepRow + row, NameEdit::Delay, std::u16string(DelayNumberText(item)));
    }
}

void CMorvDialogKeyMapSettings::OnNew() {
    const int page = Editing.Page();
    if (!Editing.ListsInUse(page))
        return;
    const std::u16string proposed = Editing.NewEntry(page, Language());
    UpdateScrollRanges();
    update();
    OpenNameEditor(RowsOfPage(page).names + Editing.NamesOfPage(page)->CursorPos, NameEdit::Rename, proposed);
}

void CMorvDialogKeyMapSettings::OnDelete() {
    const int page = Editing.Page();
    if (!Editing.ListsInUse(page))
        return;
    Editing.DeleteEntry(page);
    UpdateScrollRanges();
    update();
}

void CMorvDialogKeyMapSettings::OpenNameEditor(int rowId, NameEdit kind, const std::u16string& text) {
    const SkinRegion* row = AreaById(rowId);
    const CActionList* list =
        kind == NameEdit::Delay ? &Editing.MacroSteps : Editing.NamesOfPage(Editing.Page());
    if (row == nullptr || list == nullptr)
        return;
    NameEditor->setGeometry(ToQRect(row->rect));
    NameEditor->setText(QString::fromStdU16String(text));
    NameEditor->setEnabled(true);
    NameEditor->show();
    NameEditor->setFocus();
    NameEditor->selectAll();
    NameEditing = kind;
    EditedItem = list->ViewStartAt + rowId -
                 (kind == NameEdit::Delay ? int(IdMacroStepRow) : RowsOfPage(Editing.Page()).names);
}

bool CMorvDialogKeyMapSettings::CommitNameEditor() {
    const NameEdit kind = std::exchange(NameEditing, NameEdit::None);
    if (kind == NameEdit::None)
        return false;
    const std::u16string text = NameEditor->text().toStdU16String();
    if (kind == NameEdit::Delay) {
        MacroSettings::SetDelay(Editing.MacroSteps, EditedItem, text);
        Editing.StoreRecord(PageMacro);
    } else {
        Editing.RenameEntry(Editing.Page(), EditedItem, text);
    }
    EditedItem = -1;
    // Typing after the commit goes to no edit of the page.
    const bool hadFocus = NameEditor->hasFocus();
    NameEditor->setEnabled(false);
    NameEditor->hide();
    if (hadFocus)
        setFocus();
    update();
    return true;
}

void CMorvDialogKeyMapSettings::OnAreaClicked(const SkinRegion& area) {
    if (!FinishInProgress(area.id))
        return;
    Dispatch(area.id);
}

void CMorvDialogKeyMapSettings::Dispatch(int id) {
    const CListRows rows = RowsOfPage(Editing.Page());
    if (rows.count > 0 && id >= rows.names && id < rows.names + rows.count) {
        OnNameRow(id - rows.names);
        return;
    }
    if (rows.count > 0 && id >= rows.record && id < rows.record + rows.count) {
        OnRecordRow(id - rows.record);
        return;
    }
    if (id >= IdTabFirst && id <= IdTabLast) {
        ShowPage(id - IdTabFirst + 1);
        return;
    }
    const EditorPickRange picks = PickRangeOfPage(Editing.Page());
    if (id >= picks.first && id <= picks.last) {
        if (const SkinRegion* area = AreaById(id)) {
            Editing.ClickPick(Editing.Page(), area->code);
            update();
        }
        return;
    }
    switch (id) {
    case IdEditorClear:
        OnClear();
        return;
    case IdEditorOk:
        OnOk();
        return;
    case IdEditorCancel:
    case IdEditorClose:
        reject();
        return;
    case IdSingleMode:
    case IdComboMode:
        Editing.SwapMode();
        update();
        return;
    case IdRecordSingle:
        StartRecording(RecordingTarget::SingleKey);
        return;
    case IdRecordCombo:
        StartRecording(RecordingTarget::Combination);
        return;
    case IdRecordMacro:
        StartRecording(RecordingTarget::Macro);
        return;
    case IdRecordEmu:
        StartRecording(RecordingTarget::Emulation);
        return;
    case IdPlayTimes:
    case IdPlayWhileHeld:
    case IdPlayToggle:
        OnPlayMode(id);
        return;
    case IdFixedInterval:
        OnIntervalKind(true);
        return;
    case IdRecordedDelays:
        OnIntervalKind(false);
        return;
    case IdComboNew:
    case IdMacroNew:
    case IdEmuNew:
        OnNew();
        return;
    case IdComboDelete:
    case IdMacroRemove:
    case IdEmuRemove:
        OnDelete();
        return;
    default:
        return;
    }
}

void CMorvDialogKeyMapSettings::OnOk() {
    CommitNameEditor();
    Editing.Ok(Model);
    update();
    accept();
}

void CMorvDialogKeyMapSettings::OnClear() {
    Editing.Clear();
    if (Editing.Page() <= PageEmulate)
        ShowPage(Editing.Page());
    update();
}

void CMorvDialogKeyMapSettings::PrepareAreas() {
    const int page = Editing.Page();
    const int pick = Editing.Pick(page);
    const EditorPickRange picks = PickRangeOfPage(page);
    for (SkinRegion& area : Areas()) {
        if (area.id >= picks.first && area.id <= picks.last)
            area.active = area.code == pick;
    }
    const bool single = Editing.SingleMode();
    for (const auto& [id, on] :
         {std::pair{int(IdSingleMode), single}, std::pair{int(IdSingleModeLabel), single},
          std::pair{int(IdComboMode), !single}, std::pair{int(IdComboModeLabel), !single}}) {
        if (SkinRegion* area = AreaById(id))
            area->active = on;
    }
    if (SkinRegion* box = AreaById(IdSingleKeyBox)) {
        const std::string name =
            QString::fromStdU16String(Editing.SingleKey() >= 0 ? KeyLabel(Model, Editing.SingleKey(), false)
                                                               : std::u16string(NoKeyName))
                .toStdString();
        box->dataText = name;
    }
    const CListRows rows = RowsOfPage(page);
    for (const auto& [first, list] :
         {std::pair{rows.names, Editing.NamesOfPage(page)},
          std::pair{page == PageUniCombo ? 0 : rows.record, Editing.RecordOfPage(page)}}) {
        if (first <= 0 || list == nullptr)
            continue;
        for (int k = 0; k < rows.count; ++k) {
            SkinRegion* row = AreaById(first + k);
            const std::string text = QString::fromStdU16String(list->GetItemText(k)).toStdString();
            row->dataText = text;
            row->active = k == list->CursorPos;
        }
    }
    ShowMacroSettings();
    if (page == PageUniCombo) {
        const QString keys = Joined(Editing.ComboKeys);
        if (ComboKeysBox->toPlainText() != keys)
            ComboKeysBox->setPlainText(keys);
    }
}

void CMorvDialogKeyMapSettings::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    PrepareAreas();
    QPainter painter(this);
    PaintSkin(painter);
}

void CMorvDialogKeyMapSettings::PaintBeforeAreas(QPainter& painter) {
    for (const QLineEdit* edit : {RepeatEdit, IntervalEdit}) {
        if (edit->isVisible())
            SkinPlate::DrawTextField(painter, QRectF(edit->geometry()).adjusted(-2, -2, 2, 2));
    }
}

void CMorvDialogKeyMapSettings::HideTip() {
    TipDelay->stop();
    Tip->hide();
    TipArea = -1;
}

void CMorvDialogKeyMapSettings::UpdateTip(QPoint point) {
    // An icon of pages 4, 6 and 7 under the mouse that is not the pick tells its name.
    const SkinRegion* under = nullptr;
    for (const SkinRegion& area : Areas()) {
        if (AreaShown(area) && HasTip(area.id) && !area.active && area.rect.Contains(point.x(), point.y())) {
            under = &area;
            break;
        }
    }
    if (under == nullptr) {
        HideTip();
        return;
    }
    if (under->id == TipArea)
        return;
    HideTip();
    TipArea = under->id;
    Tip->setText(QString::fromUtf8(under->Tip(Language())));
    TipDelay->start();
}

void CMorvDialogKeyMapSettings::mouseMoveEvent(QMouseEvent* event) {
    CSkinWindow::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton)
        UpdateTip(event->position().toPoint());
}

void CMorvDialogKeyMapSettings::leaveEvent(QEvent* event) {
    HideTip();
    CSkinWindow::leaveEvent(event);
}

bool CMorvDialogKeyMapSettings::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && !OwnKeys) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == NameEditor)
                CommitNameEditor();
            return true;
        }
    }
    return CSkinWindow::eventFilter(watched, event);
}

void CMorvDialogKeyMapSettings::keyReleaseEvent(QKeyEvent* event) {
    if (!CaptureOwnKey(event, true))
        CSkinWindow::keyReleaseEvent(event);
}

void CMorvDialogKeyMapSettings::keyPressEvent(QKeyEvent* event) {
    if (CaptureOwnKey(event, false))
        return;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Enter and Escape close the editor without touching the model (the edits keep their Enter).
    if (enter || event->key() == Qt::Key_Escape) {
        event->accept();
        reject();
        return;
    }
    CSkinWindow::keyPressEvent(event);
}

void CMorvDialogKeyMapSettings::done(int result) {
    StopRecording();
    HideTip();
    CSkinWindow::done(result);
}

void RunKeyMapSettings(QWidget* owner, CKeyboardData& data, const CSkinResources& resources) {
    CMorvDialogKeyMapSettings dialog(data, resources, owner);
    dialog.exec();
}
