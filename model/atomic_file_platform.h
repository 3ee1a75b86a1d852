#pragma once

#include "model/atomic_file.h"

#include <filesystem>
#include <string>
#include <string_view>

// The system-specific half of write_file_atomically(), one file per system.
namespace tarvenor::atomic_file_detail {

// Replaces `target`, which is no symbolic link, by a file holding `bytes`: checks that an
// existing target is a writable regular file, writes a temporary file beside it, makes it durable
// and moves it over the target, keeping the target's permissions.
FileWriteResult replace_file(const std::filesystem::path& target, std::string_view bytes);

// A hidden name beside the target, fresh on every call.
std::filesystem::path temporary_name(const std::filesystem::path& target);

} // namespace tarvenor::atomic_file_detail
