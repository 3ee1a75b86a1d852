#pragma once

#include "hidserv/hidserv.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tarvenor::testing {

struct Notification {
    std::uint32_t kind;
    std::uint32_t tag;
    std::uint32_t length_or_count;
    std::vector<std::uint8_t> data;
    std::thread::id thread;
};

// Collects what the service library hands to its callback. The callback has no context pointer,
// so one recorder at a time is the process's.
class NotificationRecorder {
public:
    NotificationRecorder();
    ~NotificationRecorder();

    static int callback(const HidReadNotification* notification);

    std::vector<Notification> all();
    // Waits until the recorded notifications satisfy the condition (up to two seconds).
    bool wait_for(const std::function<bool(const std::vector<Notification>&)>& condition);
    // Runs inside the callback, after recording (for tests that act from the library's thread).
    std::function<void(const Notification&)> on_notification;

private:
    void record(const HidReadNotification& notification);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Notification> notifications_;
};

// Notifications of one kind and tag.
std::vector<Notification> only(const std::vector<Notification>& notifications, std::uint32_t kind,
                               std::uint32_t tag);

} // namespace tarvenor::testing
