#include "shell/MorvApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (const int status = CMorvApp::AnswerInformationRequest(argc, argv); status >= 0)
        return status;
    QApplication application(argc, argv);
    CMorvApp::NameApplication();
    CMorvApp program;
    return program.InitInstance(application);
}
