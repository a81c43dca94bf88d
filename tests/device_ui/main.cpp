#include "DeviceCommandsTest.h"
#include "DeviceUiTestSupport.h"
#include "DeviceWorkersTest.h"
#include "FirmwareDialogTest.h"
#include "ProgressDialogTest.h"
#include "device_ui/DeviceUiSupport.h"
#include "shell/MainWindowAreas.h"

#include <QApplication>
#include <QTest>

#include <cstdio>

CSkinResources* TheTestSkins = nullptr;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CSkinResources skins;
    QString problem;
    std::vector<int> pictures{MainBackgroundPicture, MainHoverPicture, MainActivePicture};
    pictures.insert(pictures.end(), DeviceDialogPictureIds().begin(), DeviceDialogPictureIds().end());
    if (!skins.Load(CSkinResources::DefaultResourceFile(), pictures, problem)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    TheTestSkins = &skins;

    int failures = 0;
    {
        CDeviceWorkersTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        CProgressDialogTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        CFirmwareDialogTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        CDeviceCommandsTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
