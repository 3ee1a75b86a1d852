#pragma once

#include "hidserv/hidapi/hidraw_nodes.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarvenor::cli {

// One line of `tarvenor-cli doctor`.
struct DoctorCheck {
    enum class State { Ok, Fix, Unknown };
    std::string name;
    State state = State::Unknown;
    std::string detail; // what was found, or what is wrong
    std::string fix;    // what to do; empty unless the state is Fix
};

// Where the checks look. The folders come from the system unless test hooks move them.
struct DoctorSetup {
    std::filesystem::path library_file;
    std::filesystem::path library_folder;
    hidserv::HidrawRoots hidraw;
    std::vector<std::filesystem::path> rule_folders;
    std::filesystem::path skin_file;
    std::filesystem::path help_file;
    std::filesystem::path language_file;
};
DoctorSetup doctor_setup();

DoctorCheck check_service_library(const DoctorSetup& setup);
// One check per hidraw node of the keyboard; one saying so when there is none.
std::vector<DoctorCheck> check_hidraw_nodes(const hidserv::HidrawRoots& roots);
DoctorCheck check_udev_rule(const std::vector<std::filesystem::path>& folders);
std::vector<DoctorCheck> check_program_files(const DoctorSetup& setup);

// Whether a rules file grants something for this keyboard: a rule line (not a comment) matching
// its vendor and product ids.
bool rules_name_keyboard(std::string_view rules);

std::vector<DoctorCheck> run_doctor_checks(const DoctorSetup& setup);

} // namespace tarvenor::cli
