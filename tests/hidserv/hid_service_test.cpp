#include "hidserv/hidapi/hid_service.h"
#include "hidserv/units.h"
#include "notification_recorder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <future>
#include <map>
#include <memory>

namespace tarvenor::testing {
namespace {

using hidserv::HidDeviceInfo;
using hidserv::HidFunctions;
using hidserv::HidHandle;
using hidserv::HidService;
using hidserv::UnitIdentity;
using Bytes = std::vector<std::uint8_t>;

constexpr UnitIdentity kCommandIdentity{HIDSERV_VENDOR_ID, HIDSERV_PRODUCT_ID, 0xFF1C, 0x0092};
constexpr UnitIdentity kConsumerIdentity{HIDSERV_VENDOR_ID, HIDSERV_PRODUCT_ID, 0x000C, 0x0001};
constexpr UnitIdentity kStatusIdentity{HIDSERV_VENDOR_ID, HIDSERV_PRODUCT_ID, 0x0008, 0x0089};

// Plays hidapi: devices come and go, input reports are queued, writes are recorded, and a device
// that is gone fails every read and write on its open handles.
class FakeHid {
public:
    void add(const std::string& path, UnitIdentity identity) {
        const std::lock_guard lock(mutex_);
        devices_[path] = {identity, true, {}, {}};
    }
    void remove(const std::string& path) {
        {
            const std::lock_guard lock(mutex_);
            devices_[path].present = false;
        }
        changed_.notify_all();
    }
    void push_input(const std::string& path, Bytes report) {
        {
            const std::lock_guard lock(mutex_);
            devices_[path].input.push_back(std::move(report));
        }
        changed_.notify_all();
    }
    void hold_writes(bool hold) {
        {
            const std::lock_guard lock(mutex_);
            holding_writes_ = hold;
        }
        changed_.notify_all();
    }
    bool wait_for_held_write() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(2), [&] { return held_writes_ > 0; });
    }
    Bytes written(const std::string& path) {
        const std::lock_guard lock(mutex_);
        return devices_[path].written;
    }
    std::thread::id opener(std::size_t index) {
        const std::lock_guard lock(mutex_);
        return handles_.at(index)->opener;
    }
    int opens() {
        const std::lock_guard lock(mutex_);
        return static_cast<int>(handles_.size());
    }
    bool wait_for_opens(int count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(2),
                                 [&] { return static_cast<int>(handles_.size()) >= count; });
    }
    int closes() {
        const std::lock_guard lock(mutex_);
        return static_cast<int>(std::count_if(handles_.begin(), handles_.end(),
                                              [](const auto& h) { return h->closes > 0; }));
    }
    bool misuse() {
        const std::lock_guard lock(mutex_);
        return misuse_;
    }
    int enumerations() {
        const std::lock_guard lock(mutex_);
        return enumerations_;
    }

    HidFunctions functions() {
        HidFunctions f;
        f.enumerate = [this](std::uint16_t vendor, std::uint16_t product) {
            return enumerate(vendor, product);
        };
        f.open = [this](const std::string& path) { return open(path); };
        f.close = [this](HidHandle handle) { close(handle); };
        f.read = [this](HidHandle handle, std::uint8_t* buffer, std::size_t capacity, int ms) {
            return read(handle, buffer, capacity, ms);
        };
        f.write = [this](HidHandle handle, const std::uint8_t* data, std::size_t length) {
            return write(handle, data, length);
        };
        f.send_feature = f.write;
        f.get_feature = [this](HidHandle handle, std::uint8_t* data, std::size_t capacity) {
            return read(handle, data, capacity, 0);
        };
        return f;
    }

