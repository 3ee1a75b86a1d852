#pragma once

#include "device/device_status.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvenor::cli {

// `--verbose`: failures also name the internal status numbers.
void set_verbose(bool verbose);

// What a failed keyboard operation means to the user, e.g. "the keyboard did not answer".
std::string status_in_words(DeviceStatus status);

// Prints "tarvenor-cli: <text>" on standard error.
void complain(std::string_view text);

// Why a file cannot be read, in the system's words ("Permission denied", "Is a directory").
std::string unreadable_reason(const std::filesystem::path& path);

} // namespace tarvenor::cli
