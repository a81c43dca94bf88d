#include "shell/MorvApp.h"
#include "shell/PlatformChoice.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (const int status = CMorvApp::AnswerInformationRequest(argc, argv); status >= 0)
        return status;
    if (const QString told = FallBackFromMissingWayland(); !told.isEmpty())
        std::fprintf(stderr, "%s\n", told.toLocal8Bit().constData());
    QApplication application(argc, argv);
    CMorvApp::NameApplication();
    CMorvApp program;
    return program.InitInstance(application);
}
