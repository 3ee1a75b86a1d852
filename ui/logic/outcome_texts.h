#pragma once

#include "model/text_table.h"

namespace tarvenor {

// The window's own words for how keyboard work ended, beside the language file's texts. %1, %2
// are filled in by the window.
namespace outcome_text {

inline constexpr OwnText kBusy{
    "KEYBOARD_BUSY", "The keyboard is busy: %1 is using it. Nothing was written to the keyboard; "
                     "try again when it has finished."};
inline constexpr OwnText kBusyKept{
    "KEYBOARD_BUSY_KEPT",
    "The keyboard is busy: %1 is using it. Nothing was written to the keyboard; your changes are "
    "kept, and Apply writes them when it has finished."};
inline constexpr OwnText kGone{"KEYBOARD_GONE_DURING_JOB",
                               "The keyboard was unplugged before the change reached it. "
                               "Your changes are kept: Apply writes them when it is back."};
inline constexpr OwnText kKeyboardChanged{
    "KEYBOARD_CHANGED_WHILE_AWAY",
    "The keyboard's key assignments changed while it was away. Keep your changes that are not "
    "applied yet? Yes keeps them for Apply; No shows what the keyboard holds."};
inline constexpr OwnText kSwitchFailed{
    "PROFILE_SWITCH_FAILED",
    "The keyboard did not switch to profile %1; the window shows the profile it is using."};
inline constexpr OwnText kLightingWriteFailed{
    "LIGHTING_WRITE_FAILED",
    "A lighting change did not reach the keyboard; the panel shows what the keyboard holds."};
inline constexpr OwnText kLightingReadFailed{
    "LIGHTING_READ_FAILED", "The keyboard's lighting could not be read; the panel shows the last "
                            "lighting it read and reads again when the keyboard answers."};
inline constexpr OwnText kMirrorFailed{
    "MIRROR_WRITE_FAILED",
    "The keyboard holds the change, but its copy could not be saved in %1: %2"};
inline constexpr OwnText kMirrorNotRefreshed{
    "MIRROR_REFRESH_FAILED",
    "The keyboard's settings were read, but their copy could not be saved in %1: %2"};
inline constexpr OwnText kSettingFailed{"SETTING_WRITE_FAILED",
                                        "The setting could not be saved in %1: %2"};
inline constexpr OwnText kImportUnreadable{"PROFILE_IMPORT_UNREADABLE",
                                           "The file %1 could not be read; nothing was imported."};
inline constexpr OwnText kCopyNotSaved{
    "PROFILE_COPY_NOT_SAVED", "The keyboard's content could not be saved as a copy (%1), so "
                              "nothing was written to the keyboard."};

// Follow the message about a damaged profile file (its key and type).
inline constexpr OwnText kDamagedNotImported{"PROFILE_DAMAGED_NOT_IMPORTED",
                                             "Nothing was imported."};
inline constexpr OwnText kDamagedMirrorKept{
    "MIRROR_DAMAGED_KEPT",
    "It was kept as %1, and the keyboard's settings were saved in its place."};
inline constexpr OwnText kDamagedMirrorNotKept{
    "MIRROR_DAMAGED_NOT_KEPT",
    "It could not be moved aside (%1), so it was left as it was; the window shows the "
    "keyboard's settings."};

} // namespace outcome_text

} // namespace tarvenor
