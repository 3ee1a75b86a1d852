#pragma once

#include "hidserv/hidapi/hid_functions.h"
#include "hidserv/hidserv.h"
#include "hidserv/service.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace tarvenor::hidserv {

struct HidServiceTiming {
    // How long one blocking read waits; also how quickly a cancelled read notices.
    std::chrono::milliseconds read_timeout{50};
    // How often a standing read enumerates again to notice keyboards coming and going.
    std::chrono::milliseconds rescan_interval{500};
};

// The service library on top of a table of hid functions. Each standing read runs its own thread
// with its own handle: it reads input reports from its interface and re-enumerates now and then
// (and at once after a failed read) to report changes in the number of matching devices. Writers
// share one handle per interface and take turns on it (hidapi handles are not safe for calls from
// two threads at once). Enumerating and opening, from any thread, take global_state_lock() one
// at a time. A handle whose device failed is closed only when the last user lets go of it, so a
// keyboard that vanishes mid-read or mid-write costs a failed call and a connection change, never
// a crash. The system hands each input report to every open handle of the interface, in every
// process: a second program's standing read hears the first one's answers too, and must drop
// them while it has no exchange of its own waiting.
class HidService final : public Service {
public:
    explicit HidService(HidFunctions functions, HidServiceTiming timing = {});
    HidService(const HidService&) = delete;
    HidService& operator=(const HidService&) = delete;
    ~HidService() override;

    int device_count(const HidUnitSelector& selector) override;
    HidRequestHandle place_read(const HidUnitSelector& selector, HidNotifyCallback callback,
                                std::uint32_t tag) override;
    bool delete_request(HidRequestHandle handle) override;
    int write_one(const HidUnitSelector& selector, const std::uint8_t* data, int length) override;
    int write_every(const HidUnitSelector& selector, const std::uint8_t* data, int length) override;
    int write_status(const HidUnitSelector& selector, const std::uint8_t* data, int length,
                     HidRequestHandle* out_handle) override;
    int get_feature(const HidUnitSelector& selector, std::uint8_t* data, int capacity) override;
    int set_feature(const HidUnitSelector& selector, const std::uint8_t* data, int length) override;

private:
    class OpenDevice;
    class StandingRead;
    using DevicePtr = std::shared_ptr<OpenDevice>;

    std::vector<HidDeviceInfo> matching(const HidUnitSelector& selector);
    DevicePtr open_path(const std::string& path);
    DevicePtr open_first(const std::vector<HidDeviceInfo>& devices);
    // The shared handle writers use for the selector's interface.
    DevicePtr acquire(const HidUnitSelector& selector);
    // Retires the interface's shared handle (only when it is `device`, if one is given).
    void forget(const HidUnitSelector& selector, const DevicePtr& device = nullptr);
    // Runs one operation on the selector's device; a failure retires the handle.
    template <typename Operation>
    int with_device(const HidUnitSelector& selector, Operation operation);
    HidRequestHandle issue_handle();

    HidFunctions functions_;
    HidServiceTiming timing_;

    std::mutex mutex_;
    std::vector<std::pair<HidUnitSelector, DevicePtr>> open_units_;
    std::vector<std::unique_ptr<StandingRead>> reads_;
    // Reads cancelled from their own callback: stopped, joined when the service ends.
    std::vector<std::unique_ptr<StandingRead>> retired_;
    std::set<HidRequestHandle> status_writes_;
    HidRequestHandle last_handle_ = 0;
};

} // namespace tarvenor::hidserv
