#include "KeyMapSettingsTest.h"
#include "QtSuiteMain.h"
#include "shell/MorvApp.h"

#include <QApplication>

CSkinResources* TheTestSkins = nullptr;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return RunQtSuite<CKeyMapSettingsTest>(argc, argv, CMorvApp::RequiredPictures(), TheTestSkins);
}
