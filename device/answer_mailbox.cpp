#include "device/answer_mailbox.h"

#include <algorithm>

namespace tarvenor {

AnswerMailbox::AnswerMailbox(std::chrono::milliseconds owed_limit) : owed_limit_(owed_limit) {}

void AnswerMailbox::give_up_overdue(Clock::time_point now) {
    while (!owed_.empty() && owed_.front() + owed_limit_ <= now) {
        owed_.pop_front();
    }
}

void AnswerMailbox::settle() {
    std::unique_lock lock(mutex_);
    for (;;) {
        give_up_overdue(Clock::now());
        if (owed_.empty()) {
            return;
        }
        changed_.wait_until(lock, owed_.front() + owed_limit_);
    }
}

void AnswerMailbox::write_off() {
    {
        const std::lock_guard lock(mutex_);
        owed_.clear();
    }
    changed_.notify_all();
}

void AnswerMailbox::open() {
    const std::lock_guard lock(mutex_);
    open_ = true;
    taken_ = generation_;
}

void AnswerMailbox::close() {
    const std::lock_guard lock(mutex_);
    open_ = false;
}

void AnswerMailbox::count_write() {
    const std::lock_guard lock(mutex_);
    owed_.push_back(Clock::now());
}

void AnswerMailbox::withdraw_write() {
    const std::lock_guard lock(mutex_);
    if (!owed_.empty()) {
        owed_.pop_back();
    }
}

void AnswerMailbox::deliver(const std::uint8_t* data, std::size_t length) {
    {
        const std::lock_guard lock(mutex_);
        give_up_overdue(Clock::now());
        if (owed_.empty() || data == nullptr) {
            return;
        }
        owed_.pop_front();
        if (open_) {
            received_ = std::min(length, answer_.bytes.size());
            answer_.bytes.fill(0);
            std::copy_n(data, received_, answer_.bytes.begin());
            ++generation_;
        }
    }
    changed_.notify_all();
}

std::optional<std::size_t> AnswerMailbox::take(std::chrono::milliseconds timeout,
                                               DeviceReport& answer) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, timeout, [this] { return generation_ != taken_; })) {
        return std::nullopt;
    }
    taken_ = generation_;
    answer = answer_;
    return received_;
}

} // namespace tarvenor
