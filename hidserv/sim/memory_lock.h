#pragma once

#include "hidserv/sim/native_file.h"

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
        // `file` is the locked file, or null when taking the lock failed.
        explicit Hold(const NativeFile* file) : file_(file) {}
        Hold(Hold&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        ~Hold();
        bool held() const { return file_ != nullptr; }

    private:
        const NativeFile* file_;
    };

    MemoryLock() = default;
    MemoryLock(MemoryLock&&) noexcept = default;
    MemoryLock(const MemoryLock&) = delete;
    MemoryLock& operator=(const MemoryLock&) = delete;

    bool open(const std::filesystem::path& path, std::string& error);
    [[nodiscard]] Hold shared() const;
    [[nodiscard]] Hold exclusive() const;

private:
    NativeFile file_;
};

} // namespace tarvenor::sim
