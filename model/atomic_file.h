#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace tarvenor {

// Why a file could not be written.
struct FileWriteResult {
    enum class Failure { None, NotRegularFile, ReadOnly, System };

    Failure failure = Failure::None;
    std::error_code error; // the system's reason, for Failure::System

    explicit operator bool() const { return failure == Failure::None; }
    // The reason in the user's words, e.g. "is read-only" or the system's message.
    std::string reason() const;
};

// Replaces a file's content so that a crash, a kill or a full disk leaves either the old or the
// new content, never a half-written file nor a stray temporary one. A symbolic link is written
// through to its target. A target that exists must be a regular file and writable; it keeps its
// permission bits (and, where allowed, its owner). A new file gets the usual 0666 less umask.
FileWriteResult write_file_atomically(const std::filesystem::path& path, std::string_view bytes);

} // namespace tarvenor
