// Compiled into the program only: gives the main window's backlight button its dialog and makes
// the dialogs' pictures required at start-up.
#include "backlight/BacklightAreas.h"
#include "backlight/BkLightSettingsDialog.h"
#include "shell/MainWindow.h"
#include "shell/MorvApp.h"

namespace {

[[maybe_unused]] const bool Supplied = [] {
    CMorvDlg::SuppliedCommands().RunBacklight = RunBacklightSettings;
    std::vector<int>& pictures = CMorvApp::RequiredPictures();
    pictures.insert(pictures.end(),
                    {BkLightSettingsPicture, BkLightMultiSelectPicture, BkLightMultiSelectActivePicture});
    return true;
}();

} // namespace
