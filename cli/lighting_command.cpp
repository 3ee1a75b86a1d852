#include "cli/lighting_command.h"

#include "cli/device_session.h"
#include "cli/user_words.h"
#include "engine/lighting_editor.h"
#include "model/ini_file.h"
#include "model/key_codes.h"
#include "model/program_files.h"
#include "model/text_table.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <memory>
#include <optional>

namespace tarvenor::cli {
namespace {

constexpr const char* kChoiceNames[] = {"red", "yellow", "green", "blue"};

std::string hex_colour(ColourValue colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

std::optional<ColourValue> parse_colour(std::string_view text) {
    if (text.size() != 6 || !std::ranges::all_of(text, [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c));
        })) {
        return std::nullopt;
    }
    const unsigned long rgb = std::stoul(std::string(text), nullptr, 16);
    return static_cast<ColourValue>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

std::string lower(std::string_view text) {
    std::string result(text);
    std::ranges::transform(result, result.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// The effects' names come from the skin beside the program, as the window shows them.
// A build without the windows has no skin, and its effects no names.
std::string effect_name(int effect) {
    const IniFile skin = IniFile::read_or_empty(running_program_files().skins / "Main.ini");
    return skin.get("Mode1", std::to_string(effect));
}

// Key names as the window writes them, then G1..G9 and Fn: in the order of the lit keys.
std::vector<std::string> key_names() {
    const TextTable texts;
    std::vector<std::string> names;
    for (const KeyboardKey& key : keyboard_key_list()) {
        names.push_back(key_name(key.code, texts));
    }
    for (std::size_t j = 0; j < kGButtonCount; ++j) {
        names.push_back("G" + std::to_string(j + 1));
    }
    names.emplace_back("Fn");
    return names;
}

// The lit key of that name.
std::optional<std::size_t> key_by_name(std::string_view name) {
    const std::vector<std::string> names = key_names();
    for (std::size_t key = 0; key < names.size(); ++key) {
        if (lower(names[key]) == lower(name)) {
            return key;
        }
    }
    return std::nullopt;
}

// --profile N (1..3), or the keyboard's active profile.
std::optional<int> chosen_profile(CommandSet& commands, std::optional<int> wanted) {
    if (wanted) {
        return *wanted - 1;
    }
    const int active = commands.get_current_profile();
    if (active < 0) {
        complain("the keyboard does not name a valid active profile; give --profile");
        return std::nullopt;
    }
    return active;
}

// Opens the keyboard and runs `work` on the profile asked for; the exit code of either.
int on_profile(std::optional<int> wanted,
               const std::function<int(CommandSet& commands, int profile)>& work) {
    int exit_code = kExitDone;
    const auto session = DeviceSession::open(exit_code);
    if (!session) {
        return exit_code;
    }
    const auto profile = chosen_profile(session->commands(), wanted);
    return profile ? work(session->commands(), *profile) : kExitRejected;
}

nlohmann::ordered_json lighting_json(const LightingEditor& lighting, int profile, bool per_key) {
    const LightingRecord& record = lighting.record(profile);
    nlohmann::ordered_json object;
    object["profile"] = profile + 1;
    object["effect"] = record.effect();
    object["effect_name"] = effect_name(record.effect());
    object["brightness"] = record.brightness();
    object["speed"] = record.speed();
    object["direction"] = record.direction() == 255 ? "left" : "right";
    object["random"] = record.random_colour();
    object["colour"] = hex_colour(record.effect_colour());
    object["base"] = hex_colour(record.base_colour());
    object["user"] = hex_colour(record.user_colour());
    object["report_rate"] = record.report_rate();
    object["paint_tool"] = record.paint_tool() == 1 ? "base" : "user";
    object["colour_choice"] = kChoiceNames[record.colour_choice() > 3 ? 0 : record.colour_choice()];
    if (per_key) {
        nlohmann::ordered_json keys;
        const std::vector<std::string> names = key_names();
        for (std::size_t key = 0; key < names.size(); ++key) {
            keys[names[key]] = hex_colour(lighting.key_colour(profile, key));
        }
        object["keys"] = keys;
    }
    return object;
}

void print_text(const nlohmann::ordered_json& lighting) {
    for (const auto& [field, value] : lighting.items()) {
        if (field == "keys") {
            std::cout << "keys:\n";
            for (const auto& [name, colour] : value.items()) {
                std::cout << "  " << name << ' ' << colour.get<std::string>() << '\n';
            }
        } else {
            std::cout << field << ": "
                      << (value.is_string() ? value.get<std::string>() : value.dump()) << '\n';
        }
    }
}

// Reads the lighting as the window does on arrival; false after printing why when the keyboard
// did not give it.
bool read_lighting_of(CommandSet& commands, int profile, LightingEditor& lighting) {
    const LightingSnapshot snapshot = read_lighting(commands, profile, true);
    const bool offered = std::ranges::any_of(snapshot.modes, [](std::uint8_t e) { return e != 0; });
    if (!snapshot.parameters_read || !offered) {
        complain("the keyboard's lighting could not be read");
        return false;
    }
    lighting.install(snapshot);
    if (offers_effect(lighting.modes(), kPerKeyEffect)) {
        lighting.recompute_follows();
    }
    return true;
}

struct ShowOptions {
    std::optional<int> profile;
    bool json = false;
    bool per_key = false;
};

int run_show(const ShowOptions& options) {
    return on_profile(options.profile, [&](CommandSet& commands, int profile) {
        LightingEditor editor;
        if (!read_lighting_of(commands, profile, editor)) {
            return int{kExitRejected};
        }
        if (options.per_key && !offers_effect(editor.modes(), kPerKeyEffect)) {
            complain("this keyboard has no per-key colours");
            return int{kExitRejected};
        }
        const auto lighting = lighting_json(editor, profile, options.per_key);
        options.json ? void(std::cout << lighting.dump() << '\n') : print_text(lighting);
        return int{kExitDone};
    });
}

// One NAME=VALUE of `lighting set`, checked before anything is sent: the writes it makes, in
// order, as the lighting panel makes them (none when the value is already there).
using Change = std::function<std::vector<LightingWrite>(LightingEditor&, int profile)>;

std::optional<int> small_number(std::string_view text, int highest) {
    if (text.empty() || text.size() > 3 ||
        !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int value = std::stoi(std::string(text));
    return value <= highest ? std::optional<int>(value) : std::nullopt;
}

// `effects` collects the effects asked for, to be checked against the keyboard's.
std::optional<Change> parse_change(std::string_view name, std::string_view value,
                                   std::vector<int>& effects, std::string& error) {
    using namespace lighting_offset;
    if (name == "effect") {
        if (const auto effect = small_number(value, 255); effect && known_effect(*effect)) {
            effects.push_back(*effect);
            return [effect = *effect](LightingEditor& lighting, int profile) {
                return std::vector{lighting.select_effect(profile, effect)};
            };
        }
        error = "effect must be 1..18 or 20";
    } else if (name == "brightness" || name == "speed") {
        if (const auto level = small_number(value, 4)) {
            const int offset = name == "brightness" ? kBrightness : kSpeed;
            return [offset, level = *level](LightingEditor& lighting, int profile) {
                if (lighting.record(profile).bytes[static_cast<std::size_t>(offset)] == level) {
                    return std::vector<LightingWrite>{};
                }
                return std::vector{
                    lighting.set_byte(profile, offset, static_cast<std::uint8_t>(level))};
            };
        }
        error = std::string(name) + " must be 0..4";
    } else if (name == "direction") {
        if (value == "left" || value == "right") {
            return [left = value == "left"](LightingEditor& lighting, int profile) {
                return std::vector{lighting.set_byte(profile, kDirection, left ? 255 : 0)};
            };
        }
        error = "direction must be left or right";
    } else if (name == "random") {
        if (value == "on" || value == "off") {
            return [on = value == "on"](LightingEditor& lighting, int profile) {
                if (lighting.record(profile).random_colour() == on) {
                    return std::vector<LightingWrite>{};
                }
                return std::vector{lighting.set_byte(profile, kRandom, on ? 1 : 0)};
            };
        }
        error = "random must be on or off";
    } else if (name == "colour" || name == "base" || name == "user") {
        if (const auto colour = parse_colour(value)) {
            if (name == "colour") {
                return [c = *colour](LightingEditor& lighting, int profile) {
                    return std::vector{lighting.set_effect_colour(profile, c)};
                };
            }
            if (name == "base") {
                // As the panel: a new base colour takes its followers along, then is written
                // again on its own.
                return [c = *colour](LightingEditor& lighting, int profile) {
                    std::vector<LightingWrite> writes;
                    if (lighting.record(profile).base_colour() != c) {
                        writes.push_back(lighting.set_base_and_row(profile, c));
                    }
                    writes.push_back(lighting.set_colour(profile, kBaseColour, c));
                    return writes;
                };
            }
            return [c = *colour](LightingEditor& lighting, int profile) {
                return std::vector{lighting.set_colour(profile, kUserColour, c)};
            };
        }
        error = std::string(name) + " must be a colour RRGGBB";
    } else {
        error = "unknown setting '" + std::string(name) +
                "' (effect, brightness, speed, direction, random, colour, base, user)";
    }
    return std::nullopt;
}

struct Changes {
    std::vector<Change> in_order;
    std::vector<int> effects;
};

std::optional<Changes> parse_changes(const std::vector<std::string>& words) {
    Changes changes;
    for (const std::string& word : words) {
        const auto equals = word.find('=');
        std::string error = "expected NAME=VALUE: " + word;
        std::optional<Change> change;
        if (equals != std::string::npos) {
            change = parse_change(lower(word.substr(0, equals)), word.substr(equals + 1),
                                  changes.effects, error);
        }
        if (!change) {
            complain(error + "; nothing was written");
            return std::nullopt;
        }
        changes.in_order.push_back(std::move(*change));
    }
    return changes;
}

bool effects_offered(const std::vector<int>& effects, const ModeList& modes) {
    for (const int effect : effects) {
        if (!offers_effect(modes, effect)) {
            complain("the keyboard does not offer effect " + std::to_string(effect) +
                     "; nothing was written");
            return false;
        }
    }
    return true;
}

int run_set(std::optional<int> wanted, const std::vector<std::string>& words) {
    const auto changes = parse_changes(words);
    if (!changes) {
        return kExitBadArguments;
    }
    return on_profile(wanted, [&](CommandSet& commands, int profile) {
        LightingEditor lighting;
        if (!read_lighting_of(commands, profile, lighting)) {
            return int{kExitRejected};
        }
        if (!effects_offered(changes->effects, lighting.modes())) {
            return int{kExitBadArguments};
        }
        for (const Change& change : changes->in_order) {
            for (const LightingWrite& write : change(lighting, profile)) {
                if (run_lighting_write(commands, write) != DeviceStatus::Success) {
                    complain("the keyboard did not take the lighting change");
                    return int{kExitRejected};
                }
            }
        }
        return int{kExitDone};
    });
}

int run_key_colour(std::optional<int> wanted, const std::string& key, const std::string& colour) {
    const auto lit_key = key_by_name(key);
    const auto value = parse_colour(colour);
    if (!lit_key || !value) {
        complain(!lit_key ? "no key named '" + key + "'; nothing was written"
                          : "the colour must be RRGGBB; nothing was written");
        return kExitBadArguments;
    }
    return on_profile(wanted, [&](CommandSet& commands, int profile) {
        LightingWrite write{profile, {}};
        write.key_colour(LightingEditor::key_positions().at(*lit_key), *value);
        const DeviceStatus status = run_lighting_write(commands, write);
        return status == DeviceStatus::Success ? int{kExitDone}
                                               : device_failure("painting the key", status);
    });
}

void add_profile_option(CLI::App& command, std::optional<int>& profile) {
    command.add_option("--profile", profile, "the profile (1..3); default: the active one")
        ->check(CLI::Range(1, kProfileCount));
}

CommandRunner define_lighting(CLI::App& command) {
    auto show = std::make_shared<ShowOptions>();
    add_profile_option(command, show->profile);
    command.add_flag("--json", show->json, "print one JSON object");
    command.add_flag("--per-key", show->per_key, "also every key's colour by key name");
    CLI::App* set = command.add_subcommand(
        "set", "change the lighting as the lighting panel would: NAME=VALUE with effect=1..18|20 "
               "brightness=0..4 speed=0..4 direction=left|right random=on|off colour=RRGGBB "
               "base=RRGGBB user=RRGGBB, applied in the order given");
    auto set_profile = std::make_shared<std::optional<int>>();
    auto words = std::make_shared<std::vector<std::string>>();
    add_profile_option(*set, *set_profile);
    set->add_option("SETTINGS", *words, "NAME=VALUE pairs")->required();
    return [show, set, set_profile, words] {
        return set->parsed() ? run_set(*set_profile, *words) : run_show(*show);
    };
}

CommandRunner define_key_colour(CLI::App& command) {
    auto profile = std::make_shared<std::optional<int>>();
    auto key = std::make_shared<std::string>();
    auto colour = std::make_shared<std::string>();
    add_profile_option(command, *profile);
    command.add_option("KEY", *key, "the key's name as `lighting --per-key` lists it")->required();
    command.add_option("COLOUR", *colour, "RRGGBB")->required();
    return [profile, key, colour] { return run_key_colour(*profile, *key, *colour); };
}

} // namespace

const CliCommand kLightingCommand{
    "lighting", "print a profile's lighting, or change it with `lighting set`", define_lighting};
const CliCommand kKeyColourCommand{"key-colour", "paint one key of a profile", define_key_colour};

} // namespace tarvenor::cli
