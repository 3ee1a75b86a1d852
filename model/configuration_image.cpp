#include "model/configuration_image.h"

#include <algorithm>
#include <array>

namespace tarvenor {
namespace {

constexpr std::array<std::uint8_t, 32> kKeyTableHeader{
    0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00, 0x04, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00,
    0x45, 0x0C, 0x20, 0x08, 0x4F, 0x1C, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

} // namespace

ConfigurationImage::ConfigurationImage() : bytes_(kSize, 0) {}

ConfigurationImage::ConfigurationImage(std::span<const std::uint8_t> bytes) : bytes_(kSize, 0) {
    const auto count = static_cast<std::ptrdiff_t>(std::min(bytes.size(), kSize));
    std::copy(bytes.begin(), bytes.begin() + count, bytes_.begin());
}

std::size_t ConfigurationImage::entry_offset(int flat) {
    return kKeyTablesOffset + static_cast<std::size_t>(flat) * KeyAssignment::kSize;
}

KeyAssignment ConfigurationImage::entry(int flat) const {
    return KeyAssignment::read(std::span(bytes_).subspan(entry_offset(flat), KeyAssignment::kSize));
}

void ConfigurationImage::set_entry(int flat, const KeyAssignment& assignment) {
    assignment.write(std::span(bytes_).subspan(entry_offset(flat), KeyAssignment::kSize));
}

KeyTable ConfigurationImage::key_table(int table) const {
    KeyTable result;
    for (int slot = 0; slot < kKeyTableSlots; ++slot) {
        result.entries[slot] = assignment(table, slot);
    }
    return result;
}

void ConfigurationImage::set_key_table(int table, const KeyTable& key_table) {
    for (int slot = 0; slot < kKeyTableSlots; ++slot) {
        set_assignment(table, slot, key_table.entries[slot]);
    }
}

void ConfigurationImage::write_key_table_header() {
    std::copy(kKeyTableHeader.begin(), kKeyTableHeader.end(),
              bytes_.begin() + kKeyTableHeaderOffset);
}

ConfigurationImage make_default_image() {
    ConfigurationImage image;
    image.set_header(make_file_header(0, 0));
    image.write_key_table_header();
    image.set_key_table(0, KeyTable::with_g_key_codes());
    return image;
}

} // namespace tarvenor
