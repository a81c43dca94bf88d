#include "backlight/BkLightMultiSelectDialog.h"

#include "backlight/BacklightAreas.h"
#include "backlight/LightFrames.h"
#include "skin/Prompts.h"

#include <QMouseEvent>
#include <QPainter>

CMorvDialogBkLightMultiSelect::CMorvDialogBkLightMultiSelect(CKeyboardData& data,
                                                             const CSkinResources& resources, QWidget* parent)
    : CSkinWindow(resources, data.UiLanguage, {BkLightMultiSelectPicture, 0, BkLightMultiSelectActivePicture},
                  BkLightMultiSelectTransparentColour, BkLightMultiSelectAreaCount, parent),
      Model(data), Colours(data.LightSnapshot) {
    OpenSkin();
    Areas() = BkLightMultiSelectAreas();
    for (const SkinRegion& area : Areas()) {
        if (area.id == BkIdClose && area.labelOnly)
            setWindowTitle(QString::fromUtf8(area.Caption(Language())));
    }
}

void CMorvDialogBkLightMultiSelect::OnAreaClicked(const SkinRegion& area) {
    if (area.id > BkIdKeyBase && area.keyIndex >= 1 && area.keyIndex <= KeyCount) {
        OnKey(area.keyIndex);
        return;
    }
    if (area.id == BkIdClose)
        reject();
    else if (area.id == BkIdSetColour)
        OnSetColour();
}

void CMorvDialogBkLightMultiSelect::OnKey(int keyIndex) {
    SkinRegion* key = AreaById(BkIdKeyBase + keyIndex);
    key->active = !key->active;
    Model.LightSelection[static_cast<std::size_t>(keyIndex)] = key->active ? 1 : 0;
    update();
}

void CMorvDialogBkLightMultiSelect::OnSetColour() {
    const std::optional<AreaLight> chosen = Prompts().AskColour(this, AreaLight{});
    if (!chosen)
        return;
    Model.ChosenColour = *chosen;
    accept();
}

void CMorvDialogBkLightMultiSelect::PaintBeforeAreas(QPainter& painter) {
    for (const SkinRegion& area : Areas()) {
        if (AreaShown(area) && area.keyIndex >= 1 && area.keyIndex <= KeyCount) {
            const AreaLight& light = Colours[static_cast<std::size_t>(area.keyIndex)];
            PaintKeyFrame(painter, area.rect, LightColourShownOn(light, BkLightMultiSelectTransparentColour));
        }
    }
}

void CMorvDialogBkLightMultiSelect::mouseMoveEvent(QMouseEvent* event) {
    CSkinWindow::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton && ClickedArea(event->position().toPoint()) != nullptr)
        setCursor(Qt::PointingHandCursor);
}
