#include "model/program_files.h"

#include <windows.h>

#include <vector>

namespace tarvenor {

std::filesystem::path running_executable() {
    // Long paths exceed MAX_PATH; grow until the name fits.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<wchar_t> name(size);
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            return std::filesystem::path(std::wstring(name.data(), length));
        }
    }
    return {};
}

} // namespace tarvenor
