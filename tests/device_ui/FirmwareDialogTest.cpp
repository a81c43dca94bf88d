#include "FirmwareDialogTest.h"

#include "DeviceUiTestSupport.h"
#include "device_ui/DeviceDialogAreas.h"
#include "device_ui/DeviceWorkers.h"
#include "device_ui/FirmwareDialog.h"
#include "device_ui/ProgressDialog.h"
#include "model/DeviceBridge.h"
#include "model/Profile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

struct CFirmwareFixture : CDeviceFixture {
    CFirmwareFixture() : Dialog(std::make_unique<CMorvDialogFirmwareUpdate>(*Data, TestSkins())) {
        Answers->AskSaveChanges = [this](QWidget*, const CSaveQuestion& question) {
            Questions << question.text + QStringLiteral(" | ") + question.save + QStringLiteral(" | ") +
                             question.discard + QStringLiteral(" | ") + question.cancel;
            return BackupChoice;
        };
    }
    ~CFirmwareFixture() { Dialog.reset(); }

    QString WriteFile(const QString& name, const std::string& text) {
        const QString path = Folder.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(text.data(), static_cast<qint64>(text.size()));
        return path;
    }

    // Chooses the file with Open, then presses Update and waits for the result message.
    void Update(const QString& path) {
        FirmwarePath = path;
        Dialog->Dispatch(IdFirmwareOpen);
        const auto before = Messages.size();
        Dialog->Dispatch(IdFirmwareUpdate);
        QTRY_VERIFY_WITH_TIMEOUT(Messages.size() > before, 20000);
    }

    QTemporaryDir Folder;
    std::unique_ptr<CMorvDialogFirmwareUpdate> Dialog;
    SaveChoice BackupChoice = SaveChoice::Discard; // the answer to the backup question
    QStringList Questions;
};

std::unique_ptr<CFirmwareFixture> Fixture;

const QString SuccessText =
    QStringLiteral("The Firmware is downloaded successfully.\nPlease keep the USB plug in until three "
                   "indicator lights flash "
                   "simultaneously.\nThen firmware updated completely,pleased unplug the USB and plug in.");

} // namespace

void CFirmwareDialogTest::init() {
    Fixture = std::make_unique<CFirmwareFixture>();
}

void CFirmwareDialogTest::cleanup() {
    Fixture.reset();
}

void CFirmwareDialogTest::opensWithItsAreasAndTextBoxes() {
    CMorvDialogFirmwareUpdate& dialog = *Fixture->Dialog;
    QCOMPARE(dialog.size(), QSize(DeviceDialogWidth, DeviceDialogHeight));
    QCOMPARE(dialog.Areas().size(), std::size_t{FirmwareDialogAreaCount});
    QCOMPARE(dialog.Percent(), 0);
    QVERIFY(Fixture->Data->NotifyWindow != nullptr);
    QCOMPARE(dialog.VersionBox()->geometry(), QRect(44, 78, 162, 18));
    QCOMPARE(dialog.PathBox()->geometry(), QRect(112, 116, 143, 19));
    for (QLineEdit* box : {dialog.VersionBox(), dialog.PathBox()}) {
        QVERIFY(box->isReadOnly());
        QCOMPARE(box->focusPolicy(), Qt::NoFocus); // never focused, so never a caret
        QCOMPARE(box->font().pixelSize(), 13);
        QCOMPARE(box->palette().color(QPalette::Text), QColor(255, 111, 0));
        QCOMPARE(box->palette().color(QPalette::Base), QColor(20, 20, 20));
    }
    // A click on a button's caption reaches the button; labels alone take nothing.
    QCOMPARE(dialog.ClickedArea(QPoint(88, 220))->id, static_cast<int>(IdFirmwareUpdate));
    QCOMPARE(dialog.ClickedArea(QPoint(60, 125)), nullptr);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(282, 225));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), static_cast<int>(QDialog::Rejected));
    Fixture->Dialog.reset();
    QVERIFY(Fixture->Data->NotifyWindow == nullptr);
}

