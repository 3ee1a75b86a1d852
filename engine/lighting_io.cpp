#include "engine/lighting_io.h"

#include <algorithm>
#include <span>

namespace tarvenor {
namespace {

constexpr std::size_t kModeListOffset = 12;
constexpr std::uint8_t kRecordReadLength = 56;
constexpr std::size_t kPieceBytes = KeyColourTable::kPieceKeys * 3;

DeviceStatus run_step(CommandSet& commands, int profile, const LightingStep& step) {
    if (step.area == LightingStep::Area::KeyColours) {
        return commands.write_key_colours(profile, step.start, step.bytes);
    }
    const auto address = static_cast<std::uint16_t>(profile * LightingRecord::kSize +
                                                    static_cast<std::size_t>(step.start));
    return commands.write_settings(address, step.bytes);
}

DeviceStatus first_failure(DeviceStatus first, DeviceStatus next) {
    return first == DeviceStatus::Success ? next : first;
}

bool read_row(CommandSet& commands, int profile, KeyColourTable& row) {
    for (std::size_t position = 0; position < KeyColourTable::kPositions;
         position += KeyColourTable::kPieceKeys) {
        ReportData data{};
        if (commands.read_key_colours(profile, static_cast<int>(position), kPieceBytes, data) !=
            DeviceStatus::Success) {
            return false;
        }
        std::copy_n(data.begin(), kPieceBytes, row.bytes.begin() + position * 3);
    }
    return true;
}

} // namespace

std::vector<std::uint8_t> colour_bytes(ColourValue colour) {
    return {static_cast<std::uint8_t>(colour & 0xFF),
            static_cast<std::uint8_t>((colour >> 8) & 0xFF),
            static_cast<std::uint8_t>((colour >> 16) & 0xFF)};
}

void LightingWrite::record(int offset, std::vector<std::uint8_t> bytes) {
    steps.push_back({LightingStep::Area::Record, offset, std::move(bytes)});
}

void LightingWrite::colour(int offset, ColourValue colour) {
    record(offset, colour_bytes(colour));
}

void LightingWrite::key_colour(int position, ColourValue colour) {
    steps.push_back({LightingStep::Area::KeyColours, position, colour_bytes(colour)});
}

void LightingWrite::row(const KeyColourTable& row) {
    for (std::size_t position = 0; position < KeyColourTable::kPositions;
         position += KeyColourTable::kPieceKeys) {
        const auto piece = row.bytes.begin() + static_cast<std::ptrdiff_t>(position * 3);
        steps.push_back({LightingStep::Area::KeyColours, static_cast<int>(position),
                         std::vector<std::uint8_t>(piece, piece + kPieceBytes)});
    }
}

void apply_write(const LightingWrite& write, LightingSettings& records,
                 std::array<KeyColourTable, 3>& rows) {
    if (write.profile < 0 || write.profile >= 3) {
        return;
    }
    const auto profile = static_cast<std::size_t>(write.profile);
    for (const LightingStep& step : write.steps) {
        const auto start = static_cast<std::size_t>(std::max(step.start, 0));
        const bool record = step.area == LightingStep::Area::Record;
        const std::span<std::uint8_t> target =
            record ? std::span<std::uint8_t>(records.profiles[profile].bytes)
                   : std::span<std::uint8_t>(rows[profile].bytes);
        const std::size_t at = record ? start : start * 3;
        for (std::size_t i = 0; i < step.bytes.size() && at + i < target.size(); ++i) {
            target[at + i] = step.bytes[i];
        }
    }
}

DeviceStatus run_lighting_write(CommandSet& commands, const LightingWrite& write) {
    DeviceStatus status = commands.begin_transfer();
    for (const LightingStep& step : write.steps) {
        if (status != DeviceStatus::Success) {
            break;
        }
        status = run_step(commands, write.profile, step);
    }
    return first_failure(status, commands.end_transfer());
}

bool offers_effect(const ModeList& modes, int effect) {
    return std::ranges::find(modes, effect) != modes.end();
}

LightingSnapshot read_lighting(CommandSet& commands, int panel_profile, bool all_profiles) {
    LightingSnapshot snapshot;
    ParameterBlock parameters{};
    if (commands.read_parameters(parameters) != DeviceStatus::Success) {
        return snapshot;
    }
    snapshot.parameters_read = true;
    std::copy_n(parameters.begin() + kModeListOffset, kModeListSize, snapshot.modes.begin());
    static_cast<void>(commands.begin_transfer());
    if (offers_effect(snapshot.modes, kPerKeyEffect)) {
        for (int profile = 0; profile < 3; ++profile) {
            if (all_profiles || profile == panel_profile) {
                snapshot.row_read[profile] = read_row(commands, profile, snapshot.rows[profile]);
            }
        }
    }
    for (int profile = 0; profile < 3; ++profile) {
        ReportData data{};
        const auto address = static_cast<std::uint16_t>(profile * LightingRecord::kSize);
        snapshot.record_read[profile] =
            commands.read_settings(address, kRecordReadLength, data) == DeviceStatus::Success;
        std::copy_n(data.begin(), LightingRecord::kSize,
                    snapshot.records.profiles[profile].bytes.begin());
    }
    static_cast<void>(commands.end_transfer());
    return snapshot;
}

} // namespace tarvenor
