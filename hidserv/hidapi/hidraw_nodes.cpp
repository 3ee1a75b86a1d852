#include "hidserv/hidapi/hidraw_nodes.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace tarvenor::hidserv {
namespace {

std::filesystem::path root_from(const char* variable, const std::filesystem::path& fallback) {
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != '\0' ? std::filesystem::path(value) : fallback;
}

// One hexadecimal field of HID_ID; false unless the whole field is hex and fits.
bool parse_hex(std::string_view field, std::uint32_t& value) {
    if (field.empty()) {
        return false;
    }
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value, 16);
    return error == std::errc() && end == field.data() + field.size();
}

bool hid_id_names_device(std::string_view id, std::uint16_t vendor_id, std::uint16_t product_id) {
    const std::size_t first = id.find(':');
    const std::size_t second = id.find(':', first == std::string_view::npos ? first : first + 1);
    if (second == std::string_view::npos) {
        return false;
    }
    std::uint32_t bus = 0;
    std::uint32_t vendor = 0;
    std::uint32_t product = 0;
    return parse_hex(id.substr(0, first), bus) &&
           parse_hex(id.substr(first + 1, second - first - 1), vendor) &&
           parse_hex(id.substr(second + 1), product) && vendor == vendor_id &&
           product == product_id;
}

std::string read_small_file(const std::filesystem::path& path) {
    constexpr std::size_t kLimit = 4096; // a uevent is a few lines; never read a huge file whole
    std::ifstream in(path, std::ios::binary);
    std::string text(kLimit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

HidrawNode try_open(std::filesystem::path path) {
    HidrawNode node{path.string()};
    const int fd = ::open(node.path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        node.access = NodeAccess::Opens;
        return node;
    }
    node.error = errno;
    node.access = node.error == EACCES || node.error == EPERM ? NodeAccess::NoPermission
                  : node.error == ENOENT                      ? NodeAccess::Missing
                                                              : NodeAccess::Fails;
    return node;
}

// hidraw2 before hidraw10.
bool kernel_order(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

} // namespace

HidrawRoots hidraw_roots_from_environment() {
    const HidrawRoots defaults;
    return {root_from("TARVENOR_SYSFS_ROOT", defaults.sysfs),
            root_from("TARVENOR_DEV_ROOT", defaults.dev)};
}

bool uevent_names_device(std::string_view uevent, std::uint16_t vendor_id,
                         std::uint16_t product_id) {
    constexpr std::string_view kKey = "HID_ID=";
    while (!uevent.empty()) {
        const std::size_t end = std::min(uevent.find('\n'), uevent.size());
        const std::string_view line = uevent.substr(0, end);
        if (line.starts_with(kKey)) {
            return hid_id_names_device(line.substr(kKey.size()), vendor_id, product_id);
        }
        uevent.remove_prefix(std::min(end + 1, uevent.size()));
    }
    return false;
}

std::vector<HidrawNode> device_nodes(const HidrawRoots& roots, std::uint16_t vendor_id,
                                     std::uint16_t product_id) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry :
         std::filesystem::directory_iterator(roots.sysfs / "class" / "hidraw", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("hidraw") &&
            uevent_names_device(read_small_file(entry.path() / "device" / "uevent"), vendor_id,
                                product_id)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), kernel_order);
    std::vector<HidrawNode> nodes;
    std::transform(names.begin(), names.end(), std::back_inserter(nodes),
                   [&](const std::string& name) { return try_open(roots.dev / name); });
    return nodes;
}

std::vector<std::string> nodes_without_permission(const std::vector<HidrawNode>& nodes) {
    std::vector<std::string> paths;
    for (const HidrawNode& node : nodes) {
        if (node.access == NodeAccess::NoPermission) {
            paths.push_back(node.path);
        }
    }
    return paths;
}

} // namespace tarvenor::hidserv
