#pragma once

#include "device/commands.h"
#include "device/keyboard_profile_file.h"
#include "model/atomic_file.h"
#include "model/text_table.h"
#include "model/user_storage.h"

#include <chrono>
#include <filesystem>
#include <optional>

namespace tarvenor {

// What writing the keyboard's content into a profile file came to (a pull, or a copy kept
// before the keyboard is overwritten).
struct PulledFile {
    // Written: `path` holds the copy. Otherwise why not: the keyboard could not be read, or the
    // file (or the per-user folder) could not be written.
    KeyboardFileResult result = KeyboardFileResult::WriteFailed;
    std::filesystem::path path;
    FileWriteResult written; // WriteFailed: the system's reason

    explicit operator bool() const { return result == KeyboardFileResult::Written; }
    // The failure as the user reads it: which file, and why.
    std::string reason() const;
};

// Pull: the keyboard's key assignments and macros written as a profile file at `path`, replaced
// only once every read succeeded.
PulledFile pull_keyboard(CommandSet& commands, const TextTable& texts,
                         const std::filesystem::path& path);

// Copies of what the keyboard held before an import or a restore of the defaults overwrote it:
// profile files "Keyboard copy YYYY-MM-DD HH.MM.SS.tvp" in the per-user folder, the newest
// kKept of them kept. A user gets the keyboard's old content back by importing one.
class KeyboardCopies {
public:
    static constexpr std::size_t kKept = 5;
    static constexpr std::string_view kPrefix = "Keyboard copy ";

    explicit KeyboardCopies(const UserStorage& storage) : storage_(storage) {}

    // Reads the keyboard into a new copy and drops the oldest beyond kKept. No partial copy is
    // left when the keyboard could not be read or the file not written.
    PulledFile
    keep(CommandSet& commands, const TextTable& texts,
         std::chrono::system_clock::time_point now = std::chrono::system_clock::now()) const;

    // The copies there are, oldest first.
    std::vector<std::filesystem::path> list() const;

private:
    std::filesystem::path free_name(std::chrono::system_clock::time_point now) const;
    void prune() const;

    const UserStorage& storage_;
};

} // namespace tarvenor
