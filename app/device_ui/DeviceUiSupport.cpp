#include "device_ui/DeviceUiSupport.h"

#include "device_ui/DeviceDialogAreas.h"
#include "skin/SkinWindow.h"

#include <QCoreApplication>

#include <cstdio>
#include <iterator>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<CSkinResources>& OwnSkin() {
    static std::unique_ptr<CSkinResources> skin;
    return skin;
}

bool HoldsDevicePictures(const CSkinResources& skin) {
    for (const int id : DeviceDialogPictureIds) {
        if (skin.PlainPicture(id) == nullptr)
            return false;
    }
    return true;
}

} // namespace

const CSkinResources& DeviceDialogResources(QWidget* owner) {
    for (QWidget* window = owner; window != nullptr; window = window->parentWidget()) {
        if (const auto* skinned = qobject_cast<CSkinWindow*>(window)) {
            if (HoldsDevicePictures(skinned->Resources()))
                return skinned->Resources();
            break;
        }
    }
    std::unique_ptr<CSkinResources>& skin = OwnSkin();
    if (!skin) {
        skin = std::make_unique<CSkinResources>();
        QString problem;
        const std::vector<int> pictures(std::begin(DeviceDialogPictureIds), std::end(DeviceDialogPictureIds));
        if (!skin->Load(CSkinResources::DefaultResourceFile(), pictures, problem))
            std::fprintf(stderr, "Zelk: %s\n", qPrintable(problem));
        // Pictures must go while the application object still exists.
        qAddPostRoutine([] { OwnSkin().reset(); });
    }
    return *skin;
}
