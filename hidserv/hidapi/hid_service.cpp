#include "hidserv/hidapi/hid_service.h"

#include "hidserv/debug_log.h"

#include <algorithm>
#include <array>

namespace tarvenor::hidserv {

class HidService::OpenDevice {
public:
    OpenDevice(const HidFunctions& functions, HidHandle handle)
        : functions_(functions), handle_(handle) {}
    OpenDevice(const OpenDevice&) = delete;
    OpenDevice& operator=(const OpenDevice&) = delete;
    ~OpenDevice() { functions_.close(handle_); }

    HidHandle handle() const { return handle_; }
    std::mutex& turn() { return turn_; }

private:
    const HidFunctions& functions_;
    HidHandle handle_;
    std::mutex turn_;
};

class HidService::StandingRead {
public:
    StandingRead(HidService& service, HidRequestHandle handle, const HidUnitSelector& selector,
                 HidNotifyCallback callback, std::uint32_t tag, int count, DevicePtr device)
        : service_(service), handle_(handle), selector_(selector), callback_(callback), tag_(tag),
          count_(count) {
        thread_ = std::thread([this, device = std::move(device)]() mutable { run(device); });
    }
    StandingRead(const StandingRead&) = delete;
    StandingRead& operator=(const StandingRead&) = delete;
    ~StandingRead() {
        request_stop();
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    void request_stop() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
    }
    bool on_own_thread() const { return std::this_thread::get_id() == reader_.load(); }
    HidRequestHandle handle() const { return handle_; }
    const HidUnitSelector& selector() const { return selector_; }
    int count() const { return count_.load(); }

private:
    // false once the read is cancelled
    bool pause(std::chrono::milliseconds time) {
        std::unique_lock lock(mutex_);
        return !wake_.wait_for(lock, time, [this] { return stopping_; });
    }
    bool running() {
        const std::lock_guard lock(mutex_);
        return !stopping_;
    }

    // Opens the device (when there is one and none is open) before an arrival is reported: its
    // hearer writes at once, and the answer reaches only handles already open.
    void rescan(DevicePtr& device) {
        const std::vector<HidDeviceInfo> devices = service_.matching(selector_);
        if (!device) {
            device = service_.open_first(devices);
        }
        const int count = static_cast<int>(devices.size());
        if (count_.exchange(count) != count) {
            debug_line(1, "device count " + std::to_string(count));
            notify(callback_, HIDSERV_KIND_CONNECTION, tag_, static_cast<std::uint32_t>(count),
                   nullptr);
        }
    }

    void run(DevicePtr& device) {
        reader_.store(std::this_thread::get_id());
        const HidServiceTiming& timing = service_.timing_;
        std::array<std::uint8_t, 256> buffer{};
        auto next_scan = std::chrono::steady_clock::now() + timing.rescan_interval;
        while (running()) {
            if (!device || std::chrono::steady_clock::now() >= next_scan) {
                rescan(device);
                next_scan = std::chrono::steady_clock::now() + timing.rescan_interval;
                if (!running()) {
                    continue; // cancelled from the connection change's own callback
                }
                if (!device) {
                    pause(timing.rescan_interval);
                    continue;
                }
            }
            const int n = service_.functions_.read(device->handle(), buffer.data(), buffer.size(),
                                                   timing.read_timeout.count());
            if (n > 0) {
                if (debug_enabled(2)) {
                    debug_line(2, "read " + hex_bytes(buffer.data(), static_cast<std::size_t>(n)));
                }
                notify(callback_, HIDSERV_KIND_DATA, tag_, static_cast<std::uint32_t>(n),
                       buffer.data());
            } else if (n < 0) {
                debug_line(1, "read failed; the device is gone or broken");
                device.reset();
                service_.forget(selector_); // writers must not keep using the dead device either
                pause(timing.read_timeout); // let the system's device list catch up
            }
        }
    }

