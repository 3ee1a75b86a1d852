#pragma once

#include "model/profile_rules.h"
#include "model/window_match.h"

#include <chrono>
#include <optional>
#include <string>

namespace tarvenor {

// When the keyboard's profile follows the application in front. The keyboard keeps its active
// profile in memory that wears with writes, so a switch is written only for a real change,
// once the focus has rested, and never sooner than a minimum interval after the last one; a
// profile the user chose by hand stays until the focus moves on. Times come from the caller, so
// that the rules run the same with a real or a test clock.
class FocusFollowPolicy {
public:
    using Time = std::chrono::steady_clock::time_point;
    static constexpr std::chrono::milliseconds kRest{1000};
    static constexpr std::chrono::milliseconds kMinInterval{3000};
    // Attempts after a switch the keyboard did not take (slow, or held by another program).
    static constexpr int kRetries = 2;

    // What to do now: switch to a profile, or be asked again at a time (neither: wait for news).
    struct Step {
        std::optional<int> switch_to;
        std::optional<Time> wake_at;
    };

    // Why the keyboard has the profile it has.
    struct State {
        enum class Why { Off, Paused, Rule, Default, Manual, Unchanged };
        Why why = Why::Unchanged;
        int profile = -1;        // -1: not known
        std::string application; // Rule: the rule's application
    };

    void set_rules(const ProfileRules& rules, Time now);
    const ProfileRules& rules() const { return rules_; }
    void set_paused(bool paused, Time now);
    bool paused() const { return paused_; }
    bool active() const { return rules_.enabled && !paused_; }

    void focus_changed(const FocusedWindow& window, Time now);
    // The user made a profile active (window, profile manager): it wins until the focus moves.
    void chosen_by_hand(int profile);
    // The keyboard's active profile as last read or switched (-1: not known).
    void keyboard_profile(int profile) { keyboard_profile_ = profile; }
    // `blocked`: a dialog is open, a keyboard job runs or changes are not applied; the caller
    // asks again once that has passed.
    Step next(Time now, bool blocked);
    // The switch asked for by next() has ended; `profile` is the keyboard's active profile now.
    // A switch that did not take is tried again after the minimum interval, kRetries times at
    // most; then not before the focus moves.
    void switch_ended(int profile);

    State state() const;
    const FocusedWindow& window() const { return window_; }

private:
    void reconsider(Time now);

    ProfileRules rules_;
    FocusedWindow window_;
    bool has_window_ = false;
    ProfileChoice choice_;
    Time focus_time_{};
    std::optional<Time> last_switch_;
    int keyboard_profile_ = -1;
    int retries_left_ = kRetries;
    bool pending_ = false;
    bool switching_ = false;
    bool by_hand_ = false;
    bool paused_ = false;
};

} // namespace tarvenor
