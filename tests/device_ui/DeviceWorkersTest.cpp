#include "DeviceWorkersTest.h"

#include "DeviceUiTestSupport.h"
#include "device_ui/DeviceWorkers.h"
#include "device_ui/ProgressDialog.h"

#include <QTest>

#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

using namespace std::chrono_literals;

void CDeviceWorkersTest::jobsRunOneAtATimeInOrder() {
    CDeviceWorkers workers;
    std::mutex lock;
    std::vector<int> events; // +n: job n starts, -n: job n ends, 100 + n: job n's finish step
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    for (int job = 1; job <= 4; ++job) {
        workers.Start(
            [&, job] {
                if (++inside > 1)
                    ++overlaps;
                {
                    const std::lock_guard<std::mutex> hold(lock);
                    events.push_back(job);
                }
                workers.Pause(20ms);
                {
                    const std::lock_guard<std::mutex> hold(lock);
                    events.push_back(-job);
                }
                --inside;
            },
            [&, job] {
                const std::lock_guard<std::mutex> hold(lock);
                events.push_back(100 + job);
            });
    }
    QVERIFY(workers.Busy());
    workers.WaitForAll();
    QVERIFY(!workers.Busy());
    QCOMPARE(overlaps.load(), 0);
    // Each job's work ends before the next one's starts (the order among waiting jobs is free).
    std::vector<int> work;
    for (const int event : events) {
        if (event < 100)
            work.push_back(event);
    }
    QCOMPARE(work.size(), std::size_t{8});
    for (std::size_t i = 0; i < work.size(); i += 2)
        QCOMPARE(work[i + 1], -work[i]);
    QCOMPARE(events.size(), std::size_t{12});
}

void CDeviceWorkersTest::waitingForAllCutsPausesShort() {
    CDeviceWorkers workers;
    std::atomic<bool> paused{false};
    std::atomic<int> pauseResult{-1};
    workers.Start([&] {
        paused = true;
        pauseResult = workers.Pause(std::chrono::hours(1)) ? 1 : 0;
    });
    QTRY_VERIFY(paused.load());
    // Returns although the job asked to wait an hour: the program's end is not held up by it.
    workers.WaitForAll();
    QCOMPARE(pauseResult.load(), 0);
    QVERIFY(!workers.Busy());

    // Afterwards pauses run their course again.
    std::atomic<int> pausedAgain{-1};
    workers.Start([&] { pausedAgain = workers.Pause(1ms) ? 1 : 0; });
    QTRY_VERIFY(!workers.Busy());
    QCOMPARE(pausedAgain.load(), 1);
    workers.WaitForAll();
}

void CDeviceWorkersTest::readWithOneUnreadableDefinitionLeavesTheModel() {
    CDeviceFixture fixture;
    // On the keyboard: a single code on key 1, and on key 20 a fixed-interval macro of 65535 steps,
    // which the packets carry but the 65536-element interchange array cannot hand back.
    CMorvHWI& hwi = fixture.Data->HWI;
    std::vector<int> macro = {2, 0, 1, 0, 7, 65535};
    macro.resize(macro.size() + 65535, 7);
    QVERIFY(hwi.prepare());
    const int single[] = {0, 1, 4};
    QVERIFY(hwi.setKeyConfiguration(0, 1, single, 3));
    QVERIFY(hwi.setKeyConfiguration(0, 20, macro.data(), static_cast<int>(macro.size())));
    QVERIFY(hwi.writeKeyConfigurationToDev(nullptr));

    CKeyboardData& data = *fixture.Data;
    data.Clear();
    fixture.Setting(20, 0) = KeySetting{ModeSingle, 11, {}};
    data.BackgroundLightSettings[3] = {200, 100, 50};
    QVERIFY(!RunDeviceOperation(nullptr, data, OperationReadAll));
    QCOMPARE(fixture.Messages.size(), 1);
    QVERIFY(fixture.Messages[0].startsWith(QStringLiteral("Reading the keyboard failed!")));
    QCOMPARE(fixture.Setting(20, 0).Mode, static_cast<int>(ModeSingle));
    QCOMPARE(fixture.Setting(20, 0).HWCode, 11);
    QCOMPARE(fixture.Setting(1, 0).Mode, static_cast<int>(ModeNotSet)); // the readable key is not applied
    QCOMPARE(fixture.Setting(1, 0).HWCode, 1);
    QCOMPARE(data.BackgroundLightSettings[3].Red, 200);
}