private:
    struct Device {
        UnitIdentity identity;
        bool present;
        std::deque<Bytes> input;
        Bytes written;
    };
    struct Handle {
        std::string path;
        std::thread::id opener;
        int closes = 0;
        int in_use = 0;
    };

    // Marks a handle busy for the length of a call; a close during the call is misuse.
    struct InUse {
        InUse(Handle& handle) : handle_(handle) { ++handle_.in_use; }
        ~InUse() { --handle_.in_use; }
        Handle& handle_;
    };

    std::vector<HidDeviceInfo> enumerate(std::uint16_t vendor, std::uint16_t product) {
        const std::lock_guard lock(mutex_);
        ++enumerations_;
        std::vector<HidDeviceInfo> found;
        for (const auto& [path, device] : devices_) {
            if (device.present && (vendor == 0 || vendor == device.identity.vendor_id) &&
                (product == 0 || product == device.identity.product_id)) {
                found.push_back({path, device.identity});
            }
        }
        return found;
    }
    HidHandle open(const std::string& path) {
        const std::lock_guard lock(mutex_);
        if (!devices_[path].present) {
            return nullptr;
        }
        handles_.push_back(std::make_unique<Handle>(Handle{path, std::this_thread::get_id()}));
        changed_.notify_all();
        return handles_.back().get();
    }
    void close(HidHandle raw) {
        const std::lock_guard lock(mutex_);
        Handle& handle = *static_cast<Handle*>(raw);
        misuse_ |= handle.in_use > 0 || handle.closes > 0;
        ++handle.closes;
    }
    int read(HidHandle raw, std::uint8_t* buffer, std::size_t capacity, int timeout_ms) {
        std::unique_lock lock(mutex_);
        Handle& handle = *static_cast<Handle*>(raw);
        const InUse busy(handle);
        misuse_ |= handle.closes > 0;
        Device& device = devices_[handle.path];
        changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                          [&] { return !device.present || !device.input.empty(); });
        if (!device.present) {
            return -1;
        }
        if (device.input.empty()) {
            return 0;
        }
        const Bytes report = device.input.front();
        device.input.pop_front();
        const std::size_t n = std::min(capacity, report.size());
        std::copy_n(report.begin(), n, buffer);
        return static_cast<int>(n);
    }
    int write(HidHandle raw, const std::uint8_t* data, std::size_t length) {
        std::unique_lock lock(mutex_);
        Handle& handle = *static_cast<Handle*>(raw);
        const InUse busy(handle);
        misuse_ |= handle.closes > 0;
        ++held_writes_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return !holding_writes_; });
        --held_writes_;
        Device& device = devices_[handle.path];
        if (!device.present) {
            return -1;
        }
        device.written.insert(device.written.end(), data, data + length);
        return static_cast<int>(length);
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, Device> devices_;
    std::vector<std::unique_ptr<Handle>> handles_;
    bool holding_writes_ = false;
    int held_writes_ = 0;
    bool misuse_ = false;
    int enumerations_ = 0;
};

// Wraps the table's calls that touch hidapi's process-wide state and notes any two that overlap.
class GlobalCallWatch {
public:
    HidFunctions watch(HidFunctions f) {
        f.enumerate = guarded(std::move(f.enumerate));
        f.open = guarded(std::move(f.open));
        f.shutdown = guarded(std::function<void()>([] {}));
        return f;
    }
    bool overlapped() const { return overlapped_.load(); }
    int calls() const { return calls_.load(); }

private:
    template <typename Result, typename... Args>
    std::function<Result(Args...)> guarded(std::function<Result(Args...)> call) {
        return [this, call = std::move(call)](Args... args) {
            ++calls_;
            overlapped_ = overlapped_ || inside_.fetch_add(1) != 0;
            for (int i = 0; i < 20; ++i) {
                std::this_thread::yield(); // a real enumeration takes a while
            }
            struct Leave {
                std::atomic<int>& inside;
                ~Leave() { --inside; }
            } leave{inside_};
            return call(args...);
        };
    }

    std::atomic<int> inside_{0};
    std::atomic<int> calls_{0};
    std::atomic<bool> overlapped_{false};
};

TEST(HidServiceGlobalStateTest, EnumerateOpenAndShutdownNeverOverlap) {
    FakeHid hid;
    hid.add("/dev/hidraw-command", kCommandIdentity);
    hid.add("/dev/hidraw-consumer", kConsumerIdentity);
    hid.add("/dev/hidraw-status", kStatusIdentity);
    GlobalCallWatch watch;
    NotificationRecorder recorder;
    auto service = std::make_unique<HidService>(
        watch.watch(hid.functions()),
        hidserv::HidServiceTiming{std::chrono::milliseconds(1), std::chrono::milliseconds(1)});
    // Readers rescan all the time while other threads count, write and place and cancel reads,
    // as the program's main thread and its connection handler do.
    service->place_read(hidserv::kCommandUnit, &NotificationRecorder::callback, HIDSERV_TAG_CTRL);
    service->place_read(hidserv::kConsumerUnit, &NotificationRecorder::callback, HIDSERV_TAG_CONS);
    const Bytes report(64, 0x04);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 150; ++i) {
                service->device_count(hidserv::kStatusUnit);
                service->write_every(hidserv::kStatusUnit, report.data(), 64);
                service->delete_request(service->place_read(
                    hidserv::kStatusUnit, &NotificationRecorder::callback, HIDSERV_TAG_DEL));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    service.reset();
    EXPECT_GT(watch.calls(), 1000);
    EXPECT_FALSE(watch.overlapped());
}

class HidServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        hid_.add("/dev/hidraw-command", kCommandIdentity);
        hid_.add("/dev/hidraw-consumer", kConsumerIdentity);
        hid_.add("/dev/hidraw-status", kStatusIdentity);
        service_ = std::make_unique<HidService>(
            hid_.functions(),
            hidserv::HidServiceTiming{std::chrono::milliseconds(5), std::chrono::milliseconds(20)});
    }
    void TearDown() override {
        service_.reset();
        EXPECT_FALSE(hid_.misuse()) << "a handle was used after, or closed during, a call";
        EXPECT_EQ(hid_.closes(), hid_.opens()) << "every handle is closed exactly once";
    }

    HidRequestHandle read_commands() {
        return service_->place_read(hidserv::kCommandUnit, &NotificationRecorder::callback,
                                    HIDSERV_TAG_CTRL);
    }
    int write_command(const Bytes& report) {
        return service_->write_one(hidserv::kCommandUnit, report.data(),
                                   static_cast<int>(report.size()));
    }

    FakeHid hid_;
    NotificationRecorder recorder_;
    std::unique_ptr<HidService> service_;
};

TEST_F(HidServiceTest, CountsOnlyInterfacesTheSelectorMatches) {
    hid_.add("/dev/hidraw-other", {HIDSERV_VENDOR_ID, 0x0821, 0xFF1C, 0x0092});
    EXPECT_EQ(service_->device_count(hidserv::kCommandUnit), 1);
    EXPECT_EQ(service_->device_count(hidserv::kConsumerUnit), 1);
    HidUnitSelector any_product = hidserv::kCommandUnit;
    any_product.match_mask &= ~HIDSERV_MATCH_PRODUCT;
    EXPECT_EQ(service_->device_count(any_product), 2);
    HidUnitSelector other_usage = hidserv::kCommandUnit;
    other_usage.usage = 0x0093;
    EXPECT_EQ(service_->device_count(other_usage), 0);
}

TEST_F(HidServiceTest, StandingReadDeliversInputReportsOnTheLibrarysThread) {
    ASSERT_NE(read_commands(), 0u);
    hid_.push_input("/dev/hidraw-command", {0x04, 0x01, 0x02, 0x03});
    hid_.push_input("/dev/hidraw-consumer", {0xFF, 0x02}); // not this read's interface
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) { return !n.empty(); }));
    const Notification first = recorder_.all().front();
    EXPECT_EQ(first.kind, HIDSERV_KIND_DATA);
    EXPECT_EQ(first.tag, HIDSERV_TAG_CTRL);
    EXPECT_EQ(first.length_or_count, 4u);
    EXPECT_EQ(first.data, (Bytes{0x04, 0x01, 0x02, 0x03}));
    EXPECT_NE(first.thread, std::this_thread::get_id());
    // The command read's count is kept by the read itself: asking costs no enumeration.
    const int enumerations = hid_.enumerations();
    EXPECT_EQ(service_->device_count(hidserv::kCommandUnit), 1);
    EXPECT_EQ(hid_.enumerations(), enumerations);
}

TEST_F(HidServiceTest, StandingReadHoldsItsHandleBeforePlacingReturns) {
    // hidraw hands an input report only to handles open when it arrives: an answer to the first
    // write after placing the read must find the reader's handle already there.
    read_commands();
    ASSERT_EQ(hid_.opens(), 1);
    EXPECT_EQ(hid_.opener(0), std::this_thread::get_id()) << "not left to the reader's thread";

    hid_.remove("/dev/hidraw-command");
    read_commands();
    EXPECT_EQ(hid_.opens(), 1) << "nothing to open while no keyboard is there";
}

