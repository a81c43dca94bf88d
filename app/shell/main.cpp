#include "shell/MorvApp.h"

#include "ZelkVersion.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (const int status = CMorvApp::AnswerInformationRequest(argc, argv); status >= 0)
        return status;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelk"));
    QApplication::setApplicationVersion(QString::fromLatin1(ZelkVersion));
    // The desktop entry zelk.desktop: its icon and name on Wayland, where the window has no class.
    QGuiApplication::setDesktopFileName(QStringLiteral("zelk"));
    CMorvApp program;
    return program.InitInstance(application);
}
