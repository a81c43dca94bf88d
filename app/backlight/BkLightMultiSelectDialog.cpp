#include "backlight/BkLightMultiSelectDialog.h"

#include "backlight/BacklightAreas.h"
#include "backlight/LightFrames.h"

#include <QMouseEvent>
#include <QPainter>

CMorvDialogBkLightMultiSelect::CMorvDialogBkLightMultiSelect(CKeyboardData& data,
                                                             const CSkinResources& resources,
                                                             CColourPrompt askColour, QWidget* parent)
    : CSkinWindow(resources, data.UiLanguage, {BkLightMultiSelectPicture, 0, BkLightMultiSelectActivePicture},
                  BkLightMultiSelectTransparentColour, BkLightMultiSelectAreaCount, parent),
      Model(data), Colours(data.LightSnapshot), AskColour(std::move(askColour)) {
    OpenSkin();
    Areas() = BkLightMultiSelectAreas();
    for (const SkinRegion& area : Areas()) {
        if (area.id == BkIdClose && area.labelOnly)
            setWindowTitle(QString::fromUtf8(area.Caption(Language())));
    }
}

void CMorvDialogBkLightMultiSelect::OnAreaClicked(const SkinRegion& area) {
    if (area.id > BkIdKeyBase && area.keyIndex >= 1 && area.keyIndex <= BacklightKeyCount) {
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
    const std::optional<AreaLight> chosen = AskColour(this, AreaLight{});
    if (!chosen)
        return;
    Model.ChosenColour = *chosen;
    accept();
}

void CMorvDialogBkLightMultiSelect::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    PaintBackground(painter);
    for (const SkinRegion& area : Areas()) {
        if (area.id > 0 && area.keyIndex >= 1 && area.keyIndex <= BacklightKeyCount) {
            const AreaLight& light = Colours[static_cast<std::size_t>(area.keyIndex)];
            PaintKeyFrame(painter, area.rect, LightColourShownOn(light, BkLightMultiSelectTransparentColour));
        }
    }
    for (const SkinRegion& area : Areas()) {
        if (area.id > 0 && area.active)
            PaintAreaState(painter, area);
    }
    for (const SkinRegion& area : Areas()) {
        if (area.id > 0 && DrawsCaption(area))
            PaintCaption(painter, area);
    }
}

void CMorvDialogBkLightMultiSelect::mouseMoveEvent(QMouseEvent* event) {
    CSkinWindow::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton && ClickedArea(event->position().toPoint()) != nullptr)
        setCursor(Qt::PointingHandCursor);
}
