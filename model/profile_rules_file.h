#pragma once

#include "model/atomic_file.h"
#include "model/profile_rules.h"

#include <filesystem>
#include <string>

namespace tarvenor {

// The rules file in the user's configuration folder: TARVENOR_RULES_FILE when set, else
// $XDG_CONFIG_HOME (or ~/.config; %APPDATA% on Windows) / Tarvenor_Ostrel / profile-rules.ini.
std::filesystem::path profile_rules_path();

struct RulesLoad {
    enum class Status { Loaded, Missing, Unreadable, Damaged };

    Status status = Status::Missing;
    // Loaded: the file's rules; Missing: no rules, nothing switched; otherwise unused.
    ProfileRules rules;
    // Unreadable or Damaged: the path and what is wrong, in the user's words.
    std::string problem;

    bool usable() const { return status == Status::Loaded || status == Status::Missing; }
};

RulesLoad load_profile_rules(const std::filesystem::path& file);
// Creates the folder when needed and replaces the file atomically.
FileWriteResult save_profile_rules(const std::filesystem::path& file, const ProfileRules& rules);

} // namespace tarvenor
