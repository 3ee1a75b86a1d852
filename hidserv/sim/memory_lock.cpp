#include "hidserv/sim/memory_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tarvenor::sim {

MemoryLock::Hold::~Hold() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
    }
}

MemoryLock::~MemoryLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool MemoryLock::open(const std::filesystem::path& path, std::string& error) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        error = path.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

MemoryLock::Hold MemoryLock::shared() const {
    return take(LOCK_SH);
}

MemoryLock::Hold MemoryLock::exclusive() const {
    return take(LOCK_EX);
}

MemoryLock::Hold MemoryLock::take(int operation) const {
    int result = 0;
    do {
        result = ::flock(fd_, operation);
    } while (result != 0 && errno == EINTR);
    return Hold(result == 0 ? fd_ : -1);
}

} // namespace tarvenor::sim
