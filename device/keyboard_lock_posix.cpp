#include "device/keyboard_lock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

struct KeyboardLock::Holding {
    explicit Holding(int descriptor) : fd(descriptor) {}
    Holding(const Holding&) = delete;
    Holding& operator=(const Holding&) = delete;
    ~Holding() {
        // The record names a holder only while the lock is held.
        [[maybe_unused]] const int emptied = ::ftruncate(fd, 0);
        ::close(fd);
    }
    int fd;
};

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

bool KeyboardLock::acquire(std::chrono::milliseconds patience, std::string& holder) {
    if (held()) {
        return true;
    }
    if (!create_folder(holder)) {
        return false;
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
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            holding_ = std::make_unique<Holding>(fd.release());
            const std::string record = holder_record(static_cast<unsigned long>(::getpid()));
            // Only for the message of a program kept waiting: a failed write costs nothing else.
            if (::ftruncate(holding_->fd, 0) == 0) {
                [[maybe_unused]] const ssize_t written =
                    ::pwrite(holding_->fd, record.data(), record.size(), 0);
            }
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
    holding_.reset();
}

} // namespace tarvenor
