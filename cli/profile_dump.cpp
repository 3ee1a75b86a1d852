#include "cli/profile_dump.h"

#include "model/assignment_caption.h"
#include "model/key_codes.h"
#include "model/text_encoding.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>

namespace tarvenor::cli {
namespace {

// Calls visit(table, slot, entry) for every entry that is not all zero.
template <typename Visit> void for_each_assignment(const Configuration& config, Visit visit) {
    for (int flat = 0; flat < kFlatEntryCount; ++flat) {
        const KeyAssignment entry = config.entry(flat);
        if (!entry.is_zero()) {
            visit(flat / kKeyTableSlots, flat % kKeyTableSlots, flat, entry);
        }
    }
}

std::string hex(unsigned value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*X", width, value);
    return buffer;
}

using Json = nlohmann::ordered_json;

// Text that may hold quotes or line breaks, quoted and escaped as JSON does; text from a damaged
// file that is not UTF-8 shows replacement characters.
std::string quoted(const std::string& text) {
    return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string type_label(std::uint16_t type) {
    const std::string_view name = assignment_type_name(type);
    return name.empty() ? std::to_string(type) : std::string(name);
}

const char* direction_arrow(const MacroAction& action) {
    return action.is_up() ? "↑" : "↓";
}

void list_header(std::ostream& out, const FileHeader& h) {
    out << "Header\n  magic " << hex(h.magic, 4) << ", header_size " << h.header_size
        << ", total_size " << h.total_size << ", entry_count " << h.entry_count << ", macro_count "
        << h.macro_count << ", text_size " << h.text_size << ", flag " << int(h.flag)
        << ", checksum " << hex(h.checksum, 2) << '\n';
}

void list_assignments(std::ostream& out, const Configuration& config, const TextTable& texts) {
    out << "Assignments\n";
    for_each_assignment(config, [&](int table, int slot, int flat, const KeyAssignment& entry) {
        out << "  table " << table << " slot " << hex(static_cast<unsigned>(slot), 3) << "  "
            << slot_name(slot, texts) << "  " << type_label(entry.type) << " param " << entry.param
            << "  " << quoted(assignment_caption(slot, entry, config.macros(), texts));
        if (const std::u16string* text = config.texts().text(flat)) {
            out << "  text " << quoted(utf16_to_utf8(*text));
        }
        out << '\n';
    });
}

void list_macros(std::ostream& out, const Configuration& config, const TextTable& texts) {
    out << "Macros\n";
    for (const MacroRecord& m : config.macros()) {
        out << "  id " << m.id << "  " << quoted(utf16_to_utf8(m.name)) << "  cycles "
            << int(m.cycles) << "  " << m.actions.size() << " actions\n";
        for (const MacroAction& action : m.actions) {
            out << "    " << key_name(action.key, texts) << ' ' << direction_arrow(action) << ' '
                << action.delay << " ms\n";
        }
    }
}

Json json_header(const FileHeader& h) {
    return {{"magic", h.magic},
            {"header_size", h.header_size},
            {"total_size", h.total_size},
            {"entry_count", h.entry_count},
            {"macro_count", h.macro_count},
            {"text_size", h.text_size},
            {"flag", h.flag},
            {"checksum", h.checksum}};
}

Json json_assignments(const Configuration& config) {
    Json assignments = Json::array();
    for_each_assignment(config, [&](int table, int slot, int flat, const KeyAssignment& entry) {
        const std::string_view name = assignment_type_name(entry.type);
        const std::u16string* text = config.texts().text(flat);
        assignments.push_back({{"table", table},
                               {"slot", slot},
                               {"type", name.empty() ? Json(entry.type) : Json(name)},
                               {"aux_code", entry.aux_code},
                               {"param", entry.param},
                               {"colour_key_flag", entry.colour_key_flag},
                               {"text", text ? Json(utf16_to_utf8(*text)) : Json()}});
    });
    return assignments;
}

Json json_macros(const Configuration& config) {
    Json macros = Json::array();
    for (const MacroRecord& m : config.macros()) {
        Json actions = Json::array();
        for (const MacroAction& action : m.actions) {
            actions.push_back({{"delay", action.delay},
                               {"key", action.key},
                               {"direction", action.is_up() ? "up" : "down"}});
        }
        macros.push_back({{"id", m.id},
                          {"name", utf16_to_utf8(m.name)},
                          {"cycles", m.cycles},
                          {"play_mode", m.play_mode},
                          {"actions", std::move(actions)}});
    }
    return macros;
}

} // namespace

void write_profile_listing(std::ostream& out, const Configuration& config, const TextTable& texts) {
    list_header(out, config.image().header());
    list_assignments(out, config, texts);
    list_macros(out, config, texts);
}

void write_profile_json(std::ostream& out, const Configuration& config) {
    const Json file{{"header", json_header(config.image().header())},
                    {"assignments", json_assignments(config)},
                    {"macros", json_macros(config)}};
    out << file.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
}

} // namespace tarvenor::cli
