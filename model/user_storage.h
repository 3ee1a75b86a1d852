#pragma once

#include "model/atomic_file.h"
#include "model/text_table.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvenor {

// Where the user's documents live: the desktop's documents folder for the program, an override
// for the command line and tests.
class DocumentsFolder {
public:
    virtual ~DocumentsFolder() = default;
    virtual std::filesystem::path path() const = 0;
};

// TARVENOR_USER_DIR when set, else XDG_DOCUMENTS_DIR, else $HOME/Documents.
class EnvironmentDocumentsFolder : public DocumentsFolder {
public:
    std::filesystem::path path() const override;
};

// The per-user folder (documents + "Tarvenor_R4X"), the profile mirror and the settings file.
class UserStorage {
public:
    explicit UserStorage(const DocumentsFolder& documents) : documents_(documents) {}

    std::filesystem::path documents() const { return documents_.path(); }
    std::filesystem::path folder() const;
    // Creates the folder, and the documents folder above it, when missing; false when it cannot.
    bool ensure_user_folder() const;
    // The same file for every profile: one mirror holds all tables and macros.
    std::filesystem::path mirror_path(int profile = 0) const;
    std::filesystem::path settings_file() const;

    // The lighting panel's switch, section KEYCOLOR, key DengCheck ("0"/"1", default "0").
    bool lighting_switch() const;
    FileWriteResult set_lighting_switch(bool on) const;

private:
    const DocumentsFolder& documents_;
};

// The per-user application settings store, group "PROFILES" of organisation "Tarvenor_Ostrel".
class SettingsStore {
public:
    static constexpr std::string_view kOrganisation = "Tarvenor_Ostrel";
    static constexpr std::string_view kGroup = "PROFILES";
    static constexpr std::string_view kFlipKey = "Flip";
    static constexpr std::string_view kProfileKeyPrefix = "PROFILE";

    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> value(std::string_view key) const = 0;
    // Stored at once; why not, when it could not be.
    virtual FileWriteResult set_value(std::string_view key, std::string_view value) = 0;
    // Where the values are kept, for a message about them.
    virtual std::string location() const = 0;
};

// "PROFILE00" holds the number of profile rows, "PROFILE01".. one row each.
std::string profile_list_key(int row);

// The record-delay option: its key is the language text of MACRO_ACTION_RECORD_DELAY. Reading
// normalises the stored value (anything but 0 or 1 becomes 0) and writes it back.
int read_record_delay(SettingsStore& store, const TextTable& texts);
FileWriteResult write_record_delay(SettingsStore& store, const TextTable& texts, int value);

} // namespace tarvenor
