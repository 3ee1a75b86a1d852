#include "hidserv/service.h"
#include "hidserv/sim/virtual_keyboard.h"

namespace tarvenor::hidserv {

std::unique_ptr<Service> start_service(std::string& error) {
    const std::optional<sim::SimConfig> config = sim::config_from_environment(error);
    if (!config) {
        return nullptr;
    }
    std::unique_ptr<Service> keyboard = sim::VirtualKeyboard::start(*config, error);
    if (!keyboard) {
        error = "virtual keyboard: " + error;
    }
    return keyboard;
}

std::string device_lock_path() {
    const std::filesystem::path lock = sim::lock_file_from_environment();
    std::error_code ec;
    std::filesystem::create_directories(lock.parent_path(), ec);
    return ec ? std::string() : lock.string();
}

std::vector<std::string> inaccessible_device_nodes() {
    return {}; // a virtual keyboard has no device node
}

} // namespace tarvenor::hidserv
