#pragma once

#include "model/atomic_file.h"
#include "model/byte_order.h"
#include "model/configuration.h"
#include "model/damaged_file.h"
#include "model/device_codes.h"
#include "model/messages.h"
#include "model/text_table.h"
#include "model/user_storage.h"

#include <array>
#include <filesystem>
#include <optional>
#include <span>

namespace tarvenor {

enum class ProfileFileCheck {
    Valid = 1,
    Invalid = 0,     // missing, too small or malformed
    CannotOpen = -2, // exists but cannot be read
    Damaged = -4,    // a sound header, but an entry of a type no assignment has
};

// Checks a profile file through a read-only open. A header that breaks a rule, or announces more
// bytes than the file has, is reported with the format message; a missing or too small file is
// not reported. A damaged entry is not reported here: it is stored in `damaged` (when given) for
// the caller to name the key in its own words.
ProfileFileCheck validate_profile_file(const std::filesystem::path& path, MessageSink& messages,
                                       const TextTable& texts, DamagedEntry* damaged = nullptr);

// The first damaged entry of a file's key tables; nothing when there is none, or when the file
// cannot be read or is too short to hold the tables.
std::optional<DamagedEntry> find_damaged_entry_in_file(const std::filesystem::path& path);

// Decodes the bytes of a profile file into the configuration. Every size and text offset is
// checked against the bytes given; a text that starts outside the text area is dropped, one
// without terminator ends at the area's end. Does not validate the header's checksum or words.
bool load_profile_bytes(std::span<const std::uint8_t> bytes, Configuration& configuration);

// Reads a file (read-only) and installs it as the configuration; the caller has emptied the
// configuration. Nothing is installed when the file cannot be read in full.
bool load_profile_file(const std::filesystem::path& path, Configuration& configuration);

// Packs the texts in flat entry order (setting the params of LaunchProgram and TextBlock entries
// to their offsets; such entries without a text point at the end of the area), rebuilds the
// header and returns the file's bytes. Empty without an image.
Bytes serialise_profile_file(Configuration& configuration);

// Saves the configuration to any path, atomically.
FileWriteResult save_profile_file(const std::filesystem::path& path, Configuration& configuration);

// Saves to the mirror, but only when a mirror file is already there: nothing when there is none,
// else why it could not be written (or success).
std::optional<FileWriteResult> save_profile_mirror(const UserStorage& storage,
                                                   Configuration& configuration);

// Writes a default image with no macros and no texts.
FileWriteResult write_default_file(const std::filesystem::path& path);

// Replaces a file with the bytes atomically (a crash leaves the old or the new file).
FileWriteResult write_profile_bytes(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes);

// The configuration a profile file's bytes hold; nothing when they cannot be loaded.
std::optional<Configuration> configuration_from_bytes(std::span<const std::uint8_t> bytes);
// The configuration a file holds (read-only); nothing when it cannot be read in full.
std::optional<Configuration> configuration_from_file(const std::filesystem::path& path);
// The default image with no macros and no texts.
Configuration default_configuration();

// A profile file built from what the keyboard holds: the three profile blocks, the macro area
// (from its start, as much as was read) and the factory key codes. Table 3 is all zero; no texts.
Bytes build_profile_file_image(const std::array<ProfileBlock, 3>& profiles,
                               std::span<const std::uint8_t> macro_area,
                               const DefaultKeyMatrix& matrix, const TextTable& texts);

} // namespace tarvenor
