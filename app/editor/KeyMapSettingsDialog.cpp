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

CMorvDialogKeyMapSettings::~CMorvDialogKeyMapSettings() = default;

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
    Q_UNUSED(clickedId);
    return true;
}

void CMorvDialogKeyMapSettings::OnAreaClicked(const SkinRegion& area) {
    if (!FinishInProgress(area.id))
        return;
    Dispatch(area.id);
}

void CMorvDialogKeyMapSettings::Dispatch(int id) {
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
    default:
        return;
    }
}

void CMorvDialogKeyMapSettings::OnOk() {
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
