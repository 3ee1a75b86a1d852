#include "model/user_storage.h"

#include "model/ini_file.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace tarvenor {
namespace {

constexpr std::string_view kFolderName = "Tarvenor_R4X";
constexpr std::string_view kMirrorName = "$Profile0";
constexpr std::string_view kSettingsFileName = "wskb.ini";
constexpr std::string_view kLightingSection = "KEYCOLOR";
constexpr std::string_view kLightingKey = "DengCheck";

std::optional<std::filesystem::path> environment_path(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::filesystem::path(value);
}

} // namespace

std::filesystem::path EnvironmentDocumentsFolder::path() const {
    if (auto dir = environment_path("TARVENOR_USER_DIR")) {
        return *dir;
    }
    if (auto dir = environment_path("XDG_DOCUMENTS_DIR")) {
        return *dir;
    }
    return environment_path("HOME").value_or(std::filesystem::current_path()) / "Documents";
}

std::filesystem::path UserStorage::folder() const {
    return documents_.path() / kFolderName;
}

bool UserStorage::ensure_user_folder() const {
    std::error_code error;
    // A fresh Linux account may have no Documents folder yet: make it too.
    std::filesystem::create_directories(folder(), error);
    return std::filesystem::is_directory(folder(), error);
}

std::filesystem::path UserStorage::mirror_path(int) const {
    return folder() / kMirrorName;
}

std::filesystem::path UserStorage::settings_file() const {
    return folder() / kSettingsFileName;
}

bool UserStorage::lighting_switch() const {
    return IniFile::read_or_empty(settings_file()).get_int(kLightingSection, kLightingKey, 0) == 1;
}

FileWriteResult UserStorage::set_lighting_switch(bool on) const {
    ensure_user_folder();
    IniFile ini = IniFile::read_or_empty(settings_file());
    ini.set(kLightingSection, kLightingKey, on ? "1" : "0");
    return ini.write(settings_file());
}

std::string profile_list_key(int row) {
    char key[32];
    std::snprintf(key, sizeof key, "%02d", row);
    return std::string(SettingsStore::kProfileKeyPrefix) + key;
}

int read_record_delay(SettingsStore& store, const TextTable& texts) {
    const std::string& key = texts.text(TextKey::MacroActionRecordDelay);
    const std::string stored = store.value(key).value_or("0");
    const int value = std::strtol(stored.c_str(), nullptr, 10) == 1 ? 1 : 0;
    write_record_delay(store, texts, value);
    return value;
}

FileWriteResult write_record_delay(SettingsStore& store, const TextTable& texts, int value) {
    return store.set_value(texts.text(TextKey::MacroActionRecordDelay), (value == 1) ? "1" : "0");
}

} // namespace tarvenor