    HidService& service_;
    const HidRequestHandle handle_;
    const HidUnitSelector selector_;
    const HidNotifyCallback callback_;
    const std::uint32_t tag_;
    std::atomic<int> count_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::atomic<std::thread::id> reader_{};
    std::thread thread_;
};

HidService::HidService(HidFunctions functions, HidServiceTiming timing)
    : functions_(std::move(functions)), timing_(timing) {}

HidService::~HidService() {
    std::vector<std::unique_ptr<StandingRead>> reads;
    {
        const std::lock_guard lock(mutex_);
        reads = std::move(reads_);
        std::move(retired_.begin(), retired_.end(), std::back_inserter(reads));
        retired_.clear();
    }
    reads.clear(); // joins every reader before the handles go
    open_units_.clear();
    if (functions_.shutdown) {
        const std::lock_guard lock(global_state_lock());
        functions_.shutdown();
    }
}

std::vector<HidDeviceInfo> HidService::matching(const HidUnitSelector& selector) {
    std::vector<HidDeviceInfo> devices;
    {
        const std::lock_guard lock(global_state_lock());
        devices = functions_.enumerate(
            (selector.match_mask & HIDSERV_MATCH_VENDOR) ? selector.vendor_id : 0,
            (selector.match_mask & HIDSERV_MATCH_PRODUCT) ? selector.product_id : 0);
    }
    std::erase_if(devices, [&](const HidDeviceInfo& device) {
        return !selector_matches(selector, device.identity) ||
               (functions_.may_open && !functions_.may_open(device.path));
    });
    return devices;
}

HidService::DevicePtr HidService::open_path(const std::string& path) {
    HidHandle handle = nullptr;
    {
        const std::lock_guard lock(global_state_lock());
        handle = functions_.open(path);
    }
    return handle ? std::make_shared<OpenDevice>(functions_, handle) : nullptr;
}

HidService::DevicePtr HidService::open_first(const std::vector<HidDeviceInfo>& devices) {
    return devices.empty() ? nullptr : open_path(devices.front().path);
}

HidService::DevicePtr HidService::acquire(const HidUnitSelector& selector) {
    const std::lock_guard lock(mutex_);
    for (const auto& [unit, device] : open_units_) {
        if (same_unit(unit, selector)) {
            return device;
        }
    }
    DevicePtr device = open_first(matching(selector));
    if (device) {
        open_units_.emplace_back(selector, device);
    }
    return device;
}

void HidService::forget(const HidUnitSelector& selector, const DevicePtr& device) {
    const std::lock_guard lock(mutex_);
    std::erase_if(open_units_, [&](const auto& entry) {
        return same_unit(entry.first, selector) && (!device || entry.second == device);
    });
}

template <typename Operation>
int HidService::with_device(const HidUnitSelector& selector, Operation operation) {
    const DevicePtr device = acquire(selector);
    if (!device) {
        return 0;
    }
    int result = 0;
    {
        const std::lock_guard turn(device->turn());
        result = operation(device->handle());
    }
    if (result < 0) {
        debug_line(1, "device call failed; the handle is closed");
        forget(selector, device);
        return 0;
    }
    return result;
}

HidRequestHandle HidService::issue_handle() {
    ++last_handle_;
    if (last_handle_ == 0) {
        ++last_handle_;
    }
    return last_handle_;
}

int HidService::device_count(const HidUnitSelector& selector) {
    {
        // A standing read on the interface keeps the count up to date; enumerating on every
        // exchange would cost far more than the exchange.
        const std::lock_guard lock(mutex_);
        for (const auto& read : reads_) {
            if (same_unit(read->selector(), selector)) {
                return read->count();
            }
        }
    }
    return static_cast<int>(matching(selector).size());
}

HidRequestHandle HidService::place_read(const HidUnitSelector& selector, HidNotifyCallback callback,
                                        std::uint32_t tag) {
    // Opened here, not by the reader: the device hands an input report only to handles open when
    // it arrives, and the answer to the next write must not slip past.
    const std::vector<HidDeviceInfo> devices = matching(selector);
    DevicePtr device = open_first(devices);
    const std::lock_guard lock(mutex_);
    const HidRequestHandle handle = issue_handle();
    reads_.push_back(std::make_unique<StandingRead>(*this, handle, selector, callback, tag,
                                                    static_cast<int>(devices.size()),
                                                    std::move(device)));
    return handle;
}

bool HidService::delete_request(HidRequestHandle handle) {
    std::unique_ptr<StandingRead> read;
    {
        const std::lock_guard lock(mutex_);
        const auto found = std::find_if(reads_.begin(), reads_.end(),
                                        [&](const auto& r) { return r->handle() == handle; });
        if (found == reads_.end()) {
            return status_writes_.erase(handle) > 0;
        }
        read = std::move(*found);
        reads_.erase(found);
        if (read->on_own_thread()) {
            read->request_stop();
            retired_.push_back(std::move(read));
            return true;
        }
    }
    read.reset(); // joins: no callback of this read runs after we return
    return true;
}

int HidService::write_one(const HidUnitSelector& selector, const std::uint8_t* data, int length) {
    if (data == nullptr || length <= 0) {
        return 0;
    }
    if (debug_enabled(2)) {
        debug_line(2, "write " + hex_bytes(data, static_cast<std::size_t>(length)));
    }
    return with_device(selector, [&](HidHandle handle) {
        return functions_.write(handle, data, static_cast<std::size_t>(length));
    });
}

int HidService::write_every(const HidUnitSelector& selector, const std::uint8_t* data, int length) {
    if (data == nullptr || length <= 0) {
        return 0;
    }
    int written = 0;
    for (const HidDeviceInfo& info : matching(selector)) {
        const DevicePtr device = open_path(info.path);
        if (device &&
            functions_.write(device->handle(), data, static_cast<std::size_t>(length)) > 0) {
            ++written;
        }
    }
    return written;
}

int HidService::write_status(const HidUnitSelector& selector, const std::uint8_t* data, int length,
                             HidRequestHandle* out_handle) {
    if (out_handle != nullptr) {
        *out_handle = 0;
    }
    const int written = write_one(selector, data, length);
    if (written > 0 && out_handle != nullptr) {
        const std::lock_guard lock(mutex_);
        *out_handle = issue_handle();
        status_writes_.insert(*out_handle);
    }
    return written;
}

int HidService::get_feature(const HidUnitSelector& selector, std::uint8_t* data, int capacity) {
    if (data == nullptr || capacity <= 0) {
        return 0;
    }
    return with_device(selector, [&](HidHandle handle) {
        return functions_.get_feature(handle, data, static_cast<std::size_t>(capacity));
    });
}

int HidService::set_feature(const HidUnitSelector& selector, const std::uint8_t* data, int length) {
    if (data == nullptr || length <= 0) {
        return 0;
    }
    return with_device(selector, [&](HidHandle handle) {
        return functions_.send_feature(handle, data, static_cast<std::size_t>(length));
    });
}

} // namespace tarvenor::hidserv
