#include "model/atomic_file.h"

#include "model/atomic_file_platform.h"

#include <mutex>
#include <random>

namespace tarvenor {
namespace {

using Failure = FileWriteResult::Failure;

constexpr int kMaxLinkHops = 40; // as the kernel's own limit (ELOOP)

// Follows symbolic links to the file they finally name (which need not exist yet).
std::filesystem::path link_target(std::filesystem::path path, std::error_code& error) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        if (!std::filesystem::is_symlink(path, error)) {
            error.clear();
            return path;
        }
        const std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error) {
            return path;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return path;
}

} // namespace

namespace atomic_file_detail {

std::filesystem::path temporary_name(const std::filesystem::path& target) {
    static std::mt19937_64 generator{std::random_device{}()};
    static std::mutex guard;
    const std::scoped_lock lock(guard);
    std::filesystem::path name(".");
    name += target.filename();
    // Appended piece by piece: GCC 12 at -O3 takes "." + std::to_string(...) for an overlapping
    // copy and warns (-Wrestrict) where nothing overlaps.
    const std::string suffix = std::to_string(generator());
    name += ".";
    name += suffix;
    name += ".tmp";
    return target.parent_path() / name;
}

} // namespace atomic_file_detail

std::string FileWriteResult::reason() const {
    switch (failure) {
    case Failure::None:
        return "written";
    case Failure::NotRegularFile:
        return "is not a regular file";
    case Failure::ReadOnly:
        return "is read-only";
    case Failure::System:
        break;
    }
    return error.message();
}

FileWriteResult write_file_atomically(const std::filesystem::path& path, std::string_view bytes) {
    std::error_code error;
    const std::filesystem::path target = link_target(path, error);
    if (error) {
        return {Failure::System, error};
    }
    return atomic_file_detail::replace_file(target, bytes);
}

} // namespace tarvenor
