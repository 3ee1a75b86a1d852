#pragma once

#include "device/device_report.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace tarvenor {

// Where the notification callback leaves the keyboard's answers for the exchanging thread.
//
// The keyboard answers reports in the order they were written, each at most once, but an answer
// may come after its wait ran out. So every write owes one answer until that answer arrives or is
// given up (older than `owed_limit`); an arriving answer pays the oldest debt. An answer is kept
// only while a request is open; the exchange settles every debt before it opens the next request,
// so a late answer can never be taken for another request's. Answers that nothing is owed for
// (another program's traffic) are dropped.
//
// One mutex guards everything, so that delivering an answer and starting to wait for one can
// never interleave; a generation count tells a waiter whether an answer came since it last took
// one.
class AnswerMailbox {
public:
    using Clock = std::chrono::steady_clock;

    explicit AnswerMailbox(std::chrono::milliseconds owed_limit);

    // Waits until every answer owed so far has arrived or has been given up.
    void settle();
    // Gives up every answer owed now, for a keyboard found silent.
    void write_off();
    // From now on arriving answers belong to the caller's request, until close().
    void open();
    void close();

    // Call right before writing a report (the answer may arrive before the write returns);
    // withdraw_write() when the library did not take it.
    void count_write();
    void withdraw_write();

    // From the library's thread.
    void deliver(const std::uint8_t* data, std::size_t length);

    // Waits up to `timeout` for an answer not taken before; its length, or nullopt.
    std::optional<std::size_t> take(std::chrono::milliseconds timeout, DeviceReport& answer);

private:
    // Forgets owed answers older than the limit; call with the mutex held.
    void give_up_overdue(Clock::time_point now);

    const std::chrono::milliseconds owed_limit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Clock::time_point> owed_; // when each unanswered report was written, oldest first
    bool open_ = false;
    std::uint64_t generation_ = 0; // answers kept for the open request
    std::uint64_t taken_ = 0;
    DeviceReport answer_;
    std::size_t received_ = 0;
};

} // namespace tarvenor
