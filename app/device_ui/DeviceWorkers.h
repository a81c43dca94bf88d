// The threads that talk to the keyboard away from the user-interface thread. The keyboard serves one
// transfer at a time, so a job starts only when every earlier one has ended (a cancelled dialog's
// job runs on to its end). Every thread is waited for before the program ends, so none outlives the
// keyboard facade it uses.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

class CDeviceWorkers {
public:
    // The program's one set of device workers. The first use arranges for WaitForAll to run when the
    // application object goes, before the program's global data is destroyed.
    static CDeviceWorkers& Instance();

    CDeviceWorkers() = default;
    ~CDeviceWorkers();
    CDeviceWorkers(const CDeviceWorkers&) = delete;
    CDeviceWorkers& operator=(const CDeviceWorkers&) = delete;

    // Runs work on a new thread once every earlier job has ended, then, with the keyboard free again,
    // finished (which typically posts the completion message).
    void Start(std::function<void()> work, std::function<void()> finished = {});
    // A job is running or waiting for its turn.
    bool Busy() const;

    // For jobs: waits the given time, or less when the program is ending. False when it is ending.
    bool Pause(std::chrono::milliseconds duration);
    // Waits for every job, cutting their pauses short.
    void WaitForAll();

private:
    struct CJob {
        std::thread Thread;
        bool Ended = false;
    };

    void JoinEnded();

    mutable std::mutex Lock;
    std::condition_variable Wake;
    std::mutex Keyboard; // held by a job while it works
    std::list<std::shared_ptr<CJob>> Jobs;
    int Pending = 0;
    int Ending = 0; // WaitForAll calls in progress
};
