#include "model/program_files.h"

namespace tarvenor {

std::filesystem::path running_executable() {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable;
}

} // namespace tarvenor
