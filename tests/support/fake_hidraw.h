#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvenor::testing {

// A hidraw table in a folder of the test's own, laid out as the kernel's:
// <root>/sys/class/hidraw/hidrawN/device/uevent and the node <root>/dev/hidrawN. The service
// library and the command line read it instead of the system's through TARVENOR_SYSFS_ROOT and
// TARVENOR_DEV_ROOT.
class FakeHidraw {
public:
    enum class Node { Opens, NoPermission, Absent };

    // The folder is opened to everyone, so that an unprivileged user can walk it.
    explicit FakeHidraw(std::filesystem::path root) : root_(std::move(root)) {
        std::filesystem::create_directories(sysfs() / "class" / "hidraw");
        std::filesystem::create_directories(dev());
        for (const auto& folder : {root_, root_ / "sys", sysfs() / "class", dev()}) {
            std::filesystem::permissions(folder, std::filesystem::perms(0755));
        }
    }

    // hidraw<number> belonging to the device vendor:product.
    std::filesystem::path add(int number, std::uint16_t vendor, std::uint16_t product, Node node) {
        const std::string name = "hidraw" + std::to_string(number);
        const auto device = sysfs() / "class" / "hidraw" / name / "device";
        std::filesystem::create_directories(device);
        char id[64];
        std::snprintf(id, sizeof id, "HID_ID=0003:%08X:%08X\n", vendor, product);
        std::ofstream(device / "uevent") << "DRIVER=hid-generic\n"
                                         << id << "HID_NAME=Test Keyboard\n";
        const auto path = dev() / name;
        if (node != Node::Absent) {
            std::ofstream{path};
            // A plain user may not open a node of mode 000; root may, so tests run that part as
            // the user nobody (run_unprivileged, unprivileged_prefix).
            std::filesystem::permissions(path, node == Node::Opens ? std::filesystem::perms(0666)
                                                                   : std::filesystem::perms(0));
        }
        return path;
    }

    std::filesystem::path sysfs() const { return root_ / "sys"; }
    std::filesystem::path dev() const { return root_ / "dev"; }
    // Shell assignments for a child process.
    std::string environment() const {
        return "TARVENOR_SYSFS_ROOT='" + sysfs().string() + "' TARVENOR_DEV_ROOT='" +
               dev().string() + "'";
    }

private:
    std::filesystem::path root_;
};

inline constexpr uid_t kNobody = 65534;

inline bool running_as_root() {
    return ::geteuid() == 0;
}

// For run_cli's environment, after the assignments: env runs the command line through it, as
// nobody when the tests run as root.
inline std::string unprivileged_prefix() {
    return running_as_root() ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
}

// Runs `work` as the user nobody in a child process when the tests run as root (in place
// otherwise) and returns its text; "(failed)" when the child could not drop its privileges.
inline std::string run_unprivileged(const std::function<std::string()>& work) {
    if (!running_as_root()) {
        return work();
    }
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) {
        return "(failed)";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe_ends[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(1);
        }
        const std::string text = work();
        const bool written =
            ::write(pipe_ends[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::_exit(written ? 0 : 1);
    }
    ::close(pipe_ends[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipe_ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : "(failed)";
}

} // namespace tarvenor::testing
