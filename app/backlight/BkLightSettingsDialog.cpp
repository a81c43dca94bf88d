#include "backlight/BkLightSettingsDialog.h"

#include "backlight/BacklightAreas.h"
#include "backlight/BkLightMultiSelectDialog.h"
#include "backlight/LightFrames.h"
#include "device_ui/ProgressDialog.h"
#include "skin/Prompts.h"

#include <QMouseEvent>
#include <QPainter>

static_assert(BacklightRecordCount == KeyIndexCount);

CMorvDialogBkLightSettings::CMorvDialogBkLightSettings(CKeyboardData& data, const CSkinResources& resources,
                                                       QWidget* parent)
    : CSkinWindow(resources, data.UiLanguage, {BkLightSettingsPicture, 0, 0},
                  BkLightSettingsTransparentColour, BkLightSettingsAreaCount, parent),
      Model(data), Working(data.BackgroundLightSettings) {
    OpenSkin();
    Areas() = BkLightSettingsAreas();
    for (const SkinRegion& area : Areas()) {
        if (area.id == BkIdClose && area.labelOnly)
            setWindowTitle(QString::fromUtf8(area.Caption(Language())));
    }
}

void CMorvDialogBkLightSettings::OnAreaClicked(const SkinRegion& area) {
    if (area.id > BkIdKeyBase && area.keyIndex >= 1 && area.keyIndex <= KeyCount) {
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
    const std::optional<AreaLight> chosen = Prompts().AskColour(this, light);
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
    const std::optional<AreaLight> chosen = Prompts().AskColour(this, AreaLight{});
    if (!chosen)
        return;
    Working.fill(*chosen);
    update();
}

void CMorvDialogBkLightSettings::OnMultiKey() {
    Model.LightSelection.fill(0);
    Model.LightSnapshot = Working;
    CMorvDialogBkLightMultiSelect selection(Model, Resources(), this);
    if (selection.exec() == QDialog::Accepted) {
        for (std::size_t key = 0; key < Working.size(); ++key) {
            if (Model.LightSelection[key] != 0)
                Working[key] = Model.ChosenColour;
        }
    }
    update();
}

void CMorvDialogBkLightSettings::PaintBeforeAreas(QPainter& painter) {
    for (const SkinRegion& area : Areas()) {
        if (AreaShown(area) && area.keyIndex >= 1 && area.keyIndex <= KeyCount)
            PaintKeyFrame(painter, area.rect, LightColour(Working[static_cast<std::size_t>(area.keyIndex)]));
    }
}

void CMorvDialogBkLightSettings::mouseMoveEvent(QMouseEvent* event) {
    CSkinWindow::mouseMoveEvent(event);
    // The picture has no hover look: the pointer alone shows what takes a click.
    if (event->buttons() == Qt::NoButton && ClickedArea(event->position().toPoint()) != nullptr)
        setCursor(Qt::PointingHandCursor);
}

void RunBacklightSettings(QWidget* owner, CKeyboardData& data, const CSkinResources& resources) {
    CMorvDialogBkLightSettings dialog(data, resources, owner);
    dialog.exec();
}

SkinAreaSpeech CMorvDialogBkLightSettings::AreaSpeech(const SkinRegion& area) const {
    SkinAreaSpeech speech = CSkinWindow::AreaSpeech(area);
    if (area.keyIndex >= 1 && area.keyIndex <= KeyCount) {
        const QColor colour = LightColour(Working[static_cast<std::size_t>(area.keyIndex)]);
        speech.description =
            QStringLiteral("RGB %1, %2, %3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
    }
    return speech;
}
