#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace tarvenor {

// A shared library loaded at run time and unloaded when the object goes.
class DynamicLibrary {
public:
    // nullptr when it cannot be loaded, with the system's reason in `error`.
    static std::unique_ptr<DynamicLibrary> open(const std::filesystem::path& file,
                                                std::string& error);

    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    ~DynamicLibrary();

    // The address of an exported function; nullptr when the library has none by that name.
    void* symbol(const char* name) const;

    // The file name the platform gives a library called `name` (libHidServ.so, HidServ.dll).
    static std::string file_name(const std::string& name);

private:
    explicit DynamicLibrary(void* handle) : handle_(handle) {}

    void* handle_;
};

} // namespace tarvenor
