#pragma once

#include "model/configuration_image.h"
#include "model/text_table.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace tarvenor {

// An entry whose type no assignment type has. The header's checksum covers the header only, so
// such an entry is what a damaged body shows; the file is then refused as a whole.
struct DamagedEntry {
    int flat = 0;
    std::uint16_t type = 0;

    int table() const { return flat / kKeyTableSlots; }
    int slot() const { return flat % kKeyTableSlots; }

    friend bool operator==(const DamagedEntry&, const DamagedEntry&) = default;
};

// The first entry, in flat order, whose type is not one of the defined types. Every other field
// of an entry is carried as it is and never makes a file damaged.
std::optional<DamagedEntry> find_damaged_entry(const ConfigurationImage& image);

// What the user reads: the file, the key as the program names it and the profile (the fourth
// table, which no profile uses, has its own words), and the type found.
inline constexpr OwnText kDamagedEntryText{
    "PROFILE_FILE_DAMAGED", "The profile file %1 is damaged: the key %2 of profile %3 holds a "
                            "function of type %4, which the program does not know."};
inline constexpr OwnText kDamagedSpareEntryText{
    "PROFILE_FILE_DAMAGED_SPARE", "The profile file %1 is damaged: the key %2 of its spare key "
                                  "table holds a function of type %4, which the program does not "
                                  "know."};

// The message about a damaged file in the language's words (its built-in English ones when the
// language file lacks them).
std::string damaged_file_text(const DamagedEntry& entry, std::string_view file,
                              const LanguageFile& language, const TextTable& texts);

// A damaged file moved out of the way before it is written anew, so that what it held is kept.
struct SetAside {
    std::filesystem::path kept; // where it is now; empty when it could not be moved
    std::error_code error;      // why not
};

// Renames the file to "<name>.damaged" beside it (".damaged-2" and on when that name is taken).
SetAside set_aside_damaged_file(const std::filesystem::path& file);

} // namespace tarvenor
