#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tarvenor {

// An event that releases one wait per signal and then closes again by itself.
class AutoResetEvent {
public:
    void signal();
    void reset();
    // true when signalled within the time (the event is closed again on return).
    bool wait_for(std::chrono::milliseconds timeout);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_ = false;
};

} // namespace tarvenor
