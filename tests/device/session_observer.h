#pragma once

#include "device/keyboard_session.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tarvenor::testing {

// Everything a session reported, as lines ("arrived matrix=1", "count 1", "bank 1", ...), with
// the thread each came on.
class RecordingSessionObserver final : public SessionObserver {
public:
    void keyboard_arrived(CommandSet&, bool default_matrix_read) override {
        record("arrived matrix=" + std::to_string(default_matrix_read));
    }
    void keyboard_gone() override { record("gone"); }
    void connection_count_changed(int count) override { record("count " + std::to_string(count)); }
    void open_requested() override { record("open"); }
    void bank_switched(int bank) override { record("bank " + std::to_string(bank)); }
    void lighting_refresh_requested() override { record("refresh"); }
    void indicator_changed(bool on) override { record(on ? "indicator on" : "indicator off"); }
    void arrival_busy(const std::string& holder) override { record("busy " + holder); }

    // Waits until `line` has been reported (the default time is generous: only failing tests
    // wait that long).
    bool wait_for(const std::string& line,
                  std::chrono::milliseconds patience = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, patience, [&] { return has(line); });
    }
    std::vector<std::string> lines() const {
        const std::lock_guard lock(mutex_);
        return lines_;
    }
    // Where `line` was first reported; the number of lines when it was not.
    std::size_t lines_index(const std::string& line) const {
        const std::lock_guard lock(mutex_);
        return static_cast<std::size_t>(std::find(lines_.begin(), lines_.end(), line) -
                                        lines_.begin());
    }
    std::thread::id thread_of(const std::string& line) const {
        const std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (lines_[i] == line) {
                return threads_[i];
            }
        }
        return {};
    }

private:
    void record(const std::string& line) {
        {
            const std::lock_guard lock(mutex_);
            lines_.push_back(line);
            threads_.push_back(std::this_thread::get_id());
        }
        changed_.notify_all();
    }
    bool has(const std::string& line) const {
        for (const std::string& seen : lines_) {
            if (seen == line) {
                return true;
            }
        }
        return false;
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    std::vector<std::thread::id> threads_;
};

} // namespace tarvenor::testing
