#include "ProgressDialogTest.h"

#include "DeviceUiTestSupport.h"
#include "device_ui/DeviceDialogAreas.h"
#include "device_ui/DeviceWorkers.h"
#include "device_ui/ProgressDialog.h"
#include "skin/WindowMessageTarget.h"

#include <QApplication>
#include <QTest>

#include <QTimer>
#include <utility>

#include <memory>

namespace {

std::unique_ptr<CDeviceFixture> Fixture;

CActionList Content(std::initializer_list<std::u16string> items, int sizeOfView) {
    CActionList list;
    list.SizeOfView = sizeOfView;
    for (const auto& item : items)
        list.AppendItem(item);
    return list;
}

// Assignments of several kinds on both levels, and a few colours.
void FillModel(CKeyboardData& data) {
    auto set = [&data](int key, int level) -> KeySetting& {
        return data.CurrentSettings[static_cast<std::size_t>(key)][static_cast<std::size_t>(level)];
    };
    set(43, 0) = KeySetting{ModeSingle, 44, {}};
    set(5, 1) = KeySetting{ModeCombo, 0, Content({u"Left CONTROL", u"C"}, 6)};
    CActionList emulation = Content({u"A", u"B"}, 9);
    emulation.Delay = 40;
    set(10, 0) = KeySetting{ModeEmulation, 0, emulation};
    set(87, 1) = KeySetting{ModeMultimedia, 108, {}};
    data.BackgroundLightSettings[1] = {255, 111, 0};
    data.BackgroundLightSettings[87] = {1, 2, 3};
}

// Records the posted messages progress dialogs receive, before they handle them.
class CPostRecorder : public QObject {
public:
    QList<unsigned> Messages;
    QList<std::uintptr_t> Values;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == CPostedMessageEvent::EventType() &&
            qobject_cast<CMorvDialogProgress*>(watched) != nullptr) {
            const auto* posted = static_cast<CPostedMessageEvent*>(event);
            Messages << posted->Message;
            Values << posted->WParam;
        }
        return QObject::eventFilter(watched, event);
    }
};

const QString WriteKeysFailed =
    QStringLiteral("Writing the key settings failed! Check that the keyboard is connected and try again.");
const QString NotSent = QStringLiteral("\nReason: the keyboard took no report (is it unplugged?)");

} // namespace

void CProgressDialogTest::cleanup() {
    Fixture.reset();
    DeviceLossCheck() = {};
}

void CProgressDialogTest::operationsEndWithOkAndMoveTheSettings() {
    Fixture = std::make_unique<CDeviceFixture>();
    CKeyboardData& data = *Fixture->Data;
    FillModel(data);
    QVERIFY(RunDeviceOperation(nullptr, data, OperationWriteKeys));
    QVERIFY(RunDeviceOperation(nullptr, data, OperationWriteLight));
    QCOMPARE(Fixture->Messages, (QStringList{"OK!", "OK!"}));
    QVERIFY(data.NotifyWindow == nullptr);
    QCOMPARE(Fixture->Keyboard->LightArea()[0], std::uint8_t{255});
    QCOMPARE(Fixture->Keyboard->LightArea()[3 * 86 + 2], std::uint8_t{3});

    // Read back into a second model on the same keyboard: it gets everything the first one sent.
    CDeviceFixture second;
    second.Data->HWI.UseDeviceProvider(MakeVirtualKeyboardProvider(Fixture->Keyboard));
    second.Data->HWI.__closeDev();
    QVERIFY(second.Data->HWI.__createDev());
    QVERIFY(!SameKeyboardSettings(*second.Data, data));
    QVERIFY(RunDeviceOperation(nullptr, *second.Data, OperationReadAll));
    QCOMPARE(second.Messages, QStringList{"OK!"});
    QVERIFY(SameKeyboardSettings(*second.Data, data));
    QCOMPARE(second.Data->CurrentSettings[10][0].ComboKey.Delay, 40);
    QCOMPARE(second.Data->CurrentSettings[87][1].Mode, static_cast<int>(ModeMultimedia));
}

