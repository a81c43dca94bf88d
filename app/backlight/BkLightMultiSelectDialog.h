// The multi-key selection dialog CMorvDialogBkLightMultiSelect: the user clicks keys to select or
// deselect them, then picks one colour. Selection and colour go back to the backlight settings
// dialog through LightSelection and ChosenColour of the model; the colours shown come from
// LightSnapshot.
#pragma once

#include "backlight/BacklightAreas.h"
#include "model/KeyboardData.h"
#include "skin/SkinWindow.h"

#include <array>

class CMorvDialogBkLightMultiSelect : public CSkinWindow {
    Q_OBJECT

public:
    // Ends with Accepted once a colour has been chosen, with Rejected when closed.
    CMorvDialogBkLightMultiSelect(CKeyboardData& data, const CSkinResources& resources,
                                  QWidget* parent = nullptr);

protected:
    // Labels take clicks too: the title closes, the Set Color caption opens the colour dialog.
    bool TakesClick(const SkinRegion& area) const override { return AreaShown(area); }

public:
    // Keys are check boxes, checked when chosen.
    SkinAreaSpeech AreaSpeech(const SkinRegion& area) const override {
        SkinAreaSpeech speech = CSkinWindow::AreaSpeech(area);
        if (area.keyIndex >= 1) {
            speech.role = SkinAreaSpeech::Role::CheckBox;
            speech.checked = area.active;
        }
        return speech;
    }
    int CloseBoxId() const override { return BkIdClose; }

protected:
    void OnAreaClicked(const SkinRegion& area) override;
    void PaintBeforeAreas(QPainter& painter) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void OnKey(int keyIndex);
    void OnSetColour();

    CKeyboardData& Model;
    std::array<AreaLight, KeyIndexCount> Colours{};
};
