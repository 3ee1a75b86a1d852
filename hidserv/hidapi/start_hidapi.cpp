#include "hidserv/hidapi/hid_service.h"
#include "hidserv/hidapi/hidraw_nodes.h"
#include "hidserv/hidapi/lock_path.h"
#include "hidserv/service.h"

#include <hidapi/hidapi.h>

namespace tarvenor::hidserv {

std::unique_ptr<Service> start_service(std::string& error) {
    {
        const std::lock_guard lock(global_state_lock());
        if (hid_init() != 0) {
            error = "hidapi could not start";
            return nullptr;
        }
    }
    HidFunctions functions = hidapi_functions();
    functions.shutdown = [] { hid_exit(); }; // the service calls it under global_state_lock()
    return std::make_unique<HidService>(std::move(functions));
}

std::string device_lock_path() {
    return keyboard_lock_path();
}

std::vector<std::string> inaccessible_device_nodes() {
    return nodes_without_permission(
        device_nodes(hidraw_roots_from_environment(), HIDSERV_VENDOR_ID, HIDSERV_PRODUCT_ID));
}

} // namespace tarvenor::hidserv
