#include "shell/MorvApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelk"));
    CMorvApp program;
    return program.InitInstance(application);
}
