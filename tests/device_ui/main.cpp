#include "DeviceCommandsTest.h"
#include "DeviceUiTestSupport.h"
#include "DeviceWorkersTest.h"
#include "FirmwareDialogTest.h"
#include "ProgressDialogTest.h"
#include "QtSuiteMain.h"
#include "device_ui/DeviceUiSupport.h"
#include "shell/MainWindowAreas.h"

#include <QApplication>

CSkinResources* TheTestSkins = nullptr;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::vector<int> pictures{MainBackgroundPicture, MainHoverPicture, MainActivePicture};
    pictures.insert(pictures.end(), DeviceDialogPictureIds().begin(), DeviceDialogPictureIds().end());
    return RunQtSuite<CDeviceWorkersTest, CProgressDialogTest, CFirmwareDialogTest, CDeviceCommandsTest>(
        argc, argv, pictures, TheTestSkins);
}
