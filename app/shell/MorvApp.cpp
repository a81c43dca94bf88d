#include "shell/MorvApp.h"

#include "backlight/BacklightAreas.h"
#include "catalogue/KeyCatalogue.h"
#include "device_ui/DeviceDialogAreas.h"
#include "device_ui/ProgressDialog.h"
#include "editor/EditorPages.h"
#include "model/KeyboardData.h"
#include "shell/MainWindow.h"
#include "shell/MainWindowAreas.h"
#include "skin/Prompts.h"
#include "text/ProblemTexts.h"
#include "text/UiTexts.h"
#include "zelk/DeviceOptions.h"
#include "zelk/ReportLog.h"
#include "zelk/VirtualKeyboard.h"

#include "ZelkVersion.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>

#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace {

void Complain(const QString& text) {
    std::fprintf(stderr, "Zelk: %s\n", qPrintable(text));
    QMessageBox box(QMessageBox::Critical, ProgramName(), text, QMessageBox::Ok);
    box.exec();
}

// Without a keyboard, the message says how to try the program on the virtual keyboard instead.
CPrompts WithVirtualKeyboardHint(const CKeyboardData& data) {
    CPrompts prompts = SystemPrompts();
    prompts.ShowMessage = [&data, show = prompts.ShowMessage](QWidget* owner, const QString& text) {
        if (data.HWI.IsOpen()) {
            show(owner, text);
            return;
        }
        // In both languages, as the start-up messages: the language button has not been seen yet.
        const QString hint = QString::fromStdString(TextInEveryLanguage(TextId::VirtualKeyboardHint)) +
                             QStringLiteral("\nZelk --virtual-keyboard");
        std::fprintf(stderr, "Zelk: %s\n%s\n", qPrintable(text), qPrintable(hint));
        QMessageBox box(QMessageBox::NoIcon, ProgramName(), text, QMessageBox::Ok, owner);
        box.setInformativeText(hint);
        box.exec();
    };
    return prompts;
}

} // namespace

CMorvApp::~CMorvApp() = default;

void CMorvApp::NameApplication() {
    QApplication::setApplicationName(QStringLiteral("Zelk"));
    QApplication::setApplicationVersion(QString::fromLatin1(ZelkVersion));
    // The desktop entry io.github.zelk.Zelk.desktop: its icon and name on Wayland, where the window has no
    // class.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zelk.Zelk"));
}

std::unique_ptr<CMorvDlg> CMorvApp::MakeMainWindow(CKeyboardData& data, const CSkinResources& resources) {
    return std::make_unique<CMorvDlg>(data, resources);
}

int CMorvApp::AnswerInformationRequest(int argc, char** argv) {
    for (int index = 1; index < argc && std::strcmp(argv[index], "--") != 0; ++index) {
        if (std::strcmp(argv[index], "--version") == 0) {
            std::printf("Zelk %s\n", ZelkVersion);
            return 0;
        }
        if (std::strcmp(argv[index], "--help") == 0 || std::strcmp(argv[index], "-h") == 0) {
            std::printf("%s", qPrintable(Usage()));
            return 0;
        }
    }
    return -1;
}

std::vector<int> CMorvApp::RequiredPictures() {
    std::vector<int> ids;
    for (const std::span<const int> window :
         {std::span<const int>(MainWindowPictureIds), std::span<const int>(BacklightPictureIds),
          std::span<const int>(DeviceDialogPictureIds)})
        ids.insert(ids.end(), window.begin(), window.end());
    const std::vector<int> editor = EditorPictureIds();
    ids.insert(ids.end(), editor.begin(), editor.end());
    return ids;
}

QString CMorvApp::StyleSheet() {
    return QStringLiteral(
        "QMessageBox { background: #1b1d22; border: 1px solid #f07820; }"
        "QMessageBox QLabel { color: #ececec; font-size: 13px; }"
        "QMessageBox QPushButton { color: #ececec; background: #2a2d35; border: 1px solid #f07820;"
        " border-radius: 3px; padding: 4px 18px; min-width: 64px; }"
        "QMessageBox QPushButton:hover { background: #3a2a1c; }"
        "QMessageBox QPushButton:pressed { background: #f07820; color: #1b1d22; }"
        "QToolTip { color: #ececec; background: #1b1d22; border: 1px solid #f07820; padding: 2px; }"
        "QMenu { color: #ececec; background: #1b1d22; border: 1px solid #f07820; }"
        "QMenu::item { padding: 4px 18px; }"
        "QMenu::item:selected { background: #f07820; color: #1b1d22; }"
        "QMenu::item:disabled { color: #6b6e75; }");
}

