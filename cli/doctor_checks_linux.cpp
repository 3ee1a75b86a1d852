#include "cli/access_advice.h"
#include "cli/doctor_checks.h"
#include "cli/focus_probe.h"
#include "cli/language_font_check.h"
#include "cli/tray_probes.h"
#include "hidserv/hidapi/hidraw_nodes.h"
#include "hidserv/hidserv.h"
#include "model/text_table.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string_view>

namespace tarvenor::cli {
namespace {

// TARVENOR_UDEV_RULES_DIRS (a test hook: folders separated by ':') or the system's folders and,
// installed, the installation's own.
std::vector<std::filesystem::path> rule_folders(const ProgramFiles& files) {
    std::vector<std::filesystem::path> folders;
    if (const char* chosen = std::getenv("TARVENOR_UDEV_RULES_DIRS"); chosen && *chosen) {
        std::istringstream list(chosen);
        for (std::string folder; std::getline(list, folder, ':');) {
            if (!folder.empty()) {
                folders.emplace_back(folder);
            }
        }
        return folders;
    }
    folders = {"/etc/udev/rules.d", "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
    if (files.layout == ProgramFiles::Layout::Installed) {
        folders.push_back(files.executable_folder.parent_path() / "lib" / "udev" / "rules.d");
    }
    return folders;
}

std::string lower_without_blanks(std::string_view line) {
    std::string text;
    for (const char c : line) {
        if (c != ' ' && c != '\t') {
            text.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        }
    }
    return text;
}

std::string read_text(const std::filesystem::path& file) {
    constexpr std::size_t kLimit = 1 << 20; // rules files are small; never read a huge one whole
    std::ifstream in(file, std::ios::binary);
    std::string text(kLimit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// The rules files of a folder, by name, as udev orders them.
std::vector<std::filesystem::path> rules_files(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (entry.path().extension() == ".rules" && entry.is_regular_file(ec)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string node_state(const hidserv::HidrawNode& node) {
    switch (node.access) {
    case hidserv::NodeAccess::Opens:
        return "opens";
    case hidserv::NodeAccess::NoPermission:
        return "permission denied";
    case hidserv::NodeAccess::Missing:
        return "listed by the kernel, but there is no such device node";
    case hidserv::NodeAccess::Fails:
        break;
    }
    return std::string("cannot be opened: ") + std::strerror(node.error);
}

std::vector<DoctorCheck> check_hidraw_nodes(const hidserv::HidrawRoots& roots) {
    const std::vector<hidserv::HidrawNode> nodes =
        hidserv::device_nodes(roots, HIDSERV_VENDOR_ID, HIDSERV_PRODUCT_ID);
    if (nodes.empty()) {
        return {check_failed(
            "keyboard", "none on hidraw (vendor 0c45, product 0820)",
            "plug the keyboard in (a USB port of the computer, not a hub without power)")};
    }
    std::vector<DoctorCheck> checks;
    for (const hidserv::HidrawNode& node : nodes) {
        const std::string name = "keyboard node " + node.path;
        if (node.access == hidserv::NodeAccess::Opens) {
            checks.push_back(check_passed(name, node_state(node)));
        } else {
            checks.push_back(check_failed(name, node_state(node),
                                          node.access == hidserv::NodeAccess::NoPermission
                                              ? access_fix()
                                              : "unplug the keyboard and plug it in again"));
        }
    }
    return checks;
}

// Whether a rules file grants something for this keyboard: a rule line (not a comment) matching
// its vendor and product ids.
bool rules_name_keyboard(std::string_view rules) {
    while (!rules.empty()) {
        const std::size_t end = std::min(rules.find('\n'), rules.size());
        const std::string line = lower_without_blanks(rules.substr(0, end));
        rules.remove_prefix(std::min(end + 1, rules.size()));
        if (!line.starts_with('#') && line.find("{idvendor}==\"0c45\"") != std::string::npos &&
            line.find("{idproduct}==\"0820\"") != std::string::npos) {
            return true;
        }
    }
    return false;
}

DoctorCheck check_udev_rule(const std::vector<std::filesystem::path>& folders) {
    constexpr const char* kName = "udev rule";
    for (const std::filesystem::path& folder : folders) {
        for (const std::filesystem::path& file : rules_files(folder)) {
            if (rules_name_keyboard(read_text(file))) {
                return check_passed(kName, file.string());
            }
        }
    }
    std::string searched;
    for (const std::filesystem::path& folder : folders) {
        searched.append(searched.empty() ? "" : ", ").append(folder.string());
    }
    return check_failed(kName, "no rule for the keyboard in " + searched, access_fix());
}

} // namespace

std::vector<DoctorCheck> check_system(const ProgramFiles& files) {
    std::vector<DoctorCheck> checks = check_hidraw_nodes(hidserv::hidraw_roots_from_environment());
    checks.push_back(check_udev_rule(rule_folders(files)));
    checks.push_back(notification_area_check(probe_status_notifier(), probe_x11_tray()));
    checks.push_back(check_focus_reporting());
    checks.push_back(check_language_font(LanguageFile::load(files.language)));
    return checks;
}

} // namespace tarvenor::cli
