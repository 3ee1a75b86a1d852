#include "device/service_library.h"

#include "device/dynamic_library.h"
#include "model/program_files.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace tarvenor {
namespace {

template <typename Function>
bool resolve(const DynamicLibrary& library, const char* name, Function& function,
             std::string& missing) {
    function = reinterpret_cast<Function>(library.symbol(name));
    if (function == nullptr && missing.empty()) {
        missing = name;
    }
    return function != nullptr;
}

// Empty when every name resolved, else the first missing one.
std::string resolve_all(const DynamicLibrary& handle, HidServFunctions& f) {
    std::string missing;
    resolve(handle, "Debug", f.debug, missing);
    resolve(handle, "Init", f.init, missing);
    resolve(handle, "End", f.end, missing);
    resolve(handle, "RequestGetDeviceCount", f.get_device_count, missing);
    resolve(handle, "DeleteRequestFromUnitId", f.delete_request_from_unit_id, missing);
    resolve(handle, "DeleteRequestFromHandle", f.delete_request_from_handle, missing);
    resolve(handle, "RequestWrite", f.write, missing);
    resolve(handle, "RequestWriteOne", f.write_one, missing);
    resolve(handle, "RequestStatusWrite", f.status_write, missing);
    resolve(handle, "RequestStatusGet", f.status_get, missing);
    resolve(handle, "RequestAsyncRead", f.async_read, missing);
    resolve(handle, "RequestStatusSetFeature", f.status_set_feature, missing);
    return missing;
}

} // namespace

std::unique_ptr<ServiceLibrary> ServiceLibrary::load(const std::filesystem::path& file,
                                                     std::string& error) {
    const std::string name = file.string();
    std::string reason;
    std::unique_ptr<DynamicLibrary> handle = DynamicLibrary::open(file, reason);
    if (handle == nullptr) {
        error = "cannot load the HID service library " + name + ": " + reason;
        return nullptr;
    }
    std::unique_ptr<ServiceLibrary> library(new ServiceLibrary());
    library->handle_ = std::move(handle);
    const DynamicLibrary& loaded = *library->handle_;
    if (const std::string missing = resolve_all(loaded, library->functions_); !missing.empty()) {
        error = "the HID service library " + name + " has no function " + missing;
        library->functions_ = {}; // never started: nothing to end
        return nullptr;
    }
    if (const int started = library->functions_.init(0); started <= 0) {
        library->functions_ = {};
        error = "the HID service library " + name + " failed to start (Init returned " +
                std::to_string(started) + ")";
        return nullptr;
    }
    library->lock_path_ = reinterpret_cast<LockPathFunction>(loaded.symbol("GetDeviceLockPath"));
    library->access_problem_ =
        reinterpret_cast<AccessProblemFunction>(loaded.symbol("GetDeviceAccessProblem"));
    return library;
}

std::filesystem::path ServiceLibrary::device_lock_path() const {
    if (lock_path_ == nullptr) {
        return {};
    }
    char path[4096] = {};
    const int length = lock_path_(path, static_cast<int>(sizeof path));
    if (length <= 0 || length >= static_cast<int>(sizeof path)) {
        return {};
    }
    return std::string(path, static_cast<std::size_t>(length));
}

std::vector<std::string> ServiceLibrary::inaccessible_nodes() const {
    if (access_problem_ == nullptr) {
        return {};
    }
    char list[16384] = {};
    if (access_problem_(list, static_cast<int>(sizeof list)) <= 0) {
        return {};
    }
    list[sizeof list - 1] = '\0'; // whatever the library wrote, never read past the buffer
    std::vector<std::string> nodes;
    std::string_view rest(list);
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        if (end > 0) {
            nodes.emplace_back(rest.substr(0, end));
        }
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return nodes;
}

std::filesystem::path ServiceLibrary::default_file(const std::filesystem::path& program_folder) {
    if (const char* chosen = std::getenv("TARVENOR_HIDSERV"); chosen && *chosen) {
        return chosen;
    }
    return program_folder / DynamicLibrary::file_name("HidServ");
}

ServiceLibrary::~ServiceLibrary() {
    if (functions_.end != nullptr) {
        functions_.end();
    }
}

std::filesystem::path program_folder() {
    return running_executable().parent_path();
}

} // namespace tarvenor
