#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tarvenor {

using Bytes = std::vector<std::uint8_t>;

// Little-endian field access. Callers check that offset + width lies inside the span.
inline std::uint16_t read_u16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::uint32_t read_u32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return std::uint32_t{read_u16(bytes, offset)} |
           (std::uint32_t{read_u16(bytes, offset + 2)} << 16);
}

inline void write_u16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void write_u32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    write_u16(bytes, offset, static_cast<std::uint16_t>(value & 0xFFFF));
    write_u16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

} // namespace tarvenor
