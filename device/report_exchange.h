#pragma once

#include "device/auto_reset_event.h"
#include "device/device_report.h"
#include "device/device_status.h"
#include "device/service_library.h"

#include <chrono>
#include <cstddef>
#include <mutex>
#include <optional>
#include <span>

namespace tarvenor {

inline constexpr std::chrono::milliseconds kAnswerWait{1000};
inline constexpr std::chrono::milliseconds kRetryPause{10};
inline constexpr int kExchangeAttempts = 3;

// Where the notification callback leaves the keyboard's answer for the waiting exchange. Answers
// that arrive while nobody waits are dropped.
class AnswerMailbox {
public:
    // Starts waiting for a new answer: forgets any earlier one.
    void open();
    void close();
    // From the library's thread: keeps the answer if an exchange waits for one.
    void deliver(const std::uint8_t* data, std::size_t length);
    // The answer's length once it is there, nullopt when the time ran out.
    std::optional<std::size_t> wait(std::chrono::milliseconds timeout, DeviceReport& answer);

private:
    AutoResetEvent arrived_;
    std::mutex mutex_;
    bool busy_ = false;
    DeviceReport answer_;
    std::size_t received_ = 0;
};

// Sends one report to the keyboard's command interface and waits for its answer, with three
// attempts. Exchanges are serialised: the lock is held for the whole exchange, retries included.
class ReportExchange {
public:
    // The answer wait is shortened only by tests.
    explicit ReportExchange(const HidServFunctions& library,
                            std::chrono::milliseconds answer_wait = kAnswerWait);

    // The request is padded with zeros (or cut) to 64 bytes and written as it is; seal it first.
    // Success means an answer echoing the command arrived (its status byte may still be 0xFF or
    // 0xFE after the last attempt); `received` then holds the answer's length.
    DeviceStatus exchange(std::span<const std::uint8_t> request, DeviceReport& answer,
                          std::size_t* received = nullptr);

    // Number of keyboards connected.
    int device_count() const;

    // The answer path of the notification callback.
    void deliver_answer(const std::uint8_t* data, std::size_t length);

private:
    const HidServFunctions& library_;
    const std::chrono::milliseconds answer_wait_;
    std::mutex exchange_lock_;
    AnswerMailbox mailbox_;
};

} // namespace tarvenor
