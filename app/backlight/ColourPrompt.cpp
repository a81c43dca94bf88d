#include "backlight/ColourPrompt.h"

#include "backlight/LightFrames.h"

#include <QColorDialog>

CColourPrompt SystemColourPrompt() {
    return [](QWidget* owner, const AreaLight& initial) -> std::optional<AreaLight> {
        QColorDialog dialog(LightColour(initial), owner);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const QColor chosen = dialog.selectedColor();
        return AreaLight{chosen.red(), chosen.green(), chosen.blue()};
    };
}