bool CMorvApp::UseQtLanguage(UiLanguage language) {
    if (QtTextsInstalled) {
        QCoreApplication::removeTranslator(&QtTexts);
        QtTextsInstalled = false;
    }
    const QLocale locale(QString::fromLatin1(LanguageCode(language)));
    QLocale::setDefault(locale);
    if (IsEnglishUi(language))
        return true; // Qt's own texts are English
    if (!QtTexts.load(QStringLiteral("qtbase_") + locale.name(),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QtTextsInstalled = QCoreApplication::installTranslator(&QtTexts);
    return QtTextsInstalled;
}

QString CMorvApp::Usage() {
    return QStringLiteral("usage: Zelk [options] [PROFILE.pro]\n"
                          "  PROFILE.pro                      open this profile after start-up\n"
                          "  -h, --help                       show this help\n"
                          "  --version                        print the version of Zelk\n") +
           QString::fromLatin1(DeviceOptionsHelp);
}

int CMorvApp::InitInstance(QApplication& application) {
    // Options: the device options every front end shares; then at most one operand, a profile to open.
    const QStringList given = QApplication::arguments().mid(1);
    std::vector<std::string> arguments;
    for (const QString& argument : given)
        arguments.push_back(argument.toStdString());
    const std::vector<std::string_view> views(arguments.begin(), arguments.end());
    CDeviceOptions options;
    QString profile;
    bool operandsOnly = false;
    for (std::size_t index = 0; index < views.size();) {
        if (!operandsOnly && views[index] == "--") {
            operandsOnly = true;
            ++index;
            continue;
        }
        if (operandsOnly || views[index].empty() || views[index][0] != '-') {
            if (!profile.isEmpty()) {
                std::fprintf(stderr, "Zelk: unexpected argument %s\n%s", arguments[index].c_str(),
                             qPrintable(Usage()));
                return 2;
            }
            profile = QFileInfo(given[static_cast<qsizetype>(index)]).absoluteFilePath();
            ++index;
            continue;
        }
        std::string error;
        const int used = ParseDeviceOption(views, index, options, error);
        if (used <= 0) {
            std::fprintf(stderr, "Zelk: %s\n%s",
                         used < 0 ? error.c_str() : ("unknown option " + arguments[index]).c_str(),
                         qPrintable(Usage()));
            return 2;
        }
        index += static_cast<std::size_t>(used);
    }

    // Qt's file dialog keeps its last folder and history in the user's Qt settings, shared by every Qt
    // program and kept between runs. This program keeps nothing between runs (its dialogs remember
    // the last folder for the run only), so Qt's settings go to a folder removed at the end.
    QtSettings = std::make_unique<QTemporaryDir>();
    if (QtSettings->isValid()) {
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QtSettings->path());
    }

    QString problem;
    if (!Skin.Load(CSkinResources::DefaultResourceFile(), RequiredPictures(), problem)) {
        Complain(problem);
        return 1;
    }
    QApplication::setWindowIcon(Skin.ProgramIcon());
    // Message boxes in the skins' dark and orange, not the desktop's light default.
    application.setStyleSheet(StyleSheet());

    BuildKeyCatalogue(theKeyboardData);
    if (!UseQtLanguage(theKeyboardData.UiLanguage))
        std::fprintf(stderr, "Zelk: Qt's Chinese texts (qtbase_zh_CN.qm) are not installed; Qt's own "
                             "dialogs stay English\n");

    CProblem refused;
    std::shared_ptr<CVirtualKeyboard> keyboard;
    std::shared_ptr<CReportLog> reportLog;
    std::shared_ptr<CDeviceProvider> provider = MakeDeviceProvider(options, refused, &keyboard, &reportLog);
    if (!provider) {
        // Said before anyone could choose a language, as every start-up message.
        Complain(QString::fromStdString(ProblemTextInEveryLanguage(refused)));
        return 1;
    }
    theKeyboardData.HWI.UseDeviceProvider(std::move(provider));

    const std::unique_ptr<CMorvDlg> shown = MakeMainWindow(theKeyboardData, Skin);
    CMorvDlg& window = *shown;
    const QString stateFile = options.StateFile.empty()
                                  ? QString()
                                  : QFileInfo(QString::fromStdString(options.StateFile)).absoluteFilePath();
    window.SetConnection({options.VirtualKeyboard, QDir::toNativeSeparators(stateFile).toStdU16String()});
    DeviceLossCheck() = [keyboard, reportLog, options]() -> CProblem {
        if (keyboard && keyboard->SaveProblem())
            return keyboard->SaveProblem();
        if (reportLog && reportLog->Problem())
            return Wrapped(ProblemCode::ReportLogIncomplete, options.ReportLog, reportLog->Problem());
        return {};
    };
    QObject::connect(&window, &CMorvDlg::UiLanguageChanged, &application,
                     [this] { UseQtLanguage(theKeyboardData.UiLanguage); });
    if (auto* tray = window.findChild<CTrayPresence*>())
        tray->ConnectShelf(theKeyboardData);
    Prompts() = WithVirtualKeyboardHint(theKeyboardData);
    const bool opened = window.Initialise();
    Prompts() = SystemPrompts();
    int status = 1;
    if (opened) {
        QApplication::setQuitOnLastWindowClosed(false);
        QObject::connect(&window, &QDialog::finished, &application, [] { QApplication::exit(0); });
        window.show();
        if (!profile.isEmpty()) {
            // Opened as the Open button opens a profile (shown, nothing written to the keyboard), the
            // path answered from the command line instead of the file dialog.
            const CPrompts kept = Prompts();
            Prompts().AskPath = [profile](QWidget*, PathQuestion) { return profile; };
            window.Dispatch(IdOpen, 0);
            Prompts() = kept;
        }
        status = application.exec();
    }
    // The check holds the device side, which ends with the run.
    DeviceLossCheck() = {};
    return status;
}
