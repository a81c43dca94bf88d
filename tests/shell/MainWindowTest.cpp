#include "MainWindowTest.h"

#include "ShellTestSupport.h"
#include "catalogue/KeyCatalogue.h"
#include "device_ui/ProgressDialog.h"
#include "model/KeyboardData.h"
#include "model/Profile.h"
#include "shell/MainWindow.h"
#include "shell/MorvApp.h"
#include "shell/TrayPresence.h"
#include "zelk/DeviceOptions.h"
#include "zelk/VirtualKeyboard.h"

#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

namespace {

// The main window with the dialogs its commands open replaced by the test's own, where it sets them.
class CTestWindow : public CMorvDlg {
public:
    using CMorvDlg::CMorvDlg;

    std::function<int(int operation)> Progress;
    std::function<void(const QString& dialog)> Dialog;

protected:
    int RunProgress(int operation) override {
        return Progress ? Progress(operation) : CMorvDlg::RunProgress(operation);
    }
    void RunBacklight() override {
        Run(QStringLiteral("backlight"), [this] { CMorvDlg::RunBacklight(); });
    }
    void RunFirmwareUpdate() override {
        Run(QStringLiteral("firmware"), [this] { CMorvDlg::RunFirmwareUpdate(); });
    }
    void OpenHelp() override {
        Run(QStringLiteral("help"), [this] { CMorvDlg::OpenHelp(); });
    }
    void RunKeyEditor() override {
        Run(QStringLiteral("key %1 level %2").arg(Data().CurrentKey).arg(Data().CurrentLevel),
            [this] { CMorvDlg::RunKeyEditor(); });
    }

private:
    void Run(const QString& dialog, const std::function<void()>& real) {
        if (Dialog)
            Dialog(dialog);
        else
            real();
    }
};

struct CFixture {
    std::unique_ptr<CKeyboardData> Data = std::make_unique<CKeyboardData>();
    std::shared_ptr<CVirtualKeyboard> Keyboard;
    CTestPrompts Answers;
    std::unique_ptr<CTestWindow> Window;
    QStringList Messages;
    QString SavePath;
    QString OpenPath;
    int SaveAsked = 0;
    int OpenAsked = 0;
    QStringList Ran; // commands supplied by other parts that ran
    // The answers to the question whether to save first, in turn; then Later.
    QList<SaveChoice> Choices;
    SaveChoice Later = SaveChoice::Cancel;
    QList<CSaveQuestion> Questions;

    CFixture() {
        Keyboard = UseVirtualKeyboard(*Data);
        Window = std::make_unique<CTestWindow>(*Data, TestSkins());
        Answers->AskPath = [this](QWidget*, PathQuestion question) {
            if (question == PathQuestion::SaveProfile) {
                ++SaveAsked;
                return SavePath;
            }
            ++OpenAsked;
            return OpenPath;
        };
        Answers->ShowMessage = [this](QWidget*, const QString& text) { Messages << text; };
        Answers->AskSaveChanges = [this](QWidget*, const CSaveQuestion& question) {
            Questions << question;
            return Choices.isEmpty() ? Later : Choices.takeFirst();
        };
    }

    bool Open() { return OpenMainWindow(*Window); }

