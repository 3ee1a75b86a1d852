#include "hidserv/hidapi/lock_path.h"

#include "hidserv/hidserv.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvenor::hidserv {
namespace {

std::string lock_folder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        return std::string(runtime) + "/tarvenor";
    }
    return "/tmp/tarvenor-" + std::to_string(::getuid());
}

bool usable_folder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

std::string keyboard_lock_path() {
    const std::string folder = lock_folder();
    if (!usable_folder(folder)) {
        return {};
    }
    char name[32];
    std::snprintf(name, sizeof name, "/keyboard-%04x-%04x.lock", HIDSERV_VENDOR_ID,
                  HIDSERV_PRODUCT_ID);
    return folder + name;
}

} // namespace tarvenor::hidserv
