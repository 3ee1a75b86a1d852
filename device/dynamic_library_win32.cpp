#include "device/dynamic_library.h"

#include "device/windows_error.h"

#include <windows.h>

namespace tarvenor {
std::unique_ptr<DynamicLibrary> DynamicLibrary::open(const std::filesystem::path& file,
                                                     std::string& error) {
    // The library's own folder first for what it depends on, not the program's current folder;
    // that search needs an absolute path.
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(file, ignored);
    HMODULE module =
        ::LoadLibraryExW(absolute.c_str(), nullptr,
                         LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (module == nullptr) {
        error = windows_error_text(::GetLastError());
        return nullptr;
    }
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(module));
}

DynamicLibrary::~DynamicLibrary() {
    ::FreeLibrary(static_cast<HMODULE>(handle_));
}

void* DynamicLibrary::symbol(const char* name) const {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string DynamicLibrary::file_name(const std::string& name) {
    return name + ".dll";
}

} // namespace tarvenor
