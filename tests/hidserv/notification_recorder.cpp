#include "notification_recorder.h"

#include <algorithm>
#include <atomic>

namespace tarvenor::testing {
namespace {

std::atomic<NotificationRecorder*> g_recorder{nullptr};

} // namespace

NotificationRecorder::NotificationRecorder() {
    g_recorder.store(this);
}

NotificationRecorder::~NotificationRecorder() {
    g_recorder.store(nullptr);
}

int NotificationRecorder::callback(const HidReadNotification* notification) {
    if (NotificationRecorder* recorder = g_recorder.load()) {
        recorder->record(*notification);
    }
    return 1;
}

void NotificationRecorder::record(const HidReadNotification& notification) {
    const HidRequestRecord& request = *notification.request;
    Notification copy{
        notification.kind, request.tag, request.length_or_count, {}, std::this_thread::get_id()};
    if (notification.kind == HIDSERV_KIND_DATA && request.data != nullptr) {
        copy.data.assign(request.data, request.data + request.length_or_count);
    }
    {
        const std::lock_guard lock(mutex_);
        notifications_.push_back(copy);
    }
    changed_.notify_all();
    if (on_notification) {
        on_notification(copy);
    }
}

std::vector<Notification> NotificationRecorder::all() {
    const std::lock_guard lock(mutex_);
    return notifications_;
}

bool NotificationRecorder::wait_for(
    const std::function<bool(const std::vector<Notification>&)>& condition) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(2),
                             [&] { return condition(notifications_); });
}

std::vector<Notification> only(const std::vector<Notification>& notifications, std::uint32_t kind,
                               std::uint32_t tag) {
    std::vector<Notification> matching;
    std::copy_if(notifications.begin(), notifications.end(), std::back_inserter(matching),
                 [&](const Notification& n) { return n.kind == kind && n.tag == tag; });
    return matching;
}

} // namespace tarvenor::testing
