#include "engine/lighting_editor.h"

#include "engine/lighting_presets.h"
#include "model/key_codes.h"

#include <algorithm>

namespace tarvenor {
namespace {

constexpr ColourValue kWhite = 0xFFFFFF;
constexpr ColourValue kBlack = 0;
constexpr int kResetEffect = 1;
constexpr int kFpsPreset = 0;

// The lit key of one of the drawing's 106 keys.
std::size_t key_of_control(int control_id) {
    const auto& keys = keyboard_key_list();
    return static_cast<std::size_t>(std::ranges::find(keys, control_id, &KeyboardKey::control_id) -
                                    keys.begin());
}

std::vector<int> make_key_positions() {
    std::vector<int> positions;
    for (const KeyboardKey& key : keyboard_key_list()) {
        positions.push_back(*key_light_position(key.control_id));
    }
    positions.insert(positions.end(), kGButtonCount, kGKeyLightPosition);
    positions.push_back(kFnLightPosition);
    return positions;
}

std::size_t index_of(int profile) {
    return static_cast<std::size_t>(std::clamp(profile, 0, 2));
}

} // namespace

ColourValue row_colour(const KeyColourTable& row, int position) {
    const auto at = static_cast<std::size_t>(position) * 3;
    return row.bytes[at] | (ColourValue{row.bytes[at + 1]} << 8) |
           (ColourValue{row.bytes[at + 2]} << 16);
}

void set_row_colour(KeyColourTable& row, int position, ColourValue colour) {
    const auto bytes = colour_bytes(colour);
    std::ranges::copy(bytes, row.bytes.begin() + static_cast<std::ptrdiff_t>(position) * 3);
}

const std::vector<int>& LightingEditor::key_positions() {
    static const std::vector<int> positions = make_key_positions();
    return positions;
}

LightingEditor::LightingEditor() {
    follows_.fill(std::vector<bool>(key_positions().size(), false));
}

void LightingEditor::install(const LightingSnapshot& snapshot) {
    if (!snapshot.parameters_read) {
        return;
    }
    modes_ = snapshot.modes;
    for (std::size_t profile = 0; profile < 3; ++profile) {
        if (snapshot.record_read[profile]) {
            records_.profiles[profile] = snapshot.records.profiles[profile];
            known_records_.profiles[profile] = snapshot.records.profiles[profile];
        }
        if (snapshot.row_read[profile]) {
            rows_[profile] = snapshot.rows[profile];
            known_rows_[profile] = snapshot.rows[profile];
        }
    }
}

void LightingEditor::recompute_follows() {
    for (std::size_t profile = 0; profile < 3; ++profile) {
        const ColourValue base = records_.profiles[profile].base_colour();
        for (std::size_t key = 0; key < key_positions().size(); ++key) {
            follows_[profile][key] = row_colour(rows_[profile], key_positions()[key]) == base;
        }
    }
}

void LightingEditor::took(const LightingWrite& write) {
    apply_write(write, known_records_, known_rows_);
}

void LightingEditor::back_to_known() {
    records_ = known_records_;
    rows_ = known_rows_;
}

const LightingRecord& LightingEditor::record(int profile) const {
    return records_.profiles[index_of(profile)];
}

LightingRecord& LightingEditor::mutable_record(int profile) {
    return records_.profiles[index_of(profile)];
}

const KeyColourTable& LightingEditor::row(int profile) const {
    return rows_[index_of(profile)];
}

bool LightingEditor::follows_base(int profile, std::size_t key) const {
    return key < key_positions().size() && follows_[index_of(profile)][key];
}

ColourValue LightingEditor::key_colour(int profile, std::size_t key) const {
    return row_colour(row(profile), key_positions().at(key));
}

LightingWrite LightingEditor::set_byte(int profile, int offset, std::uint8_t value) {
    mutable_record(profile).bytes[static_cast<std::size_t>(offset)] = value;
    LightingWrite write{profile, {}};
    write.record(offset, {value});
    return write;
}

LightingWrite LightingEditor::select_effect(int profile, int effect) {
    LightingWrite write =
        set_byte(profile, lighting_offset::kEffect, static_cast<std::uint8_t>(effect));
    if (uses_effect_colour(effect)) {
        const std::uint8_t random = record(profile).random_colour() ? 1 : 0;
        mutable_record(profile).bytes[lighting_offset::kRandom] = random;
        write.record(lighting_offset::kRandom, {random});
    }
    return write;
}

LightingWrite LightingEditor::set_effect_colour(int profile, ColourValue colour) {
    LightingWrite write = set_byte(profile, lighting_offset::kRandom, 0);
    mutable_record(profile).set_colour_at(lighting_offset::kEffectColour, colour);
    write.colour(lighting_offset::kEffectColour, colour);
    return write;
}

LightingWrite LightingEditor::set_colour(int profile, int offset, ColourValue colour) {
    mutable_record(profile).set_colour_at(static_cast<std::size_t>(offset), colour);
    LightingWrite write{profile, {}};
    write.colour(offset, colour);
    return write;
}

LightingWrite LightingEditor::set_base_and_row(int profile, ColourValue colour) {
    LightingWrite write = set_colour(profile, lighting_offset::kBaseColour, colour);
    for (std::size_t key = 0; key < key_positions().size(); ++key) {
        if (follows_base(profile, key)) {
            set_row_colour(rows_[index_of(profile)], key_positions()[key], colour);
        }
    }
    write.row(row(profile));
    return write;
}

void LightingEditor::set_key(int profile, std::size_t key, ColourValue colour, bool follows) {
    set_row_colour(rows_[index_of(profile)], key_positions().at(key), colour);
    follows_[index_of(profile)][key] = follows;
}

LightingWrite LightingEditor::paint_key(int profile, std::size_t key, ColourValue colour,
                                        bool follows) {
    set_key(profile, key, colour, follows);
    LightingWrite write{profile, {}};
    write.key_colour(key_positions().at(key), colour);
    return write;
}

LightingWrite LightingEditor::reset_record(int profile) {
    mutable_record(profile).reset();
    LightingWrite write{profile, {}};
    write.record(0, std::vector<std::uint8_t>(LightingRecord::kResetBytes.begin(),
                                              LightingRecord::kResetBytes.end()));
    return write;
}

LightingWrite LightingEditor::whiten_row(int profile) {
    std::fill(follows_[index_of(profile)].begin(), follows_[index_of(profile)].end(), true);
    for (std::size_t position = 0; position < KeyColourTable::kPositions; ++position) {
        set_row_colour(rows_[index_of(profile)], static_cast<int>(position), kWhite);
    }
    LightingWrite write{profile, {}};
    write.row(row(profile));
    return write;
}

std::vector<LightingWrite> LightingEditor::apply_preset(int profile, int preset) {
    const auto keys = preset_keys(preset);
    if (keys.empty()) {
        return {};
    }
    for (std::size_t key = 0; key < key_positions().size(); ++key) {
        set_key(profile, key, kBlack, true);
    }
    std::vector<LightingWrite> writes{set_base_and_row(profile, kBlack)};
    for (const PresetKey& preset_key : keys) {
        set_key(profile, key_of_control(preset_key.control_id), preset_key.colour,
                preset_key.colour == kBlack);
    }
    writes.push_back(set_base_and_row(profile, kBlack));
    return writes;
}

std::vector<LightingWrite> LightingEditor::reset_lighting(int profile) {
    std::vector<LightingWrite> writes{select_effect(profile, kResetEffect)};
    LightingWrite record_reset = reset_record(profile);
    if (offers_effect(modes_, kPerKeyEffect)) {
        writes.push_back(whiten_row(profile));
    }
    writes.push_back(std::move(record_reset));
    for (LightingWrite& preset : apply_preset(profile, kFpsPreset)) {
        writes.push_back(std::move(preset));
    }
    return writes;
}

} // namespace tarvenor
