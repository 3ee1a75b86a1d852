// The exported functions; each library supplies its own start_service(), device_lock_path() and
// inaccessible_device_nodes().
#include "hidserv/debug_log.h"
#include "hidserv/hidserv.h"
#include "hidserv/service.h"

#include <cstdio>
#include <cstring>

namespace {

std::unique_ptr<tarvenor::hidserv::Service> g_service;

} // namespace

extern "C" {

HIDSERV_API int Debug(int level) {
    return tarvenor::hidserv::set_debug_level(level);
}

HIDSERV_API int Init(int /*reserved*/) {
    if (g_service) {
        return 1;
    }
    std::string error;
    g_service = tarvenor::hidserv::start_service(error);
    if (!g_service) {
        std::fprintf(stderr, "hidserv: %s\n", error.c_str());
        return 0;
    }
    return 1;
}

HIDSERV_API int End(void) {
    g_service.reset();
    return 1;
}

HIDSERV_API int RequestGetDeviceCount(const HidUnitSelector* selector) {
    return g_service && selector ? g_service->device_count(*selector) : 0;
}

HIDSERV_API int DeleteRequestFromUnitId(HidRequestHandle handle) {
    return g_service && g_service->delete_request(handle) ? 1 : 0;
}

HIDSERV_API int DeleteRequestFromHandle(HidRequestHandle handle) {
    return DeleteRequestFromUnitId(handle);
}

HIDSERV_API int RequestWrite(const HidUnitSelector* selector, const uint8_t* data, int length) {
    return g_service && selector && data ? g_service->write_every(*selector, data, length) : 0;
}

HIDSERV_API int RequestWriteOne(const HidUnitSelector* selector, const uint8_t* data, int length) {
    return g_service && selector && data ? g_service->write_one(*selector, data, length) : 0;
}

HIDSERV_API int RequestStatusWrite(const HidUnitSelector* selector, HidNotifyCallback /*callback*/,
                                   uint32_t /*tag*/, const uint8_t* data, int length,
                                   HidRequestHandle* out_handle) {
    if (out_handle) {
        *out_handle = 0;
    }
    return g_service && selector && data
               ? g_service->write_status(*selector, data, length, out_handle)
               : 0;
}

HIDSERV_API int RequestStatusGet(const HidUnitSelector* selector, uint8_t* data, int capacity) {
    return g_service && selector && data ? g_service->get_feature(*selector, data, capacity) : 0;
}

HIDSERV_API int RequestAsyncRead(const HidUnitSelector* selector, HidNotifyCallback callback,
                                 uint32_t tag, HidRequestHandle* out_handle) {
    if (!g_service || !selector || !callback || !out_handle) {
        return 0;
    }
    *out_handle = g_service->place_read(*selector, callback, tag);
    return *out_handle != 0 ? 1 : 0;
}

HIDSERV_API int RequestStatusSetFeature(const HidUnitSelector* selector, const uint8_t* data,
                                        int length) {
    return g_service && selector && data ? g_service->set_feature(*selector, data, length) : 0;
}

HIDSERV_API int GetDeviceLockPath(char* path, int size) {
    if (path == nullptr || size <= 0) {
        return 0;
    }
    path[0] = '\0';
    const std::string lock = tarvenor::hidserv::device_lock_path();
    if (lock.empty() || lock.size() >= static_cast<std::size_t>(size)) {
        return 0;
    }
    std::memcpy(path, lock.c_str(), lock.size() + 1);
    return static_cast<int>(lock.size());
}

HIDSERV_API int GetDeviceAccessProblem(char* nodes, int size) {
    const std::vector<std::string> paths = tarvenor::hidserv::inaccessible_device_nodes();
    if (nodes != nullptr && size > 0) {
        std::string list;
        for (const std::string& path : paths) {
            const std::size_t needed = list.size() + (list.empty() ? 0 : 1) + path.size();
            if (needed >= static_cast<std::size_t>(size)) {
                break;
            }
            list.append(list.empty() ? "" : "\n").append(path);
        }
        std::memcpy(nodes, list.c_str(), list.size() + 1);
    }
    return static_cast<int>(paths.size());
}

} // extern "C"
