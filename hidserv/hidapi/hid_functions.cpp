#include "hidserv/hidapi/hid_functions.h"

#include <hidapi/hidapi.h>
#include <unistd.h>

namespace tarvenor::hidserv {
namespace {

hid_device* device(HidHandle handle) {
    return static_cast<hid_device*>(handle);
}

std::vector<HidDeviceInfo> enumerate(std::uint16_t vendor_id, std::uint16_t product_id) {
    std::vector<HidDeviceInfo> found;
    hid_device_info* const list = hid_enumerate(vendor_id, product_id);
    for (const hid_device_info* info = list; info != nullptr; info = info->next) {
        found.push_back({info->path ? info->path : "",
                         {info->vendor_id, info->product_id, info->usage_page, info->usage}});
    }
    hid_free_enumeration(list);
    return found;
}

} // namespace

std::mutex& global_state_lock() {
    static std::mutex lock;
    return lock;
}

HidFunctions hidapi_functions() {
    HidFunctions functions;
    functions.enumerate = enumerate;
    functions.open = [](const std::string& path) -> HidHandle {
        return hid_open_path(path.c_str());
    };
    functions.may_open = [](const std::string& path) {
        return ::access(path.c_str(), R_OK | W_OK) == 0;
    };
    functions.close = [](HidHandle handle) { hid_close(device(handle)); };
    functions.read = [](HidHandle handle, std::uint8_t* buffer, std::size_t capacity,
                        int timeout_ms) {
        return hid_read_timeout(device(handle), buffer, capacity, timeout_ms);
    };
    functions.write = [](HidHandle handle, const std::uint8_t* data, std::size_t length) {
        return hid_write(device(handle), data, length);
    };
    functions.send_feature = [](HidHandle handle, const std::uint8_t* data, std::size_t length) {
        return hid_send_feature_report(device(handle), data, length);
    };
    functions.get_feature = [](HidHandle handle, std::uint8_t* data, std::size_t capacity) {
        return hid_get_feature_report(device(handle), data, capacity);
    };
    return functions;
}

} // namespace tarvenor::hidserv
