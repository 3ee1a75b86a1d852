#include "hidserv/sim/native_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvenor::sim {
namespace {

// Repeats a call that a signal interrupted.
template <typename Call> auto retrying(Call call) {
    auto result = call();
    while (result < 0 && errno == EINTR) {
        result = call();
    }
    return result;
}

} // namespace

NativeFile::~NativeFile() {
    if (is_open()) {
        ::close(static_cast<int>(handle_));
    }
}

bool NativeFile::open(const std::filesystem::path& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = path.string() + ": " + last_system_error();
        return false;
    }
    handle_ = fd;
    return true;
}

std::optional<std::uint64_t> NativeFile::size() const {
    struct stat info {};
    if (::fstat(static_cast<int>(handle_), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

std::optional<std::size_t> NativeFile::read_at(std::uint64_t offset,
                                               std::span<std::uint8_t> out) const {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = retrying([&] {
            return ::pread(static_cast<int>(handle_), out.data() + done, out.size() - done,
                           static_cast<off_t>(offset + done));
        });
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool NativeFile::write_at(std::uint64_t offset, std::span<const std::uint8_t> bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = retrying([&] {
            return ::pwrite(static_cast<int>(handle_), bytes.data() + done, bytes.size() - done,
                            static_cast<off_t>(offset + done));
        });
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool NativeFile::resize(std::uint64_t size) const {
    return ::ftruncate(static_cast<int>(handle_), static_cast<off_t>(size)) == 0;
}

bool NativeFile::lock_shared() const {
    return retrying([&] { return ::flock(static_cast<int>(handle_), LOCK_SH); }) == 0;
}

bool NativeFile::lock_exclusive() const {
    return retrying([&] { return ::flock(static_cast<int>(handle_), LOCK_EX); }) == 0;
}

void NativeFile::unlock() const {
    ::flock(static_cast<int>(handle_), LOCK_UN);
}

std::string last_system_error() {
    return std::strerror(errno);
}

} // namespace tarvenor::sim
