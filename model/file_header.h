#pragma once

#include <cstdint>
#include <span>

namespace tarvenor {

// The 32-byte header that opens every profile file and the configuration image.
struct FileHeader {
    static constexpr std::size_t kSize = 32;
    static constexpr std::uint16_t kMagic = 0x4446; // "FD"
    static constexpr std::uint16_t kEntryCount = 2048;

    std::uint16_t magic = kMagic;
    std::uint16_t header_size = kSize;
    std::uint16_t word4 = 3;
    std::uint16_t word6 = 1;
    std::uint32_t total_size = 0;
    std::uint16_t entry_count = kEntryCount;
    std::uint16_t macro_count = 0;
    std::uint32_t text_size = 0;
    std::uint8_t flag = 0;
    std::uint8_t checksum = 0;

    static FileHeader read(std::span<const std::uint8_t> bytes);
    // Writes every field, the zero words included, as stored (the checksum is not recomputed).
    void write(std::span<std::uint8_t> bytes) const;
};

// The header of a file with that many macros and text bytes, flag 0, checksum filled in.
FileHeader make_file_header(std::uint16_t macro_count, std::uint32_t text_size);
// Sum of bytes 0..30 modulo 256.
std::uint8_t header_checksum(std::span<const std::uint8_t> header_bytes);
// The size a file with that many macros and text bytes has.
std::uint64_t profile_file_size(std::uint64_t macro_count, std::uint64_t text_size);

// Every rule a header must meet. The bytes are the 32 header bytes as read; file_size is the
// real size of the file, which must hold at least what the header announces.
bool is_valid_file_header(std::span<const std::uint8_t> header_bytes, std::uint64_t file_size);

} // namespace tarvenor
