#include "model/profile_rules.h"

#include "model/key_assignment.h"
#include "model/text_trim.h"

#include <algorithm>

namespace tarvenor {
namespace {

constexpr std::string_view kSettingsSection = "settings";
constexpr std::string_view kRulesSection = "rules";
constexpr std::string_view kEnabledKey = "enabled";
constexpr std::string_view kDefaultKey = "default";
constexpr std::string_view kKeep = "keep";
constexpr std::size_t kMaxApplicationBytes = 255;

// "1".."3" as 0..2.
std::optional<int> profile_number(std::string_view value) {
    if (value.size() == 1 && value[0] >= '1' && value[0] <= '0' + kKeyboardProfiles) {
        return value[0] - '1';
    }
    return std::nullopt;
}

// Section, key and value words, as loosely as application names.
bool same_word(std::string_view a, std::string_view b) {
    return same_application(a, b);
}

auto naming(std::string_view application) {
    return [application](const ProfileRule& rule) {
        return same_application(rule.application, application);
    };
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Reads the file line by line into `rules`; the first line that is wrong ends it.
class RulesReader {
public:
    std::optional<RulesError> read(std::string_view text) {
        if (text.starts_with("\xEF\xBB\xBF")) {
            text.remove_prefix(3);
        }
        int number = 0;
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            const std::string_view line = trim(text.substr(0, end));
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
            ++number;
            if (std::string reason = take(line); !reason.empty()) {
                return RulesError{number, std::move(reason)};
            }
        }
        return std::nullopt;
    }

    ProfileRules rules;

private:
    enum class Section { None, Settings, Rules };

    std::string take(std::string_view line) {
        if (line.empty() || line.front() == '#' || line.front() == ';') {
            return {};
        }
        if (line.front() == '[') {
            return take_section(line);
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return "expected \"name = value\", found " + quoted(line);
        }
        const std::string_view key = trim(line.substr(0, equals));
        const std::string_view value = trim(line.substr(equals + 1));
        switch (section_) {
        case Section::Settings:
            return take_setting(key, value);
        case Section::Rules:
            return take_rule(key, value);
        case Section::None:
            break;
        }
        return "a line before [settings] or [rules]";
    }

    std::string take_section(std::string_view line) {
        if (line.back() != ']') {
            return "a section name without its closing ']'";
        }
        const std::string_view name = trim(line.substr(1, line.size() - 2));
        if (same_word(name, kSettingsSection)) {
            section_ = Section::Settings;
        } else if (same_word(name, kRulesSection)) {
            section_ = Section::Rules;
        } else {
            return "unknown section [" + std::string(name) + "] (known: [settings], [rules])";
        }
        return {};
    }

    std::string take_setting(std::string_view key, std::string_view value) {
        if (same_word(key, kEnabledKey)) {
            if (same_word(value, "yes") || same_word(value, "no")) {
                rules.enabled = same_word(value, "yes");
                return {};
            }
            return "enabled is yes or no, not " + quoted(value);
        }
        if (same_word(key, kDefaultKey)) {
            if (same_word(value, kKeep)) {
                rules.default_profile.reset();
                return {};
            }
            if (const auto profile = profile_number(value)) {
                rules.default_profile = profile;
                return {};
            }
            return "default is 1, 2, 3 or keep, not " + quoted(value);
        }
        return "unknown setting " + quoted(key) + " (known: enabled, default)";
    }

    std::string take_rule(std::string_view application, std::string_view value) {
        if (std::string problem = application_name_problem(application); !problem.empty()) {
            return problem;
        }
        const auto profile = profile_number(value);
        if (!profile) {
            return "the profile of " + std::string(application) + " is 1, 2 or 3, not " +
                   quoted(value);
        }
        if (rules.find(application) != nullptr) {
            return std::string(application) + " has a rule already";
        }
        rules.rules.push_back({std::string(application), *profile});
        return {};
    }

    Section section_ = Section::None;
};

} // namespace

bool same_application(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

const ProfileRule* ProfileRules::find(std::string_view application) const {
    const auto found = std::ranges::find_if(rules, naming(application));
    return found == rules.end() ? nullptr : &*found;
}

void ProfileRules::set(std::string_view application, int profile) {
    if (const auto found = std::ranges::find_if(rules, naming(application)); found != rules.end()) {
        found->profile = profile;
        return;
    }
    rules.push_back({std::string(application), profile});
}

bool ProfileRules::remove(std::string_view application) {
    return std::erase_if(rules, naming(application)) > 0;
}

std::string RulesError::text() const {
    return line > 0 ? "line " + std::to_string(line) + ": " + reason : reason;
}

std::string application_name_problem(std::string_view application) {
    if (application.empty()) {
        return "an application name is missing";
    }
    if (application.size() > kMaxApplicationBytes) {
        return "an application name is longer than 255 bytes";
    }
    if (trim(application) != application ||
        application.find_first_of("=\n\r") != std::string_view::npos ||
        application.find_first_of("#;[") == 0) {
        return quoted(application) +
               " cannot be an application name (no '=', no blanks around it, not starting "
               "with '#', ';' or '[')";
    }
    return {};
}

ParsedRules parse_profile_rules(std::string_view text) {
    RulesReader reader;
    if (std::optional<RulesError> error = reader.read(text)) {
        return {std::nullopt, std::move(*error)};
    }
    return {std::move(reader.rules), {}};
}

std::string serialise_profile_rules(const ProfileRules& rules) {
    std::string text =
        "# Which keyboard profile (1, 2 or 3) follows the application in front.\n"
        "# default: the profile for any other application, or keep to leave it as it is.\n"
        "# An application is its X11 class or instance, its Wayland app id or its executable's\n"
        "# name (Wine and Proton games: steam_app_<id> or the game's .exe name).\n"
        "[settings]\n";
    text += "enabled = " + std::string(rules.enabled ? "yes" : "no") + "\n";
    text +=
        "default = " +
        (rules.default_profile ? std::to_string(*rules.default_profile + 1) : std::string(kKeep)) +
        "\n\n[rules]\n";
    for (const ProfileRule& rule : rules.rules) {
        text += rule.application + " = " + std::to_string(rule.profile + 1) + "\n";
    }
    return text;
}

} // namespace tarvenor
