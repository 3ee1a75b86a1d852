#pragma once

#include "model/user_storage.h"

#include <array>

namespace tarvenor {

inline constexpr std::array<int, 3> kProfileButtonIds{1135, 1136, 1137};
inline constexpr std::array<int, 4> kReportRateButtonIds{1147, 1168, 1169, 1170};
inline constexpr std::array<int, 2> kFlipButtonIds{1130, 1131};
inline constexpr int kFlipIndicatorId = 1129;
inline constexpr std::array<int, 4> kFKeyIds{1010, 1011, 1012, 1013};
inline constexpr int kDefaultButtonId = 1138;
inline constexpr int kMenuImport = 32776;
inline constexpr int kMenuExport = 32777;
inline constexpr int kMenuAbout = 32773;

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
