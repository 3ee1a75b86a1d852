#pragma once

#include "hidserv/sim/firmware.h"

#include <chrono>
#include <optional>

namespace tarvenor::sim {

// Keeps the memory folder's lock across a run of commands that follow each other closely, so
// that a transfer of many reports takes the lock once instead of once per report (taking and
// letting go of a file lock is two system calls, as dear as the rest of a command). The lock is
// let go once no command came for kIdle, and after a command once it has been held for kLongest;
// for kIdle after that, commands take it each, as without a lease, so that a program waiting
// for it gets its turn even while commands keep coming. Commands are still whole to every other
// program. Used by one thread.
class MemoryLease {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kIdle{1};
    static constexpr std::chrono::milliseconds kLongest{20};

    explicit MemoryLease(Firmware& firmware) : firmware_(firmware) {}

    // Runs one command, taking the lock first unless it is held.
    Report execute(const Report& request);
    // When the lock is to be let go for want of commands; nullopt while it is not held.
    std::optional<Clock::time_point> idle_end() const;
    void release();

private:
    Firmware& firmware_;
    Clock::time_point taken_{};
    Clock::time_point last_command_{};
    Clock::time_point resting_until_{}; // no lease before then
};

} // namespace tarvenor::sim
