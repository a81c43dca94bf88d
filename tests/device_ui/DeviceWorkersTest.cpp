#include "DeviceWorkersTest.h"

#include "device_ui/DeviceWorkers.h"

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
