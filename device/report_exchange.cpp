#include "device/report_exchange.h"

#include "hidserv/units.h"

#include <algorithm>
#include <thread>

namespace tarvenor {

void AnswerMailbox::open() {
    const std::lock_guard lock(mutex_);
    arrived_.reset();
    received_ = 0;
    busy_ = true;
}

void AnswerMailbox::close() {
    const std::lock_guard lock(mutex_);
    busy_ = false;
}

void AnswerMailbox::deliver(const std::uint8_t* data, std::size_t length) {
    {
        const std::lock_guard lock(mutex_);
        if (!busy_ || data == nullptr) {
            return;
        }
        received_ = std::min(length, answer_.bytes.size());
        answer_.bytes.fill(0);
        std::copy_n(data, received_, answer_.bytes.begin());
    }
    arrived_.signal();
}

std::optional<std::size_t> AnswerMailbox::wait(std::chrono::milliseconds timeout,
                                               DeviceReport& answer) {
    const bool arrived = arrived_.wait_for(timeout);
    const std::lock_guard lock(mutex_);
    busy_ = false;
    if (!arrived) {
        return std::nullopt;
    }
    answer = answer_;
    return received_;
}

ReportExchange::ReportExchange(const HidServFunctions& library,
                               std::chrono::milliseconds answer_wait)
    : library_(library), answer_wait_(answer_wait) {}

int ReportExchange::device_count() const {
    return library_.get_device_count(&hidserv::kCommandUnit);
}

void ReportExchange::deliver_answer(const std::uint8_t* data, std::size_t length) {
    mailbox_.deliver(data, length);
}

DeviceStatus ReportExchange::exchange(std::span<const std::uint8_t> request, DeviceReport& answer,
                                      std::size_t* received) {
    if (received != nullptr) {
        *received = 0;
    }
    if (device_count() == 0) {
        return DeviceStatus::NoDevice;
    }
    DeviceReport report;
    std::copy_n(request.begin(), std::min(request.size(), report.bytes.size()),
                report.bytes.begin());

    const std::lock_guard exclusive(exchange_lock_);
    for (int attempt = 1;; ++attempt) {
        const bool last_attempt = attempt == kExchangeAttempts;
        mailbox_.open();
        if (library_.write_one(&hidserv::kCommandUnit, report.bytes.data(),
                               static_cast<int>(report.bytes.size())) <= 0) {
            mailbox_.close();
            return DeviceStatus::SendRefused;
        }
        const std::optional<std::size_t> length = mailbox_.wait(answer_wait_, answer);
        const bool echoed = length && answer.command() == report.command();
        if (!echoed && last_attempt) {
            return DeviceStatus::NoAnswer;
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
