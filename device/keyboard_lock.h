#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace tarvenor {

inline constexpr std::chrono::seconds kKeyboardLockPatience{10};

// One operation at a time per keyboard, across programs: a lock on a file that names the
// keyboard (flock on POSIX, LockFileEx on Windows), released by the system when its holder
// ends, however it ends. The holder writes its process id and program name into the file, so
// that a program kept waiting can say who has the keyboard. Programs kept waiting are woken by
// the release (no polling). Not shared between threads of one owner: the owner serialises
// acquire and release.
class KeyboardLock {
public:
    explicit KeyboardLock(std::filesystem::path file);
    KeyboardLock(const KeyboardLock&) = delete;
    KeyboardLock& operator=(const KeyboardLock&) = delete;
    ~KeyboardLock();

    // The lock file when the service library names none: in the user's runtime folder
    // ($XDG_RUNTIME_DIR/tarvenor, else /tmp/tarvenor-UID; on Windows the user's local
    // application data).
    static std::filesystem::path default_file();

    // Waits up to `patience` for the lock. False when another holder kept it, with `holder`
    // describing that holder ("tarvenor-cli (process 1234)"), or when the file cannot be opened,
    // with `holder` saying why.
    bool acquire(std::chrono::milliseconds patience, std::string& holder);
    void release();
    bool held() const { return holding_ != nullptr; }
    const std::filesystem::path& file() const { return file_; }

private:
    struct Holding; // the open, locked file; the system's own

    // What the holder writes into the file: "<process id> <program name>".
    static std::string holder_record(unsigned long process_id);
    std::string describe_holder() const;
    bool create_folder(std::string& error) const;

    std::filesystem::path file_;
    std::unique_ptr<Holding> holding_;
};

} // namespace tarvenor
