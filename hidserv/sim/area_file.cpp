#include "hidserv/sim/area_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvenor::sim {
namespace {

bool write_all(int fd, std::size_t offset, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

AreaFile::~AreaFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool AreaFile::open(const std::filesystem::path& path, const std::vector<std::uint8_t>& factory,
                    std::string& error) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) {
        error = path.string() + ": " + std::strerror(errno);
        return false;
    }
    const auto existing = static_cast<std::size_t>(info.st_size);
    if (existing == factory.size()) {
        return true;
    }
    const std::size_t keep = std::min(existing, factory.size());
    const auto tail = std::span<const std::uint8_t>(factory).subspan(keep);
    if (!resize(keep) || !write_all(fd_, keep, tail)) {
        error = path.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool AreaFile::read(std::size_t offset, std::span<std::uint8_t> out) const {
    std::fill(out.begin(), out.end(), 0);
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n =
            ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AreaFile::write(std::size_t offset, std::span<const std::uint8_t> bytes) {
    return write_all(fd_, offset, bytes);
}

bool AreaFile::resize(std::size_t size) {
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0;
}

} // namespace tarvenor::sim
