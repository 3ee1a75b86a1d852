#pragma once

#include "hidserv/unit_selector.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace tarvenor::hidserv {

struct HidDeviceInfo {
    std::string path;
    UnitIdentity identity;
};

using HidHandle = void*;

// The few hid operations the service needs. The real table calls hidapi; tests put fakes in it to
// play enumeration, input reports, failed writes and a keyboard that disappears.
struct HidFunctions {
    std::function<std::vector<HidDeviceInfo>(std::uint16_t vendor_id, std::uint16_t product_id)>
        enumerate;
    std::function<HidHandle(const std::string& path)> open; // nullptr on failure
    // Optional: false for a device this user may not open. Such a device does not count as
    // connected: a keyboard that cannot be talked to is reported as an access problem instead.
    std::function<bool(const std::string& path)> may_open;
    std::function<void(HidHandle)> close;
    // Bytes read, 0 when the timeout passed, < 0 when the device failed (for example, vanished).
    std::function<int(HidHandle, std::uint8_t* buffer, std::size_t capacity, int timeout_ms)> read;
    // Bytes written, < 0 on failure; data[0] is the report id.
    std::function<int(HidHandle, const std::uint8_t* data, std::size_t length)> write;
    std::function<int(HidHandle, const std::uint8_t* data, std::size_t length)> send_feature;
    std::function<int(HidHandle, std::uint8_t* data, std::size_t capacity)> get_feature;
    // Optional: runs after the service has closed every handle.
    std::function<void()> shutdown;
};

// hidapi's implementation; hid_init() must have succeeded before it is used.
HidFunctions hidapi_functions();

// hid_init, hid_exit, hid_enumerate and hid_open_path each free and replace hidapi's one
// process-wide error text (and may set the locale), so two of them at once can free the same
// string twice. Every call of `enumerate`, `open` and `shutdown`, and hid_init, runs under this
// lock. Calls on an open handle (read, write, the feature reports, close) touch only that
// handle's own state; they run unlocked, and the service never makes two at once on one handle.
std::mutex& global_state_lock();

} // namespace tarvenor::hidserv
