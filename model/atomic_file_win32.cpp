#include "model/atomic_file_platform.h"

#include <algorithm>
#include <windows.h>

namespace tarvenor::atomic_file_detail {
namespace {

using Failure = FileWriteResult::Failure;

constexpr int kNameAttempts = 100;
// What a replaced file keeps of its old attributes; read-only targets are refused beforehand.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The system's reason, in the same words as on other systems where one exists.
FileWriteResult system_failure(DWORD error = ::GetLastError()) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return {Failure::System, std::make_error_code(std::errc::no_such_file_or_directory)};
    case ERROR_ACCESS_DENIED:
        return {Failure::System, std::make_error_code(std::errc::permission_denied)};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return {Failure::System, std::make_error_code(std::errc::no_space_on_device)};
    default:
        return {Failure::System, std::error_code(static_cast<int>(error), std::system_category())};
    }
}

// The attributes the new file gets: the old file's, or those of a new file.
FileWriteResult inspect_target(const std::filesystem::path& target, DWORD& attributes) {
    const DWORD found = ::GetFileAttributesW(target.c_str());
    if (found == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        attributes = FILE_ATTRIBUTE_NORMAL;
        return error == ERROR_FILE_NOT_FOUND ? FileWriteResult{} : system_failure(error);
    }
    // A reparse point is a link this program does not follow: it stays as it is.
    if ((found &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return {Failure::NotRegularFile, {}};
    }
    if ((found & FILE_ATTRIBUTE_READONLY) != 0) {
        return {Failure::ReadOnly, {}};
    }
    attributes = (found & kKeptAttributes) != 0 ? found & kKeptAttributes : FILE_ATTRIBUTE_NORMAL;
    return {};
}

bool write_all(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// A new file under a fresh temporary name; the handle is INVALID_HANDLE_VALUE on failure.
HANDLE create_temporary(const std::filesystem::path& target, DWORD attributes,
                        std::filesystem::path& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = temporary_name(target);
        const HANDLE file =
            ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// Content on disk before the file gets the target's name.
FileWriteResult fill(HANDLE file, std::string_view bytes) {
    if (!write_all(file, bytes) || !::FlushFileBuffers(file)) {
        return system_failure();
    }
    return {};
}

} // namespace

FileWriteResult replace_file(const std::filesystem::path& target, std::string_view bytes) {
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (FileWriteResult inspected = inspect_target(target, attributes); !inspected) {
        return inspected;
    }
    std::filesystem::path temporary;
    const HANDLE file = create_temporary(target, attributes, temporary);
    if (file == INVALID_HANDLE_VALUE) {
        return system_failure();
    }
    FileWriteResult result = fill(file, bytes);
    if (!::CloseHandle(file) && result) {
        result = system_failure();
    }
    if (result && !::MoveFileExW(temporary.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        result = system_failure();
    }
    if (!result) {
        ::DeleteFileW(temporary.c_str());
    }
    return result;
}

} // namespace tarvenor::atomic_file_detail
