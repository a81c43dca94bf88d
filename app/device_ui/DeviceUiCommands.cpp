#include "device_ui/DeviceUiCommands.h"

#include "device_ui/DeviceUiSupport.h"
#include "device_ui/FirmwareDialog.h"
#include "device_ui/Help.h"
#include "device_ui/ProgressDialog.h"
#include "model/KeyboardData.h"
#include "shell/MainWindow.h"
#include "shell/MorvApp.h"

#include <algorithm>

void InstallDeviceUiCommands() {
    CMainWindowCommands& commands = CMorvDlg::SuppliedCommands();
    // The main window shows "OK!" itself after an accepted run; failures are told here.
    commands.RunProgress = [](CMorvDlg& owner, int operation) {
        return RunDeviceOperationReportingFailure(&owner, owner.Data(), operation) ? int(QDialog::Accepted)
                                                                                   : int(QDialog::Rejected);
    };
    commands.RunFirmwareUpdate = [](CMorvDlg& owner) { RunFirmwareUpdate(&owner, owner.Data()); };
    commands.OpenHelp = [](CMorvDlg& owner) { OpenHelp(&owner, owner.Data().UiLanguage); };

    std::vector<int>& pictures = CMorvApp::RequiredPictures();
    for (const int id : DeviceDialogPictureIds()) {
        if (std::find(pictures.begin(), pictures.end(), id) == pictures.end())
            pictures.push_back(id);
    }
}
