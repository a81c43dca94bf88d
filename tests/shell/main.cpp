#include "MainWindowTest.h"
#include "ShellTestSupport.h"
#include "SkinPicturesTest.h"
#include "SkinWindowTest.h"

#include <QApplication>
#include <QTest>

#include <cstdio>

CSkinResources* TheTestSkins = nullptr;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CSkinResources skins;
    QString problem;
    if (!skins.Load(CSkinResources::DefaultResourceFile(),
                    {MainBackgroundPicture, MainHoverPicture, MainActivePicture}, problem)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    TheTestSkins = &skins;

    int failures = 0;
    {
        CSkinPicturesTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        CSkinWindowTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        CMainWindowTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
