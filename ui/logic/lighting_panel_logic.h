#pragma once

#include "engine/keyboard_jobs.h"
#include "engine/lighting_editor.h"
#include "engine/lighting_io.h"
#include "model/atomic_file.h"
#include "model/lighting.h"
#include "model/user_storage.h"
#include "ui/logic/lighting_effects.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvenor {

// The key buttons the lighting frames and paints: the 106 keys, G1..G9 and Fn.
const std::vector<int>& lit_key_buttons();
// The key buttons that show a frame: the lit keys and D1..D6.
const std::vector<int>& framed_key_buttons();

// The lighting panel's decisions: the mirrors of the keyboard's lighting, what every control
// changes and the exact writes. It runs on the user interface thread and never waits for the
// keyboard: reads and writes are jobs for the device worker, in the order the user made them,
// and their outcomes come back on its thread. The panel shows its new state at once; when a
// write fails it shows what the keyboard holds, reads it again and says so.
class LightingPanelLogic {
public:
    explicit LightingPanelLogic(const UserStorage& storage);

    // Until jobs are set, nothing is read or written.
    void set_jobs(KeyboardJobs* jobs) { jobs_ = jobs; }
    // Called after every change of what the panel shows.
    void set_changed(std::function<void()> changed) { changed_ = std::move(changed); }
    // Runs before the light switch turns on: makes the keyboard's active profile current again.
    void set_before_switch_on(std::function<void()> hook) { before_switch_on_ = std::move(hook); }
    // A busy keyboard, and a setting that could not be saved, are told through these; a change
    // or read the keyboard did not take shows in write_failed() and read_failed().
    void set_outcome_hook(std::function<void(const JobOutcome&)> hook) {
        outcome_ = std::move(hook);
    }
    void set_setting_failure_hook(std::function<void(const FileWriteResult&)> hook) {
        setting_failure_ = std::move(hook);
    }

    // Reads the lighting (all profiles or only the panel's) and shows it when it arrives. After
    // an arrival the FollowsBase flags are recomputed from the colours read.
    void read_lighting(bool all_profiles, bool arrival = false);
    // A keyboard arrived: the panel shows its active profile (when it named one) and reads the
    // lighting of all profiles.
    void keyboard_arrived(int active_profile);
    // The panel shows another profile: its lighting is read and shown.
    void show_profile(int profile);
    // What a read brought: installs the parts read and shows them.
    void install(const LightingSnapshot& snapshot, bool arrival);

    // The controls' handlers.
    void select_effect(int list_position);
    // Byte 15 of a profile's record: the USB report rate 0..3.
    void choose_report_rate(int profile, int rate);
    void move_brightness(int position);
    void move_speed(int position);
    void click_direction(bool left);
    void click_random();
    void choose_effect_colour(ColourValue colour);
    void choose_colour_choice(int choice);
    void choose_tool(int tool);
    void choose_user_colour(ColourValue colour);
    void choose_base_colour(ColourValue colour);
    void apply_preset(int preset);
    void click_light_switch();
    // A click on a key button or D1..D6: true when the lighting takes it (the switch is on),
    // painting the key in the per-key effect; false when the click goes on as usual.
    bool click_key(int control_id);
    // Used by the profile buttons before they switch profile.
    void turn_switch_off();
    // Restores the panel profile's factory lighting (restore defaults).
    void reset_lighting();

    // What the panel shows.
    int panel_profile() const { return panel_profile_; }
    bool light_switch() const { return light_switch_; }
    const LightingRecord& record() const { return editor_.record(panel_profile_); }
    const LightingRecord& record(int profile) const { return editor_.record(profile); }
    const KeyColourTable& row(int profile) const { return editor_.row(profile); }
    const ModeList& modes() const { return editor_.modes(); }
    // The effect list's entries in order, and the position of the current effect (-1: none).
    const std::vector<int>& effect_list() const { return effect_list_; }
    int selected_position() const;
    // The controls shown now: none but the switch while it is off.
    EffectControls shown_controls() const;
    DirectionPictures direction() const;
    const std::string& brightness_image() const { return brightness_image_; }
    const std::string& speed_image() const { return speed_image_; }
    // The frame of a key button. D1..D6 have no light of their own: they stand over the F1..F4
    // row and show its frame when the row shows one colour, kMixedRowFrame when its keys differ.
    std::optional<ColourValue> frame(int control_id) const;
    static constexpr ColourValue kMixedRowFrame = 0x808080;
    // Grows with every ClearFrames, which also takes the keys' selected faces away.
    int frame_clears() const { return frame_clears_; }
    bool follows_base(int profile, int control_id) const;
    // A change did not reach the keyboard; cleared by the next change that does.
    bool write_failed() const { return write_failed_; }
    // The last read failed: the panel shows what it read before, and reads again when the
    // keyboard is next used.
    bool read_failed() const { return read_failed_; }

private:
    void show_lighting();
    void update_slider_images();
    std::optional<ColourValue> f_row_frame() const;
    void apply_frames(FrameRule rule);
    void frame_all(ColourValue colour);
    void frame_own();
    void clear_frames();
    void write_base_and_row(ColourValue colour);
    void run_selection(int effect);
    void set_switch(bool on);

    void post_write(LightingWrite write);
    void post_writes(const std::vector<LightingWrite>& writes);
    void write_record(int offset, std::uint8_t value);
    void write_done(unsigned sequence, const LightingWrite& write, const JobOutcome& outcome);
    void post_read(bool all_profiles, bool arrival);
    void read_done(unsigned sequence, const LightingSnapshot& snapshot, bool all_profiles,
                   bool arrival, const JobOutcome& outcome);
    void show_keyboard_state();
    void changed();

    const UserStorage& storage_;
    KeyboardJobs* jobs_ = nullptr;
    std::function<void()> changed_;
    std::function<void()> before_switch_on_;
    std::function<void(const JobOutcome&)> outcome_;
    std::function<void(const FileWriteResult&)> setting_failure_;

    int panel_profile_ = 0;
    bool light_switch_ = false;
    LightingEditor editor_;
    std::vector<int> effect_list_;
    std::vector<std::optional<ColourValue>> frames_;
    int frame_clears_ = 0;
    std::string brightness_image_ = "0.bmp";
    std::string speed_image_ = "9.bmp";

    unsigned posted_writes_ = 0; // sequence number of the last write handed to the worker
    bool write_failed_ = false;
    bool reread_due_ = false;  // a write failed: the keyboard's state is read once writes settle
    bool read_failed_ = false; // the last read failed: read again when the keyboard is next used
};

} // namespace tarvenor