    SkinRegion& Area(int id) { return *Window->AreaById(id); }
    QPoint At(int id) { return Centre(Area(id).rect); }
    void Click(QPoint point) { QTest::mouseClick(Window.get(), Qt::LeftButton, {}, point); }
    void Click(int id) { Click(At(id)); }
    void Hover(QPoint point) { QTest::mouseMove(Window.get(), point); }
    QImage Shown() { return Window->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    KeySetting& Setting(int key, int level) {
        return Data->CurrentSettings[static_cast<std::size_t>(key)][static_cast<std::size_t>(level)];
    }
};

std::unique_ptr<CFixture> Fixture;

const QImage& Picture(int id) {
    return *TestSkins().PlainPicture(id);
}

QString PanelText() {
    return Fixture->Window->InfoPanel()->toPlainText();
}

void SupplyRecordingCommands(int progressResult) {
    Fixture->Window->Progress = [progressResult](int operation) {
        Fixture->Ran << QStringLiteral("progress %1").arg(operation);
        return progressResult;
    };
    Fixture->Window->Dialog = [](const QString& dialog) { Fixture->Ran << dialog; };
}

} // namespace

void CMainWindowTest::init() {
    Fixture = std::make_unique<CFixture>();
}

void CMainWindowTest::cleanup() {
    Fixture.reset();
    DeviceLossCheck() = {};
}

void CMainWindowTest::withoutKeyboardTheWindowDoesNotOpen() {
    Fixture->Keyboard->SetPlugged(false);
    QVERIFY(!Fixture->Window->Initialise());
    QCOMPARE(Fixture->Messages, QStringList{QStringLiteral("Keyboard is not connected!")});
}

void CMainWindowTest::opensOnLevel1InChineseWithAClearedModel() {
    Fixture->Data->CurrentLevel = 1;
    Fixture->Setting(5, 1).Mode = ModeMacro;
    Fixture->Setting(5, 1).HWCode = 77;
    QVERIFY(Fixture->Open());
    QVERIFY(Fixture->Messages.isEmpty());
    QCOMPARE(Fixture->Data->CurrentLevel, 0);
    QCOMPARE(Fixture->Setting(5, 1).Mode, static_cast<int>(ModeNotSet));
    QCOMPARE(Fixture->Setting(5, 1).HWCode, 5);
    QCOMPARE(Fixture->Window->Areas().size(), std::size_t{MainWindowAreaCount});
    QCOMPARE(Fixture->Window->size(), Picture(MainBackgroundPicture).size());
    QCOMPARE(Fixture->Window->InfoPanel()->geometry(), QRect(47, 506, 913, 144));
    QCOMPARE(Fixture->Window->InfoPanel()->font().pixelSize(), 13);
    QVERIFY(Fixture->Window->InfoPanel()->isReadOnly());
    Fixture->Shown();
    QCOMPARE(PanelText(), QStringLiteral("Zelk 编程软件 [版本 1.0.7]"));
}

void CMainWindowTest::clicksDispatchTheirAreasCommands() {
    QVERIFY(Fixture->Open());
    SupplyRecordingCommands(QDialog::Rejected);

    Fixture->Click(IdLanguage);
    QVERIFY(Fixture->Data->UiLanguage == UiLanguage::English);
    Fixture->Click(IdLanguage);
    QVERIFY(Fixture->Data->UiLanguage == UiLanguage::Chinese);
    QVERIFY(!Fixture->Area(IdLanguage).active);

    Fixture->Click(IdLayer);
    QCOMPARE(Fixture->Data->CurrentLevel, 1);

    Fixture->Click(IdSave);
    Fixture->Click(IdOpen);
    QCOMPARE(Fixture->SaveAsked, 1);
    QCOMPARE(Fixture->OpenAsked, 1);

    Fixture->Click(IdHelp);
    Fixture->Click(IdBacklight);
    Fixture->Click(IdFirmware);
    Fixture->Click(IdWriteKeys);
    Fixture->Click(IdReadAll);
    Fixture->Click(IdKeyBase + 1);  // Esc
    Fixture->Click(IdKeyBase + 70); // Space
    Fixture->Click(IdKeyBase + 87); // Right arrow
    QCOMPARE(Fixture->Ran, (QStringList{"help", "backlight", "firmware", "progress 1", "progress 3",
                                        "key 1 level 1", "key 70 level 1", "key 87 level 1"}));

    // Every key's area sends its own key index, and the first and last pixels of a key belong to it.
    Fixture->Ran.clear();
    for (int key = 1; key <= KeyCount; ++key) {
        const SkinRect rect = Fixture->Area(IdKeyBase + key).rect;
        Fixture->Click(QPoint(rect.left, rect.top));
        Fixture->Click(QPoint(rect.right - 1, rect.bottom - 1));
    }
    QCOMPARE(Fixture->Ran.size(), 2 * KeyCount);
    for (int key = 1; key <= KeyCount; ++key)
        QCOMPARE(Fixture->Ran[2 * (key - 1) + 1], QStringLiteral("key %1 level 1").arg(key));

    QSignalSpy finished(Fixture->Window.get(), &QDialog::finished);
    Fixture->Click(IdExit);
    QCOMPARE(finished.size(), 1);
    QVERIFY(!Fixture->Window->isVisible());
    QVERIFY(Fixture->Questions.isEmpty()); // nothing was changed, so nothing was asked
}

void CMainWindowTest::deviceCommandsReportOkOnlyAfterOk() {
    QVERIFY(Fixture->Open());
    SupplyRecordingCommands(QDialog::Rejected);
    Fixture->Click(IdWriteKeys);
    Fixture->Click(IdReadAll);
    QVERIFY(Fixture->Messages.isEmpty());
    SupplyRecordingCommands(QDialog::Accepted);
    Fixture->Click(IdWriteKeys);
    Fixture->Click(IdLanguage);
    Fixture->Click(IdReadAll);
    QCOMPARE(Fixture->Messages, (QStringList{"OK!", "OK!"})); // English in both languages
}

void CMainWindowTest::aTransferThatLostTheStateFileSaysSoInsteadOfOk() {
    QVERIFY(Fixture->Open());
    SupplyRecordingCommands(QDialog::Accepted);
    DeviceLossCheck() = [] {
        return Wrapped(ProblemCode::StateFileNotWritten, "/gone/kb.state", SystemProblem(ENOENT));
    };
    Fixture->Click(IdWriteKeys);
    Fixture->Click(IdLanguage);
    Fixture->Click(IdReadAll);
    QCOMPARE(Fixture->Messages,
             (QStringList{
                 QStringLiteral(
                     "设置已送达虚拟键盘，但无法写入虚拟键盘的状态文件 /gone/kb.state：没有那个文件或目录。"),
                 QStringLiteral("The settings reached the virtual keyboard, but the virtual keyboard's state "
                                "file /gone/kb.state cannot be written: No such file or directory")}));
}

void CMainWindowTest::labelsNeverTakeClicks() {
    QVERIFY(Fixture->Open());
    SupplyRecordingCommands(QDialog::Accepted);
    // Label parts with no button beneath: Read all's and Update's wider captions, the layer labels.
    const QPoint labelsOnly[] = {{725, 115}, {980, 115}, {82, 195}, {82, 290}};
    for (const QPoint& point : labelsOnly) {
        QCOMPARE(Fixture->Window->HitTest(point), CSkinWindow::HitPart::Caption);
        Fixture->Click(point);
    }
    for (const SkinRegion& area : Fixture->Window->Areas())
        QVERIFY(!area.labelOnly || !area.hovered);
    QVERIFY(Fixture->Ran.isEmpty());
    QCOMPARE(Fixture->Data->CurrentLevel, 0);
    QCOMPARE(Fixture->SaveAsked + Fixture->OpenAsked, 0);

    // A click on a button's caption reaches the button.
    Fixture->Click(QPoint(82, 120));
    QCOMPARE(Fixture->SaveAsked, 1);
    Fixture->Click(QPoint(1077, 120));
    QVERIFY(Fixture->Data->UiLanguage == UiLanguage::English);
}

void CMainWindowTest::keysShowTheirAssignmentAndHover() {
    QVERIFY(Fixture->Open());
    const int f = 46, q = 29, w = 30, g = 47;
    Fixture->Setting(f, 0).Mode = ModeSingle;
    Fixture->Setting(g, 0).Mode = ModeMacro;
    Fixture->Setting(w, 1).Mode = ModeCombo; // only on the other layer
    Fixture->Hover(Fixture->At(IdKeyBase + q));
    QImage shown = Fixture->Shown();
    QVERIFY(SameBlock(shown, Picture(MainActivePicture), ToQRect(Fixture->Area(IdKeyBase + f).rect)));
    QVERIFY(SameBlock(shown, Picture(MainActivePicture), ToQRect(Fixture->Area(IdKeyBase + g).rect)));
    QVERIFY(SameBlock(shown, Picture(MainHoverPicture), ToQRect(Fixture->Area(IdKeyBase + q).rect)));
    QVERIFY(SameBlock(shown, Picture(MainBackgroundPicture), ToQRect(Fixture->Area(IdKeyBase + w).rect)));

    // An assigned key under the mouse keeps its active look.
    Fixture->Hover(Fixture->At(IdKeyBase + f));
    shown = Fixture->Shown();
    QVERIFY(SameBlock(shown, Picture(MainActivePicture), ToQRect(Fixture->Area(IdKeyBase + f).rect)));
    QVERIFY(SameBlock(shown, Picture(MainBackgroundPicture), ToQRect(Fixture->Area(IdKeyBase + q).rect)));

    // The other layer: other keys are lit, the model is untouched.
    Fixture->Click(IdLayer);
    Fixture->Hover(QPoint(600, 80));
    shown = Fixture->Shown();
    QVERIFY(SameBlock(shown, Picture(MainBackgroundPicture), ToQRect(Fixture->Area(IdKeyBase + f).rect)));
    QVERIFY(SameBlock(shown, Picture(MainActivePicture), ToQRect(Fixture->Area(IdKeyBase + w).rect)));
    QCOMPARE(Fixture->Setting(f, 0).Mode, static_cast<int>(ModeSingle));

    // Leaving the window leaves nothing hovered.
    Fixture->Hover(Fixture->At(IdKeyBase + q));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(Fixture->Window.get(), &leave);
    shown = Fixture->Shown();
    QVERIFY(SameBlock(shown, Picture(MainBackgroundPicture), ToQRect(Fixture->Area(IdKeyBase + q).rect)));
}

void CMainWindowTest::switchesShowTheirState() {
    QVERIFY(Fixture->Open());
    Fixture->Hover(QPoint(600, 80));
    Fixture->Shown();
    QVERIFY(Fixture->Area(IdLevel1Label).active);
    QVERIFY(!Fixture->Area(IdLevel2Label).active);

    Fixture->Click(IdLayer);
    Fixture->Click(IdLanguage);
    Fixture->Hover(QPoint(600, 80));
    const QImage shown = Fixture->Shown();
    QVERIFY(!Fixture->Area(IdLevel1Label).active);
    QVERIFY(Fixture->Area(IdLevel2Label).active);
    QVERIFY(SameBlock(shown, Picture(MainActivePicture), ToQRect(Fixture->Area(IdLayer).rect)));
    // The language button's face above its caption comes from the active picture.
    QVERIFY(SameBlock(shown, Picture(MainActivePicture), QRect(1012, 95, 130, 6)));
    // The lit layer label is drawn in green.
    const SkinRect label = Fixture->Area(IdLevel2Label).rect;
    bool green = false;
    for (int y = label.top; y < label.bottom && !green; ++y) {
        for (int x = label.left; x < label.right && !green; ++x)
            green = shown.pixelColor(x, y).green() > 200 && shown.pixelColor(x, y).red() < 80;
    }
    QVERIFY(green);

    Fixture->Click(IdLayer);
    Fixture->Click(IdLanguage);
    Fixture->Hover(QPoint(600, 80));
    QVERIFY(
        SameBlock(Fixture->Shown(), Picture(MainBackgroundPicture), ToQRect(Fixture->Area(IdLayer).rect)));
    QCOMPARE(Fixture->Data->CurrentLevel, 0);
}

void CMainWindowTest::infoPanelShowsTheHoveredKeysAssignments() {
    QVERIFY(Fixture->Open());
    const int a = 43;
    Fixture->Setting(a, 0).Mode = ModeSingle;
    Fixture->Setting(a, 0).HWCode = 43; // the A key
    Fixture->Setting(a, 1).Mode = ModeCombo;
    Fixture->Setting(a, 1).ComboKey.List = {u"Left CONTROL", u"C"};

    Fixture->Hover(Fixture->At(IdKeyBase + a));
    Fixture->Shown();
    QCOMPARE(
        PanelText(),
        QStringLiteral("Zelk 编程软件 [版本 1.0.7]\n\n上档键：单键 A\n\n下档键：组合键 Left CONTROL | C\n"));

    Fixture->Hover(Fixture->At(IdKeyBase + 1));
    Fixture->Shown();
    QCOMPARE(PanelText(),
             QStringLiteral("Zelk 编程软件 [版本 1.0.7]\n\n上档键：未设置 \n\n下档键：未设置 \n"));

    Fixture->Click(IdLanguage);
    Fixture->Hover(Fixture->At(IdKeyBase + a));
    Fixture->Shown();
    QCOMPARE(PanelText(),
             QStringLiteral("Zelk Programming Software [Ver 1.0.7]\n\nKey settings L1：Single A\n\n"
                            "Key settings L2：Combo Left CONTROL | C\n"));

    // Over a button or nothing, the title.
    Fixture->Hover(Fixture->At(IdSave));
    Fixture->Shown();
    QCOMPARE(PanelText(), QStringLiteral("Zelk Programming Software [Ver 1.0.7]"));
}

void CMainWindowTest::saveAndOpenRoundTrip() {
    QVERIFY(Fixture->Open());
    QTemporaryDir folder;
    Fixture->Setting(10, 0).Mode = ModeSingle;
    Fixture->Setting(10, 0).HWCode = 43;
    Fixture->Setting(20, 1).Mode = ModeMacro;
    Fixture->Setting(20, 1).ComboKey.List = {u"A Down", u"<30 ms>", u"A UP"};
    Fixture->Data->BackgroundLightSettings[7] = {255, 111, 0};

    Fixture->SavePath = folder.filePath(QStringLiteral("mine.pro"));
    Fixture->Click(IdSave);
    QVERIFY(Fixture->Messages.isEmpty());
    Fixture->Click(IdClear);
    QCOMPARE(Fixture->Setting(10, 0).Mode, static_cast<int>(ModeNotSet));

    Fixture->OpenPath = Fixture->SavePath;
    Fixture->Click(IdOpen);
    QVERIFY(Fixture->Messages.isEmpty());
    QCOMPARE(Fixture->Setting(10, 0).Mode, static_cast<int>(ModeSingle));
    QCOMPARE(Fixture->Setting(10, 0).HWCode, 43);
    QCOMPARE(Fixture->Setting(20, 1).Mode, static_cast<int>(ModeMacro));
    QCOMPARE(Fixture->Setting(20, 1).ComboKey.List,
             (std::vector<std::u16string>{u"A Down", u"<30 ms>", u"A UP"}));
    QCOMPARE(Fixture->Data->BackgroundLightSettings[7].Green, 111);

    // A cancelled dialog changes nothing.
    Fixture->OpenPath.clear();
    Fixture->Click(IdClear);
    Fixture->Click(IdOpen);
    QCOMPARE(Fixture->Setting(10, 0).Mode, static_cast<int>(ModeNotSet));

    // A file that cannot be written is reported in the UI language.
    Fixture->SavePath = folder.filePath(QStringLiteral("no-such-folder/mine.pro"));
    Fixture->Click(IdSave);
    QCOMPARE(Fixture->Messages.size(), 1);
    QVERIFY(Fixture->Messages[0].contains(QStringLiteral("无法保存")));
}

void CMainWindowTest::failedOpenIsReportedAndKeepsTheModel() {
    QVERIFY(Fixture->Open());
    QTemporaryDir folder;
    QFile other(folder.filePath(QStringLiteral("other.pro")));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("<?xml version=\"1.0\"?><Settings><KEY ID=\"3\"/></Settings>");
    other.close();
    Fixture->Setting(3, 0).Mode = ModeSingle;
    Fixture->Setting(3, 0).HWCode = 44;

    Fixture->Later = SaveChoice::Discard;
    Fixture->OpenPath = folder.filePath(QStringLiteral("missing.pro"));
    Fixture->Click(IdOpen);
    Fixture->Click(IdLanguage);
    Fixture->OpenPath = other.fileName();
    Fixture->Click(IdOpen);
    QCOMPARE(Fixture->Messages.size(), 2);
    QVERIFY(Fixture->Messages[0].contains(QStringLiteral("无法打开")));
    QVERIFY(Fixture->Messages[1].contains(QStringLiteral("could not be opened")));
    QCOMPARE(Fixture->Setting(3, 0).Mode, static_cast<int>(ModeSingle));
    QCOMPARE(Fixture->Setting(3, 0).HWCode, 44);
}

void CMainWindowTest::clearEmptiesBothLayers() {
    QVERIFY(Fixture->Open());
    Fixture->Click(IdLayer);
    Fixture->Setting(1, 0).Mode = ModePower;
    Fixture->Setting(87, 1).Mode = ModeMouse;
    Fixture->Setting(87, 1).HWCode = 130;
    Fixture->Data->PredefinedMacro.AppendItem(u"default");
    Fixture->Choices = {SaveChoice::Discard};
    Fixture->Click(IdClear);
    QCOMPARE(Fixture->Setting(1, 0).Mode, static_cast<int>(ModeNotSet));
    QCOMPARE(Fixture->Setting(87, 1).Mode, static_cast<int>(ModeNotSet));
    QCOMPARE(Fixture->Setting(87, 1).HWCode, 87);
    QCOMPARE(Fixture->Data->PredefinedMacro.Count(), 0);
    QCOMPARE(Fixture->Data->CurrentLevel, 1); // the layer shown stays
    Fixture->Hover(QPoint(600, 80));
    QVERIFY(SameBlock(Fixture->Shown(), Picture(MainBackgroundPicture),
                      ToQRect(Fixture->Area(IdKeyBase + 87).rect)));
}

void CMainWindowTest::hideAndBringBack() {
    QVERIFY(Fixture->Open());
    QCOMPARE(Fixture->Window->TrayNotify(127, QSystemTrayIcon::DoubleClick), 1);
    Fixture->Click(IdHide);
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        QVERIFY(!Fixture->Window->isVisible());
        QVERIFY(Fixture->Window->TrayIconShown());
    } else {
        // No notification area: minimised, so it can always be brought back.
        QTRY_VERIFY(Fixture->Window->isMinimized());
        QVERIFY(!Fixture->Window->TrayIconShown());
    }
    QCOMPARE(Fixture->Window->TrayNotify(CMorvDlg::TrayIconId, QSystemTrayIcon::Context), 0);
    QCOMPARE(Fixture->Window->TrayNotify(CMorvDlg::TrayIconId, QSystemTrayIcon::DoubleClick), 0);
    QVERIFY(Fixture->Window->isVisible());
    QTRY_VERIFY(!Fixture->Window->isMinimized());
    QVERIFY(!Fixture->Window->TrayIconShown());
}

