#include "cli/user_words.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

namespace tarvenor::cli {
namespace {

bool verbose_words = false;

const char* plain_words(DeviceStatus status) {
    switch (status) {
    case DeviceStatus::Success:
        return "done";
    case DeviceStatus::NoDevice:
        return "no keyboard is connected";
    case DeviceStatus::SendRefused:
        return "the report could not be sent to the keyboard";
    case DeviceStatus::NoAnswer:
        return "the keyboard did not answer";
    case DeviceStatus::WrongAnswer:
        return "the keyboard answered with a different command";
    case DeviceStatus::Stopped:
        return "interrupted";
    case DeviceStatus::Rejected:
        return "the keyboard refused the command";
    case DeviceStatus::UnknownCommand:
        return "the keyboard does not know the command";
    case DeviceStatus::InvalidArgument:
        return "the request cannot be sent to the keyboard";
    }
    return "the keyboard failed";
}

} // namespace

void set_verbose(bool verbose) {
    verbose_words = verbose;
}

std::string status_in_words(DeviceStatus status) {
    std::string words = plain_words(status);
    if (verbose_words) {
        words += " (status " + std::to_string(status_code(status)) + ")";
    }
    return words;
}

void complain(std::string_view text) {
    std::cerr << "tarvenor-cli: " << text << '\n';
}

std::string unreadable_reason(const std::filesystem::path& path) {
    // The stream opens through the C library (wide names on Windows), which leaves errno set.
    errno = 0;
    if (const std::ifstream file(path, std::ios::binary); !file.is_open()) {
        return errno != 0 ? std::strerror(errno) : "cannot be opened";
    }
    return "read error";
}

} // namespace tarvenor::cli
