#include "editor/KeyMapSettingsDialog.h"

#include "catalogue/KeyCatalogue.h"
#include "editor/EditorAreas.h"
#include "shell/Prompts.h"
#include "shell/ScrollBarGeometry.h"
#include "shell/SkinScrollBar.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QTimer>

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
    for (QLineEdit* edit : {RepeatEdit, IntervalEdit})
        edit->setValidator(digits);
    NameEditor = AddLineBox({}, IdNameEditor);
    NameEditor->setAlignment(Qt::AlignCenter);
    NameEditor->hide();
    // Enter and the loss of focus commit it.
    connect(NameEditor, &QLineEdit::editingFinished, this, [this] { CommitNameEditor(); });
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

void CMorvDialogKeyMapSettings::SetScrollRange(CSkinScrollBar* bar, const CActionList& list) {
    ScrollInfo info;
    info.mask = ScrollInfoRange | ScrollInfoPage | ScrollInfoPosition;
    info.minimum = 0;
    info.page = list.SizeOfView;
    info.maximum = list.Count() + list.SizeOfView - 1;
    info.position = 0;
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
    const CActionList* names = shown == PageUniCombo  ? &Editing.ComboNames
                               : shown == PageMacro   ? &Editing.MacroNames
                               : shown == PageEmulate ? &Editing.EmuNames
                                                      : nullptr;
    const CActionList* record = shown == PageMacro     ? &Editing.MacroSteps
                                : shown == PageEmulate ? &Editing.EmuKeys
                                                       : nullptr;
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
        SetScrollRange(bar, *list);
        bar->show();
    }
    update();
}

bool CMorvDialogKeyMapSettings::FinishInProgress(int clickedId) {
    if (CommitNameEditor())
        return clickedId == IdEditorOk || clickedId == IdEditorCancel;
    return true;
}

void CMorvDialogKeyMapSettings::UpdateScrollRanges() {
    const int page = Editing.Page();
    if (CActionList* names = Editing.NamesOfPage(page); names != nullptr && NamesBar->isVisible())
        SetScrollRange(NamesBar, *names);
    if (CActionList* record = Editing.RecordOfPage(page); record != nullptr && RecordBar->isVisible())
        SetScrollRange(RecordBar, *record);
}

void CMorvDialogKeyMapSettings::OnScroll(CSkinScrollBar* bar, int notification, int position) {
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
    if (bar == NamesBar)
        Editing.ScrollNames(page, moved);
    else
        Editing.ScrollRecord(page, moved);
    update();
}

void CMorvDialogKeyMapSettings::OnNameRow(int row) {
    const int page = Editing.Page();
    if (page == PageUniCombo && !Editing.ListsInUse(page))
        return;
    if (Editing.ClickNameRow(page, row)) {
        const CActionList& names = *Editing.NamesOfPage(page);
        OpenNameEditor(RowsOfPage(page).names + row, names.GetItemText(row));
        return;
    }
    UpdateScrollRanges();
    update();
}

void CMorvDialogKeyMapSettings::OnRecordRow(int row) {
    Editing.ClickRecordRow(Editing.Page(), row);
    update();
}

void CMorvDialogKeyMapSettings::OnNew() {
    const int page = Editing.Page();
    if (!Editing.ListsInUse(page))
        return;
    const std::u16string proposed = Editing.NewEntry(page, Language());
    UpdateScrollRanges();
    update();
    OpenNameEditor(RowsOfPage(page).names + Editing.NamesOfPage(page)->CursorPos, proposed);
}

void CMorvDialogKeyMapSettings::OnDelete() {
    const int page = Editing.Page();
    if (!Editing.ListsInUse(page))
        return;
    Editing.DeleteEntry(page);
    UpdateScrollRanges();
    update();
}

void CMorvDialogKeyMapSettings::OpenNameEditor(int rowId, const std::u16string& text) {
    const SkinRegion* row = AreaById(rowId);
    if (row == nullptr)
        return;
    NameEditor->setGeometry(ToQRect(row->rect));
    NameEditor->setText(QString::fromStdU16String(text));
    NameEditor->setEnabled(true);
    NameEditor->show();
    NameEditor->setFocus();
    NameEditor->selectAll();
    RenamedRow = rowId;
}

bool CMorvDialogKeyMapSettings::CommitNameEditor() {
    if (RenamedRow < 0)
        return false;
    const int page = Editing.Page();
    const int row = RenamedRow - RowsOfPage(page).names;
    RenamedRow = -1;
    if (row >= 0 && row < RowsOfPage(page).count)
        Editing.RenameEntry(page, row, NameEditor->text().toStdU16String());
    NameEditor->setEnabled(false);
    NameEditor->hide();
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
        box->captions = {{"zh-CN", name}, {"en-US", name}};
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
            row->captions = {{"zh-CN", text}, {"en-US", text}};
            row->active = k == list->CursorPos && list->ViewStartAt + k < list->Count();
        }
    }
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

void CMorvDialogKeyMapSettings::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && RenamedRow >= 0) {
        CommitNameEditor();
        event->accept();
        return;
    }
    if (enter && (focusWidget() == RepeatEdit || focusWidget() == IntervalEdit)) {
        event->accept();
        return;
    }
    // Enter and Escape close the editor without touching the model.
    if (enter || event->key() == Qt::Key_Escape) {
        event->accept();
        reject();
        return;
    }
    CSkinWindow::keyPressEvent(event);
}

void CMorvDialogKeyMapSettings::done(int result) {
    HideTip();
    CSkinWindow::done(result);
}

void RunKeyMapSettings(QWidget* owner, CKeyboardData& data, const CSkinResources& resources) {
    CMorvDialogKeyMapSettings dialog(data, resources, owner);
    dialog.exec();
}
