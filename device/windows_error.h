#pragma once

#include <string>

namespace tarvenor {

// The system's one-line text for a Windows error code (GetLastError()).
std::string windows_error_text(unsigned long code);

} // namespace tarvenor
