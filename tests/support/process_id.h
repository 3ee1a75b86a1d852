#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tarvenor::testing {

inline unsigned long current_process_id() {
#ifdef _WIN32
    return ::GetCurrentProcessId();
#else
    return static_cast<unsigned long>(::getpid());
#endif
}

} // namespace tarvenor::testing
