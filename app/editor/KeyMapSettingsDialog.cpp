#include "editor/KeyMapSettingsDialog.h"

#include "catalogue/ContentItem.h"
#include "catalogue/KeyCatalogue.h"
#include "editor/EditorAreas.h"
#include "editor/EditorPages.h"
#include "editor/MacroSettings.h"
#include "skin/Prompts.h"
#include "skin/ScrollBarGeometry.h"
#include "skin/SkinPlate.h"
#include "skin/SkinRectQt.h"
#include "skin/SkinScrollBar.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <utility>

namespace {

SkinPictures PicturesOfPage(int page) {
    const EditorPageRow& row = EditorPageRowOf(page);
    return {row.background, row.hover, row.active};
}

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

// The groups of areas the arrows move within.
enum FocusGroup : int { FocusGroupTabs = 1, FocusGroupPicks, FocusGroupNames, FocusGroupRecord };

} // namespace

CMorvDialogKeyMapSettings::CMorvDialogKeyMapSettings(CKeyboardData& data, const CSkinResources& resources,
                                                     QWidget* parent)
    : CSkinWindow(resources, data.UiLanguage, PicturesOfPage(1), EditorTransparentColour, EditorAreaCount,
                  parent),
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
    NameEditor = std::make_unique<CRowNameEditor>(AddLineBox({}, IdNameEditor));
    // Enter and the loss of focus commit it.
    connect(NameEditor->Box(), &QLineEdit::editingFinished, this, [this] { CommitNameEditor(); });
    for (QLineEdit* edit : {RepeatEdit, IntervalEdit, NameEditor->Box()})
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

    Tip = new CAreaTip(this);

    Editing.Open(Model);
    EditSteps.Reset(Editing);
    ShowPage(Editing.Page());
    // The editor opens with the focus on itself, not on the first control that takes Tab.
    setFocus();
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
    return Tip->Shown();
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
    Tip->Hide();
    const EditorPageRow& shown = EditorPageRowOf(Editing.Page());
    const bool repeat = shown.repeatEdit != EditorRepeatEdit::None;
    RepeatEdit->setVisible(repeat);
    RepeatEdit->setEnabled(repeat);
    IntervalEdit->setVisible(shown.intervalEdit);
    IntervalEdit->setEnabled(false);
    ComboKeysBox->setVisible(shown.comboKeysBox);
    ComboKeysBox->setEnabled(shown.comboKeysBox);
    const CActionList* names = Editing.NamesOfPage(shown.page);
    const CActionList* record = Editing.RecordOfPage(shown.page);
    const QPixmap* strip = Resources().Picture(ScrollBarStripPicture);
    for (const auto& [bar, place, list] :
         {std::tuple{NamesBar, shown.namesBar, names}, std::tuple{RecordBar, shown.recordBar, record}}) {
        if (list == nullptr || place.Width() <= 0) {
            bar->hide();
            continue;
        }
        bar->setGeometry(ToQRect(place));
        bar->AttachSkin(strip);
        SetScrollRange(bar, *list, true);
        bar->show();
    }
    // The controls are named for assistive technology by the captions beside them.
    const auto text = [this](TextId id) { return UiText(Language(), id); };
    const TextId listName = shown.page == PageMacro     ? TextId::MacroList
                            : shown.page == PageEmulate ? TextId::EmuList
                                                        : TextId::ComboList;
    RepeatEdit->setAccessibleName(
        text(shown.repeatEdit == EditorRepeatEdit::MacroCycles ? TextId::TimesPlay : TextId::Delay));
    IntervalEdit->setAccessibleName(text(TextId::AutoDelay));
    NameEditor->Box()->setAccessibleName(text(listName));
    ComboKeysBox->setAccessibleName(text(TextId::RecordList));
    NamesBar->setAccessibleName(text(listName));
    RecordBar->setAccessibleName(text(TextId::RecordList));
    PrepareAreas();
    update();
    TellAreasChanged(true);
}

void CMorvDialogKeyMapSettings::StepPage(int step) {
    const int page = (Editing.Page() - 1 + step + EditorPageCount) % EditorPageCount + 1;
    if (!FinishInProgress(IdTabFirst + page - 1))
        return;
    ShowPage(page);
    // The focus goes to the new page's tab, so that a screen reader says which page is shown.
    setFocus(Qt::OtherFocusReason);
    if (const SkinRegion* tab = AreaById(IdTabFirst + page - 1))
        SetFocusedArea(static_cast<int>(tab - Areas().data()));
}

