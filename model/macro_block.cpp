#include "model/macro_block.h"

#include "model/text_encoding.h"

#include <algorithm>
#include <string>

namespace tarvenor {
namespace {

constexpr std::size_t kRecordHeaderSize = 4;
constexpr std::size_t kActionSize = 4;
constexpr std::uint16_t kDelayUnitMs = 10;
constexpr std::uint16_t kDelayMask = 0x0FFF;
constexpr std::uint16_t kDownBit = 0x8000;

std::size_t action_count(const MacroRecord& record) {
    return std::min(record.actions.size(), MacroRecord::kMaxActions);
}

std::size_t name_length(const MacroRecord& record) {
    return std::min(record.name.size(), MacroRecord::kMaxNameLength);
}

std::size_t record_size(const MacroRecord& record, bool with_names) {
    return kRecordHeaderSize + kActionSize * action_count(record) +
           (with_names ? 2 * name_length(record) : 0);
}

void write_record(std::span<std::uint8_t> out, const MacroRecord& record, bool with_names) {
    const std::size_t count = action_count(record);
    write_u16(out, 0, static_cast<std::uint16_t>(count));
    out[2] = record.cycles;
    out[3] = with_names ? static_cast<std::uint8_t>(name_length(record)) : 0;
    std::size_t at = kRecordHeaderSize;
    for (std::size_t i = 0; i < count; ++i, at += kActionSize) {
        const auto encoded = encode_macro_action(record.actions[i]);
        std::copy(encoded.begin(), encoded.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
    }
    if (with_names) {
        for (std::size_t i = 0; i < name_length(record); ++i, at += 2) {
            write_u16(out, at, record.name[i]);
        }
    }
}

std::u16string decode_name(std::span<const std::uint8_t> bytes, std::size_t length) {
    std::u16string name;
    for (std::size_t i = 0; i < std::min(length, MacroRecord::kMaxNameLength); ++i) {
        const char16_t unit = read_u16(bytes, i * 2);
        if (unit == 0) {
            break;
        }
        name.push_back(unit);
    }
    return name;
}

// Decodes the record at the start of bytes (which ends where the block ends).
MacroRecord decode_record(std::span<const std::uint8_t> bytes, std::size_t index,
                          const TextTable& texts) {
    MacroRecord record;
    record.id = static_cast<std::uint16_t>(index + 1);
    record.cycles = bytes[2];
    const std::size_t room = (bytes.size() - kRecordHeaderSize) / kActionSize;
    const std::size_t stored = read_u16(bytes, 0);
    const std::size_t count = std::min({stored, MacroRecord::kMaxActions, room});
    record.actions.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        record.actions.push_back(
            decode_macro_action(bytes.subspan(kRecordHeaderSize + k * kActionSize, kActionSize)));
    }
    const std::size_t name_at = kRecordHeaderSize + stored * kActionSize;
    const std::size_t length = bytes[3];
    if (length > 0 && name_at + 2 * length <= bytes.size()) {
        record.name = decode_name(bytes.subspan(name_at), length);
    }
    if (record.name.empty()) {
        record.name =
            utf8_to_utf16(texts.text(TextKey::MacroNewPrefix) + std::to_string(index + 1));
    }
    return record;
}

} // namespace

MacroBlockSizes macro_block_sizes(const MacroStore& macros) {
    MacroBlockSizes sizes{MacroBlockLayout::kHeaderSize + 2 * macros.size(),
                          MacroBlockLayout::kHeaderSize + 2 * macros.size()};
    for (const MacroRecord& record : macros) {
        sizes.without_names += record_size(record, false);
        sizes.with_names += record_size(record, true);
    }
    return sizes;
}

std::array<std::uint8_t, 4> encode_macro_action(const MacroAction& action) {
    const DeviceKeyCode code = device_code_for_key(action.key);
    const auto units = static_cast<std::uint16_t>(
        std::min<std::uint32_t>(action.delay / kDelayUnitMs, kDelayMask));
    const auto word = static_cast<std::uint16_t>(units | ((code.kind & 0x7) << 12) |
                                                 (action.is_up() ? 0 : kDownBit));
    return {static_cast<std::uint8_t>(word & 0xFF), static_cast<std::uint8_t>(word >> 8), code.b1,
            code.b2};
}

MacroAction decode_macro_action(std::span<const std::uint8_t> bytes) {
    const std::uint16_t word = read_u16(bytes, 0);
    MacroAction action;
    action.delay = static_cast<std::uint32_t>(word & kDelayMask) * kDelayUnitMs;
    action.key = key_code_from_device_key_code(
        {static_cast<std::uint8_t>((word >> 12) & 0x7), bytes[2], bytes[3]});
    action.direction = (word & kDownBit) ? MacroAction::kDown : MacroAction::kUp;
    return action;
}

Bytes build_macro_block(const MacroStore& macros, bool with_names) {
    const MacroBlockSizes sizes = macro_block_sizes(macros);
    Bytes block(with_names ? sizes.with_names : sizes.without_names, 0);
    write_u16(block, 0, MacroBlockLayout::kMagic);
    write_u16(block, 2, static_cast<std::uint16_t>(block.size()));
    write_u16(block, 4, static_cast<std::uint16_t>(macros.size()));
    write_u16(block, 6, with_names ? 1 : 0);
    std::size_t offset = MacroBlockLayout::kHeaderSize + 2 * macros.size();
    for (std::size_t i = 0; i < macros.size(); ++i) {
        write_u16(block, MacroBlockLayout::kHeaderSize + 2 * i, static_cast<std::uint16_t>(offset));
        write_record(std::span(block).subspan(offset), macros[i], with_names);
        offset += record_size(macros[i], with_names);
    }
    return block;
}

std::size_t macro_block_read_size(std::span<const std::uint8_t> head) {
    if (head.size() < 4 || read_u16(head, 0) != MacroBlockLayout::kMagic) {
        return 0;
    }
    return read_u16(head, 2);
}

MacroStore decode_macro_block(std::span<const std::uint8_t> block, const TextTable& texts) {
    MacroStore macros;
    if (block.size() < MacroBlockLayout::kHeaderSize ||
        read_u16(block, 0) != MacroBlockLayout::kMagic) {
        return macros;
    }
    const std::size_t declared_count = read_u16(block, 4);
    block = block.first(std::min<std::size_t>(block.size(), read_u16(block, 2)));
    const std::size_t table_room =
        (block.size() - std::min(block.size(), MacroBlockLayout::kHeaderSize)) / 2;
    const std::size_t count =
        std::min<std::size_t>({declared_count, MacroRecord::kMaxCount, table_room});
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t offset = read_u16(block, MacroBlockLayout::kHeaderSize + 2 * i);
        if (offset + kRecordHeaderSize > block.size()) {
            break;
        }
        macros.push_back(decode_record(block.subspan(offset), i, texts));
    }
    return macros;
}

