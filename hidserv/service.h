#pragma once

#include "hidserv/hidserv.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarvenor::hidserv {

// What stands behind the exported functions (see hidserv.h for each call's contract). Argument
// pointers have been checked for null before a method is called.
class Service {
public:
    virtual ~Service() = default;

    virtual int device_count(const HidUnitSelector& selector) = 0;
    virtual HidRequestHandle place_read(const HidUnitSelector& selector, HidNotifyCallback callback,
                                        std::uint32_t tag) = 0;
    virtual bool delete_request(HidRequestHandle handle) = 0;
    virtual int write_one(const HidUnitSelector& selector, const std::uint8_t* data,
                          int length) = 0;
    virtual int write_every(const HidUnitSelector& selector, const std::uint8_t* data,
                            int length) = 0;
    virtual int write_status(const HidUnitSelector& selector, const std::uint8_t* data, int length,
                             HidRequestHandle* out_handle) = 0;
    virtual int get_feature(const HidUnitSelector& selector, std::uint8_t* data, int capacity) = 0;
    virtual int set_feature(const HidUnitSelector& selector, const std::uint8_t* data,
                            int length) = 0;
};

// Each library defines this: its service, or nullptr and a reason.
std::unique_ptr<Service> start_service(std::string& error);

// Each library defines this too: the lock file of the keyboard it serves, its folder made; empty
// when there is none to name.
std::string device_lock_path();

// And this: the device nodes of the keyboard this user may not open.
std::vector<std::string> inaccessible_device_nodes();

} // namespace tarvenor::hidserv
