#pragma once

#include <atomic>

namespace tarvenor {

// Folds the keyboard's refresh requests into one deferred re-read: only the first request after
// a re-read started schedules another. Requests come on any thread.
class RefreshCoalescer {
public:
    // True when the caller must schedule the re-read; false when one is already pending.
    bool request() { return !pending_.exchange(true); }
    // The re-read starts: requests from now on schedule the next one.
    void begin() { pending_.store(false); }
    bool pending() const { return pending_.load(); }

private:
    std::atomic<bool> pending_{false};
};

} // namespace tarvenor
