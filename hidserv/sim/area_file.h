#pragma once

#include "hidserv/sim/native_file.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tarvenor::sim {

// One memory area of the virtual keyboard, kept directly in its raw file so that every accepted
// write is in the file before the keyboard answers, and several programs sharing a folder see
// the same memory.
class AreaFile {
public:
    AreaFile() = default;
    AreaFile(const AreaFile&) = delete;
    AreaFile& operator=(const AreaFile&) = delete;

    // Opens the file, creating it with the factory contents when it is missing. A file of
    // another size is brought to `factory.size()`: cut, or filled up with the factory bytes.
    bool open(const std::filesystem::path& path, const std::vector<std::uint8_t>& factory,
              std::string& error);

    // Bytes past the end of the file read as 0.
    bool read(std::size_t offset, std::span<std::uint8_t> out) const;
    bool write(std::size_t offset, std::span<const std::uint8_t> bytes);
    // Cuts the file or extends it with zero bytes.
    bool resize(std::size_t size);

private:
    NativeFile file_;
};

} // namespace tarvenor::sim
