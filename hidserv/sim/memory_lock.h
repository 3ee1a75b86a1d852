#pragma once

#include <filesystem>
#include <string>
#include <utility>

namespace tarvenor::sim {

// The lock of one memory folder, shared by every program that runs a virtual keyboard on it: a
// command holds it while it reads (shared) or writes (exclusive) the memory files, so no program
// sees another's write half done, nor a macro file in the middle of being resized. Each instance
// opens the lock file itself, so two keyboards in one process exclude each other as well.
class MemoryLock {
public:
    // Holds the lock until it goes out of scope; held() is false when taking it failed.
    class Hold {
    public:
        explicit Hold(int fd) : fd_(fd) {}
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        ~Hold();
        bool held() const { return fd_ >= 0; }

    private:
        int fd_;
    };

    MemoryLock() = default;
    MemoryLock(MemoryLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    MemoryLock(const MemoryLock&) = delete;
    MemoryLock& operator=(const MemoryLock&) = delete;
    ~MemoryLock();

    bool open(const std::filesystem::path& path, std::string& error);
    [[nodiscard]] Hold shared() const;
    [[nodiscard]] Hold exclusive() const;

private:
    [[nodiscard]] Hold take(int operation) const;

    int fd_ = -1;
};

} // namespace tarvenor::sim
