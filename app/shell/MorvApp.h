// The application object: start-up in its fixed order (options, skin resources, key catalogue, the
// main window's run) and the resources every window borrows until the program ends.
#pragma once

#include "shell/SkinResources.h"

#include <QStringList>

#include <vector>

class QApplication;

class CMorvApp {
public:
    // Runs start-up and the main window; returns the process's exit code once the window has ended.
    int InitInstance(QApplication& application);

    const CSkinResources& Resources() const { return Skin; }

    // The pictures of every window: without them the program cannot start.
    static std::vector<int> RequiredPictures();
    // The program's style sheet: message boxes in the skins' dark and orange.
    static QString StyleSheet();
    static QString Usage();
    // Prints the help or the version when an argument before any "--" asks for one; returns the exit
    // status then, else -1. Needs no window system, so it runs before the application object exists.
    static int AnswerInformationRequest(int argc, char** argv);

private:
    CSkinResources Skin;
};
