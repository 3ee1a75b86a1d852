#include "model/profile_rules_file.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tarvenor {
namespace {

// Larger than any list of rules a person writes; a bigger file is not one of ours.
constexpr std::uintmax_t kMaxRulesFileBytes = 1 << 20;

std::filesystem::path from_environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

std::filesystem::path configuration_folder() {
#ifdef _WIN32
    return from_environment("APPDATA");
#else
    if (std::filesystem::path folder = from_environment("XDG_CONFIG_HOME"); folder.is_absolute()) {
        return folder;
    }
    return from_environment("HOME") / ".config";
#endif
}

RulesLoad failed(RulesLoad::Status status, const std::filesystem::path& file,
                 const std::string& why) {
    RulesLoad load;
    load.status = status;
    load.problem = file.string() + ": " + why;
    return load;
}

} // namespace

std::filesystem::path profile_rules_path() {
    if (std::filesystem::path file = from_environment("TARVENOR_RULES_FILE"); !file.empty()) {
        return file;
    }
    return configuration_folder() / "Tarvenor_Ostrel" / "profile-rules.ini";
}

RulesLoad load_profile_rules(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return {};
    }
    if (!std::filesystem::is_regular_file(file, error)) {
        return failed(RulesLoad::Status::Unreadable, file, "is not a regular file");
    }
    if (std::filesystem::file_size(file, error) > kMaxRulesFileBytes) {
        return failed(RulesLoad::Status::Damaged, file, "is larger than 1 MiB");
    }
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream bytes;
    if (!stream || !(bytes << stream.rdbuf())) {
        // An empty file reads as no characters, which is a valid (empty) rules file.
        if (stream && stream.peek() == std::char_traits<char>::eof()) {
            RulesLoad empty;
            empty.status = RulesLoad::Status::Loaded;
            return empty;
        }
        return failed(RulesLoad::Status::Unreadable, file, "cannot be read");
    }
    ParsedRules parsed = parse_profile_rules(bytes.str());
    if (!parsed.rules) {
        return failed(RulesLoad::Status::Damaged, file, parsed.error.text());
    }
    RulesLoad load;
    load.status = RulesLoad::Status::Loaded;
    load.rules = std::move(*parsed.rules);
    return load;
}

FileWriteResult save_profile_rules(const std::filesystem::path& file, const ProfileRules& rules) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    return write_file_atomically(file, serialise_profile_rules(rules));
}

} // namespace tarvenor
