#include "BacklightSkinsTest.h"
#include "BacklightTestSupport.h"
#include "BkLightMultiSelectTest.h"
#include "BkLightSettingsTest.h"
#include "device_ui/ProgressDialog.h"

#include <QApplication>
#include <QTest>

#include <cstdio>

CSkinResources* TheTestSkins = nullptr;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CSkinResources skins;
    QString problem;
    if (!skins.Load(CSkinResources::DefaultResourceFile(),
                    {BkLightSettingsPicture, BkLightMultiSelectPicture, BkLightMultiSelectActivePicture},
                    problem)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    TheTestSkins = &skins;
    // The progress dialog closes as soon as the backlight write has ended.
    CMorvDialogProgress::SetSettleTimes(0, 0);

    int failures = 0;
    {
        CBacklightSkinsTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        CBkLightMultiSelectTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        CBkLightSettingsTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