std::optional<Message> DownloadPlan::message() const {
    if (outcome == Outcome::MacrosTooLarge) {
        return Message::MacrosTooLarge;
    }
    if (names_dropped) {
        return Message::MacroNamesDropped;
    }
    return std::nullopt;
}

DownloadPlan plan_macro_download(const DownloadSnapshot& snapshot, std::size_t macro_space,
                                 const DefaultKeyMatrix& matrix, bool all_profiles,
                                 int current_profile) {
    DownloadPlan plan;
    const MacroBlockSizes sizes = macro_block_sizes(snapshot.macros);
    if (macro_space < sizes.without_names) {
        return plan;
    }
    plan.outcome = DownloadPlan::Outcome::Send;
    plan.names_dropped = macro_space < sizes.with_names;
    plan.macro_block = build_macro_block(snapshot.macros, !plan.names_dropped);

    const auto position = [&snapshot](std::uint32_t id) {
        return macro_position(snapshot.macros, id);
    };
    for (int profile = 0; profile < kKeyboardProfiles; ++profile) {
        if (all_profiles || profile == current_profile) {
            plan.profiles.push_back({profile, build_profile_block(snapshot.image.key_table(profile),
                                                                  matrix, position)});
        }
    }
    return plan;
}

} // namespace tarvenor
