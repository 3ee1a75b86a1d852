#include "device/keyboard_lock.h"

#include "model/program_files.h"

#include <fstream>

namespace tarvenor {

std::string KeyboardLock::holder_record(unsigned long process_id) {
    std::string name = running_executable().stem().string();
    return std::to_string(process_id) + ' ' + (name.empty() ? "a program" : name) + '\n';
}

std::string KeyboardLock::describe_holder() const {
    std::ifstream in(file_);
    long pid = 0;
    std::string name;
    if (in >> pid && std::getline(in >> std::ws, name) && !name.empty()) {
        return name + " (process " + std::to_string(pid) + ")";
    }
    return "another program";
}

bool KeyboardLock::create_folder(std::string& error) const {
    std::error_code ec;
    if (std::filesystem::create_directories(file_.parent_path(), ec); !ec) {
        // Other users have no business with this user's keyboard lock.
        std::filesystem::permissions(file_.parent_path(), std::filesystem::perms::owner_all, ec);
        return true;
    }
    error = "cannot open the keyboard lock " + file_.string() + ": " + ec.message();
    return false;
}

} // namespace tarvenor
