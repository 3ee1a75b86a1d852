#pragma once

#include "cli/doctor_checks.h"

namespace tarvenor {
class LanguageFile;
}

namespace tarvenor::cli {

// Whether an installed font covers the language the language file chooses: without one its texts
// show as empty boxes (Chinese on a system with only DejaVu). Unknown where fontconfig is missing.
DoctorCheck check_language_font(const LanguageFile& language);

} // namespace tarvenor::cli
