// The backlight settings dialog CMorvDialogBkLightSettings: the keyboard with a colour frame around
// every key. The user gives one key, every key or a chosen set of keys a colour on a working copy of
// the colours; OK stores the copy in the model, Write stores it and sends it to the keyboard, Cancel
// drops it.
#pragma once

#include "backlight/BacklightAreas.h"
#include "model/KeyboardData.h"
#include "skin/SkinWindow.h"

#include <array>

class CMorvDialogBkLightSettings : public CSkinWindow {
    Q_OBJECT

public:
    using LightRecords = std::array<AreaLight, KeyIndexCount>;

    CMorvDialogBkLightSettings(CKeyboardData& data, const CSkinResources& resources,
                               QWidget* parent = nullptr);

    const LightRecords& WorkingCopy() const { return Working; }

    // Keys are described by their colour in the working copy.
    SkinAreaSpeech AreaSpeech(const SkinRegion& area) const override;
    int CloseBoxId() const override { return BkIdClose; }

protected:
    // Labels take clicks too: the title closes the dialog, like the close button.
    bool TakesClick(const SkinRegion& area) const override { return AreaShown(area); }
    bool RepaintsOnHover() const override { return false; }
    void OnAreaClicked(const SkinRegion& area) override;
    void PaintBeforeAreas(QPainter& painter) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void OnKey(int keyIndex);
    void OnDefault();
    void OnWrite();
    void OnOk();
    void OnSetAll();
    void OnMultiKey();

    CKeyboardData& Model;
    LightRecords Working{};
};

// The main window's backlight command: runs the dialog modally over the owner.
void RunBacklightSettings(QWidget* owner, CKeyboardData& data, const CSkinResources& resources);
