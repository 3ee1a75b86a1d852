#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace tarvenor {

inline constexpr std::chrono::seconds kKeyboardLockPatience{10};

// One operation at a time per keyboard, across programs: an advisory lock (flock) on a file
// that names the keyboard. The holder writes its process id and program name into the file, so
// that a program kept waiting can say who has the keyboard. Released by closing the file, which
// is also what wakes the programs waiting for it (no polling). Not shared between threads of one
// owner: the owner serialises acquire and release.
class KeyboardLock {
public:
    explicit KeyboardLock(std::filesystem::path file);
    KeyboardLock(const KeyboardLock&) = delete;
    KeyboardLock& operator=(const KeyboardLock&) = delete;
    ~KeyboardLock();

    // The lock file when the service library names none: in the user's runtime folder
    // ($XDG_RUNTIME_DIR/tarvenor), else in /tmp/tarvenor-UID.
    static std::filesystem::path default_file();

    // Waits up to `patience` for the lock. False when another holder kept it, with `holder`
    // describing that holder ("tarvenor-cli, process 1234"), or when the file cannot be opened,
    // with `holder` saying why.
    bool acquire(std::chrono::milliseconds patience, std::string& holder);
    void release();
    bool held() const { return fd_ >= 0; }
    const std::filesystem::path& file() const { return file_; }

private:
    bool try_lock(int fd);
    std::string describe_holder() const;

    std::filesystem::path file_;
    int fd_ = -1;
};

} // namespace tarvenor
