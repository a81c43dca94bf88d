#include "HistoryTest.h"
#include "MainWindowTest.h"
#include "QtSuiteMain.h"
#include "ShellTestSupport.h"
#include "SkinPicturesTest.h"
#include "SkinScrollBarTest.h"
#include "SkinWindowTest.h"
#include "shell/MorvApp.h"

#include <QApplication>

CSkinResources* TheTestSkins = nullptr;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return RunQtSuite<CSkinPicturesTest, CSkinWindowTest, CMainWindowTest, CSkinScrollBarTest, CHistoryTest>(
        argc, argv, CMorvApp::RequiredPictures(), TheTestSkins);
}