void CFirmwareDialogTest::validFileIsWrittenWithProgressAndSuccessText() {
    const QString path = Fixture->WriteFile(QStringLiteral("keyboard.hex"), FirmwareText(299));
    QSignalSpy finished(Fixture->Dialog.get(), &QDialog::finished);
    Fixture->Update(path);
    QCOMPARE(Fixture->Messages, QStringList{SuccessText});
    QCOMPARE(Fixture->Dialog->Percent(), 100);
    QCOMPARE(Fixture->Dialog->FilledBar().Width(), DeviceProgressBarWidth);
    QCOMPARE(Fixture->Data->FirmwarePath, path.toStdU16String());
    QCOMPARE(Fixture->Dialog->PathBox()->text(), QDir::toNativeSeparators(path));
    const std::vector<std::uint8_t> image = Fixture->Keyboard->FirmwareImage();
    QCOMPARE(image.size(), std::size_t{299 * 16});
    QCOMPARE(image[17], std::uint8_t{(1 * 7 + 1 * 13) & 0xFF});
    QCOMPARE(Fixture->Keyboard->FirmwareChecksumErrors(), 0);
    QCOMPARE(finished.size(), 0); // the dialog stays open
}

void CFirmwareDialogTest::noFileChosenCannotBeOpened() {
    Fixture->Dialog->Dispatch(IdFirmwareUpdate);
    QTRY_COMPARE(Fixture->Messages, QStringList{QStringLiteral("Can't open firmware file")});
    QCOMPARE(Fixture->Dialog->Percent(), 1);
    // A folder is no firmware file either.
    Fixture->Messages.clear();
    Fixture->Update(Fixture->Folder.path());
    QCOMPARE(Fixture->Messages,
             QStringList{QStringLiteral("Can't open firmware file\nReason: it is a folder, not a file")});
}

void CFirmwareDialogTest::corruptFileIsRefusedBeforeAnythingIsSent() {
    std::string text = FirmwareText(10);
    text[text.find("\r\n", 200) - 1] ^= 1; // a wrong checksum in the fifth record
    const QString path = Fixture->WriteFile(QStringLiteral("bad.hex"), text);
    const long reports = Fixture->Keyboard->ReportsWritten();
    Fixture->Update(path);
    QCOMPARE(Fixture->Messages.size(), 1);
    QVERIFY2(Fixture->Messages[0].startsWith(
                 QStringLiteral("This is not a valid firmware file; nothing was written to the keyboard:\n")),
             qPrintable(Fixture->Messages[0]));
    QVERIFY2(Fixture->Messages[0].contains(QStringLiteral("checksum")), qPrintable(Fixture->Messages[0]));
    QCOMPARE(Fixture->Keyboard->ReportsWritten(), reports);

    Fixture->Messages.clear();
    Fixture->Update(Fixture->WriteFile(QStringLiteral("notes.txt"), "release notes\r\n"));
    QVERIFY2(Fixture->Messages.value(0).contains(QStringLiteral("Intel-HEX")),
             qPrintable(Fixture->Messages.value(0)));
}

void CFirmwareDialogTest::failedTransferIsTold() {
    Fixture->Keyboard->SetFaults({.FailWriteAt = 30});
    Fixture->Update(Fixture->WriteFile(QStringLiteral("keyboard.hex"), FirmwareText(100)));
    QCOMPARE(Fixture->Messages, QStringList{QStringLiteral(
                                    "Firmware download failed.\nReason: the keyboard took no report (is it "
                                    "unplugged?)\nKeep the USB plug in and press Update again; "
                                    "the manual's section \"If an update fails\" tells more.")});
    // The bar keeps the value it had reached.
    QVERIFY(Fixture->Dialog->Percent() > 1);
    QVERIFY(Fixture->Dialog->Percent() < 100);

    // A firmware that reached the keyboard whose state could not be kept is not called a success.
    Fixture->Messages.clear();
    Fixture->Keyboard->SetFaults({});
    DeviceLossCheck() = [] {
        return Wrapped(ProblemCode::StateFileNotWritten, "/tmp/kept.state", SystemProblem(ENOSPC));
    };
    Fixture->Update(Fixture->WriteFile(QStringLiteral("keyboard.hex"), FirmwareText(100)));
    DeviceLossCheck() = {};
    QCOMPARE(
        Fixture->Messages,
        QStringList{QStringLiteral("The settings reached the virtual keyboard, but the virtual keyboard's "
                                   "state file /tmp/kept.state cannot be written: No space left on device")});
}

