#include "device_ui/DeviceWorkers.h"

#include <QCoreApplication>

#include <vector>

CDeviceWorkers& CDeviceWorkers::Instance() {
    static CDeviceWorkers workers;
    static const bool registered = [] {
        // Runs while the application object is destroyed: after the windows, before the globals.
        qAddPostRoutine([] { CDeviceWorkers::Instance().WaitForAll(); });
        return true;
    }();
    Q_UNUSED(registered);
    return workers;
}

CDeviceWorkers::~CDeviceWorkers() {
    WaitForAll();
}

void CDeviceWorkers::JoinEnded() {
    std::vector<std::shared_ptr<CJob>> ended;
    {
        const std::lock_guard<std::mutex> hold(Lock);
        for (auto job = Jobs.begin(); job != Jobs.end();) {
            if ((*job)->Ended) {
                ended.push_back(*job);
                job = Jobs.erase(job);
            } else {
                ++job;
            }
        }
    }
    for (const auto& job : ended)
        job->Thread.join();
}

void CDeviceWorkers::Start(std::function<void()> work, std::function<void()> finished) {
    JoinEnded();
    auto job = std::make_shared<CJob>();
    const std::lock_guard<std::mutex> hold(Lock);
    ++Pending;
    Jobs.push_back(job);
    job->Thread = std::thread([this, job, work = std::move(work), finished = std::move(finished)] {
        {
            const std::lock_guard<std::mutex> turn(Keyboard);
            work();
        }
        {
            const std::lock_guard<std::mutex> state(Lock);
            --Pending;
        }
        if (finished)
            finished();
        const std::lock_guard<std::mutex> state(Lock);
        job->Ended = true;
    });
}

bool CDeviceWorkers::Busy() const {
    const std::lock_guard<std::mutex> hold(Lock);
    return Pending > 0;
}

bool CDeviceWorkers::Pause(std::chrono::milliseconds duration) {
    std::unique_lock<std::mutex> hold(Lock);
    return !Wake.wait_for(hold, duration, [this] { return Ending > 0; });
}

void CDeviceWorkers::WaitForAll() {
    std::list<std::shared_ptr<CJob>> jobs;
    {
        const std::lock_guard<std::mutex> hold(Lock);
        ++Ending;
        jobs.swap(Jobs);
    }
    Wake.notify_all();
    for (const auto& job : jobs)
        job->Thread.join();
    const std::lock_guard<std::mutex> hold(Lock);
    --Ending;
}