void CMainWindowTest::keyboardGoneEndsTheProgramAndItsDialogs() {
    QVERIFY(Fixture->Open());
    QSignalSpy finished(Fixture->Window.get(), &QDialog::finished);
    Fixture->Window->CheckDevice();
    QVERIFY(Fixture->Messages.isEmpty());
    QCOMPARE(finished.size(), 0);

    // The keyboard goes while a dialog of the main window is open: the dialog ends with neither OK
    // nor Cancel, then the main window ends.
    int dialogResult = 100;
    Fixture->Window->Dialog = [&](const QString&) {
        CMorvDlg& owner = *Fixture->Window;
        QDialog dialog(&owner);
        QTimer::singleShot(0, &owner, [&] {
            Fixture->Keyboard->SetPlugged(false);
            owner.CheckDevice();
        });
        dialogResult = dialog.exec();
    };
    Fixture->Click(IdBacklight);
    QCOMPARE(dialogResult, -1);
    QCOMPARE(Fixture->Messages, QStringList{QStringLiteral("Keyboard is not connected")});
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), static_cast<int>(QDialog::Rejected));
}

void CMainWindowTest::escapeDoesNotEndTheProgram() {
    QVERIFY(Fixture->Open());
    QSignalSpy finished(Fixture->Window.get(), &QDialog::finished);
    QTest::keyClick(Fixture->Window.get(), Qt::Key_Escape);
    QCOMPARE(finished.size(), 0);
    QVERIFY(Fixture->Window->isVisible());
}