void CFirmwareDialogTest::messagesFollowTheUiLanguage() {
    Fixture->Dialog.reset();
    Fixture->Data->UiLanguage = UiLanguage::Chinese;
    Fixture->Dialog = std::make_unique<CMorvDialogFirmwareUpdate>(*Fixture->Data, TestSkins());
    Fixture->Update(QString());
    Fixture->Update(Fixture->WriteFile(QStringLiteral("keyboard.hex"), FirmwareText(3)));
    Fixture->Keyboard->SetFaults({.FailWriteAt = 2});
    Fixture->Update(Fixture->FirmwarePath);
    QCOMPARE(
        Fixture->Messages,
        (QStringList{
            QStringLiteral("打开固件文件失败"),
            QStringLiteral("固件下载完成。\n请勿插拔USB直至三个状态指示灯同时闪烁则固件更新完成，"
                           "请拔下USB重新上电。"),
            QStringLiteral("固件下载失败!\n原因：键盘没有接收报告（是否已拔下？）"
                           "\n请保持USB连接，再次点击“更新”重试；使用手册的“升级失败时”一节有详细说明。")}));
    QCOMPARE(QString::fromUtf8(Fixture->Dialog->AreaById(IdDeviceTitleLabel)->Caption(UiLanguage::Chinese)),
             QStringLiteral("键盘固件升级"));
}

void CFirmwareDialogTest::refusalsAreToldInOneLanguage() {
    Fixture->Dialog.reset();
    Fixture->Data->UiLanguage = UiLanguage::Chinese;
    Fixture->Dialog = std::make_unique<CMorvDialogFirmwareUpdate>(*Fixture->Data, TestSkins());
    std::string text = FirmwareText(10);
    text[text.find("\r\n", 200) - 1] ^= 1; // a wrong checksum in the fifth record
    Fixture->Update(Fixture->WriteFile(QStringLiteral("bad.hex"), text));
    Fixture->Update(Fixture->WriteFile(QStringLiteral("notes.txt"), "release notes\r\n"));
    QCOMPARE(
        Fixture->Messages,
        (QStringList{QStringLiteral("固件文件无效，未向键盘写入任何内容：\n第 5 行：记录长度或校验和错误"),
                     QStringLiteral(
                         "固件文件无效，未向键盘写入任何内容：\n该文件不是 Intel-HEX 文件（不以“:”开头）")}));
}

void CFirmwareDialogTest::cancelledOpenKeepsTheEarlierPath() {
    Fixture->FirmwarePath = QStringLiteral("/tmp/first.hex");
    Fixture->Dialog->Dispatch(IdFirmwareOpen);
    Fixture->FirmwarePath.clear();
    Fixture->Dialog->Dispatch(IdFirmwareOpen);
    QCOMPARE(Fixture->FirmwareAsked, 2);
    QCOMPARE(Fixture->Dialog->FilePath(), QStringLiteral("/tmp/first.hex"));
    QCOMPARE(Fixture->Dialog->PathBox()->text(), QDir::toNativeSeparators(QStringLiteral("/tmp/first.hex")));
}

void CFirmwareDialogTest::textBoxesAreOrangeOnDarkUnderTheStyleSheet() {
    const CProgramStyleSheet styled;
    Fixture->Keyboard->SetVersionText("K87 firmware 2.31");
    Fixture->Dialog->Dispatch(IdFirmwareGetVersion);
    Fixture->FirmwarePath = QStringLiteral("/keyboard/firmware.hex");
    Fixture->Dialog->Dispatch(IdFirmwareOpen);
    Fixture->Dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(Fixture->Dialog.get()));
    for (QLineEdit* box : {Fixture->Dialog->VersionBox(), Fixture->Dialog->PathBox()})
        QCOMPARE(TextBoxColourProblem(box), QString());
}

