#pragma once

#include "device/keyboard_lock.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace tarvenor::testing {

// Holders of the lock log the start and end of each short operation; no two may overlap.
class KeyboardLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = make_temp_folder("tarvenor-lock");
        ASSERT_FALSE(folder_.empty());
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path lock_file() const { return folder_ / "run" / "keyboard.lock"; }

    // Five operations under the lock, each logged; false when the lock was not had in time.
    bool take_turns() const {
        KeyboardLock lock(lock_file());
        std::string holder;
        for (int round = 0; round < 5; ++round) {
            if (!lock.acquire(std::chrono::seconds(10), holder)) {
                return false;
            }
            std::ofstream(log(), std::ios::app) << "begin\n";
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            std::ofstream(log(), std::ios::app) << "end\n";
            lock.release();
        }
        return true;
    }

    void expect_turns_taken(std::size_t lines_expected) const {
        std::ifstream in(log());
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        ASSERT_EQ(lines.size(), lines_expected);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i], i % 2 == 0 ? "begin" : "end") << "line " << i;
        }
    }

    std::filesystem::path log() const { return folder_ / "log"; }

    std::filesystem::path folder_;
};

} // namespace tarvenor::testing
