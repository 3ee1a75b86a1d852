#include "model/macro_record.h"

#include "model/byte_order.h"

#include <algorithm>

namespace tarvenor {
namespace {

constexpr std::size_t kCyclesOffset = 500;
constexpr std::size_t kIsNewOffset = 502;
constexpr std::size_t kPlayModeOffset = 504;
constexpr std::size_t kIdOffset = 506;
constexpr std::size_t kActionCountOffset = 508;
constexpr std::size_t kActionsOffset = 512;

} // namespace

MacroRecord MacroRecord::read(std::span<const std::uint8_t> bytes) {
    MacroRecord record;
    for (std::size_t i = 0; i < kMaxNameLength; ++i) {
        const char16_t unit = read_u16(bytes, i * 2);
        if (unit == 0) {
            break;
        }
        record.name.push_back(unit);
    }
    record.cycles = bytes[kCyclesOffset];
    record.is_new = read_u16(bytes, kIsNewOffset);
    record.play_mode = read_u16(bytes, kPlayModeOffset);
    record.id = read_u16(bytes, kIdOffset);
    const std::size_t count =
        std::min<std::size_t>(read_u16(bytes, kActionCountOffset), kMaxActions);
    record.actions.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kActionsOffset + i * MacroAction::kSize;
        MacroAction& action = record.actions[i];
        action.delay = read_u32(bytes, at);
        action.key = read_u16(bytes, at + 4);
        action.direction =
            read_u16(bytes, at + 6) == MacroAction::kUp ? MacroAction::kUp : MacroAction::kDown;
    }
    return record;
}

void MacroRecord::write(std::span<std::uint8_t> bytes) const {
    std::fill(bytes.begin(), bytes.begin() + kSize, std::uint8_t{0});
    const std::size_t name_length = std::min(name.size(), kMaxNameLength);
    for (std::size_t i = 0; i < name_length; ++i) {
        write_u16(bytes, i * 2, name[i]);
    }
    bytes[kCyclesOffset] = cycles;
    write_u16(bytes, kIsNewOffset, is_new);
    write_u16(bytes, kPlayModeOffset, play_mode);
    write_u16(bytes, kIdOffset, id);
    const std::size_t count = std::min(actions.size(), kMaxActions);
    write_u16(bytes, kActionCountOffset, static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kActionsOffset + i * MacroAction::kSize;
        write_u32(bytes, at, actions[i].delay);
        write_u16(bytes, at + 4, actions[i].key);
        write_u16(bytes, at + 6, actions[i].direction);
    }
}

int macro_position(const MacroStore& macros, std::uint32_t id) {
    const auto found = std::find_if(macros.begin(), macros.end(),
                                    [id](const MacroRecord& m) { return m.id == id; });
    return found == macros.end() ? 0 : static_cast<int>(found - macros.begin());
}

} // namespace tarvenor