void CMainWindowTest::trayMenuAndFileDialogsSayWhatTheyShould() {
    // An empty shelf of the test's own.
    QTemporaryDir data;
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const auto restore = qScopeGuard([&dataHome] { qputenv("XDG_DATA_HOME", dataHome); });
    QVERIFY(Fixture->Open());
    const QList<QMenu*> menus = Fixture->Window->findChildren<QMenu*>();
    QCOMPARE(menus.size(), 1);
    QMenu* tray = menus.front();
    const auto texts = [tray] {
        emit tray->aboutToShow(); // what the menu shows is set as it opens
        QStringList shown;
        for (const QAction* action : tray->actions())
            shown << action->text();
        return shown;
    };
    QCOMPARE(texts(),
             (QStringList{QStringLiteral("（配置架上没有配置）"), QString(), QStringLiteral("关闭")}));
    Fixture->Click(IdLanguage);
    QCOMPARE(texts(),
             (QStringList{QStringLiteral("(no profiles on the shelf)"), QString(), QStringLiteral("Exit")}));
    QSignalSpy finished(Fixture->Window.get(), &QDialog::finished);
    tray->actions().back()->trigger();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), static_cast<int>(QDialog::Rejected));

    for (const PathQuestion question : {PathQuestion::SaveProfile, PathQuestion::OpenProfile}) {
        QFileDialog dialog;
        SetUpPathDialog(dialog, question);
        QCOMPARE(dialog.nameFilters(),
                 (QStringList{QStringLiteral("pro(*.pro)"), QStringLiteral("All Files(*.*)")}));
        QCOMPARE(dialog.defaultSuffix(), QStringLiteral("pro"));
        QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
        const bool saving = question == PathQuestion::SaveProfile;
        QCOMPARE(dialog.acceptMode(), saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        QCOMPARE(dialog.fileMode(), saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    }
    QFileDialog firmware;
    SetUpPathDialog(firmware, PathQuestion::OpenFirmware);
    QCOMPARE(firmware.defaultSuffix(), QString());
    QCOMPARE(firmware.fileMode(), QFileDialog::ExistingFile);
}

void CMainWindowTest::trayMenuListsTheShelfAndAppliesOnlyWhatDiffers() {
    QTemporaryDir data;
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const auto restore = qScopeGuard([&dataHome] {
        qputenv("XDG_DATA_HOME", dataHome);
        CMorvDialogProgress::SetSettleTimes(2000, 1000);
    });
    CMorvDialogProgress::SetSettleTimes(0, 0);
    const std::filesystem::path shelf = data.path().toStdString() + "/zelk/profiles";
    std::filesystem::create_directories(shelf);
    CKeyboardData profile;
    BuildKeyCatalogue(profile);
    profile.Clear();
    profile.CurrentSettings[2][0] = KeySetting{ModeMultimedia, 112, {}};
    profile.BackgroundLightSettings[1] = {255, 0, 0};
    QVERIFY(SaveProfile(profile, shelf / u8"Game é.pro"));
    QFile broken(QString::fromStdString((shelf / "broken.pro").string()));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("<Zelk><CurrentSettings>");
    broken.close();

    QVERIFY(Fixture->Open());
    CTrayPresence* tray = Fixture->Window->findChild<CTrayPresence*>();
    QVERIFY(tray != nullptr);
    tray->ConnectShelf(*Fixture->Data);
    const auto entries = [tray] {
        emit tray->Menu()->aboutToShow();
        QStringList shown;
        for (const QAction* action : tray->Menu()->actions())
            shown << (action->isSeparator() ? QStringLiteral("--")
                      : action->isChecked() ? QStringLiteral("[x] ") + action->text()
                      : action->isEnabled() ? action->text()
                                            : QStringLiteral("(off) ") + action->text());
        return shown;
    };
    QCOMPARE(entries(), (QStringList{QStringLiteral("Game é"), QStringLiteral("(off) broken（已损坏）"),
                                     QStringLiteral("--"), QStringLiteral("关闭")}));

    const long before = Fixture->Keyboard->ReportsWritten();
    tray->Menu()->actions().front()->trigger();
    QTRY_COMPARE(Fixture->Messages, QStringList{QStringLiteral("键盘上现在是“Game é”。")});
    QCOMPARE(Fixture->Keyboard->LightArea()[0], 255);
    QVERIFY(Fixture->Window->ConnectionShownText().endsWith(QStringLiteral(" · 键盘上是“Game é”")));
    QCOMPARE(entries().front(), QStringLiteral("[x] Game é"));
    const long firstApply = Fixture->Keyboard->ReportsWritten() - before;

    // The keyboard holds it now: the second choice reads (two requests) and writes nothing.
    tray->Menu()->actions().front()->trigger();
    QTRY_COMPARE(Fixture->Messages.size(), 2);
    QCOMPARE(Fixture->Messages[1], QStringLiteral("键盘上已是“Game é”，未写入任何内容。"));
    QCOMPARE(Fixture->Keyboard->ReportsWritten() - before - firstApply, 2L);

    // Written from the main window: named when the keyboard then holds a shelf profile, else not.
    Fixture->Click(IdWriteKeys);
    QTRY_COMPARE(Fixture->Messages.size(), 3);
    Fixture->Shown();
    QCOMPARE(Fixture->Window->ConnectionShownText().indexOf(QStringLiteral("键盘上是")), -1);
    QVERIFY(LoadProfile(*Fixture->Data, shelf / u8"Game é.pro"));
    Fixture->Click(IdWriteKeys);
    QTRY_COMPARE(Fixture->Messages.size(), 4);
    Fixture->Shown();
    QVERIFY(Fixture->Window->ConnectionShownText().endsWith(QStringLiteral(" · 键盘上是“Game é”")));
}

void CMainWindowTest::infoPanelIsOrangeOnDarkUnderTheStyleSheet() {
    const CProgramStyleSheet styled;
    QVERIFY(Fixture->Open());
    QVERIFY(!PanelText().isEmpty());
    QCOMPARE(TextBoxColourProblem(Fixture->Window->InfoPanel()), QString());
}

namespace {

// A change the user made: an assignment, as the key assignment editor leaves it.
void ChangeSomething() {
    Fixture->Setting(10, 0).Mode = ModeSingle;
    Fixture->Setting(10, 0).HWCode = 43;
}

// Whether the profile at the path holds the change above.
bool SavedWithTheChange(const QString& path) {
    CKeyboardData saved;
    saved.Clear();
    return QFile::exists(path) && LoadProfile(saved, path.toStdU16String()) &&
           saved.CurrentSettings[10][0].Mode == ModeSingle && saved.CurrentSettings[10][0].HWCode == 43;
}

enum Command { ExitButton, TrayExit, SystemClose, OpenButton, ClearButton, ReadAllButton };

} // namespace

void CMainWindowTest::unsavedChangesAreShownUntilKept() {
    QVERIFY(Fixture->Open());
    QTemporaryDir folder;
    Fixture->Shown();
    QCOMPARE(Fixture->Window->SaveStateShownText(), QStringLiteral("没有未保存的更改"));
    QVERIFY(!Fixture->Window->isWindowModified());

    // Scrolling or selecting in a list is no change.
    Fixture->Data->PredefinedMacro.ViewStartAt = 2;
    Fixture->Data->PredefinedMacro.CursorPos = 3;
    QVERIFY(!Fixture->Window->HasUnsavedChanges());

    ChangeSomething();
    Fixture->Shown();
    QCOMPARE(Fixture->Window->SaveStateShownText(), QStringLiteral("有未保存的更改"));
    QVERIFY(Fixture->Window->isWindowModified());

    Fixture->SavePath = folder.filePath(QStringLiteral("mine.pro"));
    Fixture->Click(IdSave);
    Fixture->Click(IdLanguage);
    Fixture->Shown();
    QCOMPARE(Fixture->Window->SaveStateShownText(), QStringLiteral("No unsaved changes"));

    // A step deep inside a named macro counts; so does a colour.
    Fixture->Data->PredefinedMacro.AppendItem(u"default");
    Fixture->Data->PredefinedMacro.SubLists[0].List = {u"A Down"};
    Fixture->Click(IdSave);
    QVERIFY(!Fixture->Window->HasUnsavedChanges());
    Fixture->Data->PredefinedMacro.SubLists[0].List[0] = u"B Down";
    Fixture->Shown();
    QCOMPARE(Fixture->Window->SaveStateShownText(), QStringLiteral("Unsaved changes"));
    Fixture->OpenPath = Fixture->SavePath;
    Fixture->Later = SaveChoice::Discard;
    Fixture->Click(IdOpen);
    QVERIFY(!Fixture->Window->HasUnsavedChanges());
    Fixture->Data->BackgroundLightSettings[87].Blue = 1;
    QVERIFY(Fixture->Window->HasUnsavedChanges());

    // Written to the keyboard or read from it: kept there. A failed write keeps nothing.
    SupplyRecordingCommands(QDialog::Rejected);
    Fixture->Click(IdWriteKeys);
    QVERIFY(Fixture->Window->HasUnsavedChanges());
    SupplyRecordingCommands(QDialog::Accepted);
    Fixture->Click(IdWriteKeys);
    QVERIFY(!Fixture->Window->HasUnsavedChanges());
    ChangeSomething();
    Fixture->Click(IdReadAll);
    QVERIFY(!Fixture->Window->HasUnsavedChanges());
}

void CMainWindowTest::workIsNotLostWithoutAsking_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("pathGiven");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<bool>("saved");
    const int save = int(SaveChoice::Save), discard = int(SaveChoice::Discard),
              cancel = int(SaveChoice::Cancel);
    QTest::newRow("exit, cancelled") << int(ExitButton) << cancel << true << false << false;
    QTest::newRow("exit, discarded") << int(ExitButton) << discard << true << true << false;
    QTest::newRow("exit, saved") << int(ExitButton) << save << true << true << true;
    QTest::newRow("exit, save dialog cancelled") << int(ExitButton) << save << false << false << false;
    QTest::newRow("tray exit, saved") << int(TrayExit) << save << true << true << true;
    QTest::newRow("closed by the system, cancelled") << int(SystemClose) << cancel << true << false << false;
    QTest::newRow("closed by the system, discarded") << int(SystemClose) << discard << true << true << false;
    QTest::newRow("open, cancelled") << int(OpenButton) << cancel << true << false << false;
    QTest::newRow("open, discarded") << int(OpenButton) << discard << true << true << false;
    QTest::newRow("open, saved") << int(OpenButton) << save << true << true << true;
    QTest::newRow("clear, cancelled") << int(ClearButton) << cancel << true << false << false;
    QTest::newRow("clear, discarded") << int(ClearButton) << discard << true << true << false;
    QTest::newRow("clear, saved") << int(ClearButton) << save << true << true << true;
    QTest::newRow("read all, cancelled") << int(ReadAllButton) << cancel << true << false << false;
    QTest::newRow("read all, discarded") << int(ReadAllButton) << discard << true << true << false;
    QTest::newRow("read all, save dialog cancelled") << int(ReadAllButton) << save << false << false << false;
}