TEST_F(HidServiceTest, ArrivalIsReportedOnceTheReaderCanHearTheAnswers) {
    // Whoever hears of the arrival writes to the keyboard at once.
    hid_.remove("/dev/hidraw-command");
    std::promise<int> opens_at_arrival;
    recorder_.on_notification = [&](const Notification& n) {
        if (n.kind == HIDSERV_KIND_CONNECTION && n.length_or_count == 1) {
            opens_at_arrival.set_value(hid_.opens());
        }
    };
    read_commands();
    hid_.add("/dev/hidraw-command", kCommandIdentity);
    auto opens = opens_at_arrival.get_future();
    ASSERT_EQ(opens.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_EQ(opens.get(), 1);
}

TEST(HidServiceAccessTest, KeyboardThisUserMayNotOpenCountsOnlyOnceAccessIsGranted) {
    FakeHid hid;
    hid.add("/dev/hidraw-command", kCommandIdentity);
    std::atomic<bool> allowed{false};
    HidFunctions functions = hid.functions();
    functions.may_open = [&](const std::string&) { return allowed.load(); };
    NotificationRecorder recorder;
    HidService service(
        std::move(functions),
        hidserv::HidServiceTiming{std::chrono::milliseconds(5), std::chrono::milliseconds(20)});
    // Counted, it would be a keyboard every exchange with fails for lack of an answer.
    EXPECT_EQ(service.device_count(hidserv::kCommandUnit), 0);
    ASSERT_NE(service.place_read(hidserv::kCommandUnit, &NotificationRecorder::callback,
                                 HIDSERV_TAG_CTRL),
              0u);
    allowed = true; // the udev rule took effect
    ASSERT_TRUE(recorder.wait_for([](const auto& n) {
        const auto changes = only(n, HIDSERV_KIND_CONNECTION, HIDSERV_TAG_CTRL);
        return !changes.empty() && changes.back().length_or_count == 1;
    }));
    EXPECT_EQ(service.device_count(hidserv::kCommandUnit), 1);
}

TEST_F(HidServiceTest, UnplugDuringReadReportsTheChangeAndReadsResumeAfterReplug) {
    read_commands();
    hid_.push_input("/dev/hidraw-command", {0x04, 0xAA});
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) { return n.size() == 1; }));
    hid_.remove("/dev/hidraw-command");
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) {
        const auto changes = only(n, HIDSERV_KIND_CONNECTION, HIDSERV_TAG_CTRL);
        return changes.size() == 1 && changes[0].length_or_count == 0;
    }));
    EXPECT_EQ(service_->device_count(hidserv::kCommandUnit), 0);
    EXPECT_EQ(write_command({0x04, 0x01}), 0);

    hid_.add("/dev/hidraw-command", kCommandIdentity);
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) {
        const auto changes = only(n, HIDSERV_KIND_CONNECTION, HIDSERV_TAG_CTRL);
        return changes.size() == 2 && changes[1].length_or_count == 1;
    }));
    hid_.push_input("/dev/hidraw-command", {0x04, 0xBB});
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) {
        const auto data = only(n, HIDSERV_KIND_DATA, HIDSERV_TAG_CTRL);
        return data.size() == 2 && data[1].data == Bytes{0x04, 0xBB};
    }));
}

TEST_F(HidServiceTest, WriteGoesToTheCommandInterfaceAndReopensAfterTheKeyboardReturns) {
    const Bytes report(64, 0x04);
    EXPECT_EQ(write_command(report), 64);
    EXPECT_EQ(hid_.written("/dev/hidraw-command"), report);
    EXPECT_TRUE(hid_.written("/dev/hidraw-consumer").empty());

    hid_.remove("/dev/hidraw-command");
    EXPECT_EQ(write_command(report), 0);
    hid_.add("/dev/hidraw-command", kCommandIdentity);
    EXPECT_EQ(write_command(report), 64);
    EXPECT_EQ(hid_.opens(), 2);
}

