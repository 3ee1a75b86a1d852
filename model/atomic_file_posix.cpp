#include "model/atomic_file_platform.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvenor::atomic_file_detail {
namespace {

using Failure = FileWriteResult::Failure;

constexpr int kNameAttempts = 100;

FileWriteResult system_failure(int error = errno) {
    return {Failure::System, std::error_code(error, std::generic_category())};
}

// What the new file must look like: the old file's mode and owner, or those of a new file.
struct TargetShape {
    mode_t mode = 0666;
    bool exists = false;
    uid_t owner = 0;
    gid_t group = 0;
};

FileWriteResult inspect_target(const std::filesystem::path& target, TargetShape& shape) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
        // A new file: created 0666, the kernel applies the umask.
        return errno == ENOENT ? FileWriteResult{} : system_failure();
    }
    if (!S_ISREG(info.st_mode)) {
        return {Failure::NotRegularFile, {}};
    }
    // Root may write anything; a file without any write bit is still meant to stay as it is.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
        ::access(target.c_str(), W_OK) != 0) {
        return {Failure::ReadOnly, {}};
    }
    shape = {info.st_mode & 07777, true, info.st_uid, info.st_gid};
    return {};
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Content, permissions and owner of the open temporary file, on disk before it gets a name.
FileWriteResult fill(int fd, std::string_view bytes, const TargetShape& shape) {
    if (!write_all(fd, bytes) || (shape.exists && ::fchmod(fd, shape.mode) != 0)) {
        return system_failure();
    }
    if (shape.exists) {
        // Only root may give a file away; for anyone else the owner is already right.
        [[maybe_unused]] const int ignored = ::fchown(fd, shape.owner, shape.group);
    }
    if (::fsync(fd) != 0) {
        return system_failure();
    }
    return {};
}

// Gives a name to a file through `make_name`, which fails with EEXIST when a name is taken.
template <typename MakeName>
std::optional<std::string> fresh_name(const std::filesystem::path& target, MakeName make_name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = temporary_name(target).string();
        if (make_name(name)) {
            return name;
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// Names the finished temporary file and moves it over the target; the name is removed on failure.
FileWriteResult publish(const std::string& temporary, const std::filesystem::path& target) {
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return system_failure(error);
    }
    return {};
}

#ifdef O_TMPFILE
// An unnamed file in the target's folder: a kill before it is linked leaves nothing behind. It
// gets a name only for the instant between linkat and rename. Nullopt when the file system has
// no unnamed files.
std::optional<FileWriteResult> write_unnamed(const std::filesystem::path& target,
                                             std::string_view bytes, const TargetShape& shape) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, shape.mode);
    if (fd < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
            return std::nullopt;
        }
        return system_failure();
    }
    FileWriteResult result = fill(fd, bytes, shape);
    std::optional<std::string> temporary;
    if (result) {
        // linkat cannot replace a file, so the content is linked under a fresh name first.
        const std::string handle = "/proc/self/fd/" + std::to_string(fd);
        temporary = fresh_name(target, [&](const std::string& name) {
            return ::linkat(AT_FDCWD, handle.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) ==
                   0;
        });
        if (!temporary) {
            result = system_failure();
        }
    }
    ::close(fd);
    return result ? publish(*temporary, target) : result;
}
#endif

// A named temporary file beside the target, removed on every failure path.
FileWriteResult write_named(const std::filesystem::path& target, std::string_view bytes,
                            const TargetShape& shape) {
    int fd = -1;
    const std::optional<std::string> temporary = fresh_name(target, [&](const std::string& name) {
        fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, shape.mode);
        return fd >= 0;
    });
    if (!temporary) {
        return system_failure();
    }
    FileWriteResult result = fill(fd, bytes, shape);
    if (::close(fd) != 0 && result) {
        result = system_failure();
    }
    if (!result) {
        ::unlink(temporary->c_str());
        return result;
    }
    return publish(*temporary, target);
}

} // namespace

FileWriteResult replace_file(const std::filesystem::path& target, std::string_view bytes) {
    TargetShape shape;
    if (FileWriteResult inspected = inspect_target(target, shape); !inspected) {
        return inspected;
    }
#ifdef O_TMPFILE
    if (std::optional<FileWriteResult> written = write_unnamed(target, bytes, shape)) {
        return *written;
    }
#endif
    return write_named(target, bytes, shape);
}

} // namespace tarvenor::atomic_file_detail