void CMainWindowTest::workIsNotLostWithoutAsking() {
    QFETCH(int, command);
    QFETCH(int, answer);
    QFETCH(bool, pathGiven);
    QFETCH(bool, goesOn);
    QFETCH(bool, saved);
    QVERIFY(Fixture->Open());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("work.pro"));
    Fixture->SavePath = pathGiven ? path : QString();
    ChangeSomething();
    Fixture->Choices = {SaveChoice(answer)};
    QSignalSpy finished(Fixture->Window.get(), &QDialog::finished);
    switch (command) {
    case ExitButton:
        Fixture->Click(IdExit);
        break;
    case TrayExit:
        Fixture->Window->findChild<QMenu*>()->actions().constFirst()->trigger();
        break;
    case SystemClose:
        Fixture->Window->close();
        break;
    case OpenButton:
        Fixture->Click(IdOpen);
        break;
    case ClearButton:
        Fixture->Click(IdClear);
        break;
    case ReadAllButton:
        SupplyRecordingCommands(QDialog::Rejected);
        Fixture->Click(IdReadAll);
        break;
    }
    QCOMPARE(Fixture->Questions.size(), 1);
    QCOMPARE(Fixture->Questions[0].text, QStringLiteral("当前配置有未保存的更改，是否先保存？"));
    QCOMPARE(Fixture->Questions[0].save, QStringLiteral("保存"));
    QCOMPARE(Fixture->Questions[0].discard, QStringLiteral("不保存"));
    QCOMPARE(Fixture->Questions[0].cancel, QStringLiteral("取消"));
    QCOMPARE(SavedWithTheChange(path), saved);
    QVERIFY(Fixture->Messages.isEmpty());
    switch (command) {
    case OpenButton:
        QCOMPARE(Fixture->OpenAsked, goesOn ? 1 : 0);
        break;
    case ClearButton:
        QCOMPARE(Fixture->Setting(10, 0).Mode, goesOn ? int(ModeNotSet) : int(ModeSingle));
        QCOMPARE(Fixture->Window->HasUnsavedChanges(), !goesOn); // cleared is a fresh start
        break;
    case ReadAllButton:
        QCOMPARE(Fixture->Ran, goesOn ? QStringList{QStringLiteral("progress 3")} : QStringList{});
        break;
    default:
        QCOMPARE(finished.size(), goesOn ? 1 : 0);
        QCOMPARE(Fixture->Window->isVisible(), !goesOn);
        break;
    }
}