void CProgressDialogTest::aLossOnTheDeviceSideIsToldInsteadOfOk() {
    // The backlight dialog's own write takes this road too.
    Fixture = std::make_unique<CDeviceFixture>();
    CKeyboardData& data = *Fixture->Data;
    DeviceLossCheck() = [] {
        return Wrapped(ProblemCode::ReportLogIncomplete, "/full/reports.log", SystemProblem(ENOSPC));
    };
    data.UiLanguage = UiLanguage::English;
    QVERIFY(RunDeviceOperation(nullptr, data, OperationWriteLight));
    data.UiLanguage = UiLanguage::Chinese;
    QVERIFY(RunDeviceOperation(nullptr, data, OperationWriteLight));
    QCOMPARE(
        Fixture->Messages,
        (QStringList{
            "The transfer ended, but the report log /full/reports.log is incomplete: No space left on device",
            QStringLiteral("传输已完成，但报告日志 /full/reports.log 不完整：设备上没有空间。")}));
}

void CProgressDialogTest::failuresAreToldInsteadOfOk() {
    Fixture = std::make_unique<CDeviceFixture>();
    CKeyboardData& data = *Fixture->Data;
    FillModel(data);

    Fixture->Keyboard->SetFaults({.FailWriteAt = 20});
    QVERIFY(!RunDeviceOperation(nullptr, data, OperationWriteKeys));
    QCOMPARE(Fixture->Messages, QStringList{WriteKeysFailed + NotSent});

    // A read that fails half-way leaves every key and colour as it was, and so does one whose light
    // area request (the read's second write) fails after all keys have arrived.
    Fixture->Keyboard->SetFaults({});
    QVERIFY(RunDeviceOperation(nullptr, data, OperationWriteKeys));
    QVERIFY(RunDeviceOperation(nullptr, data, OperationWriteLight));
    data.Clear();
    Fixture->Setting(2, 0) = KeySetting{ModeSingle, 20, {}};
    data.BackgroundLightSettings[1] = {9, 9, 9};
    for (const auto& [faults, reason] :
         {std::pair{CVirtualKeyboardFaults{.UnplugAtReport = 4},
                    QStringLiteral("\nReason: no report could be read from the keyboard (is it unplugged?)")},
          std::pair{CVirtualKeyboardFaults{.FailWriteAt = 2}, NotSent}}) {
        Fixture->Messages.clear();
        Fixture->Keyboard->SetPlugged(true);
        Fixture->Keyboard->SetFaults(faults);
        QVERIFY(!RunDeviceOperation(nullptr, data, OperationReadAll));
        QCOMPARE(
            Fixture->Messages,
            QStringList{QStringLiteral("Reading the keyboard failed! The settings shown are unchanged. Check "
                                       "that the keyboard is connected and try again.") +
                        reason});
        QCOMPARE(data.CurrentSettings[43][0].Mode, static_cast<int>(ModeNotSet));
        QCOMPARE(data.CurrentSettings[2][0].HWCode, 20);
        QCOMPARE(data.BackgroundLightSettings[1].Red, 9);
    }
    Fixture->Keyboard->SetPlugged(true);
    Fixture->Keyboard->SetFaults({});
    QVERIFY(RunDeviceOperation(nullptr, data, OperationReadAll));
    QCOMPARE(data.CurrentSettings[43][0].HWCode, 44);

    // Chinese when the UI is Chinese.
    Fixture->Messages.clear();
    data.UiLanguage = UiLanguage::Chinese;
    Fixture->Keyboard->SetFaults({.FailWriteAt = 1});
    QVERIFY(!RunDeviceOperation(nullptr, data, OperationWriteLight));
    QCOMPARE(Fixture->Messages,
             QStringList{QStringLiteral(
                 "写入背光设置失败！请检查键盘连接后重试。\n原因：键盘没有接收报告（是否已拔下？）")});

    // Without a keyboard every operation fails at once and says so.
    Fixture->Messages.clear();
    data.UiLanguage = UiLanguage::English;
    Fixture->Keyboard->SetFaults({});
    Fixture->Keyboard->SetPlugged(false);
    QVERIFY(!RunDeviceOperation(nullptr, data, OperationWriteKeys));
    QCOMPARE(Fixture->Messages, QStringList{WriteKeysFailed + NotSent});
}