void CFirmwareDialogTest::versionIsShownOrItsFailureTold() {
    Fixture->Keyboard->SetVersionText("K87 firmware 2.31");
    Fixture->Dialog->Dispatch(IdFirmwareGetVersion);
    QVERIFY(Fixture->Messages.isEmpty());
    QCOMPARE(Fixture->Dialog->VersionBox()->text(), QStringLiteral("K87 firmware 2.31"));

    QCOMPARE(Fixture->Dialog->VersionBox()->font().pixelSize(), 13);

    // A version text wider than the box at the usual size is shown whole in a smaller font.
    Fixture->Keyboard->SetVersionText("Zelk virtual keyboard V1.00");
    Fixture->Dialog->Dispatch(IdFirmwareGetVersion);
    const QLineEdit* box = Fixture->Dialog->VersionBox();
    QCOMPARE(box->text(), QStringLiteral("Zelk virtual keyboard V1.00"));
    QVERIFY(box->font().pixelSize() < 13);
    QVERIFY(QFontMetrics(box->font()).horizontalAdvance(box->text()) <=
            box->contentsRect().width() - box->textMargins().left() - box->textMargins().right());

    Fixture->Keyboard->SetPlugged(false);
    Fixture->Dialog->Dispatch(IdFirmwareGetVersion);
    QCOMPARE(Fixture->Messages, QStringList{QStringLiteral("Failed on reading keyboard version infomation")});
    QCOMPARE(Fixture->Dialog->VersionBox()->text(), QStringLiteral("Zelk virtual keyboard V1.00"));
}

void CFirmwareDialogTest::nothingStartsWhileAFirmwareTransferRuns() {
    const QString path = Fixture->WriteFile(QStringLiteral("keyboard.hex"), FirmwareText(400));
    Fixture->Keyboard->SetMicrosecondsPerReport(5000);
    Fixture->FirmwarePath = path;
    Fixture->Dialog->Dispatch(IdFirmwareOpen);
    Fixture->Dialog->Dispatch(IdFirmwareUpdate);
    QVERIFY(CMorvDialogFirmwareUpdate::TransferRunning());
    Fixture->Dialog->Dispatch(IdFirmwareUpdate);
    Fixture->Dialog->Dispatch(IdFirmwareGetVersion);
    const QString busy = QStringLiteral("A firmware update is running. Please wait until it has finished.");
    QCOMPARE(Fixture->Messages, (QStringList{busy, busy}));
    QVERIFY(Fixture->Dialog->VersionBox()->text().isEmpty());

    // Closing the dialog does not end the transfer: a new dialog still cannot start one.
    Fixture->Dialog->Dispatch(IdDeviceClose);
    Fixture->Dialog = std::make_unique<CMorvDialogFirmwareUpdate>(*Fixture->Data, TestSkins());
    Fixture->Dialog->Dispatch(IdFirmwareUpdate);
    QCOMPARE(Fixture->Messages.size(), 3);
    QCOMPARE(Fixture->Messages.last(), busy);

    // Once it has ended, the keyboard is free again; the closed dialog's result was dropped.
    CDeviceWorkers::Instance().WaitForAll();
    QCoreApplication::processEvents();
    QVERIFY(!CMorvDialogFirmwareUpdate::TransferRunning());
    QCOMPARE(Fixture->Keyboard->FirmwareImage().size(), std::size_t{400 * 16});
    Fixture->Keyboard->SetMicrosecondsPerReport(0);
    Fixture->Dialog->Dispatch(IdFirmwareGetVersion);
    QCOMPARE(Fixture->Messages.size(), 3);
    QVERIFY(!Fixture->Dialog->VersionBox()->text().isEmpty());
}

