#pragma once

#include "model/atomic_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvenor {

// An INI file with the semantics the program's settings, language and skin files have always had:
// section and key names match without regard to (ASCII) case, blanks around names and values are
// dropped, a value enclosed in matching quotes loses them, values are cut to 259 UTF-16 units and
// an absent key yields the caller's default. Files may be UTF-8 (with or without BOM) or UTF-16LE
// with BOM; a rewritten file keeps its encoding, line ending, comments and the order of its lines.
class IniFile {
public:
    static constexpr std::size_t kMaxValueUnits = 259;

    IniFile() = default;

    // Decodes the raw bytes of a file.
    static IniFile parse(std::string_view bytes);
    // Reads a file; nullopt when it does not exist or cannot be read.
    static std::optional<IniFile> read(const std::filesystem::path& path);
    // Reads a file; an empty document when it does not exist or cannot be read.
    static IniFile read_or_empty(const std::filesystem::path& path);

    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::string get(std::string_view section, std::string_view key,
                    std::string_view fallback = {}) const;
    // Absent key: fallback. Present: an optional minus sign and the decimal digits up to the first
    // other character; a value that does not start with a number reads as 0.
    int get_int(std::string_view section, std::string_view key, int fallback) const;

    // Replaces the first occurrence of the key, or adds it at the end of the section (creating the
    // section at the end of the file when it is missing).
    void set(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes in its own encoding.
    std::string serialise() const;
    // Replaces the file atomically (temporary file in the same folder, then rename).
    FileWriteResult write(const std::filesystem::path& path) const;

private:
    enum class Encoding { Utf8, Utf8Bom, Utf16Le };

    struct Entry {
        std::string section; // owning section name as written ("" before the first header)
        std::string key;     // empty for headers, comments and blank lines
        std::string value;
        std::string text; // the line as written
        bool header = false;
    };

    std::optional<std::size_t> find_entry(std::string_view section, std::string_view key) const;

    std::vector<Entry> entries_;
    Encoding encoding_ = Encoding::Utf8;
    std::string newline_ = "\n";
};

} // namespace tarvenor