bool CMorvDialogKeyMapSettings::AreaFocusable(const SkinRegion& area) const {
    if (area.id == IdPromptFrame || area.id == IdIntervalFrame)
        return false;
    if (area.listRow && area.dataText.empty())
        return false;
    return CSkinWindow::AreaFocusable(area);
}

int CMorvDialogKeyMapSettings::AreaFocusGroup(const SkinRegion& area) const {
    const EditorPageRow& shown = EditorPageRowOf(Editing.Page());
    if (area.id >= IdTabFirst && area.id <= IdTabLast)
        return FocusGroupTabs;
    if (shown.Picks(area.id))
        return FocusGroupPicks;
    if (shown.IsNameRow(area.id))
        return FocusGroupNames;
    if (shown.IsRecordRow(area.id))
        return FocusGroupRecord;
    return 0;
}

int CMorvDialogKeyMapSettings::GroupEntryArea(int group) const {
    const EditorPageRow& shown = EditorPageRowOf(Editing.Page());
    for (std::size_t i = 0; i < Areas().size(); ++i) {
        const SkinRegion& area = Areas()[i];
        if ((group == FocusGroupTabs && EditorPageOfTab(area.id) == shown.page) ||
            (group == FocusGroupPicks && shown.Picks(area.id) && area.code == Editing.Pick(shown.page)))
            return static_cast<int>(i);
    }
    return -1;
}

bool CMorvDialogKeyMapSettings::ScrollFocusGroup(int group, int notification) {
    const int page = Editing.Page();
    const EditorPageRow& shown = EditorPageRowOf(page);
    const bool names = group == FocusGroupNames;
    if (!names && (group != FocusGroupRecord || !shown.recordRowsShowText))
        return false;
    CSkinScrollBar* bar = names ? NamesBar : RecordBar;
    const CActionList* list = names ? Editing.NamesOfPage(page) : Editing.RecordOfPage(page);
    if (list == nullptr || !bar->isVisible() || FocusedArea() < 0)
        return false;
    // Past the rows shown, the keys select as the scroll bar does: the item beyond the focused one,
    // which comes into view with the focus on its row.
    const int firstRow = names ? shown.nameRows : shown.recordRows;
    const int focusedRow = Areas()[static_cast<std::size_t>(FocusedArea())].id - firstRow;
    const int step = notification == ScrollLineUp     ? -1
                     : notification == ScrollLineDown ? 1
                     : notification == ScrollPageUp   ? -list->SizeOfView
                                                      : list->SizeOfView;
    const int focusedItem = list->ViewStartAt + focusedRow;
    const int target = std::clamp(focusedItem + step, 0, std::max(0, list->Count() - 1));
    // At the list's ends there is nothing beyond: the selection stays where it is.
    if (target == focusedItem)
        return true;
    OnScroll(bar, ScrollThumbTrack, target);
    if (const SkinRegion* row = AreaById(firstRow + list->CursorPos))
        SetFocusedArea(static_cast<int>(row - Areas().data()));
    return true;
}

SkinAreaSpeech CMorvDialogKeyMapSettings::AreaSpeech(const SkinRegion& area) const {
    SkinAreaSpeech speech = CSkinWindow::AreaSpeech(area);
    const EditorPageRow& shown = EditorPageRowOf(Editing.Page());
    if (const int page = EditorPageOfTab(area.id); page != 0) {
        speech.role = SkinAreaSpeech::Role::PageTab;
        speech.selected = page == Editing.Page();
    } else if (shown.Picks(area.id)) {
        speech.role = SkinAreaSpeech::Role::CheckBox;
        speech.checked = area.code == Editing.Pick(shown.page);
    } else if (area.id == IdSingleMode || area.id == IdComboMode || area.id == IdPlayTimes ||
               area.id == IdPlayWhileHeld || area.id == IdPlayToggle || area.id == IdFixedInterval ||
               area.id == IdRecordedDelays) {
        speech.role = SkinAreaSpeech::Role::RadioButton;
        speech.checked = area.active;
    } else if (shown.IsList() && (area.id == shown.newButton || area.id == shown.deleteButton)) {
        speech.unavailable = !Editing.ListsInUse(shown.page);
    }
    return speech;
}

int CMorvDialogKeyMapSettings::CloseBoxId() const {
    return IdEditorClose;
}

