#include "hidserv/sim/memory_lease.h"

namespace tarvenor::sim {

Report MemoryLease::execute(const Report& request) {
    if (!firmware_.holds_memory() && Clock::now() >= resting_until_ && firmware_.hold_memory()) {
        taken_ = Clock::now();
    }
    const Report answer = firmware_.execute(request);
    last_command_ = Clock::now();
    if (firmware_.holds_memory() && last_command_ - taken_ >= kLongest) {
        release();
        resting_until_ = last_command_ + kIdle;
    }
    return answer;
}

std::optional<MemoryLease::Clock::time_point> MemoryLease::idle_end() const {
    if (!firmware_.holds_memory()) {
        return std::nullopt;
    }
    return last_command_ + kIdle;
}

void MemoryLease::release() {
    firmware_.release_memory();
}

} // namespace tarvenor::sim
