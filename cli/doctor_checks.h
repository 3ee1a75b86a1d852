#pragma once

#include "model/program_files.h"

#include <filesystem>
#include <string>
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

DoctorCheck check_passed(std::string name, std::string detail);
DoctorCheck check_failed(std::string name, std::string detail, std::string what_to_do);

DoctorCheck check_service_library(const ProgramFiles& files);
std::vector<DoctorCheck> check_program_files(const ProgramFiles& files);

// The checks of how this system lets the program reach the keyboard and show its tray icon.
std::vector<DoctorCheck> check_system(const ProgramFiles& files);

// Every check, in the order they are printed.
std::vector<DoctorCheck> run_doctor_checks(const ProgramFiles& files);

} // namespace tarvenor::cli
