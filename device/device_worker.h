#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace tarvenor {

// One thread that runs tasks one after another, in the order they were posted.
class DeviceWorker {
public:
    using Task = std::function<void()>;

    DeviceWorker();
    DeviceWorker(const DeviceWorker&) = delete;
    DeviceWorker& operator=(const DeviceWorker&) = delete;
    ~DeviceWorker();

    // Queues a task; after stop() it is dropped.
    void post(Task task);
    // Runs a task on the worker and returns once it has run or has been dropped by stop(). On
    // the worker itself the task runs at once.
    void run(const Task& task);
    // Takes no further task and drops the queued ones; the running one finishes. Any thread.
    void close();
    // Closes, lets the running task finish and ends the thread.
    void stop();

private:
    void loop();

    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<Task> tasks_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace tarvenor
