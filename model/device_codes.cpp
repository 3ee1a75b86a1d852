#include "model/device_codes.h"

namespace tarvenor {
namespace {

constexpr std::uint8_t kKindNone = 0;
constexpr std::uint8_t kKindKeyboard = 2;
constexpr std::uint8_t kKindConsumer = 3;
constexpr std::uint8_t kKindDesktop = 4;
constexpr std::uint8_t kKindMacro = 5;

constexpr std::uint8_t kKeyboardModifier = 1;
constexpr std::uint8_t kKeyboardUsage = 2;
constexpr std::uint8_t kMacroPlay = 1;
constexpr std::uint8_t kMacroStop = 2;
constexpr std::uint8_t kMacroFunction = 5;

DeviceKeyCode usage_code(std::uint8_t kind, std::uint16_t usage) {
    return {kind, static_cast<std::uint8_t>(usage & 0xFF), static_cast<std::uint8_t>(usage >> 8)};
}

DeviceKeyCode key_assignment_code(KeyCode key) {
    if (const std::uint8_t bit = modifier_bit_of(key); bit != 0) {
        return {kKindKeyboard, kKeyboardModifier, bit};
    }
    const Usage usage = usage_of(key);
    return {kKindKeyboard, kKeyboardUsage,
            static_cast<std::uint8_t>(usage.page == 0x07 ? usage.usage : 0)};
}

KeyAssignment decoded_assignment(DeviceKeyCode code) {
    KeyAssignment a;
    a.type = static_cast<std::uint16_t>(AssignmentType::Disabled);
    const auto set = [&a](AssignmentType type, std::uint32_t param) {
        a.type = static_cast<std::uint16_t>(type);
        a.param = param;
    };
    if (code.kind == kKindMacro && code.b1 == kMacroPlay) {
        set(AssignmentType::Macro, code.b2 + 1u);
    } else if (code.kind == kKindMacro && code.b1 == kMacroStop) {
        set(AssignmentType::StopMacro, 0);
    } else if (code.kind == kKindMacro && code.b1 == kMacroFunction) {
        set(AssignmentType::Function, code.b2);
    } else if (code.kind == kKindConsumer) {
        const auto& media = media_key_list();
        for (std::size_t i = 0; i < media.size(); ++i) {
            if (usage_of(media[i]).usage == code.b12()) {
                set(AssignmentType::Media, static_cast<std::uint32_t>(i));
                break;
            }
        }
    } else if (code.kind == kKindKeyboard && code.b1 == kKeyboardUsage) {
        if (const KeyCode key = key_code_from_usage(0x07, code.b2); key != 0) {
            set(AssignmentType::Key, key);
        }
    } else if (code.kind == kKindKeyboard && code.b1 == kKeyboardModifier) {
        set(AssignmentType::Key, key_code_from_modifier_bit(code.b2));
    }
    return a;
}

} // namespace

KeyCodeBlock::KeyCodeBlock(std::span<const std::uint8_t> bytes) {
    for (std::size_t j = 0; j < KeyCodeBlock::kPositions; ++j) {
        codes_[j] = {bytes[j * 3], bytes[j * 3 + 1], bytes[j * 3 + 2]};
    }
}

std::array<std::uint8_t, KeyCodeBlock::kSize> KeyCodeBlock::bytes() const {
    std::array<std::uint8_t, KeyCodeBlock::kSize> out{};
    for (std::size_t j = 0; j < KeyCodeBlock::kPositions; ++j) {
        out[j * 3] = codes_[j].kind;
        out[j * 3 + 1] = codes_[j].b1;
        out[j * 3 + 2] = codes_[j].b2;
    }
    return out;
}

KeyCode key_code_from_device_key_code(DeviceKeyCode code) {
    switch (code.kind) {
    case kKindKeyboard:
        return code.b1 == kKeyboardUsage ? key_code_from_usage(0x07, code.b2)
                                         : key_code_from_modifier_bit(code.b2);
    case kKindConsumer:
        return key_code_from_usage(0x0C, code.b12());
    case kKindDesktop:
        return key_code_from_usage(0x01, code.b12());
    default:
        return 0;
    }
}

DeviceKeyCode device_code_for_key(KeyCode key) {
    const Usage usage = usage_of(key);
    switch (usage.page) {
    case 0x07:
        return key_assignment_code(key);
    case 0x0C:
        return usage_code(kKindConsumer, usage.usage);
    case 0x01:
        return usage_code(kKindDesktop, usage.usage);
    default:
        return {kKindNone, 0, 0};
    }
}

DeviceKeyCode device_code_for_assignment(const KeyAssignment& assignment, DeviceKeyCode factory,
                                         const std::function<int(std::uint32_t)>& macro_position) {
    switch (assignment.kind()) {
    case AssignmentType::Disabled:
    case AssignmentType::TextBlock:
        return {kKindNone, 0, 0};
    case AssignmentType::Key:
        return key_assignment_code(static_cast<KeyCode>(assignment.param));
    case AssignmentType::Macro:
        return {kKindMacro, kMacroPlay,
                static_cast<std::uint8_t>(macro_position(assignment.param))};
    case AssignmentType::StopMacro:
        return {kKindMacro, kMacroStop, 0};
    case AssignmentType::Media:
        if (assignment.param < media_key_list().size()) {
            return usage_code(kKindConsumer, usage_of(media_key_list()[assignment.param]).usage);
        }
        return factory;
    case AssignmentType::Function:
        return {kKindMacro, kMacroFunction, static_cast<std::uint8_t>(assignment.param & 0xFF)};
    default: // Default, LaunchProgram and types no keyboard code exists for
        return factory;
    }
}

ProfileBlock build_profile_block(const KeyTable& table, const DefaultKeyMatrix& matrix,
                                 const std::function<int(std::uint32_t)>& macro_position) {
    ProfileBlock block = matrix;
    for (std::size_t j = 0; j < KeyCodeBlock::kPositions; ++j) {
        const KeyCode key = key_code_from_device_key_code(matrix.at(j));
        if (key != 0) {
            block.set(j, device_code_for_assignment(table.entries[key_index_of(key)], matrix.at(j),
                                                    macro_position));
        }
    }
    return block;
}

KeyTable decode_profile_block(const ProfileBlock& block, const DefaultKeyMatrix& matrix) {
    KeyTable table = KeyTable::with_g_key_codes();
    for (std::size_t j = 0; j < KeyCodeBlock::kPositions; ++j) {
        if (block.at(j) == matrix.at(j)) {
            continue;
        }
        const KeyCode key = key_code_from_device_key_code(matrix.at(j));
        if (key != 0) {
            table.entries[key_index_of(key)] = decoded_assignment(block.at(j));
        }
    }
    return table;
}

} // namespace tarvenor
