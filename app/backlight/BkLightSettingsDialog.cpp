#include "backlight/BkLightSettingsDialog.h"

#include "backlight/BacklightAreas.h"
#include "backlight/BkLightMultiSelectDialog.h"
#include "backlight/LightFrames.h"
#include "device_ui/ProgressDialog.h"
#include "shell/MainWindow.h"

#include <QMouseEvent>
#include <QPainter>

static_assert(BacklightRecordCount == KeyIndexCount);

CMorvDialogBkLightSettings::CMorvDialogBkLightSettings(CKeyboardData& data, const CSkinResources& resources,
                                                       QWidget* parent)
    : CSkinWindow(resources, data.UiLanguage, {BkLightSettingsPicture, 0, 0},
                  BkLightSettingsTransparentColour, BkLightSettingsAreaCount, parent),
      Model(data), Working(data.BackgroundLightSettings), AskColour(SystemColourPrompt()) {
    OpenSkin();
    Areas() = BkLightSettingsAreas();
    for (const SkinRegion& area : Areas()) {
        if (area.id == BkIdClose && area.labelOnly)
            setWindowTitle(QString::fromUtf8(area.Caption(Language())));
    }
}

void CMorvDialogBkLightSettings::SetColourPrompt(CColourPrompt prompt) {
    AskColour = std::move(prompt);
}

void CMorvDialogBkLightSettings::OnAreaClicked(const SkinRegion& area) {
    if (area.id > BkIdKeyBase && area.keyIndex >= 1 && area.keyIndex <= BacklightKeyCount) {
        OnKey(area.keyIndex);
        return;
    }
    switch (area.id) {
    case BkIdClose:
    case BkIdCancel:
        reject();
        return;
    case BkIdDefault:
        OnDefault();
        return;
    case BkIdWrite:
        OnWrite();
        return;
    case BkIdOk:
        OnOk();
        return;
    case BkIdSetAll:
        OnSetAll();
        return;
    case BkIdMultiKey:
        OnMultiKey();
        return;
    default:
        return;
    }
}

void CMorvDialogBkLightSettings::OnKey(int keyIndex) {
    AreaLight& light = Working[static_cast<std::size_t>(keyIndex)];
    const std::optional<AreaLight> chosen = AskColour(this, light);
    if (!chosen || (chosen->Red == light.Red && chosen->Green == light.Green && chosen->Blue == light.Blue))
        return;
    light = *chosen;
    update();
}

void CMorvDialogBkLightSettings::OnDefault() {
    Working.fill(AreaLight{});
    update();
}

void CMorvDialogBkLightSettings::OnWrite() {
    Model.BackgroundLightSettings = Working;
    // The progress dialog tells the user how the write ended; the colours stay stored either way.
    RunDeviceOperation(this, Model, OperationWriteLight);
    // Unless the program ended this dialog meanwhile, which then reports neither OK nor Cancel.
    if (isVisible())
        accept();
}

void CMorvDialogBkLightSettings::OnOk() {
    Model.BackgroundLightSettings = Working;
    accept();
}

void CMorvDialogBkLightSettings::OnSetAll() {
    const std::optional<AreaLight> chosen = AskColour(this, AreaLight{});
    if (!chosen)
        return;
    Working.fill(*chosen);
    update();
}

void CMorvDialogBkLightSettings::OnMultiKey() {
    Model.LightSelection.fill(0);
    Model.LightSnapshot = Working;
    CMorvDialogBkLightMultiSelect selection(Model, Resources(), AskColour, this);
    if (selection.exec() == QDialog::Accepted) {
        for (std::size_t key = 0; key < Working.size(); ++key) {
            if (Model.LightSelection[key] != 0)
                Working[key] = Model.ChosenColour;
        }
    }
    update();
}

void CMorvDialogBkLightSettings::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    PaintBackground(painter);
    for (const SkinRegion& area : Areas()) {
        if (area.id > 0 && area.keyIndex >= 1 && area.keyIndex <= BacklightKeyCount)
            PaintKeyFrame(painter, area.rect, LightColour(Working[static_cast<std::size_t>(area.keyIndex)]));
    }
    for (const SkinRegion& area : Areas()) {
        if (area.id > 0 && DrawsCaption(area))
            PaintCaption(painter, area);
    }
}

void CMorvDialogBkLightSettings::mouseMoveEvent(QMouseEvent* event) {
    CSkinWindow::mouseMoveEvent(event);
    // The picture has no hover look: the pointer alone shows what takes a click.
    if (event->buttons() == Qt::NoButton && ClickedArea(event->position().toPoint()) != nullptr)
        setCursor(Qt::PointingHandCursor);
}

void RunBacklightSettings(CMorvDlg& owner) {
    CMorvDialogBkLightSettings dialog(owner.Data(), owner.Resources(), &owner);
    dialog.exec();
}
