#include "device/keyboard_lock.h"

#include "device/windows_error.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <utility>

namespace tarvenor {
namespace {

using Clock = std::chrono::steady_clock;

// The lock covers one byte far past the record, so that the record stays readable to the
// programs kept waiting (a locked range cannot be read by others on Windows).
constexpr DWORD kLockedByteHigh = 0x7fffffff;

// Closes a handle when the scope ends.
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() {
        if (valid()) {
            ::CloseHandle(handle_);
        }
    }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    HANDLE release() { return std::exchange(handle_, nullptr); }

private:
    HANDLE handle_;
};

// A release wakes the programs kept waiting through an event named after the lock file: the
// system's file locks cannot be waited for with a time limit. Auto-reset, so a release that
// falls between a waiter's try and its wait stays signalled until that waiter wakes.
HANDLE open_release_event(const std::filesystem::path& file) {
    std::error_code ignored;
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a over the absolute path
    for (const wchar_t c : std::filesystem::absolute(file, ignored).wstring()) {
        hash = (hash ^ static_cast<std::uint64_t>(::towlower(c))) * 1099511628211ull;
    }
    const std::wstring name = L"Local\\tarvenor-keyboard-lock-" + std::to_wstring(hash);
    return ::CreateEventW(nullptr, FALSE, FALSE, name.c_str());
}

bool try_lock(HANDLE file) {
    OVERLAPPED at{};
    at.OffsetHigh = kLockedByteHigh;
    return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
}

void unlock(HANDLE file) {
    OVERLAPPED at{};
    at.OffsetHigh = kLockedByteHigh;
    ::UnlockFileEx(file, 0, 1, 0, &at);
}

bool truncate(HANDLE file) {
    return ::SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
}

} // namespace

struct KeyboardLock::Holding {
    Holding(HANDLE locked, HANDLE release_event) : file(locked), released(release_event) {}
    Holding(const Holding&) = delete;
    Holding& operator=(const Holding&) = delete;
    ~Holding() {
        // The record names a holder only while the lock is held.
        truncate(file);
        unlock(file);
        ::CloseHandle(file);
        if (released != nullptr) {
            ::SetEvent(released);
            ::CloseHandle(released);
        }
    }
    HANDLE file;
    HANDLE released;
};

KeyboardLock::KeyboardLock(std::filesystem::path file) : file_(std::move(file)) {}

KeyboardLock::~KeyboardLock() {
    release();
}

std::filesystem::path KeyboardLock::default_file() {
    if (const char* local = std::getenv("LOCALAPPDATA"); local && *local) {
        return std::filesystem::path(local) / "Tarvenor" / "keyboard.lock";
    }
    std::error_code ignored;
    return std::filesystem::temp_directory_path(ignored) / "tarvenor" / "keyboard.lock";
}

bool KeyboardLock::acquire(std::chrono::milliseconds patience, std::string& holder) {
    if (held()) {
        return true;
    }
    if (!create_folder(holder)) {
        return false;
    }
    // Opened before the first try, so that a release between the try and the wait is not missed.
    ScopedHandle released(open_release_event(file_));
    ScopedHandle file(::CreateFileW(file_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        holder = "cannot open the keyboard lock " + file_.string() + ": " +
                 windows_error_text(::GetLastError());
        return false;
    }
    const Clock::time_point deadline = Clock::now() + patience;
    for (;;) {
        if (try_lock(file.get())) {
            holding_ = std::make_unique<Holding>(file.release(), released.release());
            const std::string record = holder_record(::GetCurrentProcessId());
            DWORD written = 0;
            // Only for the message of a program kept waiting: a failed write costs nothing else.
            if (truncate(holding_->file)) {
                ::WriteFile(holding_->file, record.data(), static_cast<DWORD>(record.size()),
                            &written, nullptr);
            }
            return true;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (!released.valid() || left.count() <= 0) {
            holder = describe_holder();
            return false;
        }
        ::WaitForSingleObject(released.get(), static_cast<DWORD>(left.count()));
    }
}

void KeyboardLock::release() {
    holding_.reset();
}

} // namespace tarvenor
