#include "device_ui/DeviceUiSupport.h"

#include "device_ui/DeviceDialogAreas.h"
#include "shell/SkinWindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

#include <cstdio>
#include <memory>

namespace {

const QString ProgramName = QStringLiteral("Zelk");

std::unique_ptr<CSkinResources>& OwnSkin() {
    static std::unique_ptr<CSkinResources> skin;
    return skin;
}

bool HoldsDevicePictures(const CSkinResources& skin) {
    for (const int id : DeviceDialogPictureIds()) {
        if (skin.PlainPicture(id) == nullptr)
            return false;
    }
    return true;
}

} // namespace

CDeviceUiPrompts SystemDeviceUiPrompts() {
    CDeviceUiPrompts prompts;
    prompts.ShowMessage = [](QWidget* owner, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, ProgramName, text, QMessageBox::Ok, owner);
        box.exec();
    };
    prompts.AskFirmwarePath = [](QWidget* owner) {
        QFileDialog dialog(owner);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    prompts.OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return prompts;
}

CDeviceUiPrompts& DeviceUiPrompts() {
    static CDeviceUiPrompts prompts = SystemDeviceUiPrompts();
    return prompts;
}

void ShowDeviceMessage(QWidget* owner, const QString& text) {
    if (!text.isEmpty() && DeviceUiPrompts().ShowMessage)
        DeviceUiPrompts().ShowMessage(owner, text);
}

const std::vector<int>& DeviceDialogPictureIds() {
    static const std::vector<int> ids{FirmwareBackgroundPicture, FirmwareHoverPicture, FirmwareActivePicture,
                                      ProgressBackgroundPicture, ProgressHoverPicture, ProgressActivePicture};
    return ids;
}

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
        if (!skin->Load(CSkinResources::DefaultResourceFile(), DeviceDialogPictureIds(), problem))
            std::fprintf(stderr, "Zelk: %s\n", qPrintable(problem));
        // Pictures must go while the application object still exists.
        qAddPostRoutine([] { OwnSkin().reset(); });
    }
    return *skin;
}

QString ByLanguage(const std::string& language, const char* chinese, const char* english) {
    return QString::fromUtf8(language == "zh-CN" ? chinese : english);
}
