#include "DeviceCommandsTest.h"

#include "DeviceUiTestSupport.h"
#include "device_ui/DeviceDialogAreas.h"
#include "device_ui/FirmwareDialog.h"
#include "device_ui/ProgressDialog.h"
#include "shell/Help.h"
#include "shell/MainWindow.h"
#include "shell/MainWindowAreas.h"
#include "shell/MorvApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

struct CWindowFixture : CDeviceFixture {
    CWindowFixture() : CDeviceFixture(UiLanguage::Chinese) {
        Window = std::make_unique<CMorvDlg>(*Data, TestSkins());
    }
    ~CWindowFixture() { Window.reset(); }

    bool Open() {
        if (!Window->Initialise())
            return false;
        Window->SetDeviceCheckInterval(0);
        Window->show();
        return QTest::qWaitForWindowExposed(Window.get());
    }
    void Click(int id) {
        QTest::mouseClick(Window.get(), Qt::LeftButton, {}, Centre(Window->AreaById(id)->rect));
    }

    std::unique_ptr<CMorvDlg> Window;
};

std::unique_ptr<CWindowFixture> Fixture;

} // namespace

void CDeviceCommandsTest::initTestCase() {
    // The program loads the dialogs' pictures with its own at start-up.
    const std::vector<int> required = CMorvApp::RequiredPictures();
    for (const int id : {128, 129, 130, 139, 140, 141})
        QVERIFY(std::count(required.begin(), required.end(), id) == 1);
}

void CDeviceCommandsTest::cleanup() {
    Fixture.reset();
}

void CDeviceCommandsTest::writeAndReadButtonsReportOkOrTheFailure() {
    Fixture = std::make_unique<CWindowFixture>();
    QVERIFY(Fixture->Open());
    CKeyboardData& data = *Fixture->Data;
    data.CurrentSettings[30][0] = KeySetting{ModeSingle, 44, {}};
    Fixture->Click(IdWriteKeys);
    QCOMPARE(Fixture->Messages, QStringList{"OK!"});

    // Read all brings the keyboard's settings back and the key shows lit at once.
    Fixture->Click(IdClear);
    QCOMPARE(data.CurrentSettings[30][0].Mode, int(ModeNotSet));
    Fixture->Click(IdReadAll);
    QCOMPARE(Fixture->Messages, (QStringList{"OK!", "OK!"}));
    QCOMPARE(data.CurrentSettings[30][0].HWCode, 44);
    QTRY_VERIFY(Fixture->Window->AreaById(IdKeyBase + 30)->active);

    // A failure is told in the UI language, and no "OK!" follows it.
    Fixture->Messages.clear();
    Fixture->Click(IdLanguage); // Chinese to English, as the button reads
    QVERIFY(data.UiLanguage == UiLanguage::English);
    Fixture->Click(IdLanguage);
    Fixture->Keyboard->SetFaults({.FailWriteAt = 2});
    Fixture->Click(IdWriteKeys);
    QCOMPARE(Fixture->Messages,
             QStringList{QStringLiteral(
                 "写入按键设置失败！请检查键盘连接后重试。\n原因：键盘没有接收报告（是否已拔下？）")});
}

void CDeviceCommandsTest::cancelledReadShowsNothing() {
    Fixture = std::make_unique<CWindowFixture>();
    QVERIFY(Fixture->Open());
    CMorvDialogProgress::SetSettleTimes(60000, 0); // the read is still running when it is closed
    WhenModalOpens([](QWidget* dialog) {
        QVERIFY(qobject_cast<CMorvDialogProgress*>(dialog) != nullptr);
        QTest::mouseClick(dialog, Qt::LeftButton, {}, QPoint(343, 27)); // the close button
    });
    Fixture->Click(IdReadAll);
    QVERIFY(Fixture->Messages.isEmpty());
}

void CDeviceCommandsTest::firmwareButtonOpensTheDialog() {
    Fixture = std::make_unique<CWindowFixture>();
    QVERIFY(Fixture->Open());
    bool opened = false;
    WhenModalOpens([&opened](QWidget* dialog) {
        auto* firmware = qobject_cast<CMorvDialogFirmwareUpdate*>(dialog);
        opened = firmware != nullptr;
        if (firmware != nullptr) {
            firmware->Dispatch(IdFirmwareGetVersion);
            firmware->Dispatch(IdDeviceCancel);
        } else {
            dialog->close();
        }
    });
    Fixture->Click(IdFirmware);
    QVERIFY(opened);
    QVERIFY(Fixture->Messages.isEmpty());
}

void CDeviceCommandsTest::helpOpensTheManualInTheUiLanguage() {
    Fixture = std::make_unique<CWindowFixture>();
    QVERIFY(Fixture->Open());
    const QString chinese = HelpManualPath(UiLanguage::Chinese);
    const QString english = HelpManualPath(UiLanguage::English);
    QCOMPARE(QFileInfo(chinese).fileName(), QStringLiteral("index.zh-CN.html"));
    QCOMPARE(QFileInfo(english).fileName(), QStringLiteral("index.html"));
    QCOMPARE(QFileInfo(english).dir().dirName(), QStringLiteral("manual"));
    QCOMPARE(QFileInfo(english).dir().absolutePath(),
             QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("manual")));
    // The build copies the manual beside the program, with the pictures its pages show.
    QVERIFY(QFileInfo(chinese).isFile());
    QVERIFY(QFileInfo(english).isFile());
    for (const QString& page : {chinese, english}) {
        QFile file(page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        const QRegularExpression image(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
        int images = 0;
        for (auto match = image.globalMatch(html); match.hasNext(); ++images) {
            const QString source = match.next().captured(1);
            QVERIFY2(QFileInfo(QFileInfo(page).dir().filePath(source)).isFile(), qPrintable(source));
        }
        QVERIFY(images >= 4);
    }

    Fixture->Click(IdHelp);
    Fixture->Click(IdLanguage);
    Fixture->Click(IdHelp);
    QCOMPARE(Fixture->OpenedUrls, (QStringList{chinese, english}));
    QVERIFY(Fixture->Messages.isEmpty());

    // Nothing could show it: the person is told where the manual is.
    Fixture->UrlOpens = false;
    Fixture->Click(IdHelp);
    QCOMPARE(Fixture->Messages.size(), 1);
    QVERIFY(Fixture->Messages[0].startsWith(QStringLiteral("The user manual could not be opened:")));
}
