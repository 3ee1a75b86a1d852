#include "device/keyboard_lock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <unistd.h>
#include <utility>

namespace tarvenor {
namespace {

using Clock = std::chrono::steady_clock;

// Closes a descriptor when the scope ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

std::string program_name() {
    std::ifstream comm("/proc/self/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? "a program" : name;
}

// Waits until the lock file is closed by someone (a holder letting go) or the time is up.
void wait_for_close(int watch_fd, Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd wanted{watch_fd, POLLIN, 0};
    if (left.count() > 0 && ::poll(&wanted, 1, static_cast<int>(left.count())) > 0) {
        alignas(inotify_event) char events[4096];
        while (::read(watch_fd, events, sizeof events) > 0) {
        }
    }
}

} // namespace

KeyboardLock::KeyboardLock(std::filesystem::path file) : file_(std::move(file)) {}

KeyboardLock::~KeyboardLock() {
    release();
}

std::filesystem::path KeyboardLock::default_file() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        return std::filesystem::path(runtime) / "tarvenor" / "keyboard.lock";
    }
    return std::filesystem::path("/tmp") / ("tarvenor-" + std::to_string(::getuid())) /
           "keyboard.lock";
}

bool KeyboardLock::try_lock(int fd) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return false;
    }
    const std::string record = std::to_string(::getpid()) + ' ' + program_name() + '\n';
    // Only for the message of a program kept waiting: a failed write costs nothing else.
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(fd, record.data(), record.size(), 0);
    }
    fd_ = fd;
    return true;
}

bool KeyboardLock::acquire(std::chrono::milliseconds patience, std::string& holder) {
    if (held()) {
        return true;
    }
    std::error_code ec;
    if (std::filesystem::create_directories(file_.parent_path(), ec); !ec) {
        std::filesystem::permissions(file_.parent_path(), std::filesystem::perms::owner_all, ec);
    }
    // Watched before the first try, so that a release between the try and the wait is not missed.
    Descriptor watch(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK));
    Descriptor fd(::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        holder = "cannot open the keyboard lock " + file_.string() + ": " + std::strerror(errno);
        return false;
    }
    const bool watching =
        watch.get() >= 0 &&
        ::inotify_add_watch(watch.get(), file_.c_str(), IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) >= 0;
    const Clock::time_point deadline = Clock::now() + patience;
    for (;;) {
        if (try_lock(fd.get())) {
            fd.release();
            return true;
        }
        if (!watching || Clock::now() >= deadline) {
            holder = describe_holder();
            return false;
        }
        wait_for_close(watch.get(), deadline);
    }
}

void KeyboardLock::release() {
    if (fd_ >= 0) {
        // The record names a holder only while the lock is held.
        [[maybe_unused]] const int emptied = ::ftruncate(fd_, 0);
        ::close(std::exchange(fd_, -1));
    }
}

std::string KeyboardLock::describe_holder() const {
    std::ifstream in(file_);
    long pid = 0;
    std::string name;
    if (in >> pid && std::getline(in >> std::ws, name) && !name.empty()) {
        return name + ", process " + std::to_string(pid);
    }
    return "another program";
}

} // namespace tarvenor
