#pragma once

#include "model/user_storage.h"
#include "ui/logic/control_ids.h"

#include <array>

namespace tarvenor {

inline constexpr std::array kProfileButtons{MainControl::Profile1, MainControl::Profile2,
                                            MainControl::Profile3};
inline constexpr std::array kReportRateButtons{MainControl::ReportRate1, MainControl::ReportRate2,
                                               MainControl::ReportRate3, MainControl::ReportRate4};
inline constexpr std::array kFKeys{MainControl::F1, MainControl::F2, MainControl::F3,
                                   MainControl::F4};

// The report-rate choice (0..3) of a button, or -1 for another control.
int report_rate_of(int control_id);
// The profile (0..2) of a profile button, or -1 for another control.
int profile_of(int control_id);

// The Flip option of the settings store: any stored number but 0 counts as on.
bool read_flip(const SettingsStore& store);
// Stores the opposite of what is stored; why not, when it could not be.
FileWriteResult toggle_flip(SettingsStore& store);

// Which of F1..F4 and D1..D6 are enabled under Flip, and which arrow faces show.
struct FlipLook {
    bool f_keys_enabled;
    bool d_keys_enabled;
    const char* left_arrow_face; // in section BUTTONINFO2 of the main skin
    const char* right_arrow_face;
};
FlipLook flip_look(bool flip);

} // namespace tarvenor
