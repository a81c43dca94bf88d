#include "MainWindowTest.h"
#include "QtSuiteMain.h"
#include "ShellTestSupport.h"
#include "SkinPicturesTest.h"
#include "SkinWindowTest.h"
#include "shell/MorvApp.h"

#include <QApplication>

CSkinResources* TheTestSkins = nullptr;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return RunQtSuite<CSkinPicturesTest, CSkinWindowTest, CMainWindowTest>(
        argc, argv, CMorvApp::RequiredPictures(), TheTestSkins);
}
