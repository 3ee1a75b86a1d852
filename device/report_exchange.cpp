#include "device/report_exchange.h"

#include "device/exchange_guard.h"
#include "hidserv/units.h"

#include <algorithm>
#include <thread>

namespace tarvenor {

ReportExchange::ReportExchange(const HidServFunctions& library,
                               std::chrono::milliseconds answer_wait)
    : library_(library), answer_wait_(answer_wait), mailbox_(kExchangeAttempts * answer_wait) {}

int ReportExchange::device_count() const {
    return library_.get_device_count(&hidserv::kCommandUnit);
}

void ReportExchange::deliver_answer(const std::uint8_t* data, std::size_t length) {
    mailbox_.deliver(data, length);
}

void ReportExchange::settle() {
    const std::lock_guard exclusive(exchange_lock_);
    mailbox_.settle();
}

DeviceStatus ReportExchange::exchange(std::span<const std::uint8_t> request, DeviceReport& answer,
                                      std::size_t* received, int attempt_count) {
    if (received != nullptr) {
        *received = 0;
    }
    DeviceReport report;
    std::copy_n(request.begin(), std::min(request.size(), report.bytes.size()),
                report.bytes.begin());
    check_exchange_allowed(report.command());
    if (device_count() == 0) {
        return DeviceStatus::NoDevice;
    }

    const std::lock_guard exclusive(exchange_lock_);
    mailbox_.settle();
    mailbox_.open();
    const DeviceStatus status = attempts(report, std::max(1, attempt_count), answer, received);
    if (status == DeviceStatus::NoAnswer) {
        // Not one write was answered: the keyboard is silent, not slow. It answers in order, and
        // the first write's answer is already past the limit (or, for a single attempt, follows
        // a request that went the same way), so nothing behind it is in flight any more.
        mailbox_.write_off();
    }
    mailbox_.close();
    return status;
}

DeviceStatus ReportExchange::attempts(const DeviceReport& report, int count, DeviceReport& answer,
                                      std::size_t* received) {
    bool answered = false;
    for (int attempt = 1;; ++attempt) {
        const bool last_attempt = attempt == count;
        mailbox_.count_write();
        if (library_.write_one(&hidserv::kCommandUnit, report.bytes.data(),
                               static_cast<int>(report.bytes.size())) <= 0) {
            mailbox_.withdraw_write();
            return DeviceStatus::SendRefused;
        }
        const std::optional<std::size_t> length = mailbox_.take(answer_wait_, answer);
        answered = answered || length.has_value();
        const bool echoed = length && answer.command() == report.command();
        if (!echoed && last_attempt) {
            return answered ? DeviceStatus::WrongAnswer : DeviceStatus::NoAnswer;
        }
        const bool refused =
            echoed && (answer.status() == kAnswerStatusFF || answer.status() == kAnswerStatusFE);
        if (echoed && (!refused || last_attempt)) {
            if (received != nullptr) {
                *received = *length;
            }
            return DeviceStatus::Success;
        }
        std::this_thread::sleep_for(kRetryPause);
    }
}

} // namespace tarvenor
