#include "hidserv/sim/area_file.h"
#include "hidserv/sim/memory_lock.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tarvenor::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

class MemoryLockTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::string error;
        ASSERT_TRUE(first_.open(dir_ / "memory.lock", error)) << error;
        ASSERT_TRUE(second_.open(dir_ / "memory.lock", error)) << error;
    }
    void TearDown() override {
        if (taker_.joinable()) {
            taker_.join();
        }
        TempDirTest::TearDown();
    }

    // Takes the second lock on a thread of its own and holds it until the test ends.
    void take_second(bool exclusive) {
        taker_ = std::thread([this, exclusive] {
            const sim::MemoryLock::Hold hold = exclusive ? second_.exclusive() : second_.shared();
            std::unique_lock lock(mutex_);
            taken_ = hold.held();
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_; });
        });
    }
    bool second_taken_within(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [this] { return taken_; });
    }
    void release_second() {
        const std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

    sim::MemoryLock first_;
    sim::MemoryLock second_;
    std::thread taker_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool taken_ = false;
    bool released_ = false;
};

constexpr auto kBlocked = std::chrono::milliseconds(200);
constexpr auto kPrompt = std::chrono::seconds(5);

TEST_F(MemoryLockTest, ExclusiveWaitsForEveryOtherHolder) {
    for (const bool first_exclusive : {false, true}) {
        {
            const sim::MemoryLock::Hold hold =
                first_exclusive ? first_.exclusive() : first_.shared();
            ASSERT_TRUE(hold.held());
            take_second(true);
            EXPECT_FALSE(second_taken_within(kBlocked)) << first_exclusive;
        }
        EXPECT_TRUE(second_taken_within(kPrompt)) << first_exclusive;
        release_second();
        taker_.join();
        taken_ = released_ = false;
    }
}

TEST_F(MemoryLockTest, SharedHoldersDoNotWaitForEachOther) {
    const sim::MemoryLock::Hold hold = first_.shared();
    ASSERT_TRUE(hold.held());
    take_second(false);
    EXPECT_TRUE(second_taken_within(kPrompt));
    release_second();
}

TEST_F(MemoryLockTest, SharedWaitsForAnExclusiveHolder) {
    {
        const sim::MemoryLock::Hold hold = first_.exclusive();
        take_second(false);
        EXPECT_FALSE(second_taken_within(kBlocked));
    }
    EXPECT_TRUE(second_taken_within(kPrompt));
    release_second();
}

class AreaFileTest : public TempDirTest {
protected:
    void open(sim::AreaFile& area, const Bytes& factory) {
        std::string error;
        ASSERT_TRUE(area.open(dir_ / "area.bin", factory, error)) << error;
    }
    Bytes read(const sim::AreaFile& area, std::size_t offset, std::size_t size) {
        Bytes out(size, 0xEE);
        EXPECT_TRUE(area.read(offset, out));
        return out;
    }
};

TEST_F(AreaFileTest, ResizeCutsAndExtendsWithZerosAndReadsPastTheEndAreZero) {
    sim::AreaFile area;
    open(area, Bytes(8, 0x5A));
    EXPECT_EQ(read(area, 6, 4), (Bytes{0x5A, 0x5A, 0, 0}));
    ASSERT_TRUE(area.resize(4));
    ASSERT_TRUE(area.resize(12));
    EXPECT_EQ(read(area, 0, 12), (Bytes{0x5A, 0x5A, 0x5A, 0x5A, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(slurp(dir_ / "area.bin").size(), 12u);
}

TEST_F(AreaFileTest, TwoOpeningsSeeEachOthersWritesAndTheFileCanBeRemovedWhileOpen) {
    sim::AreaFile first;
    sim::AreaFile second;
    open(first, Bytes(16, 0));
    open(second, Bytes(16, 0));
    ASSERT_TRUE(first.write(10, Bytes{1, 2, 3}));
    EXPECT_EQ(read(second, 9, 5), (Bytes{0, 1, 2, 3, 0}));
    std::error_code error;
    EXPECT_TRUE(std::filesystem::remove(dir_ / "area.bin", error)) << error.message();
}

} // namespace
} // namespace tarvenor::testing
