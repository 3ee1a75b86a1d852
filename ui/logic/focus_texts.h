#pragma once

#include "model/text_table.h"
#include "ui/logic/focus_follow.h"

namespace tarvenor::focus_text {

// Why the keyboard has its profile, for the tray's tooltip: %1 the profile (1..3), %2 the
// application of the rule.
inline constexpr OwnText kRule{"FOLLOW_STATE_RULE", "Profile %1: rule for %2"};
inline constexpr OwnText kDefault{"FOLLOW_STATE_DEFAULT", "Profile %1: default"};
inline constexpr OwnText kManual{"FOLLOW_STATE_MANUAL", "Profile %1: chosen by hand"};
inline constexpr OwnText kUnchanged{"FOLLOW_STATE_UNCHANGED", "Profile %1"};
inline constexpr OwnText kPaused{"FOLLOW_STATE_PAUSED", "Profiles by application: paused"};
inline constexpr OwnText kOff{"FOLLOW_STATE_OFF", "Profiles by application: off"};
inline constexpr OwnText kUnavailable{"FOLLOW_STATE_UNAVAILABLE",
                                      "Profiles by application: not available on this desktop"};

inline constexpr OwnText kMenuPause{"FOLLOW_MENU_PAUSE", "Pause profiles by application"};
inline constexpr OwnText kMenuRules{"FOLLOW_MENU_RULES", "Profiles by application..."};

inline constexpr OwnText kTitle{"FOLLOW_TITLE", "Profiles by application"};
inline constexpr OwnText kColumnApplication{"FOLLOW_COLUMN_APPLICATION", "Application"};
inline constexpr OwnText kColumnProfile{"FOLLOW_COLUMN_PROFILE", "Profile"};
inline constexpr OwnText kAdd{"FOLLOW_ADD", "Add"};
inline constexpr OwnText kRemove{"FOLLOW_REMOVE", "Remove"};
inline constexpr OwnText kClose{"FOLLOW_CLOSE", "Close"};
inline constexpr OwnText kEnabled{"FOLLOW_ENABLED", "Switch the profile by application"};
inline constexpr OwnText kOtherApplications{"FOLLOW_OTHER", "Other applications:"};
inline constexpr OwnText kKeep{"FOLLOW_KEEP", "Leave the profile as it is"};
inline constexpr OwnText kProfileN{"FOLLOW_PROFILE_N", "Profile %1"};
inline constexpr OwnText kSource{"FOLLOW_SOURCE", "The focus is followed through %1."};
inline constexpr OwnText kNoSource{
    "FOLLOW_NO_SOURCE",
    "This desktop does not tell which window has the focus (%1). Its own window rules can run "
    "\"tarvenor-cli profile N\" instead."};
// Why the focus cannot be followed, for kNoSource's %1.
inline constexpr OwnText kNoDisplay{"FOLLOW_NO_DISPLAY", "the X display cannot be reached"};
inline constexpr OwnText kNoActiveWindow{
    "FOLLOW_NO_ACTIVE_WINDOW",
    "the window manager does not announce the active window (_NET_ACTIVE_WINDOW)"};
inline constexpr OwnText kNoCompositor{"FOLLOW_NO_COMPOSITOR", "no Wayland compositor answers"};
inline constexpr OwnText kNoToplevelList{
    "FOLLOW_NO_TOPLEVEL_LIST", "the compositor does not offer the wlr foreign-toplevel protocol"};
inline constexpr OwnText kCompositorGone{"FOLLOW_COMPOSITOR_GONE",
                                         "the Wayland compositor closed the connection"};
inline constexpr OwnText kBuiltForX11{"FOLLOW_BUILT_FOR_X11",
                                      "this build follows the focus on X11 only"};
inline constexpr OwnText kOtherWindowSystem{"FOLLOW_OTHER_WINDOW_SYSTEM",
                                            "the window system does not report the focused window"};
inline constexpr OwnText kAddTitle{"FOLLOW_ADD_TITLE", "Add a rule"};
inline constexpr OwnText kOk{"FOLLOW_OK", "OK"};
inline constexpr OwnText kCancel{"FOLLOW_CANCEL", "Cancel"};
inline constexpr OwnText kAddPrompt{"FOLLOW_ADD_PROMPT",
                                    "Choose an application with a window, or type its name:"};
inline constexpr OwnText kDamaged{"FOLLOW_DAMAGED",
                                  "The rules file cannot be used; nothing was changed. %1"};
inline constexpr OwnText kSaveFailed{"FOLLOW_SAVE_FAILED", "The rules could not be saved: %1"};

// The tooltip line for a state of the policy.
inline const OwnText& state_text(FocusFollowPolicy::State::Why why) {
    using Why = FocusFollowPolicy::State::Why;
    switch (why) {
    case Why::Off:
        return kOff;
    case Why::Paused:
        return kPaused;
    case Why::Rule:
        return kRule;
    case Why::Default:
        return kDefault;
    case Why::Manual:
        return kManual;
    case Why::Unchanged:
        break;
    }
    return kUnchanged;
}

} // namespace tarvenor::focus_text