void CProgressDialogTest::refusedAssignmentIsNamedAndNothingIsSent() {
    Fixture = std::make_unique<CDeviceFixture>();
    CKeyboardData& data = *Fixture->Data;
    FillModel(data);
    CActionList tooLong;
    for (int i = 0; i < 70; ++i)
        tooLong.AppendItem(u"A");
    Fixture->Setting(44, 1) = KeySetting{ModeCombo, 0, tooLong}; // key S
    const long reports = Fixture->Keyboard->ReportsWritten();
    QVERIFY(!RunDeviceOperation(nullptr, data, OperationWriteKeys));
    QCOMPARE(Fixture->Messages,
             QStringList{QStringLiteral(
                 "The key settings were not written: the keyboard cannot hold the setting of "
                 "key \"S\" on Level 2 (too long, or a play mode the keyboard lacks).\nReason: 70 "
                 "keys are more than a combination takes (58)")});
    QCOMPARE(Fixture->Keyboard->ReportsWritten(), reports);

    Fixture->Messages.clear();
    data.UiLanguage = UiLanguage::Chinese;
    Fixture->Setting(44, 1) = KeySetting{};
    Fixture->Setting(1, 0) = KeySetting{ModeEmulation, 0, tooLong}; // Esc
    QVERIFY(!RunDeviceOperation(nullptr, data, OperationWriteKeys));
    QCOMPARE(Fixture->Messages,
             QStringList{QStringLiteral(
                 "按键设置未写入：键盘无法保存按键“Esc”在上档键上的设置（内容过长或播放方式不受支持）。\n"
                 "原因：70 个键超过了模拟击键能容纳的数目（56）")});
}

void CProgressDialogTest::cancelledReadLeavesTheModelUntouched() {
    Fixture = std::make_unique<CDeviceFixture>();
    CKeyboardData& data = *Fixture->Data;
    FillModel(data);
    QVERIFY(RunDeviceOperation(nullptr, data, OperationWriteKeys));
    QVERIFY(RunDeviceOperation(nullptr, data, OperationWriteLight));
    Fixture->Messages.clear();
    data.Clear();

    // Slow enough that the read is still running when Cancel is clicked; the long pause between the
    // keys and the light area keeps it running whatever the machine's speed.
    Fixture->Keyboard->SetMicrosecondsPerReport(4000);
    CMorvDialogProgress::SetSettleTimes(60000, 0);
    WhenModalOpens([](QWidget* opened) {
        auto* dialog = qobject_cast<CMorvDialogProgress*>(opened);
        QVERIFY(dialog != nullptr);
        auto* wait = new QTimer(dialog);
        QObject::connect(wait, &QTimer::timeout, dialog, [dialog, wait] {
            if (dialog->Percent() <= 1)
                return;
            wait->stop();
            QTest::mouseClick(dialog, Qt::LeftButton, {}, Centre(dialog->AreaById(IdDeviceCancel)->rect));
        });
        wait->start(5);
    });
    QVERIFY(!RunDeviceOperation(nullptr, data, OperationReadAll));
    QVERIFY(Fixture->Messages.isEmpty());
    QVERIFY(CDeviceWorkers::Instance().Busy());

    // The read finishes in the background; what it brought is dropped.
    CDeviceWorkers::Instance().WaitForAll();
    QCoreApplication::processEvents();
    QCOMPARE(data.CurrentSettings[43][0].Mode, static_cast<int>(ModeNotSet));
    QCOMPARE(data.BackgroundLightSettings[1].Red, 0);
    QVERIFY(data.NotifyWindow == nullptr);

    // The keyboard did hold the settings: a read that runs to its end brings them.
    Fixture->Keyboard->SetMicrosecondsPerReport(0);
    CMorvDialogProgress::SetSettleTimes(0, 0);
    QVERIFY(RunDeviceOperation(nullptr, data, OperationReadAll));
    QCOMPARE(data.CurrentSettings[43][0].HWCode, 44);
    QCOMPARE(data.BackgroundLightSettings[1].Red, 255);
}

