#include "device/dynamic_library.h"

#include <dlfcn.h>

namespace tarvenor {

std::unique_ptr<DynamicLibrary> DynamicLibrary::open(const std::filesystem::path& file,
                                                     std::string& error) {
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = ::dlerror();
        error = reason ? reason : "unknown reason";
        return nullptr;
    }
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() {
    ::dlclose(handle_);
}

void* DynamicLibrary::symbol(const char* name) const {
    return ::dlsym(handle_, name);
}

std::string DynamicLibrary::file_name(const std::string& name) {
#if defined(__APPLE__)
    return "lib" + name + ".dylib";
#else
    return "lib" + name + ".so";
#endif
}

} // namespace tarvenor
