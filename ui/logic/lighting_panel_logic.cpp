#include "ui/logic/lighting_panel_logic.h"

#include "engine/lighting_presets.h"
#include "model/key_codes.h"
#include "ui/logic/keyboard_map.h"
#include "ui/logic/profile_controls.h"

#include <algorithm>

namespace tarvenor {
namespace {

using namespace lighting_offset;

constexpr std::uint8_t kLeft = 255;
constexpr std::uint8_t kRight = 0;
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

std::vector<int> make_framed_key_buttons() {
    std::vector<int> ids = lit_key_buttons();
    ids.insert(ids.end(), control::kDKeys.begin(), control::kDKeys.end());
    return ids;
}

bool is_d_key(int control_id) {
    return std::ranges::find(control::kDKeys, control_id) != control::kDKeys.end();
}

std::optional<std::size_t> key_slot(int control_id) {
    const auto& keys = lit_key_buttons();
    const auto found = std::ranges::find(keys, control_id);
    if (found == keys.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - keys.begin());
}

} // namespace

const std::vector<int>& lit_key_buttons() {
    static const std::vector<int> ids = make_lit_key_buttons();
    return ids;
}

const std::vector<int>& framed_key_buttons() {
    static const std::vector<int> ids = make_framed_key_buttons();
    return ids;
}

LightingPanelLogic::LightingPanelLogic(const UserStorage& storage)
    : storage_(storage), frames_(lit_key_buttons().size()) {
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
    editor_.install(snapshot);
    light_switch_ = storage_.lighting_switch();
    if (arrival && offers_effect(modes(), kPerKeyEffect)) {
        editor_.recompute_follows();
    }
    show_lighting();
}

void LightingPanelLogic::show_lighting() {
    effect_list_.clear();
    for (const std::uint8_t effect : modes()) {
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
    if (is_d_key(control_id)) {
        return f_row_frame();
    }
    const auto key = key_slot(control_id);
    return key ? frames_[*key] : std::nullopt;
}

std::optional<ColourValue> LightingPanelLogic::f_row_frame() const {
    const std::optional<ColourValue> first = frame(id_of(kFKeys.front()));
    for (const MainControl f_key : kFKeys) {
        if (frame(id_of(f_key)) != first) {
            return kMixedRowFrame;
        }
    }
    return first;
}

bool LightingPanelLogic::follows_base(int profile, int control_id) const {
    const auto key = key_slot(control_id);
    return key && profile >= 0 && profile < 3 && editor_.follows_base(profile, *key);
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
        frames_[key] = editor_.key_colour(panel_profile_, key);
    }
}

void LightingPanelLogic::clear_frames() {
    std::ranges::fill(frames_, std::nullopt);
    ++frame_clears_;
}

// ---- handlers

void LightingPanelLogic::write_record(int offset, std::uint8_t value) {
    post_write(editor_.set_byte(panel_profile_, offset, value));
}

void LightingPanelLogic::choose_report_rate(int profile, int rate) {
    if (profile < 0 || profile >= 3) {
        return;
    }
    post_write(
        editor_.set_byte(profile, kReportRate, static_cast<std::uint8_t>(std::clamp(rate, 0, 3))));
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
    post_write(editor_.select_effect(panel_profile_, effect));
    apply_frames(frames_on_selection(effect));
}

void LightingPanelLogic::move_brightness(int position) {
    const int value = slider_position(position);
    if (value != record().brightness()) {
        write_record(kBrightness, static_cast<std::uint8_t>(value));
    }
    update_slider_images();
    changed();
}

void LightingPanelLogic::move_speed(int position) {
    const int value = 4 - slider_position(position);
    if (value != record().speed()) {
        write_record(kSpeed, static_cast<std::uint8_t>(value));
    }
    update_slider_images();
    changed();
}

void LightingPanelLogic::click_direction(bool left) {
    write_record(kDirection, left ? kLeft : kRight);
    changed();
}

void LightingPanelLogic::click_random() {
    const bool on = !record().random_colour();
    write_record(kRandom, on ? 1 : 0);
    if (on) {
        clear_frames();
    } else {
        frame_all(record().effect_colour());
    }
    changed();
}

void LightingPanelLogic::choose_effect_colour(ColourValue colour) {
    post_write(editor_.set_effect_colour(panel_profile_, colour));
    frame_all(colour);
    changed();
}

void LightingPanelLogic::choose_colour_choice(int choice) {
    if (choice < 0 || choice > 3) {
        return;
    }
    write_record(kColourChoice, static_cast<std::uint8_t>(choice));
    changed();
}

void LightingPanelLogic::choose_tool(int tool) {
    if (tool < 0 || tool > 1) {
        return;
    }
    write_record(kPaintTool, static_cast<std::uint8_t>(tool));
    changed();
}

void LightingPanelLogic::choose_user_colour(ColourValue colour) {
    post_write(editor_.set_colour(panel_profile_, kUserColour, colour));
    changed();
}

void LightingPanelLogic::choose_base_colour(ColourValue colour) {
    if (colour != record().base_colour()) {
        write_base_and_row(colour);
    }
    post_write(editor_.set_colour(panel_profile_, kBaseColour, colour));
    changed();
}

// BaseColour becomes `colour`, the followers with it, and both reach the keyboard.
void LightingPanelLogic::write_base_and_row(ColourValue colour) {
    post_write(editor_.set_base_and_row(panel_profile_, colour));
    for (std::size_t key = 0; key < frames_.size(); ++key) {
        if (editor_.follows_base(panel_profile_, key)) {
            frames_[key] = colour;
        }
    }
}

bool LightingPanelLogic::click_key(int control_id) {
    const auto key = key_slot(control_id);
    if (!light_switch_ || (!key && !is_d_key(control_id))) {
        return false;
    }
    // D1..D6 have no lighting position: nothing to paint.
    if (record().effect() != kPerKeyEffect || !key) {
        return true;
    }
    const bool base_tool = record().paint_tool() == 1;
    const ColourValue colour = base_tool ? record().base_colour() : record().user_colour();
    post_write(editor_.paint_key(panel_profile_, *key, colour,
                                 base_tool || colour == record().base_colour()));
    frames_[*key] = colour;
    changed();
    return true;
}

void LightingPanelLogic::apply_preset(int preset) {
    const std::vector<LightingWrite> writes = editor_.apply_preset(panel_profile_, preset);
    if (writes.empty()) {
        return;
    }
    post_writes(writes);
    frame_own();
    changed();
}

void LightingPanelLogic::post_writes(const std::vector<LightingWrite>& writes) {
    for (const LightingWrite& write : writes) {
        post_write(write);
    }
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
    // The frames of effect 1 as it is selected, before the record is reset under it.
    apply_frames(frames_on_selection(kResetEffect));
    post_writes(editor_.reset_lighting(panel_profile_));
    update_slider_images();
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
        editor_.took(write);
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
    editor_.back_to_known();
    show_lighting();
}

void LightingPanelLogic::changed() {
    if (changed_) {
        changed_();
    }
}

} // namespace tarvenor
