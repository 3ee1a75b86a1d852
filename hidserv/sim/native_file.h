#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace tarvenor::sim {

// A file opened for positioned reads and writes and for a whole-file lock, which other programs
// may open, write and delete at the same time. Wraps the system's handle; not copyable.
class NativeFile {
public:
    NativeFile() = default;
    NativeFile(NativeFile&& other) noexcept : handle_(std::exchange(other.handle_, kClosed)) {}
    NativeFile& operator=(NativeFile&&) = delete;
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;
    ~NativeFile();

    // Opens the file for reading and writing, creating it empty when it is missing.
    bool open(const std::filesystem::path& path, std::string& error);
    bool is_open() const { return handle_ != kClosed; }

    std::optional<std::uint64_t> size() const;
    // The number of bytes read, fewer than asked only at the end of the file.
    std::optional<std::size_t> read_at(std::uint64_t offset, std::span<std::uint8_t> out) const;
    bool write_at(std::uint64_t offset, std::span<const std::uint8_t> bytes) const;
    // Cuts the file or extends it with zero bytes.
    bool resize(std::uint64_t size) const;

    // Blocks until the lock is taken; several handles may hold it shared, one exclusive.
    bool lock_shared() const;
    bool lock_exclusive() const;
    void unlock() const;

private:
    // A file descriptor or a HANDLE; -1 is the closed value of both.
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t handle_ = kClosed;
};

// The system's description of the last failed system call on this thread.
std::string last_system_error();

} // namespace tarvenor::sim
