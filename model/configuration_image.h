#pragma once

#include "model/byte_order.h"
#include "model/file_header.h"
#include "model/key_assignment.h"

#include <cstddef>
#include <span>

namespace tarvenor {

// The configuration as the files hold it: header, key table header and four key tables, 32832
// bytes. Entries are read and written field by field.
class ConfigurationImage {
public:
    static constexpr std::size_t kSize = 32832;
    static constexpr std::size_t kKeyTableHeaderOffset = 32;
    static constexpr std::size_t kKeyTablesOffset = 64;

    // All zero.
    ConfigurationImage();
    // Takes the first kSize bytes; missing bytes read as zero.
    explicit ConfigurationImage(std::span<const std::uint8_t> bytes);

    std::span<const std::uint8_t> bytes() const { return bytes_; }

    FileHeader header() const { return FileHeader::read(header_bytes()); }
    void set_header(const FileHeader& header) { header.write(std::span(bytes_).first(32)); }
    std::span<const std::uint8_t> header_bytes() const { return std::span(bytes_).first(32); }

    KeyAssignment entry(int flat) const;
    void set_entry(int flat, const KeyAssignment& assignment);
    KeyAssignment assignment(int table, int slot) const { return entry(flat_entry(table, slot)); }
    void set_assignment(int table, int slot, const KeyAssignment& assignment) {
        set_entry(flat_entry(table, slot), assignment);
    }

    KeyTable key_table(int table) const;
    void set_key_table(int table, const KeyTable& key_table);

    void write_key_table_header();

private:
    static std::size_t entry_offset(int flat);

    Bytes bytes_;
};

// A fresh image: header for zero macros and no texts, the key table header, all tables zero
// except the G-key codes of table 0.
ConfigurationImage make_default_image();

} // namespace tarvenor
