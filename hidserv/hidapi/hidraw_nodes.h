#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarvenor::hidserv {

// Where the kernel's hidraw table and the device nodes are. Tests point both at a folder of
// their own through TARVENOR_SYSFS_ROOT and TARVENOR_DEV_ROOT.
struct HidrawRoots {
    std::filesystem::path sysfs = "/sys";
    std::filesystem::path dev = "/dev";
};
HidrawRoots hidraw_roots_from_environment();

enum class NodeAccess {
    Opens,        // read and write open
    NoPermission, // EACCES or EPERM: the node is there, this user may not use it
    Missing,      // the kernel lists it, /dev has no such node (yet)
    Fails,        // any other error
};

struct HidrawNode {
    std::string path; // e.g. /dev/hidraw3
    NodeAccess access = NodeAccess::Fails;
    int error = 0; // errno of the failed open
};

// Whether a hidraw device's uevent text (HID_ID=bus:vendor:product, in hex) names this device.
bool uevent_names_device(std::string_view uevent, std::uint16_t vendor_id,
                         std::uint16_t product_id);

// The hidraw nodes of every interface of the device, in the kernel's numbering order, each tried
// with a read-write open.
std::vector<HidrawNode> device_nodes(const HidrawRoots& roots, std::uint16_t vendor_id,
                                     std::uint16_t product_id);

// The paths of the nodes this user may not open.
std::vector<std::string> nodes_without_permission(const std::vector<HidrawNode>& nodes);

} // namespace tarvenor::hidserv
