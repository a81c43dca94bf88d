// The application object: start-up in its fixed order (options, skin resources, key catalogue, the
// main window's run) and the resources every window borrows until the program ends.
#pragma once

#include "skin/SkinResources.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QTranslator>

#include <memory>
#include <string>
#include <vector>

class CKeyboardData;
class CMorvDlg;
class QApplication;

class CMorvApp {
public:
    virtual ~CMorvApp();

    // Runs start-up and the main window; returns the process's exit code once the window has ended.
    int InitInstance(QApplication& application);

    const CSkinResources& Resources() const { return Skin; }

    // Qt's own texts (its file and colour dialogs, the buttons of message boxes) in the UI language,
    // from Qt's translations; false when the Chinese ones are not installed (they stay English).
    bool UseQtLanguage(UiLanguage language);

    // The pictures of every window: without them the program cannot start.
    static std::vector<int> RequiredPictures();
    // The program's style sheet: message boxes, menus and tooltips in the skins' dark and orange.
    static QString StyleSheet();
    static QString Usage();
    // The application's name, version and desktop entry, set once the application object exists.
    static void NameApplication();
    // Prints the help or the version when an argument before any "--" asks for one; returns the exit
    // status then, else -1. Needs no window system, so it runs before the application object exists.
    static int AnswerInformationRequest(int argc, char** argv);

protected:
    // The main window the run shows; a measuring harness gives one that reports its first paint.
    virtual std::unique_ptr<CMorvDlg> MakeMainWindow(CKeyboardData& data, const CSkinResources& resources);

private:
    CSkinResources Skin;
    QTranslator QtTexts;
    bool QtTextsInstalled = false;
    // Where Qt keeps its own settings (the file dialog's last folder and history) during this run.
    std::unique_ptr<QTemporaryDir> QtSettings;
};