QString CMorvDialogKeyMapSettings::AccessibleWindowName() const {
    return UiText(Language(), TextId::KeySettingsTitle) + QLatin1Char(' ') + SpokenKeyName(Model.CurrentKey);
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
    Tip->Hide();
    const int delta = Recorder.Start(target, Editing);
    if (delta != 0)
        RecordBar->AdjustRange(delta);
    if (const EditorRecordPlace* place = EditorRecordPlaceOf(target)) {
        AreaById(place->button)->active = true;
        AreaById(place->recordLabel)->showText = false;
        AreaById(place->stopLabel)->showText = true;
    }
    Capture.Start(*this, MessageTarget());
    AreaById(IdOwnKeysNote)->showText = Capture.OwnKeysOnly();
    update();
}

void CMorvDialogKeyMapSettings::StopRecording() {
    const RecordingTarget target = Recorder.Target();
    if (target == RecordingTarget::None)
        return;
    Capture.Stop();
    AreaById(IdOwnKeysNote)->showText = false;
    Recorder.Stop(Editing);
    NoteEdit();
    if (const EditorRecordPlace* place = EditorRecordPlaceOf(target)) {
        AreaById(place->button)->active = false;
        AreaById(place->recordLabel)->showText = true;
        AreaById(place->stopLabel)->showText = false;
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

void CMorvDialogKeyMapSettings::OnPlayMode(int id) {
    CActionList& steps = Editing.MacroSteps;
    steps.PlayMode = id == IdPlayTimes ? 0 : id == IdPlayWhileHeld ? 1 : 2;
    RepeatEdit->setEnabled(steps.PlayMode == 0);
    if (steps.PlayMode == 0)
        RepeatEdit->setFocus();
    Editing.StoreRecord(Editing.Page());
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
    Editing.StoreRecord(Editing.Page());
    UpdateScrollRanges();
    update();
}

void CMorvDialogKeyMapSettings::OnRepeatEdited(const QString& text) {
    const int typed = LeadingNumber(text.toStdU16String());
    const EditorRepeatEdit holds = EditorPageRowOf(Editing.Page()).repeatEdit;
    if (holds == EditorRepeatEdit::MacroCycles) {
        const int cycles = MacroSettings::RepeatCount(typed);
        if (cycles != typed || text.isEmpty())
            RepeatEdit->setText(Number(cycles));
        Editing.MacroSteps.Cycles = cycles;
    } else if (holds == EditorRepeatEdit::EmulationInterval) {
        const int interval = MacroSettings::EmuInterval(typed);
        if (interval != typed)
            RepeatEdit->setText(Number(interval));
        Editing.EmuKeys.Delay = interval;
    }
    Editing.StoreRecord(Editing.Page());
    NoteEdit();
}

void CMorvDialogKeyMapSettings::OnIntervalEdited(const QString& text) {
    const int typed = LeadingNumber(text.toStdU16String());
    const int interval = MacroSettings::FixedInterval(typed);
    if (interval != typed)
        IntervalEdit->setText(Number(interval));
    Editing.MacroSteps.Delay = interval;
    Editing.StoreRecord(Editing.Page());
    NoteEdit();
}

void CMorvDialogKeyMapSettings::ShowMacroSettings() {
    const auto show = [](QLineEdit* edit, int value) {
        if (edit->text() != Number(value))
            edit->setText(Number(value));
    };
    const EditorRepeatEdit holds = EditorPageRowOf(Editing.Page()).repeatEdit;
    if (holds == EditorRepeatEdit::MacroCycles) {
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
    } else if (holds == EditorRepeatEdit::EmulationInterval) {
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
    Editing.StoreRecord(Editing.Page());
    NoteEdit();
    update();
}

void CMorvDialogKeyMapSettings::mouseReleaseEvent(QMouseEvent* event) {
    const EditorPageRow& shown = EditorPageRowOf(Editing.Page());
    if (event->button() == Qt::RightButton && shown.macroSteps) {
        const QPoint point = event->position().toPoint();
        const CActionList& steps = *Editing.RecordOfPage(shown.page);
        for (int row = 0; row < shown.rowCount; ++row) {
            const SkinRegion* area = AreaById(shown.recordRows + row);
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
    // The rows now show other items.
    TellAreasChanged();
}

void CMorvDialogKeyMapSettings::OnNameRow(int row) {
    const int page = Editing.Page();
    if (Editing.ClickNameRow(page, row)) {
        const CActionList& names = *Editing.NamesOfPage(page);
        OpenNameEditor(EditorPageRowOf(page).nameRows + row, CRowNameEditor::Purpose::Rename,
                       names.GetItemText(row));
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
    const EditorPageRow& shown = EditorPageRowOf(page);
    if (selected && shown.macroSteps) {
        const std::u16string item = Editing.RecordOfPage(page)->GetItemText(row);
        if (IsBracketedDelayItem(item))
            OpenNameEditor(shown.recordRows + row, CRowNameEditor::Purpose::Delay,
                           std::u16string(DelayNumberText(item)));
    }
}

void CMorvDialogKeyMapSettings::OnNew() {
    const int page = Editing.Page();
    if (!Editing.ListsInUse(page))
        return;
    const std::u16string proposed = Editing.NewEntry(page, Language());
    UpdateScrollRanges();
    update();
    OpenNameEditor(EditorPageRowOf(page).nameRows + Editing.NamesOfPage(page)->CursorPos,
                   CRowNameEditor::Purpose::Rename, proposed);
}

void CMorvDialogKeyMapSettings::OnDelete() {
    const int page = Editing.Page();
    if (!Editing.ListsInUse(page))
        return;
    Editing.DeleteEntry(page);
    UpdateScrollRanges();
    update();
}

void CMorvDialogKeyMapSettings::OpenNameEditor(int rowId, CRowNameEditor::Purpose purpose,
                                               const std::u16string& text) {
    const SkinRegion* row = AreaById(rowId);
    const EditorPageRow& shown = EditorPageRowOf(Editing.Page());
    const bool delay = purpose == CRowNameEditor::Purpose::Delay;
    const CActionList* list = delay ? Editing.RecordOfPage(shown.page) : Editing.NamesOfPage(shown.page);
    if (row == nullptr || list == nullptr)
        return;
    const int item = list->ViewStartAt + rowId - (delay ? shown.recordRows : shown.nameRows);
    NameEditor->Open(ToQRect(row->rect), purpose, item, text);
}

bool CMorvDialogKeyMapSettings::CommitNameEditor() {
    const std::optional<CRowNameEditor::CTyped> typed = NameEditor->Commit(this);
    if (!typed)
        return false;
    if (typed->purpose == CRowNameEditor::Purpose::Delay) {
        MacroSettings::SetDelay(*Editing.RecordOfPage(Editing.Page()), typed->item, typed->text);
        Editing.StoreRecord(Editing.Page());
    } else {
        Editing.RenameEntry(Editing.Page(), typed->item, typed->text);
    }
    NoteEdit();
    update();
    return true;
}

void CMorvDialogKeyMapSettings::OnAreaClicked(const SkinRegion& area) {
    if (!FinishInProgress(area.id))
        return;
    Dispatch(area.id);
}

void CMorvDialogKeyMapSettings::Dispatch(int id) {
    RunArea(id);
    NoteEdit();
}

void CMorvDialogKeyMapSettings::NoteEdit() {
    // A recording is one step, noted when it stops; a new entry with its name is one, noted when the
    // name is committed.
    if (Recorder.Target() == RecordingTarget::None && !NameEditor->IsOpen())
        EditSteps.Note(Editing);
}

void CMorvDialogKeyMapSettings::UndoEdit() {
    CommitNameEditor();
    NoteEdit();
    if (EditSteps.Undo(Editing))
        ShowRestoredEdit();
}

void CMorvDialogKeyMapSettings::RedoEdit() {
    CommitNameEditor();
    NoteEdit();
    if (EditSteps.Redo(Editing))
        ShowRestoredEdit();
}

void CMorvDialogKeyMapSettings::ShowRestoredEdit() {
    ShowPage(Editing.Page());
    ShowMacroSettings();
    update();
    TellAreasChanged();
}

void CMorvDialogKeyMapSettings::RunArea(int id) {
    const EditorPageRow& shown = EditorPageRowOf(Editing.Page());
    if (shown.IsNameRow(id)) {
        OnNameRow(id - shown.nameRows);
        return;
    }
    if (shown.IsRecordRow(id)) {
        OnRecordRow(id - shown.recordRows);
        return;
    }
    if (const int page = EditorPageOfTab(id); page != 0) {
        ShowPage(page);
        return;
    }
    if (shown.Picks(id)) {
        if (const SkinRegion* area = AreaById(id)) {
            Editing.ClickPick(shown.page, area->code);
            update();
        }
        return;
    }
    for (const EditorRecordPlace& place : shown.recordings) {
        if (place.target != RecordingTarget::None && place.button == id) {
            StartRecording(place.target);
            return;
        }
    }
    if (shown.IsList() && id == shown.newButton) {
        OnNew();
        return;
    }
    if (shown.IsList() && id == shown.deleteButton) {
        OnDelete();
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
    if (EditorPageRowOf(Editing.Page()).IsList())
        ShowPage(Editing.Page());
    update();
}

void CMorvDialogKeyMapSettings::PrepareAreas() {
    const EditorPageRow& shown = EditorPageRowOf(Editing.Page());
    const int pick = Editing.Pick(shown.page);
    for (SkinRegion& area : Areas()) {
        if (shown.Picks(area.id))
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
    if (shown.IsList()) {
        for (const auto& [first, list] :
             {std::pair{shown.nameRows, Editing.NamesOfPage(shown.page)},
              std::pair{shown.recordRowsShowText ? shown.recordRows : 0, Editing.RecordOfPage(shown.page)}}) {
            if (first <= 0)
                continue;
            for (int k = 0; k < shown.rowCount; ++k) {
                SkinRegion* row = AreaById(first + k);
                const std::string text = QString::fromStdU16String(list->GetItemText(k)).toStdString();
                row->dataText = text;
                row->active = k == list->CursorPos;
            }
        }
    }
    ShowMacroSettings();
    if (shown.comboKeysBox) {
        const QString keys = Joined(*Editing.RecordOfPage(shown.page));
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

void CMorvDialogKeyMapSettings::UpdateTip(QPoint point) {
    // An icon of a page with tips under the mouse that is not the pick tells its name.
    const EditorPageRow& shown = EditorPageRowOf(Editing.Page());
    for (const SkinRegion& area : Areas()) {
        if (shown.pickTips && shown.Picks(area.id) && AreaShown(area) && !area.active &&
            area.rect.Contains(point.x(), point.y())) {
            Tip->Point(area.id, QString::fromUtf8(area.Tip(Language())));
            return;
        }
    }
    Tip->Hide();
}

void CMorvDialogKeyMapSettings::mouseMoveEvent(QMouseEvent* event) {
    CSkinWindow::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton)
        UpdateTip(event->position().toPoint());
}

void CMorvDialogKeyMapSettings::leaveEvent(QEvent* event) {
    Tip->Hide();
    CSkinWindow::leaveEvent(event);
}

bool CMorvDialogKeyMapSettings::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && !Capture.Running()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == NameEditor->Box())
                CommitNameEditor();
            return true;
        }
    }
    return CSkinWindow::eventFilter(watched, event);
}

void CMorvDialogKeyMapSettings::keyReleaseEvent(QKeyEvent* event) {
    if (!Capture.OfferKey(*event, true,
                          [this](std::uintptr_t wParam, std::intptr_t lParam) { OnHookKey(wParam, lParam); }))
        CSkinWindow::keyReleaseEvent(event);
}

void CMorvDialogKeyMapSettings::keyPressEvent(QKeyEvent* event) {
    if (Capture.OfferKey(*event, false,
                         [this](std::uintptr_t wParam, std::intptr_t lParam) { OnHookKey(wParam, lParam); }))
        return;
    const int key = event->key();
    if ((event->modifiers() & Qt::ControlModifier) && !FocusKeysPaused()) {
        const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
        if (key == Qt::Key_Z || key == Qt::Key_Y) {
            event->accept();
            if (key == Qt::Key_Z && !shift)
                UndoEdit();
            else
                RedoEdit();
            return;
        }
        int step = 0;
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            step = shift || key == Qt::Key_Backtab ? -1 : 1;
        else if (key == Qt::Key_PageDown)
            step = 1;
        else if (key == Qt::Key_PageUp)
            step = -1;
        if (step != 0) {
            event->accept();
            StepPage(step);
            return;
        }
    }
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    // Enter or Space on the focused area is its click.
    if ((enter || key == Qt::Key_Space) && !FocusKeysPaused() && hasFocus() && FocusedArea() >= 0 &&
        AreaFocusable(Areas()[static_cast<std::size_t>(FocusedArea())])) {
        CSkinWindow::keyPressEvent(event);
        return;
    }
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
    Tip->Hide();
    CSkinWindow::done(result);
}

void RunKeyMapSettings(QWidget* owner, CKeyboardData& data, const CSkinResources& resources) {
    CMorvDialogKeyMapSettings dialog(data, resources, owner);
    dialog.exec();
}