void CFirmwareDialogTest::updateOffersABackupFirst() {
    CDeviceFixture& fixture = *Fixture;
    fixture.Setting(20, 0) = KeySetting{ModeSingle, 11, {}};
    fixture.Data->BackgroundLightSettings[3] = {200, 100, 50};
    QVERIFY(WriteKeysToDevice(*fixture.Data, nullptr) && WriteLightToDevice(*fixture.Data));
    const QString folder = Fixture->Folder.path();
    const QString backup = folder + QStringLiteral("/backup.pro");
    const QString nowhere = folder + QStringLiteral("/nowhere/backup.pro");
    const QString saved =
        SuccessText + QStringLiteral("\n\nYour key settings and backlight are saved in ") +
        QDir::toNativeSeparators(backup) +
        QStringLiteral(
            ".\nOnce the keyboard has restarted, open that file with Open, then press WriteKeys to "
            "put the key settings back, and Program under LightSet for the backlight.");
    const struct {
        const char* Name;
        SaveChoice Choice;
        QString Path; // the save dialog's answer
        long UnplugAt;
        QStringList Messages;
        bool Flashed;
        bool BackupMade;
    } cases[] = {
        {"cancel", SaveChoice::Cancel, backup, 0, {}, false, false},
        {"update without a backup", SaveChoice::Discard, backup, 0, {SuccessText}, true, false},
        {"save a backup", SaveChoice::Save, backup, 0, {saved}, true, true},
        {"save dialog cancelled", SaveChoice::Save, QString(), 0, {}, false, false},
        {"backup not writable",
         SaveChoice::Save,
         nowhere,
         0,
         {QStringLiteral("The backup ") + QDir::toNativeSeparators(nowhere) +
          QStringLiteral(
              " could not be saved: No such file or directory\nThe firmware was not updated. Choose "
              "another folder, then press Update again.")},
         false,
         false},
        {"keyboard unplugged during the backup",
         SaveChoice::Save,
         backup,
         5,
         {QStringLiteral(
             "The keyboard's settings could not be read, so no backup was saved and the firmware was "
             "not updated.\nCheck that the keyboard is connected, then press Update again.\nReason: no "
             "report "
             "could be read from the keyboard (is it unplugged?)")},
         false,
         false},
    };
    const QString question =
        QStringLiteral("Save the keyboard's key settings and backlight to a backup file before the update? "
                       "With it they can be "
                       "put back afterwards. | Save a Backup... | Update Without a Backup | Cancel");
    int lines = 3;
    for (const auto& test : cases) {
        // Each case its own image, so that what reached the keyboard tells the cases apart.
        ++lines;
        Fixture->FirmwarePath = Fixture->WriteFile(QStringLiteral("keyboard.hex"), FirmwareText(lines));
        QFile::remove(backup);
        Fixture->Keyboard->SetPlugged(true);
        Fixture->Keyboard->SetFaults({.UnplugAtReport = test.UnplugAt});
        Fixture->Messages.clear();
        Fixture->Questions.clear();
        Fixture->ProposedNames.clear();
        Fixture->BackupChoice = test.Choice;
        Fixture->SavePath = test.Path;
        Fixture->Dialog->Dispatch(IdFirmwareOpen);
        Fixture->Dialog->Dispatch(IdFirmwareUpdate);
        CDeviceWorkers::Instance().WaitForAll();
        QTRY_COMPARE_WITH_TIMEOUT(Fixture->Messages.size(), test.Messages.size(), 20000);
        QCoreApplication::processEvents();
        QVERIFY2(
            Fixture->Messages == test.Messages,
            qPrintable(test.Name + QStringLiteral(": ") + Fixture->Messages.join(QStringLiteral(" / "))));
        QCOMPARE(Fixture->Questions, QStringList{question});
        const int asked = test.Choice == SaveChoice::Save ? 1 : 0;
        QVERIFY2(Fixture->ProposedNames.size() == asked, test.Name);
        if (asked == 1)
            QVERIFY2(QRegularExpression(QStringLiteral("^zelk-backup-[0-9]{8}-[0-9]{4}\\.pro$"))
                         .match(Fixture->ProposedNames.value(0))
                         .hasMatch(),
                     qPrintable(Fixture->ProposedNames.value(0)));
        QVERIFY2((Fixture->Keyboard->FirmwareImage().size() == std::size_t(lines) * 16) == test.Flashed,
                 test.Name);
        QVERIFY2(QFile::exists(backup) == test.BackupMade, test.Name);
        QStringList files = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QStringList expected{QStringLiteral("keyboard.hex")};
        if (test.BackupMade)
            expected.prepend(QStringLiteral("backup.pro"));
        QVERIFY2(files == expected, qPrintable(test.Name + QStringLiteral(": ") + files.join(' ')));
        if (test.BackupMade) {
            CKeyboardData loaded;
            BuildKeyCatalogue(loaded);
            loaded.Clear();
            QVERIFY(LoadProfile(loaded, backup.toStdU16String()));
            QVERIFY2(SameKeyboardSettings(loaded, *fixture.Data), test.Name);
        }
    }
}
