#include "DeviceCommandsTest.h"
#include "DeviceUiTestSupport.h"
#include "DeviceWorkersTest.h"
#include "FirmwareDialogTest.h"
#include "ProgressDialogTest.h"
#include "QtSuiteMain.h"
#include "shell/MorvApp.h"

#include <QApplication>

CSkinResources* TheTestSkins = nullptr;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return RunQtSuite<CDeviceWorkersTest, CProgressDialogTest, CFirmwareDialogTest, CDeviceCommandsTest>(
        argc, argv, CMorvApp::RequiredPictures(), TheTestSkins);
}
