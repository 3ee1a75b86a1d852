#include "device/device_worker.h"

#include <future>
#include <memory>

namespace tarvenor {

DeviceWorker::DeviceWorker() : thread_([this] { loop(); }) {}

DeviceWorker::~DeviceWorker() {
    stop();
}

void DeviceWorker::post(Task task) {
    {
        const std::lock_guard lock(mutex_);
        if (stopping_) {
            return;
        }
        tasks_.push_back(std::move(task));
    }
    queued_.notify_one();
}

void DeviceWorker::run(const Task& task) {
    if (std::this_thread::get_id() == thread_.get_id()) {
        task();
        return;
    }
    // A dropped task breaks the promise, which ends the wait as well.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    post([&task, done] {
        task();
        done->set_value();
    });
    done.reset();
    finished.wait();
}

void DeviceWorker::close() {
    // Dropped outside the lock: a task's captures may post on destruction.
    std::deque<Task> dropped;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        dropped.swap(tasks_);
    }
    queued_.notify_one();
}

void DeviceWorker::stop() {
    close();
    if (thread_.joinable() && std::this_thread::get_id() != thread_.get_id()) {
        thread_.join();
    }
}

void DeviceWorker::loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (stopping_) {
            return;
        }
        const Task task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        task();
        lock.lock();
    }
}

} // namespace tarvenor