TEST_F(HidServiceTest, KeyboardVanishingMidWriteLeavesTheHandleOpenUntilTheWriteReturns) {
    read_commands();
    ASSERT_TRUE(hid_.wait_for_opens(1)) << "the reader holds its own handle before the write";
    hid_.hold_writes(true);
    int written = -1;
    std::thread writer([&] { written = write_command(Bytes(64, 0x04)); });
    ASSERT_TRUE(hid_.wait_for_held_write());
    hid_.remove("/dev/hidraw-command"); // the reader sees the failure and retires the handles
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) {
        return only(n, HIDSERV_KIND_CONNECTION, HIDSERV_TAG_CTRL).size() == 1;
    }));
    EXPECT_EQ(hid_.closes(), 1) << "only the reader's own handle";
    hid_.hold_writes(false);
    writer.join();
    EXPECT_EQ(written, 0);
    EXPECT_EQ(hid_.closes(), 2);

    hid_.add("/dev/hidraw-command", kCommandIdentity);
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) {
        return only(n, HIDSERV_KIND_CONNECTION, HIDSERV_TAG_CTRL).size() == 2;
    }));
    EXPECT_EQ(write_command(Bytes(64, 0x04)), 64) << "the first write after the return works";
}

TEST_F(HidServiceTest, DeletedReadStopsBeforeDeleteReturns) {
    const HidRequestHandle handle = read_commands();
    EXPECT_TRUE(service_->delete_request(handle));
    EXPECT_FALSE(service_->delete_request(handle));
    EXPECT_FALSE(service_->delete_request(0));
    hid_.push_input("/dev/hidraw-command", {0x04});
    hid_.remove("/dev/hidraw-command");
    service_.reset(); // would join a reader still running
    EXPECT_TRUE(recorder_.all().empty());
}

TEST_F(HidServiceTest, ReadCanBeCancelledFromItsOwnCallback) {
    std::atomic<HidRequestHandle> handle{0};
    std::promise<bool> deleted;
    std::atomic<bool> first{true};
    HidService* const service = service_.get();
    recorder_.on_notification = [&](const Notification&) {
        if (first.exchange(false)) {
            deleted.set_value(service->delete_request(handle));
        }
    };
    handle = read_commands();
    hid_.push_input("/dev/hidraw-command", {0x04, 0x01});
    hid_.push_input("/dev/hidraw-command", {0x04, 0x02});
    auto result = deleted.get_future();
    ASSERT_EQ(result.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_TRUE(result.get());
    service_.reset(); // joins the cancelled reader
    EXPECT_EQ(recorder_.all().size(), 1u) << "no report after the read was cancelled";
}

TEST_F(HidServiceTest, ReadCancelledFromItsConnectionChangeDeliversNothingMore) {
    hid_.remove("/dev/hidraw-command");
    std::atomic<HidRequestHandle> handle{0};
    std::promise<bool> deleted;
    HidService* const service = service_.get();
    recorder_.on_notification = [&](const Notification& n) {
        if (n.kind == HIDSERV_KIND_CONNECTION) {
            // The keyboard has a report waiting the moment it arrives.
            hid_.push_input("/dev/hidraw-command", {0x04, 0x01});
            deleted.set_value(service->delete_request(handle));
        }
    };
    handle = read_commands();
    hid_.add("/dev/hidraw-command", kCommandIdentity);
    auto result = deleted.get_future();
    ASSERT_EQ(result.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_TRUE(result.get());
    service_.reset(); // joins the cancelled reader
    EXPECT_EQ(recorder_.all().size(), 1u) << "no report after the read was cancelled";
}

TEST_F(HidServiceTest, StatusWriteReachesTheStatusInterfaceAndNamesTheRequest) {
    const std::uint8_t bank[2] = {0x05, 0x03};
    HidRequestHandle handle = 0;
    EXPECT_EQ(service_->write_status(hidserv::kStatusUnit, bank, 2, &handle), 2);
    EXPECT_EQ(hid_.written("/dev/hidraw-status"), (Bytes{0x05, 0x03}));
    EXPECT_NE(handle, 0u);
    EXPECT_TRUE(service_->delete_request(handle));
    EXPECT_FALSE(service_->delete_request(handle));
    hid_.remove("/dev/hidraw-status");
    EXPECT_EQ(service_->write_status(hidserv::kStatusUnit, bank, 2, &handle), 0);
    EXPECT_EQ(handle, 0u);
}

} // namespace
} // namespace tarvenor::testing
