#pragma once

#include <cstdint>

namespace tarvenor {

// Whether the checks below are built in: in debug and sanitizer builds.
bool exchange_thread_checks_enabled();

// Marks the calling thread as one that must never wait for the keyboard (the user interface
// thread). The name must outlive the thread; it appears in the message of a broken rule.
void forbid_exchanges_on_this_thread(const char* thread_name);

// Ends the process with a message naming the command when an exchange starts on a forbidden
// thread (only where the checks are built in).
void check_exchange_allowed(std::uint8_t command);

} // namespace tarvenor
