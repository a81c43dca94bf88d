#include "BacklightSkinsTest.h"
#include "BacklightTestSupport.h"
#include "BkLightMultiSelectTest.h"
#include "BkLightSettingsTest.h"
#include "QtSuiteMain.h"
#include "device_ui/ProgressDialog.h"
#include "shell/MorvApp.h"

#include <QApplication>

CSkinResources* TheTestSkins = nullptr;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The progress dialog closes as soon as the backlight write has ended.
    CMorvDialogProgress::SetSettleTimes(0, 0);
    return RunQtSuite<CBacklightSkinsTest, CBkLightMultiSelectTest, CBkLightSettingsTest>(
        argc, argv, CMorvApp::RequiredPictures(), TheTestSkins);
}
