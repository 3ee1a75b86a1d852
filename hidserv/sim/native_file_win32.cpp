#include "hidserv/sim/native_file.h"

#include <algorithm>
#include <system_error>
#include <windows.h>

namespace tarvenor::sim {
namespace {

HANDLE native(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// An OVERLAPPED that only carries a file offset, for positioned I/O on a synchronous handle.
OVERLAPPED at_offset(std::uint64_t offset) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return position;
}

// One call moves at most this much, so the count fits a DWORD.
DWORD chunk(std::size_t remaining) {
    return static_cast<DWORD>(std::min<std::size_t>(remaining, 1u << 30));
}

bool lock(std::intptr_t handle, DWORD flags) {
    OVERLAPPED whole = at_offset(0);
    return ::LockFileEx(native(handle), flags, 0, MAXDWORD, MAXDWORD, &whole) != 0;
}

} // namespace

NativeFile::~NativeFile() {
    if (is_open()) {
        ::CloseHandle(native(handle_));
    }
}

bool NativeFile::open(const std::filesystem::path& path, std::string& error) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = path.string() + ": " + last_system_error();
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

std::optional<std::uint64_t> NativeFile::size() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(native(handle_), &size)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<std::size_t> NativeFile::read_at(std::uint64_t offset,
                                               std::span<std::uint8_t> out) const {
    std::size_t done = 0;
    while (done < out.size()) {
        OVERLAPPED position = at_offset(offset + done);
        DWORD n = 0;
        if (!::ReadFile(native(handle_), out.data() + done, chunk(out.size() - done), &n,
                        &position)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) {
                break;
            }
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        done += n;
    }
    return done;
}

bool NativeFile::write_at(std::uint64_t offset, std::span<const std::uint8_t> bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED position = at_offset(offset + done);
        DWORD n = 0;
        if (!::WriteFile(native(handle_), bytes.data() + done, chunk(bytes.size() - done), &n,
                         &position) ||
            n == 0) {
            return false;
        }
        done += n;
    }
    return true;
}

bool NativeFile::resize(std::uint64_t size) const {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    return ::SetFileInformationByHandle(native(handle_), FileEndOfFileInfo, &end, sizeof end) != 0;
}

bool NativeFile::lock_shared() const {
    return lock(handle_, 0);
}

bool NativeFile::lock_exclusive() const {
    return lock(handle_, LOCKFILE_EXCLUSIVE_LOCK);
}

void NativeFile::unlock() const {
    OVERLAPPED whole = at_offset(0);
    ::UnlockFileEx(native(handle_), 0, MAXDWORD, MAXDWORD, &whole);
}

std::string last_system_error() {
    return std::system_category().message(static_cast<int>(::GetLastError()));
}

} // namespace tarvenor::sim
