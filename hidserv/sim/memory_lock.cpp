#include "hidserv/sim/memory_lock.h"

namespace tarvenor::sim {

MemoryLock::Hold::~Hold() {
    if (file_ != nullptr) {
        file_->unlock();
    }
}

bool MemoryLock::open(const std::filesystem::path& path, std::string& error) {
    return file_.open(path, error);
}

MemoryLock::Hold MemoryLock::shared() const {
    return Hold(file_.lock_shared() ? &file_ : nullptr);
}

MemoryLock::Hold MemoryLock::exclusive() const {
    return Hold(file_.lock_exclusive() ? &file_ : nullptr);
}

} // namespace tarvenor::sim
