#pragma once

#include "hidserv/hidserv.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tarvenor {

class DynamicLibrary;

// The twelve functions of the HID service library, as looked up by name.
struct HidServFunctions {
    decltype(&::Debug) debug = nullptr;
    decltype(&::Init) init = nullptr;
    decltype(&::End) end = nullptr;
    decltype(&::RequestGetDeviceCount) get_device_count = nullptr;
    decltype(&::DeleteRequestFromUnitId) delete_request_from_unit_id = nullptr;
    decltype(&::DeleteRequestFromHandle) delete_request_from_handle = nullptr;
    decltype(&::RequestWrite) write = nullptr;
    decltype(&::RequestWriteOne) write_one = nullptr;
    decltype(&::RequestStatusWrite) status_write = nullptr;
    decltype(&::RequestStatusGet) status_get = nullptr;
    decltype(&::RequestAsyncRead) async_read = nullptr;
    decltype(&::RequestStatusSetFeature) status_set_feature = nullptr;
};

// The loaded and started HID service library. Ending it (End) and unloading it happen when the
// object goes.
class ServiceLibrary {
public:
    // Loads the file, resolves all twelve names and calls Init(0). On failure: nullptr and one
    // line naming what is missing (the file, a function, or a failed start).
    static std::unique_ptr<ServiceLibrary> load(const std::filesystem::path& file,
                                                std::string& error);

    // TARVENOR_HIDSERV when it is set, else the library's file in the program folder.
    static std::filesystem::path default_file(const std::filesystem::path& program_folder);

    ServiceLibrary(const ServiceLibrary&) = delete;
    ServiceLibrary& operator=(const ServiceLibrary&) = delete;
    ~ServiceLibrary();

    const HidServFunctions& functions() const { return functions_; }

    // The lock file the library names for its keyboard (GetDeviceLockPath, which older libraries
    // lack); empty when it names none.
    std::filesystem::path device_lock_path() const;

    // The keyboard's device nodes that are there but this user may not open
    // (GetDeviceAccessProblem, which older libraries lack); empty when there are none.
    std::vector<std::string> inaccessible_nodes() const;

private:
    ServiceLibrary() = default;

    using LockPathFunction = int (*)(char* path, int size);
    using AccessProblemFunction = int (*)(char* nodes, int size);

    std::unique_ptr<DynamicLibrary> handle_;
    HidServFunctions functions_;
    LockPathFunction lock_path_ = nullptr;
    AccessProblemFunction access_problem_ = nullptr;
};

// The folder of the running executable.
std::filesystem::path program_folder();

} // namespace tarvenor
