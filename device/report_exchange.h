#pragma once

#include "device/answer_mailbox.h"
#include "device/device_report.h"
#include "device/device_status.h"
#include "device/service_library.h"

#include <chrono>
#include <cstddef>
#include <mutex>
#include <span>

namespace tarvenor {

inline constexpr std::chrono::milliseconds kAnswerWait{1000};
inline constexpr std::chrono::milliseconds kRetryPause{10};
inline constexpr int kExchangeAttempts = 3;

// Sends one report to the keyboard's command interface and waits for its answer, with three
// attempts. Exchanges are serialised: the lock is held for the whole exchange, retries included.
// Before a request is written, the late answers still owed to earlier ones are let through (see
// AnswerMailbox), so an answer is only ever taken for the request it answers; the answer to an
// earlier attempt of the same request is as good as the last one's.
class ReportExchange {
public:
    // The answer wait is shortened only by tests.
    explicit ReportExchange(const HidServFunctions& library,
                            std::chrono::milliseconds answer_wait = kAnswerWait);

    // The request is padded with zeros (or cut) to 64 bytes and written as it is; seal it first.
    // Success means an answer echoing the command arrived (its status byte may still be 0xFF or
    // 0xFE after the last attempt); `received` then holds the answer's length. Fewer attempts
    // only for a keyboard already found silent.
    DeviceStatus exchange(std::span<const std::uint8_t> request, DeviceReport& answer,
                          std::size_t* received = nullptr, int attempt_count = kExchangeAttempts);

    // Number of keyboards connected.
    int device_count() const;

    // The answer path of the notification callback.
    void deliver_answer(const std::uint8_t* data, std::size_t length);

    // Waits (within the limit for late answers) until no answer is owed any more, so that the
    // keyboard is quiet before another program may talk to it. After a request that nothing
    // answered, nothing is owed: see exchange().
    void settle();

private:
    DeviceStatus attempts(const DeviceReport& report, int count, DeviceReport& answer,
                          std::size_t* received);

    const HidServFunctions& library_;
    const std::chrono::milliseconds answer_wait_;
    // Taken for a whole exchange, retries included.
    std::mutex exchange_lock_;
    AnswerMailbox mailbox_;
};

} // namespace tarvenor
