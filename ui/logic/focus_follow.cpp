#include "ui/logic/focus_follow.h"

namespace tarvenor {

void FocusFollowPolicy::set_rules(const ProfileRules& rules, Time now) {
    rules_ = rules;
    reconsider(now);
}

void FocusFollowPolicy::set_paused(bool paused, Time now) {
    if (paused_ != paused) {
        paused_ = paused;
        reconsider(now);
    }
}

void FocusFollowPolicy::focus_changed(const FocusedWindow& window, Time now) {
    window_ = window;
    has_window_ = true;
    reconsider(now);
}

// The focused window's profile is decided afresh, as after a focus change: a rules edit or the
// end of a pause means the rules are to hold again, over a profile chosen by hand.
void FocusFollowPolicy::reconsider(Time now) {
    by_hand_ = false;
    choice_ = has_window_ ? choose_profile(rules_, window_) : ProfileChoice{};
    focus_time_ = now;
    pending_ = has_window_;
    retries_left_ = kRetries;
}

void FocusFollowPolicy::chosen_by_hand(int profile) {
    keyboard_profile_ = profile;
    by_hand_ = true;
    pending_ = false;
}

FocusFollowPolicy::Step FocusFollowPolicy::next(Time now, bool blocked) {
    if (!active() || !pending_ || switching_) {
        return {};
    }
    if (!choice_.profile || *choice_.profile == keyboard_profile_) {
        pending_ = false;
        return {};
    }
    const Time rested = focus_time_ + kRest;
    if (now < rested) {
        return {std::nullopt, rested};
    }
    if (last_switch_ && now < *last_switch_ + kMinInterval) {
        return {std::nullopt, *last_switch_ + kMinInterval};
    }
    if (blocked) {
        return {};
    }
    switching_ = true;
    pending_ = false;
    last_switch_ = now;
    return {choice_.profile, std::nullopt};
}

void FocusFollowPolicy::switch_ended(int profile) {
    switching_ = false;
    keyboard_profile_ = profile;
    // Pending again already when the focus moved or the rules changed during the switch.
    const bool missed = !pending_ && !by_hand_ && choice_.profile && profile != *choice_.profile;
    if (missed && retries_left_ > 0) {
        --retries_left_;
        pending_ = true;
    }
}

FocusFollowPolicy::State FocusFollowPolicy::state() const {
    State state;
    state.profile = keyboard_profile_;
    if (!rules_.enabled) {
        state.why = State::Why::Off;
    } else if (paused_) {
        state.why = State::Why::Paused;
    } else if (by_hand_) {
        state.why = State::Why::Manual;
    } else if (choice_.profile && *choice_.profile == keyboard_profile_) {
        state.why =
            choice_.reason == ProfileChoice::Reason::Rule ? State::Why::Rule : State::Why::Default;
        state.application = choice_.application;
    }
    return state;
}

} // namespace tarvenor
