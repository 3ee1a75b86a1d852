#include "model/file_header.h"

#include "model/byte_order.h"
#include "model/configuration_image.h"
#include "model/macro_record.h"

#include <array>

namespace tarvenor {

FileHeader FileHeader::read(std::span<const std::uint8_t> bytes) {
    FileHeader h;
    h.magic = read_u16(bytes, 0);
    h.header_size = read_u16(bytes, 2);
    h.word4 = read_u16(bytes, 4);
    h.word6 = read_u16(bytes, 6);
    h.total_size = read_u32(bytes, 8);
    h.entry_count = read_u16(bytes, 12);
    h.macro_count = read_u16(bytes, 14);
    h.text_size = read_u32(bytes, 16);
    h.flag = bytes[30];
    h.checksum = bytes[31];
    return h;
}

void FileHeader::write(std::span<std::uint8_t> bytes) const {
    write_u16(bytes, 0, magic);
    write_u16(bytes, 2, header_size);
    write_u16(bytes, 4, word4);
    write_u16(bytes, 6, word6);
    write_u32(bytes, 8, total_size);
    write_u16(bytes, 12, entry_count);
    write_u16(bytes, 14, macro_count);
    write_u32(bytes, 16, text_size);
    write_u32(bytes, 20, 0);
    write_u32(bytes, 24, 0);
    write_u16(bytes, 28, 0);
    bytes[30] = flag;
    bytes[31] = checksum;
}

std::uint8_t header_checksum(std::span<const std::uint8_t> header_bytes) {
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < FileHeader::kSize; ++i) {
        sum += header_bytes[i];
    }
    return static_cast<std::uint8_t>(sum & 0xFF);
}

std::uint64_t profile_file_size(std::uint64_t macro_count, std::uint64_t text_size) {
    return ConfigurationImage::kSize + macro_count * MacroRecord::kSize + text_size;
}

FileHeader make_file_header(std::uint16_t macro_count, std::uint32_t text_size) {
    FileHeader h;
    h.macro_count = macro_count;
    h.text_size = text_size;
    h.total_size = static_cast<std::uint32_t>(profile_file_size(macro_count, text_size));
    std::array<std::uint8_t, FileHeader::kSize> bytes{};
    h.write(bytes);
    h.checksum = header_checksum(bytes);
    return h;
}

bool is_valid_file_header(std::span<const std::uint8_t> header_bytes, std::uint64_t file_size) {
    if (header_bytes.size() < FileHeader::kSize) {
        return false;
    }
    const FileHeader h = FileHeader::read(header_bytes);
    return h.magic == FileHeader::kMagic && h.header_size == FileHeader::kSize && h.word4 == 3 &&
           h.word6 == 1 && h.total_size >= ConfigurationImage::kSize &&
           h.entry_count == FileHeader::kEntryCount && h.macro_count <= MacroRecord::kMaxCount &&
           h.flag <= 1 && h.total_size == profile_file_size(h.macro_count, h.text_size) &&
           h.checksum == header_checksum(header_bytes) && file_size >= h.total_size;
}

} // namespace tarvenor
