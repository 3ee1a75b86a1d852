#include "hidserv/sim/sim_config.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace tarvenor::sim {
namespace {

std::string_view variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

std::filesystem::path state_folder() {
    if (const std::string_view state = variable("XDG_STATE_HOME"); !state.empty()) {
        return state;
    }
    if (const std::string_view home = variable("HOME"); !home.empty()) {
        return std::filesystem::path(home) / ".local" / "state";
    }
    return std::filesystem::temp_directory_path();
}

std::filesystem::path memory_folder() {
    const std::string_view folder = variable("TARVENOR_SIM_DIR");
    return folder.empty() ? state_folder() / "tarvenor" / "virtual-keyboard"
                          : std::filesystem::path(folder);
}

std::filesystem::path control_socket_in(const std::filesystem::path& folder) {
    const std::string_view socket = variable("TARVENOR_SIM_CONTROL");
    return socket.empty() ? folder / "control.sock" : std::filesystem::path(socket);
}

} // namespace

std::optional<std::chrono::milliseconds> parse_latency(std::string_view text) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > kMaxLatency.count()) {
        return std::nullopt;
    }
    return std::chrono::milliseconds(value);
}

std::optional<SimConfig> config_from_environment(std::string& error) {
    SimConfig config;
    config.folder = memory_folder();
    config.traffic = std::filesystem::path(variable("TARVENOR_SIM_TRAFFIC"));
    config.control_socket = control_socket_in(config.folder);
    if (const std::string_view latency = variable("TARVENOR_SIM_LATENCY_MS"); !latency.empty()) {
        const std::optional<std::chrono::milliseconds> parsed = parse_latency(latency);
        if (!parsed) {
            error = "TARVENOR_SIM_LATENCY_MS: not a number of milliseconds from 0 to " +
                    std::to_string(kMaxLatency.count()) + ": " + std::string(latency);
            return std::nullopt;
        }
        config.latency = *parsed;
    }
    const std::string_view unplugged = variable("TARVENOR_SIM_UNPLUGGED");
    config.start_unplugged = !unplugged.empty() && unplugged != "0";
    if (const std::string_view fault = variable("TARVENOR_SIM_FAULT"); !fault.empty()) {
        const std::optional<FaultPlan> plan = FaultPlan::parse(fault);
        if (!plan) {
            error = "TARVENOR_SIM_FAULT: not a fault plan: " + std::string(fault);
            return std::nullopt;
        }
        config.faults = *plan;
    }
    return config;
}

std::filesystem::path control_socket_from_environment() {
    return control_socket_in(memory_folder());
}

std::filesystem::path lock_file_from_environment() {
    return memory_folder() / "keyboard.lock";
}

} // namespace tarvenor::sim
