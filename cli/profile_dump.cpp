#include "cli/profile_dump.h"

#include "model/assignment_caption.h"
#include "model/key_codes.h"
#include "model/text_encoding.h"

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

std::string json_string(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
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
            << "  \"" << assignment_caption(slot, entry, config.macros(), texts) << "\"";
        if (const std::u16string* text = config.texts().text(flat)) {
            out << "  text \"" << utf16_to_utf8(*text) << "\"";
        }
        out << '\n';
    });
}

void list_macros(std::ostream& out, const Configuration& config, const TextTable& texts) {
    out << "Macros\n";
    for (const MacroRecord& m : config.macros()) {
        out << "  id " << m.id << "  \"" << utf16_to_utf8(m.name) << "\"  cycles " << int(m.cycles)
            << "  " << m.actions.size() << " actions\n";
        for (const MacroAction& action : m.actions) {
            out << "    " << key_name(action.key, texts) << ' ' << direction_arrow(action) << ' '
                << action.delay << " ms\n";
        }
    }
}

void json_header(std::ostream& out, const FileHeader& h) {
    out << "\"header\":{\"magic\":" << h.magic << ",\"header_size\":" << h.header_size
        << ",\"total_size\":" << h.total_size << ",\"entry_count\":" << h.entry_count
        << ",\"macro_count\":" << h.macro_count << ",\"text_size\":" << h.text_size
        << ",\"flag\":" << int(h.flag) << ",\"checksum\":" << int(h.checksum) << '}';
}

void json_assignments(std::ostream& out, const Configuration& config) {
    out << "\"assignments\":[";
    const char* separator = "";
    for_each_assignment(config, [&](int table, int slot, int flat, const KeyAssignment& entry) {
        const std::string_view name = assignment_type_name(entry.type);
        const std::u16string* text = config.texts().text(flat);
        out << separator << "{\"table\":" << table << ",\"slot\":" << slot
            << ",\"type\":" << (name.empty() ? std::to_string(entry.type) : json_string(name))
            << ",\"aux_code\":" << entry.aux_code << ",\"param\":" << entry.param
            << ",\"colour_key_flag\":" << entry.colour_key_flag
            << ",\"text\":" << (text ? json_string(utf16_to_utf8(*text)) : "null") << '}';
        separator = ",";
    });
    out << ']';
}

void json_macros(std::ostream& out, const Configuration& config) {
    out << "\"macros\":[";
    const char* separator = "";
    for (const MacroRecord& m : config.macros()) {
        out << separator << "{\"id\":" << m.id << ",\"name\":" << json_string(utf16_to_utf8(m.name))
            << ",\"cycles\":" << int(m.cycles) << ",\"play_mode\":" << m.play_mode
            << ",\"actions\":[";
        const char* action_separator = "";
        for (const MacroAction& action : m.actions) {
            out << action_separator << "{\"delay\":" << action.delay << ",\"key\":" << action.key
                << ",\"direction\":\"" << (action.is_up() ? "up" : "down") << "\"}";
            action_separator = ",";
        }
        out << "]}";
        separator = ",";
    }
    out << ']';
}

} // namespace

void write_profile_listing(std::ostream& out, const Configuration& config, const TextTable& texts) {
    list_header(out, config.image().header());
    list_assignments(out, config, texts);
    list_macros(out, config, texts);
}

void write_profile_json(std::ostream& out, const Configuration& config, const TextTable&) {
    out << '{';
    json_header(out, config.image().header());
    out << ',';
    json_assignments(out, config);
    out << ',';
    json_macros(out, config);
    out << "}\n";
}

} // namespace tarvenor::cli
