#include "device/auto_reset_event.h"

namespace tarvenor {

void AutoResetEvent::signal() {
    {
        const std::lock_guard lock(mutex_);
        signalled_ = true;
    }
    changed_.notify_one();
}

void AutoResetEvent::reset() {
    const std::lock_guard lock(mutex_);
    signalled_ = false;
}

bool AutoResetEvent::wait_for(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, timeout, [this] { return signalled_; })) {
        return false;
    }
    signalled_ = false;
    return true;
}

} // namespace tarvenor