void CMainWindowTest::keyboardGoneOffersToSaveFirst_data() {
    QTest::addColumn<QList<SaveChoice>>("answers");
    QTest::addColumn<bool>("pathGiven");
    QTest::addColumn<bool>("saved");
    QTest::newRow("saved") << QList<SaveChoice>{SaveChoice::Save} << true << true;
    QTest::newRow("discarded") << QList<SaveChoice>{SaveChoice::Discard} << true << false;
    QTest::newRow("save dialog cancelled, then discarded")
        << QList<SaveChoice>{SaveChoice::Save, SaveChoice::Discard} << false << false;
}

void CMainWindowTest::keyboardGoneOffersToSaveFirst() {
    QFETCH(QList<SaveChoice>, answers);
    QFETCH(bool, pathGiven);
    QFETCH(bool, saved);
    QVERIFY(Fixture->Open());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("work.pro"));
    Fixture->SavePath = pathGiven ? path : QString();
    ChangeSomething();
    Fixture->Choices = answers;
    QSignalSpy finished(Fixture->Window.get(), &QDialog::finished);
    Fixture->Keyboard->SetPlugged(false);
    Fixture->Window->CheckDevice();
    QCOMPARE(Fixture->Messages, QStringList{QStringLiteral("Keyboard is not connected")});
    QCOMPARE(Fixture->Questions.size(), answers.size());
    for (const CSaveQuestion& question : Fixture->Questions) {
        QCOMPARE(question.text, QStringLiteral("程序即将退出。当前配置有未保存的更改，是否先保存？"));
        QVERIFY(question.cancel.isEmpty()); // the program ends either way
    }
    QCOMPARE(SavedWithTheChange(path), saved);
    QCOMPARE(finished.size(), 1);
}