void CProgressDialogTest::endedByTheProgramTellsNothing() {
    Fixture = std::make_unique<CDeviceFixture>();
    CMorvDialogProgress::SetSettleTimes(60000, 0);
    WhenModalOpens([](QWidget* dialog) { static_cast<QDialog*>(dialog)->done(-1); });
    QVERIFY(!RunDeviceOperation(nullptr, *Fixture->Data, OperationReadAll));
    QVERIFY(Fixture->Messages.isEmpty());
    QVERIFY(!RunDeviceOperation(nullptr, *Fixture->Data, 2));
    QVERIFY(Fixture->Messages.isEmpty());
}

void CProgressDialogTest::progressValuesReachTheBarWithinItsWidth() {
    Fixture = std::make_unique<CDeviceFixture>();
    CMorvDialogProgress dialog(*Fixture->Data, TestSkins(), OperationWriteKeys);
    QCOMPARE(dialog.size(), QSize(DeviceDialogWidth, DeviceDialogHeight));
    QCOMPARE(dialog.Percent(), 1);
    const std::shared_ptr<CWindowMessageTarget> target = dialog.MessageTarget();
    const struct {
        int value;
        int percent;
        int width;
    } steps[] = {{0, 0, 0}, {1, 0, 0}, {75, 50, 145}, {150, 100, 290}, {173, 115, 290}};
    for (const auto& step : steps) {
        target->Post(WM_DEVICE_PROGRESS, static_cast<std::uintptr_t>(step.value), 0);
        QCoreApplication::processEvents();
        QCOMPARE(dialog.Percent(), step.percent);
        QCOMPARE(dialog.FilledBar().left, DeviceProgressBarRect.left);
        QCOMPARE(dialog.FilledBar().Width(), step.width);
        QCOMPARE(dialog.FilledBar().top, DeviceProgressBarRect.top);
        QCOMPARE(dialog.FilledBar().bottom, DeviceProgressBarRect.bottom);
    }
}

void CProgressDialogTest::keyWritePostsEverySlotAndTheBarIsPainted() {
    Fixture = std::make_unique<CDeviceFixture>();
    CPostRecorder recorder;
    qApp->installEventFilter(&recorder);
    QVERIFY(RunDeviceOperation(nullptr, *Fixture->Data, OperationWriteKeys));
    qApp->removeEventFilter(&recorder);
    QCOMPARE(recorder.Messages.count(WM_DEVICE_PROGRESS), SlotCount);
    QCOMPARE(recorder.Messages.count(WM_DEVICE_DONE), 1);
    QCOMPARE(recorder.Messages.last(), WM_DEVICE_DONE);
    QCOMPARE(recorder.Values.first(), std::uintptr_t{0});

    // A third of the way: the left third of the bar comes from the active picture, the rest is the
    // empty trough of the background.
    CMorvDialogProgress dialog(*Fixture->Data, TestSkins(), OperationWriteKeys);
    dialog.MessageTarget()->Post(WM_DEVICE_PROGRESS, 50, 0);
    QCoreApplication::processEvents();
    const QImage shown = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& active = *TestSkins().PlainPicture(ProgressActivePicture);
    const QImage& background = *TestSkins().PlainPicture(ProgressBackgroundPicture);
    const int y = (DeviceProgressBarRect.top + DeviceProgressBarRect.bottom) / 2;
    const int filledEnd = DeviceProgressBarRect.left + 33 * DeviceProgressBarWidth / 100;
    for (int x = DeviceProgressBarRect.left; x < DeviceProgressBarRect.right; ++x) {
        const QRgb expected = x < filledEnd ? active.pixel(x, y) : background.pixel(x, y);
        QCOMPARE(shown.pixel(x, y) & 0xffffffu, expected & 0xffffffu);
    }
    QVERIFY(active.pixel(DeviceProgressBarRect.left + 5, y) !=
            background.pixel(DeviceProgressBarRect.left + 5, y));
}
