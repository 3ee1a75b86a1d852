#pragma once

#include "hidserv/sim/fault_plan.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvenor::sim {

// How the virtual keyboard starts, from its environment variables:
//   TARVENOR_SIM_DIR         folder of the memory files
//                            (default: <state dir>/tarvenor/virtual-keyboard)
//   TARVENOR_SIM_TRAFFIC     file that receives every report as one line
//   TARVENOR_SIM_LATENCY_MS  delay before each answer, in milliseconds (default 0)
//   TARVENOR_SIM_UNPLUGGED   1: the keyboard starts unplugged
//   TARVENOR_SIM_FAULT       a fault plan (see FaultPlan)
//   TARVENOR_SIM_CONTROL     control socket (default: control.sock in the memory folder)
struct SimConfig {
    std::filesystem::path folder;
    std::filesystem::path traffic; // empty: no traffic log
    std::chrono::milliseconds latency{0};
    bool start_unplugged = false;
    FaultPlan faults;
    std::filesystem::path control_socket;
};

inline constexpr std::chrono::milliseconds kMaxLatency{60000};

// A delay before each answer: decimal milliseconds, 0 to kMaxLatency.
std::optional<std::chrono::milliseconds> parse_latency(std::string_view text);

// nullopt with a message naming the variable when a value cannot be used.
std::optional<SimConfig> config_from_environment(std::string& error);

// The control socket a client should talk to, from the same variables.
std::filesystem::path control_socket_from_environment();

// keyboard.lock in the memory folder: the programs sharing the folder take it for a whole
// operation (the keyboard itself locks its memory files per command with memory.lock).
std::filesystem::path lock_file_from_environment();

} // namespace tarvenor::sim
