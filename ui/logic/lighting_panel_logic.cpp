#include "ui/logic/lighting_panel_logic.h"

#include "model/key_codes.h"
#include "ui/logic/keyboard_map.h"
#include "ui/logic/lighting_presets.h"

#include <algorithm>

namespace tarvenor {
namespace {

constexpr int kEffectOffset = 0;
constexpr int kBrightnessOffset = 1;
constexpr int kSpeedOffset = 2;
constexpr int kDirectionOffset = 3;
constexpr int kRandomOffset = 4;
constexpr int kEffectColourOffset = 5;
constexpr int kBaseColourOffset = 9;
constexpr int kUserColourOffset = 12;
constexpr int kReportRateOffset = 15;
constexpr int kToolOffset = 16;
constexpr int kChoiceOffset = 17;
constexpr std::uint8_t kLeft = 255;
constexpr std::uint8_t kRight = 0;
constexpr ColourValue kBlack = 0;
constexpr ColourValue kWhite = 0xFFFFFF;
constexpr int kFpsPreset = 0;
constexpr int kResetEffect = 1;

std::vector<int> make_lit_key_buttons() {
    std::vector<int> ids;
    for (const KeyboardKey& key : keyboard_key_list()) {
        ids.push_back(key.control_id);
    }
    const auto& g_keys = GButtonControlIds();
    ids.insert(ids.end(), g_keys.begin(), g_keys.end());
    ids.push_back(control::kFn);
    return ids;
}

std::optional<std::size_t> key_slot(int control_id) {
    const auto& keys = lit_key_buttons();
    const auto found = std::ranges::find(keys, control_id);
    if (found == keys.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - keys.begin());
}

int position_of_slot(std::size_t key) {
    return *light_position_of(lit_key_buttons()[key]);
}

} // namespace

const std::vector<int>& lit_key_buttons() {
    static const std::vector<int> ids = make_lit_key_buttons();
    return ids;
}

ColourValue row_colour(const KeyColourTable& row, int position) {
    const auto at = static_cast<std::size_t>(position) * 3;
    return row.bytes[at] | (ColourValue{row.bytes[at + 1]} << 8) |
           (ColourValue{row.bytes[at + 2]} << 16);
}

void set_row_colour(KeyColourTable& row, int position, ColourValue colour) {
    const auto bytes = colour_bytes(colour);
    std::ranges::copy(bytes, row.bytes.begin() + static_cast<std::ptrdiff_t>(position) * 3);
}

LightingPanelLogic::LightingPanelLogic(const UserStorage& storage)
    : storage_(storage), frames_(lit_key_buttons().size()) {
    follows_.fill(KeyFlags(lit_key_buttons().size(), false));
    light_switch_ = storage_.lighting_switch();
}

// ---- reads

void LightingPanelLogic::read_lighting(bool all_profiles, bool arrival) {
    post_read(all_profiles, arrival);
}

void LightingPanelLogic::keyboard_arrived(int active_profile) {
    if (active_profile >= 0 && active_profile < 3) {
        panel_profile_ = active_profile;
    }
    post_read(true, true);
}

void LightingPanelLogic::show_profile(int profile) {
    if (profile < 0 || profile >= 3) {
        return;
    }
    panel_profile_ = profile;
    show_lighting();
    post_read(false, false);
}

void LightingPanelLogic::post_read(bool all_profiles, bool arrival) {
    if (jobs_ == nullptr) {
        return;
    }
    const unsigned sequence = posted_writes_;
    const int profile = panel_profile_;
    auto snapshot = std::make_shared<LightingSnapshot>();
    jobs_->post(
        [snapshot, profile, all_profiles](CommandSet& commands) {
            *snapshot = tarvenor::read_lighting(commands, profile, all_profiles);
            return snapshot->parameters_read ? DeviceStatus::Success : DeviceStatus::NoAnswer;
        },
        [this, sequence, snapshot, all_profiles, arrival](const JobOutcome& outcome) {
            read_done(sequence, *snapshot, all_profiles, arrival, outcome);
        });
}

void LightingPanelLogic::read_done(unsigned sequence, const LightingSnapshot& snapshot,
                                   bool all_profiles, bool arrival, const JobOutcome& outcome) {
    if (outcome.end == JobEnd::Stopped) {
        return;
    }
    if (sequence != posted_writes_) {
        // Changes made meanwhile reach the keyboard after this read: read again behind them.
        post_read(all_profiles, arrival);
        return;
    }
    if (outcome.end == JobEnd::Busy && outcome_) {
        outcome_(outcome);
    }
    read_failed_ = !(outcome.end == JobEnd::Done && snapshot.parameters_read);
    install(snapshot, arrival);
}

void LightingPanelLogic::install(const LightingSnapshot& snapshot, bool arrival) {
    // A read that failed keeps what the panel knew: the effect list does not empty.
    if (snapshot.parameters_read) {
        modes_ = snapshot.modes;
        for (int profile = 0; profile < 3; ++profile) {
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
    light_switch_ = storage_.lighting_switch();
    if (arrival && offers_effect(modes_, kPerKeyEffect)) {
        recompute_follows();
    }
    show_lighting();
}

void LightingPanelLogic::recompute_follows() {
    for (int profile = 0; profile < 3; ++profile) {
        const ColourValue base = records_.profiles[profile].base_colour();
        for (std::size_t key = 0; key < lit_key_buttons().size(); ++key) {
            follows_[profile][key] = row_colour(rows_[profile], position_of_slot(key)) == base;
        }
    }
}

void LightingPanelLogic::show_lighting() {
    effect_list_.clear();
    for (const std::uint8_t effect : modes_) {
        if (effect != 0) {
            effect_list_.push_back(effect);
        }
    }
    update_slider_images();
    if (light_switch_) {
        apply_frames(FrameRule::EffectColour);
        const FrameRule rule = frames_on_selection(record().effect());
        if (rule == FrameRule::None || rule == FrameRule::OwnColour) {
            apply_frames(rule);
        }
    }
    changed();
}

void LightingPanelLogic::update_slider_images() {
    if (auto image = tarvenor::brightness_image(record().brightness())) {
        brightness_image_ = std::move(*image);
    }
    if (auto image = tarvenor::speed_image(record().speed())) {
        speed_image_ = std::move(*image);
    }
}

// ---- what the panel shows

int LightingPanelLogic::selected_position() const {
    const auto found = std::ranges::find(effect_list_, record().effect());
    return found == effect_list_.end() ? -1 : static_cast<int>(found - effect_list_.begin());
}

EffectControls LightingPanelLogic::shown_controls() const {
    return light_switch_ ? effect_controls(record().effect()) : EffectControls{};
}

DirectionPictures LightingPanelLogic::direction() const {
    return direction_pictures(record().effect(), record().direction());
}

std::optional<ColourValue> LightingPanelLogic::frame(int control_id) const {
    const auto key = key_slot(control_id);
    return key ? frames_[*key] : std::nullopt;
}

bool LightingPanelLogic::follows_base(int profile, int control_id) const {
    const auto key = key_slot(control_id);
    return key && profile >= 0 && profile < 3 && follows_[profile][*key];
}

// ---- key frames

void LightingPanelLogic::apply_frames(FrameRule rule) {
    switch (rule) {
    case FrameRule::EffectColour:
        if (record().random_colour()) {
            clear_frames();
        } else {
            frame_all(record().effect_colour());
        }
        return;
    case FrameRule::None:
        clear_frames();
        return;
    case FrameRule::OwnColour:
        frame_own();
        return;
    case FrameRule::Unchanged:
        return;
    }
}

void LightingPanelLogic::frame_all(ColourValue colour) {
    std::ranges::fill(frames_, colour);
}

void LightingPanelLogic::frame_own() {
    for (std::size_t key = 0; key < frames_.size(); ++key) {
        frames_[key] = row_colour(row(panel_profile_), position_of_slot(key));
    }
}

void LightingPanelLogic::clear_frames() {
    std::ranges::fill(frames_, std::nullopt);
    ++frame_clears_;
}

// ---- handlers

void LightingPanelLogic::set_record(int offset, std::uint8_t value) {
    mutable_record().bytes[static_cast<std::size_t>(offset)] = value;
}

void LightingPanelLogic::write_record(int offset, std::uint8_t value) {
    set_record(offset, value);
    LightingWrite write{panel_profile_, {}};
    write.record(offset, {value});
    post_write(std::move(write));
}

void LightingPanelLogic::choose_report_rate(int profile, int rate) {
    if (profile < 0 || profile >= 3) {
        return;
    }
    const auto value = static_cast<std::uint8_t>(std::clamp(rate, 0, 3));
    records_.profiles[static_cast<std::size_t>(profile)].bytes[kReportRateOffset] = value;
    LightingWrite write{profile, {}};
    write.record(kReportRateOffset, {value});
    post_write(std::move(write));
    changed();
}

void LightingPanelLogic::select_effect(int list_position) {
    if (list_position < 0 || list_position >= static_cast<int>(effect_list_.size())) {
        return;
    }
    run_selection(effect_list_[static_cast<std::size_t>(list_position)]);
    changed();
}

void LightingPanelLogic::run_selection(int effect) {
    set_record(kEffectOffset, static_cast<std::uint8_t>(effect));
    LightingWrite write{panel_profile_, {}};
    write.record(kEffectOffset, {static_cast<std::uint8_t>(effect)});
    if (selection_writes_random(effect)) {
        const std::uint8_t random = record().random_colour() ? 1 : 0;
        set_record(kRandomOffset, random);
        write.record(kRandomOffset, {random});
    }
    post_write(std::move(write));
    apply_frames(frames_on_selection(effect));
}

void LightingPanelLogic::move_brightness(int position) {
    const int value = slider_position(position);
    if (value != record().brightness()) {
        write_record(kBrightnessOffset, static_cast<std::uint8_t>(value));
    }
    update_slider_images();
    changed();
}

void LightingPanelLogic::move_speed(int position) {
    const int value = 4 - slider_position(position);
    if (value != record().speed()) {
        write_record(kSpeedOffset, static_cast<std::uint8_t>(value));
    }
    update_slider_images();
    changed();
}

void LightingPanelLogic::click_direction(bool left) {
    write_record(kDirectionOffset, left ? kLeft : kRight);
    changed();
}

void LightingPanelLogic::click_random() {
    const bool on = !record().random_colour();
    write_record(kRandomOffset, on ? 1 : 0);
    if (on) {
        clear_frames();
    } else {
        frame_all(record().effect_colour());
    }
    changed();
}

void LightingPanelLogic::choose_effect_colour(ColourValue colour) {
    set_record(kRandomOffset, 0);
    mutable_record().set_colour_at(kEffectColourOffset, colour);
    LightingWrite write{panel_profile_, {}};
    write.record(kRandomOffset, {0});
    write.colour(kEffectColourOffset, colour);
    post_write(std::move(write));
    frame_all(colour);
    changed();
}

void LightingPanelLogic::choose_colour_choice(int choice) {
    if (choice < 0 || choice > 3) {
        return;
    }
    write_record(kChoiceOffset, static_cast<std::uint8_t>(choice));
    changed();
}

void LightingPanelLogic::choose_tool(int tool) {
    if (tool < 0 || tool > 1) {
        return;
    }
    write_record(kToolOffset, static_cast<std::uint8_t>(tool));
    changed();
}

void LightingPanelLogic::choose_user_colour(ColourValue colour) {
    mutable_record().set_colour_at(kUserColourOffset, colour);
    LightingWrite write{panel_profile_, {}};
    write.colour(kUserColourOffset, colour);
    post_write(std::move(write));
    changed();
}

void LightingPanelLogic::choose_base_colour(ColourValue colour) {
    if (colour != record().base_colour()) {
        write_base_and_row(colour);
    }
    LightingWrite write{panel_profile_, {}};
    write.colour(kBaseColourOffset, colour);
    post_write(std::move(write));
    changed();
}

void LightingPanelLogic::set_key_colour(std::size_t key, ColourValue colour) {
    set_row_colour(mutable_row(), position_of_slot(key), colour);
    frames_[key] = colour;
}

void LightingPanelLogic::recolour_followers(ColourValue colour) {
    for (std::size_t key = 0; key < frames_.size(); ++key) {
        if (follows_[panel_profile_][key]) {
            set_key_colour(key, colour);
        }
    }
}

// BaseColour becomes `colour`, the followers with it, and both reach the keyboard.
void LightingPanelLogic::write_base_and_row(ColourValue colour) {
    mutable_record().set_colour_at(kBaseColourOffset, colour);
    recolour_followers(colour);
    LightingWrite write{panel_profile_, {}};
    write.colour(kBaseColourOffset, colour);
    write.row(row(panel_profile_));
    post_write(std::move(write));
}

bool LightingPanelLogic::click_key(int control_id) {
    const auto key = key_slot(control_id);
    const bool d_key = std::ranges::find(control::kDKeys, control_id) != control::kDKeys.end();
    if (!light_switch_ || (!key && !d_key)) {
        return false;
    }
    // D1..D6 have no lighting position: nothing to paint.
    if (record().effect() != kPerKeyEffect || !key) {
        return true;
    }
    const bool base_tool = record().paint_tool() == 1;
    const ColourValue colour = base_tool ? record().base_colour() : record().user_colour();
    set_key_colour(*key, colour);
    follows_[panel_profile_][*key] = base_tool || colour == record().base_colour();
    LightingWrite write{panel_profile_, {}};
    write.key_colour(position_of_slot(*key), colour);
    post_write(std::move(write));
    changed();
    return true;
}

void LightingPanelLogic::apply_preset(int preset) {
    const auto keys = preset_keys(preset);
    if (keys.empty()) {
        return;
    }
    for (std::size_t key = 0; key < frames_.size(); ++key) {
        follows_[panel_profile_][key] = true;
        set_key_colour(key, kBlack);
    }
    write_base_and_row(kBlack);
    for (const PresetKey& preset_key : keys) {
        const std::size_t key = *key_slot(preset_key.control_id);
        set_key_colour(key, preset_key.colour);
        follows_[panel_profile_][key] = preset_key.colour == kBlack;
    }
    write_base_and_row(kBlack);
    changed();
}

void LightingPanelLogic::click_light_switch() {
    if (light_switch_) {
        turn_switch_off();
        return;
    }
    if (before_switch_on_) {
        before_switch_on_();
    }
    if (read_failed_) {
        // Nothing made up: the controls show what the keyboard holds once it answers.
        post_read(true, false);
    }
    set_switch(true);
    apply_frames(frames_on_switch(record().effect()));
    changed();
}

void LightingPanelLogic::turn_switch_off() {
    if (!light_switch_) {
        return;
    }
    set_switch(false);
    clear_frames();
    changed();
}

void LightingPanelLogic::set_switch(bool on) {
    light_switch_ = on;
    if (const FileWriteResult saved = storage_.set_lighting_switch(on);
        !saved && setting_failure_) {
        setting_failure_(saved);
    }
}

void LightingPanelLogic::reset_lighting() {
    run_selection(kResetEffect);
    mutable_record().reset();
    update_slider_images();
    if (offers_effect(modes_, kPerKeyEffect)) {
        for (std::size_t key = 0; key < frames_.size(); ++key) {
            follows_[panel_profile_][key] = true;
        }
        for (std::size_t position = 0; position < KeyColourTable::kPositions; ++position) {
            set_row_colour(mutable_row(), static_cast<int>(position), kWhite);
        }
        frame_all(kWhite);
        LightingWrite row_write{panel_profile_, {}};
        row_write.row(row(panel_profile_));
        post_write(std::move(row_write));
    }
    LightingWrite reset{panel_profile_, {}};
    reset.record(0, std::vector<std::uint8_t>(LightingRecord::kResetBytes.begin(),
                                              LightingRecord::kResetBytes.end()));
    post_write(std::move(reset));
    apply_preset(kFpsPreset);
    clear_frames();
    changed();
}

// ---- writes

void LightingPanelLogic::post_write(LightingWrite write) {
    if (jobs_ == nullptr) {
        return;
    }
    const unsigned sequence = ++posted_writes_;
    auto shared = std::make_shared<const LightingWrite>(std::move(write));
    jobs_->post([shared](CommandSet& commands) { return run_lighting_write(commands, *shared); },
                [this, sequence, shared](const JobOutcome& outcome) {
                    write_done(sequence, *shared, outcome);
                });
}

void LightingPanelLogic::write_done(unsigned sequence, const LightingWrite& write,
                                    const JobOutcome& outcome) {
    if (outcome.end == JobEnd::Stopped) {
        return;
    }
    if (outcome.succeeded()) {
        apply_write(write, known_records_, known_rows_);
        if (!reread_due_) {
            write_failed_ = false;
        }
        if (read_failed_) {
            read_failed_ = false;
            reread_due_ = true;
        }
    } else {
        write_failed_ = true;
        reread_due_ = true;
        show_keyboard_state();
        if (outcome.end == JobEnd::Busy && outcome_) {
            outcome_(outcome);
        }
    }
    if (reread_due_ && sequence == posted_writes_) {
        reread_due_ = false;
        post_read(false, false);
    }
    changed();
}

// The panel goes back to what the keyboard holds as far as it knows.
void LightingPanelLogic::show_keyboard_state() {
    records_ = known_records_;
    rows_ = known_rows_;
    show_lighting();
}

void LightingPanelLogic::changed() {
    if (changed_) {
        changed_();
    }
}

} // namespace tarvenor