void CMainWindowTest::statusLineNamesTheConnection() {
    Fixture->Window->SetConnection({true, u"/home/me/.zelk-virtual-keyboard"});
    QVERIFY(Fixture->Open());
    Fixture->Shown();
    QCOMPARE(Fixture->Window->ConnectionShownText(),
             QStringLiteral("虚拟键盘（设置保存在 /home/me/.zelk-virtual-keyboard）"));
    Fixture->Click(IdLanguage);
    Fixture->Window->SetConnection({true, {}});
    Fixture->Shown();
    QCOMPARE(Fixture->Window->ConnectionShownText(),
             QStringLiteral("Virtual keyboard (its settings are not kept)"));
}

void CMainWindowTest::shortcutsAndTooltips() {
    QVERIFY(Fixture->Open());
    QCOMPARE(Fixture->Window->ToolTipAt(Fixture->At(IdSave)), QStringLiteral("将配置保存到文件（Ctrl+S）"));
    QCOMPARE(Fixture->Window->ToolTipAt(QPoint(82, 120)), QStringLiteral("将配置保存到文件（Ctrl+S）"));
    QVERIFY(Fixture->Window->ToolTipAt(Fixture->At(IdKeyBase + 1)).isEmpty());
    Fixture->Click(IdLanguage);
    QCOMPARE(Fixture->Window->ToolTipAt(Fixture->At(IdOpen)),
             QStringLiteral("Open a profile from a file (Ctrl+O)"));

    Fixture->Window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Fixture->Window.get()));
    QTest::keyClick(Fixture->Window.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(Fixture->Window.get(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(Fixture->SaveAsked, 1);
    QCOMPARE(Fixture->OpenAsked, 1);
}

void CMainWindowTest::hiddenWithoutNotificationAreaStaysUsable() {
    if (QSystemTrayIcon::isSystemTrayAvailable())
        QSKIP("there is a notification area here");
    QVERIFY(Fixture->Open());
    Fixture->Click(IdHide);
    QTRY_VERIFY(Fixture->Window->isMinimized());
    // Still on the screen (nothing minimised it): it keeps painting and takes clicks.
    Fixture->Setting(46, 0).Mode = ModeSingle;
    QVERIFY(
        SameBlock(Fixture->Shown(), Picture(MainActivePicture), ToQRect(Fixture->Area(IdKeyBase + 46).rect)));
    Fixture->Click(IdLayer);
    QCOMPARE(Fixture->Data->CurrentLevel, 1);
    QTRY_VERIFY(!Fixture->Window->isMinimized());
}

void CMainWindowTest::qtTextsFollowTheUiLanguage() {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                       QStringLiteral("/qtbase_zh_CN.qm")))
        QSKIP("Qt's Chinese texts are not installed (qt6-translations-l10n)");
    const QLocale before;
    CMorvApp application;
    QVERIFY(application.UseQtLanguage(UiLanguage::Chinese));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    QVERIFY(application.UseQtLanguage(UiLanguage::English));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    QLocale::setDefault(before);
}
